// A long seeded random walk through the real windows, offscreen: random but
// valid gestures of a user (buttons, typing, pasting, list presses with every
// modifier and mouse button, drags, clicks anywhere on the grid, saves,
// printouts, new years, takeovers), and after every step the invariants,
// checked against the files:
// - no crash, no step longer than the watchdog allows, no message but the
//   program's German ones, no warning of the toolkit;
// - every data file of every year loads and is a whole number of records;
// - the editors' lists are what their files hold; after "speichern" the class
//   file is the assignment model; every teacher's available hours are the
//   required hours of the file minus the hours of the teacher's lessons, and
//   AssignedHours is the sum of the lessons that have a teacher;
// - nothing is written outside the program folder.
//
//   nux_zufall --seed N --schritte M
//
// On a failure it prints the seed, the step and the gestures before it, and
// exits with 1.
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <deque>
#include <random>
#include <set>
#include <thread>

#include "app/kern/code.h"
#include "app/nux_code.h"
#include "app/nux_menue.h"
#include "editors/nux_faecher.h"
#include "editors/nux_klassen.h"
#include "editors/nux_lehrer.h"
#include "years/nux_jahr.h"
#include "app/start.h"
#include "assignment/drucken.h"
#include "assignment/nux_verteilung.h"
#include "editors/kern/faecher.h"
#include "editors/kern/klassen.h"
#include "editors/kern/lehrer.h"
#include "fenster/hinweis.h"
#include "fenster/shell.h"
#include "storage/datei.h"
#include "storage/jahr.h"
#include "storage/satz.h"
#include "storage/text.h"
#include "years/kern/jahre.h"

namespace {

std::mt19937_64 zufall;
std::uint64_t seed = 0;
long schritt = 0;
std::deque<QString> verlauf;  // the last gestures, for the report
QStringList warnungen;
std::atomic<long long> schrittbeginn{0};

long long jetzt() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

int zahl(int n) { return n <= 0 ? 0 : static_cast<int>(zufall() % static_cast<std::uint64_t>(n)); }
bool ja(int prozent) { return zahl(100) < prozent; }
template <class T>
const T& eins(const std::vector<T>& v) { return v[static_cast<std::size_t>(zahl(static_cast<int>(v.size())))]; }

[[noreturn]] void scheitern(const QString& was) {
    std::fprintf(stderr, "\nZufallslauf gescheitert: Seed %llu, Schritt %ld\n%s\nLetzte Gesten:\n",
                 static_cast<unsigned long long>(seed), schritt, qPrintable(was));
    for (const auto& g : verlauf) std::fprintf(stderr, "  %s\n", qPrintable(g));
    std::fflush(stderr);
    std::_Exit(1);
}

bool zeigen = false;  // NUX_ZUFALL_ZEIGEN: every gesture on stdout

void geste(const QString& g) {
    if (zeigen) std::printf("%s\n", qPrintable(QStringLiteral("%1: %2").arg(schritt).arg(g)));
    verlauf.push_back(QStringLiteral("%1: %2").arg(schritt).arg(g));
    if (verlauf.size() > 12) verlauf.pop_front();
}

// ---------------------------------------------------------------- gestures

Qt::KeyboardModifiers tasten() {
    if (ja(50)) return {};
    Qt::KeyboardModifiers m;
    if (ja(50)) m |= Qt::ShiftModifier;
    if (ja(50)) m |= Qt::ControlModifier;
    if (ja(50)) m |= Qt::AltModifier;
    return m;
}

Qt::MouseButton knopf() {
    const int n = zahl(10);
    return n < 7 ? Qt::LeftButton : (n < 9 ? Qt::RightButton : Qt::MiddleButton);
}

QString text() {
    static const QStringList stuecke = {
        "0", "1", "2", "5", "9", "12", "2027", "2,5", "1.5", ",", ".", "-", "#", " ", "a", "Z", "x", "Mu", "ä", "Ö",
        "ß", "é", "€", "ł", "Ω", "Deutsch", "Anton Berger", "3a", "    ", "'", "\"", "/", "\\", "..", "%s", "ü"};
    QString t;
    const int n = ja(5) ? 60 + zahl(250) : 1 + zahl(4);
    while (t.size() < n) t += stuecke[zahl(static_cast<int>(stuecke.size()))];
    return t.left(n);
}

void tippen(QWidget* w, const QString& t) {
    for (const QChar ch : t) {
        if (ch.unicode() < 0x80)
            QTest::keyClick(w, static_cast<char>(ch.unicode()));
        else
            QTest::sendKeyEvent(QTest::Click, w, static_cast<Qt::Key>(ch.toUpper().unicode()), QString(ch), {});
    }
}

const Qt::Key kSteuertasten[] = {Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Left, Qt::Key_Right, Qt::Key_Home,
                                 Qt::Key_End,       Qt::Key_Return, Qt::Key_Enter, Qt::Key_Tab,  Qt::Key_Backtab,
                                 Qt::Key_Escape,    Qt::Key_Up,     Qt::Key_Down,  Qt::Key_Space, Qt::Key_Insert};

void feldbedienen(QLineEdit* f) {
    QTest::mouseClick(f, Qt::LeftButton, {}, QPoint(2 + zahl(std::max(1, f->width() - 4)), f->height() / 2));
    switch (zahl(6)) {
        case 0: {
            const QString t = text();
            geste(f->objectName() + " tippt " + t.left(40));
            tippen(f, t);
            break;
        }
        case 1: {
            const QString t = text();
            geste(f->objectName() + " überschreibt mit " + t.left(40));
            f->selectAll();
            QTest::keyClick(f, Qt::Key_Backspace);
            tippen(f, t);
            break;
        }
        case 2: {
            const QString t = text();
            geste(f->objectName() + " fügt ein " + t.left(40));
            QGuiApplication::clipboard()->setText(t);
            QTest::keyClick(f, Qt::Key_V, Qt::ControlModifier);
            break;
        }
        case 3: {
            const Qt::Key k = kSteuertasten[zahl(std::size(kSteuertasten))];
            const auto m = tasten();
            geste(f->objectName() + QStringLiteral(" Taste %1 mit %2").arg(k, 0, 16).arg(int(m), 0, 16));
            QTest::keyClick(f, k, m);
            break;
        }
        case 4:
            geste(f->objectName() + " Strg+A, Strg+X / Strg+Z");
            QTest::keyClick(f, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(f, ja(50) ? Qt::Key_X : Qt::Key_Z, Qt::ControlModifier);
            break;
        default: {
            const QString t = text();
            geste(f->objectName() + " tippt und verlässt " + t.left(40));
            tippen(f, t);
            QTest::keyClick(f, ja(50) ? Qt::Key_Tab : Qt::Key_Return);
        }
    }
}

QPoint zeilenpunkt(QListWidget* l) {
    if (l->count() == 0 || ja(10)) return QPoint(zahl(l->viewport()->width()), zahl(l->viewport()->height()));
    QListWidgetItem* it = l->item(zahl(l->count()));
    l->scrollToItem(it);
    return l->visualItemRect(it).center();
}

void listebedienen(QListWidget* l) {
    QWidget* v = l->viewport();
    const QPoint p = zeilenpunkt(l);
    const auto m = tasten();
    const auto b = knopf();
    switch (zahl(8)) {
        case 0: {
            const QPoint q = zeilenpunkt(l);
            geste(l->objectName() + QStringLiteral(" zieht von %1 nach %2").arg(p.y()).arg(q.y()));
            QTest::mousePress(v, Qt::LeftButton, m, p);
            const int schritte = 1 + zahl(6);
            for (int i = 1; i <= schritte; ++i) QTest::mouseMove(v, p + (q - p) * i / schritte);
            QTest::mouseRelease(v, Qt::LeftButton, m, q);
            break;
        }
        case 1:
            geste(l->objectName() + QStringLiteral(" Doppelklick bei %1").arg(p.y()));
            QTest::mouseDClick(v, b, m, p);
            break;
        case 2: {
            const Qt::Key k = kSteuertasten[zahl(std::size(kSteuertasten))];
            geste(l->objectName() + QStringLiteral(" Taste %1").arg(k, 0, 16));
            QTest::keyClick(l, k, m);
            break;
        }
        default:
            geste(l->objectName() + QStringLiteral(" Klick %1 mit %2 bei %3").arg(int(b)).arg(int(m), 0, 16).arg(p.y()));
            QTest::mouseClick(v, b, m, p);
    }
}

void gitterbedienen(QScrollArea* s) {
    QWidget* w = s->widget();
    if (!w) return;
    const auto& v = verteilfenster->modell();
    QPoint p(zahl(w->width()), zahl(w->height()));
    if (v.klassenzahl() > 0 && v.zeilenzahl() > 0 && ja(80)) {
        const int c = zahl(v.klassenzahl()), r = zahl(v.zeilenzahl());
        p = QPoint((ja(75) ? nux::raster::lehrerX(c) : nux::raster::stundenX(c)) + zahl(30), nux::raster::zeileY(r) + zahl(12));
    }
    const auto m = ja(80) ? Qt::KeyboardModifiers() : tasten();
    const auto b = ja(80) ? Qt::LeftButton : knopf();
    s->ensureVisible(p.x(), p.y());
    geste(QStringLiteral("Gitter Klick %1 mit %2 bei %3,%4").arg(int(b)).arg(int(m), 0, 16).arg(p.x()).arg(p.y()));
    QTest::mouseClick(w, b, m, p);
}

bool gespeichert = false;  // the last gesture was "speichern" of the assignment
int verteilspeicherungen = 0;

void klicken(QWidget* w) {
    const auto m = ja(85) ? Qt::KeyboardModifiers() : tasten();
    const auto b = ja(85) ? Qt::LeftButton : knopf();
    geste(QStringLiteral("%1 %2 Klick %3 mit %4").arg(w->metaObject()->className(), w->objectName()).arg(int(b)).arg(int(m), 0, 16));
    QPoint p = w->rect().center();
    if (qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w)) p = QPoint(8, w->height() / 2);
    QTest::mouseClick(w, b, m, p);
    // A button acts on the left button only.
    if (b == Qt::LeftButton && w == verteilfenster->findChild<QPushButton*>("Button1")) gespeichert = true;
}

nux::Fenster* vorne() {
    nux::Fenster* f = nux::Fenster::aktivesFenster();
    return f && f->isVisible() ? f : static_cast<nux::Fenster*>(menuform);
}

// The menu unlocked with the code of a fresh "codes" file.
void entsperren() {
    menuform->vorholen();
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
    auto* feld = menuform->findChild<QLineEdit*>("Edit2");
    feld->setFocus();
    QTest::keyClicks(feld, nux::kStandardcode);
    QTest::keyClick(feld, Qt::Key_Tab);
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
    if (!menuform->findChild<QPushButton*>("Button1")->isEnabled()) scheitern("Das Menü lässt sich nicht entsperren");
}

void neustart() {
    geste("Ende und Neustart");
    QTest::mouseClick(menuform->findChild<QPushButton*>("Button6"), Qt::LeftButton);
    fensterfreigeben();
    // The code may have been changed by the walk; the administrator resets it.
    nux::neuschreiben<nux::Codesatz>("codes", {nux::Codesatz{nux::codieren(nux::kStandardcode)}});
    fenstererzeugen();
    entsperren();
}

// Gestures that random presses would hardly ever string together.
void jahrgeste() {
    auto* liste = jahrfenster->findChild<QListWidget*>("ListBox1");
    const auto zeile = [&](int i, Qt::KeyboardModifiers m) {
        if (i < 0 || i >= liste->count()) return;
        QTest::mouseClick(liste->viewport(), Qt::LeftButton, m, liste->visualItemRect(liste->item(i)).center());
    };
    if (ja(40) && liste->count() < 12) {
        const QString j = QString::number(2020 + zahl(12)), n = QString::number(1 + zahl(3));
        geste("neues Jahr " + j + " " + n);
        zeile(0, {});
        QTest::keyClicks(jahrfenster->findChild<QLineEdit*>("teditzahl1"), j);
        auto* nummer = jahrfenster->findChild<QLineEdit*>("teditnummer1");
        nummer->selectAll();
        QTest::keyClicks(nummer, n);
        QTest::mouseClick(jahrfenster->findChild<QPushButton*>("Button1"), Qt::LeftButton);
    } else if (liste->count() > 2) {
        const int ziel = 1 + zahl(liste->count() - 1), quelle = 1 + zahl(liste->count() - 1);
        geste(QStringLiteral("Übernahme von Zeile %1 nach %2").arg(quelle).arg(ziel));
        zeile(ziel, Qt::AltModifier);
        zeile(quelle, {});
        for (int i = 1; i <= 7; ++i)
            if (ja(40)) {
                auto* r = jahrfenster->findChild<QRadioButton*>(QStringLiteral("RadioButton%1").arg(i));
                if (r && r->isVisible()) QTest::mouseClick(r, Qt::LeftButton, {}, QPoint(8, r->height() / 2));
            }
        auto* b = jahrfenster->findChild<QPushButton*>("Button2");
        if (b->isVisible()) QTest::mouseClick(b, Qt::LeftButton);
    }
}

void verteilgeste() {
    auto* liste = verteilfenster->findChild<QListWidget*>("ListBox1");
    if (liste->count() > 3 && ja(60)) {
        const int p = zahl(liste->count() - 2);
        const auto m = ja(3) ? (ja(50) ? Qt::AltModifier : Qt::ControlModifier) : Qt::KeyboardModifiers();
        geste(QStringLiteral("Verteilung: LehrerIn %1 mit %2").arg(p).arg(int(m), 0, 16));
        QTest::mouseClick(liste->viewport(), Qt::LeftButton, m, liste->visualItemRect(liste->item(p)).center());
    }
    for (int i = zahl(4); i >= 0; --i) gitterbedienen(verteilfenster->findChild<QScrollArea*>("ScrollBox1"));
    for (int i = ja(30) ? zahl(4) : 0; i > 0; --i) {
        // A step back or forward, by the keys of the window.
        const bool zurueck = ja(60);
        geste(zurueck ? "Verteilung: Strg+Z" : "Verteilung: Strg+Y");
        QWidget* ziel = QApplication::focusWidget() ? QApplication::focusWidget() : verteilfenster;
        QTest::keyClick(ziel, zurueck ? Qt::Key_Z : Qt::Key_Y, Qt::ControlModifier);
    }
    if (ja(30)) {
        geste("Verteilung: speichern");
        QTest::mouseClick(verteilfenster->findChild<QPushButton*>("Button1"), Qt::LeftButton);
        gespeichert = true;
    }
}

void schritttun() {
    gespeichert = false;
    if (ja(10)) {
        static const char* const knoepfe[] = {"Button1", "Button1", "Button1", "Button5", "Button2",
                                              "Button3", "Button7", "Button4", "Button8"};
        const char* k = knoepfe[zahl(std::size(knoepfe))];
        geste(QStringLiteral("Menü ") + k);
        QTest::mouseClick(menuform->findChild<QPushButton*>(k), Qt::LeftButton);
        return;
    }
    if (ja(1) && ja(20)) return neustart();
    nux::Fenster* f = vorne();
    if (f == static_cast<nux::Fenster*>(jahrfenster) && ja(25)) return jahrgeste();
    if (f == static_cast<nux::Fenster*>(verteilfenster) && ja(50)) return verteilgeste();

    // Lists, fields and the grid are where the work is; labels and panels
    // are pressed now and then.
    std::vector<QWidget*> teile;
    for (QWidget* w : f->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(f) || !w->isEnabled()) continue;
        int gewicht = 0;
        if (qobject_cast<QListWidget*>(w) || qobject_cast<QScrollArea*>(w)) gewicht = 6;
        else if (qobject_cast<QLineEdit*>(w)) gewicht = 4;
        else if (qobject_cast<QAbstractButton*>(w)) gewicht = 3;
        else if (qobject_cast<QLabel*>(w) || qobject_cast<QFrame*>(w) || qobject_cast<QProgressBar*>(w)) gewicht = 1;
        teile.insert(teile.end(), gewicht, w);
    }
    if (teile.empty()) return;
    QWidget* w = eins(teile);
    if (qobject_cast<QPushButton*>(w) && w->objectName() == "Button6") return;  // "Ende": see neustart
    if (auto* l = qobject_cast<QListWidget*>(w)) return listebedienen(l);
    if (auto* e = qobject_cast<QLineEdit*>(w)) return feldbedienen(e);
    if (auto* s = qobject_cast<QScrollArea*>(w)) return gitterbedienen(s);
    klicken(w);
}

// ---------------------------------------------------------------- invariants

QString programmordner, aussen;
int meldungen = 0;

const QStringList& deutschemeldungen() {
    static const QStringList m = {nux::kNichtGefunden, nux::kZugriffVerweigert, nux::kDateiende,
                                  nux::kDatentraegerVoll, nux::kBereich};
    return m;
}

template <class Satz>
void dateipruefen(const std::string& pfad) {
    if (!nux::dateida(pfad)) return;
    try {
        nux::laden<Satz>(pfad);
    } catch (const std::exception& e) {
        scheitern(QStringLiteral("%1 lädt nicht: %2").arg(QString::fromStdString(pfad), QString::fromUtf8(e.what())));
    }
}

template <class Liste>
void listevergleichen(QWidget* fenster, const Liste& soll, const char* was) {
    auto* l = fenster->findChild<QListWidget*>("ListBox1");
    QStringList ist, sollt;
    for (int i = 0; i < l->count(); ++i) ist << l->item(i)->text();
    for (const auto& z : soll) sollt << nux::qs(z);
    if (ist == sollt) return;
    int i = 0;
    while (i < ist.size() && i < sollt.size() && ist[i] == sollt[i]) ++i;
    const auto zeile = [](const QStringList& l, int i) {
        return i < l.size() ? QStringLiteral("\"%1\" (%2 Zeichen)").arg(l[i]).arg(l[i].size()) : QStringLiteral("keine");
    };
    scheitern(QStringLiteral("Die Liste %1 ist nicht, was die Datei hält; Zeile %2:\n  Liste: %3\n  Datei: %4")
                  .arg(was).arg(i).arg(zeile(ist, i), zeile(sollt, i)));
}

void verteilungpruefen() {
    const auto& v = verteilfenster->modell();
    if (v.klassenzahl() <= 0) return;
    verteilspeicherungen += gespeichert;
    if (gespeichert && nux::dateida(nux::jahrdatei("klassen")) &&
        nux::laden<nux::Klassensatz>(nux::jahrdatei("klassen")) != v.speicherdaten())
        scheitern("Nach \"speichern\" hält klassen nicht das Modell");

    // The lessons that have a teacher: the grid's cells, and the cells the grid
    // has no row for as the file gave them.
    std::int64_t zugeteilt = 0;
    for (int c = 0; c < v.klassenzahl(); ++c) {
        std::set<int> zeilen;
        for (int r = 0; r < v.zeilenzahl(); ++r) {
            const int schluessel = v.RowKeys[c][r];
            zeilen.insert(schluessel);
            const auto& z = v.zelle(c, r);
            if (z.sichtbar() && !z.frei()) zugeteilt += z.stunden;
        }
        const auto& k = v.Classes[static_cast<std::size_t>(c)];
        for (int s = 0; s <= nux::faecher::kHoechsterIndex; ++s)
            for (int j = 1; j <= 3; ++j) {
                const std::string code = nux::trimmen(k.l(j, s));
                const bool imGitter = zeilen.count(s * 10 + j) > 0;
                if (!imGitter && !code.empty() && code.rfind("--", 0) != 0) zugeteilt += k.h(j, s);
            }
    }
    if (zugeteilt != v.AssignedHours)
        scheitern(QStringLiteral("AssignedHours %1, die Stunden mit LehrerIn ergeben %2").arg(v.AssignedHours).arg(zugeteilt));

    const auto lehrer = nux::dateida(nux::jahrdatei("lehrer")) ? nux::laden<nux::Lehrersatz>(nux::jahrdatei("lehrer"))
                                                              : std::vector<nux::Lehrersatz>{};
    const auto& zeilen = v.verfuegbar();
    for (int p = 1; v.lehrerzeile(p); ++p) {
        const auto& zeile = zeilen[static_cast<std::size_t>(p)];
        const int i = nux::listenzeile::index(zeile);
        if (i < 0 || i >= static_cast<int>(lehrer.size())) scheitern("Verfügbarkeitszeile ohne LehrerIn: " + nux::qs(zeile));
        const auto& l = lehrer[static_cast<std::size_t>(i)];
        std::int64_t frei = l.stunden;
        for (int c = 0; c < v.klassenzahl(); ++c)
            for (int r = 0; r < v.zeilenzahl(); ++r)
                if (v.zelle(c, r).sichtbar() && nux::trimmen(v.zelle(c, r).lehrer) == nux::trimmen(l.kurz))
                    frei -= v.zelle(c, r).stunden;
        if (v.verfuegbarestunden(p) != frei)
            scheitern(QStringLiteral("%1: verfügbar %2, Soll minus Unterricht %3")
                          .arg(nux::qs(l.kurz)).arg(v.verfuegbarestunden(p)).arg(frei));
        if (std::abs(frei) < 10000 && nux::zehntellesen(zeile.substr(10, 5)) != frei)
            scheitern("Die Verfügbarkeitszeile zeigt nicht die verfügbaren Stunden: " + nux::qs(zeile));
    }
}

void pruefen() {
    // Messages.
    const QStringList& liste = nux::fehlerliste();
    for (; meldungen < liste.size(); ++meldungen) {
        const QString& m = liste[meldungen];
        const bool deutsch = deutschemeldungen().contains(m) || (m.startsWith('\'') && m.endsWith("' ist kein gültiger Integerwert"));
        if (!deutsch) scheitern("Meldung, die nicht zum Programm gehört: " + m);
    }
    if (!warnungen.isEmpty()) scheitern("Warnung des Toolkits: " + warnungen.join(" | "));

    // Nothing outside the program folder.
    const auto alles = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
    if (QDir(aussen).entryList(alles) != QStringList{"nux"})
        scheitern("Außerhalb des Programmordners geschrieben: " + QDir(aussen).entryList(alles).join(", "));
    if (QDir::currentPath() != programmordner) scheitern("Das Arbeitsverzeichnis ist nicht mehr der Programmordner");

    // Every file of every year.
    for (const QString& o : QDir().entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden)) {
        const std::string j = o.toStdString() + "/";
        dateipruefen<nux::Fachsatz>(j + "faecher");
        dateipruefen<nux::Lehrersatz>(j + "lehrer");
        dateipruefen<nux::Klassensatz>(j + "klassen");
    }
    if (nux::dateida("codes") && nux::dateilesen("codes").size() != nux::Codesatz::groesse)
        scheitern("codes hat nicht genau einen Satz");

    if (!nux::jahrgesetzt()) return;
    nux::Fenster* f = vorne();
    if (f == static_cast<nux::Fenster*>(faecherfenster)) {
        // A line keeps the fields as typed until the next activation; the
        // record holds them trimmed.
        const std::string pfad = nux::jahrdatei("faecher");
        const auto saetze = nux::dateida(pfad) ? nux::laden<nux::Fachsatz>(pfad) : std::vector<nux::Fachsatz>{};
        auto* l = f->findChild<QListWidget*>("ListBox1");
        std::vector<int> gesehen(saetze.size(), 0);
        for (int i = 0; i < l->count(); ++i) {
            const std::string z = nux::cp(l->item(i)->text());
            const int index = nux::listenzeile::index(z);
            if (index < 0 || index >= static_cast<int>(saetze.size()) || gesehen[index]++ ||
                !(nux::faecher::satz(z) == saetze[static_cast<std::size_t>(index)]))
                scheitern("Die Zeile eines Fachs ist nicht sein Satz in faecher: " + l->item(i)->text());
        }
        if (l->count() != static_cast<int>(saetze.size()))
            scheitern(QStringLiteral("Die Fächerliste hat %1 Zeilen, faecher %2 Sätze").arg(l->count()).arg(saetze.size()));
    }
    if (f == static_cast<nux::Fenster*>(lehrerfenster)) {
        // A teacher withdrawn by a save keeps the line until the next activation.
        auto soll = nux::lehrer::holen(nux::jahrdatei("lehrer"));
        auto* l = f->findChild<QListWidget*>("ListBox1");
        for (int i = 0; i < l->count(); ++i) {
            const std::string z = nux::cp(l->item(i)->text());
            if (nux::lehrer::name(z).rfind('#', 0) != 0) continue;
            const int index = nux::listenzeile::index(z);
            if (z != nux::lehrer::zeile(nux::satzlesen<nux::Lehrersatz>(nux::jahrdatei("lehrer"), index), index))
                scheitern("Die Zeile einer zurückgezogenen LehrerIn ist nicht ihr Satz: " + l->item(i)->text());
            nux::listenzeile::einsortieren(soll, z);
        }
        listevergleichen(f, soll, "der LehrerInnen");
    }
    if (f == static_cast<nux::Fenster*>(klassenfenster)) {
        const std::string pfad = nux::jahrdatei("klassen");
        QStringList datei, liste;
        if (nux::dateida(pfad))
            for (const auto& k : nux::laden<nux::Klassensatz>(pfad)) datei << nux::qs(k.name);
        auto* l = f->findChild<QListWidget*>("ListBox1");
        for (int i = 0; i < l->count(); ++i) liste << nux::qs(nux::zeilenname(nux::cp(l->item(i)->text())));
        datei.sort();
        liste.sort();
        if (datei != liste)
            scheitern("Die Klassenliste ist nicht, was klassen hält: " + liste.join(",") + " / " + datei.join(","));
    }
    if (f == static_cast<nux::Fenster*>(verteilfenster)) verteilungpruefen();
}

// ---------------------------------------------------------------- school

void schuleanlegen() {
    const std::string j = "2026 1";
    QDir().mkdir(QString::fromStdString(j));
    std::vector<nux::Fachsatz> f;
    const char* faecher[][2] = {{"Deutsch", "D"}, {"Mathematik", "M"}, {"Englisch", "E"}, {"Musik", "Mu"}, {"#Latein", "L"}};
    for (int i = 0; i < 5; ++i) f.push_back({faecher[i][0], faecher[i][1], i, i != 3});
    std::vector<nux::Lehrersatz> l = {{"Maria Huber", "MarH", 225}, {"Anton Berger", "AntB", 100},
                                      {"Rudi Rau", "RudR", 0},     {"#Ida Alt", "IdaA", 50},
                                      {"J\xFCrgen \xD6z", "J\xFCr\xD6", 180}};
    std::vector<nux::Klassensatz> k(4);
    const char* namen[] = {"1a", "1b", "2a", "3c"};
    for (int c = 0; c < 4; ++c) {
        k[c].name = namen[c];
        for (int s = 0; s < 5; ++s) {
            k[c].h(1, s) = 10 * (1 + (c + s) % 5);
            if ((c + s) % 3 == 0) k[c].h(2, s) = 15;
            if (s == 3) k[c].l(1, s) = "AntB";  // hidden: Musik is not taught
        }
        k[c].l(1, 0) = c % 2 ? "MarH" : "Wer";  // "Wer" is no teacher
        k[c].z(1, 1) = "F\xF6rderkurs";
    }
    nux::neuschreiben(j + "/faecher", f);
    nux::neuschreiben(j + "/lehrer", l);
    nux::neuschreiben(j + "/klassen", k);
    nux::jahraktschreiben(j);
}

void warnungsfaenger(QtMsgType typ, const QMessageLogContext&, const QString& text) {
    if (typ == QtDebugMsg || typ == QtInfoMsg) return;
    // The offscreen platform has no window manager to ask.
    if (text.contains("propagateSizeHints") || text.contains("QFont::setPointSize")) return;
    warnungen << text;
    if (typ == QtFatalMsg) scheitern("qFatal: " + text);
}

}  // namespace

int main(int argc, char** argv) {
    long schritte = 2000;
    seed = std::random_device{}();
    for (int i = 1; i + 1 < argc; i += 2) {
        const QString a = QString::fromLocal8Bit(argv[i]);
        if (a == "--seed") seed = std::strtoull(argv[i + 1], nullptr, 10);
        else if (a == "--schritte") schritte = std::strtol(argv[i + 1], nullptr, 10);
        else {
            std::fprintf(stderr, "Aufruf: nux_zufall --seed N --schritte M\n");
            return 2;
        }
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir wurzel;
    aussen = wurzel.path() + "/programm";
    QDir().mkpath(aussen + "/nux");
    // Whatever the toolkit keeps for the user goes elsewhere, so that the
    // check of the outside sees the program alone.
    qputenv("HOME", (wurzel.path() + "/heim").toLocal8Bit());
    qputenv("XDG_CACHE_HOME", (wurzel.path() + "/heim/cache").toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (wurzel.path() + "/heim/config").toLocal8Bit());
    QDir().mkpath(wurzel.path() + "/heim/laufzeit");
    QFile::setPermissions(wurzel.path() + "/heim/laufzeit", QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", (wurzel.path() + "/heim/laufzeit").toLocal8Bit());
    zeigen = qEnvironmentVariableIsSet("NUX_ZUFALL_ZEIGEN");
    QApplication app(argc, argv);
    qInstallMessageHandler(warnungsfaenger);
    programmordner = aussen + "/nux";
    QDir::setCurrent(programmordner);
    std::printf("Zufallslauf: Seed %llu, %ld Schritte\n", static_cast<unsigned long long>(seed), schritte);
    std::fflush(stdout);
    zufall.seed(seed);

    nux::druckzielsetzen(nux::Druckziel::pdf);
    nux::fehlerboxen(true);
    Tmenuform::seiteoeffnen = [](const QString&) {};
    nux::oeffnersetzen([](const QString&) { return true; });

    // Modal boxes (messages, questions) are answered with one of their buttons.
    QTimer antworten;
    antworten.setInterval(5);
    QObject::connect(&antworten, &QTimer::timeout, [] {
        QWidget* m = QApplication::activeModalWidget();
        if (!m) return;
        std::vector<QAbstractButton*> b;
        for (auto* k : m->findChildren<QAbstractButton*>())
            if (k->isVisible() && k->isEnabled()) b.push_back(k);
        geste(QStringLiteral("Box \"%1\": %2").arg(m->windowTitle(),
                                                   b.empty() ? QStringLiteral("schließen") : eins(b)->text()));
        if (b.empty()) m->close(); else eins(b)->click();
    });
    antworten.start();

    const long long grenze = qEnvironmentVariableIntValue("NUX_ZUFALL_GRENZE_MS") > 0
                                 ? qEnvironmentVariableIntValue("NUX_ZUFALL_GRENZE_MS") : 60000;
    std::atomic<bool> fertig{false};
    std::thread wache([&] {
        while (!fertig) {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            const long long b = schrittbeginn;
            if (b && jetzt() - b > grenze) {
                std::fprintf(stderr, "Hänger: ");
                scheitern(QStringLiteral("Ein Schritt dauert länger als %1 ms").arg(grenze));
            }
        }
    });

    schuleanlegen();
    fenstererzeugen();
    entsperren();
    pruefen();

    const auto anfang = std::chrono::steady_clock::now();
    long langsamster = 0, langsamsterSchritt = 0;
    int drucke = 0;
    for (schritt = 1; schritt <= schritte; ++schritt) {
        schrittbeginn = jetzt();
        schritttun();
        for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
        pruefen();
        const long dauer = static_cast<long>(jetzt() - schrittbeginn);
        if (dauer > langsamster) langsamster = dauer, langsamsterSchritt = schritt;
        if (schritt % 1000 == 0) {
            drucke += static_cast<int>(QDir(nux::kDruckordner).entryList(QDir::Files).size());
            QDir(nux::kDruckordner).removeRecursively();
            QDir(QStringLiteral("export")).removeRecursively();  // the printouts of a long run fill the disk
            std::printf("  %ld Schritte\n", schritt);
            std::fflush(stdout);
        }
    }
    schrittbeginn = 0;
    fertig = true;
    wache.join();
    const double sekunden = std::chrono::duration<double>(std::chrono::steady_clock::now() - anfang).count();
    std::printf("Zufallslauf bestanden: Seed %llu, %ld Schritte in %.1f s, längster Schritt %ld ms (Schritt %ld), "
                "%d Meldungen des Programms, Abstürze 0, Invariantenbrüche 0\n",
                static_cast<unsigned long long>(seed), schritte, sekunden, langsamster, langsamsterSchritt, meldungen);
    drucke += static_cast<int>(QDir(nux::kDruckordner).entryList(QDir::Files).size());
    // What the walk reached, to see that it went beyond the first window.
    int jahre = 0, saetze[3] = {0, 0, 0};
    for (const QString& o : QDir().entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        ++jahre;
        const char* namen[3] = {"/faecher", "/lehrer", "/klassen"};
        const std::size_t groessen[3] = {nux::Fachsatz::groesse, nux::Lehrersatz::groesse, nux::Klassensatz::groesse};
        for (int i = 0; i < 3; ++i) {
            const std::string d = o.toStdString() + namen[i];
            if (nux::dateida(d)) saetze[i] += static_cast<int>(nux::dateilesen(d).size() / groessen[i]);
        }
    }
    std::printf("Erreicht: %d Ordner, %d Fach-, %d LehrerInnen-, %d Klassensätze, %d Speicherungen der Verteilung, "
                "%d Druckdateien\n", jahre, saetze[0], saetze[1], saetze[2], verteilspeicherungen, drucke);
    fensterfreigeben();
    return 0;
}
