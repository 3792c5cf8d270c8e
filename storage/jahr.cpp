#include "storage/jahr.h"

#include "storage/datei.h"

namespace nux {
namespace {
std::string aktuell;
}

const std::string& jahrordner() { return aktuell; }
void jahrsetzen(const std::string& ordner) { aktuell = ordner; }
bool jahrgesetzt() { return !aktuell.empty(); }

std::string jahrdatei(const std::string& name) {
    if (aktuell.empty()) throw Dateifehler(kNichtGefunden);
    return aktuell + "/" + name;
}

std::optional<std::string> jahraktlesen() {
    if (!dateida("jahrakt")) return std::nullopt;
    const auto bytes = dateilesen("jahrakt");
    std::string zeile;
    for (auto b : bytes) {
        if (b == '\r' || b == '\n') break;
        zeile += static_cast<char>(b);
    }
    return zeile;
}

void jahraktschreiben(const std::string& ordner) {
    std::string zeile = ordner + "\r\n";
    atomarschreiben("jahrakt", std::span<const std::uint8_t>(
                                   reinterpret_cast<const std::uint8_t*>(zeile.data()), zeile.size()));
}

std::string jahranzeige(const std::string& ordner) {
    std::string r = ordner.substr(0, 4);
    if (ordner.size() >= 6) r += "-" + ordner.substr(5, 1);
    return r;
}

}  // namespace nux
