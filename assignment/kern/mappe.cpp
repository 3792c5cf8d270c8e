#include "assignment/kern/mappe.h"

#include <algorithm>

namespace nux {

const Mappenzelle& Mappenblatt::zelle(std::size_t r, std::size_t c) const {
    static const Mappenzelle leer;
    if (r >= zeilen.size() || c >= zeilen[r].size()) return leer;
    return zeilen[r][c];
}

int Mappenblatt::spalten() const {
    std::size_t n = breiten.size();
    for (const auto& z : zeilen) n = std::max(n, z.size());
    return static_cast<int>(n);
}

const Mappenblatt* Mappe::blatt(const std::string& name) const {
    for (const auto& b : blaetter)
        if (b.name == name) return &b;
    return nullptr;
}

Mappenblatt tabellenblatt(const std::string& name, const std::string& titel, const std::string& stand,
                          std::vector<Mappenzelle> kopf, std::vector<int> breiten) {
    Mappenblatt b;
    b.name = name;
    b.zeilen.push_back({Mappenzelle::t(titel, true)});
    b.zeilen.push_back({Mappenzelle::t(stand)});
    b.zeilen.emplace_back();
    for (auto& z : kopf) z.fett = true;
    b.zeilen.push_back(std::move(kopf));
    b.breiten = std::move(breiten);
    b.festzeilen = 4;
    return b;
}

std::string zellname(int zeile, int spalte) {
    std::string buchstaben;
    for (int n = spalte + 1; n > 0; n = (n - 1) / 26) buchstaben.insert(buchstaben.begin(), static_cast<char>('A' + (n - 1) % 26));
    return buchstaben + std::to_string(zeile + 1);
}

}  // namespace nux
