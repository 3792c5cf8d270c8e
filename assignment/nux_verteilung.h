#pragma once
#include <QLabel>

#include "app/shell.h"

class Tverteilfenster : public nux::Fenster {
    Q_OBJECT
public:
    Tverteilfenster();

    QLabel* Label1;

protected:
    void FormActivate() override;
};
