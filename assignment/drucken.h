#pragma once
// Printing the assignment: the teacher sheets and the whole-school table.
// Every sheet and every page is a document of its own, sent to the default
// printer without a dialog; a system without a printer gets each document
// as a PDF file in the folder "druck" of the program folder, and the window
// says where, without blocking. A printer error throws Dateifehler; what was
// printed before it stays printed.
#include <QString>
#include <QWidget>

#include <vector>

#include "assignment/kern/druckdaten.h"
#include "assignment/kern/drucklayout.h"

namespace nux {

// The sheet of the teacher of availability line p (p >= 0); also reads
// "lehrer" of the current year for the name.
void drucken(QWidget* fenster, const Druckdaten& d, int p);
// drucken for every teacher line, positions 1 to n - 3, in list order.
void druckenalle(QWidget* fenster, const Druckdaten& d);
// The whole school, one landscape document per page.
void gesamtdruck(QWidget* fenster, const Druckdaten& d);

// Pages of drawing operations as they stand (a list of another window), one
// document each, named name_01, name_02 ...
void seitendrucken(QWidget* fenster, const std::vector<Druckseite>& seiten, const QString& name);

// Where the documents go. Automatic: the default printer, or PDF files when
// the system has none. Tests set pdf so that nothing reaches a real printer.
enum class Druckziel { automatisch, pdf };
void druckzielsetzen(Druckziel ziel);
bool druckervorhanden();

// The folder of the PDF files, relative to the program folder.
inline constexpr const char* kDruckordner = "druck";
// The PDF page: A4, these margins in millimetres (the unprintable edge of an
// ordinary printer), at this resolution, so that the pen of 3 printer pixels
// is as thin as on paper.
inline constexpr double kPdfRand = 5.0;
inline constexpr int kPdfAufloesung = 600;

// For tests: the document with this number (1 = the next one) fails to start
// as a refusing printer would; 0 switches it off.
void druckfehlerSetzen(int dokument);

// objectName of the notice that the printouts show in their window.
inline constexpr const char* kDruckhinweis = "Druckhinweis";

}  // namespace nux
