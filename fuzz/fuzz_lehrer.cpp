// The teachers file: no limit of the data model.
#include <limits>

#include "satzdatei.h"
#include "storage/satz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t n) {
    fuzzhilfe::satzdatei<nux::Lehrersatz>(daten, n, "2006 1/lehrer", std::numeric_limits<std::size_t>::max());
    return 0;
}
