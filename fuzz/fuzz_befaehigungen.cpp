// The qualifications file: whatever a hand or another program wrote, reading
// never fails, and what nux writes back reads as the same entries with every
// unreadable line kept as it stood.
#include <cstdlib>
#include <string_view>

#include "storage/planung.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t n) {
    const auto b = nux::Befaehigungen::aus(std::string_view(reinterpret_cast<const char*>(daten), n));
    const std::string text = b.text();
    const auto wieder = nux::Befaehigungen::aus(text);
    if (wieder.eintraege() != b.eintraege()) std::abort();
    if (wieder.fehler.size() != b.fehler.size()) std::abort();
    for (std::size_t i = 0; i < b.fehler.size(); ++i)
        if (wieder.fehler[i].text != b.fehler[i].text || wieder.fehler[i].grund != b.fehler[i].grund) std::abort();
    // Written once more, nothing moves.
    if (wieder.text() != text) std::abort();
    return 0;
}
