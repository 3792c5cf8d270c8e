// The subjects file: a year holds at most 51 subjects.
#include "satzdatei.h"
#include "storage/satz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t n) {
    fuzzhilfe::satzdatei<nux::Fachsatz>(daten, n, "2006 1/faecher", 51);
    return 0;
}
