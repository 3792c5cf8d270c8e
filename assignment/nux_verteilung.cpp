#include "assignment/nux_verteilung.h"

Tverteilfenster::Tverteilfenster() : nux::Fenster("Tverteilfenster", 1016, 616) {
    Label1 = new QLabel(QStringLiteral("Verteilung"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(nux::schrift(QStringLiteral("MS Sans Serif"), 24, true));
    Label1->move(20, 10);
    Label1->adjustSize();
}

void Tverteilfenster::FormActivate() {}
