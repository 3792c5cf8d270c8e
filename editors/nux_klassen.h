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

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label5 = nullptr;  // "Klasse:"
    QLineEdit* Edit1 = nullptr;
    QListWidget* ListBox1 = nullptr;
    QListWidget* ListBox2 = nullptr;
    QFrame* Panel3 = nullptr;
    QPushButton* Button2 = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    QFrame* Panel1 = nullptr;
    QPushButton* Button1 = nullptr;
    QFrame* Panel2 = nullptr;
    QLabel* Label4 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QLineEdit* Edit4 = nullptr;
    QLineEdit* Edit5 = nullptr;
    QLineEdit* Edit6 = nullptr;
    QLineEdit* Edit7 = nullptr;
    QPushButton* Button3 = nullptr;

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
