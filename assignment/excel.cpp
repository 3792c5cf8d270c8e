#include "assignment/excel.h"

#include <sys/stat.h>

#include <QDateTime>
#include <QFile>
#include <cerrno>
#include <cstdio>

#include "assignment/kern/excel.h"
#include "assignment/xlsx.h"
#include "fenster/shell.h"
#include "storage/datei.h"
#include "storage/dateifehler.h"
#include "storage/jahr.h"

namespace nux {

namespace {

std::string zeitpunkt(const QDateTime& t) { return cp(t.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"))); }

void exportordneranlegen() {
    const std::string ordner = kExportordner;
    if (ordnerda(ordner)) return;
    if (::mkdir(ordner.c_str(), 0777) == 0) return;
    const int e = errno;
    if (e == EEXIST)
        throw Dateifehler("Der Ordner export kann nicht angelegt werden: an seiner Stelle steht eine Datei "
                          "gleichen Namens.");
    throw Dateifehler("Der Ordner export kann nicht angelegt werden: " + fehlertext(e));
}

}  // namespace

std::string excelexport(const Verteilung& v, const Befaehigungen& b) {
    exportordneranlegen();
    const QDateTime jetzt = QDateTime::currentDateTime();
    const Mappe m = exportmappe(v, {jahrordner(), zeitpunkt(jetzt), v.gespeichert(), &b});
    const std::string stempel = jetzt.toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss")).toStdString();
    const std::string name = exportname(stempel, jahrordner());
    // Two exports within one second: the second gets a number, the first
    // stays as it is.
    for (int n = 1;; ++n) {
        std::string pfad = std::string(kExportordner) + "/" + name;
        if (n > 1) pfad.insert(pfad.size() - 5, "_" + std::to_string(n));
        if (xlsxschreiben(m, pfad, false)) return pfad;
    }
}

int befehlsfehler(const std::exception& e, int status) {
    std::fprintf(stderr, "nux: %s\n", QString::fromUtf8(e.what()).toLocal8Bit().constData());
    return status;
}

std::string befehlsjahrladen(const std::string& jahr, Verteilung& v) {
    std::string ordner = jahr;
    if (ordner.empty()) {
        const auto akt = jahraktlesen();
        if (!akt) throw Dateifehler("Kein aktuelles Jahr: die Datei jahrakt fehlt. --jahr nennt das Jahr.");
        ordner = *akt;
    }
    jahrsetzen(ordner);
    if (!jahrgesetzt() || !ordnerda(ordner))
        throw Dateifehler("Das Jahr \"" + qs(ordner).toStdString() + "\" gibt es in diesem Programmordner nicht.");
    const auto fehlt = Verteilung::fehlendedateien();
    if (!fehlt.empty()) {
        const std::string& datei = fehlt.front();
        throw Dateifehler(datei == "klassen"   ? "keine Klassen angelegt"
                          : datei == "faecher" ? "keine Fächer angelegt"
                                               : "keine LehrerInnen angelegt");
    }
    v.laden();
    return ordner;
}

void exceldatei(const std::string& jahr, const QString& pfad) {
    Verteilung v;
    const std::string ordner = befehlsjahrladen(jahr, v);
    const Befaehigungen b = befaehigungenladen(ordner);
    const Mappe m = exportmappe(v, {ordner, zeitpunkt(QDateTime::currentDateTime()), true, &b});
    xlsxschreiben(m, QFile::encodeName(pfad).toStdString(), true);
}

int exportbefehl(const QString& datei, const QString& jahr) {
    try {
        exceldatei(cp(jahr), datei);
        return 0;
    } catch (const std::exception& e) {
        return befehlsfehler(e, 1);
    }
}

}  // namespace nux
