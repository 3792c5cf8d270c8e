#pragma once
// One fuzz run over a record file: the input is the file. Whatever it holds,
// the loaders either return records or answer with their message; they never
// change the file, satzlesen agrees with laden, and what was loaded is written
// and read back unchanged.
#include "fuzzhilfe.h"
#include "storage/datei.h"

namespace fuzzhilfe {

template <class Satz>
void satzdatei(const std::uint8_t* daten, std::size_t n, const char* pfad, std::size_t hoechstens) {
    programmordner();
    dateischreiben(pfad, daten, n);
    const std::vector<std::uint8_t> eingabe(daten, daten + n);
    const std::size_t anzahl = n / Satz::groesse;
    const bool ganzzahlig = n % Satz::groesse == 0;

    std::vector<Satz> saetze;
    bool geladen = false;
    try {
        saetze = nux::laden<Satz>(pfad, hoechstens);
        geladen = true;
    } catch (const nux::Dateifehler& e) {
        PRUEFEN(lesemeldung(e));
        const bool bereich = std::strcmp(e.what(), nux::kBereich) == 0;
        // The size alone decides between the end-of-file error and the limit.
        if (n == 0 || !ganzzahlig) PRUEFEN(!bereich);
        else PRUEFEN(bereich);
    }
    PRUEFEN(dateiinhalt(pfad) == eingabe);
    if (geladen) {
        PRUEFEN(ganzzahlig && anzahl == saetze.size() && anzahl > 0 && anzahl <= hoechstens);
    }

    for (std::size_t i : {std::size_t{0}, anzahl / 2, anzahl}) {
        try {
            const Satz s = nux::satzlesen<Satz>(pfad, i);
            PRUEFEN(ganzzahlig && i < anzahl);
            if (geladen) PRUEFEN(s == saetze[i]);
        } catch (const nux::Dateifehler& e) {
            PRUEFEN(lesemeldung(e));
            PRUEFEN(!geladen || i >= anzahl);
        }
    }
    PRUEFEN(dateiinhalt(pfad) == eingabe);

    if (geladen) {
        nux::neuschreiben<Satz>("2006 1/zurueck", saetze);
        PRUEFEN(nux::laden<Satz>("2006 1/zurueck") == saetze);
    }
}

}  // namespace fuzzhilfe
