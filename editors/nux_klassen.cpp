#include "editors/nux_klassen.h"

Tklassenfenster::Tklassenfenster() : nux::Fenster("Tklassenfenster", 1016, 616) {
    Label1 = new QLabel(QStringLiteral("Klassen anlegen"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(nux::schrift(QStringLiteral("MS Sans Serif"), 24, true));
    Label1->move(20, 10);
    Label1->adjustSize();
}

void Tklassenfenster::FormActivate() {}
