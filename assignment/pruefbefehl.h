#pragma once
// "nux --pruefung [--jahr JAHR]": the bottlenecks of a year in the terminal,
// without a window.
#include <QString>

#include "assignment/kern/engpass.h"

namespace nux {

// The report as the terminal shows it, the same words as the assignment window.
QString pruefbericht(const std::string& jahr, const Pruefung& p, bool befaehigungen);

// Exit status 0 when every open hour can be covered by a qualified teacher,
// 1 when not, 2 on an error (German message on stderr).
int pruefbefehl(const QString& jahr);

}  // namespace nux
