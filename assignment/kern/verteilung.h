#pragma once
// The assignment model: what the assignment window shows and changes, built
// from the three files of the current year without any widget. The window
// draws it and passes the gestures on; everything that counts hours lives here.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "assignment/kern/druckdaten.h"
#include "storage/satz.h"

namespace nux {

inline constexpr int kVerteilKlassen = 101;  // class records that fit into memory
inline constexpr int kSummenFaecher = 51;    // subject indexes 0..50 count in the sums; above lie another program's leftovers

// Grid geometry in pixels inside the scrolled area (c = class, r = row).
namespace raster {
inline constexpr int kSpalte = 75;  // distance of two class columns
inline constexpr int kZeile = 12;   // distance of two rows
inline constexpr int kBreite = 40;  // width of every label
inline constexpr int kHoehe = 13;   // height of every label
constexpr int zeileY(int r) { return 20 + kZeile * r; }
constexpr int stundenX(int c) { return 35 + kSpalte * c; }
constexpr int lehrerX(int c) { return 65 + kSpalte * c; }
constexpr int kopfX(int c) { return 70 + kSpalte * c; }
constexpr int linieX(int c) { return 100 + kSpalte * c; }
constexpr int rechtsX(int klassen) { return kSpalte * klassen + 52; }
constexpr int fussY(int lastRow) { return kZeile * lastRow + 40; }
constexpr int linienhoehe(int lastRow) { return kZeile * lastRow + 60; }
constexpr int zeilenlinienbreite(int klassen) { return kSpalte * klassen + 82; }
constexpr int breite(int klassen) { return rechtsX(klassen) + kBreite; }
constexpr int hoehe(int lastRow) { return linienhoehe(lastRow); }
}  // namespace raster

// Text of an hours value that is never cut: at least w characters, more when
// the value needs them, so that reading it back gives the value again.
std::string zehntelganz(std::int64_t v, int w);

// One lesson cell of the grid: the hours cell and the teacher cell.
struct Zelle {
    std::int64_t stunden = 0;  // the lesson's hours
    std::string stundentext;   // what the hours cell shows; empty for 0 hours
    std::string lehrer;        // what the teacher cell shows: short name or "--"
    bool gruen = false;        // teacher cell drawn green (entered or highlighted)
    bool blau = false;         // the lesson carries an extra text

    bool sichtbar() const { return !stundentext.empty(); }  // teacher cell shown
    bool frei() const { return lehrer == "--"; }
    bool operator==(const Zelle&) const = default;
};

// What one gesture on a teacher cell changed, before and after: enough to
// take it back and to do it again without counting anything anew.
struct Aenderung {
    struct Zeile {
        int p = -1;                    // position in the availability list
        std::string vorher, nachher;   // the whole line
        std::int64_t freivorher = 0, freinachher = 0;
    };
    int c = -1, r = -1;
    std::string lehrervorher, lehrernachher;
    bool gruenvorher = false, gruennachher = false;
    std::vector<Zeile> zeilen;
    std::int64_t zugeordnetvorher = 0, zugeordnetnachher = 0;
};

// A teacher put on a lesson by more than a click (a proposal taken over).
struct Eintrag {
    int c = -1, r = -1;
    std::string lehrer;  // teacher code
    bool operator==(const Eintrag&) const = default;
};

// A teacher of the availability list with the exact hours behind its columns.
struct Lehrerstand {
    std::string kurz, name;  // short name as the list shows it, trimmed; name from the record
    std::int64_t soll = 0, frei = 0;
    std::int64_t zugeordnet() const { return soll - frei; }
};

// What a press on the availability list asks for.
enum class Listenaktion { nichts, auswahlweg, hervorheben, drucken, druckenalle, gesamtdruck };

class Verteilung {
public:
    // The files of the current year that are missing, in the order in which
    // the window reports them: "klassen", "faecher", "lehrer".
    static std::vector<std::string> fehlendedateien();

    // Reads the three files of the current year and builds everything. Throws
    // Dateifehler (then *this is left empty).
    void laden();
    // The same from records in hand; lehrer may be absent.
    void aufbauen(std::vector<Klassensatz> klassen, const std::vector<Fachsatz>& faecher,
                  const std::optional<std::vector<Lehrersatz>>& lehrer);
    void leeren();

    // Window state, as the window's developers know it.
    std::vector<Klassensatz> Classes;
    int LastClass = -1;
    std::vector<std::string> SubjectOrder;  // 10 characters each
    int LastSubject = -1;
    int LastRow = -1;
    std::vector<std::vector<std::int32_t>> RowKeys;      // [c][r], s * 10 + j
    std::vector<std::vector<std::string>> ExtraTexts;    // [c][r], as stored
    std::int64_t TotalHours = 0;
    std::int64_t AssignedHours = 0;
    std::vector<std::int64_t> ClassHours;                // [c]

    // Rows: the label text (short name, trimmed) and the teacher slot.
    const std::vector<std::string>& zeilen() const { return zeilen_; }
    const std::string& zeilerechts(int r) const { return zeilenrechts_[static_cast<std::size_t>(r)]; }
    int zeilenslot(int r) const { return slots_[static_cast<std::size_t>(r)]; }
    int klassenzahl() const { return LastClass + 1; }
    int zeilenzahl() const { return LastRow + 1; }

    const Zelle& zelle(int c, int r) const { return zellen_[index(c, r)]; }

    // The availability list (delete line, teacher lines, blank line, sum line)
    // and the class hours list, line by line.
    const std::vector<std::string>& verfuegbar() const { return verfuegbar_; }
    std::int64_t verfuegbarestunden(int p) const { return frei_[static_cast<std::size_t>(p)]; }
    const std::vector<std::string>& klassenstunden() const { return klassenstunden_; }
    bool lehrerzeile(int p) const { return p >= 1 && p <= static_cast<int>(verfuegbar_.size()) - 3; }
    // The teacher lines in the list's order.
    std::vector<Lehrerstand> lehrerstaende() const;
    // The teacher line of a teacher code, compared trimmed; -1 when there is none.
    int lehrerposition(std::string_view code) const;

    // Editing. p is the selected position of the availability list, -1 for
    // none. lehrerein returns what it changed, nothing when nothing changed.
    std::optional<Aenderung> lehrerein(int c, int r, int p);
    void eintragen(int c, int r, int p);
    void austragen(int c, int r);
    void hervorheben(int p);
    Listenaktion listenaktion(int p, bool alt, bool strg) const;

    // A change returned by lehrerein, taken back or done again. Only valid on
    // the state it was made on (or taken back to), in the order of a history.
    void zuruecknehmen(const Aenderung& a);
    void wiederholen(const Aenderung& a);

    bool operator==(const Verteilung&) const = default;

    // The class records with their teacher codes rebuilt from the grid; and
    // writing them into "klassen" (nothing when no class is loaded).
    std::vector<Klassensatz> speicherdaten() const;
    void speichern();
    // Whether the teacher cells hold what was loaded or last saved.
    bool gespeichert() const;
    // Hours of class c that have a teacher, counted as AssignedHours counts
    // them: the grid as it stands, the lessons without a row as loaded.
    std::int64_t zugeordnet(int c) const;

    // The subject and teacher records the model was built from.
    const std::vector<Fachsatz>& faecher() const { return faecher_; }
    const std::vector<Lehrersatz>& lehrer() const { return lehrer_; }

    // The grid's texts for the printouts, as the window shows them.
    Druckdaten druckdaten() const;

private:
    std::size_t index(int c, int r) const {
        return static_cast<std::size_t>(c) * static_cast<std::size_t>(LastRow + 1) + static_cast<std::size_t>(r);
    }
    void freisetzen(int p, std::int64_t wert);
    void merken();
    void setzen(const Aenderung& a, bool nachher);

    std::vector<std::string> zeilen_;
    std::vector<std::string> zeilenrechts_;
    std::vector<int> slots_;
    std::vector<Zelle> zellen_;            // [c * zeilenzahl + r]
    std::vector<std::string> verfuegbar_;
    std::vector<std::int64_t> frei_;       // available hours per list line, exact
    std::vector<std::string> klassenstunden_;
    std::vector<Fachsatz> faecher_;
    std::vector<Lehrersatz> lehrer_;
    std::vector<std::string> gespeichert_;  // teacher cell texts as in the file
    std::vector<std::int64_t> zugeordnet_;  // [c], hours with a teacher as loaded
    Aenderung* protokoll_ = nullptr;       // the gesture in progress records its lines here
};

}  // namespace nux
