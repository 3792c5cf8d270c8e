#include "assignment/kern/marken.h"

#include <string>
#include <unordered_map>

#include "storage/text.h"

namespace nux {

std::vector<Marke> marken(const Verteilung& v, const Befaehigungen& b, std::string_view gewaehlt) {
    const int klassen = v.klassenzahl(), zeilen = v.zeilenzahl();
    std::vector<Marke> m(static_cast<std::size_t>(std::max(0, klassen)) * static_cast<std::size_t>(std::max(0, zeilen)),
                         Marke::keine);
    if (m.empty() || b.leer()) return m;
    const auto& faecher = v.faecher();
    // The subject key of every row once; the rows are the same in every class.
    std::vector<std::string> fach(static_cast<std::size_t>(zeilen));
    for (int r = 0; r < zeilen; ++r) {
        const int s = v.RowKeys[0][static_cast<std::size_t>(r)] / 10;
        if (s >= 0 && static_cast<std::size_t>(s) < faecher.size()) fach[static_cast<std::size_t>(r)] = faecher[static_cast<std::size_t>(s)].kurz;
    }
    // Looked up once per teacher and row rather than once per cell.
    std::unordered_map<std::string, std::vector<Stufe>> stufen;
    const auto stufenvon = [&](const std::string& code) -> const std::vector<Stufe>& {
        auto it = stufen.find(code);
        if (it != stufen.end()) return it->second;
        std::vector<Stufe> s(static_cast<std::size_t>(zeilen));
        for (int r = 0; r < zeilen; ++r) s[static_cast<std::size_t>(r)] = b.stufe(code, fach[static_cast<std::size_t>(r)]);
        return stufen.emplace(code, std::move(s)).first->second;
    };
    const std::string wahl = trimmen(gewaehlt);
    const std::vector<Stufe>* eigene = wahl.empty() ? nullptr : &stufenvon(wahl);
    std::size_t i = 0;
    for (int c = 0; c < klassen; ++c)
        for (int r = 0; r < zeilen; ++r, ++i) {
            const Zelle& z = v.zelle(c, r);
            if (!z.sichtbar()) continue;
            if (z.frei()) {
                if (!eigene) continue;
                const Stufe s = (*eigene)[static_cast<std::size_t>(r)];
                if (s != Stufe::keine) m[i] = s == Stufe::wunsch ? Marke::wunsch : Marke::passt;
            } else if (stufenvon(trimmen(z.lehrer))[static_cast<std::size_t>(r)] == Stufe::keine) {
                m[i] = Marke::ohnebefaehigung;
            }
        }
    return m;
}

}  // namespace nux

namespace nux {

Marke marke(const Verteilung& v, const Befaehigungen& b, std::string_view gewaehlt, int c, int r) {
    if (b.leer() || c < 0 || r < 0 || c >= v.klassenzahl() || r >= v.zeilenzahl()) return Marke::keine;
    const Zelle& z = v.zelle(c, r);
    const int s = v.RowKeys[static_cast<std::size_t>(c)][static_cast<std::size_t>(r)] / 10;
    if (!z.sichtbar() || s < 0 || static_cast<std::size_t>(s) >= v.faecher().size()) return Marke::keine;
    const std::string& fach = v.faecher()[static_cast<std::size_t>(s)].kurz;
    if (!z.frei()) return b.stufe(z.lehrer, fach) == Stufe::keine ? Marke::ohnebefaehigung : Marke::keine;
    if (trimmen(gewaehlt).empty()) return Marke::keine;
    switch (b.stufe(gewaehlt, fach)) {
        case Stufe::keine: return Marke::keine;
        case Stufe::befaehigt: return Marke::passt;
        case Stufe::wunsch: break;
    }
    return Marke::wunsch;
}

}  // namespace nux
