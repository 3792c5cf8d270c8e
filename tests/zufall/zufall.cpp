// A seeded random walk of valid user gestures through the real windows, offscreen, with
// the invariants checked against the files after every step (see pruefen). A failure
// prints the seed, the step and the last gestures and exits with 1.
//   nux_zufall --seed N --schritte M
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <random>
#include <thread>

#include "app/kern/code.h"
#include "editors/kern/faecher.h"
#include "editors/kern/klassen.h"
#include "editors/kern/lehrer.h"
#include "assignment/kern/vorschlag.h"
#include "testhilfe.h"

namespace {

std::mt19937_64 zufall;
std::uint64_t seed = 0;
long schritt = 0;
QStringList verlauf;  // the last gestures, for the report
QStringList warnungen;
std::atomic<long long> schrittbeginn{0};

long long jetzt() { return QDateTime::currentMSecsSinceEpoch(); }

int zahl(int n) { return n <= 0 ? 0 : static_cast<int>(zufall() % static_cast<std::uint64_t>(n)); }
bool ja(int prozent) { return zahl(100) < prozent; }
template <class Liste>
auto eins(const Liste& v) { return v[zahl(static_cast<int>(v.size()))]; }

[[noreturn]] void scheitern(const QString& was) {
    std::fprintf(stderr, "\nZufallslauf gescheitert: Seed %llu, Schritt %ld\n%s\nLetzte Gesten:\n",
                 static_cast<unsigned long long>(seed), schritt, qPrintable(was));
    for (const auto& g : verlauf) std::fprintf(stderr, "  %s\n", qPrintable(g));
    std::_Exit(1);
}

void geste(const QString& g) {
    verlauf.push_back(QStringLiteral("%1: %2").arg(schritt).arg(g));
    if (verlauf.size() > 12) verlauf.removeFirst();
}


Qt::KeyboardModifiers tasten() {
    Qt::KeyboardModifiers m;
    if (!ja(50))
        for (const auto t : {Qt::ShiftModifier, Qt::ControlModifier, Qt::AltModifier}) m |= ja(50) ? t : Qt::NoModifier;
    return m;
}

// A press where a user presses: a check box or radio button on its box.
void druecken(QWidget* w, Qt::KeyboardModifiers m = {}, Qt::MouseButton b = Qt::LeftButton) {
    const bool kasten = qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w);
    QTest::mouseClick(w, b, m, kasten ? QPoint(8, w->height() / 2) : w->rect().center());
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

const Qt::Key kSteuertasten[] = {Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Left, Qt::Key_Right, Qt::Key_Home,
                                 Qt::Key_End,       Qt::Key_Return, Qt::Key_Enter, Qt::Key_Tab,  Qt::Key_Backtab,
                                 Qt::Key_Escape,    Qt::Key_Up,     Qt::Key_Down,  Qt::Key_Space, Qt::Key_Insert};

void steuertaste(QWidget* w, Qt::KeyboardModifiers m) {
    const Qt::Key k = kSteuertasten[zahl(std::size(kSteuertasten))];
    geste(w->objectName() + QStringLiteral(" Taste %1 mit %2").arg(k, 0, 16).arg(int(m), 0, 16));
    QTest::keyClick(w, k, m);
}

void feldbedienen(QLineEdit* f) {
    QTest::mouseClick(f, Qt::LeftButton, {}, QPoint(2 + zahl(std::max(1, f->width() - 4)), f->height() / 2));
    const int art = zahl(6);
    if (art == 3) return steuertaste(f, tasten());
    if (art == 4) {
        geste(f->objectName() + " Strg+A, Strg+X / Strg+Z");
        QTest::keyClick(f, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(f, ja(50) ? Qt::Key_X : Qt::Key_Z, Qt::ControlModifier);
        return;
    }
    const QString t = text();
    static const char* const was[] = {" tippt ", " überschreibt mit ", " fügt ein ", "", "", " tippt und verlässt "};
    geste(f->objectName() + QString::fromUtf8(was[art]) + t.left(40));
    if (art == 1) { f->selectAll(); QTest::keyClick(f, Qt::Key_Backspace); }
    if (art == 2) { QGuiApplication::clipboard()->setText(t); QTest::keyClick(f, Qt::Key_V, Qt::ControlModifier); }
    else testhilfe::tippen(f, t);
    if (art == 5) QTest::keyClick(f, ja(50) ? Qt::Key_Tab : Qt::Key_Return);
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
    const int art = zahl(8);
    if (art == 0) {
        const QPoint q = zeilenpunkt(l);
        geste(l->objectName() + QStringLiteral(" zieht von %1 nach %2").arg(p.y()).arg(q.y()));
        QTest::mousePress(v, Qt::LeftButton, m, p);
        const int schritte = 1 + zahl(6);
        for (int i = 1; i <= schritte; ++i) QTest::mouseMove(v, p + (q - p) * i / schritte);
        QTest::mouseRelease(v, Qt::LeftButton, m, q);
    } else if (art == 2) {
        steuertaste(l, m);
    } else {
        geste(l->objectName() + QStringLiteral(" %1 %2 mit %3 bei %4")
                                    .arg(art == 1 ? "Doppelklick" : "Klick").arg(int(b)).arg(int(m), 0, 16).arg(p.y()));
        if (art == 1) QTest::mouseDClick(v, b, m, p); else QTest::mouseClick(v, b, m, p);
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

void klicken(QWidget* w) {
    const auto m = ja(85) ? Qt::KeyboardModifiers() : tasten();
    const auto b = ja(85) ? Qt::LeftButton : knopf();
    geste(QStringLiteral("%1 %2 Klick %3 mit %4").arg(w->metaObject()->className(), w->objectName()).arg(int(b)).arg(int(m), 0, 16));
    druecken(w, m, b);
    // A button acts on the left button only.
    if (b == Qt::LeftButton && w == verteilfenster->findChild<QPushButton*>("Button1")) gespeichert = true;
}

nux::Fenster* vorne() {
    nux::Fenster* f = nux::Fenster::aktivesFenster();
    return f && f->isVisible() ? f : static_cast<nux::Fenster*>(menuform);
}

// The menu unlocked with the code of a fresh "codes" file.
void entsperren() {
    testhilfe::entsperren();
    if (!menuform->findChild<QPushButton*>("Button1")->isEnabled()) scheitern("Das Menü lässt sich nicht entsperren");
}

void neustart() {
    geste("Ende und Neustart");
    druecken(menuform->findChild<QPushButton*>("Button6"));
    fensterfreigeben();
    // The code may have been changed by the walk; the administrator resets it.
    nux::neuschreiben<nux::Codesatz>("codes", {nux::Codesatz{nux::codieren(nux::kStandardcode)}});
    fenstererzeugen();
    entsperren();
}

// Gestures that random presses would hardly ever string together.
void jahrgeste() {
    auto* liste = jahrfenster->findChild<QListWidget*>("ListBox1");
    if (ja(40) && liste->count() < 12) {
        const QString j = QString::number(2020 + zahl(12)), n = QString::number(1 + zahl(3));
        geste("neues Jahr " + j + " " + n);
        testhilfe::zeileklicken(liste, 0);
        QTest::keyClicks(jahrfenster->findChild<QLineEdit*>("teditzahl1"), j);
        auto* nummer = jahrfenster->findChild<QLineEdit*>("teditnummer1");
        nummer->selectAll();
        QTest::keyClicks(nummer, n);
        druecken(jahrfenster->findChild<QPushButton*>("Button1"));
    } else if (liste->count() > 2) {
        const int ziel = 1 + zahl(liste->count() - 1), quelle = 1 + zahl(liste->count() - 1);
        geste(QStringLiteral("Übernahme von Zeile %1 nach %2").arg(quelle).arg(ziel));
        testhilfe::zeileklicken(liste, ziel, Qt::AltModifier);
        testhilfe::zeileklicken(liste, quelle);
        for (int i = 1; i <= 7; ++i)
            if (auto* r = jahrfenster->findChild<QRadioButton*>(QStringLiteral("RadioButton%1").arg(i)); ja(40) && r->isVisible())
                druecken(r);
        if (auto* b = jahrfenster->findChild<QPushButton*>("Button2"); b->isVisible()) druecken(b);
    }
}

void verteilgeste() {
    auto* liste = verteilfenster->findChild<QListWidget*>("ListBox1");
    if (liste->count() > 3 && ja(60)) {
        const int p = zahl(liste->count() - 2);
        const auto m = ja(3) ? (ja(50) ? Qt::AltModifier : Qt::ControlModifier) : Qt::KeyboardModifiers();
        geste(QStringLiteral("Verteilung: LehrerIn %1 mit %2").arg(p).arg(int(m), 0, 16));
        testhilfe::zeileklicken(liste, p, m);
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
        druecken(verteilfenster->findChild<QPushButton*>("Button1"));
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
        return druecken(menuform->findChild<QPushButton*>(k));
    }
    if (ja(1) && ja(20)) return neustart();
    nux::Fenster* f = vorne();
    if (f == static_cast<nux::Fenster*>(jahrfenster) && ja(25)) return jahrgeste();
    if (f == static_cast<nux::Fenster*>(verteilfenster) && ja(50)) return verteilgeste();

    // Lists, fields and the grid are where the work is; labels and panels
    // are pressed now and then.
    std::vector<QWidget*> teile;
    for (QWidget* w : f->findChildren<QWidget*>()) {
        const int gewicht = qobject_cast<QListWidget*>(w) || qobject_cast<QScrollArea*>(w) ? 6
                            : qobject_cast<QLineEdit*>(w)                                  ? 4
                            : qobject_cast<QAbstractButton*>(w)                            ? 3
                            : qobject_cast<QFrame*>(w) || qobject_cast<QProgressBar*>(w)   ? 1 : 0;  // labels, panels
        if (w->isVisibleTo(f) && w->isEnabled()) teile.insert(teile.end(), gewicht, w);
    }
    if (teile.empty()) return;
    QWidget* w = eins(teile);
    if (qobject_cast<QPushButton*>(w) && w->objectName() == "Button6") return;  // "Ende": see neustart
    if (auto* l = qobject_cast<QListWidget*>(w)) return listebedienen(l);
    if (auto* e = qobject_cast<QLineEdit*>(w)) return feldbedienen(e);
    if (auto* s = qobject_cast<QScrollArea*>(w)) return gitterbedienen(s);
    klicken(w);
}

QString programmordner, aussen;
int meldungen = 0;

template <class Satz>
std::vector<Satz> saetze(const std::string& pfad) {
    try {
        return nux::dateida(pfad) ? nux::laden<Satz>(pfad) : std::vector<Satz>{};
    } catch (const std::exception& e) {
        scheitern(QStringLiteral("%1 lädt nicht: %2").arg(QString::fromStdString(pfad), QString::fromUtf8(e.what())));
    }
}

// After "speichern" klassen is the model; AssignedHours is the sum of the lessons with a
// teacher; every teacher's available hours are her required hours minus her lessons.
void verteilungpruefen() {
    const auto& v = verteilfenster->modell();
    if (v.klassenzahl() <= 0) return;
    if (gespeichert && nux::dateida(nux::jahrdatei("klassen")) &&
        saetze<nux::Klassensatz>(nux::jahrdatei("klassen")) != v.speicherdaten())
        scheitern("Nach \"speichern\" hält klassen nicht das Modell");

    // The lessons that have a teacher: the grid's cells, and the cells the grid
    // has no row for as the file gave them.
    std::int64_t zugeteilt = 0;
    for (int c = 0; c < v.klassenzahl(); ++c) {
        QSet<int> zeilen;
        for (int r = 0; r < v.zeilenzahl(); ++r) {
            zeilen.insert(v.RowKeys[c][r]);
            if (v.zelle(c, r).sichtbar() && !v.zelle(c, r).frei()) zugeteilt += v.zelle(c, r).stunden;
        }
        const auto& k = v.Classes[static_cast<std::size_t>(c)];
        for (int s = 0; s <= nux::faecher::kHoechsterIndex; ++s)
            for (int j = 1; j <= 3; ++j) {
                const std::string code = nux::trimmen(k.l(j, s));
                if (!zeilen.contains(s * 10 + j) && !code.empty() && code.rfind("--", 0) != 0) zugeteilt += k.h(j, s);
            }
    }
    if (zugeteilt != v.AssignedHours)
        scheitern(QStringLiteral("AssignedHours %1, die Stunden mit LehrerIn ergeben %2").arg(v.AssignedHours).arg(zugeteilt));

    const auto lehrer = saetze<nux::Lehrersatz>(nux::jahrdatei("lehrer"));
    for (int p = 1; v.lehrerzeile(p); ++p) {
        const auto& zeile = v.verfuegbar()[static_cast<std::size_t>(p)];
        const int i = nux::listenzeile::index(zeile);
        if (i < 0 || i >= static_cast<int>(lehrer.size())) scheitern("Verfügbarkeitszeile ohne LehrerIn: " + nux::qs(zeile));
        const auto& l = lehrer[static_cast<std::size_t>(i)];
        std::int64_t frei = l.stunden;
        for (int c = 0; c < v.klassenzahl(); ++c)
            for (int r = 0; r < v.zeilenzahl(); ++r)
                if (v.zelle(c, r).sichtbar() && nux::trimmen(v.zelle(c, r).lehrer) == nux::trimmen(l.kurz))
                    frei -= v.zelle(c, r).stunden;
        if (v.verfuegbarestunden(p) != frei || (std::abs(frei) < 10000 && nux::zehntellesen(zeile.substr(10, 5)) != frei))
            scheitern(QStringLiteral("%1: verfügbar %2, Soll minus Unterricht %3, Zeile \"%4\"")
                          .arg(nux::qs(l.kurz)).arg(v.verfuegbarestunden(p)).arg(frei).arg(nux::qs(zeile)));
    }
}

// After every step: only the program's German messages, no toolkit warning; nothing written
// outside the program folder; every data file of every year loads, no temporary file is left;
// the list of the editor in front is what its file holds.
void pruefen() {
    static const QStringList deutsch = {nux::kNichtGefunden, nux::kZugriffVerweigert, nux::kDateiende,
                                        nux::kDatentraegerVoll, nux::kBereich};
    for (const QStringList& liste = nux::fehlerliste(); meldungen < liste.size(); ++meldungen) {
        const QString& m = liste[meldungen];
        // The takeover with promotion and the proposal say why they cannot start.
        const bool versetzung = m == "Ein Jahr kann keine Daten von sich selbst übernehmen." ||
                                m.endsWith("“ ist kein Jahresordner (Jahreszahl, Leerzeichen, Nummer).");
        const bool vorschlag = std::any_of(std::begin(nux::kVorschlagsmeldungen), std::end(nux::kVorschlagsmeldungen),
                                           [&](const char* t) { return m == QString::fromUtf8(t); });
        if (!deutsch.contains(m) && !versetzung && !vorschlag && !(m.startsWith('\'') && m.endsWith("' ist kein gültiger Integerwert")))
            scheitern("Meldung, die nicht zum Programm gehört: " + m);
    }
    if (!warnungen.isEmpty()) scheitern("Warnung des Toolkits: " + warnungen.join(" | "));

    const auto alles = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
    if (QDir(aussen).entryList(alles) != QStringList{"nux"})
        scheitern("Außerhalb des Programmordners geschrieben: " + QDir(aussen).entryList(alles).join(", "));
    if (QDir::currentPath() != programmordner) scheitern("Das Arbeitsverzeichnis ist nicht mehr der Programmordner");

    const QStringList ordner = QDir().entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden) << ".";
    for (const QString& o : ordner) {
        const std::string j = o.toStdString() + "/";
        saetze<nux::Fachsatz>(j + "faecher");
        saetze<nux::Lehrersatz>(j + "lehrer");
        saetze<nux::Klassensatz>(j + "klassen");
        if (!QDir(o).entryList({"*.neu"}, alles).isEmpty())
            scheitern("Zwischendatei übrig: " + o + "/" + QDir(o).entryList({"*.neu"}, alles).join(", "));
    }

    if (!nux::jahrgesetzt()) return;
    nux::Fenster* f = vorne();
    if (f == static_cast<nux::Fenster*>(verteilfenster)) return verteilungpruefen();
    // A subject line keeps its fields as typed until the next activation, a teacher withdrawn
    // by a save her line; classes are compared by name.
    QStringList ist, soll;
    bool ordnen = true;
    const auto liste = [&](auto zeile) {
        auto* l = f->findChild<QListWidget*>("ListBox1");
        for (int i = 0; i < l->count(); ++i) ist << zeile(nux::cp(l->item(i)->text()));
    };
    if (f == static_cast<nux::Fenster*>(faecherfenster)) {
        liste([](const std::string& z) {
            return nux::qs(nux::faecher::zeile(nux::faecher::satz(z), nux::listenzeile::index(z)));
        });
        const auto s = saetze<nux::Fachsatz>(nux::jahrdatei("faecher"));
        for (int i = 0; i < static_cast<int>(s.size()); ++i) soll << nux::qs(nux::faecher::zeile(s[i], i));
    } else if (f == static_cast<nux::Fenster*>(lehrerfenster)) {
        ordnen = false;
        liste([](const std::string& z) { return nux::qs(z); });
        const auto s = saetze<nux::Lehrersatz>(nux::jahrdatei("lehrer"));
        auto zeilen = nux::lehrer::holen(nux::jahrdatei("lehrer"));
        for (const QString& z : ist) {
            const int i = nux::listenzeile::index(nux::cp(z));
            if (nux::lehrer::name(nux::cp(z)).rfind('#', 0) == 0)
                nux::listenzeile::einsortieren(zeilen, i >= 0 && i < static_cast<int>(s.size()) ? nux::lehrer::zeile(s[i], i) : "");
        }
        for (const auto& z : zeilen) soll << nux::qs(z);
    } else if (f == static_cast<nux::Fenster*>(klassenfenster)) {
        liste([](const std::string& z) { return nux::qs(nux::zeilenname(z)); });
        for (const auto& k : saetze<nux::Klassensatz>(nux::jahrdatei("klassen"))) soll << nux::qs(k.name);
    }
    if (ordnen) { ist.sort(); soll.sort(); }
    if (ist != soll)
        scheitern("Die Liste in " + f->objectName() + " ist nicht, was die Datei hält:\n" + ist.join("|") + "\nDatei: " + soll.join("|"));
}

void schuleanlegen() {
    QDir().mkdir("2026 1");
    std::vector<nux::Klassensatz> k(4);
    for (int c = 0; c < 4; ++c) {
        k[c].name = std::array{"1a", "1b", "2a", "3c"}[c];
        for (int s = 0; s < 5; ++s) {
            k[c].h(1, s) = 10 * (1 + (c + s) % 5);
            if ((c + s) % 3 == 0) k[c].h(2, s) = 15;
            if (s == 3) k[c].l(1, s) = "AntB";  // hidden: Musik is not taught
        }
        k[c].l(1, 0) = c % 2 ? "MarH" : "Wer";  // "Wer" is no teacher
        k[c].z(1, 1) = "F\xF6rderkurs";
    }
    nux::neuschreiben<nux::Fachsatz>("2026 1/faecher", {{"Deutsch", "D", 0, true}, {"Mathematik", "M", 1, true},
                                                         {"Englisch", "E", 2, true}, {"Musik", "Mu", 3, false}, {"#Latein", "L", 4, true}});
    nux::neuschreiben<nux::Lehrersatz>("2026 1/lehrer", {{"Maria Huber", "MarH", 225}, {"Anton Berger", "AntB", 100},
                                                          {"Rudi Rau", "RudR", 0}, {"#Ida Alt", "IdaA", 50},
                                                          {"J\xFCrgen \xD6z", "J\xFCr\xD6", 180}});
    nux::neuschreiben("2026 1/klassen", k);
    nux::jahraktschreiben("2026 1");
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
    for (int i = 1; i < argc; i += 2) {
        const std::string a = argv[i];
        if (i + 1 < argc && a == "--seed") seed = std::strtoull(argv[i + 1], nullptr, 10);
        else if (i + 1 < argc && a == "--schritte") schritte = std::strtol(argv[i + 1], nullptr, 10);
        else { std::fprintf(stderr, "Aufruf: nux_zufall --seed N --schritte M\n"); return 2; }
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Whatever the toolkit keeps for the user goes beside the program folder, whose
    // surroundings must hold the program alone; QTemporaryDir is private, as a runtime folder must be.
    QTemporaryDir wurzel;
    for (const char* v : {"HOME", "XDG_CACHE_HOME", "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR"})
        qputenv(v, wurzel.path().toLocal8Bit());
    aussen = wurzel.path() + "/programm";
    programmordner = aussen + "/nux";
    QDir().mkpath(programmordner);
    QApplication app(argc, argv);
    qInstallMessageHandler(warnungsfaenger);
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
    QObject::connect(&antworten, &QTimer::timeout, [] {
        QWidget* m = QApplication::activeModalWidget();
        if (!m) return;
        auto b = m->findChildren<QAbstractButton*>();
        b.removeIf([](QAbstractButton* k) { return !k->isVisible() || !k->isEnabled(); });
        QAbstractButton* k = b.empty() ? nullptr : eins(b);
        geste(QStringLiteral("Box \"%1\": %2").arg(m->windowTitle(), k ? k->text() : QStringLiteral("schließen")));
        // Outside this timer: a box opened by the click (a question of a
        // dialog) runs its own loop, in which this timer would never fire again.
        if (k)
            QTimer::singleShot(0, k, &QAbstractButton::click);
        else
            QTimer::singleShot(0, m, &QWidget::close);
    });
    antworten.start(5);

    // The watchdog: a step that takes longer is a hang.
    std::thread([] {
        for (;; QThread::msleep(200))
            if (const long long b = schrittbeginn; b && jetzt() - b > 60000) scheitern("Hänger: ein Schritt dauert über 60 s");
    }).detach();

    schuleanlegen();
    fenstererzeugen();
    entsperren();
    pruefen();
    for (schritt = 1; schritt <= schritte; ++schritt) {
        schrittbeginn = jetzt();
        schritttun();
        testhilfe::warten();
        pruefen();
        if (schritt % 1000 == 0) {
            // The printouts of a long run would fill the disk.
            QDir(nux::kDruckordner).removeRecursively();
            QDir(QStringLiteral("export")).removeRecursively();
        }
    }
    schrittbeginn = 0;
    std::printf("Zufallslauf bestanden: Seed %llu, %ld Schritte\n", static_cast<unsigned long long>(seed), schritte);
    fensterfreigeben();
    return 0;
}
