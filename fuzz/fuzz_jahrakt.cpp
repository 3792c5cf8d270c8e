// The current-year file: any bytes give their first line, which is written
// and read back unchanged.
#include <algorithm>

#include "fuzzhilfe.h"
#include "storage/jahr.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t n) {
    fuzzhilfe::programmordner();
    fuzzhilfe::dateischreiben("jahrakt", daten, n);
    const auto zeile = nux::jahraktlesen();
    PRUEFEN(zeile.has_value());
    PRUEFEN(zeile->find_first_of("\r\n") == std::string::npos);
    PRUEFEN(zeile->size() <= n && std::memcmp(zeile->data(), daten, zeile->size()) == 0);
    PRUEFEN(zeile->size() == n || daten[zeile->size()] == '\r' || daten[zeile->size()] == '\n');
    PRUEFEN(nux::jahranzeige(*zeile).size() <= 6);
    PRUEFEN(fuzzhilfe::dateiinhalt("jahrakt") == std::vector<std::uint8_t>(daten, daten + n));

    nux::jahrsetzen(*zeile);
    PRUEFEN(nux::jahrgesetzt() == (zeile->find('/') == std::string::npos && *zeile != "" && *zeile != "." &&
                                   *zeile != ".."));
    try {
        PRUEFEN(nux::jahrdatei("faecher") == *zeile + "/faecher");
    } catch (const nux::Dateifehler& e) {
        // Only a name that is no folder right inside the program folder.
        const bool ausserhalb = zeile->empty() || zeile->find('/') != std::string::npos || *zeile == "." ||
                                *zeile == "..";
        PRUEFEN(ausserhalb && std::strcmp(e.what(), nux::kNichtGefunden) == 0);
    }
    nux::jahrsetzen("");

    nux::jahraktschreiben(*zeile);
    PRUEFEN(nux::jahraktlesen() == zeile);
    return 0;
}
