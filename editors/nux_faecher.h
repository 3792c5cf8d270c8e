#pragma once
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <optional>

#include "fenster/shell.h"

// The subjects editor: subjects with name, short name and "taught this year",
// put into their display order by dragging them within the list.
class Tfaecherfenster : public nux::Fenster {
    Q_OBJECT
public:
    Tfaecherfenster();

    QLabel* Label1 = nullptr;
    QListWidget* ListBox1 = nullptr;
    QFrame* Panel1 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPlainTextEdit* Memo1 = nullptr;

    void holen();
    void speichern();

protected:
    void FormActivate() override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void Edit1Change();
    void Button1Click();
    void Button2Click();
    void ListBox1MouseDown(Qt::KeyboardModifiers m, QPoint p);
    void ListBox1MouseUp();
    void ListBox1KeyUp();
    void feldersetzen(int zeile);

    // Highest record index, -1 without subjects.
    int hoechster = -1;
    // Whether the list holds the whole file.
    bool gelesen = false;
    // List position of the entry the last press fell on; read by the release.
    std::optional<int> quelle;
    // List position of the subject shown in the fields.
    std::optional<int> geladen;
};
