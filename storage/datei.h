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
// folder and a rename: on any failure the old file stays whole. A file the
// user made read-only is refused, as an in-place write would be.
void atomarschreiben(const std::string& pfad, std::span<const std::uint8_t> daten);

// Writes bytes at offset into an existing file (or a new one with anlegen),
// replacing the file whole as atomarschreiben does: after a failure or a crash
// it is the old file or the new one. An offset beyond the end is a range
// error (it would leave a hole of zeros).
void bytesschreiben(const std::string& pfad, std::size_t offset, std::span<const std::uint8_t> daten,
                    bool anlegen);

void loeschen(const std::string& pfad);

// The bytes of a whole record file, checked before anything is read: an empty
// file or a size that is not a multiple of groesse is the end-of-file error,
// more than hoechstens records the range error.
std::vector<std::uint8_t> saetzelesen(const std::string& pfad, std::size_t groesse, std::size_t hoechstens);

// Reads the groesse bytes of record i into puffer. A record beyond the end, or
// a file whose size is not a multiple of groesse, is the end-of-file error.
void satzbytes(const std::string& pfad, std::size_t groesse, std::size_t i, std::uint8_t* puffer);

// Number of records in a file; a size that is not a multiple of the record
// size, or an empty file, is the end-of-file error of a reader.
std::size_t satzanzahl(const std::string& pfad, std::size_t groesse);

namespace detail {
// Writes all bytes at offset; honours the injected failure below.
void fdschreiben(int fd, const std::uint8_t* p, std::size_t n, long offset);
// "a/b/c" -> "a/b/" and "c".
std::string ordnervon(const std::string& pfad);
std::string namevon(const std::string& pfad);
// Refuses to replace what is not a regular file or is write-protected.
void zielpruefen(const std::string& pfad);
// Flushes the folder holding pfad after a rename.
void ordnersichern(const std::string& pfad);
}

// For tests: while set to a system error number, every write fails with it.
void schreibfehlerSetzen(int fehlernummer);

// Loads every record. More than hoechstens records: range error.
template <class Satz>
std::vector<Satz> laden(const std::string& pfad,
                        std::size_t hoechstens = std::numeric_limits<std::size_t>::max()) {
    const auto bytes = saetzelesen(pfad, Satz::groesse, hoechstens);
    const std::size_t n = bytes.size() / Satz::groesse;
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
    std::uint8_t puffer[Satz::groesse];
    satzbytes(pfad, Satz::groesse, i, puffer);
    return Satz::dekodieren(std::span<const std::uint8_t, Satz::groesse>(puffer, Satz::groesse));
}

// Writes record i in place; i may be the record count, which appends.
template <class Satz>
void satzschreiben(const std::string& pfad, std::size_t i, const Satz& satz, bool anlegen = false) {
    std::uint8_t puffer[Satz::groesse]{};  // nothing of the stack reaches the file
    satz.kodieren(std::span<std::uint8_t, Satz::groesse>(puffer, Satz::groesse));
    bytesschreiben(pfad, i * Satz::groesse, std::span<const std::uint8_t>(puffer, Satz::groesse), anlegen);
}

}  // namespace nux
