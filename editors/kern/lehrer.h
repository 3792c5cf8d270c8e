#pragma once
// The teachers editor without its window: the teacher line, the short-name
// rules, the hours field and the save of one record.
//
// A teacher line, 1-based columns:
//   1-4 short name   5 space   6-55 name   56-59 required hours ("22,5")
//   60-200 spaces    201.. record index (the teacher's position in "lehrer")
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "storage/satz.h"

namespace nux::lehrer {

std::string zeile(const Lehrersatz& l, int index);
std::string kurz(std::string_view zeile);  // trimmed
std::string name(std::string_view zeile);  // trimmed
// Teachers with less than one required hour are drawn grey.
bool grau(std::string_view zeile);

bool zurueckgezogen(const Lehrersatz& l);

// Lines of the teachers that are not withdrawn, in display order.
std::vector<std::string> holen(const std::string& pfad);

// A short name is taken when some line begins with it, exactly and
// case-sensitively; the line of the teacher being edited counts too.
bool kurzvergeben(const std::vector<std::string>& zeilen, std::string_view kurzfeld);
bool speichernerlaubt(const std::vector<std::string>& zeilen, std::string_view namefeld,
                      std::string_view kurzfeld);

// The short name proposed from a name: Maria Huber gives MarH.
std::string kurzvorschlag(std::string_view namefeld);

// Whether the hours field takes a typed character.
bool stundenzeichen(std::string_view text, char c);
// The hours text after leaving the field: exactly 4 characters, one decimal.
std::string stundennormal(std::string_view text);

enum class Abgelehnt { nein, leer };

struct Eingabe {
    std::string name;     // as typed
    std::string kurz;     // as typed
    std::string stunden;  // as typed; normalised before it is read
};

// Appends a new teacher (gewaehlt empty) or rewrites the teacher of line
// gewaehlt in place, then changes the lines. The fields this editor does not
// show keep what the file holds. On success zeile holds the position of the
// saved line.
Abgelehnt speichern(const std::string& pfad, std::vector<std::string>& zeilen,
                    std::optional<std::size_t> gewaehlt, const Eingabe& e, std::size_t& zeile);

}  // namespace nux::lehrer
