#pragma once
// The Excel export of the assignment: what each sheet of the workbook holds,
// built from the model as the window has it (unsaved assignments included).
#include <string>

#include "assignment/kern/mappe.h"
#include "assignment/kern/verteilung.h"
#include "storage/planung.h"

namespace nux {

struct Exportstand {
    std::string jahr;         // the year folder, "2026 1"
    std::string zeitpunkt;    // when, as the user reads it: "06.12.2026 14:05:33"
    bool gespeichert = true;  // the assignments are those of the file "klassen"
    // Who may teach what; without, the sheets say nothing of qualifications.
    const Befaehigungen* befaehigungen = nullptr;
};

// Sheets "Verteilung", "Einsatz", "LehrerInnen" (with a chart of the load),
// "Klassen", "Prüfung" (with the bottlenecks) and "Fächer".
// Every sheet starts with the title and the state, then a blank row; its
// table's header is row kKopfzeile.
Mappe exportmappe(const Verteilung& v, const Exportstand& stand);
inline constexpr int kKopfzeile = 3;

// "2026-12-06_14-05-33_Verteilung_2026-1.xlsx" from the stamp
// "2026-12-06_14-05-33" and the year "2026 1": names sort by time.
std::string exportname(const std::string& stempel, const std::string& jahr);

}  // namespace nux
