#include <QApplication>
#include <QFileInfo>

#include "app/befehlszeile.h"
#include "app/nux_menue.h"
#include "app/sperre.h"
#include "app/start.h"
#include "assignment/excel.h"
#include "assignment/pruefbefehl.h"
#include "years/nux_vergleich.h"
#include "years/nux_versetzung.h"
#include "assignment/vorschlagbefehl.h"

int main(int argc, char* argv[]) {
    // What the command line asks for is done before the windows, and without
    // a display where no window is needed.
    nux::Befehlszeile befehlszeile;
    if (auto ende = befehlszeile.lesen(nux::argumente(argc, argv))) return nux::beenden(*ende);
    // A relative export file is meant from where nux was called, not from
    // the program folder that --ordner enters.
    const QString exportdatei = befehlszeile.gesetzt(QStringLiteral("export"))
                                    ? QFileInfo(befehlszeile.wert(QStringLiteral("export"))).absoluteFilePath()
                                    : QString();
    if (befehlszeile.gesetzt(QStringLiteral("ordner")))
        if (auto ende = nux::ordnerbetreten(befehlszeile.wert(QStringLiteral("ordner"))))
            return nux::beenden(*ende);
    if (befehlszeile.gesetzt(QStringLiteral("vergleich")))
        return nux::vergleichbefehl(befehlszeile.wert(QStringLiteral("vergleich")), befehlszeile.zweites(), exportdatei);
    if (befehlszeile.gesetzt(QStringLiteral("versetzen")))
        return nux::versetzungsbefehl(befehlszeile.wert(QStringLiteral("versetzen")), befehlszeile.zweites(),
                                      befehlszeile.wert(QStringLiteral("oberstufe")));
    if (befehlszeile.gesetzt(QStringLiteral("vorschlag")))
        return nux::vorschlagbefehl(exportdatei, befehlszeile.wert(QStringLiteral("jahr")));
    if (befehlszeile.gesetzt(QStringLiteral("export")))
        return nux::exportbefehl(exportdatei, befehlszeile.wert(QStringLiteral("jahr")));
    if (befehlszeile.gesetzt(QStringLiteral("pruefung"))) return nux::pruefbefehl(befehlszeile.wert(QStringLiteral("jahr")));
    if (befehlszeile.gesetzt(QStringLiteral("jahr")))
        return nux::beenden({2, QStringLiteral("nux: „--jahr“ gilt nur zusammen mit „--export“, „--pruefung“ oder „--vorschlag“.\n")});

    QApplication app(argc, argv);
    nux::deutschladen();
    // Before any file is touched: one nux per program folder.
    nux::Programmsperre sperre;
    if (!nux::programmsperren(sperre)) return 1;
    if (befehlszeile.gesetzt(QStringLiteral("sicherungen"))) return sicherungenstarten();
    fenstererzeugen();
    if (befehlszeile.gesetzt(QStringLiteral("startzeit"))) nux::nachdemzeichnenbeenden(menuform);
    menuform->vorholen();
    return app.exec();
}
