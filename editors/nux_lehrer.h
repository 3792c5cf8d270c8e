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

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QListWidget* ListBox1 = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLabel* Label4 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QLabel* Label5 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;  // "Wer unterrichtet was"

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
