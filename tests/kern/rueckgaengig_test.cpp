#include <gtest/gtest.h>

#include <random>

#include "assignment/kern/verteilung.h"

using namespace nux;

// Random schools (short names repeated with and without padding, stored
// teachers without a line, lessons of 0 hours) and gestures at random places,
// valid or not: every step back meets the state before it, every step forward
// again the state after it, and a gesture that reports nothing changed nothing.
TEST(Rueckgaengig, ZufaelligeGestenVorUndZurueck) {
    const char* const kurz[] = {"AB", "AB  ", "Cd", "X", "Lang", "--", ""};
    for (unsigned saat = 1; saat <= 200; ++saat) {
        SCOPED_TRACE(saat);
        std::mt19937 zufall(saat);
        const auto von = [&](int a, int b) { return a + static_cast<int>(zufall() % static_cast<unsigned>(b - a + 1)); };
        std::vector<Fachsatz> faecher(static_cast<std::size_t>(von(2, 7)));
        for (std::size_t s = 0; s < faecher.size(); ++s)
            faecher[s] = {von(0, 4) ? "Fach" : "#weg", std::string(1, static_cast<char>('A' + s)), von(0, 3), von(0, 5) != 0};
        std::vector<Lehrersatz> lehrer(static_cast<std::size_t>(von(1, 5)));
        for (auto& l : lehrer) l = {von(0, 5) ? "Name" : "#weg", kurz[von(0, 4)], von(0, 299)};
        std::vector<Klassensatz> klassen(static_cast<std::size_t>(von(1, 4)));
        for (auto& k : klassen)
            for (int j = 1; j <= kSlots; ++j)
                for (int s = 0; s < static_cast<int>(faecher.size()); ++s)
                    if (von(0, 2)) std::tie(k.h(j, s), k.l(j, s)) = std::make_tuple(von(0, 4) ? von(0, 59) : 0, kurz[von(0, 6)]);
        Verteilung v;
        v.aufbauen(std::move(klassen), faecher, von(0, 7) ? std::optional(lehrer) : std::nullopt);

        std::vector<Verteilung> staende{v};
        std::vector<Aenderung> schritte;
        for (int i = 0; i < 60; ++i) {
            auto a = v.lehrerein(von(-1, v.LastClass + 1), von(-1, v.LastRow + 1), von(-1, static_cast<int>(v.verfuegbar().size())));
            ASSERT_EQ(v == staende.back(), !a);
            if (a) schritte.push_back(std::move(*a)), staende.push_back(v);
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
