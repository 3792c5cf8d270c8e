#pragma once
// The one exception of the program: a failing file operation or an exceeded
// limit of the data model, carrying the German message the user sees.
#include <stdexcept>
#include <string>

namespace nux {

class Dateifehler : public std::runtime_error {
public:
    explicit Dateifehler(const std::string& meldung) : std::runtime_error(meldung) {}
};

// The messages the user may see.
inline constexpr const char* kNichtGefunden = "Datei nicht gefunden";
inline constexpr const char* kZugriffVerweigert = "Dateizugriff verweigert";
inline constexpr const char* kDateiende = "Versuch hinter dem Dateiende zu lesen";
inline constexpr const char* kDatentraegerVoll = "Datenträger voll";
inline constexpr const char* kBereich = "Fehler bei Bereichsprüfung";

// Message for a system error number (errno).
std::string fehlertext(int fehlernummer);
[[noreturn]] void fehlerwerfen(int fehlernummer);

}  // namespace nux
