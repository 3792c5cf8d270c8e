#include "storage/datei.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace nux {
namespace {

int eingestellterFehler = 0;

struct Deskriptor {
    int fd = -1;
    explicit Deskriptor(int f) : fd(f) {}
    ~Deskriptor() {
        if (fd >= 0) ::close(fd);
    }
    Deskriptor(const Deskriptor&) = delete;
    Deskriptor& operator=(const Deskriptor&) = delete;
    int schliessen() {
        const int r = ::close(fd);
        fd = -1;
        return r;
    }
};

void allesschreiben(int fd, const std::uint8_t* p, std::size_t n, off_t offset) {
    if (eingestellterFehler != 0) fehlerwerfen(eingestellterFehler);
    while (n > 0) {
        const ssize_t w = ::pwrite(fd, p, n, offset);
        if (w < 0) {
            if (errno == EINTR) continue;
            fehlerwerfen(errno);
        }
        if (w == 0) fehlerwerfen(ENOSPC);
        p += w;
        n -= static_cast<std::size_t>(w);
        offset += w;
    }
}

std::string ordnervon(const std::string& pfad) {
    const auto p = pfad.rfind('/');
    return p == std::string::npos ? std::string() : pfad.substr(0, p + 1);
}

std::string namevon(const std::string& pfad) {
    const auto p = pfad.rfind('/');
    return p == std::string::npos ? pfad : pfad.substr(p + 1);
}

}  // namespace

std::string fehlertext(int fehlernummer) {
    switch (fehlernummer) {
        case ENOENT:
        case ENOTDIR:
            return kNichtGefunden;
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR:
            return kZugriffVerweigert;
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            return kDatentraegerVoll;
        default:
            return "E/A-Fehler " + std::to_string(fehlernummer);
    }
}

void fehlerwerfen(int fehlernummer) { throw Dateifehler(fehlertext(fehlernummer)); }

void detail::fdschreiben(int fd, const std::uint8_t* p, std::size_t n, long offset) {
    allesschreiben(fd, p, n, static_cast<off_t>(offset));
}

void schreibfehlerSetzen(int fehlernummer) { eingestellterFehler = fehlernummer; }

bool dateida(const std::string& pfad) {
    struct stat st {};
    return ::stat(pfad.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool ordnerda(const std::string& pfad) {
    struct stat st {};
    return ::stat(pfad.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::vector<std::uint8_t> dateilesen(const std::string& pfad) {
    Deskriptor d(::open(pfad.c_str(), O_RDONLY | O_CLOEXEC));
    if (d.fd < 0) fehlerwerfen(errno);
    struct stat st {};
    if (::fstat(d.fd, &st) != 0) fehlerwerfen(errno);
    if (!S_ISREG(st.st_mode)) fehlerwerfen(EISDIR);
    std::vector<std::uint8_t> daten;
    daten.reserve(static_cast<std::size_t>(st.st_size));
    std::uint8_t puffer[65536];
    for (;;) {
        const ssize_t r = ::read(d.fd, puffer, sizeof puffer);
        if (r < 0) {
            if (errno == EINTR) continue;
            fehlerwerfen(errno);
        }
        if (r == 0) break;
        daten.insert(daten.end(), puffer, puffer + r);
    }
    return daten;
}

void atomarschreiben(const std::string& pfad, std::span<const std::uint8_t> daten) {
    const std::string temp = ordnervon(pfad) + "." + namevon(pfad) + ".neu";
    Deskriptor d(::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (d.fd < 0) fehlerwerfen(errno);
    try {
        allesschreiben(d.fd, daten.data(), daten.size(), 0);
        if (::fsync(d.fd) != 0) fehlerwerfen(errno);
        if (d.schliessen() != 0) fehlerwerfen(errno);
        if (::rename(temp.c_str(), pfad.c_str()) != 0) fehlerwerfen(errno);
    } catch (...) {
        ::unlink(temp.c_str());
        throw;
    }
}

void bytesschreiben(const std::string& pfad, std::size_t offset, std::span<const std::uint8_t> daten,
                    bool anlegen) {
    Deskriptor d(::open(pfad.c_str(), O_WRONLY | O_CLOEXEC | (anlegen ? O_CREAT : 0), 0644));
    if (d.fd < 0) fehlerwerfen(errno);
    struct stat st {};
    if (::fstat(d.fd, &st) != 0) fehlerwerfen(errno);
    try {
        allesschreiben(d.fd, daten.data(), daten.size(), static_cast<off_t>(offset));
        if (d.schliessen() != 0) fehlerwerfen(errno);
    } catch (...) {
        // Never leave half a record behind an append.
        if (static_cast<std::size_t>(st.st_size) < offset + daten.size()) {
            if (st.st_size == 0 && anlegen) {
                ::unlink(pfad.c_str());
            } else {
                [[maybe_unused]] int r = ::truncate(pfad.c_str(), st.st_size);
            }
        }
        throw;
    }
}

void loeschen(const std::string& pfad) {
    if (::unlink(pfad.c_str()) != 0) fehlerwerfen(errno);
}

std::size_t satzanzahl(const std::string& pfad, std::size_t groesse) {
    struct stat st {};
    if (::stat(pfad.c_str(), &st) != 0) fehlerwerfen(errno);
    const auto n = static_cast<std::size_t>(st.st_size);
    if (n == 0 || n % groesse != 0) throw Dateifehler(kDateiende);
    return n / groesse;
}

}  // namespace nux
