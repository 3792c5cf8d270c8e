#pragma once
// The proposal: teachers for the open lessons, as a mixed-integer program
// that weighs balanced load, continuity with last year, few teachers per
// class and preferred subjects, started from and measured against the greedy
// rule that comparable tools use. A proposal is a preview: it changes no
// model and writes no file; the planner takes over what they tick.
#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "assignment/kern/mappe.h"
#include "assignment/kern/verteilung.h"
#include "storage/dateifehler.h"
#include "storage/planung.h"

namespace nux {

// Who taught a class's subjects in the year this one was taken over from:
// (class name of this year, subject key) -> teacher keys.
struct Vorjahr {
    std::map<std::pair<std::string, std::string>, std::vector<std::string>> lehrer;
    bool hatte(std::string_view klasse, std::string_view fach, std::string_view lehrer) const;
    bool leer() const { return lehrer.empty(); }
};
// Through the mapping of a promotion where there was one (h.vorgaenger).
Vorjahr vorjahrbilden(const Herkunft& h, const std::vector<Klassensatz>& alt,
                      const std::vector<Fachsatz>& faecheralt, const std::vector<Klassensatz>& neu);
// From the files: the origin of the year and the classes and subjects of
// its source; empty when the year was not taken over or the source is gone.
Vorjahr vorjahrladen(const std::string& jahr, const std::vector<Klassensatz>& neu);

// Which lessons the proposal may fill.
struct Umfang {
    bool nurauswahl = false;   // only the classes below, not all
    std::vector<int> klassen;  // class indexes
    bool ueberlast = false;    // also lessons of teachers above their required hours
    std::int64_t toleranz = 0; // tenths a teacher may go above the required hours
};

// What matters, 0 (not at all) to 10 each.
struct Gewichte {
    int ausgleich = 6;     // everyone near their required hours
    int kontinuitaet = 4;  // the teacher of last year
    int wenigelehrer = 3;  // few teachers per class, one per subject
    int wunsch = 2;        // preferred subjects
};

// The figures of one assignment of the whole grid.
struct Kennzahlen {
    std::int64_t offen = 0;        // open hours in the scope
    std::int64_t abweichung = 0;   // sum of |assigned - required| over the listed teachers
    std::int64_t groesste = 0;     // the largest of these
    int ueber = 0;                 // teachers above their required hours
    int behalten = 0;              // lessons with last year's teacher
    double lehrerjeklasse = 0;     // distinct teachers per class, mean over classes with lessons
    bool operator==(const Kennzahlen&) const = default;
};

// One lesson of the proposal. Names Windows-1252 like the records they come from.
struct Vorschlagszeile {
    int c = -1, r = -1;
    std::string klasse, fach;  // class name, subject name
    int anteil = 1;            // teacher slot
    std::int64_t stunden = 0;
    std::string lehrer;        // teacher code
    std::string vorher;        // the teacher it had ("--" for an open lesson)
    std::string warum;         // "Wunschfach, hatte die Klasse letztes Jahr, 4,5 Stunden frei"
};

struct Offenzeile {
    int c = -1, r = -1;
    std::string klasse, fach;
    int anteil = 1;
    std::int64_t stunden = 0;
    std::string grund;  // UTF-8 like the bottleneck texts
};

struct Vorschlag {
    std::vector<Vorschlagszeile> zeilen;  // by class, then row
    std::vector<Offenzeile> offen;        // lessons in scope that stay open
    Kennzahlen vorher, nachher, gierig;
    double ziel = 0, zielgierig = 0, schranke = 0;  // objective of the proposal and of the greedy rule; the solver's bound
    double schrankelagrange = 0;  // of the bound: what the prices by Lagrange alone prove
    bool vomloeser = false;   // the solver's solution (otherwise the greedy rule's)
    bool bewiesen = false;    // the search ended within the gap, not by a limit
    int anteile = 0, variablen = 0;  // lessons considered, columns of the program
    double msmodell = 0, msloesen = 0, msvorschau = 0;  // timings of the phases

    double luecke() const;  // relative distance to the bound, 0.015 for 1,5 %
    // "höchstens 1,5 % vom bestmöglichen Ergebnis entfernt", UTF-8 like every message.
    std::string guetetext() const;
    // "12 Unterrichte vorgeschlagen, 1 bleibt offen; das bestmögliche Ergebnis."
    std::string ueberschrift() const;
};

// Control from another thread: a cancel flag read often, and a callback
// with the percentage and a German line (UTF-8) of what happens.
struct Steuerung {
    const std::atomic<bool>* abbrechen = nullptr;
    std::function<void(int prozent, const std::string& text)> melden;
    int zeitgrenze_ms = 4000;
    int knotengrenze = 4000;
    double luecke = 0.01;
};

// Every refusal of a proposal as the user reads it, by its reason.
enum Vorschlagsgrund { kKeineKlasse, kKlasseFehlt, kToleranzNegativ, kToleranzGross, kToleranzText, kKeineLehrer, kKeineBefaehigungen, kNichtsOffen, kNichtsOffenUeberlast, kGewichtBereich, kGewichteNull };
inline constexpr const char* kVorschlagsmeldungen[] = {
    "Es ist keine Klasse ausgewählt. Bitte Klassen wählen oder „alle Klassen“ einstellen.",
    "Eine ausgewählte Klasse gibt es in der Verteilung nicht.",
    "Die Stunden über der Lehrverpflichtung dürfen nicht negativ sein.",
    "Mehr als 99,9 Stunden über der Lehrverpflichtung sind keine sinnvolle Grenze.",
    "Bitte bei „Über die Lehrverpflichtung hinaus“ eine Stundenzahl wie 1,5 eintragen.",
    "Es gibt keine Lehrkräfte mit Stunden. Bitte zuerst im Lehrerfenster die Lehrverpflichtungen eintragen.",
    "Es ist noch nicht erfasst, wer was unterrichten kann. Bitte zuerst unter „Wer unterrichtet was“ mit „aus der Verteilung übernehmen“ die Befähigungen füllen.",
    "In der Auswahl gibt es keine offenen Stunden: alle Stunden haben eine Lehrkraft.",
    "In der Auswahl gibt es keine offenen Stunden und keine Lehrkraft über ihrer Lehrverpflichtung.",
    "Jedes Gewicht liegt zwischen 0 und 10.",
    "Alle Gewichte stehen auf 0: Bitte angeben, worauf es ankommt (wenigstens ein Regler über 0).",
};

// Why a proposal cannot be made; the message is German, UTF-8 like every
// message of the core.
class Vorschlagsfehler : public Dateifehler {
public:
    using Dateifehler::Dateifehler;
    explicit Vorschlagsfehler(Vorschlagsgrund g) : Dateifehler(kVorschlagsmeldungen[g]) {}
};
// Thrown by vorschlagen when the flag is set; nothing has changed.
class Vorschlagsabbruch : public std::exception {};

// The proposal for the model as it stands. Throws Vorschlagsfehler for bad
// input and Vorschlagsabbruch when cancelled. The same data give the same
// proposal as long as the node limit, not the time guard, ends the search.
Vorschlag vorschlagen(const Verteilung& v, const Befaehigungen& b, const Vorjahr& vj, const Umfang& u,
                      const Gewichte& g, const Steuerung& s = {});

// The greedy rule alone: hardest subject first, largest lesson first, the
// qualified teacher with the most missing hours; ties by subject index,
// class, row and the order of the availability list.
std::vector<Eintrag> gierig(const Verteilung& v, const Befaehigungen& b, const Umfang& u);

// The figures of the grid with the entries put in.
Kennzahlen zaehlen(const Verteilung& v, const std::vector<Eintrag>& neu, const Vorjahr& vj, const Umfang& u);

// The ticked lines as entries for the assignment window.
std::vector<Eintrag> eintraege(const Vorschlag& v, const std::vector<bool>& haken);

// The proposal as a workbook: sheets "Vorschlag" (the lessons), "Offen"
// (what stays open and why) and "Kennzahlen" (before, proposal, greedy rule).
Mappe vorschlagsmappe(const Vorschlag& v, const std::string& jahr);
// The figures as lines of text for a terminal, UTF-8.
std::string vorschlagstext(const Vorschlag& v);

}  // namespace nux
