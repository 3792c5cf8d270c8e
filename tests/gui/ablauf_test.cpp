// A school year from the first start to the takeover into the next year, driven through the menu
// and the real windows: what one window writes, the next one must show. The window tests check
// each window on its own; this walk checks that they work on each other's files.
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>
#include <memory>

#include "ablaufhilfe.h"
#include "app/nux_code.h"
#include "app/nux_menue.h"
#include "assignment/drucken.h"
#include "assignment/nux_verteilung.h"
#include "editors/nux_faecher.h"
#include "editors/nux_klassen.h"
#include "editors/nux_lehrer.h"
#include "fenster/newcomps.h"
#include "storage/jahr.h"
#include "storage/satz.h"
#include "storage/text.h"
#include "testhilfe.h"
#include "years/nux_jahr.h"

using ablauf::klicken;
using ablauf::teil;
using ablauf::ueberschreiben;

namespace {

const std::string kJahr = "2026 1/klassen", kNeuesJahr = "2027 1/klassen";

// Subject indexes in the order the subjects are entered.
enum Fach { D = 0, M = 1, E = 2 };

// The hours as the user types them into the class table; the extra text in Windows-1252.
struct Eingabe { const char *klasse, *getippt, *zusatz; Fach fach; int slot; std::int64_t zehntel; };
const Eingabe kStunden[] = {
    {"1a", "4", "", D, 1, 40},     {"1a", "1.5", "", D, 2, 15}, {"1a", "3", "", E, 1, 30},
    {"1a", "5", "F\xF6rderkurs", M, 1, 50},
    {"1b", "4", "", D, 1, 40},     {"1b", "3,5", "", E, 1, 35}, {"1b", "5", "", M, 1, 50},
    {"2a", "5", "", D, 1, 50},     {"2a", "3", "", E, 1, 30},   {"2a", "4,5", "", M, 1, 45},
};
const char* const kKlassen[] = {"1a", "1b", "2a"};  // file order: sorted by name

// The grid rows once English is dragged before Mathematics: D, D (slot 2, only 1a), E, M.
constexpr int rD1 = 0, rD2 = 1, rE = 2, rM = 3;

struct Zuteilung { int klasse; Fach fach; int slot; const char* lehrer; };
const Zuteilung kZuteilung[] = {
    {0, D, 1, "MarH"}, {1, D, 1, "MarH"}, {0, M, 1, "MarH"}, {1, M, 1, "MarH"}, {2, M, 1, "MarH"},
    {0, D, 2, "AntB"}, {0, E, 1, "AntB"}, {2, D, 1, "AntB"},
};

// The class file as the walk has filled it, with or without the teachers.
std::vector<nux::Klassensatz> sollKlassen(bool mitLehrer) {
    std::vector<nux::Klassensatz> r(3);
    for (int c = 0; c < 3; ++c) r[c].name = kKlassen[c];
    for (const auto& e : kStunden) {
        auto& k = r[std::find(std::begin(kKlassen), std::end(kKlassen), std::string(e.klasse)) - std::begin(kKlassen)];
        k.h(e.slot, e.fach) = e.zehntel;
        k.z(e.slot, e.fach) = e.zusatz;
    }
    if (mitLehrer)
        for (const auto& z : kZuteilung) r[z.klasse].l(z.slot, z.fach) = z.lehrer;
    return r;
}

std::vector<nux::Klassensatz> klassen(const std::string& datei) { return nux::laden<nux::Klassensatz>(datei); }

// A click on the box of a check box or radio button (its centre may lie beside its text).
void ankreuzen(QAbstractButton* c) { QTest::mouseClick(c, Qt::LeftButton, {}, QPoint(8, c->height() / 2)); }

void zeigenueber(const char* knopf) {
    klicken(teil<QPushButton>(menuform, knopf));
    testhilfe::warten();
}

QListWidget* verfuegbar() { return teil<QListWidget>(verteilfenster, "ListBox1"); }
void lehrerwaehlen(const QString& kurz, Qt::KeyboardModifiers tasten = {}) {
    ablauf::zeileklicken(verfuegbar(), verfuegbar()->row(verfuegbar()->findItems(kurz, Qt::MatchStartsWith).value(0)), tasten);
}
void lehrerzelle(int c, int r) {
    QTest::mouseClick(teil<QScrollArea>(verteilfenster, "ScrollBox1")->widget(), Qt::LeftButton, {},
                      QPoint(65 + 75 * c + 20, 20 + 12 * r + 6));
}

QListWidget* jahrliste() { return teil<QListWidget>(jahrfenster, "ListBox1"); }
void jahrdruecken(const QString& eintrag, Qt::KeyboardModifiers tasten = {}) {
    ablauf::zeileklicken(jahrliste(), jahrliste()->row(jahrliste()->findItems(eintrag, Qt::MatchExactly).value(0)), tasten);
}
QString menuejahr() { return teil<QLabel>(menuform, "Label1")->text(); }

void jahranlegen(const QString& jahr) {
    jahrdruecken(QStringLiteral("--> neues Jahr"));
    QTest::keyClicks(teil<teditzahl>(jahrfenster, "teditzahl1"), jahr);
    ueberschreiben(teil<teditnummer>(jahrfenster, "teditnummer1"), QStringLiteral("1"));
    klicken(teil<QPushButton>(jahrfenster, "Button1"));
}

QStringList druckdateien() {
    return QDir(QString::fromLatin1(nux::kDruckordner)).entryList({"*.pdf"}, QDir::Files, QDir::Name);
}

// The menu of a program just started: the code typed and the field left.
void entsperren(const QString& code) {
    menuform->vorholen();
    testhilfe::warten();
    auto* feld = teil<QLineEdit>(menuform, "Edit2");
    feld->setFocus();
    QTest::keyClicks(feld, code);
    QTest::keyClick(feld, Qt::Key_Tab);
    testhilfe::warten();
}

}  // namespace

class AblaufTest : public QObject {
    Q_OBJECT

    std::unique_ptr<testhilfe::Programm> programm;
    // Each step stands on the ones before; after a failure the rest is skipped.
    bool gescheitert = false;

private slots:
    void initTestCase() {
        nux::druckzielsetzen(nux::Druckziel::pdf);
        programm = std::make_unique<testhilfe::Programm>();
    }
    void cleanupTestCase() { programm.reset(); }
    void init() {
        if (gescheitert) QSKIP("ein vorheriger Schritt ist gescheitert");
    }
    void cleanup() {
        const bool meldung = !nux::fehlerliste().isEmpty();
        if (QTest::currentTestFailed() || meldung) gescheitert = true;
        QVERIFY2(!meldung, qPrintable(nux::fehlerliste().join(" | ")));
    }

    void stammdatenUeberDieEditoren() {
        entsperren("8153");
        // No "jahrakt" yet: the year window comes to the front.
        QCOMPARE(nux::Fenster::aktivesFenster(), static_cast<nux::Fenster*>(jahrfenster));
        jahranlegen("2026");
        jahrdruecken("2026 1");
        QCOMPARE(menuejahr(), QString("2026-1"));

        zeigenueber("Button7");
        for (const auto& [name, kurz] : {std::pair{"Deutsch", "D"}, {"Mathematik", "M"}, {"Englisch", "E"}, {"Musik", "Mu"}}) {
            ueberschreiben(teil<QLineEdit>(faecherfenster, "Edit1"), name);
            ueberschreiben(teil<QLineEdit>(faecherfenster, "Edit2"), kurz);
            if (!strcmp(kurz, "Mu")) ankreuzen(teil<QCheckBox>(faecherfenster, "CheckBox1"));  // not taught this year
            klicken(teil<QPushButton>(faecherfenster, "Button1"));
        }
        // English dropped on Mathematics lands in front of it: the grid rows follow.
        auto* faecher = teil<QListWidget>(faecherfenster, "ListBox1");
        QTest::mousePress(faecher->viewport(), Qt::LeftButton, {}, ablauf::mitte(faecher, 2));
        QTest::mouseMove(faecher->viewport(), ablauf::mitte(faecher, 1));
        QTest::mouseRelease(faecher->viewport(), Qt::LeftButton, {}, ablauf::mitte(faecher, 1));

        zeigenueber("Button3");
        for (const auto& [name, stunden] : {std::pair{"Maria Huber", "22.5"}, {"Anton Berger", "10"}, {"Rudi Rau", ""}}) {
            ueberschreiben(teil<QLineEdit>(lehrerfenster, "Edit1"), name);
            QTest::keyClick(teil<QLineEdit>(lehrerfenster, "Edit1"), Qt::Key_Tab);  // proposes the short name
            QTest::keyClick(teil<QLineEdit>(lehrerfenster, "Edit3"), Qt::Key_Tab);
            QTest::keyClicks(teil<QLineEdit>(lehrerfenster, "Edit2"), stunden);
            klicken(teil<QPushButton>(lehrerfenster, "Button1"));
        }

        zeigenueber("Button2");
        auto* name = teil<QLineEdit>(klassenfenster, "Edit1");
        for (const char* klasse : {"2a", "1a", "1b"}) {  // typed out of order
            ueberschreiben(name, klasse);
            QTest::keyClick(name, Qt::Key_Return);
            ablauf::zeileklicken(teil<QListWidget>(klassenfenster, "ListBox2"), 0);
            for (const Fach f : {D, E, M}) {
                for (const auto& e : kStunden) {
                    if (std::string(e.klasse) != klasse || e.fach != f) continue;
                    const char* kasten[] = {"Edit2", "Edit3", "Edit4"};
                    const char* zusatz[] = {"Edit5", "Edit6", "Edit7"};
                    ueberschreiben(teil<QLineEdit>(klassenfenster, kasten[e.slot - 1]), e.getippt);
                    if (*e.zusatz) ueberschreiben(teil<QLineEdit>(klassenfenster, zusatz[e.slot - 1]), nux::qs(e.zusatz));
                }
                klicken(teil<QPushButton>(klassenfenster, "Button3"));  // "ok" moves on to the next row
            }
        }
        QVERIFY(klassen(kJahr) == sollKlassen(false));
    }

    void verteilenDruckenSpeichern() {
        zeigenueber("Button1");
        // The teachers with hours, as the teacher editor stored them.
        QCOMPARE(ablauf::teil<QListWidget>(verteilfenster, "ListBox1")->item(2)->text().left(15), QString("MarH 22,5  22,5"));
        lehrerwaehlen("MarH");
        for (const auto& [c, r] : {std::pair{0, rD1}, {1, rD1}, {0, rM}, {1, rM}, {2, rM}}) lehrerzelle(c, r);
        lehrerwaehlen("AntB");
        for (const auto& [c, r] : {std::pair{0, rD2}, {0, rE}, {2, rD1}}) lehrerzelle(c, r);
        QCOMPARE(verfuegbar()->item(1)->text().left(15), QString("AntB 10,0   0,5"));
        klicken(teil<QPushButton>(verteilfenster, "Button1"));
        QVERIFY(klassen(kJahr) == sollKlassen(true));

        lehrerwaehlen("MarH", Qt::AltModifier);
        lehrerwaehlen("AntB", Qt::ControlModifier);
        const QStringList pdf = druckdateien();
        QCOMPARE(pdf.size(), 2);
        const QString ordner = QString::fromLatin1(nux::kDruckordner) + "/";
        const QStringList blatt = ablauf::pdfzeilen(ordner + pdf[0]), schule = ablauf::pdfzeilen(ordner + pdf[1]);
        if (blatt.isEmpty()) QSKIP("pdftotext fehlt (poppler-utils)");
        QCOMPARE(blatt.mid(1), QStringList({"Unterrichtseinsatz 2026-1", "Maria Huber", "Gewidmet von der Bergland Schulkreis BSK",
                                            "1a D 4,0", "1a M 5,0 Förderkurs", "1b D 4,0", "1b M 5,0", "2a M 4,5", "Summe: 22,5"}));
        QCOMPARE(schule.mid(1), QStringList({"Unterrichtseinsatz 2026-1", "1a 1b 2a", "D 4,0 MarH 4,0 MarH 5,0 AntB", "D 1,5 AntB",
                                             "E 3,0 AntB 3,5 -- 3,0 --", "M 5,0 MarH 5,0 MarH 4,5 MarH"}));
    }

    void neuerCodeUndUebernahme() {
        zeigenueber("Button4");
        ueberschreiben(teil<QLineEdit>(codefenster, "Edit2"), "8153");
        ueberschreiben(teil<QLineEdit>(codefenster, "Edit1"), "nux26");
        klicken(teil<QPushButton>(codefenster, "Button1"));

        zeigenueber("Button5");
        jahranlegen("2027");
        jahrdruecken("2027 1", Qt::AltModifier);
        jahrdruecken("2026 1");
        for (const char* r : {"RadioButton5", "RadioButton6", "RadioButton4"})
            ankreuzen(teil<QRadioButton>(jahrfenster, r));
        klicken(teil<QPushButton>(jahrfenster, "Button2"));
        // Classes with hours and extra texts, without their teachers; the source keeps them.
        QVERIFY(klassen(kNeuesJahr) == sollKlassen(false));
        QVERIFY(klassen(kJahr) == sollKlassen(true));
    }

    void neustartImNeuenJahr() {
        fensterfreigeben();
        fenstererzeugen();
        const int piepser = nux::piepszahl();
        entsperren("8153");
        QCOMPARE(nux::piepszahl() - piepser, 3);  // the old code is wrong now
        ueberschreiben(teil<QLineEdit>(menuform, "Edit2"), "nux26");
        QTest::keyClick(teil<QLineEdit>(menuform, "Edit2"), Qt::Key_Tab);
        QCOMPARE(menuejahr(), QString("2026-1"));

        zeigenueber("Button5");
        jahrdruecken("2027 1");
        QCOMPARE(menuejahr(), QString("2027-1"));
        // Every lesson open again; a save touches the new year alone.
        zeigenueber("Button1");
        lehrerwaehlen("AntB");
        lehrerzelle(2, rE);
        const auto altesJahr = testhilfe::bytes(kJahr);
        klicken(teil<QPushButton>(verteilfenster, "Button1"));
        auto soll = sollKlassen(false);
        soll[2].l(1, E) = "AntB";
        QVERIFY(klassen(kNeuesJahr) == soll);
        QVERIFY(testhilfe::bytes(kJahr) == altesJahr);

        // Every save went through its temporary file and left none behind;
        // the old versions are in the backup folder.
        const auto alles = QDir::Files | QDir::Dirs | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
        QCOMPARE(QDir().entryList(alles, QDir::Name), QStringList({"2026 1", "2027 1", "codes", "druck", "jahrakt"}));
        for (const char* jahr : {"2026 1", "2027 1"})
            QCOMPARE(QDir(jahr).entryList(alles, QDir::Name), QStringList({"faecher", "klassen", "lehrer", "sicherung"}));
    }
};

QTEST_MAIN(AblaufTest)
#include "ablauf_test.moc"
