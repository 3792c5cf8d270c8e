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
#include "storage/planung.h"

QT_BEGIN_NAMESPACE
class QChartView;
class QBarSet;
class QBarCategoryAxis;
class QValueAxis;
QT_END_NAMESPACE

// The assignment window: teachers are put on the lessons of all classes.
class Tverteilfenster : public nux::Fenster {
    Q_OBJECT
public:
    Tverteilfenster();

    QProgressBar* ProgressBar1 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button3 = nullptr;  // "Excel-Export"
    QPushButton* Button5 = nullptr;  // "Vorschlag …"
    QLabel* Label2 = nullptr;
    QScrollArea* ScrollBox1 = nullptr;
    QListWidget* ListBox1 = nullptr;
    QFrame* Panel1 = nullptr;
    QLabel* Label3 = nullptr;
    QFrame* Panel2 = nullptr;
    QLabel* Memo2 = nullptr;
    QFrame* Panel3 = nullptr;
    QLabel* Label5 = nullptr;
    QProgressBar* ProgressBar2 = nullptr;
    QFrame* Panel4 = nullptr;
    QLabel* Label6 = nullptr;
    QFrame* Panel5 = nullptr;
    QLabel* Label7 = nullptr;
    QListWidget* ListBox3 = nullptr;
    // The planning assistant, in the strip between grid and list.
    QPushButton* Button4 = nullptr;  // "Wer unterrichtet was"
    QPushButton* Button6 = nullptr;  // "Auslastung": shows Panel6
    QFrame* Panel6 = nullptr;        // load of every teacher and the bottlenecks
    QLabel* Label8 = nullptr;        // the bottlenecks
    QScrollArea* ScrollBox2 = nullptr;
    QChartView* Chart1 = nullptr;    // required against assigned hours

    Gitter* gitter() const { return gitter_; }
    const nux::Verteilung& modell() const { return modell_; }
    const nux::Befaehigungen& befaehigungen() const { return befaehigungen_; }
    // Reads the qualifications of the year again (after they were edited)
    // and brings marks, chart and bottlenecks up to date.
    void befaehigungenneu();
    // The gestures since the last load; its clean state is the last load or save.
    QUndoStack* verlauf() const { return verlauf_; }

    // Whether the grid holds assignments that the file does not. The cells
    // decide, not the undo history: a teacher set and taken off again, or a
    // step undone back to the file, leaves nothing to save (the export says
    // the same of its workbook).
    bool ungespeichert() const { return !modell_.gespeichert(); }
    // Before unsaved assignments are dropped: asks whether to save them.
    // Returns whether the caller may go on; "Abbrechen" (offered only when
    // abbrechbar) and a failed save keep them.
    bool freigeben(bool abbrechbar = true);
    // Puts the teachers on the lessons as ONE step of the history (undone
    // with one Ctrl+Z); nothing is saved. A lesson that is gone or a code
    // without a teacher line is passed over. Returns how many went in.
    int zuordnen(const std::vector<nux::Eintrag>& liste, const QString& name);
    // Brings the window back to the front as it is, without reloading.
    void zurueckholen();

    // Handlers.
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button6Click();
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
    void leeren();
    void verwerfen();
    // After every gesture, selection and load: the marks of the grid, and
    // while Panel6 is shown its chart and bottleneck list.
    void auswertungneu(bool neuaufbau = false, bool marken = true);
    // After a gesture on one cell: its mark, the panel as above.
    void auswertungneu(int c, int r);
    std::string gewaehlt() const;  // the selected teacher's code, or empty
    QString zellentipp(int c, int r) const;

    Gitter* gitter_;
    nux::Verteilung modell_;
    std::vector<std::string> gezeigt_;  // the lines ListBox1 shows
    QElapsedTimer uebergabe_;           // since this window handed the front to another
    QUndoStack* verlauf_ = nullptr;
    bool behalten_ = false;             // the coming activation keeps the grid as it is
    bool fragt_ = false;                // the question before dropping assignments is open
    nux::Befaehigungen befaehigungen_;
    QBarSet* soll_ = nullptr;
    QBarSet* ist_ = nullptr;
    QBarCategoryAxis* achse_ = nullptr;
    QValueAxis* werte_ = nullptr;
    bool diagrammalt_ = true;
    int stumm_ = 0;                      // a step of many gestures is under way: count once at its end            // the chart shows another load than the model's
};
