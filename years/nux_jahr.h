#pragma once
// The year window: chooses the current year, creates year folders and takes
// data over from one year into another.
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>
#include <functional>
#include <string>

#include "fenster/shell.h"
#include "years/kern/jahre.h"

class teditzahl;
class teditnummer;

// The year list reports every mouse press with its modifier keys. A press of
// the left button first selects the entry under the pointer; other buttons
// act on the entry selected before. Enter acts like a plain press.
class Tjahrliste : public QListWidget {
    Q_OBJECT
public:
    explicit Tjahrliste(QWidget* eltern);
    std::function<void(Qt::KeyboardModifiers)> gedrueckt;

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
};

class Tjahrfenster : public nux::Fenster {
    Q_OBJECT
public:
    Tjahrfenster();

    QLabel* Label1 = nullptr;
    Tjahrliste* ListBox1;
    QPlainTextEdit* Memo2 = nullptr;
    QWidget* Panel1 = nullptr;
    QLabel *Label2, *Label3;
    teditzahl* teditzahl1;
    teditnummer* teditnummer1;
    QPushButton* Button1 = nullptr;
    QWidget* Panel2 = nullptr;
    QLabel* Label4 = nullptr;
    QWidget *Panel3, *Panel4, *Panel5;
    QRadioButton *RadioButton1, *RadioButton2, *RadioButton3, *RadioButton4, *RadioButton5, *RadioButton6,
        *RadioButton7;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;  // "Sicherungen"
    QCheckBox* CheckBox1 = nullptr;  // "Klassen versetzen"
    QCheckBox* CheckBox2 = nullptr;  // "LehrerInnen wandern mit der Klasse"
    QPushButton* Button4 = nullptr;  // "Pläne vergleichen"

protected:
    void FormActivate() override;

private:
    void holen();
    void ListBox1MouseDown(Qt::KeyboardModifiers tasten);
    void teditzahl1Change();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    nux::Uebernahmewahl uebernahmewahl() const;
    void versetzen(const nux::Uebernahmewahl& wahl);
    void jahrwaehlen(const std::string& jahr);

    // The takeover heading as Windows-1252 text; Label4 shows it.
    std::string kopf;
};
