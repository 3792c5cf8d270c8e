#include "years/nux_jahr.h"

Tjahrfenster::Tjahrfenster() : nux::Fenster("Tjahrfenster", 1016, 616) {
    Label1 = new QLabel(QStringLiteral("Jahr auswählen"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(nux::schrift(QStringLiteral("MS Sans Serif"), 24, true));
    Label1->move(20, 10);
    Label1->adjustSize();
}

void Tjahrfenster::FormActivate() {}
