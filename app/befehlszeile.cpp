#include "app/befehlszeile.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QRegularExpression>
#include <QTimer>
#include <QTranslator>
#include <QWidget>
#include <cstdio>

#ifndef NUX_VERSION
#define NUX_VERSION "0.0.0.0"
#endif

namespace nux {

namespace {

// Qt's own options are QApplication's business; they pass by untouched. The
// first ones take a value.
const QStringList qtMitWert = {"platform", "platformpluginpath", "platformtheme", "plugin",
                               "qwindowgeometry", "qwindowicon", "qwindowtitle", "session",
                               "style", "stylesheet", "display", "geometry"};
const QStringList qtOhneWert = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

// Removes Qt's own single-dash options (-platform offscreen, -style=fusion).
QStringList ohneQtOptionen(const QStringList& argumente) {
    QStringList rest;
    for (qsizetype i = 0; i < argumente.size(); ++i) {
        const QString& a = argumente[i];
        if (i > 0 && a.startsWith('-') && !a.startsWith(QStringLiteral("--"))) {
            const QString name = a.mid(1).section('=', 0, 0);
            if (qtOhneWert.contains(name)) continue;
            if (qtMitWert.contains(name)) {
                if (!a.contains('=')) ++i;
                continue;
            }
        }
        rest.append(a);
    }
    return rest;
}

QString anzeigename(const QString& name) {
    return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
}

}  // namespace

Befehlszeile::Befehlszeile() {
    parser_.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    option({"h", "help"}, QStringLiteral("Zeigt diese Hilfe und endet."));
    option({"v", "version"}, QStringLiteral("Zeigt die Version und endet."));
    option({"ordner"},
           QStringLiteral("Arbeitet im Programmordner ORDNER statt im aktuellen Ordner."),
           QStringLiteral("ORDNER"));
    option({"export"},
           QStringLiteral("Schreibt die Verteilung als Excel-Mappe in DATEI (ohne Fenster) und endet."),
           QStringLiteral("DATEI"));
    option({"pruefung"},
           QStringLiteral("Prüft, ob sich alle offenen Stunden mit befähigten LehrerInnen besetzen lassen, nennt "
                          "die Engpässe und endet: 0 ja, 1 nein, 2 Fehler."));
    option({"vorschlag"},
           QStringLiteral("Schlägt Lehrkräfte für die offenen Stunden vor und zeigt die Kennzahlen (ohne Fenster, "
                          "ändert keine Datei); mit --export DATEI als Excel-Mappe."));
    option({"jahr"}, QStringLiteral("Das Jahr für --export, --pruefung und --vorschlag, z. B. \"2026 1\"; sonst das aktuelle Jahr."),
           QStringLiteral("JAHR"));
    option({"vergleich"},
           QStringLiteral("Vergleicht die Pläne zweier Jahre: --vergleich \"2026 1\" \"2027 1\"; mit --export als "
                          "Excel-Mappe in DATEI, sonst als Text."),
           QStringLiteral("JAHR"));
    option({"versetzen"},
           QStringLiteral("Neues Schuljahr mit Versetzung: --versetzen \"2026 1\" \"2027 1\" übernimmt "
                          "LehrerInnen, Fächer und Klassen mit Stunden und Zusatztext aus dem ersten Jahr ins "
                          "zweite; die Klassen rücken eine Stufe hinauf, die LehrerInnen wandern mit."),
           QStringLiteral("JAHR"));
    option({"oberstufe"},
           QStringLiteral("Die oberste Stufe für --versetzen (sie verlässt die Schule); sonst die höchste vorhandene."),
           QStringLiteral("STUFE"));
    option({"sicherungen"},
           QStringLiteral("Zeigt nach dem Code die Sicherungen des aktuellen Jahres; eine davon lässt sich "
                          "zurückholen."));
    // For the start-up measurement of the benchmark, not for users.
    option({"startzeit"}, QStringLiteral("Endet, sobald das Hauptmenü gezeichnet ist."), {}, true);
}

void Befehlszeile::option(const QStringList& namen, const QString& beschreibung,
                          const QString& wertname, bool versteckt) {
    QCommandLineOption o(namen, beschreibung, wertname);
    if (versteckt) o.setFlags(QCommandLineOption::HiddenFromHelp);
    parser_.addOption(o);
    optionen_.push_back(o);
}

QString Befehlszeile::hilfe() const {
    QStringList spalte;
    qsizetype breite = 0;
    for (const auto& o : optionen_) {
        QStringList namen;
        for (const auto& n : o.names()) namen.append(anzeigename(n));
        QString links = namen.join(QStringLiteral(", "));
        if (!o.valueName().isEmpty()) links += ' ' + o.valueName();
        spalte.append(links);
        breite = std::max(breite, links.size());
    }
    QString text = QStringLiteral(
        "Aufruf: nux [Optionen]\n"
        "\n"
        "nux plant die Lehrfächerverteilung eines Schuljahres. Ohne Optionen öffnet\n"
        "es das Hauptmenü und arbeitet im aktuellen Ordner, dem Programmordner\n"
        "„nux“ mit der Datei „codes“, der Datei „jahrakt“ und einem Ordner je\n"
        "Schuljahr.\n"
        "\n"
        "Optionen:\n");
    for (std::size_t i = 0; i < optionen_.size(); ++i) {
        if (optionen_[i].flags() & QCommandLineOption::HiddenFromHelp) continue;
        text += QStringLiteral("  ") + spalte[qsizetype(i)].leftJustified(breite + 2) +
                optionen_[i].description() + '\n';
    }
    text += QStringLiteral(
        "\n"
        "Rückgabewert: 0 bei Erfolg, 1 bei einem Fehler, 2 bei einem falschen Aufruf;\n"
        "--vergleich und --versetzen geben bei jedem Fehler 2 und schreiben dann nichts.\n");
    return text;
}

std::optional<Ende> Befehlszeile::lesen(const QStringList& argumente) {
    const QStringList eigene = ohneQtOptionen(argumente);
    const auto falsch = [](const QString& grund) {
        return Ende{2, QStringLiteral("nux: ") + grund +
                           QStringLiteral("\n„nux --help“ zeigt, welche Optionen es gibt.\n")};
    };
    // A value option at the very end has no value; QCommandLineParser would say
    // so in English.
    if (eigene.size() > 1) {
        const QString& letztes = eigene.last();
        for (const auto& o : optionen_) {
            if (o.valueName().isEmpty()) continue;
            for (const auto& n : o.names())
                if (letztes == anzeigename(n))
                    return falsch(QStringLiteral("Nach „%1“ fehlt %2.").arg(letztes, o.valueName()));
        }
    }
    if (!parser_.parse(eigene)) {
        const QStringList unbekannt = parser_.unknownOptionNames();
        if (!unbekannt.isEmpty()) {
            // Named as typed: "-x" and "--x" are the same unknown name to the parser.
            QString getippt = anzeigename(unbekannt.first());
            for (const auto& a : eigene)
                if (a.startsWith('-') && a.section('=', 0, 0).remove(QRegularExpression("^--?")) == unbekannt.first()) {
                    getippt = a.section('=', 0, 0);
                    break;
                }
            return falsch(QStringLiteral("Unbekannte Option „%1“.").arg(getippt));
        }
        return falsch(QStringLiteral("Ungültiger Aufruf: %1").arg(parser_.errorText()));
    }
    // "--vergleich A B", "--versetzen A B": the second year stands on its own.
    const bool vergleich = parser_.isSet(QStringLiteral("vergleich"));
    const bool versetzen = parser_.isSet(QStringLiteral("versetzen"));
    if (vergleich && versetzen)
        return falsch(QStringLiteral("„--vergleich“ und „--versetzen“ gehen nur einzeln."));
    for (const auto& [gesetzt, name] : {std::pair{vergleich, "vergleich"}, {versetzen, "versetzen"}})
        if (gesetzt && parser_.positionalArguments().size() != 1)
            return falsch(QStringLiteral("„--%1“ braucht zwei Jahre, z. B. --%1 \"2026 1\" \"2027 1\".")
                              .arg(QLatin1String(name)));
    if (parser_.isSet(QStringLiteral("oberstufe")) && !versetzen)
        return falsch(QStringLiteral("„--oberstufe“ gilt nur zusammen mit „--versetzen“."));
    if (!vergleich && !versetzen && !parser_.positionalArguments().isEmpty())
        return falsch(QStringLiteral("Unerwartetes Argument „%1“.").arg(parser_.positionalArguments().first()));
    if (parser_.isSet(QStringLiteral("help"))) return Ende{0, hilfe()};
    if (parser_.isSet(QStringLiteral("version")))
        return Ende{0, QStringLiteral("nux " NUX_VERSION "\n")};
    for (const auto& o : optionen_)
        if (!o.valueName().isEmpty() && parser_.isSet(o) && parser_.value(o).isEmpty())
            return falsch(QStringLiteral("Der Wert von „%1“ ist leer.").arg(anzeigename(o.names().last())));
    return std::nullopt;
}

QStringList argumente(int argc, char* argv[]) {
    QStringList liste;
    for (int i = 0; i < argc; ++i) liste.append(QString::fromLocal8Bit(argv[i]));
    return liste;
}

std::optional<Ende> ordnerbetreten(const QString& ordner) {
    const QFileInfo info(ordner);
    if (!info.exists())
        return Ende{1, QStringLiteral("nux: Den Programmordner „%1“ gibt es nicht.\n").arg(ordner)};
    if (!info.isDir())
        return Ende{1, QStringLiteral("nux: „%1“ ist kein Ordner.\n").arg(ordner)};
    if (!QDir::setCurrent(ordner))
        return Ende{1, QStringLiteral("nux: In den Programmordner „%1“ kann nicht gewechselt werden.\n")
                           .arg(ordner)};
    return std::nullopt;
}

int beenden(const Ende& ende) {
    std::fputs(ende.text.toLocal8Bit().constData(), ende.status == 0 ? stdout : stderr);
    return ende.status;
}

void nachdemzeichnenbeenden(QWidget* fenster) {
    struct Wache : QObject {
        using QObject::QObject;
        bool eventFilter(QObject*, QEvent* e) override {
            // Quits after this paint has reached the screen: the flush follows
            // the paint within the same pass of the event loop.
            if (e->type() == QEvent::Paint) QTimer::singleShot(0, qApp, &QCoreApplication::quit);
            return false;
        }
    };
    fenster->installEventFilter(new Wache(fenster));
}

bool deutschladen() {
    // Lives as long as the application: Qt keeps only a pointer to it.
    static QTranslator qt;
    if (!qt.isEmpty()) return true;
    if (!qt.load(QStringLiteral("qtbase_de"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    return QCoreApplication::installTranslator(&qt);
}

}  // namespace nux
