#pragma once
// The command line. It is read before the program needs a display or touches
// a file, so that `nux --help` works in a terminal without a desktop and
// `--ordner` is in force before the first file is opened.
//
// A new option is one line in the constructor (Befehlszeile.cpp) and its step
// in main(): what works without a window runs before the QApplication.
#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

class QWidget;

namespace nux {

// The run ends before the windows: the exit status and the text for the user
// (stdout with status 0, stderr otherwise).
struct Ende {
    int status;
    QString text;
};

class Befehlszeile {
public:
    Befehlszeile();

    // Reads the arguments (the program's name first). Ends the run after
    // --help and --version (status 0) and after a wrong call (status 2).
    std::optional<Ende> lesen(const QStringList& argumente);

    bool gesetzt(const QString& name) const { return parser_.isSet(name); }
    QString wert(const QString& name) const { return parser_.value(name); }
    // The second year of --vergleich and --versetzen.
    QString zweites() const { return parser_.positionalArguments().value(0); }

    // The German help, also the source of the manual page.
    QString hilfe() const;

private:
    void option(const QStringList& namen, const QString& beschreibung, const QString& wertname = {},
                bool versteckt = false);

    QCommandLineParser parser_;
    std::vector<QCommandLineOption> optionen_;
};

// The arguments as Qt reads them.
QStringList argumente(int argc, char* argv[]);

// Makes the folder the program folder (the process's current folder).
std::optional<Ende> ordnerbetreten(const QString& ordner);

// Writes the text where it belongs and gives the exit status back.
int beenden(const Ende& ende);

// Ends the event loop once the window has been painted for the first time.
void nachdemzeichnenbeenden(QWidget* fenster);

// Qt's own texts (standard buttons, context menus, print errors) in German,
// whatever the desktop's language: the whole program speaks German.
bool deutschladen();

}  // namespace nux
