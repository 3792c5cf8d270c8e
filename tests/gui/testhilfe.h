#pragma once
// Every window test runs in a fresh temporary program folder named "nux"
// and leaves nothing behind.
// It also brings what every window test needs: Qt, and the windows with
// the files they work on.
#include <QtTest>
#include <QtWidgets>
#include <cerrno>
#include <filesystem>

#include "app/nux_code.h"
#include "app/nux_menue.h"
#include "app/start.h"
#include "assignment/drucken.h"
#include "assignment/nux_verteilung.h"
#include "editors/nux_faecher.h"
#include "editors/nux_klassen.h"
#include "editors/nux_lehrer.h"
#include "fenster/frage.h"
#include "fenster/hinweis.h"
#include "fenster/newcomps.h"
#include "fenster/shell.h"
#include "storage/datei.h"
#include "storage/jahr.h"
#include "storage/satz.h"
#include "storage/text.h"
#include "years/nux_jahr.h"

namespace testhilfe {

class Programmordner {
public:
    Programmordner() : alt_(QDir::currentPath()) {
        QDir(temp_.path()).mkdir(QStringLiteral("nux"));
        pfad_ = temp_.path() + QStringLiteral("/nux");
        QDir::setCurrent(pfad_);
    }
    ~Programmordner() { QDir::setCurrent(alt_); }
    const QString& pfad() const { return pfad_; }

private:
    QString alt_;
    QTemporaryDir temp_;
    QString pfad_;
};

// A started program in a fresh folder; destroyed windows on the way out.
struct Programm {
    Programmordner ordner;
    Programm() {
        nux::fehlerboxen(false);
        nux::fehlerliste().clear();
        // A question box nobody answers would hang the test; a test that
        // expects one sets its own answer.
        nux::antworthaken() = [](const QString& frage, bool) -> nux::Antwort {
            qFatal("unerwartete Frage: %s", qPrintable(frage));
        };
        fenstererzeugen();
    }
    ~Programm() { fensterfreigeben(); }
};

template <class T = QWidget>
T* teil(QWidget* fenster, const char* name) {
    T* t = fenster->findChild<T*>(QString::fromLatin1(name));
    if (!t) qFatal("%s fehlt in %s", name, qPrintable(fenster->objectName()));
    return t;
}

inline QPoint mitte(QListWidget* l, int zeile) { return l->visualItemRect(l->item(zeile)).center(); }

inline void zeileklicken(QListWidget* l, int zeile, Qt::KeyboardModifiers tasten = {}) {
    QTest::mouseClick(l->viewport(), Qt::LeftButton, tasten, mitte(l, zeile));
}

// Types as a user does, umlauts included (QTest::keyClicks knows ASCII only).
inline void tippen(QWidget* w, const QString& text) {
    for (const QChar ch : text)
        QTest::sendKeyEvent(QTest::Click, w, static_cast<Qt::Key>(ch.toUpper().unicode()), QString(ch), {});
}

// Clicks into a field and types over what it held.
inline void ueberschreiben(QLineEdit* feld, const QString& text) {
    QTest::mouseClick(feld, Qt::LeftButton, {}, QPoint(4, feld->height() / 2));
    feld->selectAll();
    QTest::keyClick(feld, Qt::Key_Backspace);
    tippen(feld, text);
}

inline std::vector<std::uint8_t> bytes(const std::string& pfad) { return nux::dateilesen(pfad); }

// The year "2026 1", created and current.
inline void jahranlegen() {
    QDir().mkdir(QStringLiteral("2026 1"));
    nux::jahrsetzen("2026 1");
}

// A small school in it: subjects D (index 0) and M (1); teachers AnnA (22,0)
// and Ra (10,0); classes 1a and 1b with D 2,0 each, M 4,5 in 1a with an extra
// text (blanks around, the euro sign, a control character) and M 3,0 in 1b
// held by Ra.
inline void kleineschule() {
    jahranlegen();
    nux::neuschreiben<nux::Fachsatz>(nux::jahrdatei("faecher"), {{"Deutsch", "D", 0}, {"Mathematik", "M", 1}});
    nux::neuschreiben<nux::Lehrersatz>(nux::jahrdatei("lehrer"), {{"Anna Alt", "AnnA", 220}, {"Rudi Rau", "Ra", 100}});
    std::vector<nux::Klassensatz> k(2);
    k[0].name = "1a";
    k[1].name = "1b";
    k[0].h(1, 0) = k[1].h(1, 0) = 20;
    k[0].h(1, 1) = 45;
    k[0].z(1, 1) = "  Kurs \x80 5\x01x  ";
    k[1].h(1, 1) = 30;
    k[1].l(1, 1) = "Ra";
    k[1].z(1, 1) = "Gruppe";
    nux::neuschreiben(nux::jahrdatei("klassen"), k);
}

// Runs pending events, so that activations queued by the platform arrive.
inline void warten() {
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
}

// Brings a window to the front as a user coming from another one does: it
// loads its files afresh.
inline void zeigen(nux::Fenster* fenster) {
    nux::Fenster::aktivesFensterVergessen();
    fenster->vorholen();
    warten();
}

// The menu in front, unlocked with the code of a first start: it counts on leaving the field.
inline void entsperren() {
    zeigen(menuform);
    menuform->Edit2->setFocus();
    QTest::keyClicks(menuform->Edit2, "8153\t");
    warten();
}

}  // namespace testhilfe
