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

// The subjects of both years under one numbering: a subject is its short
// name (a second subject of the same short name in one year gets a mark),
// whatever its index. Keys run in the order the lists show them: B's order
// numbers, then the subjects only A has.
struct Faecher {
    std::vector<std::string> schluessel;  // by key number
    std::vector<int> a, b;                // subject index -> key number, -1: not counted
    std::vector<int> folge;               // key numbers in list order
};

Faecher faecher(const std::vector<Fachsatz>& fa, const std::vector<Fachsatz>& fb) {
    Faecher f;
    std::map<std::string, int> nummer;
    std::vector<std::pair<std::int64_t, int>> ordnung;
    auto zuordnen = [&](const std::vector<Fachsatz>& liste, std::vector<int>& index, std::int64_t versatz) {
        index.assign(std::min<std::size_t>(liste.size(), kVergleichsfaecher), -1);
        std::set<std::string> gesehen;
        for (std::size_t s = 0; s < index.size(); ++s) {
            const auto& fach = liste[s];
            if (zurueckgezogen(fach.name) || !fach.unterrichtet) continue;
            std::string k = fachschluessel(fach.kurz);
            while (!gesehen.insert(k).second) k += "'";
            auto [it, neu] = nummer.emplace(k, static_cast<int>(f.schluessel.size()));
            if (neu) {
                f.schluessel.push_back(k);
                ordnung.emplace_back(versatz + fach.ordnung, it->second);
            }
            index[s] = it->second;
        }
    };
    zuordnen(fb, f.b, 0);
    zuordnen(fa, f.a, std::int64_t{1} << 32);
    std::sort(ordnung.begin(), ordnung.end(), [&](const auto& x, const auto& y) {
        return x.first != y.first ? x.first < y.first : f.schluessel[x.second] < f.schluessel[y.second];
    });
    for (const auto& [_, n] : ordnung) f.folge.push_back(n);
    return f;
}

// The lessons of a class by key number and share: hours, teacher.
struct Stunde {
    std::int64_t h = 0;
    const std::string* lehrer = nullptr;
};
void stundenvon(const Klassenauszug& k, const std::vector<int>& index, std::vector<Stunde>& feld) {
    for (auto& st : feld) st = {};
    for (std::size_t s = 0; s < index.size(); ++s) {
        if (index[s] < 0) continue;
        for (int j = 0; j < kSlots; ++j)
            if (k.h[j][s] != 0) feld[static_cast<std::size_t>(index[s] * kSlots + j)] = {k.h[j][s], &k.l[j][s]};
    }
}

struct Summen {
    std::map<std::string, std::int64_t> lehrer;
    std::int64_t offen = 0;
};
Summen summen(const Jahresplan& p, const std::vector<int>& index) {
    Summen su;
    std::map<std::string, std::int64_t>::iterator letzter = su.lehrer.end();
    for (const auto& k : p.klassen)
        for (std::size_t s = 0; s < index.size(); ++s) {
            if (index[s] < 0) continue;
            for (int j = 0; j < kSlots; ++j) {
                const std::int64_t h = k.h[j][s];
                if (h == 0) continue;
                const std::string& l = k.l[j][s];
                if (l.empty()) {
                    su.offen += h;
                    continue;
                }
                if (letzter == su.lehrer.end() || letzter->first != l) letzter = su.lehrer.try_emplace(l, 0).first;
                letzter->second += h;
            }
        }
    return su;
}

std::map<std::string, const Lehrersatz*> lehrervon(const Jahresplan& p) {
    std::map<std::string, const Lehrersatz*> m;
    for (const auto& l : p.lehrer)
        if (!zurueckgezogen(l.name) && !trimmen(l.kurz).empty()) m.emplace(trimmen(l.kurz), &l);
    return m;
}

std::int64_t ganzlesen(const std::uint8_t* p) {
    std::uint64_t u = 0;
    for (int i = 7; i >= 0; --i) u = (u << 8) | p[i];
    return static_cast<std::int64_t>(u);
}

std::string textlesen(const std::uint8_t* p, std::size_t cap) {
    if (p[0] > cap) throw Dateifehler(kBereich);
    return trimmen(std::string_view(reinterpret_cast<const char*>(p + 1), p[0]));
}

}  // namespace

Klassenauszug::Klassenauszug(const Klassensatz& k) : name(trimmen(k.name)) {
    for (int j = 1; j <= kSlots; ++j)
        for (int s = 0; s < kVergleichsfaecher; ++s) {
            h[j - 1][s] = k.h(j, s);
            l[j - 1][s] = trimmen(k.l(j, s));
        }
}

Jahresplan planladen(const std::string& jahr) {
    Jahresplan p;
    p.jahr = jahr;
    const std::string o = jahr + "/";
    if (dateida(o + "faecher")) p.faecher = laden<Fachsatz>(o + "faecher");
    if (dateida(o + "lehrer")) p.lehrer = laden<Lehrersatz>(o + "lehrer");
    if (dateida(o + "klassen")) {
        const auto bytes = saetzelesen(o + "klassen", Klassensatz::groesse, kVerteilKlassen);
        p.klassen.resize(bytes.size() / Klassensatz::groesse);
        for (std::size_t i = 0; i < p.klassen.size(); ++i) {
            const std::uint8_t* b = bytes.data() + i * Klassensatz::groesse;
            auto& k = p.klassen[i];
            k.name = textlesen(b, 3);
            for (int j = 1; j <= kSlots; ++j)
                for (int s = 0; s < kVergleichsfaecher; ++s) {
                    k.h[j - 1][s] = ganzlesen(b + klassenStundenOffset(j, s));
                    k.l[j - 1][s] = textlesen(b + klassenLehrerOffset(j, s), 4);
                }
        }
    }
    p.herkunft = herkunftladen(jahr);
    return p;
}

Planvergleich vergleichen(const Jahresplan& a, const Jahresplan& b) {
    Planvergleich v;
    v.jahrA = a.jahr;
    v.jahrB = b.jahr;
    const Faecher f = faecher(a.faecher, b.faecher);

    // Classes: by the mapping of a promotion that made one year from the
    // other, else by name.
    std::map<std::string, const Klassenauszug*> klassenA;
    for (const auto& k : a.klassen) klassenA.emplace(k.name, &k);
    std::vector<std::pair<const Klassenauszug*, const Klassenauszug*>> paare;
    std::set<const Klassenauszug*> vergeben;
    const bool bausA = b.herkunft && b.herkunft->versetzt && b.herkunft->quelle == a.jahr;
    const bool aausB = !bausA && a.herkunft && a.herkunft->versetzt && a.herkunft->quelle == b.jahr;
    v.versetzt = bausA || aausB;
    std::vector<const Klassenauszug*> folgeB;
    for (const auto& kb : b.klassen) folgeB.push_back(&kb);
    std::stable_sort(folgeB.begin(), folgeB.end(), [](auto* x, auto* y) { return textvor(x->name, y->name); });
    for (const auto* kb : folgeB) {
        std::optional<std::string> partner = kb->name;
        if (bausA) partner = b.herkunft->vorgaenger(kb->name);
        if (aausB) partner = a.herkunft->nachfolger(kb->name);
        const auto it = partner ? klassenA.find(*partner) : klassenA.end();
        const Klassenauszug* ka = it == klassenA.end() ? nullptr : it->second;
        if (ka && aausB && a.herkunft->vorgaenger(ka->name) != kb->name) ka = nullptr;
        if (ka && vergeben.insert(ka).second)
            paare.emplace_back(ka, kb);
        else
            v.nurB.push_back(kb->name);
    }
    for (const auto& ka : a.klassen)
        if (!vergeben.count(&ka)) v.nurA.push_back(ka.name);

    // Lessons of the classes both years have, in list order.
    static const std::string kLeer;
    std::vector<Stunde> sa(f.schluessel.size() * kSlots), sb(sa.size());
    // At most every lesson differs: one allocation instead of a row of moves.
    v.stunden.reserve(paare.size() * sa.size());
    for (const auto& [ka, kb] : paare) {
        stundenvon(*ka, f.a, sa);
        stundenvon(*kb, f.b, sb);
        for (const int n : f.folge)
            for (int j = 0; j < kSlots; ++j) {
                const Stunde& x = sa[static_cast<std::size_t>(n * kSlots + j)];
                const Stunde& y = sb[static_cast<std::size_t>(n * kSlots + j)];
                const std::string& lx = x.lehrer ? *x.lehrer : kLeer;
                const std::string& ly = y.lehrer ? *y.lehrer : kLeer;
                if (x.h == y.h && lx == ly) continue;
                v.stunden.push_back({ka->name, kb->name, f.schluessel[static_cast<std::size_t>(n)], j + 1, lx, ly, x.h, y.h});
            }
    }

    // Teachers: everyone in either teachers file.
    const Summen suA = summen(a, f.a), suB = summen(b, f.b);
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
        Mappenblatt bl = tabellenblatt(name, "Vergleich " + a + " mit " + b, "Stand " + zeitpunkt + ": " + v.zusammenfassung(),
                                       std::move(kopf), std::move(breiten));
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
