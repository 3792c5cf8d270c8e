#pragma once
// The preview of a takeover with promotion: which class becomes which, what
// each new class gets, and how many lessons keep their teacher. The user
// corrects the lines; only "Übernehmen" writes.
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <vector>

#include "years/kern/jahre.h"
#include "years/kern/versetzung.h"

class teditzahl;

class Tversetzung : public QDialog {
    Q_OBJECT
public:
    // d: what versetzungladen read for this takeover.
    Tversetzung(const nux::Uebernahmepaar& paar, const nux::Uebernahmewahl& wahl, bool wandern,
                nux::Versetzungsdaten d, QWidget* eltern = nullptr);

    QLabel* Label1;            // heading: target, source
    QLabel* Label2;            // "Oberste Stufe:"
    teditzahl* teditzahl1;     // the top grade
    QTableWidget* ListView1;   // bisher, neu, Stunden von, Status, behalten
    QLabel* Label3;            // lessons that keep their teacher
    QLabel* Label4;            // what stops the takeover, red
    QPushButton *Button1, *Button2, *Button3, *Button4;  // add line, remove line, "Übernehmen", "Abbrechen"

    std::vector<nux::Versetzungszeile> zeilen() const;
    const nux::Versetzungsvorschau& vorschau() const { return vorschau_; }

private:
    void vorschlagen();
    void berechnen();
    void zeilesetzen(int r, const nux::Versetzungszeile& z);
    void Button1Click();
    void Button2Click();
    void Button3Click();

    nux::Uebernahmepaar paar_;
    nux::Uebernahmewahl wahl_;
    nux::Versetzungswahl versetzungswahl_;
    nux::Versetzungsdaten daten_;
    nux::Versetzungsvorschau vorschau_;
    bool fuellen_ = false;
};

namespace nux {

// "nux --versetzen QUELLE ZIEL [--oberstufe N]": teachers, subjects and the
// classes with hours and extra texts, promoted, teachers wandering with
// them; the mapping goes to the output. 0, or 2 with the German reasons on
// the error output, nothing written.
int versetzungsbefehl(const QString& quelle, const QString& ziel, const QString& oberstufe);

}  // namespace nux
