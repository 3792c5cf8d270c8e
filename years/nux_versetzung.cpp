#include "years/nux_versetzung.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QVBoxLayout>

#include <cstdio>

#include "assignment/excel.h"
#include "fenster/newcomps.h"
#include "storage/dateifehler.h"
#include "fenster/shell.h"

namespace {

enum Spalte { kBisher, kNeu, kStundenvon, kStatus, kBehalten, kSpalten };

QTableWidgetItem* fest(const QString& text) {
    auto* it = new QTableWidgetItem(text);
    it->setFlags(it->flags() & ~Qt::ItemIsEditable);
    return it;
}

}  // namespace

Tversetzung::Tversetzung(const nux::Uebernahmepaar& paar, const nux::Uebernahmewahl& wahl, bool wandern,
                         nux::Versetzungsdaten d, QWidget* eltern)
    : QDialog(eltern), paar_(paar), wahl_(wahl), daten_(std::move(d)) {
    setObjectName(QStringLiteral("Tversetzung"));
    setWindowTitle(QStringLiteral("Klassen versetzen"));
    resize(900, 560);
    versetzungswahl_.klassen = wahl.klassen;
    versetzungswahl_.wandern = wandern;

    Label1 = nux::beschriftung(this, "Label1",
                               QStringLiteral("%1 übernimmt die Klassen von %2 und versetzt sie")
                                   .arg(nux::qs(paar.ziel), nux::qs(paar.quelle)),
                               0, 0, 18);
    Label2 = nux::beschriftung(this, "Label2", QStringLiteral("Oberste Stufe (verlässt die Schule):"), 0, 0, 14);
    teditzahl1 = new teditzahl(this);
    teditzahl1->setObjectName(QStringLiteral("teditzahl1"));
    teditzahl1->setMinimum(0);
    teditzahl1->setMaximum(99);
    teditzahl1->setMaxLength(2);
    teditzahl1->setFixedWidth(50);
    teditzahl1->setText(QString::number(nux::hoechstestufe(daten_.klassen)));
    connect(teditzahl1, &teditzahl::geaendert, this, [this] { nux::sicher([this] { vorschlagen(); }); });

    ListView1 = new QTableWidget(0, kSpalten, this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setHorizontalHeaderLabels({QStringLiteral("bisher"), QStringLiteral("neu"),
                                          QStringLiteral("Stunden von"), QStringLiteral("Status"),
                                          QStringLiteral("behalten LehrerIn")});
    ListView1->verticalHeader()->hide();
    ListView1->verticalHeader()->setDefaultSectionSize(ListView1->fontMetrics().height() + 6);
    ListView1->horizontalHeader()->setStretchLastSection(false);
    ListView1->horizontalHeader()->setSectionResizeMode(kStatus, QHeaderView::Stretch);
    ListView1->setColumnWidth(kBisher, 90);
    ListView1->setColumnWidth(kNeu, 90);
    ListView1->setColumnWidth(kStundenvon, 110);
    ListView1->setColumnWidth(kBehalten, 140);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setToolTip(QStringLiteral("„bisher“ und „neu“ lassen sich ändern: eine Klasse, die wiederholt, "
                                         "behält ihren Namen; ein leeres „neu“ verlässt die Schule; zwei Zeilen "
                                         "mit demselben „bisher“ teilen eine Klasse."));
    connect(ListView1, &QTableWidget::itemChanged, this, [this](QTableWidgetItem*) {
        if (!fuellen_) nux::sicher([this] { berechnen(); });
    });

    Label3 = nux::beschriftung(this, "Label3", {}, 0, 0, 14);
    Label4 = new QLabel(this);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->setWordWrap(true);
    Label4->setStyleSheet(QStringLiteral("color: rgb(255,0,0);"));

    Button1 = new QPushButton(QStringLiteral("Zeile hinzufügen"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2 = new QPushButton(QStringLiteral("Zeile löschen"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button3 = new QPushButton(QStringLiteral("Übernehmen"), this);
    Button3->setObjectName(QStringLiteral("Button3"));
    Button4 = new QPushButton(QStringLiteral("Abbrechen"), this);
    Button4->setObjectName(QStringLiteral("Button4"));
    Button3->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, [this] { nux::sicher([this] { Button1Click(); }); });
    connect(Button2, &QPushButton::clicked, this, [this] { nux::sicher([this] { Button2Click(); }); });
    connect(Button3, &QPushButton::clicked, this, [this] { nux::sicher([this] { Button3Click(); }); });
    connect(Button4, &QPushButton::clicked, this, &QDialog::reject);

    auto* oben = new QHBoxLayout;
    oben->addWidget(Label2);
    oben->addWidget(teditzahl1);
    oben->addStretch(1);
    auto* knoepfe = new QHBoxLayout;
    knoepfe->addWidget(Button1);
    knoepfe->addWidget(Button2);
    knoepfe->addStretch(1);
    knoepfe->addWidget(Button3);
    knoepfe->addWidget(Button4);
    auto* spalte = new QVBoxLayout(this);
    spalte->addWidget(Label1);
    spalte->addLayout(oben);
    spalte->addWidget(ListView1, 1);
    spalte->addWidget(Label3);
    spalte->addWidget(Label4);
    spalte->addLayout(knoepfe);

    vorschlagen();
}

void Tversetzung::zeilesetzen(int r, const nux::Versetzungszeile& z) {
    ListView1->setItem(r, kBisher, new QTableWidgetItem(nux::qs(z.alt)));
    ListView1->setItem(r, kNeu, new QTableWidgetItem(nux::qs(z.neu)));
    for (int c = kStundenvon; c < kSpalten; ++c) ListView1->setItem(r, c, fest({}));
}

// A new top grade starts the lines afresh from the proposal.
void Tversetzung::vorschlagen() {
    const auto zeilen = nux::versetzungsvorschlag(daten_.klassen, teditzahl1->wert());
    fuellen_ = true;
    ListView1->setRowCount(0);
    ListView1->setRowCount(static_cast<int>(zeilen.size()));
    for (std::size_t i = 0; i < zeilen.size(); ++i) zeilesetzen(static_cast<int>(i), zeilen[i]);
    fuellen_ = false;
    berechnen();
}

std::vector<nux::Versetzungszeile> Tversetzung::zeilen() const {
    std::vector<nux::Versetzungszeile> z;
    for (int r = 0; r < ListView1->rowCount(); ++r) {
        const auto* alt = ListView1->item(r, kBisher);
        const auto* neu = ListView1->item(r, kNeu);
        z.push_back({alt ? nux::cp(alt->text()) : std::string(), neu ? nux::cp(neu->text()) : std::string()});
    }
    return z;
}

void Tversetzung::berechnen() {
    vorschau_ = nux::versetzungberechnen(daten_.klassen, zeilen(), daten_.lehrer, versetzungswahl_);
    fuellen_ = true;
    for (int r = 0; r < ListView1->rowCount(); ++r) {
        const auto& st = vorschau_.zeilen[static_cast<std::size_t>(r)];
        ListView1->item(r, kStundenvon)->setText(nux::qs(st.stundenvon));
        ListView1->item(r, kStatus)->setText(nux::qs(st.status));
        ListView1->item(r, kStatus)->setForeground(st.fehler ? QColor(255, 0, 0) : palette().text().color());
        const bool klasse = !st.fehler && !st.stundenvon.empty();
        ListView1->item(r, kBehalten)
            ->setText(klasse ? QStringLiteral("%1 von %2").arg(st.behalten).arg(st.behalten + st.offen) : QString());
    }
    fuellen_ = false;
    const int alle = vorschau_.behalten + vorschau_.offen;
    Label3->setText(versetzungswahl_.wandern
                        ? QStringLiteral("%1 von %2 Unterrichten (Fach und Anteil einer Klasse) behalten ihre LehrerIn; "
                                         "%3 bleiben offen.")
                              .arg(vorschau_.behalten)
                              .arg(alle)
                              .arg(vorschau_.offen)
                        : QStringLiteral("LehrerInnen wandern nicht mit: alle %1 Unterrichte bleiben offen.")
                              .arg(alle));
    QStringList fehler;
    for (const auto& f : vorschau_.fehler) fehler << nux::qs(f);
    Label4->setText(fehler.join(QLatin1Char('\n')));
    Button3->setEnabled(vorschau_.gut());
}

void Tversetzung::Button1Click() {
    const int r = ListView1->rowCount();
    fuellen_ = true;
    ListView1->insertRow(r);
    zeilesetzen(r, {});
    fuellen_ = false;
    berechnen();
    ListView1->setCurrentCell(r, kBisher);
    ListView1->editItem(ListView1->item(r, kBisher));
}

void Tversetzung::Button2Click() {
    const int r = ListView1->currentRow();
    if (r < 0) {
        nux::piepsen();
        return;
    }
    ListView1->removeRow(r);
    berechnen();
}

void Tversetzung::Button3Click() {
    berechnen();
    if (!vorschau_.gut()) {
        nux::piepsen();
        return;
    }
    nux::versetzungschreiben(paar_, wahl_, zeilen(), vorschau_);
    accept();
}

namespace nux {

int versetzungsbefehl(const QString& quelle, const QString& ziel, const QString& oberstufe) {
    try {
        const Uebernahmepaar paar{cp(ziel), cp(quelle)};
        const Uebernahmewahl wahl{true, true, Klassenwahl::mitStundenMitZusatz, false};
        const auto d = versetzungladen(paar, wahl);
        if (!d.klassenda) throw Dateifehler("Im Jahr " + quelle.toStdString() + " gibt es keine Klassen.");
        bool zahl = true;
        const int stufe = oberstufe.isEmpty() ? hoechstestufe(d.klassen) : oberstufe.toInt(&zahl);
        if (!zahl || stufe < 1) throw Dateifehler("„" + oberstufe.toStdString() + "“ ist keine Stufe.");
        const auto zeilen = versetzungsvorschlag(d.klassen, stufe);
        const auto v = versetzungberechnen(d.klassen, zeilen, d.lehrer, {wahl.klassen, true});
        if (!v.gut()) {
            QString text;
            for (const auto& f : v.fehler) text += QStringLiteral("nux: ") + qs(f) + '\n';
            std::fputs(text.toLocal8Bit().constData(), stderr);
            return 2;
        }
        versetzungschreiben(paar, wahl, zeilen, v);
        QString text;
        for (std::size_t i = 0; i < zeilen.size(); ++i)
            text += QStringLiteral("%1\t%2\t%3\n")
                        .arg(zeilen[i].alt.empty() ? QStringLiteral("--") : qs(zeilen[i].alt),
                             zeilen[i].neu.empty() ? QStringLiteral("--") : qs(zeilen[i].neu), qs(v.zeilen[i].status));
        text += QStringLiteral("%1 von %2 Unterrichten behalten ihre LehrerIn.\n")
                    .arg(v.behalten)
                    .arg(v.behalten + v.offen);
        std::fputs(text.toLocal8Bit().constData(), stdout);
        return 0;
    } catch (const std::exception& e) {
        return befehlsfehler(e, 2);
    }
}

}  // namespace nux
