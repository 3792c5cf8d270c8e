// zehntellesen reads any text; commas and other characters never change the
// value, and up to 18 digits it is exact.
#include <string_view>

#include "fuzzhilfe.h"
#include "storage/text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t n) {
    const std::string_view s(reinterpret_cast<const char*>(daten), n);
    const std::int64_t v = nux::zehntellesen(s);

    std::string rein;  // the digits, and one "-" in front when there is any
    if (s.find('-') != std::string_view::npos) rein = "-";
    std::size_t ziffern = 0;
    for (char c : s)
        if (c >= '0' && c <= '9') {
            rein += c;
            ++ziffern;
        }
    PRUEFEN(nux::zehntellesen(rein) == v);
    if (ziffern <= 18) {
        std::int64_t erwartet = 0;
        for (char c : rein)
            if (c != '-') erwartet = erwartet * 10 + (c - '0');
        PRUEFEN(v == (rein.starts_with('-') ? -erwartet : erwartet));
        // What has at most 18 digits is shown and read back unchanged.
        PRUEFEN(nux::zehntellesen(nux::zehntelzeigen(v, 22)) == v);
    }
    return 0;
}
