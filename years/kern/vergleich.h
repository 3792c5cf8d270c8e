#pragma once
// Two plans side by side: two variants of one year, or this year against
// last year. Classes are matched by name, or by the mapping of the takeover
// with promotion that made the one year from the other; subjects by their
// short name, since the subject indexes of two years may differ. Texts are
// Windows-1252 bytes.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "assignment/kern/drucklayout.h"
#include "assignment/kern/mappe.h"
#include "storage/planung.h"
#include "storage/satz.h"

namespace nux {

// What the comparison needs of a class record: the name, and hours and
// teacher of the cells the assignment counts (subject indexes 0 to 50).
// Read straight from the bytes, without the extra texts, two large years
// load in a fraction of the time whole records take.
inline constexpr int kVergleichsfaecher = 51;
struct Klassenauszug {
    std::string name;  // trimmed
    std::array<std::array<std::int64_t, kVergleichsfaecher>, kSlots> h{};
    std::array<std::array<std::string, kVergleichsfaecher>, kSlots> l;  // trimmed
    Klassenauszug() = default;
    Klassenauszug(const Klassensatz& k);  // NOLINT: a record in hand is a class of the plan
};

// The files of one year as they are; a missing file gives none.
struct Jahresplan {
    std::string jahr;
    std::vector<Fachsatz> faecher;
    std::vector<Lehrersatz> lehrer;
    std::vector<Klassenauszug> klassen;
    std::optional<Herkunft> herkunft;
};
Jahresplan planladen(const std::string& jahr);

struct Lehrervergleich {
    std::string kurz, name;
    std::int64_t soll = 0;     // required hours, as B has them (A's for a teacher only in A)
    std::int64_t a = 0, b = 0;  // assigned hours
    bool nurA = false, nurB = false;
    std::int64_t differenz() const { return b - a; }
    bool operator==(const Lehrervergleich&) const = default;
};

// One lesson that differs: class, subject (short name) and share, teacher
// and hours in A and in B. A lesson missing on one side has 0 hours there.
struct Stundenvergleich {
    std::string klasseA, klasseB, fach;
    int anteil = 1;
    std::string lehrerA, lehrerB;
    std::int64_t a = 0, b = 0;
    bool operator==(const Stundenvergleich&) const = default;
};

struct Planvergleich {
    std::string jahrA, jahrB;
    std::vector<Lehrervergleich> lehrer;    // by the size of the change, then by short name
    std::vector<Stundenvergleich> stunden;  // in class, subject and share order
    std::vector<std::string> nurA, nurB;    // classes without a partner
    bool versetzt = false;                  // classes matched by a promotion's mapping
    int lehrergeaendert = 0;
    std::int64_t offenA = 0, offenB = 0;    // hours without a teacher
    int geaendert() const { return static_cast<int>(stunden.size()); }
    // "12 Unterrichte geändert, ..." for the window and the sheets.
    std::string zusammenfassung() const;
};

Planvergleich vergleichen(const Jahresplan& a, const Jahresplan& b);

// Empty when the two can be compared; else the German reason.
std::string vergleichpruefen(const std::string& a, const std::string& b);
// Checks, loads and compares; Dateifehler (UTF-8) when it cannot.
Planvergleich jahrevergleichen(const std::string& a, const std::string& b);

// Sheets "LehrerInnen" and "Änderungen".
Mappe vergleichsmappe(const Planvergleich& v, const std::string& zeitpunkt);
// "2026-12-06_14-05-33_Vergleich_2026-1_2027-1.xlsx".
std::string vergleichsname(const std::string& stempel, const Planvergleich& v);

// The comparison as a printed list, portrait pages.
std::vector<Druckseite> vergleichsdruck(const Planvergleich& v, const std::string& datum);

}  // namespace nux
