#pragma once
#include <QLabel>

#include "app/shell.h"

class Tklassenfenster : public nux::Fenster {
    Q_OBJECT
public:
    Tklassenfenster();

    QLabel* Label1;

protected:
    void FormActivate() override;
};
