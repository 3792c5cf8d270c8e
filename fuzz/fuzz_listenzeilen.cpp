// The editors read their fields back from list lines by position and
// normalise what is typed into the hours boxes. Any text, however short or
// long, gives fields or the storage layer's message, never a crash, and the
// normalised hours always read back as tenths.
#include <string>
#include <string_view>

#include "editors/kern/faecher.h"
#include "editors/kern/klassen.h"
#include "editors/kern/lehrer.h"
#include "fuzzhilfe.h"
#include "storage/text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t n) {
    const std::string_view z(reinterpret_cast<const char*>(daten), n);
    try {
        nux::listenzeile::index(z);
    } catch (const nux::Dateifehler&) {
    }
    try {
        const nux::Fachsatz f = nux::faecher::satz(z);
        PRUEFEN(f.kurz.size() <= 3 && f.name.size() <= 30);
    } catch (const nux::Dateifehler&) {
    }
    nux::faecher::grau(z);
    PRUEFEN(nux::lehrer::kurz(z).size() <= z.size());
    nux::lehrer::name(z);
    try {
        nux::lehrer::grau(z);
    } catch (const nux::Dateifehler&) {
    }
    const std::string vorschlag = nux::lehrer::kurzvorschlag(z);
    PRUEFEN(vorschlag.size() <= 4);

    const std::string lehrerstunden = nux::lehrer::stundennormal(z);
    PRUEFEN(lehrerstunden.size() == 4);
    const std::string klassenstunden = nux::stundennormalisieren(z);
    PRUEFEN(nux::zehntellesen(klassenstunden) >= 0);

    nux::zeilenname(z);
    try {
        nux::zeilenindex(z);
    } catch (const nux::Dateifehler&) {
    }
    const nux::Zeilenfelder felder = nux::zeilenfelder(z);
    nux::lueckenschliessen(nux::stundenaufbereiten(felder));
    return 0;
}
