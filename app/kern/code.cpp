#include "app/kern/code.h"

#include "storage/datei.h"
#include "storage/satz.h"

namespace nux {
namespace {
// Fixed for good: a "codes" file is only readable with the same table.
constexpr unsigned char kSchluessel[8] = {0x1D, 0x4B, 0x27, 0x0E, 0x5A, 0x33, 0x61, 0x12};
}

std::string codieren(const std::string& s) {
    std::string r = s;
    for (std::size_t i = 0; i < r.size(); ++i) {
        const std::size_t pos = i + 1;
        r[i] = static_cast<char>(static_cast<unsigned char>(r[i]) + kSchluessel[pos % 8]);
    }
    return r;
}

bool codestimmt(const std::string& eingabe) {
    if (!dateida("codes")) neuschreiben<Codesatz>("codes", {Codesatz{codieren(kStandardcode)}});
    return codieren(eingabe) == codelesen();
}

std::string codelesen() { return satzlesen<Codesatz>("codes", 0).code; }

void codeschreiben(const std::string& neu) {
    satzschreiben<Codesatz>("codes", 0, Codesatz{codieren(neu.substr(0, 8))});
}

}  // namespace nux
