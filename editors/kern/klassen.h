#pragma once
// The classes editor without its window: class lines, the rows of the class
// subject table, the hours boxes, the copy, and the class list with the file
// "klassen" behind it. Texts are Windows-1252 byte strings.
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "storage/dateifehler.h"
#include "storage/satz.h"

namespace nux {

inline constexpr int kKlassenMax = 101;      // Classes: indexes 0..100
inline constexpr int kFacheintraege = 51;    // SubjectEntries: subject indexes 0..50

// Class line: the name in columns 1-3, the record index from column 201.
std::string klassenzeile(std::string_view name, int index);
std::string zeilenname(std::string_view zeile);  // columns 1-3, trimmed
int zeilenindex(std::string_view zeile);         // columns 201-210

// SubjectEntries: 13 characters per subject index; empty for a withdrawn
// subject.
std::string facheintrag(const Fachsatz& fach, int index);
bool eintragunterrichtet(std::string_view eintrag);

// One row of the class table for subject index s of a class.
std::string tabellenzeile(std::string_view eintrag, const Klassensatz& klasse, int s);

// What the edit panel shows and edits: three hours texts and three extra texts.
struct Zeilenfelder {
    std::string kurz;
    std::array<std::string, kSlots> stunden;
    std::array<std::string, kSlots> zusatz;
    bool operator==(const Zeilenfelder&) const = default;
};
Zeilenfelder zeilenfelder(std::string_view zeile);

// Hours boxes. A separator ("," or ".") is taken only while the text outside
// the selection holds none: a second one would make the tenths wrong.
bool stundenzeichen(std::string_view rest, char c);
// The text a box shows after leaving it, always readable as tenths.
std::string stundennormalisieren(std::string_view text);

// "ok": the boxes as shown after storing (gaps between slots closed), the row
// rebuilt from them, and the record cells they go into.
Zeilenfelder stundenaufbereiten(Zeilenfelder f);
Zeilenfelder lueckenschliessen(Zeilenfelder f);
std::string zeileerneuern(std::string_view alt, const Zeilenfelder& f);
void zeileuebernehmen(Klassensatz& klasse, int s, const Zeilenfelder& f);

Klassensatz neueklasse(std::string_view name);
// The source's hours over the target, which keeps its name and loses every
// teacher code and extra text.
void klassekopieren(Klassensatz& ziel, const Klassensatz& quelle);

// The classes of the current year as the editor holds them: the records,
// the sorted class list pointing into them, and the subject entries.
class Klassenmodell {
public:
    std::vector<Klassensatz> Classes;
    int LastClass = -1;
    int CurrentClass = -1;
    bool CopyPending = false;
    int CopyTarget = -1;
    std::array<std::string, kFacheintraege> SubjectEntries;
    int hoechsterfach = -1;  // highest subject record index read

    // Sorted class list, as the window's list shows it.
    const std::vector<std::string>& zeilen() const { return zeilen_; }

    // Reads "klassen" and "faecher" of the current year. When "klassen"
    // cannot be read the list stays empty and every change is refused with
    // the same message, so that nothing overwrites the unread file.
    void starten();
    // No year: nothing listed, nothing written.
    void sperren(const std::string& grund);
    bool gesperrt() const { return !sperrgrund_.empty(); }

    // Position of the last line whose name equals name exactly; -1 if none.
    int suchen(std::string_view name) const;
    // Creates the class and writes the file; returns the line's position.
    int anlegen(std::string_view name);
    // Removes the line, writes the file and reads it again.
    void entfernen(int position);
    // Copies the class of the line at position into CopyTarget, writes the
    // file and reads it again.
    void kopieren(int position);
    // The class table of a class, in its sorted order.
    std::vector<std::string> klassenfuellen(int klasse) const;

    // The records in the order of the class list.
    std::vector<Klassensatz> zuspeichern() const;
    void speichern() const;

private:
    int einordnen(std::string zeile);
    void pruefen() const;

    std::vector<std::string> zeilen_;
    std::string sperrgrund_ = kBereich;  // nothing read yet
};

}  // namespace nux
