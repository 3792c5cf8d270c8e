#pragma once
// What the printouts read from the loaded assignment window: the texts of
// the grid as the window shows them. The window fills it; the page layouts
// read nothing else (apart from the teachers file for the sheet's name).
#include <string>
#include <vector>

namespace nux {

struct Druckzelle {
    std::string stunden;   // text of the hours cell (empty when the lesson has no hours)
    std::string lehrer;    // text of the teacher cell: short name or "--"
    bool sichtbar = false; // the teacher cell is visible (the lesson has hours)
    std::string zusatz;    // the extra text, as stored
};

struct Druckdaten {
    std::string jahr;                          // current year folder, e.g. "2026 1"
    std::vector<std::string> klassen;          // class names, c = 0..LastClass
    std::vector<std::string> zeilen;           // row label texts, r = 0..LastRow
    std::vector<std::vector<Druckzelle>> zellen;  // [c][r]
    std::vector<std::string> verfuegbar;       // the availability list's lines, in list order
};

}  // namespace nux
