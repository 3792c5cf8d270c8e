#include "storage/jahr.h"

#include "storage/datei.h"

namespace nux {
namespace {
std::string aktuell;
}

const std::string& jahrordner() { return aktuell; }
void jahrsetzen(const std::string& ordner) { aktuell = ordner; }
// A year is a folder right inside the program folder: a name from "jahrakt"
// that leads elsewhere ("/etc", "../x") is no current year at all.
bool jahrgesetzt() {
    return !aktuell.empty() && aktuell.find('/') == std::string::npos && aktuell != "." && aktuell != "..";
}

std::string jahrdatei(const std::string& name) {
    if (!jahrgesetzt()) throw Dateifehler(kNichtGefunden);
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
    return ordner.substr(0, 4) + "-" + (ordner.size() >= 6 ? ordner.substr(5, 1) : std::string());
}

}  // namespace nux
