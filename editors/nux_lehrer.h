#pragma once
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "fenster/shell.h"

// The teachers editor: teachers with name, short name and required hours;
// one record written per save.
class Tlehrerfenster : public nux::Fenster {
    Q_OBJECT
public:
    Tlehrerfenster();

    QLabel* Label1;
    QLabel* Label2;
    QListWidget* ListBox1;
    QLabel* Label3;
    QLineEdit* Edit1;
    QLabel* Label4;
    QLineEdit* Edit3;
    QLabel* Label5;
    QLineEdit* Edit2;
    QPushButton* Button1;
    QPushButton* Button2;

protected:
    void FormActivate() override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void Edit1Change();
    void Edit1Exit();
    bool Edit2KeyPress(QKeyEvent* e);
    void Edit2Exit();
    void ListBox1MouseDown(Qt::KeyboardModifiers m, QPoint p);
    void ListBox1KeyUp();
    void Button1Click();
    void Button2Click();
    void zaehlen();
    void lehrerladen(int zeile);
};
