#pragma once
// The proposal window: scope and weights, the run off the user-interface
// thread with its progress and "Abbrechen", the preview with a tick per
// lesson, and "Übernehmen" into the assignment window as one undo step.
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTreeWidget>
#include <atomic>
#include <memory>
#include <optional>
#include <thread>

#include "assignment/kern/vorschlag.h"

class Tverteilfenster;

class Tvorschlag : public QDialog {
    Q_OBJECT
public:
    explicit Tvorschlag(Tverteilfenster* verteilung);
    ~Tvorschlag() override;

    QRadioButton* RadioButton1 = nullptr;  // all classes
    QRadioButton* RadioButton2 = nullptr;  // the chosen ones
    QListWidget* ListBox1 = nullptr;       // classes
    QCheckBox* CheckBox1 = nullptr;        // also lessons of teachers above their hours
    QLineEdit* Edit1 = nullptr;            // hours above the required ones
    QSlider* TrackBar1 = nullptr;          // balanced load
    QSlider* TrackBar2 = nullptr;          // last year's teacher
    QSlider* TrackBar3 = nullptr;          // few teachers per class
    QSlider* TrackBar4 = nullptr;          // preferred subjects
    QPushButton* Button1 = nullptr;        // "Vorschlag berechnen"
    QPushButton* Button2 = nullptr;        // "Abbrechen"
    QPushButton* Button3 = nullptr;        // "Übernehmen"
    QPushButton* Button4 = nullptr;        // "Schließen"
    QProgressBar* ProgressBar1 = nullptr;
    QLabel* Label1 = nullptr;              // progress line
    QTreeWidget* ListView1 = nullptr;      // the proposed lessons
    QLabel* Memo1 = nullptr;               // figures before and after, what stays open

    void Button1Click();
    void Button2Click();
    void Button3Click();
    bool laeuft() const { return arbeiter_.joinable(); }
    const std::optional<nux::Vorschlag>& vorschlag() const { return vorschlag_; }

protected:
    void reject() override;

private:
    nux::Umfang umfang() const;
    nux::Gewichte gewichte() const;
    void fertig(std::shared_ptr<nux::Vorschlag> v, QString fehler, bool abgebrochen);
    void zeigen(const nux::Vorschlag& v);
    void bereit(bool laufend);
    void beenden();

    Tverteilfenster* verteilung_;
    std::thread arbeiter_;
    std::atomic<bool> abbrechen_{false};
    std::optional<nux::Vorschlag> vorschlag_;
};

namespace nux {
// The assignment window's "Vorschlag …" button (Button5) in the strip beside the grid.
QPushButton* vorschlagknopf(Tverteilfenster* f);
}  // namespace nux
