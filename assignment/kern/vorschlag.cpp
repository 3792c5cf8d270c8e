#include "assignment/kern/vorschlag.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <functional>
#include <limits>
#include <numeric>
#include <set>
#include <tuple>
#include <unordered_map>

#include "assignment/kern/engpass.h"
#include "assignment/kern/mip.h"
#include "storage/datei.h"
#include "storage/text.h"

namespace nux {

namespace {

using Uhr = std::chrono::steady_clock;

double ms(Uhr::time_point von) {
    return std::chrono::duration<double, std::milli>(Uhr::now() - von).count();
}

bool istcode(const std::string& l) {
    const std::string t = trimmen(l);
    return !t.empty() && t.rfind("--", 0) != 0;
}

// A listed teacher: the first availability line of its code.
struct Lehrkraft {
    std::string code;
    int p = 0;
    std::int64_t soll = 0;  // required hours
    std::int64_t last = 0;  // assigned hours as the grid stands
    std::int64_t fest = 0;  // of these, on lessons the proposal does not touch
    std::int64_t kap = 0;   // the most the proposal may put on them
};

// A lesson the proposal may fill: open, or (with Umfang::ueberlast) held by
// a teacher above the required hours, who then keeps it unless it moves.
struct Anteil {
    int c = 0, r = 0, s = 0, j = 1;
    std::int64_t h = 0;
    int vorher = -1;              // teacher index, -1 for an open lesson
    std::vector<int> kandidaten;  // teacher indexes in list order
};

struct Problem {
    std::vector<Lehrkraft> lehrer;
    std::unordered_map<std::string, int> index;  // code -> teacher
    std::vector<Anteil> anteile;
    std::vector<char> imumfang;                    // [c]
    std::set<std::pair<int, int>> festklasse;      // (c, t): t teaches in c outside the proposal
    std::set<std::tuple<int, int, int>> festfach;  // (c, s, t)
    std::map<std::pair<int, int>, int> fachanteile;  // (c, s) -> visible lessons
    std::vector<std::vector<Stufe>> stufen;        // [t][s]

    int lehrervon(const std::string& code) const {
        const auto it = index.find(trimmen(code));
        return it == index.end() ? -1 : it->second;
    }
};

std::string stundentext(std::int64_t h) { return zehntelganz(h, 1); }

Problem aufstellen(const Verteilung& v, const Befaehigungen& b, const Umfang& u) {
    Problem pr;
    const int nk = v.klassenzahl();
    pr.imumfang.assign(static_cast<std::size_t>(std::max(nk, 0)), u.nurauswahl ? 0 : 1);
    if (u.nurauswahl) {
        if (u.klassen.empty()) throw Vorschlagsfehler(kKeineKlasse);
        for (int c : u.klassen) {
            if (c < 0 || c >= nk) throw Vorschlagsfehler(kKlasseFehlt);
            pr.imumfang[static_cast<std::size_t>(c)] = 1;
        }
    }
    if (u.toleranz < 0) throw Vorschlagsfehler(kToleranzNegativ);
    if (u.toleranz > 999) throw Vorschlagsfehler(kToleranzGross);

    for (int p = 1; v.lehrerzeile(p); ++p) {
        const std::string& zeile = v.verfuegbar()[static_cast<std::size_t>(p)];
        const std::string code = trimmen(teil(zeile, 1, 4));
        if (code.empty() || pr.index.count(code)) continue;
        const std::size_t satz = static_cast<std::size_t>(std::stoul(zeile.substr(200)));
        Lehrkraft l;
        l.code = code;
        l.p = p;
        l.soll = satz < v.lehrer().size() ? v.lehrer()[satz].stunden : 0;
        l.last = l.soll - v.verfuegbarestunden(p);
        pr.index.emplace(code, static_cast<int>(pr.lehrer.size()));
        pr.lehrer.push_back(std::move(l));
    }
    if (pr.lehrer.empty())
        throw Vorschlagsfehler(kKeineLehrer);
    if (b.leer())
        throw Vorschlagsfehler(kKeineBefaehigungen);

    const std::size_t nf = v.faecher().size();
    pr.stufen.assign(pr.lehrer.size(), std::vector<Stufe>(nf, Stufe::keine));
    for (std::size_t t = 0; t < pr.lehrer.size(); ++t)
        for (std::size_t s = 0; s < nf; ++s) pr.stufen[t][s] = b.stufe(pr.lehrer[t].code, v.faecher()[s].kurz);

    for (int c = 0; c < nk; ++c)
        for (int r = 0; r < v.zeilenzahl(); ++r) {
            const Zelle& z = v.zelle(c, r);
            if (!z.sichtbar()) continue;
            const int key = v.RowKeys[static_cast<std::size_t>(c)][static_cast<std::size_t>(r)];
            const int s = key / 10;
            ++pr.fachanteile[{c, s}];
            const int t = z.frei() ? -1 : pr.lehrervon(z.lehrer);
            const bool frei = pr.imumfang[static_cast<std::size_t>(c)] &&
                              (z.frei() || (u.ueberlast && t >= 0 && pr.lehrer[static_cast<std::size_t>(t)].last >
                                                                        pr.lehrer[static_cast<std::size_t>(t)].soll));
            if (!frei) {
                if (t >= 0) {
                    pr.festklasse.insert({c, t});
                    pr.festfach.insert({c, s, t});
                }
                continue;
            }
            pr.anteile.push_back({c, r, s, key % 10, z.stunden, t, {}});
        }
    for (Lehrkraft& l : pr.lehrer) l.fest = l.last;
    for (const Anteil& a : pr.anteile)
        if (a.vorher >= 0) pr.lehrer[static_cast<std::size_t>(a.vorher)].fest -= a.h;
    for (Lehrkraft& l : pr.lehrer) l.kap = std::max(l.soll + u.toleranz, l.last) - l.fest;
    for (Anteil& a : pr.anteile) {
        for (std::size_t t = 0; t < pr.lehrer.size(); ++t) {
            const bool befaehigt = static_cast<std::size_t>(a.s) < nf && pr.stufen[t][static_cast<std::size_t>(a.s)] != Stufe::keine;
            if ((befaehigt && a.h <= pr.lehrer[t].kap) || static_cast<int>(t) == a.vorher) a.kandidaten.push_back(static_cast<int>(t));
        }
    }
    if (pr.anteile.empty())
        throw Vorschlagsfehler(u.ueberlast ? kNichtsOffenUeberlast : kNichtsOffen);
    return pr;
}

// A teacher per lesson of the problem, -1 for open.
using Zuordnung = std::vector<int>;

// Fills the open lessons of z by the greedy rule: hardest subject first
// (the hours its qualified teachers can give beyond what it asks, least
// first), largest lesson first, the qualified teacher with the most missing
// hours who still has the lesson's hours.
// With lp, the candidate the relaxation gives most of the lesson comes first.
void auffuellen(const Problem& pr, Zuordnung& z, std::vector<std::int64_t>& last, std::vector<std::int64_t>& rest,
                const std::vector<std::vector<double>>* lp = nullptr) {
    const std::size_t n = pr.anteile.size();
    std::map<int, std::int64_t> bedarf, angebot;
    for (std::size_t a = 0; a < n; ++a)
        if (z[a] < 0) bedarf[pr.anteile[a].s] += pr.anteile[a].h;
    for (auto& [s, d] : bedarf) {
        std::int64_t summe = 0;
        for (std::size_t t = 0; t < pr.lehrer.size(); ++t)
            if (static_cast<std::size_t>(s) < pr.stufen[t].size() && pr.stufen[t][static_cast<std::size_t>(s)] != Stufe::keine)
                summe += std::max<std::int64_t>(0, rest[t]);
        angebot[s] = summe - d;
    }
    std::vector<std::size_t> folge;
    for (std::size_t a = 0; a < n; ++a)
        if (z[a] < 0) folge.push_back(a);
    std::stable_sort(folge.begin(), folge.end(), [&](std::size_t x, std::size_t y) {
        const Anteil &a = pr.anteile[x], &b = pr.anteile[y];
        if (angebot[a.s] != angebot[b.s]) return angebot[a.s] < angebot[b.s];
        if (a.s != b.s) return a.s < b.s;
        return a.h > b.h;  // then class and row: the order of the lessons
    });
    for (std::size_t a : folge) {
        const Anteil& an = pr.anteile[a];
        int beste = -1;
        double bestlp = -1;
        for (std::size_t k = 0; k < an.kandidaten.size(); ++k) {
            const int t = an.kandidaten[k];
            const auto ut = static_cast<std::size_t>(t);
            if (rest[ut] < an.h) continue;
            const double w = lp ? std::round((*lp)[a][k] * 1000) : 0;
            if (beste < 0 || w > bestlp ||
                (w == bestlp && pr.lehrer[ut].soll - last[ut] > pr.lehrer[static_cast<std::size_t>(beste)].soll - last[static_cast<std::size_t>(beste)])) {
                beste = t;
                bestlp = w;
            }
        }
        if (beste < 0) continue;
        z[a] = beste;
        last[static_cast<std::size_t>(beste)] += an.h;
        rest[static_cast<std::size_t>(beste)] -= an.h;
    }
}

Zuordnung gierigloesen(const Problem& pr) {
    Zuordnung z(pr.anteile.size(), -1);
    std::vector<std::int64_t> last(pr.lehrer.size()), rest(pr.lehrer.size());
    for (std::size_t t = 0; t < pr.lehrer.size(); ++t) {
        last[t] = pr.lehrer[t].fest;
        rest[t] = pr.lehrer[t].kap;
    }
    // Lessons of teachers above their hours stay where they are: the rule
    // only fills what is open.
    for (std::size_t a = 0; a < z.size(); ++a)
        if (pr.anteile[a].vorher >= 0) {
            const auto t = static_cast<std::size_t>(pr.anteile[a].vorher);
            z[a] = pr.anteile[a].vorher;
            last[t] += pr.anteile[a].h;
            rest[t] -= pr.anteile[a].h;
        }
    auffuellen(pr, z, last, rest);
    return z;
}

// The program and where its columns lie.
struct Modell {
    Mip mip;
    std::vector<std::vector<int>> x;                // [a][k] column of lesson a with its k-th candidate
    std::map<std::pair<int, int>, int> y;           // (c, t): t teaches in class c
    std::map<std::tuple<int, int, int>, int> zfach; // (c, s, t): t teaches subject s in class c
    std::vector<std::array<int, 4>> d;              // [t] over, under in three steps; -1 without
    std::vector<std::vector<double>> kosten;        // [a][k] the lesson's own cost, before class and subject
    std::vector<int> zeile;                         // [a] the row "at most one teacher", -1 without candidates
    int abwzeile = -1;                              // the row of the sum of deviations, if any
    double erlaubt = 0;                             // its bound
};

struct Punkte {
    double ausgleich, kontinuitaet, klasse, fach, wunsch, offen;
};

Punkte punkte(const Gewichte& g) {
    Punkte p;
    p.ausgleich = g.ausgleich;          // per tenth away from the required hours
    p.kontinuitaet = 20.0 * g.kontinuitaet;  // per lesson
    p.klasse = 20.0 * g.wenigelehrer;   // per teacher in a class
    p.fach = 10.0 * g.wenigelehrer;     // per further teacher of a subject in a class
    p.wunsch = 10.0 * g.wunsch;         // per lesson
    // Above all: filling a tenth must outweigh whatever it costs elsewhere.
    p.offen = 4.0 * p.ausgleich + 2.0 * (p.klasse + p.fach) + p.kontinuitaet + p.wunsch + 10.0;
    return p;
}

// The steps of being below the required hours, in tenths: the first two
// hours cost once, the next three twice, the rest four times; above costs thrice.
constexpr std::int64_t kStufe1 = 20, kStufe2 = 30;

void modellbauen(Modell& m, const Problem& pr, const Vorjahr& vj, const Verteilung& v, const Punkte& pt) {
    const std::size_t n = pr.anteile.size();
    double konstante = 0;
    m.x.resize(n);
    std::vector<std::vector<std::pair<int, double>>> last(pr.lehrer.size());
    std::map<std::tuple<int, int, int>, std::vector<int>> fachglieder;
    std::map<std::pair<int, int>, std::vector<int>> klassenglieder;
    for (std::size_t a = 0; a < n; ++a) {
        const Anteil& an = pr.anteile[a];
        const std::string& klasse = v.Classes[static_cast<std::size_t>(an.c)].name;
        const std::string fach = static_cast<std::size_t>(an.s) < v.faecher().size() ? v.faecher()[static_cast<std::size_t>(an.s)].kurz : "";
        const double offen = pt.offen * static_cast<double>(an.h);
        konstante += offen;
        bool kont = false, wunsch = false;
        std::vector<double> kosten;
        for (int t : an.kandidaten) {
            const auto ut = static_cast<std::size_t>(t);
            double k = -offen;
            if (vj.hatte(klasse, fach, pr.lehrer[ut].code)) {
                k -= pt.kontinuitaet;
                kont = true;
            }
            if (static_cast<std::size_t>(an.s) < pr.stufen[ut].size() && pr.stufen[ut][static_cast<std::size_t>(an.s)] == Stufe::wunsch) {
                k -= pt.wunsch;
                wunsch = true;
            }
            kosten.push_back(k);
        }
        m.kosten.push_back(kosten);
        if (kont) konstante += pt.kontinuitaet;
        if (wunsch) konstante += pt.wunsch;
        std::vector<std::pair<int, double>> eins;
        for (std::size_t k = 0; k < an.kandidaten.size(); ++k) {
            const int t = an.kandidaten[k];
            const int col = m.mip.spalte(kosten[k], 0, 1, true);
            m.x[a].push_back(col);
            eins.push_back({col, 1.0});
            last[static_cast<std::size_t>(t)].push_back({col, static_cast<double>(an.h)});
            if (!pr.festklasse.count({an.c, t})) klassenglieder[{an.c, t}].push_back(col);
            if (pr.fachanteile.at({an.c, an.s}) > 1 && !pr.festfach.count({an.c, an.s, t}))
                fachglieder[{an.c, an.s, t}].push_back(col);
        }
        m.zeile.push_back(eins.empty() ? -1 : m.mip.zeile(eins, an.vorher >= 0 ? 1.0 : -Mip::kUnendlich, 1.0));
    }
    // One row per class and teacher (and per subject of a class and
    // teacher), not one per lesson: the relaxation is weaker, but small
    // enough to be solved again at every node.
    std::vector<std::pair<int, int>> schnitte;
    for (const auto& [ct, glieder] : klassenglieder) {
        // A teacher who can take only one lesson of the class: its column says it all.
        if (glieder.size() == 1) {
            m.mip.kostenplus(glieder[0], pt.klasse);
            continue;
        }
        const int y = m.mip.spalte(pt.klasse, 0, 1, true);
        m.y[ct] = y;
        std::vector<std::pair<int, double>> zeile;
        for (int col : glieder) {
            zeile.push_back({col, 1.0});
            schnitte.push_back({col, y});
        }
        zeile.push_back({y, -static_cast<double>(glieder.size())});
        m.mip.zeile(zeile, -Mip::kUnendlich, 0.0);
    }
    for (const auto& [cst, glieder] : fachglieder) {
        if (glieder.size() == 1) {
            m.mip.kostenplus(glieder[0], pt.fach);
            continue;
        }
        const int zf = m.mip.spalte(pt.fach, 0, 1, true);
        m.zfach[cst] = zf;
        std::vector<std::pair<int, double>> zeile;
        for (int col : glieder) {
            zeile.push_back({col, 1.0});
            schnitte.push_back({col, zf});
        }
        zeile.push_back({zf, -static_cast<double>(glieder.size())});
        m.mip.zeile(zeile, -Mip::kUnendlich, 0.0);
    }
    m.mip.schnitte(std::move(schnitte));
    m.d.assign(pr.lehrer.size(), {-1, -1, -1, -1});
    for (std::size_t t = 0; t < pr.lehrer.size(); ++t) {
        if (last[t].empty()) continue;
        const Lehrkraft& l = pr.lehrer[t];
        // assigned - over + under = required - fixed; over stays within the capacity.
        auto& d = m.d[t];
        d[0] = m.mip.spalte(3.0 * pt.ausgleich, 0, static_cast<double>(l.fest + l.kap - l.soll), false);
        d[1] = m.mip.spalte(pt.ausgleich, 0, kStufe1, false);
        d[2] = m.mip.spalte(2.0 * pt.ausgleich, 0, kStufe2, false);
        d[3] = m.mip.spalte(4.0 * pt.ausgleich, 0, Mip::kUnendlich, false);
        auto glieder = last[t];
        glieder.push_back({d[0], -1.0});
        for (int k = 1; k < 4; ++k) glieder.push_back({d[static_cast<std::size_t>(k)], 1.0});
        const double rechts = static_cast<double>(l.soll - l.fest);
        m.mip.zeile(glieder, rechts, rechts);
    }
    m.mip.konstante(konstante);
}

// The column values of an assignment, for the solver to start from and to
// measure the greedy rule with the same objective.
std::vector<double> spaltenwerte(const Modell& m, const Problem& pr, const Zuordnung& z) {
    std::vector<double> w(static_cast<std::size_t>(m.mip.spalten()), 0.0);
    std::vector<std::int64_t> last(pr.lehrer.size(), 0);
    for (std::size_t a = 0; a < z.size(); ++a) {
        if (z[a] < 0) continue;
        const Anteil& an = pr.anteile[a];
        const auto it = std::find(an.kandidaten.begin(), an.kandidaten.end(), z[a]);
        w[static_cast<std::size_t>(m.x[a][static_cast<std::size_t>(it - an.kandidaten.begin())])] = 1.0;
        last[static_cast<std::size_t>(z[a])] += an.h;
        if (auto y = m.y.find({an.c, z[a]}); y != m.y.end()) w[static_cast<std::size_t>(y->second)] = 1.0;
        if (auto f = m.zfach.find({an.c, an.s, z[a]}); f != m.zfach.end()) w[static_cast<std::size_t>(f->second)] = 1.0;
    }
    for (std::size_t t = 0; t < pr.lehrer.size(); ++t) {
        const auto& d = m.d[t];
        if (d[0] < 0) continue;
        const std::int64_t abw = pr.lehrer[t].fest + last[t] - pr.lehrer[t].soll;
        std::int64_t unter = std::max<std::int64_t>(0, -abw);
        w[static_cast<std::size_t>(d[0])] = static_cast<double>(std::max<std::int64_t>(0, abw));
        const std::int64_t s1 = std::min(unter, kStufe1);
        unter -= s1;
        const std::int64_t s2 = std::min(unter, kStufe2);
        unter -= s2;
        w[static_cast<std::size_t>(d[1])] = static_cast<double>(s1);
        w[static_cast<std::size_t>(d[2])] = static_cast<double>(s2);
        w[static_cast<std::size_t>(d[3])] = static_cast<double>(unter);
    }
    return w;
}

// The relaxation rounded: the lessons in the greedy rule's order, each to
// the candidate the relaxation gives most of it that still has the hours.
Zuordnung runden(const Modell& m, const Problem& pr) {
    std::vector<std::vector<double>> lp(m.x.size());
    for (std::size_t a = 0; a < m.x.size(); ++a)
        for (int col : m.x[a]) lp[a].push_back(m.mip.lpwert(col));
    Zuordnung z(pr.anteile.size(), -1);
    std::vector<std::int64_t> last(pr.lehrer.size()), rest(pr.lehrer.size());
    for (std::size_t t = 0; t < pr.lehrer.size(); ++t) {
        rest[t] = pr.lehrer[t].kap;
        last[t] = pr.lehrer[t].fest;
    }
    auffuellen(pr, z, last, rest, &lp);
    // A lesson of an overloaded teacher never ends open.
    for (std::size_t a = 0; a < z.size(); ++a)
        if (z[a] < 0 && pr.anteile[a].vorher >= 0) return {};
    return z;
}

Zuordnung auslesenwerte(const Modell& m, const Problem& pr, const std::vector<double>& w) {
    Zuordnung z(pr.anteile.size(), -1);
    for (std::size_t a = 0; a < z.size(); ++a)
        for (std::size_t k = 0; k < m.x[a].size(); ++k)
            if (w[static_cast<std::size_t>(m.x[a][k])] > 0.5) z[a] = pr.anteile[a].kandidaten[k];
    return z;
}

Zuordnung auslesen(const Modell& m, const Problem& pr) { return auslesenwerte(m, pr, m.mip.werte()); }

std::vector<Eintrag> alseintraege(const Problem& pr, const Zuordnung& z) {
    std::vector<Eintrag> e;
    for (std::size_t a = 0; a < z.size(); ++a)
        if (z[a] >= 0 && z[a] != pr.anteile[a].vorher)
            e.push_back({pr.anteile[a].c, pr.anteile[a].r, pr.lehrer[static_cast<std::size_t>(z[a])].code});
    return e;
}

std::int64_t offenestunden(const Problem& pr, const Zuordnung& z) {
    std::int64_t h = 0;
    for (std::size_t a = 0; a < z.size(); ++a)
        if (z[a] < 0) h += pr.anteile[a].h;
    return h;
}

bool ausgleichzuerst(const Gewichte& gw) { return gw.ausgleich >= std::max({gw.kontinuitaet, gw.wenigelehrer, gw.wunsch}); }

// The sum of deviations from the required hours with z.
std::int64_t abweichungssumme(const Problem& pr, const Zuordnung& z) {
    std::vector<std::int64_t> last(pr.lehrer.size());
    for (std::size_t t = 0; t < pr.lehrer.size(); ++t) last[t] = pr.lehrer[t].fest - pr.lehrer[t].soll;
    for (std::size_t a = 0; a < z.size(); ++a)
        if (z[a] >= 0) last[static_cast<std::size_t>(z[a])] += pr.anteile[a].h;
    std::int64_t summe = 0;
    for (std::int64_t d : last) summe += std::abs(d);
    return summe;
}

// Whether z leaves no more hours open than the greedy rule g and, while
// balance weighs at least as much as any other aim, no larger sum of
// deviations from the required hours: the objective weighs both, but only
// among other aims, and the proposal must never lose what the simple rule
// gets right.
bool nichtschlechter(const Problem& pr, const Zuordnung& z, const Zuordnung& g, const Gewichte& gw) {
    return offenestunden(pr, z) <= offenestunden(pr, g) && (!ausgleichzuerst(gw) || abweichungssumme(pr, z) <= abweichungssumme(pr, g));
}

// The sum of deviations over all teachers of pr at most erlaubt, as a row;
// a teacher without a lesson in the program keeps the deviation they have.
void abweichungsgrenze(Modell& m, const Problem& pr, std::int64_t erlaubt) {
    std::vector<std::pair<int, double>> abweichung;
    for (std::size_t t = 0; t < pr.lehrer.size(); ++t) {
        if (m.d[t][0] < 0) {
            erlaubt -= std::abs(pr.lehrer[t].fest - pr.lehrer[t].soll);
            continue;
        }
        for (int col : m.d[t]) abweichung.push_back({col, 1.0});
    }
    if (abweichung.empty()) return;
    m.abwzeile = m.mip.zeile(abweichung, -Mip::kUnendlich, static_cast<double>(erlaubt));
    m.erlaubt = static_cast<double>(erlaubt);
}

// What the proposal must not lose against the greedy rule g, as a row of the
// program: with balance first, no larger sum of deviations (open hours it
// never loses: they cost more than anything else). The bound then is the
// bound of the proposals nux may make.
void grenzensetzen(Modell& m, const Problem& pr, const Zuordnung& g, const Gewichte& gw) {
    if (ausgleichzuerst(gw)) abweichungsgrenze(m, pr, abweichungssumme(pr, g));
}

// Whether z is a solution of the program: every teacher a candidate of the
// lesson and within the capacity, no lesson of an overloaded teacher open.
bool zulaessig(const Problem& pr, const Zuordnung& z) {
    if (z.size() != pr.anteile.size()) return false;
    std::vector<std::int64_t> last(pr.lehrer.size(), 0);
    for (std::size_t a = 0; a < z.size(); ++a) {
        const Anteil& an = pr.anteile[a];
        if (z[a] < 0) {
            if (an.vorher >= 0) return false;
            continue;
        }
        if (std::find(an.kandidaten.begin(), an.kandidaten.end(), z[a]) == an.kandidaten.end()) return false;
        last[static_cast<std::size_t>(z[a])] += an.h;
    }
    for (std::size_t t = 0; t < pr.lehrer.size(); ++t)
        if (last[t] > pr.lehrer[t].kap) return false;
    return true;
}

// The deviation of a teacher from the required hours as the program weighs it.
double abweichungskosten(std::int64_t abw, double ausgleich) {
    if (abw > 0) return 3.0 * ausgleich * static_cast<double>(abw);
    std::int64_t u = -abw;
    const std::int64_t s1 = std::min(u, kStufe1);
    u -= s1;
    const std::int64_t s2 = std::min(u, kStufe2);
    u -= s2;
    return ausgleich * static_cast<double>(s1 + 2 * s2 + 4 * u);
}

// A lower bound on the program by Lagrange: the rows "at most one teacher
// per lesson" and the sum of deviations go into the objective with prices;
// what is left falls apart into one problem per teacher (which lessons,
// within the capacity, with the costs of each class and subject taught and
// of the deviation from the required hours), solved exactly by dynamic
// programming over the hours. Every set of prices gives a bound; the
// relaxation's duals start, a subgradient search raises them until the
// deadline. Tighter than the relaxation where lessons do not divide.
double lagrangeschranke(const Modell& m, const Problem& pr, const Punkte& pt, double oben, Uhr::time_point frist) {
    const std::size_t n = pr.anteile.size(), nt = pr.lehrer.size();
    struct Posten {
        std::size_t a;
        std::int64_t h;   // in steps of the teacher's grid
        double kosten;    // the lesson's own cost
        double klasse, fach;  // what opening the class, the subject costs
    };
    struct Block {
        std::size_t von, bis;  // postens of one subject of a class
        bool neueklasse;       // the first subject of its class
    };
    struct Lehrerdp {
        std::vector<Posten> posten;
        std::vector<Block> bloecke;
        std::int64_t schritt = 1, grenze = 0;  // tenths per step, steps of the capacity
    };
    std::vector<Lehrerdp> dp(nt);
    {
        std::vector<std::vector<std::tuple<int, int, std::size_t, int>>> roh(nt);  // (class, subject, lesson, candidate)
        for (std::size_t a = 0; a < n; ++a)
            for (std::size_t k = 0; k < pr.anteile[a].kandidaten.size(); ++k)
                roh[static_cast<std::size_t>(pr.anteile[a].kandidaten[k])].push_back({pr.anteile[a].c, pr.anteile[a].s, a, static_cast<int>(k)});
        for (std::size_t t = 0; t < nt; ++t) {
            auto& r = roh[t];
            if (r.empty()) continue;
            std::sort(r.begin(), r.end());
            Lehrerdp& d = dp[t];
            std::int64_t g = pr.lehrer[t].kap;
            for (const auto& [c, s, a, k] : r) g = std::gcd(g, pr.anteile[a].h);
            d.schritt = std::max<std::int64_t>(1, g);
            d.grenze = pr.lehrer[t].kap / d.schritt;
            for (std::size_t i = 0; i < r.size(); ++i) {
                const auto& [c, s, a, k] = r[i];
                const bool klassezaehlt = !pr.festklasse.count({c, static_cast<int>(t)});
                const bool fachzaehlt = pr.fachanteile.at({c, s}) > 1 && !pr.festfach.count({c, s, static_cast<int>(t)});
                d.posten.push_back({a, pr.anteile[a].h / d.schritt, m.kosten[a][static_cast<std::size_t>(k)],
                                    klassezaehlt ? pt.klasse : 0.0, fachzaehlt ? pt.fach : 0.0});
                const bool neuklasse = i == 0 || std::get<0>(r[i - 1]) != c;
                if (neuklasse || std::get<1>(r[i - 1]) != s) d.bloecke.push_back({i, i, neuklasse});
                d.bloecke.back().bis = i + 1;
            }
        }
    }
    std::vector<double> preis(n, 0.0);
    for (std::size_t a = 0; a < n; ++a)
        if (m.zeile[a] >= 0) preis[a] = -m.mip.lpdual(m.zeile[a]);
    double mu = m.abwzeile >= 0 ? std::max(0.0, -m.mip.lpdual(m.abwzeile)) : 0.0;
    // Per teacher the best lessons at the prices: the value and the choice.
    constexpr double kInf = std::numeric_limits<double>::infinity();
    std::vector<double> F, A, B, C, neu;
    std::vector<std::uint8_t> wahl, ausc, ausb;
    const auto lehrerwert = [&](std::size_t t, std::vector<int>& haeufig, std::int64_t& abwsumme) {
        const Lehrerdp& d = dp[t];
        const Lehrkraft& l = pr.lehrer[t];
        const auto abweichung = [&](std::int64_t w) { return l.fest + w * d.schritt - l.soll; };
        if (d.posten.empty()) return 0.0;
        const std::size_t W = static_cast<std::size_t>(d.grenze) + 1;
        F.assign(W, kInf);
        F[0] = 0;
        wahl.assign(d.posten.size() * W, 0);
        ausc.assign(d.bloecke.size() * W, 0);  // B after the block from C
        ausb.assign(d.bloecke.size() * W, 0);  // F after the class from B (at the class's last block)
        for (std::size_t bi = 0; bi < d.bloecke.size(); ++bi) {
            const Block& bl = d.bloecke[bi];
            if (bl.neueklasse) {
                A = F;
                B.assign(W, kInf);
            }
            C.assign(W, kInf);
            for (std::size_t i = bl.von; i < bl.bis; ++i) {
                const Posten& p = d.posten[i];
                const double q = p.kosten + preis[p.a];
                neu = C;
                const auto h = static_cast<std::size_t>(p.h);
                for (std::size_t w = h; w < W; ++w) {
                    double& ziel = neu[w];
                    std::uint8_t& wo = wahl[i * W + w];
                    if (C[w - h] + q < ziel) { ziel = C[w - h] + q; wo = 1; }
                    if (A[w - h] + q + p.klasse + p.fach < ziel) { ziel = A[w - h] + q + p.klasse + p.fach; wo = 2; }
                    if (B[w - h] + q + p.fach < ziel) { ziel = B[w - h] + q + p.fach; wo = 3; }
                }
                C.swap(neu);
            }
            for (std::size_t w = 0; w < W; ++w)
                if (C[w] < B[w]) {
                    B[w] = C[w];
                    ausc[bi * W + w] = 1;
                }
            const bool letzte = bi + 1 == d.bloecke.size() || d.bloecke[bi + 1].neueklasse;
            if (letzte)
                for (std::size_t w = 0; w < W; ++w) {
                    F[w] = A[w];
                    if (B[w] < F[w]) {
                        F[w] = B[w];
                        ausb[bi * W + w] = 1;
                    }
                }
        }
        double bester = kInf;
        std::size_t w = 0;
        for (std::size_t x = 0; x < W; ++x) {
            if (!std::isfinite(F[x])) continue;
            const std::int64_t abw = abweichung(static_cast<std::int64_t>(x));
            const double v = F[x] + abweichungskosten(abw, pt.ausgleich) + mu * static_cast<double>(std::abs(abw));
            if (v < bester) {
                bester = v;
                w = x;
            }
        }
        abwsumme += std::abs(abweichung(static_cast<std::int64_t>(w)));
        // Back through the choices: which lessons make the best value.
        std::size_t bi = d.bloecke.size();
        while (bi > 0) {
            --bi;
            // bi is the last block of its class
            if (!ausb[bi * W + w]) {
                while (bi > 0 && !d.bloecke[bi].neueklasse) --bi;
                continue;
            }
            bool inb = true;  // in B after block bi
            for (;;) {
                const Block& bl = d.bloecke[bi];
                bool ina = false;
                if (inb && ausc[bi * W + w]) {
                    inb = false;
                    for (std::size_t i = bl.bis; i-- > bl.von;) {
                        const std::uint8_t wo = wahl[i * W + w];
                        if (wo == 0) continue;
                        ++haeufig[d.posten[i].a];
                        w -= static_cast<std::size_t>(d.posten[i].h);
                        if (wo == 2) { ina = true; break; }
                        if (wo == 3) { inb = true; break; }
                    }
                }
                if (ina || bl.neueklasse) {
                    while (bi > 0 && !d.bloecke[bi].neueklasse) --bi;
                    break;
                }
                --bi;
            }
        }
        return bester;
    };
    std::vector<int> haeufig(n);
    double beste = -kInf, schritt = 1.0;
    int ohne = 0;
    for (int runde = 0; runde < 400 && Uhr::now() < frist; ++runde) {
        std::fill(haeufig.begin(), haeufig.end(), 0);
        std::int64_t abwsumme = 0;
        double wert = m.mip.konstante();
        for (std::size_t t = 0; t < nt; ++t) wert += lehrerwert(t, haeufig, abwsumme);
        for (std::size_t a = 0; a < n; ++a)
            if (m.zeile[a] >= 0) wert -= preis[a];
        if (m.abwzeile >= 0) wert -= mu * m.erlaubt;
        if (wert > beste + 1e-9) {
            beste = wert;
            ohne = 0;
        } else if (++ohne >= 5) {
            // Stuck: smaller steps, and where they no longer help, the end.
            schritt /= 2;
            ohne = 0;
            if (schritt < 1.0 / 64) break;
        }
        // The subgradient, where a price can still move.
        double norm = 0;
        std::vector<double> g(n, 0.0);
        for (std::size_t a = 0; a < n; ++a) {
            if (m.zeile[a] < 0) continue;
            g[a] = haeufig[a] - 1;
            if (pr.anteile[a].vorher < 0 && preis[a] <= 0 && g[a] < 0) g[a] = 0;
            norm += g[a] * g[a];
        }
        double gmu = 0;
        if (m.abwzeile >= 0) {
            gmu = static_cast<double>(abwsumme) - m.erlaubt;
            if (mu <= 0 && gmu < 0) gmu = 0;
            norm += gmu * gmu;
        }
        if (norm == 0 || oben - wert <= 1e-6 * std::abs(oben)) break;
        const double s = schritt * (oben - wert) / norm;
        for (std::size_t a = 0; a < n; ++a) {
            if (m.zeile[a] < 0) continue;
            preis[a] += s * g[a];
            if (pr.anteile[a].vorher < 0) preis[a] = std::max(0.0, preis[a]);
        }
        mu = std::max(0.0, mu + s * gmu);
    }
    // Rounding in the sums must not lift the bound above the truth.
    return beste - 1e-7 * std::abs(beste);
}

// A local search on an assignment before the solver sees it: lessons move
// to another candidate, two lessons swap their teachers, or an open lesson
// gets a teacher who hands one of theirs on. A step is taken when it comes
// closer to what the greedy rule g achieves (open hours, and with balance
// first the sum of deviations) or, as close, lowers the objective; the
// steps are tried in a fixed order, so the same data give the same result
// as long as the deadline does not end the search. With stossen, kicks
// then lead out of the local optimum.
Zuordnung verbessern(const Modell& m, const Problem& pr, const Punkte& pt, Zuordnung z, const Zuordnung& g,
                     const Gewichte& gw, Uhr::time_point frist, bool stossen = true) {
    const std::size_t n = pr.anteile.size(), nt = pr.lehrer.size();
    if (z.size() != n) return z;
    const bool balance = ausgleichzuerst(gw);
    // Dense indexes of the classes and of the (class, subject) pairs of the lessons.
    std::map<std::pair<int, int>, int> fachid;
    int nk = 0;
    for (const Anteil& an : pr.anteile) {
        nk = std::max(nk, an.c + 1);
        fachid.emplace(std::pair{an.c, an.s}, static_cast<int>(fachid.size()));
    }
    std::vector<int> fid(n);
    std::vector<std::vector<char>> zaehltklasse(n), zaehltfach(n);
    std::vector<std::vector<int>> kandidatvon(nt);  // lessons t may take
    for (std::size_t a = 0; a < n; ++a) {
        const Anteil& an = pr.anteile[a];
        fid[a] = fachid.at({an.c, an.s});
        for (int t : an.kandidaten) {
            zaehltklasse[a].push_back(!pr.festklasse.count({an.c, t}));
            zaehltfach[a].push_back(pr.fachanteile.at({an.c, an.s}) > 1 && !pr.festfach.count({an.c, an.s, t}));
            kandidatvon[static_cast<std::size_t>(t)].push_back(static_cast<int>(a));
        }
    }
    std::vector<int> kz(n, -1), imklasse(static_cast<std::size_t>(nk) * nt, 0), imfach(fachid.size() * nt, 0);
    std::vector<std::int64_t> last(nt);
    for (std::size_t t = 0; t < nt; ++t) last[t] = pr.lehrer[t].fest;
    std::int64_t offen = 0, abwsumme = 0;
    for (std::size_t t = 0; t < nt; ++t) abwsumme += std::abs(last[t] - pr.lehrer[t].soll);
    const auto abw = [&](std::size_t t) { return last[t] - pr.lehrer[t].soll; };
    // Puts lesson a to its k-th candidate (-1: open) and returns what the objective changes by.
    const auto setzen = [&](std::size_t a, int k) {
        const Anteil& an = pr.anteile[a];
        double delta = 0;
        const auto weg = [&](int kk, int sign) {
            const auto t = static_cast<std::size_t>(an.kandidaten[static_cast<std::size_t>(kk)]);
            delta += sign * m.kosten[a][static_cast<std::size_t>(kk)];
            int& ik = imklasse[static_cast<std::size_t>(an.c) * nt + t];
            int& ifa = imfach[static_cast<std::size_t>(fid[a]) * nt + t];
            if (sign < 0) {
                if (zaehltklasse[a][static_cast<std::size_t>(kk)] && --ik == 0) delta -= pt.klasse;
                if (zaehltfach[a][static_cast<std::size_t>(kk)] && --ifa == 0) delta -= pt.fach;
            } else {
                if (zaehltklasse[a][static_cast<std::size_t>(kk)] && ik++ == 0) delta += pt.klasse;
                if (zaehltfach[a][static_cast<std::size_t>(kk)] && ifa++ == 0) delta += pt.fach;
            }
            const double vor = abweichungskosten(abw(t), pt.ausgleich);
            abwsumme -= std::abs(abw(t));
            last[t] += sign * an.h;
            abwsumme += std::abs(abw(t));
            delta += abweichungskosten(abw(t), pt.ausgleich) - vor;
        };
        if (kz[a] >= 0) weg(kz[a], -1); else offen -= an.h;
        kz[a] = k;
        if (k >= 0) weg(k, +1); else offen += an.h;
        return delta;
    };
    for (std::size_t a = 0; a < n; ++a) {
        kz[a] = -1;
        offen += pr.anteile[a].h;
        if (z[a] < 0) continue;
        const auto& kand = pr.anteile[a].kandidaten;
        setzen(a, static_cast<int>(std::find(kand.begin(), kand.end(), z[a]) - kand.begin()));
    }
    std::int64_t offeng = 0, abwg = 0;
    {
        std::vector<std::int64_t> lg(nt);
        for (std::size_t t = 0; t < nt; ++t) lg[t] = pr.lehrer[t].fest;
        for (std::size_t a = 0; a < n; ++a)
            if (g[a] >= 0) lg[static_cast<std::size_t>(g[a])] += pr.anteile[a].h; else offeng += pr.anteile[a].h;
        for (std::size_t t = 0; t < nt; ++t) abwg += std::abs(lg[t] - pr.lehrer[t].soll);
    }
    const auto verfehlt = [&] {
        return std::max<std::int64_t>(0, offen - offeng) + (balance ? std::max<std::int64_t>(0, abwsumme - abwg) : 0);
    };
    const auto passt = [&](std::size_t t) { return last[t] <= pr.lehrer[t].fest + pr.lehrer[t].kap; };
    const auto kandidat = [&](std::size_t a, int t) {
        const auto& kand = pr.anteile[a].kandidaten;
        const auto it = std::find(kand.begin(), kand.end(), t);
        return it == kand.end() ? -1 : static_cast<int>(it - kand.begin());
    };
    double stand = 0;  // the objective, relative to the start
    // Tries the steps (lesson, candidate) together and keeps them when they help.
    std::vector<std::pair<std::size_t, int>> alt;
    const auto versuchen = [&](const std::vector<std::pair<std::size_t, int>>& schritte) {
        const std::int64_t v0 = verfehlt();
        alt.clear();
        double delta = 0;
        for (const auto& [a, k] : schritte) {
            alt.push_back({a, kz[a]});
            delta += setzen(a, k);
        }
        bool ok = true;
        for (const auto& [a, k] : schritte)
            if (k >= 0) ok = ok && passt(static_cast<std::size_t>(pr.anteile[a].kandidaten[static_cast<std::size_t>(k)]));
        const std::int64_t v1 = verfehlt();
        if (ok && (v1 < v0 || (v1 == v0 && delta < -1e-6))) {
            stand += delta;
            return true;
        }
        for (auto it = alt.rbegin(); it != alt.rend(); ++it) setzen(it->first, it->second);
        return false;
    };
    // The steps for one lesson: to another candidate, or where that one has
    // no room, a swap with one of theirs or one of theirs handed on.
    const auto schritt = [&](std::size_t a) {
        const Anteil& an = pr.anteile[a];
        bool besser = false;
        for (int k = 0; k < static_cast<int>(an.kandidaten.size()); ++k) {
            if (k == kz[a]) continue;
            const auto t2 = static_cast<std::size_t>(an.kandidaten[static_cast<std::size_t>(k)]);
            if (last[t2] + an.h <= pr.lehrer[t2].fest + pr.lehrer[t2].kap) {
                besser |= versuchen({{a, k}});
                continue;
            }
            for (int b : kandidatvon[t2]) {
                const auto ub = static_cast<std::size_t>(b);
                if (ub == a || kz[ub] < 0 || pr.anteile[ub].kandidaten[static_cast<std::size_t>(kz[ub])] != static_cast<int>(t2)) continue;
                bool weiter = false;
                if (kz[a] >= 0) {
                    const int kb = kandidat(ub, an.kandidaten[static_cast<std::size_t>(kz[a])]);
                    weiter = kb >= 0 && versuchen({{a, k}, {ub, kb}});
                } else {
                    for (int kb = 0; kb < static_cast<int>(pr.anteile[ub].kandidaten.size()) && !weiter; ++kb)
                        if (kb != kz[ub]) weiter = versuchen({{ub, kb}, {a, k}});
                    // A smaller open lesson of theirs for the larger one: fewer hours stay open.
                    if (!weiter && pr.anteile[ub].vorher < 0 && pr.anteile[ub].h < an.h) weiter = versuchen({{ub, -1}, {a, k}});
                }
                if (weiter) {
                    besser = true;
                    break;
                }
            }
            if (k == kz[a]) break;
        }
        return besser;
    };
    // All lessons a teacher has in a class to another teacher at once: one
    // teacher fewer there, which no single step can achieve.
    std::vector<std::pair<std::size_t, int>> gruppe;
    const auto klassenschritte = [&] {
        std::map<std::pair<int, int>, std::vector<std::size_t>> inklasse;
        for (std::size_t a = 0; a < n; ++a)
            if (kz[a] >= 0) inklasse[{pr.anteile[a].c, pr.anteile[a].kandidaten[static_cast<std::size_t>(kz[a])]}].push_back(a);
        bool besser = false;
        for (const auto& [ct, liste] : inklasse) {
            if (Uhr::now() >= frist) break;
            for (int t2 : pr.anteile[liste[0]].kandidaten) {
                if (t2 == ct.second) continue;
                gruppe.clear();
                std::int64_t h = 0;
                for (std::size_t a : liste) {
                    const int k = kandidat(a, t2);
                    if (k < 0 || kz[a] < 0 || pr.anteile[a].kandidaten[static_cast<std::size_t>(kz[a])] != ct.second) break;
                    gruppe.push_back({a, k});
                    h += pr.anteile[a].h;
                }
                if (gruppe.size() != liste.size() || last[static_cast<std::size_t>(t2)] + h > pr.lehrer[static_cast<std::size_t>(t2)].fest + pr.lehrer[static_cast<std::size_t>(t2)].kap) continue;
                if (versuchen(gruppe)) {
                    besser = true;
                    break;
                }
            }
        }
        return besser;
    };
    for (int runde = 0; runde < 50 && Uhr::now() < frist; ++runde) {
        bool besser = false;
        for (std::size_t a = 0; a < n; ++a) {
            besser |= schritt(a);
            if ((a & 63) == 0 && Uhr::now() >= frist) break;
        }
        besser |= klassenschritte();
        if (!besser) break;
    }
    // Out of the local optimum: a lesson is pushed to another candidate and
    // the lessons of both teachers settle again; what ends worse is undone.
    // A fixed generator and a fixed number of kicks keep the result the same.
    std::uint32_t zufall = 2026;
    const auto wuerfeln = [&](std::uint32_t m) {
        zufall = zufall * 1103515245u + 12345u;
        return ((zufall >> 16) & 0x7FFF) % m;
    };
    std::vector<int> bestes = kz;
    double bester = stand;
    std::vector<std::size_t> umfeld;
    for (std::size_t stoss = 0; stoss < (stossen ? 20 * n : 0) && Uhr::now() < frist; ++stoss) {
        const auto a = static_cast<std::size_t>(wuerfeln(static_cast<std::uint32_t>(n)));
        const Anteil& an = pr.anteile[a];
        if (an.kandidaten.empty()) continue;
        const int k = static_cast<int>(wuerfeln(static_cast<std::uint32_t>(an.kandidaten.size())));
        const auto t2 = static_cast<std::size_t>(an.kandidaten[static_cast<std::size_t>(k)]);
        const std::int64_t v0 = verfehlt();
        if (kz[a] < 0) {
            // An open lesson goes in, and one of the teacher's makes room;
            // the settling then looks for a place for that one.
            const std::int64_t frei = pr.lehrer[t2].fest + pr.lehrer[t2].kap - last[t2];
            const auto& liste = kandidatvon[t2];
            std::size_t raus = n;
            for (std::size_t i = 0, ab = wuerfeln(static_cast<std::uint32_t>(liste.size())); i < liste.size() && frei < an.h; ++i) {
                const auto b = static_cast<std::size_t>(liste[(ab + i) % liste.size()]);
                if (kz[b] >= 0 && pr.anteile[b].kandidaten[static_cast<std::size_t>(kz[b])] == static_cast<int>(t2) &&
                    pr.anteile[b].vorher < 0 && frei + pr.anteile[b].h >= an.h) {
                    raus = b;
                    break;
                }
            }
            if (frei < an.h && raus == n) continue;
            if (raus < n) stand += setzen(raus, -1);
            stand += setzen(a, k);
            umfeld.clear();
            if (raus < n)
                for (int t : pr.anteile[raus].kandidaten) umfeld.insert(umfeld.end(), kandidatvon[static_cast<std::size_t>(t)].begin(), kandidatvon[static_cast<std::size_t>(t)].end());
            umfeld.insert(umfeld.end(), liste.begin(), liste.end());
        } else {
            const auto t1 = static_cast<std::size_t>(an.kandidaten[static_cast<std::size_t>(kz[a])]);
            if (t1 == t2 || last[t2] + an.h > pr.lehrer[t2].fest + pr.lehrer[t2].kap) continue;
            stand += setzen(a, k);
            umfeld.assign(kandidatvon[t1].begin(), kandidatvon[t1].end());
            umfeld.insert(umfeld.end(), kandidatvon[t2].begin(), kandidatvon[t2].end());
        }
        for (int runde = 0; runde < 3; ++runde) {
            bool besser = false;
            for (std::size_t b : umfeld) besser |= schritt(b);
            if (!besser) break;
        }
        if (verfehlt() <= v0 && stand < bester - 1e-6) {
            bester = stand;
            bestes = kz;
        } else if (stand > bester + 1e-6 || verfehlt() > v0) {
            for (std::size_t b = 0; b < n; ++b)
                if (kz[b] != bestes[b] && bestes[b] < 0) stand += setzen(b, -1);
            for (std::size_t b = 0; b < n; ++b)
                if (kz[b] != bestes[b]) stand += setzen(b, bestes[b]);
        }
    }
    kz = bestes;
    for (std::size_t a = 0; a < n; ++a) z[a] = kz[a] < 0 ? -1 : pr.anteile[a].kandidaten[static_cast<std::size_t>(kz[a])];
    return z;
}


// The problem cut down to some of its lessons.
Problem teilproblem(const Problem& pr, const std::vector<std::size_t>& anteile) {
    Problem tp;
    tp.lehrer = pr.lehrer;
    tp.festklasse = pr.festklasse;
    tp.festfach = pr.festfach;
    tp.fachanteile = pr.fachanteile;
    tp.stufen = pr.stufen;
    for (std::size_t a : anteile) tp.anteile.push_back(pr.anteile[a]);
    return tp;
}

// Large neighbourhoods: the lessons of a few teachers who share subjects,
// and the open lessons they could take, weighed anew by the solver while
// everything else stays; what lowers the objective is kept. The objective
// falls apart by teachers, so the part decides for the whole. Neighbourhoods
// follow a fixed order, so the same data give the same result as long as
// the deadline does not end the search. melden hears the best after each part.
Zuordnung nachbarschaften(const Modell& m, const Problem& pr, const Vorjahr& vj, const Verteilung& v, const Punkte& pt,
                          Zuordnung z, const Zuordnung& gz, const Gewichte& gw, Uhr::time_point frist,
                          const std::atomic<bool>* abbrechen, const std::function<void(double)>& melden) {
    const std::size_t n = pr.anteile.size(), nt = pr.lehrer.size();
    const std::int64_t abwg = abweichungssumme(pr, gz);
    // Who can take a lesson of the same subject as whom.
    std::vector<std::set<int>> nachbarn(nt);
    {
        std::map<int, std::set<int>> fachlehrer;
        for (const Anteil& an : pr.anteile) fachlehrer[an.s].insert(an.kandidaten.begin(), an.kandidaten.end());
        for (const auto& [s, ts] : fachlehrer)
            for (int t : ts) nachbarn[static_cast<std::size_t>(t)].insert(ts.begin(), ts.end());
    }
    double bestes = m.mip.bewerten(spaltenwerte(m, pr, z));
    // Twelve teachers with their lessons: the solver weighs a part that size in a tenth of a second.
    const std::size_t groesse = std::min<std::size_t>(nt, 12);
    // A part weighed once is not weighed again as long as nothing in it changed.
    std::set<std::uint64_t> gewogen;
    std::size_t zuletztbesser = 0;
    // Seeds spread over the list: a stride that meets every teacher once in nt parts.
    std::size_t sprung = 37;
    while (std::gcd(sprung, nt) != 1) ++sprung;
    for (std::size_t r = 0; Uhr::now() < frist && r < zuletztbesser + nt; ++r) {
        if (abbrechen && abbrechen->load()) throw Vorschlagsabbruch();
        // Breadth first from a seed, in list order.
        const std::size_t saat = (r * sprung) % nt;
        std::vector<char> drin(nt, 0);
        std::vector<int> kreis{static_cast<int>(saat)};
        drin[saat] = 1;
        for (std::size_t i = 0; i < kreis.size() && kreis.size() < groesse; ++i)
            for (int t : nachbarn[static_cast<std::size_t>(kreis[i])]) {
                if (kreis.size() >= groesse) break;
                if (!drin[static_cast<std::size_t>(t)]) {
                    drin[static_cast<std::size_t>(t)] = 1;
                    kreis.push_back(t);
                }
            }
        if (kreis.size() < 2) continue;
        std::vector<std::size_t> frei;
        for (std::size_t a = 0; a < n; ++a) {
            const auto& k = pr.anteile[a].kandidaten;
            if (z[a] >= 0 ? drin[static_cast<std::size_t>(z[a])]
                          : std::any_of(k.begin(), k.end(), [&](int t) { return drin[static_cast<std::size_t>(t)]; }))
                frei.push_back(a);
        }
        if (frei.empty()) continue;
        Problem tp = teilproblem(pr, frei);
        for (std::size_t a = 0; a < n; ++a)
            if (z[a] >= 0 && !drin[static_cast<std::size_t>(z[a])]) {
                tp.lehrer[static_cast<std::size_t>(z[a])].fest += pr.anteile[a].h;
                tp.lehrer[static_cast<std::size_t>(z[a])].kap -= pr.anteile[a].h;
            }
        Zuordnung tz(frei.size());
        for (std::size_t i = 0; i < frei.size(); ++i) {
            std::erase_if(tp.anteile[i].kandidaten, [&](int t) { return !drin[static_cast<std::size_t>(t)]; });
            tz[i] = z[frei[i]];
        }
        std::uint64_t schluessel = 1469598103934665603ull;
        const auto mischen = [&](std::int64_t x) { schluessel = (schluessel ^ static_cast<std::uint64_t>(x)) * 1099511628211ull; };
        for (std::size_t t = 0; t < nt; ++t) mischen(drin[t] ? -1 : tp.lehrer[t].fest);
        for (std::size_t i = 0; i < frei.size(); ++i) {
            mischen(static_cast<std::int64_t>(frei[i]));
            mischen(tz[i]);
        }
        if (!gewogen.insert(schluessel).second) continue;
        Modell tm;
        modellbauen(tm, tp, vj, v, pt);
        if (ausgleichzuerst(gw)) abweichungsgrenze(tm, tp, abwg);
        Mip::Einstellung e;
        e.zeitgrenze_ms = std::max(1, static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(frist - Uhr::now()).count()));
        e.knotengrenze = 150;
        e.luecke = 1e-4;
        e.start = spaltenwerte(tm, tp, tz);
        e.abbrechen = abbrechen;
        const Mip::Ausgang aus = tm.mip.loesen(e);
        if (aus == Mip::Ausgang::abgebrochen) throw Vorschlagsabbruch();
        if (aus == Mip::Ausgang::keine) continue;
        Zuordnung nz = z;
        const Zuordnung bz = auslesen(tm, tp);
        for (std::size_t i = 0; i < frei.size(); ++i) nz[frei[i]] = bz[i];
        if (!zulaessig(pr, nz) || !nichtschlechter(pr, nz, gz, gw)) continue;
        const double wert = m.mip.bewerten(spaltenwerte(m, pr, nz));
        if (wert < bestes - 1e-6) {
            bestes = wert;
            z = std::move(nz);
            zuletztbesser = r + 1;
        }
        if (melden) melden(bestes);
    }
    return z;
}

}  // namespace

bool Vorjahr::hatte(std::string_view klasse, std::string_view fach, std::string_view code) const {
    const auto it = lehrer.find({trimmen(klasse), fachschluessel(fach)});
    if (it == lehrer.end()) return false;
    const std::string k = lehrerschluessel(code);
    return std::find(it->second.begin(), it->second.end(), k) != it->second.end();
}

Vorjahr vorjahrbilden(const Herkunft& h, const std::vector<Klassensatz>& alt,
                      const std::vector<Fachsatz>& faecheralt, const std::vector<Klassensatz>& neu) {
    Vorjahr vj;
    for (const Klassensatz& k : neu) {
        const std::string name = trimmen(k.name);
        const auto vor = h.vorgaenger(name);
        if (!vor) continue;
        const auto it = std::find_if(alt.begin(), alt.end(), [&](const Klassensatz& a) { return trimmen(a.name) == *vor; });
        if (it == alt.end()) continue;
        for (int s = 0; s < kFaecherMax && static_cast<std::size_t>(s) < faecheralt.size(); ++s)
            for (int j = 1; j <= kSlots; ++j) {
                if (it->h(j, s) == 0 || !istcode(it->l(j, s))) continue;
                auto& liste = vj.lehrer[{name, fachschluessel(faecheralt[static_cast<std::size_t>(s)].kurz)}];
                const std::string code = lehrerschluessel(it->l(j, s));
                if (std::find(liste.begin(), liste.end(), code) == liste.end()) liste.push_back(code);
            }
    }
    return vj;
}

Vorjahr vorjahrladen(const std::string& jahr, const std::vector<Klassensatz>& neu) {
    const auto h = herkunftladen(jahr);
    if (!h || h->quelle.empty() || h->quelle == jahr) return {};
    const std::string k = h->quelle + "/klassen", f = h->quelle + "/faecher";
    if (!std::filesystem::exists(k) || !std::filesystem::exists(f)) return {};
    return vorjahrbilden(*h, laden<Klassensatz>(k), laden<Fachsatz>(f), neu);
}

double Vorschlag::luecke() const {
    if (ziel <= 0 || schranke >= ziel) return 0;
    return (ziel - std::max(0.0, schranke)) / ziel;
}

std::string Vorschlag::ueberschrift() const {
    const std::size_t n = zeilen.size(), o = offen.size();
    return std::to_string(n) + (n == 1 ? " Unterricht" : " Unterrichte") + " vorgeschlagen, " + std::to_string(o) +
           (o == 1 ? " bleibt" : " bleiben") + " offen; " + guetetext() + ".";
}

std::string Vorschlag::guetetext() const {
    const double prozent = luecke() * 100.0;
    if (prozent < 0.05) return std::string("das bestmögliche Ergebnis");
    // Rounded up: "höchstens" must hold.
    const auto zehntel = static_cast<std::int64_t>(std::ceil(prozent * 10.0 - 1e-9));
    return std::string("höchstens ") + zehntelganz(zehntel, 1) + std::string(" % vom bestmöglichen Ergebnis entfernt");
}

std::vector<Eintrag> gierig(const Verteilung& v, const Befaehigungen& b, const Umfang& u) {
    const Problem pr = aufstellen(v, b, u);
    return alseintraege(pr, gierigloesen(pr));
}

Kennzahlen zaehlen(const Verteilung& v, const std::vector<Eintrag>& neu, const Vorjahr& vj, const Umfang& u) {
    const int nk = v.klassenzahl(), nr = v.zeilenzahl();
    std::vector<std::string> lehrer(static_cast<std::size_t>(std::max(0, nk * nr)));
    for (int c = 0; c < nk; ++c)
        for (int r = 0; r < nr; ++r) lehrer[static_cast<std::size_t>(c * nr + r)] = trimmen(v.zelle(c, r).lehrer);
    std::unordered_map<std::string, std::int64_t> abweichung;  // assigned - required, first line of a code
    std::vector<std::string> codes;
    for (int p = 1; v.lehrerzeile(p); ++p) {
        const std::string code = trimmen(teil(v.verfuegbar()[static_cast<std::size_t>(p)], 1, 4));
        if (abweichung.emplace(code, -v.verfuegbarestunden(p)).second) codes.push_back(code);
    }
    for (const Eintrag& e : neu) {
        if (e.c < 0 || e.c >= nk || e.r < 0 || e.r >= nr) continue;
        std::string& l = lehrer[static_cast<std::size_t>(e.c * nr + e.r)];
        const std::int64_t h = v.zelle(e.c, e.r).stunden;
        if (auto it = abweichung.find(l); it != abweichung.end()) it->second -= h;
        l = trimmen(e.lehrer);
        if (auto it = abweichung.find(l); it != abweichung.end()) it->second += h;
    }
    std::vector<char> imumfang(static_cast<std::size_t>(std::max(nk, 0)), u.nurauswahl ? 0 : 1);
    for (int c : u.klassen)
        if (u.nurauswahl && c >= 0 && c < nk) imumfang[static_cast<std::size_t>(c)] = 1;
    Kennzahlen k;
    for (const std::string& code : codes) {
        const std::int64_t a = abweichung[code];
        k.abweichung += std::abs(a);
        k.groesste = std::max(k.groesste, std::abs(a));
        if (a > 0) ++k.ueber;
    }
    int klassen = 0, paare = 0;
    for (int c = 0; c < nk; ++c) {
        std::set<std::string> inklasse;
        bool lektionen = false;
        for (int r = 0; r < nr; ++r) {
            const Zelle& z = v.zelle(c, r);
            if (!z.sichtbar()) continue;
            lektionen = true;
            const std::string& l = lehrer[static_cast<std::size_t>(c * nr + r)];
            if (l == "--") {
                if (imumfang[static_cast<std::size_t>(c)]) k.offen += z.stunden;
                continue;
            }
            inklasse.insert(l);
            const int s = v.RowKeys[static_cast<std::size_t>(c)][static_cast<std::size_t>(r)] / 10;
            if (static_cast<std::size_t>(s) < v.faecher().size() &&
                vj.hatte(v.Classes[static_cast<std::size_t>(c)].name, v.faecher()[static_cast<std::size_t>(s)].kurz, l))
                ++k.behalten;
        }
        if (lektionen) {
            ++klassen;
            paare += static_cast<int>(inklasse.size());
        }
    }
    k.lehrerjeklasse = klassen ? static_cast<double>(paare) / klassen : 0.0;
    return k;
}

std::vector<Eintrag> eintraege(const Vorschlag& v, const std::vector<bool>& haken) {
    std::vector<Eintrag> e;
    for (std::size_t i = 0; i < v.zeilen.size(); ++i)
        if (i >= haken.size() || haken[i]) e.push_back({v.zeilen[i].c, v.zeilen[i].r, v.zeilen[i].lehrer});
    return e;
}

Vorschlag vorschlagen(const Verteilung& v, const Befaehigungen& b, const Vorjahr& vj, const Umfang& u,
                      const Gewichte& g, const Steuerung& st) {
    const auto pruefe = [&] {
        if (st.abbrechen && st.abbrechen->load()) throw Vorschlagsabbruch();
    };
    const auto melde = [&](int prozent, const std::string& text) {
        if (st.melden) st.melden(prozent, text);
    };
    for (int w : {g.ausgleich, g.kontinuitaet, g.wenigelehrer, g.wunsch})
        if (w < 0 || w > 10) throw Vorschlagsfehler(kGewichtBereich);
    if (g.ausgleich + g.kontinuitaet + g.wenigelehrer + g.wunsch == 0)
        throw Vorschlagsfehler(kGewichteNull);

    Vorschlag vs;
    auto uhr = Uhr::now();
    melde(0, "Das Modell wird aufgebaut ...");
    const Problem pr = aufstellen(v, b, u);
    pruefe();
    const Zuordnung gz = gierigloesen(pr);
    Modell m;
    const Punkte pt = punkte(g);
    modellbauen(m, pr, vj, v, pt);
    const std::vector<double> start = spaltenwerte(m, pr, gz);
    grenzensetzen(m, pr, gz, g);
    vs.anteile = static_cast<int>(pr.anteile.size());
    vs.variablen = m.mip.spalten();
    vs.msmodell = ms(uhr);
    pruefe();

    uhr = Uhr::now();
    melde(5, std::string("Der Löser sucht die beste Verteilung ..."));
    // Small programs get little time: a proposal should come at once where it can.
    // Large ones get what the planner can wait for: about four seconds for 1,700 lessons.
    const double n = static_cast<double>(pr.anteile.size());
    const int budget = std::clamp(static_cast<int>(std::max(1.5 * n, 2.4 * n - 300)), 300, std::max(300, st.zeitgrenze_ms));
    // The better of the greedy rule and the rounded relaxation is where the search starts.
    std::vector<double> anfang = start;
    double aziel = m.mip.bewerten(start);
    const auto nehmen = [&](const Zuordnung& kz) {
        if (!zulaessig(pr, kz) || !nichtschlechter(pr, kz, gz, g)) return;
        std::vector<double> w = spaltenwerte(m, pr, kz);
        const double wz = m.mip.bewerten(w);
        if (wz < aziel - 1e-6) {
            aziel = wz;
            anfang = std::move(w);
        }
    };
    const auto frist = [&](double anteil) { return uhr + std::chrono::milliseconds(static_cast<int>(anteil * budget)); };
    const auto spaeter = [&](double anteil) { return Uhr::now() + std::chrono::milliseconds(static_cast<int>(anteil * budget)); };
    const auto fortschritt = [&](double bester, double schranke) {
        const double anteil = std::min(1.0, ms(uhr) / budget);
        std::string text = std::string("Der Löser sucht die beste Verteilung ...");
        if (std::isfinite(bester) && bester > 0)
            text += std::string(" höchstens ") + zehntelganz(static_cast<std::int64_t>(std::ceil(std::max(0.0, (bester - std::max(0.0, schranke)) / bester) * 1000)), 1) +
                    std::string(" % vom bestmöglichen Ergebnis entfernt");
        melde(5 + static_cast<int>(85 * anteil), text);
    };
    nehmen(verbessern(m, pr, pt, gz, gz, g, frist(0.05), false));
    double lagrange = -Mip::kUnendlich;
    if (m.mip.relaxieren(budget)) {
        lagrange = lagrangeschranke(m, pr, pt, aziel, spaeter(0.1));
        pruefe();
        const Zuordnung rz = runden(m, pr);
        if (!rz.empty()) {
            nehmen(rz);
            nehmen(verbessern(m, pr, pt, rz, gz, g, spaeter(0.05), false));
        }
    }
    pruefe();
    vs.schrankelagrange = lagrange;
    const double schranke0 = std::max(lagrange, m.mip.schranke());
    fortschritt(aziel, schranke0);
    // The parts most of the time goes to: where subjects run short, or last
    // year's teacher has no room, only many lessons moving together help.
    nehmen(nachbarschaften(m, pr, vj, v, pt, auslesenwerte(m, pr, anfang), gz, g, frist(0.8), st.abbrechen,
                           [&](double bester) { fortschritt(bester, schranke0); }));
    pruefe();
    // The search of the whole program lifts the bound and may still find better.
    Mip::Einstellung e;
    // A tenth of the budget stays for polishing what the search finds.
    e.zeitgrenze_ms = std::max(1, budget - budget / 10 - static_cast<int>(ms(uhr)));
    e.knotengrenze = st.knotengrenze;
    e.luecke = st.luecke;
    e.start = anfang;
    e.abbrechen = st.abbrechen;
    e.melden = [&](double bester, double schranke) { fortschritt(bester, std::max(schranke, schranke0)); };
    const Mip::Ausgang aus = m.mip.loesen(e);
    if (aus == Mip::Ausgang::abgebrochen) throw Vorschlagsabbruch();
    vs.msloesen = ms(uhr);

    uhr = Uhr::now();
    melde(92, std::string("Die Vorschau wird erstellt ..."));
    // The greedy rule measured with the same objective.
    vs.zielgierig = m.mip.bewerten(start);
    Zuordnung z = gz;
    vs.ziel = vs.zielgierig;
    vs.schranke = std::max(lagrange, std::min(vs.zielgierig, m.mip.schranke()));
    if (aus != Mip::Ausgang::keine) {
        // What the search left is polished once more; the bound stays the solver's.
        Zuordnung mz = auslesen(m, pr);
        if (aus != Mip::Ausgang::optimal) {
            const auto polieren = Uhr::now();
            Zuordnung pz = verbessern(m, pr, pt, mz, gz, g, Uhr::now() + std::chrono::milliseconds(std::max(20, budget / 10)));
            if (zulaessig(pr, pz)) mz = std::move(pz);
            // Part of solving, not of the preview.
            const double p = ms(polieren);
            vs.msloesen += p;
            uhr += std::chrono::duration_cast<Uhr::duration>(std::chrono::duration<double, std::milli>(p));
        }
        const double mziel = m.mip.bewerten(spaltenwerte(m, pr, mz));
        if (mziel <= vs.zielgierig + 1e-6 && nichtschlechter(pr, mz, gz, g)) {
            z = mz;
            vs.ziel = mziel;
            vs.vomloeser = true;
        }
        vs.bewiesen = aus == Mip::Ausgang::optimal;
        vs.schranke = std::max(lagrange, std::min(vs.ziel, m.mip.schranke()));
    }

    const std::vector<Eintrag> neu = alseintraege(pr, z);
    vs.vorher = zaehlen(v, {}, vj, u);
    vs.nachher = zaehlen(v, neu, vj, u);
    vs.gierig = zaehlen(v, alseintraege(pr, gz), vj, u);

    std::vector<std::int64_t> last(pr.lehrer.size());
    for (std::size_t t = 0; t < pr.lehrer.size(); ++t) last[t] = pr.lehrer[t].last;
    for (std::size_t a = 0; a < z.size(); ++a) {
        const Anteil& an = pr.anteile[a];
        const std::string klasse = trimmen(v.Classes[static_cast<std::size_t>(an.c)].name);
        const std::string fach = static_cast<std::size_t>(an.s) < v.faecher().size() ? trimmen(v.faecher()[static_cast<std::size_t>(an.s)].name) : "";
        if (z[a] < 0) {
            vs.offen.push_back({an.c, an.r, klasse, fach, an.j, an.h, {}});
            continue;
        }
        if (z[a] == an.vorher) continue;
        const auto t = static_cast<std::size_t>(z[a]);
        Vorschlagszeile zl{an.c, an.r, klasse, fach, an.j, an.h, pr.lehrer[t].code,
                           an.vorher >= 0 ? pr.lehrer[static_cast<std::size_t>(an.vorher)].code : "--", {}};
        std::vector<std::string> warum;
        if (static_cast<std::size_t>(an.s) < pr.stufen[t].size() && pr.stufen[t][static_cast<std::size_t>(an.s)] == Stufe::wunsch)
            warum.push_back("Wunschfach");
        if (static_cast<std::size_t>(an.s) < v.faecher().size() && vj.hatte(klasse, v.faecher()[static_cast<std::size_t>(an.s)].kurz, pr.lehrer[t].code))
            warum.push_back("hatte die Klasse letztes Jahr");
        warum.push_back(stundentext(pr.lehrer[t].soll - pr.lehrer[t].last) + " Stunden frei");
        for (std::size_t i = 0; i < warum.size(); ++i) zl.warum += (i ? ", " : "") + warum[i];
        vs.zeilen.push_back(std::move(zl));
    }
    if (!vs.offen.empty()) {
        // What stays open, named by the bottleneck of the grid as the proposal leaves it.
        Verteilung danach = v;
        for (const Eintrag& en : neu) {
            if (!danach.zelle(en.c, en.r).frei()) danach.austragen(en.c, en.r);
            danach.eintragen(en.c, en.r, danach.lehrerposition(en.lehrer));
        }
        const Pruefung pf = pruefen(danach, b);
        for (Offenzeile& o : vs.offen) {
            const int s = v.RowKeys[static_cast<std::size_t>(o.c)][static_cast<std::size_t>(o.r)] / 10;
            for (const Engpass& en : pf.engpaesse)
                if (std::find(en.faecher.begin(), en.faecher.end(), s) != en.faecher.end()) {
                    o.grund = en.text();
                    break;
                }
            if (o.grund.empty())
                o.grund = "keine befähigte Lehrkraft hat noch " + stundentext(o.stunden) + " Stunden am Stück frei";
        }
    }
    vs.msvorschau = ms(uhr);
    melde(100, std::string("Fertig."));
    return vs;
}

namespace {

// A message of the core (UTF-8) for a workbook, whose texts are Windows-1252:
// the letters of Latin-1 and the quotation marks and dash the messages use.
std::string alscp(std::string_view u) {
    std::string r;
    for (std::size_t i = 0; i < u.size(); ++i) {
        const auto b = static_cast<unsigned char>(u[i]);
        if (b < 0x80) {
            r += static_cast<char>(b);
        } else if ((b == 0xC2 || b == 0xC3) && i + 1 < u.size()) {
            r += static_cast<char>((b == 0xC3 ? 0xC0 : 0x80) + (static_cast<unsigned char>(u[++i]) & 0x3F));
        } else if (b == 0xE2 && i + 2 < u.size() && static_cast<unsigned char>(u[i + 1]) == 0x80) {
            const auto c = static_cast<unsigned char>(u[i + 2]);
            r += c == 0x9E ? '\x84' : c == 0x9C ? '\x93' : c == 0x93 ? '\x96' : c == 0xA6 ? '\x85' : '?';
            i += 2;
        } else {
            r += '?';
        }
    }
    return r;
}

std::string komma(double x) {
    std::string t = std::to_string(static_cast<std::int64_t>(std::llround(x * 100)));
    while (t.size() < 3) t.insert(0, "0");
    return t.substr(0, t.size() - 2) + "," + t.substr(t.size() - 2);
}

using Z = Mappenzelle;

Mappenblatt kopfblatt(const std::string& name, const std::string& titel, std::vector<Z> kopf, std::vector<int> breiten) {
    Mappenblatt b = tabellenblatt(name, titel, "Ein Vorschlag von nux, nicht gespeichert: die Daten bleiben, wie sie sind.",
                                  std::move(kopf), std::move(breiten));
    b.filterzeile = 3;
    return b;
}

}  // namespace

Mappe vorschlagsmappe(const Vorschlag& v, const std::string& jahr) {
    Mappe m;
    m.titel = "Vorschlag " + jahr;
    Mappenblatt zeilen = kopfblatt("Vorschlag", "Vorschlag f\xFCr " + jahr + ": " + alscp(v.guetetext()),
                                   {Z::t("Klasse"), Z::t("Fach"), Z::t("Anteil"), Z::t("Stunden"), Z::t("Lehrkraft"), Z::t("bisher"), Z::t("warum")},
                                   {7, 24, 7, 8, 9, 7, 48});
    for (const auto& z : v.zeilen)
        zeilen.zeilen.push_back({Z::t(z.klasse), Z::t(z.fach), Z::n(z.anteil), Z::h(z.stunden), Z::t(z.lehrer), Z::t(z.vorher), Z::t(z.warum)});
    Mappenblatt offen = kopfblatt("Offen", "Was offen bleibt", {Z::t("Klasse"), Z::t("Fach"), Z::t("Anteil"), Z::t("Stunden"), Z::t("warum")},
                                  {7, 24, 7, 8, 70});
    for (const auto& o : v.offen)
        offen.zeilen.push_back({Z::t(o.klasse), Z::t(o.fach), Z::n(o.anteil), Z::h(o.stunden), Z::t(alscp(o.grund))});
    Mappenblatt zahlen = kopfblatt("Kennzahlen", "Kennzahlen", {Z::t(""), Z::t("vorher"), Z::t("Vorschlag"), Z::t("gierige Regel")}, {30, 12, 12, 14});
    zahlen.filterzeile = -1;
    const auto drei = [&](const char* name, auto f) {
        zahlen.zeilen.push_back({Z::t(name), f(v.vorher), f(v.nachher), f(v.gierig)});
    };
    drei("offene Stunden", [](const Kennzahlen& k) { return Z::h(k.offen); });
    drei("Abweichung vom Soll, Summe", [](const Kennzahlen& k) { return Z::h(k.abweichung); });
    drei("gr\xF6\xDF" "te Abweichung vom Soll", [](const Kennzahlen& k) { return Z::h(k.groesste); });
    drei("Lehrkr\xE4" "fte \xFC" "ber dem Soll", [](const Kennzahlen& k) { return Z::n(k.ueber); });
    drei("Unterrichte wie letztes Jahr", [](const Kennzahlen& k) { return Z::n(k.behalten); });
    drei("Lehrkr\xE4" "fte je Klasse", [](const Kennzahlen& k) { return Z::t(komma(k.lehrerjeklasse)); });
    m.blaetter = {std::move(zeilen), std::move(offen), std::move(zahlen)};
    return m;
}

std::string vorschlagstext(const Vorschlag& v) {
    const auto h = [](std::int64_t z) { return zehntelganz(z, 9); };
    const auto n = [](std::int64_t z) { const std::string s = std::to_string(z); return std::string(s.size() < 9 ? 9 - s.size() : 0, ' ') + s; };
    std::string t = v.ueberschrift() + "\n";
    t += "                                vorher Vorschlag   gierig\n";
    const auto zeile = [&](const std::string& name, const std::string& a, const std::string& b, const std::string& c) {
        std::string links = name;
        // Padded by characters, not bytes: the names hold umlauts.
        std::size_t zeichen = 0;
        for (unsigned char ch : links) zeichen += (ch & 0xC0) != 0x80;
        links.append(zeichen < 29 ? 29 - zeichen : 0, ' ');
        t += links + a + b + c + "\n";
    };
    zeile("offene Stunden", h(v.vorher.offen), h(v.nachher.offen), h(v.gierig.offen));
    zeile("Abweichung vom Soll, Summe", h(v.vorher.abweichung), h(v.nachher.abweichung), h(v.gierig.abweichung));
    zeile("größte Abweichung vom Soll", h(v.vorher.groesste), h(v.nachher.groesste), h(v.gierig.groesste));
    zeile("Lehrkräfte über dem Soll", n(v.vorher.ueber), n(v.nachher.ueber), n(v.gierig.ueber));
    zeile("Unterrichte wie letztes Jahr", n(v.vorher.behalten), n(v.nachher.behalten), n(v.gierig.behalten));
    const auto k = [](double x) { std::string s = komma(x); return std::string(s.size() < 9 ? 9 - s.size() : 0, ' ') + s; };
    zeile("Lehrkräfte je Klasse", k(v.vorher.lehrerjeklasse), k(v.nachher.lehrerjeklasse), k(v.gierig.lehrerjeklasse));
    return t;
}

}  // namespace nux
