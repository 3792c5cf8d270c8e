// zahllesen reads any text: a number, or the invalid-integer message when
// the digits do not fit 32 bits.
#include <string_view>

#include "fuzzhilfe.h"
#include "storage/text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t n) {
    const std::string_view s(reinterpret_cast<const char*>(daten), n);
    std::string ziffern;
    for (char c : s)
        if (c >= '0' && c <= '9' && !(ziffern.empty() && c == '0')) ziffern += c;
    const bool passt = ziffern.size() < 10 || (ziffern.size() == 10 && ziffern <= "2147483647");
    try {
        const std::int32_t v = nux::zahllesen(s);
        PRUEFEN(passt);
        PRUEFEN(v == 0 || (v < 0) == (s.find('-') != std::string_view::npos));
        PRUEFEN(std::to_string(v < 0 ? -static_cast<std::int64_t>(v) : v) == (ziffern.empty() ? "0" : ziffern));
        for (int w : {0, 3, 12}) PRUEFEN(nux::zahllesen(nux::zahlrechts(v, w)) == v);
    } catch (const nux::Dateifehler& e) {
        PRUEFEN(!passt);
        const std::string_view m = e.what();
        PRUEFEN(m.front() == '\'' && m.ends_with("' ist kein gültiger Integerwert"));
    }
    return 0;
}
