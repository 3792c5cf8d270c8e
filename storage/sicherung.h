#pragma once
// Backups of a year's data files. Before "klassen", "faecher" or "lehrer"
// changes in any way, the old version is kept in the folder "sicherung" of
// its year folder, the newest 30 per file. A backup that fails never stops
// the save; it is reported, once per folder, through a hook the shell sets.
#include <cstdint>
#include <ctime>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace nux {

inline constexpr const char* kSicherungsordner = "sicherung";
inline constexpr std::size_t kSicherungenJeDatei = 30;

// A file that is backed up before it changes: a data file of a year folder.
bool sicherungsdatei(const std::string& pfad);

// "klassen_2026-12-06_14-05-33" in local time; a further backup in the same
// second gets "_02", "_03" ... so that the names still sort by time.
std::string sicherungsname(const std::string& datei, std::time_t zeit, int nummer);

struct Sicherung {
    std::string datei;    // "klassen", "faecher" or "lehrer"
    std::string stempel;  // "2026-12-06_14-05-33"
    int nummer = 1;       // 1 for the first backup of that second
    std::string pfad;     // relative to the program folder
    std::string datum() const;  // "06.12.2026"
    std::string zeit() const;   // "14:05:33"
    bool aelterals(const Sicherung& b) const;
};

// What a name in "sicherung" means; nothing for a name that is no backup.
std::optional<Sicherung> sicherungsnamelesen(const std::string& name);

// Keeps the current version of pfad, when it is a data file that exists:
// a hard link when the file is about to be replaced by a rename or removed,
// a copy when it will be written in place (kopieren) or links are refused.
// Removes all but the newest 30 backups of that file. Never throws; gives
// the path of the backup made, or nothing.
std::string sichern(const std::string& pfad, bool kopieren);

// Receives the German message of a failed backup. It is called for the first
// failure in a folder, and again only after a backup there succeeded.
std::function<void(const std::string&)>& sicherungsfehler();

// The backups of a year folder, newest first.
std::vector<Sicherung> sicherungen(const std::string& jahr);

// One line on what a version of a data file holds, for instance
// "klassen: 20 Klassen, 610,0 Stunden, davon 305,0 zugeordnet".
std::string zusammenfassung(const std::string& datei, std::span<const std::uint8_t> bytes);

// Puts the backup back as the year's file through the atomic rewrite, after
// backing up the current file, so that a restore can be undone in turn.
// A backup that is no whole record file is refused with the end-of-file error.
void zurueckholen(const std::string& jahr, const Sicherung& s);

}  // namespace nux
