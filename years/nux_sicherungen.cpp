#include "years/nux_sicherungen.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QVBoxLayout>

#include "fenster/hinweis.h"
#include "fenster/shell.h"
#include "storage/datei.h"
#include "storage/jahr.h"

Tsicherungen::Tsicherungen(const std::string& jahr, QWidget* eltern) : QDialog(eltern), jahr_(jahr) {
    setObjectName(QStringLiteral("Tsicherungen"));
    setWindowTitle(QStringLiteral("Sicherungen"));
    resize(820, 520);

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(nux::schrift(QStringLiteral("MS Sans Serif"), 18, true));
    Label1->setText(QStringLiteral("Sicherungen des Jahres %1").arg(nux::qs(nux::jahranzeige(jahr))));

    ListView1 = new QTreeWidget(this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setHeaderLabels({QStringLiteral("Datum"), QStringLiteral("Zeit"), QStringLiteral("Datei"),
                                QStringLiteral("Inhalt")});
    ListView1->setRootIsDecorated(false);
    ListView1->setUniformRowHeights(true);
    ListView1->setAllColumnsShowFocus(true);
    ListView1->header()->setStretchLastSection(true);
    ListView1->setColumnWidth(0, 100);
    ListView1->setColumnWidth(1, 80);
    ListView1->setColumnWidth(2, 80);

    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setWordWrap(true);

    Button1 = new QPushButton(QStringLiteral("zurückholen"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2 = new QPushButton(QStringLiteral("schließen"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(Button2, &QPushButton::clicked, this, &QDialog::accept);
    connect(ListView1, &QTreeWidget::itemSelectionChanged, this,
            [this] { Button1->setEnabled(!ListView1->selectedItems().isEmpty()); });

    auto* knoepfe = new QHBoxLayout;
    knoepfe->addWidget(Label2, 1);
    knoepfe->addWidget(Button1);
    knoepfe->addWidget(Button2);
    auto* spalte = new QVBoxLayout(this);
    spalte->addWidget(Label1);
    spalte->addWidget(ListView1, 1);
    spalte->addLayout(knoepfe);

    holen();
}

void Tsicherungen::holen() {
    ListView1->clear();
    liste_.clear();
    nux::sicher([&] { liste_ = nux::sicherungen(jahr_); });
    for (const auto& s : liste_) {
        QString inhalt;
        nux::sicher([&] { inhalt = QString::fromUtf8(nux::zusammenfassung(s.datei, nux::dateilesen(s.pfad))); });
        auto* zeile = new QTreeWidgetItem(ListView1, {QString::fromLatin1(s.datum()), QString::fromLatin1(s.zeit()),
                                                      QString::fromLatin1(s.datei), inhalt});
        zeile->setToolTip(3, inhalt);
    }
    Button1->setEnabled(false);
    if (liste_.empty())
        Label2->setText(QStringLiteral("Für dieses Jahr gibt es noch keine Sicherungen. nux legt eine an, "
                                       "bevor es klassen, faecher oder lehrer ändert."));
}

void Tsicherungen::Button1Click() {
    const int zeile = ListView1->indexOfTopLevelItem(ListView1->currentItem());
    if (zeile < 0 || ListView1->selectedItems().isEmpty() || zeile >= static_cast<int>(liste_.size())) {
        nux::piepsen();
        return;
    }
    const nux::Sicherung s = liste_[static_cast<std::size_t>(zeile)];
    bool geholt = false;
    nux::sicher([&] {
        nux::zurueckholen(jahr_, s);
        geholt = true;
    });
    holen();
    if (geholt)
        Label2->setText(QStringLiteral("„%1“ vom %2, %3 Uhr ist zurückgeholt. Die Fassung davor steht als "
                                       "neueste Sicherung in der Liste.")
                            .arg(QString::fromLatin1(s.datei), QString::fromLatin1(s.datum()),
                                 QString::fromLatin1(s.zeit())));
}

namespace nux {

void sicherungsfehlermelden() {
    sicherungsfehler() = [](const std::string& meldung) {
        QWidget* fenster = QApplication::activeWindow();
        if (!fenster) fenster = Fenster::aktivesFenster();
        if (fenster)
            hinweiszeigen(fenster, kSicherungshinweis, QString::fromUtf8(meldung));
        else
            qWarning("nux: %s", meldung.c_str());
    };
}

}  // namespace nux
