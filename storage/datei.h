#pragma once
// Files of fixed-size records. Paths are relative to the program folder, the
// process's current directory. Every failure throws Dateifehler.
#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>
#include <string>
#include <vector>

#include "storage/dateifehler.h"

namespace nux {

bool dateida(const std::string& pfad);   // a regular file exists
bool ordnerda(const std::string& pfad);  // a folder exists

// Whole file as bytes.
std::vector<std::uint8_t> dateilesen(const std::string& pfad);

// Replaces the file with the given bytes through a temporary file in the same
// folder and a rename: on any failure the old file stays whole.
void atomarschreiben(const std::string& pfad, std::span<const std::uint8_t> daten);

// Writes bytes at offset into an existing file (or a new one with anlegen).
// A write that fails after extending the file cuts it back to its old size.
void bytesschreiben(const std::string& pfad, std::size_t offset, std::span<const std::uint8_t> daten,
                    bool anlegen);

void loeschen(const std::string& pfad);

// Number of records in a file; a size that is not a multiple of the record
// size, or an empty file, is the end-of-file error of a reader.
std::size_t satzanzahl(const std::string& pfad, std::size_t groesse);

namespace detail {
// Writes all bytes at offset; honours the injected failure below.
void fdschreiben(int fd, const std::uint8_t* p, std::size_t n, long offset);
}

// For tests: while set to a system error number, every write fails with it.
void schreibfehlerSetzen(int fehlernummer);

// Loads every record. More than hoechstens records: range error.
template <class Satz>
std::vector<Satz> laden(const std::string& pfad,
                        std::size_t hoechstens = std::numeric_limits<std::size_t>::max()) {
    const auto bytes = dateilesen(pfad);
    if (bytes.empty() || bytes.size() % Satz::groesse != 0) throw Dateifehler(kDateiende);
    const std::size_t n = bytes.size() / Satz::groesse;
    if (n > hoechstens) throw Dateifehler(kBereich);
    std::vector<Satz> saetze;
    saetze.reserve(n);
    for (std::size_t i = 0; i < n; ++i)
        saetze.push_back(Satz::dekodieren(
            std::span<const std::uint8_t, Satz::groesse>(bytes.data() + i * Satz::groesse, Satz::groesse)));
    return saetze;
}

template <class Satz>
std::vector<std::uint8_t> kodieren(const std::vector<Satz>& saetze) {
    std::vector<std::uint8_t> bytes(saetze.size() * Satz::groesse);
    for (std::size_t i = 0; i < saetze.size(); ++i)
        saetze[i].kodieren(std::span<std::uint8_t, Satz::groesse>(bytes.data() + i * Satz::groesse, Satz::groesse));
    return bytes;
}

// Rewrites the whole file atomically.
template <class Satz>
void neuschreiben(const std::string& pfad, const std::vector<Satz>& saetze) {
    const auto bytes = kodieren(saetze);
    atomarschreiben(pfad, bytes);
}

// Reads record i of an existing file.
template <class Satz>
Satz satzlesen(const std::string& pfad, std::size_t i) {
    const auto bytes = dateilesen(pfad);
    if (bytes.size() % Satz::groesse != 0 || (i + 1) * Satz::groesse > bytes.size())
        throw Dateifehler(kDateiende);
    return Satz::dekodieren(
        std::span<const std::uint8_t, Satz::groesse>(bytes.data() + i * Satz::groesse, Satz::groesse));
}

// Writes record i in place; i may be the record count, which appends.
template <class Satz>
void satzschreiben(const std::string& pfad, std::size_t i, const Satz& satz, bool anlegen = false) {
    std::uint8_t puffer[Satz::groesse];
    satz.kodieren(std::span<std::uint8_t, Satz::groesse>(puffer, Satz::groesse));
    bytesschreiben(pfad, i * Satz::groesse, std::span<const std::uint8_t>(puffer, Satz::groesse), anlegen);
}

}  // namespace nux
