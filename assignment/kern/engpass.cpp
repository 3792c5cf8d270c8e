#include "assignment/kern/engpass.h"

#include <lemon/list_graph.h>
#include <lemon/preflow.h>

#include <algorithm>
#include <map>
#include <numeric>
#include <queue>

#include "storage/text.h"

namespace nux {
namespace {

using Graph = lemon::ListDigraph;

std::string stunden(std::int64_t v) { return trimmen(zehntelzeigen(v, 20)); }

std::string aufzaehlung(const std::vector<std::string>& teile) {
    std::string t;
    for (std::size_t i = 0; i < teile.size(); ++i) {
        if (i > 0) t += i + 1 == teile.size() ? " und " : ", ";
        t += teile[i];
    }
    return t;
}

struct Lehrkraft {
    std::string kurz;
    std::int64_t frei = 0;  // never below 0: a teacher above the required hours has nothing to give
};

// Smallest index of a union-find class, with path halving.
std::size_t wurzel(std::vector<std::size_t>& eltern, std::size_t i) {
    while (eltern[i] != i) i = eltern[i] = eltern[eltern[i]];
    return i;
}

}  // namespace

std::string Engpass::text() const {
    std::string t = aufzaehlung(namen) + ": " + stunden(fehlt) + (fehlt == 10 ? " Stunde fehlt" : " Stunden fehlen");
    if (lehrer.empty()) return t + ", keine bef\xE4higte Lehrkraft frei";
    constexpr std::size_t kHoechstens = 8;
    t += "; nur ";
    for (std::size_t i = 0; i < lehrer.size() && i < kHoechstens; ++i) t += (i > 0 ? ", " : "") + lehrer[i];
    if (lehrer.size() > kHoechstens) t += " und " + std::to_string(lehrer.size() - kHoechstens) + " weitere";
    return t;
}

Pruefung pruefen(const Verteilung& v, const Befaehigungen& b) {
    Pruefung erg;
    const auto& faecher = v.faecher();

    // Subjects in the order of the grid's rows; the rows are the same in every class.
    std::map<int, std::size_t> fachstelle;
    if (v.klassenzahl() > 0)
        for (int r = 0; r < v.zeilenzahl(); ++r) {
            const int s = v.RowKeys[0][static_cast<std::size_t>(r)] / 10;
            if (s < 0 || s >= static_cast<int>(faecher.size()) || fachstelle.count(s)) continue;
            fachstelle[s] = erg.faecher.size();
            Fachbedarf f;
            f.fach = s;
            f.kurz = fachschluessel(faecher[static_cast<std::size_t>(s)].kurz);
            f.name = faecher[static_cast<std::size_t>(s)].name;
            erg.faecher.push_back(std::move(f));
        }
    for (int c = 0; c < v.klassenzahl(); ++c)
        for (int r = 0; r < v.zeilenzahl(); ++r) {
            const Zelle& z = v.zelle(c, r);
            if (!z.sichtbar()) continue;
            const auto it = fachstelle.find(v.RowKeys[static_cast<std::size_t>(c)][static_cast<std::size_t>(r)] / 10);
            if (it == fachstelle.end()) continue;
            Fachbedarf& f = erg.faecher[it->second];
            f.verlangt += z.stunden;
            (z.frei() ? f.offen : f.zugeordnet) += z.stunden;
        }
    // A subject whose rows hold no hours in any class asks for nothing.
    std::erase_if(erg.faecher, [](const Fachbedarf& f) { return f.verlangt == 0; });

    std::vector<Lehrkraft> lehrer;
    for (int p = 1; v.lehrerzeile(p); ++p)
        lehrer.push_back({trimmen(teil(v.verfuegbar()[static_cast<std::size_t>(p)], 1, 4)),
                          std::max<std::int64_t>(0, v.verfuegbarestunden(p))});

    // qualifiziert[i] = teachers (by position) qualified for subject i.
    std::vector<std::vector<std::size_t>> qualifiziert(erg.faecher.size());
    for (std::size_t i = 0; i < erg.faecher.size(); ++i) {
        Fachbedarf& f = erg.faecher[i];
        for (std::size_t l = 0; l < lehrer.size(); ++l)
            if (b.stufe(lehrer[l].kurz, f.kurz) != Stufe::keine) {
                qualifiziert[i].push_back(l);
                f.lehrer.push_back(lehrer[l].kurz);
                f.frei += lehrer[l].frei;
            }
        erg.offen += f.offen;
    }

    // open hours -> subject -> qualified teacher -> free hours. The middle
    // arcs carry all open hours, so that no cut ever runs through them.
    Graph g;
    Graph::ArcMap<std::int64_t> kapazitaet(g);
    const Graph::Node quelle = g.addNode();
    const Graph::Node senke = g.addNode();
    std::vector<Graph::Node> fachknoten(erg.faecher.size(), lemon::INVALID);
    std::vector<Graph::Node> lehrerknoten(lehrer.size(), lemon::INVALID);
    std::vector<Graph::Arc> senkenbogen(lehrer.size(), lemon::INVALID);
    const std::int64_t unbegrenzt = erg.offen + 1;
    for (std::size_t i = 0; i < erg.faecher.size(); ++i) {
        if (erg.faecher[i].offen <= 0) continue;
        fachknoten[i] = g.addNode();
        kapazitaet[g.addArc(quelle, fachknoten[i])] = erg.faecher[i].offen;
        for (const std::size_t l : qualifiziert[i]) {
            if (lehrer[l].frei <= 0) continue;
            if (lehrerknoten[l] == lemon::INVALID) {
                lehrerknoten[l] = g.addNode();
                senkenbogen[l] = g.addArc(lehrerknoten[l], senke);
                kapazitaet[senkenbogen[l]] = lehrer[l].frei;
            }
            kapazitaet[g.addArc(fachknoten[i], lehrerknoten[l])] = unbegrenzt;
        }
    }
    lemon::Preflow<Graph, Graph::ArcMap<std::int64_t>> fluss(g, kapazitaet, quelle, senke);
    fluss.run();
    erg.deckbar = fluss.flowValue();
    if (erg.ausreichend()) return erg;

    // What the source still reaches in the residual graph is the smallest
    // side of a minimum cut: exactly the subjects that cannot be covered
    // together, with every teacher they could draw on used up.
    Graph::NodeMap<bool> erreicht(g, false);
    std::queue<Graph::Node> offen;
    erreicht[quelle] = true;
    offen.push(quelle);
    while (!offen.empty()) {
        const Graph::Node n = offen.front();
        offen.pop();
        for (Graph::OutArcIt a(g, n); a != lemon::INVALID; ++a)
            if (!erreicht[g.target(a)] && fluss.flow(a) < kapazitaet[a]) {
                erreicht[g.target(a)] = true;
                offen.push(g.target(a));
            }
        for (Graph::InArcIt a(g, n); a != lemon::INVALID; ++a)
            if (!erreicht[g.source(a)] && fluss.flow(a) > 0) {
                erreicht[g.source(a)] = true;
                offen.push(g.source(a));
            }
    }

    // Subjects that share a teacher lack hours together; apart, each group
    // lacks its own.
    const std::size_t nf = erg.faecher.size();
    std::vector<std::size_t> eltern(nf);
    std::iota(eltern.begin(), eltern.end(), 0);
    std::vector<std::size_t> ersterfach(lehrer.size(), nf);
    for (std::size_t i = 0; i < nf; ++i) {
        if (fachknoten[i] == lemon::INVALID || !erreicht[fachknoten[i]]) continue;
        for (const std::size_t l : qualifiziert[i]) {
            if (lehrerknoten[l] == lemon::INVALID) continue;
            if (ersterfach[l] == nf)
                ersterfach[l] = i;
            else
                eltern[wurzel(eltern, i)] = wurzel(eltern, ersterfach[l]);
        }
    }
    std::map<std::size_t, Engpass> gruppen;
    for (std::size_t i = 0; i < nf; ++i) {
        if (fachknoten[i] == lemon::INVALID || !erreicht[fachknoten[i]]) continue;
        Engpass& e = gruppen[wurzel(eltern, i)];
        e.faecher.push_back(erg.faecher[i].fach);
        e.namen.push_back(trimmen(erg.faecher[i].name));
        e.fehlt += erg.faecher[i].offen;
    }
    for (std::size_t l = 0; l < lehrer.size(); ++l) {
        if (ersterfach[l] == nf) continue;
        Engpass& e = gruppen[wurzel(eltern, ersterfach[l])];
        e.lehrer.push_back(lehrer[l].kurz);
        e.fehlt -= lehrer[l].frei;
    }
    for (auto& [w, e] : gruppen)
        if (e.fehlt > 0) erg.engpaesse.push_back(std::move(e));
    std::stable_sort(erg.engpaesse.begin(), erg.engpaesse.end(),
                     [](const Engpass& a, const Engpass& b) { return a.fehlt > b.fehlt; });
    return erg;
}

}  // namespace nux
