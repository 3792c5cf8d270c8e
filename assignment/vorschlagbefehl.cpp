#include "assignment/vorschlagbefehl.h"

#include <QFile>
#include <cstdio>
#include <filesystem>

#include "assignment/xlsx.h"
#include "fenster/shell.h"
#include "assignment/excel.h"
#include "assignment/kern/vorschlag.h"
#include "storage/jahr.h"
#include "storage/planung.h"

namespace nux {

int vorschlagbefehl(const QString& datei, const QString& jahr) {
    try {
        std::string ordner = cp(jahr);
        if (ordner.empty()) {
            const auto akt = jahraktlesen();
            if (!akt) throw Dateifehler("Kein aktuelles Jahr: die Datei jahrakt fehlt. --jahr nennt das Jahr.");
            ordner = *akt;
        }
        jahrsetzen(ordner);
        if (!jahrgesetzt() || !std::filesystem::is_directory(ordner))
            throw Dateifehler("Das Jahr \"" + qs(ordner).toStdString() + "\" gibt es in diesem Programmordner nicht.");
        const auto fehlt = Verteilung::fehlendedateien();
        if (!fehlt.empty()) {
            const std::string& d = fehlt.front();
            throw Dateifehler(d == "klassen" ? "keine Klassen angelegt" : d == "faecher" ? "keine Fächer angelegt" : "keine LehrerInnen angelegt");
        }
        Verteilung v;
        v.laden();
        const Vorschlag vs = vorschlagen(v, befaehigungenladen(ordner), vorjahrladen(ordner, v.Classes), {}, {});
        std::fputs(QString::fromUtf8(vorschlagstext(vs).c_str()).toLocal8Bit().constData(), stdout);
        for (const auto& o : vs.offen)
            std::printf("offen: %s %s (%s Std.): %s\n", qs(o.klasse).toLocal8Bit().constData(), qs(o.fach).toLocal8Bit().constData(),
                        zehntelganz(o.stunden, 1).c_str(), QString::fromUtf8(o.grund.c_str()).toLocal8Bit().constData());
        if (!datei.isEmpty()) {
            xlsxschreiben(vorschlagsmappe(vs, jahranzeige(ordner)), QFile::encodeName(datei).toStdString(), true);
            std::printf("Vorschlag geschrieben: %s\n", datei.toLocal8Bit().constData());
        }
        return 0;
    } catch (const std::exception& e) {
        return befehlsfehler(e, 2);
    }
}

}  // namespace nux
