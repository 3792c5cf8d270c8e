#include "years/kern/vergleich.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <tuple>

#include "assignment/kern/verteilung.h"
#include "storage/datei.h"
#include "storage/dateifehler.h"
#include "storage/jahr.h"
#include "storage/text.h"
#include "years/kern/jahre.h"

namespace nux {

namespace {

using Z = Mappenzelle;

std::string zehntel(std::int64_t zehntel) { return zehntelganz(zehntel, 0); }


bool zurueckgezogen(const std::string& name) { return name.starts_with('#'); }

// A lesson of one class: subject key and share.
using Stundenschluessel = std::pair<std::string, int>;
struct Stunde {
    std::int64_t h = 0;
    std::string lehrer;
};

// The subjects the assignment shows, by index: their key (the short name;
// a second subject of the same short name gets a mark) and their order.
struct Fachschluessel {
    std::vector<std::string> schluessel;  // empty: not counted
    std::map<std::string, int> ordnung;
};
Fachschluessel fachschluessel(const std::vector<Fachsatz>& faecher) {
    Fachschluessel f;
    f.schluessel.resize(std::min<std::size_t>(faecher.size(), kSummenFaecher));
    for (std::size_t s = 0; s < f.schluessel.size(); ++s) {
        const auto& fach = faecher[s];
        if (zurueckgezogen(fach.name) || !fach.unterrichtet) continue;
        std::string k = nux::fachschluessel(fach.kurz);
        while (f.ordnung.count(k)) k += "'";
        f.ordnung[k] = fach.ordnung;
        f.schluessel[s] = k;
    }
    return f;
}

std::map<Stundenschluessel, Stunde> stundenvon(const Klassensatz& k, const Fachschluessel& f) {
    std::map<Stundenschluessel, Stunde> m;
    for (std::size_t s = 0; s < f.schluessel.size(); ++s) {
        if (f.schluessel[s].empty()) continue;
        for (int j = 1; j <= kSlots; ++j)
            if (k.h(j, static_cast<int>(s)) != 0)
                m[{f.schluessel[s], j}] = {k.h(j, static_cast<int>(s)), trimmen(k.l(j, static_cast<int>(s)))};
    }
    return m;
}

struct Summen {
    std::map<std::string, std::int64_t> lehrer;
    std::int64_t offen = 0;
};
Summen summen(const Jahresplan& p, const Fachschluessel& f) {
    Summen su;
    for (const auto& k : p.klassen)
        for (const auto& [_, st] : stundenvon(k, f)) {
            if (st.lehrer.empty())
                su.offen += st.h;
            else
                su.lehrer[st.lehrer] += st.h;
        }
    return su;
}

std::map<std::string, const Lehrersatz*> lehrervon(const Jahresplan& p) {
    std::map<std::string, const Lehrersatz*> m;
    for (const auto& l : p.lehrer)
        if (!zurueckgezogen(l.name) && !trimmen(l.kurz).empty()) m.emplace(trimmen(l.kurz), &l);
    return m;
}

}  // namespace

Jahresplan planladen(const std::string& jahr) {
    Jahresplan p;
    p.jahr = jahr;
    const std::string o = jahr + "/";
    if (dateida(o + "faecher")) p.faecher = laden<Fachsatz>(o + "faecher");
    if (dateida(o + "lehrer")) p.lehrer = laden<Lehrersatz>(o + "lehrer");
    if (dateida(o + "klassen")) p.klassen = laden<Klassensatz>(o + "klassen", kVerteilKlassen);
    p.herkunft = herkunftladen(jahr);
    return p;
}

Planvergleich vergleichen(const Jahresplan& a, const Jahresplan& b) {
    Planvergleich v;
    v.jahrA = a.jahr;
    v.jahrB = b.jahr;
    const Fachschluessel fa = fachschluessel(a.faecher), fb = fachschluessel(b.faecher);

    // Classes: by the mapping of a promotion that made one year from the
    // other, else by name.
    std::vector<std::pair<const Klassensatz*, const Klassensatz*>> paare;
    std::set<const Klassensatz*> vergeben;
    auto klasse = [](const Jahresplan& p, const std::string& name) -> const Klassensatz* {
        for (const auto& k : p.klassen)
            if (trimmen(k.name) == name) return &k;
        return nullptr;
    };
    const bool bausA = b.herkunft && b.herkunft->versetzt && b.herkunft->quelle == a.jahr;
    const bool aausB = !bausA && a.herkunft && a.herkunft->versetzt && a.herkunft->quelle == b.jahr;
    v.versetzt = bausA || aausB;
    for (const auto& kb : b.klassen) {
        const std::string name = trimmen(kb.name);
        std::optional<std::string> partner = name;
        if (bausA) partner = b.herkunft->vorgaenger(name);
        if (aausB) partner = a.herkunft->nachfolger(name);
        const Klassensatz* ka = partner ? klasse(a, *partner) : nullptr;
        if (ka && aausB && a.herkunft->vorgaenger(trimmen(ka->name)) != name) ka = nullptr;
        if (ka && vergeben.insert(ka).second)
            paare.emplace_back(ka, &kb);
        else
            v.nurB.push_back(name);
    }
    for (const auto& ka : a.klassen)
        if (!vergeben.count(&ka)) v.nurA.push_back(trimmen(ka.name));

    // Lessons of the classes both years have.
    using Sortierung = std::tuple<std::string, int, std::string, int>;
    std::vector<std::pair<Sortierung, Stundenvergleich>> liste;
    for (const auto& [ka, kb] : paare) {
        const auto sa = stundenvon(*ka, fa), sb = stundenvon(*kb, fb);
        std::set<Stundenschluessel> alle;
        for (const auto& [k, _] : sa) alle.insert(k);
        for (const auto& [k, _] : sb) alle.insert(k);
        for (const auto& k : alle) {
            const auto ia = sa.find(k), ib = sb.find(k);
            const Stunde x = ia == sa.end() ? Stunde{} : ia->second;
            const Stunde y = ib == sb.end() ? Stunde{} : ib->second;
            if (x.h == y.h && x.lehrer == y.lehrer) continue;
            const auto ob = fb.ordnung.find(k.first);
            const int ordnung = ob != fb.ordnung.end() ? ob->second : 100000 + fa.ordnung.at(k.first);
            liste.push_back({{gross(trimmen(kb->name)), ordnung, k.first, k.second},
                             {trimmen(ka->name), trimmen(kb->name), k.first, k.second, x.lehrer, y.lehrer, x.h, y.h}});
        }
    }
    std::sort(liste.begin(), liste.end(), [](const auto& x, const auto& y) { return x.first < y.first; });
    for (auto& [_, s] : liste) v.stunden.push_back(std::move(s));

    // Teachers: everyone in either teachers file.
    const Summen suA = summen(a, fa), suB = summen(b, fb);
    v.offenA = suA.offen;
    v.offenB = suB.offen;
    const auto la = lehrervon(a), lb = lehrervon(b);
    std::map<std::string, Lehrervergleich> lehrer;
    for (const auto* seite : {&la, &lb})
        for (const auto& [kurz, satz] : *seite) {
            auto& l = lehrer[kurz];
            l.kurz = kurz;
            if (seite == &lb || l.name.empty()) {
                l.name = satz->name;
                l.soll = satz->stunden;
            }
        }
    for (auto& [kurz, l] : lehrer) {
        l.nurA = !lb.count(kurz);
        l.nurB = !la.count(kurz);
        if (const auto it = suA.lehrer.find(kurz); it != suA.lehrer.end()) l.a = it->second;
        if (const auto it = suB.lehrer.find(kurz); it != suB.lehrer.end()) l.b = it->second;
        if (l.a != l.b) ++v.lehrergeaendert;
        v.lehrer.push_back(l);
    }
    std::stable_sort(v.lehrer.begin(), v.lehrer.end(), [](const Lehrervergleich& x, const Lehrervergleich& y) {
        const auto dx = x.differenz() < 0 ? -x.differenz() : x.differenz();
        const auto dy = y.differenz() < 0 ? -y.differenz() : y.differenz();
        if (dx != dy) return dx > dy;
        return textvor(x.kurz, y.kurz);
    });
    return v;
}

std::string Planvergleich::zusammenfassung() const {
    return std::to_string(geaendert()) + " Unterrichte ge\xE4ndert, " + std::to_string(lehrergeaendert) +
           " LehrerInnen mit ge\xE4nderten Stunden, offen: " + zehntel(offenA) + " Std. in " + jahranzeige(jahrA) +
           ", " + zehntel(offenB) + " Std. in " + jahranzeige(jahrB);
}

std::string vergleichpruefen(const std::string& a, const std::string& b) {
    for (const std::string* jahr : {&a, &b})
        if (!jahrform(*jahr) || !ordnerda(*jahr))
            return "\x84" + *jahr + "\x93 ist kein Jahresordner dieses Programmordners.";
    std::error_code ec;
    if (a == b || std::filesystem::equivalent(a, b, ec))
        return "Ein Jahr wird mit sich selbst verglichen: bitte zwei verschiedene Jahre w\xE4hlen.";
    return {};
}

Planvergleich jahrevergleichen(const std::string& a, const std::string& b) {
    if (const auto grund = vergleichpruefen(a, b); !grund.empty()) throw Dateifehler(meldungsutf8(grund));
    return vergleichen(planladen(a), planladen(b));
}

Mappe vergleichsmappe(const Planvergleich& v, const std::string& zeitpunkt) {
    const std::string a = jahranzeige(v.jahrA), b = jahranzeige(v.jahrB);
    auto blatt = [&](const std::string& name, std::vector<Mappenzelle> kopf, std::vector<int> breiten) {
        Mappenblatt bl;
        bl.name = name;
        bl.zeilen.push_back({Z::t("Vergleich " + a + " mit " + b, true)});
        bl.zeilen.push_back({Z::t("Stand " + zeitpunkt + ": " + v.zusammenfassung())});
        bl.zeilen.emplace_back();
        for (auto& z : kopf) z.fett = true;
        bl.zeilen.push_back(std::move(kopf));
        bl.breiten = std::move(breiten);
        bl.festzeilen = 4;
        bl.filterzeile = 3;
        return bl;
    };
    Mappe m;
    m.titel = "Vergleich " + a + " mit " + b;
    Mappenblatt l = blatt("LehrerInnen",
                          {Z::t("K\xFCrzel"), Z::t("Name"), Z::t("Soll"), Z::t("Stunden " + a), Z::t("Stunden " + b),
                           Z::t("Differenz"), Z::t("Hinweis")},
                          {8, 28, 8, 12, 12, 10, 12});
    for (const auto& x : v.lehrer)
        l.zeilen.push_back({Z::t(x.kurz), Z::t(x.name), Z::h(x.soll), Z::h(x.a), Z::h(x.b), Z::h(x.differenz()),
                            Z::t(x.nurA ? "nur in " + a : x.nurB ? "nur in " + b : std::string())});
    m.blaetter.push_back(std::move(l));

    Mappenblatt c = blatt("\xC4nderungen",
                          {Z::t("Klasse " + a), Z::t("Klasse " + b), Z::t("Fach"), Z::t("Anteil"),
                           Z::t("LehrerIn " + a), Z::t("LehrerIn " + b), Z::t("Stunden " + a), Z::t("Stunden " + b)},
                          {10, 10, 8, 8, 12, 12, 12, 12});
    for (const auto& s : v.stunden)
        c.zeilen.push_back({Z::t(s.klasseA), Z::t(s.klasseB), Z::t(s.fach), Z::n(s.anteil), Z::t(s.lehrerA),
                            Z::t(s.lehrerB), Z::h(s.a), Z::h(s.b)});
    c.zeilen.emplace_back();
    for (const auto& [liste, jahr] : {std::pair{&v.nurA, a}, {&v.nurB, b}}) {
        std::string text;
        for (const auto& k : *liste) text += (text.empty() ? "" : ", ") + k;
        c.zeilen.push_back({Z::t("Klassen nur in " + jahr + ":", true), Z::t(text.empty() ? "keine" : text)});
    }
    m.blaetter.push_back(std::move(c));
    return m;
}

std::string vergleichsname(const std::string& stempel, const Planvergleich& v) {
    std::string name = stempel + "_Vergleich";
    for (const auto* jahr : {&v.jahrA, &v.jahrB}) {
        name += '_';
        for (char ch : jahranzeige(*jahr)) {
            const bool gut = (ch >= '0' && ch <= '9') || (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || ch == '-';
            name += gut ? ch : '_';
        }
    }
    return name + ".xlsx";
}

std::vector<Druckseite> vergleichsdruck(const Planvergleich& v, const std::string& datum) {
    constexpr int kLinks = 250, kOben = 250, kUnten = kSeitenhoehe - 250;
    std::vector<Druckseite> seiten;
    int y = kUnten;
    const std::string titel = "Vergleich " + jahranzeige(v.jahrA) + " mit " + jahranzeige(v.jahrB);
    auto seite = [&] {
        seiten.emplace_back();
        auto& s = seiten.back();
        s.groesse(14);
        fettein(s);
        s.text(kLinks, kOben, titel);
        fettaus(s);
        s.groesse(9);
        s.text(kSeitenbreite - 1000, kOben + 40, datum + ", Seite " + std::to_string(seiten.size()));
        y = kOben + 200;
    };
    // Columns in layout units from the left margin.
    auto zeile = [&](const std::vector<std::pair<int, std::string>>& spalten, bool fett = false) {
        if (y + kZeilenabstand > kUnten) seite();
        auto& s = seiten.back();
        if (fett) fettein(s);
        for (const auto& [x, t] : spalten) s.text(kLinks + x, y, t);
        if (fett) fettaus(s);
        y += kZeilenabstand;
    };
    seite();
    zeile({{0, v.zusammenfassung()}});
    y += kZeilenabstand;
    const std::string a = jahranzeige(v.jahrA), b = jahranzeige(v.jahrB);
    zeile({{0, "LehrerIn"}, {500, "Name"}, {1900, "Soll"}, {2400, a}, {2900, b}, {3400, "Differenz"}}, true);
    for (const auto& l : v.lehrer)
        zeile({{0, l.kurz}, {500, l.name.substr(0, 28)}, {1900, zehntel(l.soll)}, {2400, zehntel(l.a)},
               {2900, zehntel(l.b)}, {3400, zehntel(l.differenz())},
               {3900, l.nurA ? "nur " + a : l.nurB ? "nur " + b : std::string()}});
    y += kZeilenabstand;
    zeile({{0, "Klasse " + a}, {600, "Klasse " + b}, {1200, "Fach"}, {1700, "Anteil"}, {2200, "LehrerIn"},
           {3000, "Stunden"}},
          true);
    for (const auto& s : v.stunden)
        zeile({{0, s.klasseA}, {600, s.klasseB}, {1200, s.fach}, {1700, std::to_string(s.anteil)},
               {2200, (s.lehrerA.empty() ? "--" : s.lehrerA) + " -> " + (s.lehrerB.empty() ? "--" : s.lehrerB)},
               {3000, zehntel(s.a) + " -> " + zehntel(s.b)}});
    y += kZeilenabstand;
    for (const auto& [liste, jahr] : {std::pair{&v.nurA, a}, {&v.nurB, b}}) {
        std::string text;
        for (const auto& k : *liste) text += (text.empty() ? "" : ", ") + k;
        zeile({{0, "Klassen nur in " + jahr + ": " + (text.empty() ? "keine" : text)}});
    }
    return seiten;
}

}  // namespace nux
