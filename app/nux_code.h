#pragma once
// Changing the access code.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "fenster/shell.h"

class Tcode : public nux::Fenster {
    Q_OBJECT
public:
    Tcode();

    QLabel *Label1, *Label3, *Label2;
    QLineEdit *Edit2, *Edit1;
    QPushButton* Button1 = nullptr;

protected:
    void FormActivate() override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void Edit2Change();
    void Edit2Exit();
    void Edit1Change();
    void Button1Click();
};
