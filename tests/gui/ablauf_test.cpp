// A school year from the first start to the takeover into the next year, driven through the real
// windows; the steps build on each other. What the windows write is read back through the record layer.
#include <QDir>
#include <QProgressBar>
#include <QRadioButton>
#include <QtTest>
#include <memory>

#include "ablaufhilfe.h"
#include "app/kern/code.h"
#include "app/nux_code.h"
#include "app/nux_menue.h"
#include "assignment/drucken.h"
#include "assignment/nux_verteilung.h"
#include "fenster/newcomps.h"
#include "editors/nux_faecher.h"
#include "editors/nux_klassen.h"
#include "editors/nux_lehrer.h"
#include "storage/jahr.h"
#include "storage/satz.h"
#include "storage/text.h"
#include "testhilfe.h"
#include "years/nux_jahr.h"

using ablauf::klicken;
using ablauf::teil;
using ablauf::ueberschreiben;

namespace {

const std::string kJahr = "2026 1";
const std::string kNeuesJahr = "2027 1";
const QString kNeu = QStringLiteral("--> neues Jahr");
const QString kLoeschzeile = QStringLiteral("----").leftJustified(15);

std::string datei(const std::string& jahr, const char* name) { return jahr + "/" + name; }

// Subject indexes in the order the subjects are entered.
enum Fach { D = 0, M = 1, E = 2, Mu = 3 };

// The hours as the user types them into the class table, and what the file
// must hold for them.
struct Eingabe {
    const char *klasse, *getippt, *zusatz;  // the extra text in Windows-1252
    Fach fach;
    int slot;
    std::int64_t zehntel;
};
const Eingabe kStunden[] = {
    {"1a", "4", "", D, 1, 40},     {"1a", "1.5", "", D, 2, 15}, {"1a", "3", "", E, 1, 30},
    {"1a", "5", "F\xF6rderkurs", M, 1, 50},
    {"1b", "4", "", D, 1, 40},     {"1b", "3,5", "", E, 1, 35}, {"1b", "5", "", M, 1, 50},
    {"2a", "5", "", D, 1, 50},     {"2a", "3", "", E, 1, 30},   {"2a", "4,5", "", M, 1, 45},
};
const char* const kKlassen[] = {"1a", "1b", "2a"};  // file order: sorted by name

// The grid: rows D (slot 1), D (slot 2, only 1a has hours there), E, M.
constexpr int rD1 = 0, rD2 = 1, rE = 2, rM = 3;

// Assignments at the end of the walk: class, subject, slot, teacher.
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

QPushButton* menueknopf(const char* name) { return teil<QPushButton>(menuform, name); }

void zeigenueber(const char* knopf) {
    klicken(menueknopf(knopf));
    testhilfe::warten();
}

QListWidget* verfuegbar() { return teil<QListWidget>(verteilfenster, "ListBox1"); }
QScrollArea* raster() { return teil<QScrollArea>(verteilfenster, "ScrollBox1"); }
int balken() { return teil<QProgressBar>(verteilfenster, "ProgressBar1")->value(); }
QString verfuegbarzeile(const QString& kurz) {
    const int p = ablauf::zeilemit(verfuegbar(), kurz);
    return p < 0 ? QString() : verfuegbar()->item(p)->text().left(15);
}
void lehrerwaehlen(const QString& kurz, Qt::KeyboardModifiers tasten = {}) {
    const int p = kurz == "----" ? 0 : ablauf::zeilemit(verfuegbar(), kurz);
    QVERIFY2(p >= 0, qPrintable(kurz));
    ablauf::zeileklicken(verfuegbar(), p, tasten);
}

QListWidget* jahrliste() { return teil<QListWidget>(jahrfenster, "ListBox1"); }
void jahrdruecken(const QString& eintrag, Qt::KeyboardModifiers tasten = {}) {
    ablauf::zeileklicken(jahrliste(), ablauf::zeilemit(jahrliste(), eintrag), tasten);
}
std::string jahrakt() {
    const auto b = ablauf::inhalt("jahrakt");
    return std::string(b.begin(), b.end());
}

// A new year folder through the new-year panel.
void jahranlegen(const QString& jahr, const QString& nummer) {
    jahrdruecken(kNeu);
    QTest::keyClicks(teil<teditzahl>(jahrfenster, "teditzahl1"), jahr);
    ueberschreiben(teil<teditnummer>(jahrfenster, "teditnummer1"), nummer);
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

    void ersterStartOhneCodes() {
        QVERIFY(!QFile::exists("codes"));
        QVERIFY(!menueknopf("Button1")->isEnabled() && !menueknopf("Button7")->isEnabled());
        entsperren("8153");
        QVERIFY(menueknopf("Button1")->isEnabled() && menueknopf("Button7")->isEnabled());
        QVERIFY(nux::laden<nux::Codesatz>("codes") == std::vector{nux::Codesatz{nux::codieren("8153")}});
        QCOMPARE(int(ablauf::inhalt("codes")[0]), 4);  // the length byte of the code

        // No "jahrakt" yet: the year window comes to the front, with no year.
        QCOMPARE(nux::Fenster::aktivesFenster(), static_cast<nux::Fenster*>(jahrfenster));
        QCOMPARE(ablauf::zeilen(jahrliste()), QStringList({kNeu}));
        QCOMPARE(teil<QLabel>(menuform, "Label1")->text(), QString());
    }

    void jahrAnlegenUndWaehlen() {
        jahranlegen("2026", "1");
        QCOMPARE(ablauf::zeilen(jahrliste()), QStringList({kNeu, "2026 1"}));
        QVERIFY(!nux::jahrgesetzt());  // created, not chosen

        jahrdruecken("2026 1");
        QCOMPARE(jahrakt(), kJahr + "\r\n");
        QCOMPARE(nux::jahrordner(), kJahr);
        QCOMPARE(teil<QLabel>(menuform, "Label1")->text(), QString("2026-1"));
    }

    void faecherAnlegenUndOrdnen() {
        zeigenueber("Button7");
        auto* liste = teil<QListWidget>(faecherfenster, "ListBox1");
        struct { const char *name, *kurz; bool heuer; } const faecher[] = {{"Deutsch", "D", true}, {"Mathematik", "M", true}, {"Englisch", "E", true},
                             {"Musik", "Mu", false}};
        for (const auto& f : faecher) {
            ueberschreiben(teil<QLineEdit>(faecherfenster, "Edit1"), f.name);
            ueberschreiben(teil<QLineEdit>(faecherfenster, "Edit2"), f.kurz);
            auto* heuer = teil<QCheckBox>(faecherfenster, "CheckBox1");
            if (!f.heuer) ablauf::ankreuzen(heuer);
            klicken(teil<QPushButton>(faecherfenster, "Button1"));
        }
        // English moves before Mathematics: dropped on it, it lands in front.
        ablauf::ziehen(liste, 2, 1);

        std::vector<nux::Fachsatz> soll;
        const int ordnung[] = {0, 2, 1, 3};  // D, M, E, Mu by subject index
        for (int i = 0; i < 4; ++i) soll.push_back({faecher[i].name, faecher[i].kurz, ordnung[i], faecher[i].heuer});
        QVERIFY(nux::laden<nux::Fachsatz>(datei(kJahr, "faecher")) == soll);
    }

    void lehrerAnlegen() {
        zeigenueber("Button3");
        struct { const char *name, *vorschlag, *stunden; std::int64_t zehntel; } const lehrer[] = {{"Maria Huber", "MarH", "22.5", 225}, {"Anton Berger", "AntB", "10", 100},
                            {"Rudi Rau", "RudR", nullptr, 0}};
        for (const auto& l : lehrer) {
            auto* name = teil<QLineEdit>(lehrerfenster, "Edit1");
            ueberschreiben(name, l.name);
            QTest::keyClick(name, Qt::Key_Tab);  // leaving the name proposes the short name
            QCOMPARE(teil<QLineEdit>(lehrerfenster, "Edit3")->text(), QString(l.vorschlag));
            QTest::keyClick(teil<QLineEdit>(lehrerfenster, "Edit3"), Qt::Key_Tab);
            if (l.stunden) QTest::keyClicks(teil<QLineEdit>(lehrerfenster, "Edit2"), l.stunden);
            klicken(teil<QPushButton>(lehrerfenster, "Button1"));
        }
        QCOMPARE(teil<QLabel>(lehrerfenster, "Label2")->text(), QString("eingetragene LehrerInnen: 3"));

        std::vector<nux::Lehrersatz> soll;
        for (const auto& l : lehrer) soll.push_back({l.name, l.vorschlag, l.zehntel});
        QVERIFY(nux::laden<nux::Lehrersatz>(datei(kJahr, "lehrer")) == soll);
    }

    void klassenUndStundenAnlegen() {
        zeigenueber("Button2");
        auto* name = teil<QLineEdit>(klassenfenster, "Edit1");
        auto* tabelle = teil<QListWidget>(klassenfenster, "ListBox2");
        // Typed out of order; the file holds them sorted.
        for (const char* klasse : {"2a", "1a", "1b"}) {
            ueberschreiben(name, klasse);
            QTest::keyClick(name, Qt::Key_Return);
            QCOMPARE(tabelle->count(), 3);  // Musik is not taught this year

            ablauf::zeileklicken(tabelle, 0);
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

        QVERIFY(nux::laden<nux::Klassensatz>(datei(kJahr, "klassen")) == sollKlassen(false));
    }

    void verteilenUndSpeichern() {
        zeigenueber("Button1");
        // Rudi Rau has no hours and is not offered.
        QCOMPARE(ablauf::zeilen(verfuegbar(), 15),
                 QStringList({kLoeschzeile, "AntB 10,0  10,0", "MarH 22,5  22,5", " ", "Summe   32,5"}));
        QCOMPARE(balken(), 0);

        lehrerwaehlen("MarH");
        for (const auto& [c, r] : {std::pair{0, rD1}, {1, rD1}, {0, rM}, {1, rM}, {2, rM}}) ablauf::lehrerzelle(raster(), c, r);
        QCOMPARE(verfuegbarzeile("MarH"), QString("MarH 22,5   0,0"));
        QCOMPARE(balken(), 225);

        lehrerwaehlen("AntB");
        for (const auto& [c, r] : {std::pair{0, rD2}, {0, rE}, {2, rD1}}) ablauf::lehrerzelle(raster(), c, r);
        QCOMPARE(verfuegbarzeile("AntB"), QString("AntB 10,0   0,5"));
        QCOMPARE(balken(), 320);
        klicken(teil<QPushButton>(verteilfenster, "Button1"));
        QVERIFY(nux::laden<nux::Klassensatz>(datei(kJahr, "klassen")) == sollKlassen(true));
    }

    void lehrerblattUndSchuleAlsPdf() {
        QVERIFY(druckdateien().isEmpty());
        lehrerwaehlen("MarH", Qt::AltModifier);
        QStringList pdf = druckdateien();
        QCOMPARE(pdf.size(), 1);
        QVERIFY2(pdf[0].endsWith("_Lehrer_MarH.pdf"), qPrintable(pdf[0]));
        QVERIFY(verteilfenster->findChild<QLabel*>(nux::kDruckhinweis)->text().contains(pdf[0]));

        const QStringList blatt = ablauf::pdfzeilen(QString::fromLatin1(nux::kDruckordner) + "/" + pdf[0]);
        if (!blatt.isEmpty()) {
            // The lessons class by class, in grid order, and their sum.
            QCOMPARE(blatt.mid(1), QStringList({"Unterrichtseinsatz 2026-1", "Maria Huber", "Gewidmet von der Bergland Schulkreis BSK",
                                                "1a D 4,0", "1a M 5,0 Förderkurs", "1b D 4,0", "1b M 5,0", "2a M 4,5", "Summe: 22,5"}));
            QCOMPARE(blatt[0], QDate::currentDate().toString("dd.MM.yyyy"));
        }

        lehrerwaehlen("AntB", Qt::ControlModifier);
        pdf = druckdateien();
        QCOMPARE(pdf.size(), 2);
        QVERIFY2(pdf[1].endsWith("_Schule_Seite_01.pdf"), qPrintable(pdf[1]));
        const QStringList schule = ablauf::pdfzeilen(QString::fromLatin1(nux::kDruckordner) + "/" + pdf[1]);
        if (!schule.isEmpty()) {
            // One column per class; per row the subject, then hours and
            // teacher of every class that has the lesson.
            QCOMPARE(schule.mid(1), QStringList({"Unterrichtseinsatz 2026-1", "1a 1b 2a", "D 4,0 MarH 4,0 MarH 5,0 AntB", "D 1,5 AntB",
                                                 "E 3,0 AntB 3,5 -- 3,0 --", "M 5,0 MarH 5,0 MarH 4,5 MarH"}));
        }

        // Printing changes no file of the year.
        QVERIFY(nux::laden<nux::Klassensatz>(datei(kJahr, "klassen")) == sollKlassen(true));
    }

    void codeAendern() {
        zeigenueber("Button4");
        auto* speichern = teil<QPushButton>(codefenster, "Button1");
        ueberschreiben(teil<QLineEdit>(codefenster, "Edit2"), "8153");
        ueberschreiben(teil<QLineEdit>(codefenster, "Edit1"), "nux26");
        klicken(speichern);
        QVERIFY(!codefenster->isVisible());
        QVERIFY(nux::laden<nux::Codesatz>("codes") == std::vector{nux::Codesatz{nux::codieren("NUX26")}});
    }

    void uebernahmeInsNeueJahr() {
        zeigenueber("Button5");
        jahranlegen("2027", "1");
        jahrdruecken("2027 1", Qt::AltModifier);
        jahrdruecken("2026 1");
        for (const char* r : {"RadioButton5", "RadioButton6", "RadioButton4"})
            ablauf::ankreuzen(teil<QRadioButton>(jahrfenster, r));
        klicken(teil<QPushButton>(jahrfenster, "Button2"));
        QVERIFY(!jahrfenster->isVisible());

        for (const char* d : {"lehrer", "faecher"})
            QVERIFY2(ablauf::inhalt(datei(kNeuesJahr, d)) == ablauf::inhalt(datei(kJahr, d)), d);
        // Classes with hours and extra texts, without their teachers; the source keeps them.
        QVERIFY(nux::laden<nux::Klassensatz>(datei(kNeuesJahr, "klassen")) == sollKlassen(false));
        QVERIFY(nux::laden<nux::Klassensatz>(datei(kJahr, "klassen")) == sollKlassen(true));
        // The current year stays.
        QCOMPARE(nux::jahrordner(), kJahr);
        QCOMPARE(jahrakt(), kJahr + "\r\n");
    }

    void neustartMitNeuemCodeImNeuenJahr() {
        fensterfreigeben();
        fenstererzeugen();
        const int piepser = nux::piepszahl();
        entsperren("8153");
        QCOMPARE(nux::piepszahl() - piepser, 3);  // the old code is wrong now
        auto* feld = teil<QLineEdit>(menuform, "Edit2");
        ueberschreiben(feld, "nux26");
        QTest::keyClick(feld, Qt::Key_Tab);
        QVERIFY(menueknopf("Button1")->isEnabled());
        QCOMPARE(teil<QLabel>(menuform, "Label1")->text(), QString("2026-1"));

        zeigenueber("Button5");
        QCOMPARE(ablauf::zeilen(jahrliste()), QStringList({kNeu, "2026 1", "2027 1"}));
        jahrdruecken("2027 1");
        QCOMPARE(teil<QLabel>(menuform, "Label1")->text(), QString("2027-1"));
        QCOMPARE(jahrakt(), kNeuesJahr + "\r\n");

        // The new year: every lesson open again; a save touches it alone.
        zeigenueber("Button1");
        QCOMPARE(balken(), 0);
        lehrerwaehlen("AntB");
        ablauf::lehrerzelle(raster(), 2, rE);
        const auto altesJahr = ablauf::inhalt(datei(kJahr, "klassen"));
        klicken(teil<QPushButton>(verteilfenster, "Button1"));
        auto soll = sollKlassen(false);
        soll[2].l(1, E) = "AntB";
        QVERIFY(nux::laden<nux::Klassensatz>(datei(kNeuesJahr, "klassen")) == soll);
        QVERIFY(ablauf::inhalt(datei(kJahr, "klassen")) == altesJahr);

        // Every save went through its temporary file and left none behind;
        // the old versions are in the backup folder.
        const auto alles = QDir::Files | QDir::Dirs | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
        QCOMPARE(QDir().entryList(alles, QDir::Name), QStringList({"2026 1", "2027 1", "codes", "druck", "jahrakt"}));
        for (const std::string& jahr : {kJahr, kNeuesJahr})
            QCOMPARE(QDir(QString::fromStdString(jahr)).entryList(alles, QDir::Name),
                     QStringList({"faecher", "klassen", "lehrer", "sicherung"}));
    }
};

QTEST_MAIN(AblaufTest)
#include "ablauf_test.moc"
