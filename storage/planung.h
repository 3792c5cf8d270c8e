#pragma once
// The planning files of a year, kept in the folder "planung" of the year
// folder so that no data file changes a byte for them: who may teach what
// ("befaehigungen") and where the year's data came from ("herkunft").
// Both are text files of Windows-1252 lines, fields split by a tab, so that
// they can be read and mended in any editor and pasted from a spreadsheet.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace nux {

inline constexpr const char* kPlanungsordner = "planung";
inline constexpr const char* kBefaehigungsdatei = "befaehigungen";
inline constexpr const char* kHerkunftsdatei = "herkunft";

// "<jahr>/planung/<datei>".
std::string planungspfad(const std::string& jahr, const char* datei);
// Makes the year's "planung" folder when it is not there.
void planungsordneranlegen(const std::string& jahr);

// How far a teacher may teach a subject.
enum class Stufe : std::uint8_t { keine = 0, befaehigt = 1, wunsch = 2 };

// The next state of a click: keine -> befaehigt -> wunsch -> keine.
Stufe naechstestufe(Stufe s);

// A state as a hand or a spreadsheet writes it, in any case, Windows-1252 or
// UTF-8: "befähigt", "x", "1", ".", "·" are qualified; "Wunschfach", "*", "2",
// "★" preferred; "", "-", "0", "nein" none. Nothing for anything else.
std::optional<Stufe> stufelesen(std::string_view s);
// The word of the file: "befähigt", "Wunschfach", or empty for none.
std::string stufetext(Stufe s);

// The keys as the class records compare them: a teacher code trimmed, a
// subject by its short name trimmed and cut to the 3 characters every reader uses.
std::string lehrerschluessel(std::string_view kurz);
std::string fachschluessel(std::string_view kurz);

// A line of the file that could not be read: kept as it stands, so that a
// save never loses what a hand or another program wrote.
struct Lesefehler {
    int zeile = 0;     // 1-based line number in the file
    std::string text;  // the line without its line end
    std::string grund; // German, for the user
    bool operator==(const Lesefehler&) const = default;
};

// The qualifications of one year: teacher code x subject short name.
class Befaehigungen {
public:
    using Schluessel = std::pair<std::string, std::string>;  // teacher, subject

    Stufe stufe(std::string_view lehrer, std::string_view fach) const;
    // Stufe::keine removes the entry; a key that the file could not hold as a
    // line of its own (a tab or line end in it, a "#" in front) is refused.
    void setzen(std::string_view lehrer, std::string_view fach, Stufe s);
    const std::map<Schluessel, Stufe>& eintraege() const { return eintraege_; }
    bool leer() const { return eintraege_.empty(); }

    // What the last read could not take; written back as it stands.
    std::vector<Lesefehler> fehler;

    // The file's content: a header comment, then one "teacher<TAB>subject<TAB>stufe"
    // line per entry, sorted, each ended by CR LF; unreadable lines follow.
    std::string text() const;
    // Reads a file's content; never throws. Blank lines and lines starting
    // with "#" are comments; a line of any other form lands in fehler.
    static Befaehigungen aus(std::string_view text);

    bool operator==(const Befaehigungen&) const = default;

private:
    std::map<Schluessel, Stufe> eintraege_;
};

// The file of the year; a missing file gives none. Throws Dateifehler when
// the file exists but cannot be read.
Befaehigungen befaehigungenladen(const std::string& jahr);
// Rewrites the file atomically (making "planung" when needed), the old
// version kept in the year's "sicherung" first.
void befaehigungenspeichern(const std::string& jahr, const Befaehigungen& b);

// A takeover of the teachers carries their qualifications from the year
// quelle into the year ziel: what ziel holds already stays (entries and
// unreadable lines), the rest of quelle is added. Nothing is written when
// that changes nothing.
void befaehigungenuebernehmen(const std::string& quelle, const std::string& ziel);

// Where a year's data came from: the source of its last takeover and, when
// the classes moved up a grade, which class became which.
struct Herkunft {
    std::string quelle;  // the source year folder, "2026 1"
    bool versetzt = false;
    // old class name -> new class name; an empty new name: left the school.
    std::vector<std::pair<std::string, std::string>> klassen;

    // The class in this year that continues class alt of the source year:
    // the mapping after a promotion, the same name otherwise; nothing when
    // the class left the school.
    std::optional<std::string> nachfolger(std::string_view alt) const;
    // The class of the source year that this year's class neu continues.
    std::optional<std::string> vorgaenger(std::string_view neu) const;

    std::string text() const;
    static std::optional<Herkunft> aus(std::string_view text);
    bool operator==(const Herkunft&) const = default;
};

std::optional<Herkunft> herkunftladen(const std::string& jahr);
void herkunftspeichern(const std::string& jahr, const Herkunft& h);

}  // namespace nux
