#include <gtest/gtest.h>

#include <random>

#include "assignment/kern/verteilung.h"

using namespace nux;

namespace {

// A random school: short names repeat (with and without padding), some
// stored teachers have no line, some lessons have 0 hours or none at all.
Verteilung zufallsschule(std::mt19937& zufall) {
    const auto bis = [&](int n) { return static_cast<int>(zufall() % static_cast<unsigned>(n)); };
    const char* const kurz[] = {"AB", "AB  ", "Cd", "X", "Lang", "--", ""};
    std::vector<Fachsatz> faecher;
    for (int s = 0, n = 2 + bis(6); s < n; ++s)
        faecher.push_back({bis(5) ? "Fach" : "#weg", std::string(1, static_cast<char>('A' + s)), bis(4), bis(6) != 0});
    std::vector<Lehrersatz> lehrer;
    for (int i = 0, n = 1 + bis(5); i < n; ++i)
        lehrer.push_back({bis(6) ? "Name" : "#weg", kurz[bis(5)], static_cast<std::int64_t>(bis(300))});
    std::vector<Klassensatz> klassen(static_cast<std::size_t>(1 + bis(4)));
    for (std::size_t c = 0; c < klassen.size(); ++c) {
        klassen[c].name = std::to_string(c + 5) + "a";
        for (int j = 1; j <= kSlots; ++j)
            for (std::size_t s = 0; s < faecher.size(); ++s) {
                if (bis(3) == 0) continue;
                klassen[c].h(j, static_cast<int>(s)) = bis(5) ? bis(60) : 0;
                klassen[c].l(j, static_cast<int>(s)) = kurz[bis(7)];
            }
    }
    Verteilung v;
    v.aufbauen(std::move(klassen), faecher, bis(8) ? std::optional(lehrer) : std::nullopt);
    return v;
}

}  // namespace

// Gestures at random places, valid or not, forward; then every step back
// must meet the state before it, and every step forward again the state after.
TEST(Rueckgaengig, ZufaelligeGestenVorUndZurueck) {
    for (unsigned saat = 1; saat <= 200; ++saat) {
        SCOPED_TRACE(saat);
        std::mt19937 zufall(saat);
        const auto von = [&](int a, int b) { return a + static_cast<int>(zufall() % static_cast<unsigned>(b - a + 1)); };
        Verteilung v = zufallsschule(zufall);
        std::vector<Verteilung> staende{v};
        std::vector<Aenderung> schritte;
        for (int i = 0; i < 60; ++i) {
            const int n = static_cast<int>(v.verfuegbar().size());
            auto a = v.lehrerein(von(-1, v.LastClass + 1), von(-1, v.LastRow + 1), von(-1, n));
            if (!a) {
                ASSERT_EQ(v, staende.back()) << "a gesture that changed nothing changed something";
                continue;
            }
            schritte.push_back(std::move(*a));
            staende.push_back(v);
        }
        for (std::size_t i = schritte.size(); i-- > 0;) {
            v.zuruecknehmen(schritte[i]);
            ASSERT_EQ(v, staende[i]) << "back to step " << i;
        }
        for (std::size_t i = 0; i < schritte.size(); ++i) {
            v.wiederholen(schritte[i]);
            ASSERT_EQ(v, staende[i + 1]) << "forward to step " << i + 1;
        }
    }
}
