#include "storage/text.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "storage/datei.h"
#include "storage/sicherung.h"

namespace nux {

std::string linksbuendig(std::string_view s, int w) {
    if (w <= 0) return {};
    std::string r(s.substr(0, static_cast<std::size_t>(w)));
    r.resize(static_cast<std::size_t>(w), ' ');
    return r;
}

std::string rechtsbuendig(std::string_view s, int w) {
    if (w <= 0) return {};
    const auto t = s.substr(0, static_cast<std::size_t>(w));
    return std::string(static_cast<std::size_t>(w) - t.size(), ' ') + std::string(t);
}

std::string zahlrechts(std::int32_t n, int w) {
    std::string r = std::to_string(n);
    if (static_cast<int>(r.size()) < w) r.insert(0, static_cast<std::size_t>(w) - r.size(), ' ');
    return r;
}

std::int32_t zahllesen(std::string_view s) {
    const std::string t = trimmen(s);
    const bool negativ = t.find('-') != std::string::npos;
    std::string ziffern;
    for (char c : t)
        if (c >= '0' && c <= '9') ziffern += c;
    if (ziffern.empty()) return 0;
    const auto erste = ziffern.find_first_not_of('0');
    const std::string_view kern =
        erste == std::string::npos ? std::string_view("0") : std::string_view(ziffern).substr(erste);
    std::int64_t wert = 0;
    if (kern.size() > 10) throw Dateifehler("'" + ziffern + "' ist kein gültiger Integerwert");
    for (char c : kern) wert = wert * 10 + (c - '0');
    if (wert > INT32_MAX) throw Dateifehler("'" + ziffern + "' ist kein gültiger Integerwert");
    return static_cast<std::int32_t>(negativ ? -wert : wert);
}

std::string zehntelzeigen(std::int64_t v, int w) {
    const bool negativ = v < 0;
    const std::uint64_t betrag = negativ ? 0 - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v);
    std::string z = std::to_string(betrag);
    if (z.size() < 2) z.insert(0, "0");
    z.insert(z.size() - 1, ",");
    if (negativ) z.insert(0, "-");
    if (static_cast<int>(z.size()) < w) z.insert(0, static_cast<std::size_t>(w) - z.size(), ' ');
    if (w <= 0) return {};
    if (static_cast<int>(z.size()) > w) z.erase(0, z.size() - static_cast<std::size_t>(w));
    return z;
}

std::int64_t zehntellesen(std::string_view s) {
    std::uint64_t wert = 0;
    bool negativ = false;
    for (char c : s) {
        if (c >= '0' && c <= '9')
            wert = wert * 10 + static_cast<std::uint64_t>(c - '0');
        else if (c == '-')
            negativ = true;
    }
    if (negativ) wert = 0 - wert;
    return static_cast<std::int64_t>(wert);
}

std::string trimmen(std::string_view s) {
    std::size_t a = 0, e = s.size();
    while (a < e && static_cast<unsigned char>(s[a]) <= ' ') ++a;
    while (e > a && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
    return std::string(s.substr(a, e - a));
}

std::string teil(std::string_view s, std::size_t von, std::size_t bis) {
    if (von < 1) von = 1;
    if (bis < von || von > s.size()) return {};
    return std::string(s.substr(von - 1, bis - von + 1));
}

namespace {

unsigned char falten(unsigned char c) {
    if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 32);
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<unsigned char>(c - 32);
    switch (c) {
        case 0x9A: return 0x8A;  // š
        case 0x9C: return 0x8C;  // œ
        case 0x9E: return 0x8E;  // ž
        case 0xFF: return 0x9F;  // ÿ
        default: return c;
    }
}

}  // namespace

std::string gross(std::string_view s) {
    std::string r(s);
    for (char& c : r) c = static_cast<char>(falten(static_cast<unsigned char>(c)));
    return r;
}

int textvergleich(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char x = falten(static_cast<unsigned char>(a[i]));
        const unsigned char y = falten(static_cast<unsigned char>(b[i]));
        if (x != y) return x < y ? -1 : 1;
    }
    if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    const int r = a.compare(b);
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

void dateikopieren(const std::string& quelle, const std::string& ziel) {
    if (!dateida(quelle)) return;
    detail::zielpruefen(ziel);
    const int q = ::open(quelle.c_str(), O_RDONLY | O_CLOEXEC);
    if (q < 0) fehlerwerfen(errno);
    const std::string temp = detail::ordnervon(ziel) + "." + detail::namevon(ziel) + ".neu";
    int z = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (z < 0) {
        const int e = errno;
        ::close(q);
        fehlerwerfen(e);
    }
    // Like a rewrite, a copy over a file keeps the rights its owner gave it.
    struct stat alt {};
    if (::stat(ziel.c_str(), &alt) == 0) ::fchmod(z, alt.st_mode & 07777);
    std::uint8_t puffer[10000];
    std::size_t gesamt = 0;
    try {
        for (;;) {
            const ssize_t r = ::read(q, puffer, sizeof puffer);
            if (r < 0) {
                if (errno == EINTR) continue;
                fehlerwerfen(errno);
            }
            if (r == 0) break;
            detail::fdschreiben(z, puffer, static_cast<std::size_t>(r), static_cast<long>(gesamt));
            gesamt += static_cast<std::size_t>(r);
        }
        if (::fsync(z) != 0) fehlerwerfen(errno);
        const int zu = ::close(z);
        z = -1;
        if (zu != 0) fehlerwerfen(errno);
        sichern(ziel, false);
        if (::rename(temp.c_str(), ziel.c_str()) != 0) fehlerwerfen(errno);
        detail::ordnersichern(ziel);
    } catch (...) {
        ::close(q);
        if (z >= 0) ::close(z);
        ::unlink(temp.c_str());
        throw;
    }
    ::close(q);
}

}  // namespace nux
