#pragma once
// The four record types and their byte layout. Records are encoded field by
// field, little-endian, never by copying a struct.
#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace nux {

inline constexpr int kFaecherMax = 101;   // subject indexes 0..100 in a class record
inline constexpr int kSlots = 3;          // teacher slots 1..3

// Subject record, file "faecher".
struct Fachsatz {
    static constexpr std::size_t groesse = 88;
    std::string name;          // text(30); "#" in front: withdrawn
    std::string kurz;          // text(5); only the first 3 are used
    std::int32_t ordnung = 0;  // position in every subject list
    bool unterrichtet = true;  // "heuer unterrichtet"
    std::string reserve3 = "   ";
    std::string reserve36 = std::string(36, ' ');

    void kodieren(std::span<std::uint8_t, groesse> b) const;
    static Fachsatz dekodieren(std::span<const std::uint8_t, groesse> b);
    bool operator==(const Fachsatz&) const = default;
};

// Teacher record, file "lehrer".
struct Lehrersatz {
    static constexpr std::size_t groesse = 104;
    std::string name;           // text(40), stored trimmed; "#" in front: withdrawn
    std::string kurz;           // text(4), stored trimmed; the teacher code
    std::int64_t stunden = 0;   // required weekly hours, tenths
    std::array<std::uint8_t, 48> reserve{};

    void kodieren(std::span<std::uint8_t, groesse> b) const;
    static Lehrersatz dekodieren(std::span<const std::uint8_t, groesse> b);
    bool operator==(const Lehrersatz&) const = default;
};

// Class record, file "klassen". Cells are addressed by teacher slot j (1..3)
// and subject index s (0..100).
struct Klassensatz {
    static constexpr std::size_t groesse = 13376;
    std::string name;  // text(3)
    std::array<std::array<std::int64_t, kFaecherMax>, kSlots> stunden{};
    std::array<std::array<std::string, kFaecherMax>, kSlots> lehrer;  // text(4)
    std::array<std::array<std::string, kFaecherMax>, kSlots> zusatz;  // text(30)
    std::string reserve3 = "   ";
    std::uint8_t reservebyte = 0;
    std::array<std::uint8_t, 31> rest{};

    std::int64_t& h(int j, int s) { return stunden[j - 1][s]; }
    std::int64_t h(int j, int s) const { return stunden[j - 1][s]; }
    std::string& l(int j, int s) { return lehrer[j - 1][s]; }
    const std::string& l(int j, int s) const { return lehrer[j - 1][s]; }
    std::string& z(int j, int s) { return zusatz[j - 1][s]; }
    const std::string& z(int j, int s) const { return zusatz[j - 1][s]; }

    void kodieren(std::span<std::uint8_t, groesse> b) const;
    static Klassensatz dekodieren(std::span<const std::uint8_t, groesse> b);
    bool operator==(const Klassensatz&) const = default;
};

// Code record, file "codes": the scrambled access code.
struct Codesatz {
    static constexpr std::size_t groesse = 9;
    std::string code;  // text(8)

    void kodieren(std::span<std::uint8_t, groesse> b) const;
    static Codesatz dekodieren(std::span<const std::uint8_t, groesse> b);
    bool operator==(const Codesatz&) const = default;
};

// Offsets inside the class record.
constexpr std::size_t klassenStundenOffset(int j, int s) { return 8 + (j - 1) * 808 + 8 * s; }
constexpr std::size_t klassenLehrerOffset(int j, int s) { return 2432 + (j - 1) * 505 + 5 * s; }
constexpr std::size_t klassenZusatzOffset(int j, int s) { return 3947 + (j - 1) * 3131 + 31 * s; }

}  // namespace nux
