#include "years/kern/versetzung.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>

#include "assignment/kern/verteilung.h"
#include "storage/datei.h"
#include "storage/dateifehler.h"
#include "storage/planung.h"
#include "storage/text.h"

namespace nux {

namespace {

constexpr std::size_t kNamelaenge = 3;  // characters a class record holds

bool ziffer(char c) { return c >= '0' && c <= '9'; }


std::string zitat(std::string_view name) { return "\x84" + std::string(name) + "\x93"; }

const Klassensatz* finden(const std::vector<Klassensatz>& klassen, std::string_view name) {
    for (const auto& k : klassen)
        if (trimmen(k.name) == name) return &k;
    return nullptr;
}

// The class of the source whose hours a new class gets: the grade it enters
// as last year held it (the same name, else any class of that grade), else
// the class it comes from.
const Klassensatz* stundenquelle(const std::vector<Klassensatz>& quelle, const std::string& neu,
                                 const Klassensatz* alt) {
    if (const auto* gleich = finden(quelle, neu)) return gleich;
    if (const auto g = stufevon(neu))
        for (const auto& k : quelle)
            if (stufevon(trimmen(k.name)) == g) return &k;
    return alt;
}

std::set<std::string> anwesendecodes(const std::vector<Lehrersatz>& lehrer) {
    std::set<std::string> codes;
    for (const auto& l : lehrer)
        if (!l.name.starts_with('#') && !trimmen(l.kurz).empty()) codes.insert(trimmen(l.kurz));
    return codes;
}

}  // namespace

std::optional<int> stufevon(std::string_view klasse) {
    std::size_t n = 0;
    while (n < klasse.size() && ziffer(klasse[n])) ++n;
    if (n == 0 || n > 6) return std::nullopt;
    return std::stoi(std::string(klasse.substr(0, n)));
}

std::string zugvon(std::string_view klasse) {
    std::size_t n = 0;
    while (n < klasse.size() && ziffer(klasse[n])) ++n;
    return std::string(klasse.substr(n));
}

std::string hochstufen(std::string_view klasse) {
    const auto g = stufevon(klasse);
    return g ? std::to_string(*g + 1) + zugvon(klasse) : std::string(klasse);
}

int hoechstestufe(const std::vector<Klassensatz>& klassen) {
    int h = 0;
    for (const auto& k : klassen) h = std::max(h, stufevon(trimmen(k.name)).value_or(0));
    return h;
}

int eingangsstufe(const std::vector<Klassensatz>& klassen) {
    int e = 0;
    for (const auto& k : klassen)
        if (const auto g = stufevon(trimmen(k.name)); g && (e == 0 || *g < e)) e = *g;
    return e;
}

std::vector<Versetzungszeile> versetzungsvorschlag(const std::vector<Klassensatz>& klassen, int oberstufe) {
    std::vector<Versetzungszeile> zeilen;
    for (const auto& k : klassen) {
        const std::string name = trimmen(k.name);
        const auto g = stufevon(name);
        if (!g)
            zeilen.push_back({name, name});
        else
            zeilen.push_back({name, *g >= oberstufe ? std::string() : hochstufen(name)});
    }
    const int eingang = eingangsstufe(klassen);
    for (const auto& k : klassen)
        if (eingang > 0 && stufevon(trimmen(k.name)) == eingang) zeilen.push_back({std::string(), trimmen(k.name)});
    return zeilen;
}

Versetzungsvorschau versetzungberechnen(const std::vector<Klassensatz>& quelle,
                                        const std::vector<Versetzungszeile>& zeilen,
                                        const std::vector<Lehrersatz>& anwesend, const Versetzungswahl& wahl) {
    Versetzungsvorschau v;
    const std::set<std::string> codes = anwesendecodes(anwesend);
    const Klassenwahl klassenwahl = wahl.klassen == Klassenwahl::keine ? Klassenwahl::mitStundenMitZusatz : wahl.klassen;
    std::map<std::string, std::size_t> ziele;  // new name -> first line
    for (std::size_t i = 0; i < zeilen.size(); ++i) {
        const std::string alt = trimmen(zeilen[i].alt);
        const std::string neu = trimmen(zeilen[i].neu);
        Zeilenstand st;
        auto fehler = [&](std::string text) {
            st.fehler = true;
            st.status = text;
            v.fehler.push_back(std::move(text));
        };
        const Klassensatz* vorher = alt.empty() ? nullptr : finden(quelle, alt);
        if (alt.empty() && neu.empty()) {
            st.status = "leer";
        } else if (!alt.empty() && !vorher) {
            fehler("Die Klasse " + zitat(alt) + " gibt es im bisherigen Jahr nicht.");
        } else if (neu.empty()) {
            st.status = "verl\xE4sst die Schule";
        } else if (neu.size() > kNamelaenge) {
            fehler((alt.empty() ? "Die neue Klasse " + zitat(neu)
                                : "Die Klasse " + zitat(alt) + " w\xFC" "rde " + zitat(neu)) +
                   ": ein Klassenname hat h\xF6" "chstens 3 Zeichen.");
        } else if (const auto [it, neuda] = ziele.emplace(neu, i); !neuda) {
            const std::string erste = trimmen(zeilen[it->second].alt);
            fehler((erste.empty() ? "Die neue Klasse " + zitat(neu) : "Die Klasse " + zitat(erste)) + " und " +
                   (alt.empty() ? "die neue Klasse " + zitat(neu) : "die Klasse " + zitat(alt)) + " w\xFC" "rden beide zu " +
                   zitat(neu) + ".");
        } else {
            const Klassensatz* stunden = stundenquelle(quelle, neu, vorher);
            Klassensatz k;
            if (stunden) {
                k = *stunden;
                st.stundenvon = trimmen(stunden->name);
            }
            k.name = neu;
            klassenanpassen(k, klassenwahl);
            for (int j = 1; j <= kSlots; ++j)
                for (int s = 0; s < kFaecherMax; ++s) {
                    // A lesson is a cell with hours: a choice without hours
                    // leaves no lesson a teacher could keep.
                    if (k.h(j, s) == 0) continue;
                    const std::string code = vorher ? trimmen(vorher->l(j, s)) : std::string();
                    const bool bleibt =
                        wahl.wandern && vorher && vorher->h(j, s) != 0 && !code.empty() && codes.count(code);
                    if (bleibt) k.l(j, s) = code;
                    if (s >= kSummenFaecher) continue;  // beyond what the assignment counts
                    (bleibt ? st.behalten : st.offen) += 1;
                }
            if (alt.empty())
                st.status = "neue Klasse";
            else if (alt == neu)
                st.status = stufevon(neu) ? "wiederholt" : "bleibt";
            else
                st.status = "versetzt";
            if (!stunden) st.status += ", ohne Stunden";
            v.behalten += st.behalten;
            v.offen += st.offen;
            v.klassen.push_back(std::move(k));
        }
        v.zeilen.push_back(std::move(st));
    }
    if (v.klassen.size() > static_cast<std::size_t>(kVerteilKlassen))
        v.fehler.push_back("Das neue Jahr h\xE4tte " + std::to_string(v.klassen.size()) +
                           " Klassen; mehr als 101 kann nux nicht verwalten.");
    std::stable_sort(v.klassen.begin(), v.klassen.end(),
                     [](const Klassensatz& a, const Klassensatz& b) { return textvor(a.name, b.name); });
    return v;
}

std::string versetzungpruefen(const Uebernahmepaar& paar) {
    for (const std::string* jahr : {&paar.ziel, &paar.quelle})
        if (!jahrform(*jahr) || !ordnerda(*jahr))
            return "\x84" + *jahr + "\x93 ist kein Jahresordner (Jahreszahl, Leerzeichen, Nummer).";
    std::error_code ec;
    if (paar.ziel == paar.quelle || std::filesystem::equivalent(paar.ziel, paar.quelle, ec))
        return "Ein Jahr kann keine Daten von sich selbst \xFC" "bernehmen.";
    return {};
}

Versetzungsdaten versetzungladen(const Uebernahmepaar& paar, const Uebernahmewahl& wahl) {
    if (const auto grund = versetzungpruefen(paar); !grund.empty()) throw Dateifehler(meldungsutf8(grund));
    Versetzungsdaten d;
    const std::string klassen = paar.quelle + "/klassen";
    d.klassenda = dateida(klassen);
    if (d.klassenda) d.klassen = laden<Klassensatz>(klassen, kVerteilKlassen);
    const std::string lehrer = (wahl.lehrer ? paar.quelle : paar.ziel) + "/lehrer";
    if (dateida(lehrer)) d.lehrer = laden<Lehrersatz>(lehrer);
    return d;
}

void versetzungschreiben(const Uebernahmepaar& paar, const Uebernahmewahl& wahl,
                         const std::vector<Versetzungszeile>& zeilen, const Versetzungsvorschau& vorschau) {
    if (const auto grund = versetzungpruefen(paar); !grund.empty()) throw Dateifehler(meldungsutf8(grund));
    if (!vorschau.gut()) throw Dateifehler(meldungsutf8(vorschau.fehler.front()));
    if (wahl.lehrer) lehreruebernehmen(paar.quelle, paar.ziel);
    if (wahl.faecher) dateikopieren(paar.quelle + "/faecher", paar.ziel + "/faecher");
    // A source without classes has nothing to promote: the target's class
    // file stays, as the plain takeover leaves it.
    if (!dateida(paar.quelle + "/klassen")) return;
    if (vorschau.klassen.empty()) {
        if (dateida(paar.ziel + "/klassen")) loeschen(paar.ziel + "/klassen");
    } else {
        neuschreiben(paar.ziel + "/klassen", vorschau.klassen);
    }
    Herkunft h{paar.quelle, true, {}};
    for (const auto& z : zeilen)
        if (!trimmen(z.alt).empty()) h.klassen.emplace_back(trimmen(z.alt), trimmen(z.neu));
    herkunftspeichern(paar.ziel, h);
}

}  // namespace nux
