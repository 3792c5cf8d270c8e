#pragma once
#include <QString>

namespace nux {

// "nux --vorschlag [--jahr JAHR] [--export DATEI]": the proposal for the
// year's open lessons with the default scope and weights, its figures on the
// standard output and, with a file, as a workbook. Changes no data file.
// Exit status 0, or 2 with the German message on the error output.
int vorschlagbefehl(const QString& datei, const QString& jahr);

}  // namespace nux
