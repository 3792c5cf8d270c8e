#pragma once
// "Klassen anlegen": the classes of the current year and, for the chosen
// class, its subjects with the hours of up to three teachers.
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <functional>

#include "fenster/shell.h"
#include "editors/kern/klassen.h"

class Tklassenfenster : public nux::Fenster {
    Q_OBJECT
public:
    Tklassenfenster();
    ~Tklassenfenster() override;

    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label5;  // "Klasse:"
    QLineEdit* Edit1;
    QListWidget* ListBox1;
    QListWidget* ListBox2;
    QFrame* Panel3;
    QPushButton* Button2;
    QPlainTextEdit* Memo1;
    QFrame* Panel1;
    QPushButton* Button1;
    QFrame* Panel2;
    QLabel* Label4;
    QLineEdit* Edit2;
    QLineEdit* Edit3;
    QLineEdit* Edit4;
    QLineEdit* Edit5;
    QLineEdit* Edit6;
    QLineEdit* Edit7;
    QPushButton* Button3;

    const nux::Klassenmodell& modell() const { return modell_; }

protected:
    void FormActivate() override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void starten();
    void speichern();
    // A change after which the classes are read again and the window is empty.
    void nachladen(const std::function<void()>& aenderung);
    void klassenfuellen();
    void Edit1Exit();
    void Edit1Enter();
    void ListBox1MouseDown(Qt::KeyboardModifiers tasten);
    void Button1Click();
    void Button2Click();
    void ListBox2Click();
    void Edit2Exit(QLineEdit* feld);
    void Button3Click();
    void Panel2Click();

    void listezeigen();
    void tabellezeigen(const std::vector<std::string>& reihen);
    nux::Zeilenfelder felder() const;
    void felderzeigen(const nux::Zeilenfelder& f);

    nux::Klassenmodell modell_;
    bool leise_ = false;  // selection changes made by the window itself
};
