#pragma once
// A spreadsheet workbook as plain data: sheets of cells with their kind,
// value and look. The export builds it without knowing the file format; one
// writer turns it into an .xlsx file. Texts are Windows-1252 bytes.
#include <cstdint>
#include <string>
#include <vector>

namespace nux {

struct Mappenzelle {
    enum class Art { leer, text, stunden, zahl, formel };
    Art art = Art::leer;
    std::string text;         // the text, or the formula ("SUM(C5:C9)", without "=")
    std::int64_t wert = 0;    // hours in tenths; a plain number; a formula's result (in tenths)
    bool fett = false;
    std::string notiz;        // a comment on the cell, empty for none

    static Mappenzelle t(std::string text, bool fett = false) { return {Art::text, std::move(text), 0, fett, {}}; }
    static Mappenzelle h(std::int64_t zehntel, bool fett = false) { return {Art::stunden, {}, zehntel, fett, {}}; }
    static Mappenzelle n(std::int64_t zahl) { return {Art::zahl, {}, zahl, false, {}}; }
    static Mappenzelle f(std::string formel, std::int64_t zehntel) { return {Art::formel, std::move(formel), zehntel, true, {}}; }
    bool operator==(const Mappenzelle&) const = default;
};

// Cells that share one row and are shown as one (a heading over two columns).
struct Verbund {
    int zeile, von, bis;
    bool operator==(const Verbund&) const = default;
};

// A bar chart over columns of the sheet's table: the categories in one
// column, each series in another with its name in the header row.
struct Diagramm {
    std::string titel;
    int kopfzeile = 0;         // row of the series' names
    int von = 0, bis = 0;      // rows of the data, inclusive
    int kategorien = 0;        // column of the category names
    std::vector<int> reihen;   // columns of the series
    int zeile = 0, spalte = 0; // top left cell it is placed at
    bool operator==(const Diagramm&) const = default;
};

struct Mappenblatt {
    std::string name;
    std::vector<std::vector<Mappenzelle>> zeilen;  // [row][column]; rows may be shorter
    std::vector<int> breiten;                      // column widths in characters
    int festzeilen = 0;                            // rows that stay on screen when scrolling
    int festspalten = 0;                           // columns that stay on screen when scrolling
    int filterzeile = -1;                          // header row of an autofilter over the table below it
    std::vector<Verbund> verbunde;
    // Printed in landscape; otherwise as wide as one page. The frozen rows
    // and columns repeat on every printed page.
    bool querformat = false;
    std::vector<Diagramm> diagramme;

    const Mappenzelle& zelle(std::size_t r, std::size_t c) const;
    int spalten() const;
};

struct Mappe {
    std::string titel;
    std::vector<Mappenblatt> blaetter;
    const Mappenblatt* blatt(const std::string& name) const;
};

// A sheet whose table stands below a title, a line on its state and a blank
// row, so that the table is a block of its own for sorting and filters; its
// bold header is row 3 and stays on screen with the rows above it.
Mappenblatt tabellenblatt(const std::string& name, const std::string& titel, const std::string& stand,
                          std::vector<Mappenzelle> kopf, std::vector<int> breiten);

// The Excel name of a cell: 0, 0 is "A1", 4, 27 is "AB5".
std::string zellname(int zeile, int spalte);

}  // namespace nux
