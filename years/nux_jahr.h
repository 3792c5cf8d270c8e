#pragma once
#include <QLabel>

#include "app/shell.h"

class Tjahrfenster : public nux::Fenster {
    Q_OBJECT
public:
    Tjahrfenster();

    QLabel* Label1;

protected:
    void FormActivate() override;
};
