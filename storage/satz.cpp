#include "storage/satz.h"

#include <algorithm>
#include <cstring>

#include "storage/dateifehler.h"

namespace nux {
namespace {

// A short text field: length byte, then up to cap characters. Characters
// beyond the length are written as zeros.
void textschreiben(std::uint8_t* p, std::size_t cap, const std::string& s) {
    const std::size_t n = std::min(cap, s.size());
    p[0] = static_cast<std::uint8_t>(n);
    std::memcpy(p + 1, s.data(), n);
    std::memset(p + 1 + n, 0, cap - n);
}

std::string textlesen(const std::uint8_t* p, std::size_t cap) {
    const std::size_t n = p[0];
    if (n > cap) throw Dateifehler(kBereich);
    return std::string(reinterpret_cast<const char*>(p + 1), n);
}

template <typename T>
void ganzschreiben(std::uint8_t* p, T v) {
    auto u = static_cast<std::make_unsigned_t<T>>(v);
    for (std::size_t i = 0; i < sizeof(T); ++i) p[i] = static_cast<std::uint8_t>(u >> (8 * i));
}

template <typename T>
T ganzlesen(const std::uint8_t* p) {
    std::make_unsigned_t<T> u = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i) u |= static_cast<std::make_unsigned_t<T>>(p[i]) << (8 * i);
    return static_cast<T>(u);
}

bool flaglesen(std::uint8_t b) {
    if (b > 1) throw Dateifehler(kBereich);
    return b == 1;
}

}  // namespace

void Fachsatz::kodieren(std::span<std::uint8_t, groesse> b) const {
    std::fill(b.begin(), b.end(), 0);
    textschreiben(&b[0], 30, name);
    textschreiben(&b[31], 5, kurz);
    ganzschreiben<std::int32_t>(&b[40], ordnung);
    b[44] = unterrichtet ? 1 : 0;
    textschreiben(&b[45], 3, reserve3);
    textschreiben(&b[49], 36, reserve36);
}

Fachsatz Fachsatz::dekodieren(std::span<const std::uint8_t, groesse> b) {
    Fachsatz f;
    f.name = textlesen(&b[0], 30);
    f.kurz = textlesen(&b[31], 5);
    f.ordnung = ganzlesen<std::int32_t>(&b[40]);
    f.unterrichtet = flaglesen(b[44]);
    // The reserved texts are never read; a damaged length byte there must not
    // make the record unreadable.
    f.reserve3 = b[45] <= 3 ? textlesen(&b[45], 3) : std::string("   ");
    f.reserve36 = b[49] <= 36 ? textlesen(&b[49], 36) : std::string(36, ' ');
    return f;
}

void Lehrersatz::kodieren(std::span<std::uint8_t, groesse> b) const {
    std::fill(b.begin(), b.end(), 0);
    textschreiben(&b[0], 40, name);
    textschreiben(&b[41], 4, kurz);
    ganzschreiben<std::int64_t>(&b[48], stunden);
    std::copy(reserve.begin(), reserve.end(), &b[56]);
}

Lehrersatz Lehrersatz::dekodieren(std::span<const std::uint8_t, groesse> b) {
    Lehrersatz l;
    l.name = textlesen(&b[0], 40);
    l.kurz = textlesen(&b[41], 4);
    l.stunden = ganzlesen<std::int64_t>(&b[48]);
    std::copy(&b[56], &b[56] + 48, l.reserve.begin());
    return l;
}

void Klassensatz::kodieren(std::span<std::uint8_t, groesse> b) const {
    std::fill(b.begin(), b.end(), 0);
    textschreiben(&b[0], 3, name);
    for (int j = 1; j <= kSlots; ++j) {
        for (int s = 0; s < kFaecherMax; ++s) {
            ganzschreiben<std::int64_t>(&b[klassenStundenOffset(j, s)], h(j, s));
            textschreiben(&b[klassenLehrerOffset(j, s)], 4, l(j, s));
            textschreiben(&b[klassenZusatzOffset(j, s)], 30, z(j, s));
        }
    }
    textschreiben(&b[13340], 3, reserve3);
    b[13344] = reservebyte;
    std::copy(rest.begin(), rest.end(), &b[13345]);
}

Klassensatz Klassensatz::dekodieren(std::span<const std::uint8_t, groesse> b) {
    Klassensatz k;
    k.name = textlesen(&b[0], 3);
    for (int j = 1; j <= kSlots; ++j) {
        for (int s = 0; s < kFaecherMax; ++s) {
            k.h(j, s) = ganzlesen<std::int64_t>(&b[klassenStundenOffset(j, s)]);
            k.l(j, s) = textlesen(&b[klassenLehrerOffset(j, s)], 4);
            k.z(j, s) = textlesen(&b[klassenZusatzOffset(j, s)], 30);
        }
    }
    k.reserve3 = b[13340] <= 3 ? textlesen(&b[13340], 3) : std::string("   ");
    k.reservebyte = b[13344];
    std::copy(&b[13345], &b[13345] + 31, k.rest.begin());
    return k;
}

void Codesatz::kodieren(std::span<std::uint8_t, groesse> b) const {
    std::fill(b.begin(), b.end(), 0);
    textschreiben(&b[0], 8, code);
}

Codesatz Codesatz::dekodieren(std::span<const std::uint8_t, groesse> b) {
    return Codesatz{textlesen(&b[0], 8)};
}

}  // namespace nux
