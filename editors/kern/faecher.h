#pragma once
// The subjects editor without its window: the subject line (the editor's
// working model), its parsing, the save and the reordering of subjects.
//
// A subject line, 1-based columns:
//   1-3 order number, right-aligned   4 "X" = not taught this year
//   5-7 short name                    8 space
//   9-38 name                         39-200 spaces
//   201.. record index (the subject's position in "faecher", kept for ever)
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "storage/satz.h"

namespace nux {

inline constexpr std::size_t kZeilenbreite = 200;

namespace listenzeile {

// Record index carried from column 201 of a subject or teacher line.
int index(std::string_view zeile);

// Sorted insert in the one order of every sorted list; equal lines keep the
// order in which they came. Returns the new line's position.
std::size_t einsortieren(std::vector<std::string>& zeilen, std::string zeile);

}  // namespace listenzeile

namespace faecher {

// The classes editor and the assignment window keep subject indexes 0 to 50.
inline constexpr int kHoechsterIndex = 50;

// Column 4 from the "taught this year" flag: index 0 (false) gives "X".
inline constexpr char kFlagzeichen[2] = {'X', ' '};

// nummer becomes columns 1-3 as it stands (cut or padded to 3).
std::string zeile(std::string_view nummer, bool unterrichtet, std::string_view kurz, std::string_view name,
                  int index);
std::string zeile(const Fachsatz& f, int index);
std::string nummer(std::int32_t ordnung);  // columns 1-3

std::int32_t ordnung(std::string_view zeile);
bool unterrichtet(std::string_view zeile);
std::string kurz(std::string_view zeile);
std::string name(std::string_view zeile);
bool grau(std::string_view zeile);

// The record a line stands for; the reserved texts as a new record has them.
Fachsatz satz(std::string_view zeile);

// Lines of every record of the file in display order; none without a file.
std::vector<std::string> holen(const std::string& pfad);

enum class Abgelehnt { nein, leer, doppelt, voll };

struct Eingabe {
    std::string name;   // as typed
    std::string kurz;   // as typed
    bool unterrichtet = true;
};

// Adds a subject (gewaehlt empty) or changes the subject of line gewaehlt,
// writes the whole file and only then changes the lines. hoechster is the
// highest record index (-1 without subjects). On success zeile holds the
// position of the saved line.
Abgelehnt speichern(const std::string& pfad, std::vector<std::string>& zeilen, int& hoechster,
                    std::optional<std::size_t> gewaehlt, const Eingabe& e, std::size_t& zeile);

// Rewrites the file from the lines; every index 0 .. n-1 must occur once.
void schreiben(const std::string& pfad, const std::vector<std::string>& zeilen);

// The lines after moving line quelle in front of line ziel, renumbered 0 .. n-1.
std::vector<std::string> verschoben(std::vector<std::string> zeilen, std::size_t quelle, std::size_t ziel);

// Moves and writes the new order numbers into the records, whose other fields
// stay as they are. Nothing happens when quelle equals ziel.
void verschieben(const std::string& pfad, const std::vector<std::string>& zeilen, std::size_t quelle,
                 std::size_t ziel);

}  // namespace faecher
}  // namespace nux
