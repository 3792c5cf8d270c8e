#pragma once
// What the assignment grid marks beyond its described colours: lessons given
// to a teacher who is not qualified for the subject, and, while a teacher is
// selected, the open lessons that teacher could take.
#include <cstdint>
#include <string_view>
#include <vector>

#include "assignment/kern/verteilung.h"
#include "storage/planung.h"

namespace nux {

enum class Marke : std::uint8_t {
    keine,
    ohnebefaehigung,  // the teacher of the lesson is not qualified for its subject
    passt,            // open, and the selected teacher is qualified
    wunsch,           // open, and it is the selected teacher's preferred subject
};

// One mark per cell, [c * zeilenzahl + r]. Without any qualification entered
// nobody counts as unqualified: the table is simply not filled in yet.
// gewaehlt is the selected teacher's code; empty for none.
std::vector<Marke> marken(const Verteilung& v, const Befaehigungen& b, std::string_view gewaehlt);
// The same for the one cell a gesture changed.
Marke marke(const Verteilung& v, const Befaehigungen& b, std::string_view gewaehlt, int c, int r);

}  // namespace nux
