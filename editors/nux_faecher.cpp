#include "editors/nux_faecher.h"

Tfaecherfenster::Tfaecherfenster() : nux::Fenster("Tfaecherfenster", 1016, 616) {
    Label1 = new QLabel(QStringLiteral("Fächer anlegen"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(nux::schrift(QStringLiteral("MS Sans Serif"), 24, true));
    Label1->move(20, 10);
    Label1->adjustSize();
}

void Tfaecherfenster::FormActivate() {}
