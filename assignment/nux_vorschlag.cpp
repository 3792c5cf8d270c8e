#include "assignment/nux_vorschlag.h"

#include "assignment/kern/mip.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLocale>
#include <QMetaObject>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>
#include <cmath>

#include "assignment/nux_verteilung.h"
#include "fenster/hochknopf.h"
#include "fenster/shell.h"
#include "storage/jahr.h"
#include "storage/text.h"

namespace {

enum Spalte { kKlasse, kFach, kAnteil, kStunden, kLehrer, kBisher, kWarum };
constexpr int kIndex = Qt::UserRole;
constexpr int kWert = Qt::UserRole + 1;

// Sorts the hours by their value, every other column by its text.
class Zeile : public QTreeWidgetItem {
public:
    using QTreeWidgetItem::QTreeWidgetItem;
    bool operator<(const QTreeWidgetItem& o) const override {
        const int s = treeWidget() ? treeWidget()->sortColumn() : 0;
        if (s == kStunden || s == kAnteil) return data(s, kWert).toLongLong() < o.data(s, kWert).toLongLong();
        return QString::localeAwareCompare(text(s), o.text(s)) < 0;
    }
};

QString stunden(std::int64_t h) { return nux::qs(nux::zehntelganz(h, 1)); }

QSlider* regler(QWidget* eltern, const char* name, int wert) {
    auto* r = new QSlider(Qt::Horizontal, eltern);
    r->setObjectName(QString::fromLatin1(name));
    r->setRange(0, 10);
    r->setValue(wert);
    r->setTickPosition(QSlider::TicksBelow);
    r->setPageStep(1);
    return r;
}

}  // namespace

Tvorschlag::Tvorschlag(Tverteilfenster* verteilung) : QDialog(verteilung), verteilung_(verteilung) {
    setObjectName(QStringLiteral("Tvorschlag"));
    setWindowTitle(QStringLiteral("Vorschlag"));
    setModal(true);
    resize(1000, 580);

    auto* links = new QVBoxLayout;
    links->addWidget(new QLabel(QStringLiteral("<b>Welche Stunden?</b>"), this));
    RadioButton1 = new QRadioButton(QStringLiteral("alle Klassen"), this);
    RadioButton1->setObjectName(QStringLiteral("RadioButton1"));
    RadioButton1->setChecked(true);
    RadioButton2 = new QRadioButton(QStringLiteral("nur die gewählten Klassen:"), this);
    RadioButton2->setObjectName(QStringLiteral("RadioButton2"));
    auto* gruppe = new QButtonGroup(this);
    gruppe->addButton(RadioButton1);
    gruppe->addButton(RadioButton2);
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setSelectionMode(QAbstractItemView::MultiSelection);
    ListBox1->setFlow(QListView::LeftToRight);
    ListBox1->setWrapping(true);
    ListBox1->setMaximumHeight(90);
    ListBox1->setEnabled(false);
    const auto& m = verteilung_->modell();
    for (int c = 0; c < m.klassenzahl(); ++c) ListBox1->addItem(nux::qs(nux::trimmen(m.Classes[static_cast<std::size_t>(c)].name)));
    connect(RadioButton2, &QRadioButton::toggled, ListBox1, &QWidget::setEnabled);
    CheckBox1 = new QCheckBox(QStringLiteral("auch Stunden von Lehrkräften über ihrer\nLehrverpflichtung neu verteilen"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    Edit1 = new QLineEdit(QStringLiteral("0,0"), this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setMaximumWidth(50);
    Edit1->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,2}(,\\d?)?")), Edit1));
    auto* toleranz = new QHBoxLayout;
    toleranz->addWidget(new QLabel(QStringLiteral("Über die Lehrverpflichtung hinaus bis zu"), this));
    toleranz->addWidget(Edit1);
    toleranz->addWidget(new QLabel(QStringLiteral("Stunden"), this));
    toleranz->addStretch();
    links->addWidget(RadioButton1);
    links->addWidget(RadioButton2);
    links->addWidget(ListBox1);
    links->addWidget(CheckBox1);
    links->addLayout(toleranz);

    links->addSpacing(8);
    links->addWidget(new QLabel(QStringLiteral("<b>Was zählt?</b> (links: gar nicht, rechts: sehr)"), this));
    const nux::Gewichte vorgabe;
    auto* raster = new QGridLayout;
    TrackBar1 = regler(this, "TrackBar1", vorgabe.ausgleich);
    TrackBar2 = regler(this, "TrackBar2", vorgabe.kontinuitaet);
    TrackBar3 = regler(this, "TrackBar3", vorgabe.wenigelehrer);
    TrackBar4 = regler(this, "TrackBar4", vorgabe.wunsch);
    const QString namen[] = {QStringLiteral("ausgeglichene Auslastung"), QStringLiteral("dieselbe Lehrkraft wie letztes Jahr"),
                             QStringLiteral("wenige Lehrkräfte je Klasse"), QStringLiteral("Wunschfächer")};
    QSlider* regler4[] = {TrackBar1, TrackBar2, TrackBar3, TrackBar4};
    for (int i = 0; i < 4; ++i) {
        raster->addWidget(new QLabel(namen[i], this), i, 0);
        raster->addWidget(regler4[i], i, 1);
    }
    links->addLayout(raster);
    links->addSpacing(8);
    Button1 = new QPushButton(QStringLiteral("Vorschlag berechnen"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    Button2 = new QPushButton(QStringLiteral("Abbrechen"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    auto* knoepfe = new QHBoxLayout;
    knoepfe->addWidget(Button1);
    knoepfe->addWidget(Button2);
    links->addLayout(knoepfe);
    links->addStretch();

    auto* rechts = new QVBoxLayout;
    Label1 = new QLabel(QStringLiteral("Bereit. Der Vorschlag ändert nichts, bis Sie „Übernehmen“ wählen."), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ListView1 = new QTreeWidget(this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setHeaderLabels({QStringLiteral("Klasse"), QStringLiteral("Fach"), QStringLiteral("Anteil"), QStringLiteral("Stunden"),
                                QStringLiteral("Lehrkraft"), QStringLiteral("bisher"), QStringLiteral("warum")});
    ListView1->setRootIsDecorated(false);
    ListView1->setSortingEnabled(true);
    ListView1->setUniformRowHeights(true);
    ListView1->setAlternatingRowColors(true);
    ListView1->header()->setStretchLastSection(true);
    Memo1 = new QLabel(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setTextFormat(Qt::RichText);
    Memo1->setWordWrap(true);
    Memo1->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    Button3 = new QPushButton(QStringLiteral("Übernehmen"), this);
    Button3->setObjectName(QStringLiteral("Button3"));
    Button3->setToolTip(QStringLiteral("Die angehakten Stunden in die Verteilung setzen, als ein Schritt (Strg+Z nimmt ihn zurück); gespeichert wird erst mit „speichern“"));
    Button4 = new QPushButton(QStringLiteral("Schließen"), this);
    Button4->setObjectName(QStringLiteral("Button4"));
    auto* unten = new QHBoxLayout;
    unten->addStretch();
    unten->addWidget(Button3);
    unten->addWidget(Button4);
    rechts->addWidget(Label1);
    rechts->addWidget(ProgressBar1);
    rechts->addWidget(ListView1, 3);
    rechts->addWidget(Memo1, 2);
    rechts->addLayout(unten);

    auto* haupt = new QHBoxLayout(this);
    haupt->addLayout(links, 0);
    haupt->addLayout(rechts, 1);

    connect(Button1, &QPushButton::clicked, this, [this] { nux::sicher([this] { Button1Click(); }); });
    connect(Button2, &QPushButton::clicked, this, [this] { nux::sicher([this] { Button2Click(); }); });
    connect(Button3, &QPushButton::clicked, this, [this] { nux::sicher([this] { Button3Click(); }); });
    connect(Button4, &QPushButton::clicked, this, [this] { nux::sicher([this] { reject(); }); });
    bereit(false);
}

Tvorschlag::~Tvorschlag() { beenden(); }

void Tvorschlag::beenden() {
    abbrechen_ = true;
    if (arbeiter_.joinable()) arbeiter_.join();
}

void Tvorschlag::reject() {
    beenden();
    QDialog::reject();
}

nux::Umfang Tvorschlag::umfang() const {
    nux::Umfang u;
    u.nurauswahl = RadioButton2->isChecked();
    for (int i = 0; i < ListBox1->count(); ++i)
        if (ListBox1->item(i)->isSelected()) u.klassen.push_back(i);
    u.ueberlast = CheckBox1->isChecked();
    QString t = Edit1->text().trimmed();
    if (t.isEmpty()) t = QStringLiteral("0");
    bool ok = false;
    const double h = QString(t).replace(',', '.').toDouble(&ok);
    if (!ok || h < 0)
        throw nux::Vorschlagsfehler(nux::kToleranzText);
    u.toleranz = static_cast<std::int64_t>(std::llround(h * 10));
    return u;
}

nux::Gewichte Tvorschlag::gewichte() const {
    return {TrackBar1->value(), TrackBar2->value(), TrackBar3->value(), TrackBar4->value()};
}

void Tvorschlag::bereit(bool laufend) {
    for (QWidget* w : std::initializer_list<QWidget*>{Button1, RadioButton1, RadioButton2, CheckBox1, Edit1, TrackBar1, TrackBar2,
                                                       TrackBar3, TrackBar4, Button3, ListView1})
        w->setEnabled(!laufend);
    ListBox1->setEnabled(!laufend && RadioButton2->isChecked());
    Button2->setEnabled(laufend);
    Button3->setEnabled(!laufend && vorschlag_ && !vorschlag_->zeilen.empty());
}

void Tvorschlag::Button1Click() {
    if (laeuft()) {
        nux::piepsen();
        return;
    }
    const nux::Umfang u = umfang();
    const nux::Gewichte g = gewichte();
    // The worker reads a copy: the grid stays the user's.
    auto v = std::make_shared<const nux::Verteilung>(verteilung_->modell());
    auto b = std::make_shared<const nux::Befaehigungen>(nux::befaehigungenladen(nux::jahrordner()));
    auto vj = std::make_shared<const nux::Vorjahr>(nux::vorjahrladen(nux::jahrordner(), v->Classes));
    vorschlag_.reset();
    ListView1->clear();
    Memo1->clear();
    abbrechen_ = false;
    ProgressBar1->setValue(0);
    Label1->setText(QStringLiteral("Der Vorschlag wird berechnet …"));
    bereit(true);
    arbeiter_ = std::thread([this, v, b, vj, u, g] {
        nux::Steuerung s;
        s.abbrechen = &abbrechen_;
        s.melden = [this](int prozent, const std::string& text) {
            QMetaObject::invokeMethod(
                this, [this, prozent, t = QString::fromUtf8(text.c_str())] {
                    ProgressBar1->setValue(prozent);
                    Label1->setText(t);
                },
                Qt::QueuedConnection);
        };
        std::shared_ptr<nux::Vorschlag> ergebnis;
        QString fehler;
        bool abgebrochen = false;
        try {
            ergebnis = std::make_shared<nux::Vorschlag>(nux::vorschlagen(*v, *b, *vj, u, g, s));
        } catch (const nux::Vorschlagsabbruch&) {
            abgebrochen = true;
        } catch (const std::exception& e) {
            fehler = QString::fromUtf8(e.what());
        }
        nux::Mip::threadende();
        QMetaObject::invokeMethod(this, [this, ergebnis, fehler, abgebrochen] { fertig(ergebnis, fehler, abgebrochen); },
                                  Qt::QueuedConnection);
    });
}

void Tvorschlag::Button2Click() {
    if (!laeuft()) {
        nux::piepsen();
        return;
    }
    abbrechen_ = true;
    Label1->setText(QStringLiteral("Wird abgebrochen …"));
}

void Tvorschlag::fertig(std::shared_ptr<nux::Vorschlag> v, QString fehler, bool abgebrochen) {
    if (arbeiter_.joinable()) arbeiter_.join();
    ProgressBar1->setValue(v ? 100 : 0);
    if (abgebrochen) Label1->setText(QStringLiteral("Abgebrochen: nichts wurde geändert."));
    if (!fehler.isEmpty()) Label1->setText(QStringLiteral("Kein Vorschlag."));
    if (v) {
        vorschlag_ = std::move(*v);
        zeigen(*vorschlag_);
    }
    bereit(false);
    if (!fehler.isEmpty()) nux::fehlerzeigen(fehler);
}

void Tvorschlag::zeigen(const nux::Vorschlag& v) {
    Label1->setText(QString::fromUtf8(v.ueberschrift().c_str()));
    ListView1->setSortingEnabled(false);
    ListView1->clear();
    QList<QTreeWidgetItem*> zeilen;
    for (std::size_t i = 0; i < v.zeilen.size(); ++i) {
        const auto& z = v.zeilen[i];
        auto* item = new Zeile(QStringList{nux::qs(z.klasse), nux::qs(z.fach), QString::number(z.anteil), stunden(z.stunden),
                                           nux::qs(z.lehrer), nux::qs(z.vorher), nux::qs(z.warum)});
        item->setData(kKlasse, kIndex, static_cast<qulonglong>(i));
        item->setData(kStunden, kWert, static_cast<qlonglong>(z.stunden));
        item->setData(kAnteil, kWert, static_cast<qlonglong>(z.anteil));
        item->setTextAlignment(kStunden, Qt::AlignRight | Qt::AlignVCenter);
        item->setToolTip(kWarum, nux::qs(z.warum));
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(kKlasse, Qt::Checked);
        zeilen.append(item);
    }
    ListView1->addTopLevelItems(zeilen);
    ListView1->setSortingEnabled(true);
    ListView1->sortByColumn(kKlasse, Qt::AscendingOrder);
    for (int s = 0; s < kWarum; ++s) ListView1->resizeColumnToContents(s);

    const auto h = [](std::int64_t z) { return stunden(z); };
    const auto zahl = [](double x) { return QLocale(QLocale::German).toString(x, 'f', 1); };
    QString t = QStringLiteral("<table cellspacing=0 cellpadding=2><tr><th align=left></th><th align=right>&nbsp;vorher</th>"
                               "<th align=right>&nbsp;Vorschlag</th><th align=right>&nbsp;gierige Regel</th></tr>");
    const auto zeile = [&](const QString& name, const QString& a, const QString& b, const QString& c) {
        t += QStringLiteral("<tr><td>%1</td><td align=right>%2</td><td align=right><b>%3</b></td><td align=right>%4</td></tr>")
                 .arg(name, a, b, c);
    };
    zeile(QStringLiteral("offene Stunden"), h(v.vorher.offen), h(v.nachher.offen), h(v.gierig.offen));
    zeile(QStringLiteral("Abweichung vom Soll, Summe"), h(v.vorher.abweichung), h(v.nachher.abweichung), h(v.gierig.abweichung));
    zeile(QStringLiteral("größte Abweichung vom Soll"), h(v.vorher.groesste), h(v.nachher.groesste), h(v.gierig.groesste));
    zeile(QStringLiteral("Lehrkräfte über dem Soll"), QString::number(v.vorher.ueber), QString::number(v.nachher.ueber),
          QString::number(v.gierig.ueber));
    zeile(QStringLiteral("Unterrichte wie letztes Jahr"), QString::number(v.vorher.behalten), QString::number(v.nachher.behalten),
          QString::number(v.gierig.behalten));
    zeile(QStringLiteral("Lehrkräfte je Klasse"), zahl(v.vorher.lehrerjeklasse), zahl(v.nachher.lehrerjeklasse),
          zahl(v.gierig.lehrerjeklasse));
    t += QStringLiteral("</table>");
    t += QStringLiteral("<p>Der Vorschlag ist %1%2.</p>")
             .arg(QString::fromUtf8(v.guetetext().c_str()).toHtmlEscaped(),
                  v.vomloeser ? QString() : QStringLiteral(" (die gierige Regel war nicht zu schlagen)"));
    if (!v.offen.empty()) {
        t += QStringLiteral("<p><b>Bleiben offen:</b><br>");
        for (std::size_t i = 0; i < v.offen.size() && i < 12; ++i) {
            const auto& o = v.offen[i];
            t += QStringLiteral("%1 %2 (%3 Std.): %4<br>")
                     .arg(nux::qs(o.klasse).toHtmlEscaped(), nux::qs(o.fach).toHtmlEscaped(), h(o.stunden),
                          QString::fromUtf8(o.grund.c_str()).toHtmlEscaped());
        }
        if (v.offen.size() > 12) t += QStringLiteral("… und %1 weitere").arg(v.offen.size() - 12);
        t += QStringLiteral("</p>");
    }
    Memo1->setText(t);
}

void Tvorschlag::Button3Click() {
    if (!vorschlag_ || laeuft()) {
        nux::piepsen();
        return;
    }
    std::vector<bool> haken(vorschlag_->zeilen.size(), false);
    for (int i = 0; i < ListView1->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = ListView1->topLevelItem(i);
        haken[item->data(kKlasse, kIndex).toULongLong()] = item->checkState(kKlasse) == Qt::Checked;
    }
    const auto liste = nux::eintraege(*vorschlag_, haken);
    if (liste.empty()) {
        nux::piepsen();
        return;
    }
    verteilung_->zuordnen(liste, QStringLiteral("Vorschlag"));
    accept();
}

namespace nux {

QPushButton* vorschlagknopf(Tverteilfenster* f) {
    auto* k = new Hochknopf(QStringLiteral("Vorschlag …"), f);
    k->setObjectName(QStringLiteral("Button5"));
    k->setGeometry(850, 217, 20, 130);
    k->setToolTip(QStringLiteral("Die offenen Stunden vorschlagen lassen: eine Vorschau, die nichts ändert, bis Sie „Übernehmen“ wählen"));
    QObject::connect(k, &QPushButton::clicked, f, [f] {
        sicher([f] {
            if (f->modell().klassenzahl() <= 0) {
                piepsen();
                return;
            }
            Tvorschlag d(f);
            d.exec();
        });
    });
    return k;
}

}  // namespace nux
