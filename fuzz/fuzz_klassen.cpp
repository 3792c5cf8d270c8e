// The classes file. The real limit (101 classes) lies beyond what a fuzz
// input holds, so the limit is tried small as well.
#include "satzdatei.h"
#include "storage/satz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t n) {
    fuzzhilfe::satzdatei<nux::Klassensatz>(daten, n, "2006 1/klassen", 2);
    fuzzhilfe::satzdatei<nux::Klassensatz>(daten, n, "2006 1/klassen", 101);
    return 0;
}
