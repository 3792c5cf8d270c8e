#pragma once
// Shared by the fuzz targets: a private program folder as the current
// directory, and a check that aborts (so libFuzzer keeps the input).
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "storage/dateifehler.h"

#define PRUEFEN(bedingung)                                                              \
    do {                                                                                \
        if (!(bedingung)) {                                                             \
            std::fprintf(stderr, "%s:%d: verletzt: %s\n", __FILE__, __LINE__, #bedingung); \
            std::abort();                                                               \
        }                                                                               \
    } while (0)

namespace fuzzhilfe {

// Creates nuxfuzzXXXXXX/nux with the year folder "2006 1" and makes it the
// current directory; removed again when the fuzzer exits. In memory where
// possible: the writers sync every file, which on a disk costs most of the run.
inline void programmordner() {
    static std::filesystem::path basis;
    if (!basis.empty()) return;
    char muster[] = "/dev/shm/nuxfuzzXXXXXX";
    char ersatz[] = "/tmp/nuxfuzzXXXXXX";
    const char* ort = ::mkdtemp(muster);
    if (ort == nullptr) ort = ::mkdtemp(ersatz);
    if (ort == nullptr) std::abort();
    basis = ort;
    basis = muster;
    std::filesystem::create_directories(basis / "nux" / "2006 1");
    std::filesystem::current_path(basis / "nux");
    std::atexit([] {
        std::error_code ec;
        std::filesystem::current_path("/", ec);
        std::filesystem::remove_all(basis, ec);
    });
}

inline void dateischreiben(const char* pfad, const std::uint8_t* daten, std::size_t n) {
    const int fd = ::open(pfad, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) std::abort();
    std::size_t fertig = 0;
    while (fertig < n) {
        const ssize_t w = ::write(fd, daten + fertig, n - fertig);
        if (w <= 0) std::abort();
        fertig += static_cast<std::size_t>(w);
    }
    ::close(fd);
}

inline std::vector<std::uint8_t> dateiinhalt(const char* pfad) {
    std::vector<std::uint8_t> b;
    FILE* f = std::fopen(pfad, "rb");
    if (!f) return b;
    std::uint8_t puffer[4096];
    std::size_t r;
    while ((r = std::fread(puffer, 1, sizeof puffer, f)) > 0) b.insert(b.end(), puffer, puffer + r);
    std::fclose(f);
    return b;
}

// A reader of an existing, readable file may only answer with these.
inline bool lesemeldung(const nux::Dateifehler& e) {
    return std::strcmp(e.what(), nux::kDateiende) == 0 || std::strcmp(e.what(), nux::kBereich) == 0;
}

}  // namespace fuzzhilfe
