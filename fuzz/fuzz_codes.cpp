// The code file, checked against a typed entry. The input is the entry
// followed by the file.
#include <fuzzer/FuzzedDataProvider.h>

#include "app/kern/code.h"
#include "fuzzhilfe.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t n) {
    fuzzhilfe::programmordner();
    FuzzedDataProvider fdp(daten, n);
    const std::string eingabe = fdp.ConsumeRandomLengthString(16);
    const auto datei = fdp.ConsumeRemainingBytes<std::uint8_t>();
    fuzzhilfe::dateischreiben("codes", datei.data(), datei.size());

    bool lesbar = true;
    try {
        const bool stimmt = nux::codestimmt(eingabe);
        PRUEFEN(!stimmt || nux::codelesen() == nux::codieren(eingabe));
    } catch (const nux::Dateifehler& e) {
        PRUEFEN(fuzzhilfe::lesemeldung(e));
        lesbar = false;
    }
    // An existing file is never replaced by the default code.
    PRUEFEN(fuzzhilfe::dateiinhalt("codes") == datei);
    if (lesbar) {
        nux::codeschreiben(eingabe);
        PRUEFEN(nux::codestimmt(eingabe.substr(0, 8)));
        PRUEFEN(fuzzhilfe::dateiinhalt("codes").size() == datei.size());
    }
    return 0;
}
