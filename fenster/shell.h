#pragma once
// What every window shares: the general error display, the beep, the
// conversion between Windows-1252 text and QString, the fonts, and the base
// class of the seven borderless windows.
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <exception>
#include <functional>
#include <string>
#include <string_view>

namespace nux {

// Windows-1252 bytes to QString and back. A character Windows-1252 cannot
// hold is dropped.
QString qs(std::string_view text);
std::string cp(const QString& text);

// The system's beep; tests read the count.
void piepsen();
int piepszahl();

// The general error display. Messages of the core are UTF-8.
void fehlerzeigen(const QString& meldung);
// Every message shown so far (for tests), and whether a modal box appears.
QStringList& fehlerliste();
void fehlerboxen(bool modal);

// Runs a handler's body; an exception that leaves it is shown by the error
// display and goes no further.
template <class F>
void sicher(F&& f) {
    try {
        f();
    } catch (const std::exception& e) {
        fehlerzeigen(QString::fromUtf8(e.what()));
    } catch (...) {
        fehlerzeigen(QStringLiteral("E/A-Fehler"));
    }
}

// Fonts by the names the windows were designed with; fenstererzeugen() maps
// them onto fonts that Debian installs.
void schriftenzuordnen();
QFont schrift(const QString& familie, int pixel, bool fett);
QFont festschrift(int pixel, bool fett = true);  // "Courier"

// A label with its objectName at x, y in bold "MS Sans Serif" of the given
// pixel height; 0 keeps the toolkit's font.
QLabel* beschriftung(QWidget* eltern, const char* name, const QString& text, int x, int y, int pixel = 13);

// The focus left a field for another field of the window: not when the whole
// window merely lost the front.
bool verlassen(QEvent* e);

// A name field takes only what Windows-1252 can hold, typed or pasted.
void schreibbar(QLineEdit* feld);

// A field for the access code: at most 8 characters, each shown as "*",
// letters turned into upper case as they are typed or pasted.
void codefeld(QLineEdit* feld);

// Base of every window: borderless, its own size, placed on activation.
class Fenster : public QWidget {
    Q_OBJECT
public:
    Fenster(const char* name, int breite, int hoehe);

    // Shows the window, raises it and makes it the active window; its
    // FormActivate runs when it was not the active window before.
    void vorholen();
    // Hides the window and gives the front back to the menu.
    void zummenue();
    // Hides the window and gives the front back to the window that had it
    // before this one, or to the menu when that one is hidden by now.
    void zurueck();

    static Fenster* aktivesFenster();
    static void aktivesFensterVergessen();

protected:
    virtual void FormActivate() {}
    virtual QPoint platz() const { return QPoint(0, 35); }
    bool event(QEvent* e) override;

private:
    void aktivieren();
    QPointer<Fenster> vorher_;
};

// The windows by their part in the program. Start-up registers them, so that
// a window brings another to the front without knowing its class.
enum class Rolle { menue, code, faecher, lehrer, klassen, jahr, verteilung };
void anmelden(Rolle rolle, Fenster* fenster);
void vorholen(Rolle rolle);

// What start-up does once a year was chosen (the menu shows it).
std::function<void(const std::string&)>& jahrgewaehlt();

// A window that needs a current year and finds none brings the year window
// to the front instead and touches no file.
bool jahrvorhanden();

}  // namespace nux
