#pragma once
#include <QLabel>

#include "app/shell.h"

class Tlehrerfenster : public nux::Fenster {
    Q_OBJECT
public:
    Tlehrerfenster();

    QLabel* Label1;

protected:
    void FormActivate() override;
};
