#pragma once
// The table "Wer unterrichtet was": the qualifications of a year as a matrix
// of the teachers of the availability list against the subjects taught this
// year. Every operation first says what it would change; the change is then
// applied, and taken back, as one step of a history.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "assignment/kern/verteilung.h"
#include "storage/planung.h"
#include "storage/satz.h"

namespace nux {

// One row: a teacher as the availability list shows them.
struct Matrixlehrer {
    std::string kurz;  // teacher code, trimmed
    std::string name;
    std::int64_t soll = 0;  // required hours, tenths
    std::int64_t frei = 0;  // available hours, tenths
};

// One column: the subjects taught this year under one short name.
struct Matrixfach {
    std::string kurz;   // the key, as fachschluessel gives it
    std::string namen;  // their names, ", " between them
};

// One cell changed by an operation.
struct Zellwechsel {
    std::string lehrer, fach;  // the keys of the file
    Stufe vorher = Stufe::keine, nachher = Stufe::keine;
    bool operator==(const Zellwechsel&) const = default;
};
using Wechsel = std::vector<Zellwechsel>;

// A paste: what it changes, or why it was refused (UTF-8, for the user).
struct Einfuegung {
    Wechsel wechsel;
    std::string fehler;
};

// The grid of the year a year was taken over from.
struct Quelljahr {
    std::string jahr;
    std::vector<Klassensatz> klassen;
    std::vector<Fachsatz> faecher;
};

// The source year named by the year's "herkunft", when it names a year folder
// other than jahr whose "klassen" and "faecher" exist. Throws Dateifehler
// when they exist but cannot be read.
std::optional<Quelljahr> quelljahrladen(const std::string& jahr);

class Matrix {
public:
    // Rows from the availability list of v, columns from its subjects.
    void aufbauen(const Verteilung& v, Befaehigungen b);

    int zeilen() const { return static_cast<int>(lehrer_.size()); }
    int spalten() const { return static_cast<int>(faecher_.size()); }
    const std::vector<Matrixlehrer>& lehrer() const { return lehrer_; }
    const std::vector<Matrixfach>& faecher() const { return faecher_; }
    Stufe stufe(int z, int s) const { return zellen_[index(z, s)]; }
    const Befaehigungen& befaehigungen() const { return b_; }

    // Entries of the file whose teacher is no row, or whose subject is no
    // column: kept, and shown to the user. Sorted, each once.
    std::vector<std::string> unbekanntelehrer() const;
    std::vector<std::string> unbekanntefaecher() const;

    // What a gesture would change; nothing when it changes nothing.
    Wechsel weiterschalten(int z, int s) const;
    Wechsel zeilesetzen(int z, Stufe st) const;
    Wechsel spaltesetzen(int s, Stufe st) const;
    // Tab-separated lines, the top left cell at (z, s). Refused whole when a
    // cell means no state or the block reaches beyond the table.
    Einfuegung einfuegen(int z, int s, std::string_view text) const;
    // Every teacher qualified for every subject they hold in the grid of v
    // and, when given, in the source year; a Wunschfach stays.
    Wechsel ausverteilung(const Verteilung& v, const Quelljahr* quelle) const;

    // The block z0..z1 x s0..s1 (inclusive) as tab-separated lines.
    std::string kopieren(int z0, int s0, int z1, int s1) const;

    // Applies a change (nachher) or takes it back; changes are applied and
    // taken back in the order of a history.
    void anwenden(const Wechsel& w, bool nachher);

    int zeilevon(std::string_view kurz) const;  // -1 when no row
    int spaltevon(std::string_view fach) const;  // -1 when no column

private:
    std::size_t index(int z, int s) const {
        return static_cast<std::size_t>(z) * faecher_.size() + static_cast<std::size_t>(s);
    }
    Zellwechsel wechsel(int z, int s, Stufe nachher) const;

    std::vector<Matrixlehrer> lehrer_;
    std::vector<Matrixfach> faecher_;
    std::vector<Stufe> zellen_;  // [z * spalten + s]
    std::unordered_map<std::string, int> zeilen_, spalten_;
    Befaehigungen b_;
};

}  // namespace nux
