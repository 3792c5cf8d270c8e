#include "storage/datei.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "storage/sicherung.h"

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

}  // namespace

std::string detail::ordnervon(const std::string& pfad) {
    const auto p = pfad.rfind('/');
    return p == std::string::npos ? std::string() : pfad.substr(0, p + 1);
}

std::string detail::namevon(const std::string& pfad) {
    const auto p = pfad.rfind('/');
    return p == std::string::npos ? pfad : pfad.substr(p + 1);
}

void detail::zielpruefen(const std::string& pfad) {
    struct stat alt {};
    if (::stat(pfad.c_str(), &alt) != 0) return;
    if (!S_ISREG(alt.st_mode)) fehlerwerfen(EISDIR);
    // rename() would replace a write-protected file without asking.
    if (::access(pfad.c_str(), W_OK) != 0) fehlerwerfen(errno);
}

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
        // What else open, read, write, sync, rename and folder creation can meet.
        case EEXIST: return "Datei oder Ordner gleichen Namens ist schon vorhanden";
        case ENOTEMPTY: return "Ordner ist nicht leer";
        case ENAMETOOLONG: return "Dateiname zu lang";
        case ELOOP: return "Zu viele symbolische Verknüpfungen im Pfad";
        case EMFILE:
        case ENFILE: return "Zu viele geöffnete Dateien";
        case ENOMEM: return "Nicht genügend Arbeitsspeicher";
        case EIO: return "Ein-/Ausgabefehler des Datenträgers";
        case EBUSY:
        case ETXTBSY: return "Datei wird gerade benutzt";
        case EAGAIN: return "Datei ist zur Zeit nicht verfügbar";
        case EINTR: return "Dateizugriff wurde unterbrochen";
        case EXDEV: return "Verschieben auf einen anderen Datenträger ist nicht möglich";
        case EMLINK: return "Zu viele Einträge im Ordner";
        case EOVERFLOW: return "Datei ist zu groß";
        case EINVAL: return "Ungültiger Dateizugriff";
        case EBADF: return "Datei ist nicht geöffnet";
        case ENODEV:
        case ENXIO: return "Gerät nicht vorhanden";
        case ESTALE:
        case ENOTCONN:
        case ETIMEDOUT:
        case EHOSTDOWN:
        case ENETDOWN: return "Netzlaufwerk nicht erreichbar";
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

namespace {

// Reads from fd until the end; a file that grows meanwhile is read as it is.
std::vector<std::uint8_t> restlesen(int fd, std::size_t erwartet) {
    std::vector<std::uint8_t> daten;
    daten.reserve(erwartet);
    std::uint8_t puffer[65536];
    for (;;) {
        const ssize_t r = ::read(fd, puffer, sizeof puffer);
        if (r < 0) {
            if (errno == EINTR) continue;
            fehlerwerfen(errno);
        }
        if (r == 0) break;
        daten.insert(daten.end(), puffer, puffer + r);
    }
    return daten;
}

// Opens a regular file for reading and returns its size.
std::size_t lesendoeffnen(Deskriptor& d, const std::string& pfad) {
    d.fd = ::open(pfad.c_str(), O_RDONLY | O_CLOEXEC);
    if (d.fd < 0) fehlerwerfen(errno);
    struct stat st {};
    if (::fstat(d.fd, &st) != 0) fehlerwerfen(errno);
    if (!S_ISREG(st.st_mode)) fehlerwerfen(EISDIR);
    return static_cast<std::size_t>(st.st_size);
}

void groessepruefen(std::size_t bytes, std::size_t groesse, std::size_t hoechstens) {
    if (bytes == 0 || bytes % groesse != 0) throw Dateifehler(kDateiende);
    if (bytes / groesse > hoechstens) throw Dateifehler(kBereich);
}

}  // namespace

// Makes a finished rename survive a power failure; a folder that cannot be
// synced (some file systems refuse) has the file all the same.
void detail::ordnersichern(const std::string& pfad) {
    const std::string ordner = detail::ordnervon(pfad);
    const int fd = ::open(ordner.empty() ? "." : ordner.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

std::vector<std::uint8_t> dateilesen(const std::string& pfad) {
    Deskriptor d(-1);
    const std::size_t n = lesendoeffnen(d, pfad);
    return restlesen(d.fd, n);
}

std::vector<std::uint8_t> saetzelesen(const std::string& pfad, std::size_t groesse, std::size_t hoechstens) {
    Deskriptor d(-1);
    // A huge file is refused by its size before a byte of it is held in memory.
    groessepruefen(lesendoeffnen(d, pfad), groesse, hoechstens);
    auto daten = restlesen(d.fd, 0);
    groessepruefen(daten.size(), groesse, hoechstens);
    return daten;
}

void satzbytes(const std::string& pfad, std::size_t groesse, std::size_t i, std::uint8_t* puffer) {
    Deskriptor d(-1);
    const std::size_t n = lesendoeffnen(d, pfad);
    if (n % groesse != 0 || i >= n / groesse) throw Dateifehler(kDateiende);
    std::size_t gelesen = 0;
    while (gelesen < groesse) {
        const ssize_t r = ::pread(d.fd, puffer + gelesen, groesse - gelesen, static_cast<off_t>(i * groesse + gelesen));
        if (r < 0) {
            if (errno == EINTR) continue;
            fehlerwerfen(errno);
        }
        if (r == 0) throw Dateifehler(kDateiende);
        gelesen += static_cast<std::size_t>(r);
    }
}

void atomarschreiben(const std::string& pfad, std::span<const std::uint8_t> daten) {
    detail::zielpruefen(pfad);
    struct stat alt {};
    const bool vorhanden = ::stat(pfad.c_str(), &alt) == 0;
    const std::string temp = detail::ordnervon(pfad) + "." + detail::namevon(pfad) + ".neu";
    Deskriptor d(::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (d.fd < 0) fehlerwerfen(errno);
    try {
        if (vorhanden) ::fchmod(d.fd, alt.st_mode & 07777);
        allesschreiben(d.fd, daten.data(), daten.size(), 0);
        if (::fsync(d.fd) != 0) fehlerwerfen(errno);
        if (d.schliessen() != 0) fehlerwerfen(errno);
        // A link to the old file costs no copying: the rename leaves its bytes alone.
        sichern(pfad, false);
        if (::rename(temp.c_str(), pfad.c_str()) != 0) fehlerwerfen(errno);
    } catch (...) {
        ::unlink(temp.c_str());
        throw;
    }
    detail::ordnersichern(pfad);
}

namespace {

// Writes into the file itself, for a folder that takes no new file.
void anortschreiben(const std::string& pfad, std::size_t offset, std::span<const std::uint8_t> daten) {
    Deskriptor d(::open(pfad.c_str(), O_WRONLY | O_CLOEXEC));
    if (d.fd < 0) fehlerwerfen(errno);
    struct stat st {};
    if (::fstat(d.fd, &st) != 0) fehlerwerfen(errno);
    if (!S_ISREG(st.st_mode)) fehlerwerfen(EISDIR);
    if (offset > static_cast<std::size_t>(st.st_size)) throw Dateifehler(kBereich);
    // Written in place, the file would change under a link: a copy is kept.
    const std::string kopie = st.st_size > 0 ? sichern(pfad, true) : std::string();
    try {
        allesschreiben(d.fd, daten.data(), daten.size(), static_cast<off_t>(offset));
        // A full disk may show itself only here (delayed allocation).
        if (::fsync(d.fd) != 0) fehlerwerfen(errno);
        if (d.schliessen() != 0) fehlerwerfen(errno);
    } catch (...) {
        // Never leave half a record behind an append.
        if (static_cast<std::size_t>(st.st_size) < offset + daten.size()) {
            [[maybe_unused]] int r = ::truncate(pfad.c_str(), st.st_size);
        }
        // An append cut back leaves the file as it was: its copy is no version.
        if (!kopie.empty() && offset >= static_cast<std::size_t>(st.st_size)) {
            ::unlink(kopie.c_str());
            ::rmdir(detail::ordnervon(kopie).c_str());
        }
        throw;
    }
}

}  // namespace

void bytesschreiben(const std::string& pfad, std::size_t offset, std::span<const std::uint8_t> daten,
                    bool anlegen) {
    // The file is patched in memory and replaced whole: a write torn by a
    // crash, or a new file created but not yet filled, would be read as a
    // damaged file for ever after. A write-protected folder takes no
    // temporary file, but still lets an existing file be changed in place.
    const bool neuedatei = anlegen && !dateida(pfad);
    const std::string ordner = detail::ordnervon(pfad);
    if (!neuedatei && ::access(ordner.empty() ? "." : ordner.c_str(), W_OK) != 0)
        return anortschreiben(pfad, offset, daten);
    if (neuedatei && !ordnerda(ordner.empty() ? "." : ordner)) fehlerwerfen(ENOENT);
    std::vector<std::uint8_t> neu;
    if (!neuedatei) {
        Deskriptor d(-1);
        const std::size_t n = lesendoeffnen(d, pfad);
        if (::access(pfad.c_str(), W_OK) != 0) fehlerwerfen(errno);
        neu = restlesen(d.fd, n);
    }
    if (offset > neu.size()) throw Dateifehler(kBereich);
    if (neu.size() < offset + daten.size()) neu.resize(offset + daten.size());
    std::copy(daten.begin(), daten.end(), neu.begin() + static_cast<std::ptrdiff_t>(offset));
    atomarschreiben(pfad, neu);
}

void loeschen(const std::string& pfad) {
    sichern(pfad, false);
    if (::unlink(pfad.c_str()) != 0) fehlerwerfen(errno);
}

std::size_t satzanzahl(const std::string& pfad, std::size_t groesse) {
    struct stat st {};
    if (::stat(pfad.c_str(), &st) != 0) fehlerwerfen(errno);
    const auto n = static_cast<std::size_t>(st.st_size);
    // An empty file holds no record yet: the next one is appended at 0.
    if (n % groesse != 0) throw Dateifehler(kDateiende);
    return n / groesse;
}

}  // namespace nux
