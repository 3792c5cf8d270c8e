#pragma once
// The main menu: locked until the access code is accepted, then the door to
// every other window.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "fenster/shell.h"

class Tmenuform : public nux::Fenster {
    Q_OBJECT
public:
    Tmenuform();

    QPushButton *Button1, *Button2, *Button3, *Button4, *Button5, *Button6, *Button7, *Button8;
    QWidget* Panel1 = nullptr;
    QLabel *Label2, *Label1, *Label12, *Label11, *Label5;
    QLineEdit* Edit2 = nullptr;
    QTimer *Timer1, *Timer2;

    // The year window writes the year label through this.
    void jahrzeigen(const std::string& ordner);

    // How the update button opens the web page; tests replace it.
    static std::function<void(const QString&)> seiteoeffnen;

    static const QString webadresse;
    static QString versionstext();

protected:
    void FormActivate() override;
    QPoint platz() const override { return QPoint(0, 0); }
    void mousePressEvent(QMouseEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    bool offen = false;
    void Edit2Change();
    void Edit2Exit();
    void entsperren();
    void starten();
    void jahrladen();
    void zeigen(nux::Fenster* f, bool widmung);
    bool verteilungfreigeben();
    void Button6Click();
    void Timer1Timer();
    void Timer2Timer();
    void Button8Click();
};
