#include "storage/planung.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>

#include "storage/datei.h"
#include "storage/text.h"

namespace nux {
namespace {

constexpr const char* kEnde = "\r\n";

// Lines of a text without their ends; a last line without an end counts.
std::vector<std::string_view> zeilenvon(std::string_view text) {
    std::vector<std::string_view> zeilen;
    std::size_t anfang = 0;
    while (anfang < text.size()) {
        std::size_t ende = text.find('\n', anfang);
        if (ende == std::string_view::npos) ende = text.size();
        std::string_view z = text.substr(anfang, ende - anfang);
        if (!z.empty() && z.back() == '\r') z.remove_suffix(1);
        zeilen.push_back(z);
        anfang = ende + 1;
    }
    return zeilen;
}

std::vector<std::string_view> felder(std::string_view z) {
    std::vector<std::string_view> f;
    std::size_t anfang = 0;
    for (;;) {
        const std::size_t tab = z.find('\t', anfang);
        if (tab == std::string_view::npos) {
            f.push_back(z.substr(anfang));
            return f;
        }
        f.push_back(z.substr(anfang, tab - anfang));
        anfang = tab + 1;
    }
}

bool kommentar(std::string_view z) {
    // trimmen drops everything up to the space; so does this, without a copy.
    const auto erstes = std::find_if(z.begin(), z.end(), [](char c) { return static_cast<unsigned char>(c) > ' '; });
    return erstes == z.end() || *erstes == '#';
}

// A key the file cannot hold: split by a tab, cut by a line end, or, for
// the teacher that starts the line, read back as a comment.
bool unschreibbar(std::string_view k, bool zeilenanfang) {
    return k.empty() || (zeilenanfang && k[0] == '#') || k.find_first_of("\t\r\n") != std::string_view::npos;
}

void textschreiben(const std::string& pfad, const std::string& text) {
    atomarschreiben(pfad, std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

std::optional<std::string> textlesen(const std::string& pfad) {
    if (!dateida(pfad)) return std::nullopt;
    const auto bytes = dateilesen(pfad);
    return std::string(bytes.begin(), bytes.end());
}

}  // namespace

std::string planungspfad(const std::string& jahr, const char* datei) {
    return jahr + "/" + kPlanungsordner + "/" + datei;
}

void planungsordneranlegen(const std::string& jahr) {
    const std::string ordner = jahr + "/" + kPlanungsordner;
    if (::mkdir(ordner.c_str(), 0755) != 0) {
        if (errno != EEXIST) fehlerwerfen(errno);
        if (!ordnerda(ordner)) throw Dateifehler(ordner + " ist kein Ordner");
    }
}

Stufe naechstestufe(Stufe s) {
    switch (s) {
        case Stufe::keine: return Stufe::befaehigt;
        case Stufe::befaehigt: return Stufe::wunsch;
        case Stufe::wunsch: break;
    }
    return Stufe::keine;
}

std::optional<Stufe> stufelesen(std::string_view s) {
    const std::string roh = trimmen(s);
    // The marks of the table itself, "·" and "★", in either encoding.
    if (roh == "\xB7" || roh == "\xC2\xB7") return Stufe::befaehigt;
    if (roh == "\xE2\x98\x85") return Stufe::wunsch;
    const std::string t = gross(roh);
    if (t == "BEF\xC4HIGT" || t == "BEF\xC3\xA4HIGT" || t == "BEF\xC3\x84HIGT" || t == "BEFAEHIGT" || t == "1" ||
        t == "X" || t == ".")
        return Stufe::befaehigt;
    if (t == "WUNSCHFACH" || t == "WUNSCH" || t == "2" || t == "*") return Stufe::wunsch;
    if (t.empty() || t == "0" || t == "NEIN" || t == "-") return Stufe::keine;
    return std::nullopt;
}

std::string stufetext(Stufe s) {
    switch (s) {
        case Stufe::befaehigt: return "bef\xE4higt";
        case Stufe::wunsch: return "Wunschfach";
        case Stufe::keine: break;
    }
    return {};
}

std::string lehrerschluessel(std::string_view kurz) { return trimmen(kurz); }
// Cut before trimmed, as every reader of the subject records cuts: "  Mat" is "M".
std::string fachschluessel(std::string_view kurz) { return trimmen(kurz.substr(0, 3)); }

Stufe Befaehigungen::stufe(std::string_view lehrer, std::string_view fach) const {
    const auto it = eintraege_.find({lehrerschluessel(lehrer), fachschluessel(fach)});
    return it == eintraege_.end() ? Stufe::keine : it->second;
}

void Befaehigungen::setzen(std::string_view lehrer, std::string_view fach, Stufe s) {
    Schluessel k{lehrerschluessel(lehrer), fachschluessel(fach)};
    if (unschreibbar(k.first, true) || unschreibbar(k.second, false)) return;
    if (s == Stufe::keine)
        eintraege_.erase(k);
    else
        eintraege_[std::move(k)] = s;
}

std::string Befaehigungen::text() const {
    std::string t = "# nux: Bef\xE4higungen der LehrerInnen. Je Zeile: K\xFCrzel, Fach (Kurzbezeichnung), "
                    "bef\xE4higt oder Wunschfach; durch Tabulator getrennt.";
    t += kEnde;
    for (const auto& [k, s] : eintraege_) {
        t += k.first + "\t" + k.second + "\t" + stufetext(s);
        t += kEnde;
    }
    if (!fehler.empty()) {
        t += "# Diese Zeilen konnte nux nicht lesen; sie bleiben, bis sie jemand berichtigt oder l\xF6scht:";
        t += kEnde;
        for (const auto& f : fehler) {
            t += f.text;
            t += kEnde;
        }
    }
    return t;
}

Befaehigungen Befaehigungen::aus(std::string_view text) {
    Befaehigungen b;
    // An editor on another system may have put a UTF-8 byte order mark in front.
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    const auto zeilen = zeilenvon(text);
    for (std::size_t i = 0; i < zeilen.size(); ++i) {
        const std::string_view z = zeilen[i];
        if (kommentar(z)) continue;
        const int nummer = static_cast<int>(i) + 1;
        const auto f = felder(z);
        auto fehler = [&](const char* grund) { b.fehler.push_back({nummer, std::string(z), grund}); };
        if (f.size() != 3) {
            fehler("nicht K\xFCrzel, Fach und Stufe durch Tabulatoren getrennt");
            continue;
        }
        const std::string lehrer = lehrerschluessel(f[0]);
        const std::string fach = fachschluessel(trimmen(f[1]));
        if (lehrer.empty() || lehrer.size() > 4) {
            fehler("kein K\xFCrzel einer LehrerIn (1 bis 4 Zeichen)");
            continue;
        }
        if (unschreibbar(lehrer, true)) {
            fehler("Steuerzeichen im K\xFCrzel");
            continue;
        }
        if (fach.empty() || unschreibbar(fach, false)) {
            fehler("keine Kurzbezeichnung eines Fachs");
            continue;
        }
        const auto s = trimmen(f[2]).empty() ? std::nullopt : stufelesen(f[2]);
        if (!s) {
            fehler("Stufe weder \"bef\xE4higt\" noch \"Wunschfach\"");
            continue;
        }
        Schluessel k{lehrer, fach};
        if (*s == Stufe::keine)
            b.eintraege_.erase(k);
        else  // nux writes the file sorted: the hint makes each line constant time
            b.eintraege_.insert_or_assign(b.eintraege_.end(), std::move(k), *s);
    }
    return b;
}

Befaehigungen befaehigungenladen(const std::string& jahr) {
    const auto text = textlesen(planungspfad(jahr, kBefaehigungsdatei));
    return text ? Befaehigungen::aus(*text) : Befaehigungen{};
}

void befaehigungenspeichern(const std::string& jahr, const Befaehigungen& b) {
    planungsordneranlegen(jahr);
    textschreiben(planungspfad(jahr, kBefaehigungsdatei), b.text());
}

void befaehigungenuebernehmen(const std::string& quelle, const std::string& ziel) {
    if (!dateida(planungspfad(quelle, kBefaehigungsdatei))) return;
    const Befaehigungen von = befaehigungenladen(quelle);
    const Befaehigungen alt = befaehigungenladen(ziel);
    Befaehigungen neu = von;
    for (const auto& [k, st] : alt.eintraege()) neu.setzen(k.first, k.second, st);
    neu.fehler = alt.fehler;
    for (const auto& f : von.fehler)
        if (std::none_of(alt.fehler.begin(), alt.fehler.end(), [&](const Lesefehler& a) { return a.text == f.text; }))
            neu.fehler.push_back(f);
    if (neu.eintraege() != alt.eintraege() || neu.fehler.size() != alt.fehler.size()) befaehigungenspeichern(ziel, neu);
}

std::optional<std::string> Herkunft::nachfolger(std::string_view alt) const {
    const std::string a = trimmen(alt);
    if (!versetzt) return a;
    for (const auto& [von, nach] : klassen)
        if (von == a) return nach.empty() ? std::nullopt : std::optional<std::string>(nach);
    return std::nullopt;
}

std::optional<std::string> Herkunft::vorgaenger(std::string_view neu) const {
    const std::string n = trimmen(neu);
    if (!versetzt) return n;
    for (const auto& [von, nach] : klassen)
        if (nach == n && !n.empty()) return von;
    return std::nullopt;
}

std::string Herkunft::text() const {
    std::string t = "# nux: woher die Daten dieses Jahres kommen";
    t += kEnde;
    t += "Quelle\t" + quelle + kEnde;
    t += std::string("Versetzt\t") + (versetzt ? "ja" : "nein") + kEnde;
    for (const auto& [von, nach] : klassen) t += "Klasse\t" + von + "\t" + nach + kEnde;
    return t;
}

std::optional<Herkunft> Herkunft::aus(std::string_view text) {
    Herkunft h;
    bool quelle = false;
    for (const std::string_view z : zeilenvon(text)) {
        if (kommentar(z)) continue;
        const auto f = felder(z);
        if (f[0] == "Quelle" && f.size() == 2) {
            h.quelle = trimmen(f[1]);  // a hand may leave a blank behind the year
            quelle = true;
        } else if (f[0] == "Versetzt" && f.size() == 2) {
            h.versetzt = f[1] == "ja";
        } else if (f[0] == "Klasse" && f.size() == 3) {
            h.klassen.emplace_back(trimmen(f[1]), trimmen(f[2]));
        }
    }
    if (!quelle) return std::nullopt;
    return h;
}

std::optional<Herkunft> herkunftladen(const std::string& jahr) {
    const auto text = textlesen(planungspfad(jahr, kHerkunftsdatei));
    return text ? Herkunft::aus(*text) : std::nullopt;
}

void herkunftspeichern(const std::string& jahr, const Herkunft& h) {
    planungsordneranlegen(jahr);
    textschreiben(planungspfad(jahr, kHerkunftsdatei), h.text());
}

}  // namespace nux
