#pragma once
#include <QLabel>

#include "app/shell.h"

class Tfaecherfenster : public nux::Fenster {
    Q_OBJECT
public:
    Tfaecherfenster();

    QLabel* Label1;

protected:
    void FormActivate() override;
};
