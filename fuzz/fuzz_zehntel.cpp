// zehntelzeigen gives exactly w characters, cut from the left; whenever
// nothing was cut, zehntellesen reads the value back.
#include <fuzzer/FuzzedDataProvider.h>

#include "fuzzhilfe.h"
#include "storage/text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t n) {
    FuzzedDataProvider fdp(daten, n);
    const auto v = fdp.ConsumeIntegral<std::int64_t>();
    const int w = fdp.ConsumeIntegralInRange<int>(-3, 30);
    const std::string t = nux::zehntelzeigen(v, w);
    const std::string voll = nux::trimmen(nux::zehntelzeigen(v, 40));
    PRUEFEN(t.size() == static_cast<std::size_t>(w < 0 ? 0 : w));
    PRUEFEN(voll.find(',') == voll.size() - 2);
    if (voll.size() <= t.size()) {
        PRUEFEN(nux::trimmen(t) == voll);
        PRUEFEN(nux::zehntellesen(t) == v);
    } else {
        PRUEFEN(voll.ends_with(t));
    }
    return 0;
}
