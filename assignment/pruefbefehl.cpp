#include "assignment/pruefbefehl.h"

#include <cstdio>

#include "assignment/excel.h"
#include "fenster/shell.h"
#include "storage/jahr.h"
#include "storage/text.h"

namespace nux {
namespace {

QString stunden(std::int64_t v) { return qs(trimmen(zehntelzeigen(v, 20))); }

}  // namespace

QString pruefbericht(const std::string& jahr, const Pruefung& p, bool befaehigungen) {
    QString t = QStringLiteral("Prüfung %1: ").arg(qs(jahranzeige(jahr)));
    if (p.offen == 0) return t + QStringLiteral("keine offenen Stunden.\n");
    if (!befaehigungen)
        return t + QStringLiteral("%1 offene Stunden, aber noch keine Befähigungen eingetragen (\"Wer unterrichtet "
                                  "was\", dort \"aus der Verteilung übernehmen\").\n")
                       .arg(stunden(p.offen));
    if (p.ausreichend())
        return t + QStringLiteral("alle %1 offenen Stunden lassen sich mit befähigten LehrerInnen besetzen.\n")
                       .arg(stunden(p.offen));
    t += QStringLiteral("von %1 offenen Stunden lassen sich höchstens %2 mit befähigten LehrerInnen besetzen.\n")
             .arg(stunden(p.offen), stunden(p.deckbar));
    for (const Engpass& e : p.engpaesse) t += QStringLiteral("  ") + qs(e.text()) + QLatin1Char('\n');
    return t;
}

int pruefbefehl(const QString& jahr) {
    try {
        Verteilung v;
        const std::string ordner = befehlsjahrladen(cp(jahr), v);
        const Befaehigungen b = befaehigungenladen(ordner);
        for (const Lesefehler& f : b.fehler)
            std::fprintf(stderr, "nux: planung/befaehigungen, Zeile %d: %s\n", f.zeile, qs(f.grund).toLocal8Bit().constData());
        const Pruefung p = pruefen(v, b);
        std::fputs(pruefbericht(ordner, p, !b.leer()).toLocal8Bit().constData(), stdout);
        return p.ausreichend() ? 0 : 1;
    } catch (const std::exception& e) {
        return befehlsfehler(e, 2);
    }
}

}  // namespace nux
