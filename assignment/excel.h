#pragma once
// The Excel export: the workbook of the assignment as a file, from the
// window (into the folder "export") or from the command line (to a path).
#include <QString>
#include <exception>
#include <string>

#include "assignment/kern/verteilung.h"
#include "storage/planung.h"

namespace nux {

inline constexpr const char* kExportordner = "export";

// Writes the model as it stands into the folder "export" of the program
// folder under a new name that sorts by time and names the year; returns the
// path relative to the program folder. Throws Dateifehler.
std::string excelexport(const Verteilung& v, const Befaehigungen& b);

// For the command line: makes the year (empty: the year of "jahrakt") the
// current one and loads it into v as the window does; returns its folder.
// Throws Dateifehler with the German message for the user.
std::string befehlsjahrladen(const std::string& jahr, Verteilung& v);

// For the command line: prints the German message of e as "nux: ..." on
// the error output and returns status, the exit status of the command.
int befehlsfehler(const std::exception& e, int status);

// Reads the files of the year (empty: the year of "jahrakt") as the window
// reads them and writes the workbook to pfad, replacing a file there.
// Throws Dateifehler with the German message for the user.
void exceldatei(const std::string& jahr, const QString& pfad);

// "nux --export DATEI [--jahr JAHR]": exit status 0, or 1 with the German
// message on the error output. Needs no window and no display.
int exportbefehl(const QString& datei, const QString& jahr);

// objectName of the notice that names the written workbook.
inline constexpr const char* kExporthinweis = "Exporthinweis";

}  // namespace nux
