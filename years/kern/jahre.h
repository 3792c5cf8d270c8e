#pragma once
// What the year window computes, without a toolkit: the list of year folders,
// the takeover heading, the takeover itself and the creation of a year folder.
// Texts are Windows-1252 bytes.
#include <string>
#include <string_view>
#include <vector>

#include "storage/satz.h"

namespace nux {

// A message of the core (Windows-1252) as a file error carries it (UTF-8).
std::string meldungsutf8(std::string_view text);

// The first entry of the year list; never a year.
inline constexpr const char* kNeuesJahr = "--> neues Jahr";

// A year folder's name: exactly 6 characters with a space as the 5th.
bool jahrform(std::string_view name);

// The folders a directory listing of the program folder shows, in its order:
// the root, every folder on the path down to the program folder (its own
// name last), then the program folder's sub-folders in sorted order.
std::vector<std::string> ordnereintraege();

// The year folders among those entries: every entry of year form after an
// entry "nux" (case-sensitive). Sorted, without the "--> neues Jahr" entry.
std::vector<std::string> jahreaus(const std::vector<std::string>& eintraege);

// The whole year list: "--> neues Jahr", then the year folders sorted.
std::vector<std::string> jahrliste();

// Takeover heading once a target has been marked, and once a source has been
// chosen: target, two spaces, "übernimmt Daten von", three spaces, source.
std::string zielkopf(std::string_view ziel);
std::string quellkopf(std::string_view kopf, std::string_view quelle);

// What the heading names: its first and its last 6 characters.
struct Uebernahmepaar {
    std::string ziel;
    std::string quelle;
};
Uebernahmepaar uebernahmepaar(std::string_view kopf);

// The four class choices that strip the copied class file.
enum class Klassenwahl { keine, ohneStundenOhneZusatz, mitStundenOhneZusatz, ohneStundenMitZusatz, mitStundenMitZusatz };

struct Uebernahmewahl {
    bool lehrer = false;             // "LehrerInnen"
    bool faecher = false;            // "Fächernamen"
    Klassenwahl klassen = Klassenwahl::keine;
    bool unterrichtseinsatz = false;  // "Klassen mit Unterrichtseinsatz": prevails over the class choice
};

// Clears what the class choice does not take over; teacher codes always go.
void klassenanpassen(Klassensatz& k, Klassenwahl wahl);

enum class Uebernahmeergebnis {
    erledigt,     // whatever existed in the source was copied
    keineQuelle,  // target or source is not a year name: nothing done
    selbst,       // a year into itself: refused, nothing done
};

// The teachers file of the source into the target, and with it the
// qualifications of the planning folder when the source has them.
void lehreruebernehmen(const std::string& quelle, const std::string& ziel);

// Copies the chosen files of the source year into the target year. A class
// file that is to be stripped is read and checked before anything is copied
// and reaches the target stripped, in one atomic rewrite: a failure never
// leaves a half-stripped class file behind. Classes taken over note their
// source year in the target's planning folder.
Uebernahmeergebnis uebernehmen(const Uebernahmepaar& paar, const Uebernahmewahl& wahl);

enum class Anlegeergebnis {
    angelegt,
    vorhanden,  // a folder of that name exists already: nothing done
    ungueltig,  // not a four-digit year and a one-character number: nothing done
};

// Creates the year folder "<jahr> <nummer>" in the program folder. The name
// is returned through name when the folder was created.
Anlegeergebnis jahranlegen(std::string_view jahr, std::string_view nummer, std::string& name);

}  // namespace nux
