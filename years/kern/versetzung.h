#pragma once
// A new school year with promotion: every class whose name begins with a
// grade number moves up one grade, the top grade leaves, new classes of the
// entry grade come in, and a class may keep its teachers. The plan is a list
// of lines old class -> new class that the user corrects before anything is
// written. Texts are Windows-1252 bytes.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "storage/satz.h"
#include "years/kern/jahre.h"

namespace nux {

// The grade a class name begins with ("10c" -> 10), nothing without a
// leading number; and what follows the number ("10c" -> "c").
std::optional<int> stufevon(std::string_view klasse);
std::string zugvon(std::string_view klasse);
// "9c" -> "10c"; a name without a grade stays as it is.
std::string hochstufen(std::string_view klasse);

// The highest and the lowest grade among the classes; 0 when none has one.
int hoechstestufe(const std::vector<Klassensatz>& klassen);
int eingangsstufe(const std::vector<Klassensatz>& klassen);

// One line of the plan. An empty old name is a new class of the entry grade,
// an empty new name a class that leaves the school. Two lines with the same
// old name split a class.
struct Versetzungszeile {
    std::string alt;
    std::string neu;
    bool operator==(const Versetzungszeile&) const = default;
};

// Every class of the source moves up, the classes of the top grade (and any
// above it) leave, classes without a grade stay; then one new class for each
// class of this year's entry grade, with its name.
std::vector<Versetzungszeile> versetzungsvorschlag(const std::vector<Klassensatz>& klassen, int oberstufe);

// How the new classes are filled.
struct Versetzungswahl {
    // Which of hours and extra texts go along; keine counts as both.
    Klassenwahl klassen = Klassenwahl::mitStundenMitZusatz;
    // "LehrerInnen wandern mit der Klasse".
    bool wandern = false;
};

struct Zeilenstand {
    std::string status;      // German, for the preview
    std::string stundenvon;  // the class of the source whose hours the new class gets; empty: none
    int behalten = 0;        // lessons that keep last year's teacher
    int offen = 0;           // lessons without a teacher
    bool fehler = false;
};

struct Versetzungsvorschau {
    std::vector<Zeilenstand> zeilen;     // one per line of the plan
    std::vector<std::string> fehler;     // German; while there is one, nothing may be written
    std::vector<Klassensatz> klassen;    // the new year's classes, sorted by name
    int behalten = 0;
    int offen = 0;
    bool gut() const { return fehler.empty(); }
};

// The new classes from the source's classes and the plan. anwesend: the
// teacher records the new year will have (withdrawn ones do not count).
// The hours of a new class come from the source's class of the grade it
// enters (the same name, else any class of that grade), else from its old
// class; its extra texts from the same class.
Versetzungsvorschau versetzungberechnen(const std::vector<Klassensatz>& quelle,
                                        const std::vector<Versetzungszeile>& zeilen,
                                        const std::vector<Lehrersatz>& anwesend, const Versetzungswahl& wahl);

// What a takeover with promotion reads: the source's classes and the
// teachers the target will have after it (the source's when "LehrerInnen"
// goes along, else the target's own). Empty message: fine; else the German
// reason why nothing can be done (not a year folder, a year into itself).
std::string versetzungpruefen(const Uebernahmepaar& paar);
struct Versetzungsdaten {
    std::vector<Klassensatz> klassen;
    std::vector<Lehrersatz> lehrer;
    bool klassenda = false;  // the source has a class file
};
Versetzungsdaten versetzungladen(const Uebernahmepaar& paar, const Uebernahmewahl& wahl);

// Writes the new year: teachers (with their qualifications) and subjects as
// the takeover copies them, the new classes in one atomic rewrite, and the
// mapping into the target's planning folder. Refuses (Dateifehler with the
// first message) while the preview has an error, before anything is written.
void versetzungschreiben(const Uebernahmepaar& paar, const Uebernahmewahl& wahl,
                         const std::vector<Versetzungszeile>& zeilen, const Versetzungsvorschau& vorschau);

}  // namespace nux
