#pragma once
// Where the subjects run short, exactly: the open hours of the grid against
// the free hours of the teachers qualified for them, as a maximum flow
// (open hours of each subject -> its qualified teachers -> each teacher's
// free hours). Per-subject sums count a teacher's free hours once for every
// subject; the flow counts them once.
#include <cstdint>
#include <string>
#include <vector>

#include "assignment/kern/verteilung.h"
#include "storage/planung.h"

namespace nux {

// One subject of the grid.
struct Fachbedarf {
    int fach = -1;                    // subject index
    std::string kurz, name;           // as in "faecher", Windows-1252
    std::int64_t verlangt = 0;        // hours of its lessons in the grid
    std::int64_t zugeordnet = 0;      // of these, with a teacher
    std::int64_t offen = 0;           // of these, "--"
    std::vector<std::string> lehrer;  // qualified teachers, in the order of the availability list
    std::int64_t frei = 0;            // their free hours together (each counted for this subject)
};

// The smallest group of subjects that lacks hours together, and the only
// teachers they can draw on (all of whom the group uses up).
struct Engpass {
    std::vector<int> faecher;         // subject indexes, in the order of the grid's rows
    std::vector<std::string> namen;   // their names
    std::int64_t fehlt = 0;           // hours that no assignment can cover
    std::vector<std::string> lehrer;  // teacher codes it competes for
    // "Mathematik und Physik: 7,5 Stunden fehlen; nur MarH, SchK" or
    // "Physik: 3,0 Stunden fehlen, keine befähigte Lehrkraft frei". Windows-1252
    // like every text of the core (nux::qs shows it).
    std::string text() const;
};

struct Pruefung {
    std::int64_t offen = 0;    // open hours of the grid
    std::int64_t deckbar = 0;  // the most of them that can be covered at all
    std::vector<Fachbedarf> faecher;   // in the order of the grid's rows
    std::vector<Engpass> engpaesse;    // largest shortage first
    bool ausreichend() const { return deckbar == offen; }
};

// The analysis of the model as it stands (every gesture counts).
Pruefung pruefen(const Verteilung& v, const Befaehigungen& b);

}  // namespace nux
