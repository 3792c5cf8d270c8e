#pragma once
#include <QElapsedTimer>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QUndoStack>
#include <string>
#include <vector>

#include "fenster/shell.h"
#include "assignment/gitter.h"
#include "assignment/kern/verteilung.h"

// The assignment window: teachers are put on the lessons of all classes.
class Tverteilfenster : public nux::Fenster {
    Q_OBJECT
public:
    Tverteilfenster();

    QProgressBar* ProgressBar1;
    QLabel* Label4;
    QLabel* Label1;
    QPushButton* Button2;
    QPushButton* Button1;
    QPushButton* Button3;  // "Excel-Export"
    QLabel* Label2;
    QScrollArea* ScrollBox1;
    QListWidget* ListBox1;
    QFrame* Panel1;
    QLabel* Label3;
    QFrame* Panel2;
    QLabel* Memo2;
    QFrame* Panel3;
    QLabel* Label5;
    QProgressBar* ProgressBar2;
    QFrame* Panel4;
    QLabel* Label6;
    QFrame* Panel5;
    QLabel* Label7;
    QListWidget* ListBox3;

    Gitter* gitter() const { return gitter_; }
    const nux::Verteilung& modell() const { return modell_; }
    // The gestures since the last load; its clean state is the last load or save.
    QUndoStack* verlauf() const { return verlauf_; }

    // Whether the grid holds assignments that the file does not.
    bool ungespeichert() const { return !verlauf_->isClean(); }
    // Before unsaved assignments are dropped: asks whether to save them.
    // Returns whether the caller may go on; "Abbrechen" (offered only when
    // abbrechbar) and a failed save keep them.
    bool freigeben(bool abbrechbar = true);
    // Brings the window back to the front as it is, without reloading.
    void zurueckholen();

    // Handlers.
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Label1Click();
    void Panel1Click();
    void Panel2Click();
    void Panel5Click();
    void ListBox1MouseDown(Qt::MouseButton knopf, Qt::KeyboardModifiers tasten);

    // Operations.
    void holen();
    void zeigerpos();
    void lehrerein(int c, int r);
    void zusatzzeigen(int c, int r);

protected:
    void FormActivate() override;
    bool eventFilter(QObject* o, QEvent* e) override;
    bool event(QEvent* e) override;

private:
    int auswahl() const;
    void auswahlweg();
    void listeabgleichen();
    void hinweis(const QString& text);
    void schrittzeigen(const nux::Aenderung& a, bool vorwaerts);

    Gitter* gitter_;
    nux::Verteilung modell_;
    std::vector<std::string> gezeigt_;  // the lines ListBox1 shows
    QElapsedTimer uebergabe_;           // since this window handed the front to another
    QUndoStack* verlauf_;
    bool behalten_ = false;             // the coming activation keeps the grid as it is
};
