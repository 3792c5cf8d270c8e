#include <QFile>
#include <cerrno>
#include <QtTest>

#include "editors/nux_klassen.h"
#include "storage/jahr.h"
#include "storage/satz.h"
#include "storage/text.h"
#include "testhilfe.h"
#include "years/nux_jahr.h"

namespace {

const char* const kKlassen = "2026 1/klassen";
const char* const kFaecher = "2026 1/faecher";

nux::Fachsatz fach(const std::string& name, const std::string& kurz, int ordnung, bool unterrichtet = true) {
    nux::Fachsatz f;
    f.name = name;
    f.kurz = kurz;
    f.ordnung = ordnung;
    f.unterrichtet = unterrichtet;
    return f;
}

// Subject indexes 0..4; shown in the order E (1), M (3), D (0); Mu (2) is
// not taught this year and Lat (4) is withdrawn.
void faecheranlegen() {
    nux::neuschreiben<nux::Fachsatz>(kFaecher, {fach("Deutsch", "D", 2), fach("Englisch", "E", 0),
                                                fach("Musik", "Mu", 3, false), fach("Mathematik", "M", 1),
                                                fach("#Latein", "Lat", 4)});
}

std::int64_t ganz(const std::vector<std::uint8_t>& b, std::size_t offset) {
    std::uint64_t u = 0;
    for (int i = 7; i >= 0; --i) u = (u << 8) | b.at(offset + static_cast<std::size_t>(i));
    return static_cast<std::int64_t>(u);
}

std::string text(const std::vector<std::uint8_t>& b, std::size_t offset) {
    return std::string(reinterpret_cast<const char*>(&b.at(offset + 1)), b.at(offset));
}

// A class record as the editor creates it, byte for byte.
std::vector<std::uint8_t> neuerSatz(const std::string& name) {
    std::vector<std::uint8_t> b(13376, 0);
    b[0] = static_cast<std::uint8_t>(name.size());
    std::copy(name.begin(), name.end(), b.begin() + 1);
    b[13340] = 3;
    b[13341] = b[13342] = b[13343] = ' ';
    return b;
}

}  // namespace

class KlassenTest : public QObject {
    Q_OBJECT

    template <class T>
    static T* c(const char* name) {
        auto* w = klassenfenster->findChild<T*>(QString::fromLatin1(name));
        if (!w) qFatal("Control %s fehlt", name);
        return w;
    }
    static QLineEdit* feld(const char* name) { return c<QLineEdit>(name); }
    static QListWidget* liste() { return c<QListWidget>("ListBox1"); }
    static QListWidget* tabelle() { return c<QListWidget>("ListBox2"); }
    static bool sichtbar(const char* name) { return c<QWidget>(name)->isVisible(); }

    static void oeffnen(bool mitFaechern = true) {
        QDir().mkdir(QStringLiteral("2026 1"));
        nux::jahrsetzen("2026 1");
        if (mitFaechern) faecheranlegen();
        klassenfenster->vorholen();
        testhilfe::warten();
    }
    // Types into the name box and leaves it for the class list.
    static void tippen(const QString& name) {
        feld("Edit1")->setFocus();
        feld("Edit1")->selectAll();
        QTest::keyClicks(feld("Edit1"), name);
        liste()->setFocus();
    }
    static void druecken(int zeile, Qt::KeyboardModifiers tasten = {}) {
        QListWidgetItem* item = liste()->item(zeile);
        QVERIFY(item);
        QTest::mouseClick(liste()->viewport(), Qt::LeftButton, tasten, liste()->visualItemRect(item).center());
    }
    static void reihe(int zeile) {
        QListWidgetItem* item = tabelle()->item(zeile);
        QVERIFY(item);
        QTest::mouseClick(tabelle()->viewport(), Qt::LeftButton, {}, tabelle()->visualItemRect(item).center());
    }
    static void eintragen(const char* name, const QString& wert) {
        feld(name)->setFocus();
        feld(name)->selectAll();
        QTest::keyClicks(feld(name), wert);
    }
    static void ok() { QTest::mouseClick(c<QPushButton>("Button3"), Qt::LeftButton); }
    static QStringList namen() {
        QStringList n;
        for (int i = 0; i < liste()->count(); ++i) n << liste()->item(i)->text().left(3).trimmed();
        return n;
    }
    static std::vector<nux::Klassensatz> datei() { return nux::laden<nux::Klassensatz>(kKlassen); }
    static std::string zeile(int i) { return nux::cp(tabelle()->item(i)->text()); }

private slots:
    void init() { nux::jahrsetzen(""); }

    void anlegenSchreibtDenSatzByteFuerByte() {
        testhilfe::Programm p;
        oeffnen();
        tippen(QStringLiteral("1a"));
        QCOMPARE(namen(), QStringList{"1a"});
        QCOMPARE(testhilfe::bytes(kKlassen), neuerSatz("1a"));
        // The new class is chosen at once: every taught subject, grey, 0,0.
        QCOMPARE(feld("Edit1")->text(), QString("1a"));
        QCOMPARE(tabelle()->count(), 3);
        const char* kurz[] = {"E  ", "M  ", "D  "};
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(nux::teil(zeile(i), 4, 4), std::string("X"));
            QCOMPARE(nux::teil(zeile(i), 7, 9), std::string(kurz[i]));
            QCOMPARE(nux::teil(zeile(i), 12, 25), std::string(" 0,0  0,0  0,0"));
        }
        QVERIFY(!sichtbar("Panel1"));  // one class: nothing to copy from
        QVERIFY(!sichtbar("Panel2"));

        tippen(QStringLiteral("0b"));
        QCOMPARE(namen(), (QStringList{"0b", "1a"}));
        QVERIFY(sichtbar("Panel1"));
        auto b = neuerSatz("0b");
        const auto a = neuerSatz("1a");
        b.insert(b.end(), a.begin(), a.end());
        QCOMPARE(testhilfe::bytes(kKlassen), b);
        QVERIFY(nux::fehlerliste().isEmpty());
    }

    void waehlenMitLeerzeichenUndGrossKlein() {
        testhilfe::Programm p;
        oeffnen();
        tippen(QStringLiteral("2b"));
        tippen(QStringLiteral("1a"));
        reihe(0);
        eintragen("Edit2", QStringLiteral("3"));
        ok();
        for (const QString& name : {QStringLiteral(" 1a"), QStringLiteral("1a "), QStringLiteral("1a")}) {
            feld("Edit1")->clear();
            tippen(QStringLiteral("2b"));
            tippen(name);
            QCOMPARE(namen(), (QStringList{"1a", "2b"}));
            QCOMPARE(feld("Edit1")->text(), QString("1a"));
            QCOMPARE(nux::teil(zeile(0), 12, 15), std::string(" 3,0"));
            QCOMPARE(liste()->currentRow(), 0);
        }
        tippen(QStringLiteral("1A"));
        QCOMPARE(datei().size(), std::size_t(3));
        QCOMPARE(feld("Edit1")->text(), QString("1A"));
        QCOMPARE(nux::teil(zeile(0), 12, 15), std::string(" 0,0"));
        // A name box left empty creates nothing.
        tippen(QString());
        QCOMPARE(datei().size(), std::size_t(3));
        // Enter leaves the box; a letter Windows-1252 lacks is never typed.
        feld("Edit1")->setFocus();
        feld("Edit1")->selectAll();
        QTest::keyClicks(feld("Edit1"), "5");
        QKeyEvent ogonek(QEvent::KeyPress, 0, Qt::NoModifier, QString(QChar(0x0105)));
        QApplication::sendEvent(feld("Edit1"), &ogonek);
        QTest::keyClicks(feld("Edit1"), "c");
        QCOMPARE(feld("Edit1")->text(), QString("5c"));
        QTest::keyClick(feld("Edit1"), Qt::Key_Return);
        QCOMPARE(datei().size(), std::size_t(4));
        QCOMPARE(datei().back().name, std::string("5c"));
        QCOMPARE(feld("Edit1")->text(), QString("5c"));
    }

    void leerenNachNeuemNamenLegtTrotzdemAn() {
        testhilfe::Programm p;
        oeffnen();
        feld("Edit1")->setFocus();
        QTest::keyClicks(feld("Edit1"), "3c");
        QTest::mouseClick(c<QPushButton>("Button2"), Qt::LeftButton);
        QCOMPARE(namen(), QStringList{"3c"});
        QCOMPARE(datei().size(), std::size_t(1));
        QCOMPARE(feld("Edit1")->text(), QString());
        QVERIFY(feld("Edit1")->hasFocus());
        QCOMPARE(tabelle()->count(), 0);
        QVERIFY(liste()->selectedItems().isEmpty());
    }

    void pfeiltastenWaehlenKeineKlasse() {
        testhilfe::Programm p;
        oeffnen();
        tippen(QStringLiteral("1a"));
        tippen(QStringLiteral("2b"));
        reihe(1);
        eintragen("Edit2", QStringLiteral("2"));
        ok();
        druecken(0);
        const std::string vorher = zeile(1);
        liste()->setFocus();
        QTest::keyClick(liste(), Qt::Key_Down);
        QCOMPARE(liste()->currentRow(), 1);
        QCOMPARE(zeile(1), vorher);
        QCOMPARE(feld("Edit1")->text(), QString("1a"));
        QCOMPARE(klassenfenster->modell().CurrentClass, 0);
    }

    void okSpeichertUndGehtZurNaechstenReihe() {
        testhilfe::Programm p;
        oeffnen();
        tippen(QStringLiteral("1a"));
        reihe(0);
        QVERIFY(sichtbar("Panel2"));
        QCOMPARE(c<QLabel>("Label4")->text(), QString("E"));
        QCOMPARE(feld("Edit2")->text(), QString("0,0"));
        QVERIFY(feld("Edit2")->hasFocus());
        QTest::keyClicks(feld("Edit2"), "2.5");  // replaces what the box showed
        eintragen("Edit5", QStringLiteral("  Gruppe Ä"));
        ok();
        const auto b = testhilfe::bytes(kKlassen);
        QCOMPARE(b.size(), std::size_t(13376));
        QCOMPARE(ganz(b, nux::klassenStundenOffset(1, 1)), std::int64_t(25));
        QCOMPARE(text(b, nux::klassenZusatzOffset(1, 1)), std::string("  Gruppe \xC4"));
        QCOMPARE(nux::teil(zeile(0), 4, 4), std::string(" "));  // black now
        QCOMPARE(nux::teil(zeile(0), 12, 25), std::string(" 2,5  0,0  0,0"));
        // On to the next subject.
        QCOMPARE(tabelle()->currentRow(), 1);
        QCOMPARE(c<QLabel>("Label4")->text(), QString("M"));
        QCOMPARE(feld("Edit5")->text(), QString());

        // The last row keeps the panel open with what was stored; all slots
        // back to 0 make a row grey again.
        reihe(2);
        eintragen("Edit3", QStringLiteral("1"));
        eintragen("Edit7", QString(40, QChar('z')));
        ok();
        QCOMPARE(tabelle()->currentRow(), 2);
        QVERIFY(sichtbar("Panel2"));
        QCOMPARE(feld("Edit2")->text(), QString(" 1,0"));
        QCOMPARE(feld("Edit3")->text(), QString("0,0"));
        QCOMPARE(text(testhilfe::bytes(kKlassen), nux::klassenZusatzOffset(3, 0)), std::string(30, 'z'));
        QCOMPARE(ganz(testhilfe::bytes(kKlassen), nux::klassenStundenOffset(1, 0)), std::int64_t(10));
        eintragen("Edit2", QStringLiteral("0"));
        ok();
        QCOMPARE(nux::teil(zeile(2), 4, 4), std::string("X"));
        QCOMPARE(ganz(testhilfe::bytes(kKlassen), nux::klassenStundenOffset(1, 0)), std::int64_t(0));
        QVERIFY(nux::fehlerliste().isEmpty());
    }

    void stundenfelderFilternUndRunden_data() {
        QTest::addColumn<QString>("getippt");
        QTest::addColumn<QString>("gezeigt");
        QTest::addColumn<qint64>("gespeichert");
        QTest::newRow("100") << "100" << "00,0" << qint64(0);
        QTest::newRow("12,") << "12," << "12,0" << qint64(120);
        QTest::newRow("Buchstaben") << "1a.5" << " 1,5" << qint64(15);
        QTest::newRow("zweites Komma") << "1,,5" << " 1,5" << qint64(15);
        QTest::newRow("Punkt nach Komma") << "2,.7" << " 2,7" << qint64(27);
        QTest::newRow("Minus") << "-4" << " 4,0" << qint64(40);
        QTest::newRow("zwei Nachkommastellen") << "2,75" << " 2,7" << qint64(27);
        QTest::newRow("leer") << "" << " 0,0" << qint64(0);
    }
    void stundenfelderFilternUndRunden() {
        QFETCH(QString, getippt);
        QFETCH(QString, gezeigt);
        QFETCH(qint64, gespeichert);
        testhilfe::Programm p;
        oeffnen();
        tippen(QStringLiteral("1a"));
        reihe(2);
        eintragen("Edit2", getippt);
        feld("Edit5")->setFocus();
        QCOMPARE(feld("Edit2")->text(), gezeigt);
        ok();
        QCOMPARE(ganz(testhilfe::bytes(kKlassen), nux::klassenStundenOffset(1, 0)), gespeichert);
    }

    void luecken_data() {
        QTest::addColumn<QStringList>("ein");
        QTest::addColumn<QStringList>("aus");
        QTest::newRow("0/0/4") << QStringList{"0", "0", "4"} << QStringList{" 4,0", "0,0", "0,0"};
        QTest::newRow("0/2/4") << QStringList{"0", "2", "4"} << QStringList{" 2,0", "0,0", " 4,0"};
    }
    void luecken() {
        QFETCH(QStringList, ein);
        QFETCH(QStringList, aus);
        testhilfe::Programm p;
        oeffnen();
        tippen(QStringLiteral("1a"));
        reihe(2);
        eintragen("Edit2", ein[0]);
        eintragen("Edit3", ein[1]);
        eintragen("Edit4", ein[2]);
        eintragen("Edit6", QStringLiteral("bleibt"));
        ok();
        QCOMPARE((QStringList{feld("Edit2")->text(), feld("Edit3")->text(), feld("Edit4")->text()}), aus);
        const auto b = testhilfe::bytes(kKlassen);
        for (int j = 1; j <= 3; ++j)
            QCOMPARE(ganz(b, nux::klassenStundenOffset(j, 0)), nux::zehntellesen(nux::cp(aus[j - 1])));
        QCOMPARE(text(b, nux::klassenZusatzOffset(2, 0)), std::string("bleibt"));
    }

    void vollePlatteLaesstDieDateiGanz() {
        testhilfe::Programm p;
        oeffnen();
        tippen(QStringLiteral("1a"));
        const auto vorher = testhilfe::bytes(kKlassen);
        reihe(0);
        eintragen("Edit2", QStringLiteral("4"));
        nux::schreibfehlerSetzen(ENOSPC);
        ok();
        nux::schreibfehlerSetzen(0);
        QCOMPARE(nux::fehlerliste(), QStringList{"Datenträger voll"});
        QCOMPARE(testhilfe::bytes(kKlassen), vorher);
        // The stored row stays in memory and goes into the file with the next change.
        reihe(1);
        eintragen("Edit2", QStringLiteral("3"));
        ok();
        const auto b = testhilfe::bytes(kKlassen);
        QCOMPARE(ganz(b, nux::klassenStundenOffset(1, 1)), std::int64_t(40));
        QCOMPARE(ganz(b, nux::klassenStundenOffset(1, 3)), std::int64_t(30));
    }

    void panelHintergrundSchliesstOhneSpeichern() {
        testhilfe::Programm p;
        oeffnen();
        tippen(QStringLiteral("1a"));
        const auto vorher = testhilfe::bytes(kKlassen);
        reihe(1);
        eintragen("Edit2", QStringLiteral("5"));
        QTest::mouseClick(c<QWidget>("Panel2"), Qt::LeftButton, {}, QPoint(200, 330));
        QVERIFY(!sichtbar("Panel2"));
        QVERIFY(tabelle()->selectedItems().isEmpty());
        QCOMPARE(testhilfe::bytes(kKlassen), vorher);
    }

    void stundenNichtUnterrichteterFaecherBleiben() {
        testhilfe::Programm p;
        QDir().mkdir(QStringLiteral("2026 1"));
        auto k = nux::neueklasse("1a");
        k.h(2, 2) = 35;  // Musik, not taught this year
        k.z(2, 2) = "Chor";
        k.h(1, 4) = 20;  // Latein, withdrawn
        nux::neuschreiben<nux::Klassensatz>(kKlassen, {k});
        oeffnen();
        druecken(0);
        QCOMPARE(tabelle()->count(), 3);
        reihe(0);
        eintragen("Edit2", QStringLiteral("1"));
        ok();
        const auto s = datei().at(0);
        QCOMPARE(s.h(1, 1), std::int64_t(10));
        QCOMPARE(s.h(2, 2), std::int64_t(35));
        QCOMPARE(s.z(2, 2), std::string("Chor"));
        QCOMPARE(s.h(1, 4), std::int64_t(20));
    }

    void kopierenVonKlasse() {
        testhilfe::Programm p;
        QDir().mkdir(QStringLiteral("2026 1"));
        auto a = nux::neueklasse("1a");
        a.h(1, 0) = 40;
        a.h(3, 3) = 15;
        a.l(1, 0) = "MEI";  // set by the assignment window
        a.z(1, 0) = "Chor";
        auto b = nux::neueklasse("2b");
        b.h(2, 1) = 20;
        b.l(2, 1) = "HUB";
        nux::neuschreiben<nux::Klassensatz>(kKlassen, {a, b});
        oeffnen();

        druecken(1);
        tippen(QString());  // leaving the name box shows the copy panel
        QVERIFY(sichtbar("Panel1"));
        druecken(1);
        QTest::mouseClick(c<QPushButton>("Button1"), Qt::LeftButton);
        QVERIFY(klassenfenster->modell().CopyPending);
        druecken(0);
        QVERIFY(!klassenfenster->modell().CopyPending);
        QVERIFY(!sichtbar("Panel1"));
        QCOMPARE(tabelle()->count(), 0);
        QVERIFY(liste()->selectedItems().isEmpty());
        auto saetze = datei();
        QCOMPARE(saetze[1].name, std::string("2b"));
        QCOMPARE(saetze[1].h(1, 0), std::int64_t(40));
        QCOMPARE(saetze[1].h(3, 3), std::int64_t(15));
        QCOMPARE(saetze[1].h(2, 1), std::int64_t(0));
        QCOMPARE(saetze[1].l(1, 0), std::string());
        QCOMPARE(saetze[1].z(1, 0), std::string());
        QCOMPARE(saetze[0], a);

        // Onto itself: hours kept, teacher codes and extra texts gone.
        druecken(0);
        tippen(QStringLiteral("1a"));
        QTest::mouseClick(c<QPushButton>("Button1"), Qt::LeftButton);
        druecken(0);
        saetze = datei();
        QCOMPARE(saetze[0].h(1, 0), std::int64_t(40));
        QCOMPARE(saetze[0].l(1, 0), std::string());
        QCOMPARE(saetze[0].z(1, 0), std::string());

        // The target can also be chosen by typing its source's name.
        druecken(1);
        tippen(QStringLiteral("2b"));
        QTest::mouseClick(c<QPushButton>("Button1"), Qt::LeftButton);
        tippen(QStringLiteral("1a"));
        QVERIFY(!klassenfenster->modell().CopyPending);
        QCOMPARE(datei()[1].h(3, 3), std::int64_t(15));
        QVERIFY(nux::fehlerliste().isEmpty());
    }

    void kopierenOhneAuswahlTutNichts() {
        testhilfe::Programm p;
        oeffnen();
        tippen(QStringLiteral("1a"));
        tippen(QStringLiteral("2b"));
        QTest::mouseClick(c<QPushButton>("Button2"), Qt::LeftButton);
        tippen(QString());
        QVERIFY(sichtbar("Panel1"));
        QVERIFY(liste()->selectedItems().isEmpty());
        const auto vorher = testhilfe::bytes(kKlassen);
        QTest::mouseClick(c<QPushButton>("Button1"), Qt::LeftButton);
        QVERIFY(!klassenfenster->modell().CopyPending);
        druecken(0);  // chooses, copies nothing
        QCOMPARE(feld("Edit1")->text(), QString("1a"));
        QCOMPARE(tabelle()->count(), 3);
        QCOMPARE(testhilfe::bytes(kKlassen), vorher);
    }

    void loeschenMitUmschaltStrgAlt() {
        testhilfe::Programm p;
        oeffnen();
        for (const char* n : {"3c", "1a", "2b"}) tippen(QString::fromLatin1(n));
        const Qt::KeyboardModifiers alle = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;
        druecken(0, Qt::ControlModifier | Qt::AltModifier);  // not enough: only chooses
        QCOMPARE(namen(), (QStringList{"1a", "2b", "3c"}));
        // An armed copy must not survive the renumbering.
        druecken(2);
        QTest::mouseClick(c<QPushButton>("Button1"), Qt::LeftButton);
        druecken(0, alle);
        QVERIFY(!klassenfenster->modell().CopyPending);
        QCOMPARE(namen(), (QStringList{"2b", "3c"}));
        QCOMPARE(datei().size(), std::size_t(2));
        QCOMPARE(datei()[0].name, std::string("2b"));
        for (int i = 0; i < liste()->count(); ++i)
            QCOMPARE(nux::zeilenindex(nux::cp(liste()->item(i)->text())), i);
        QCOMPARE(tabelle()->count(), 0);
        QVERIFY(feld("Edit1")->hasFocus());
        druecken(1, alle);
        druecken(0, alle);
        QCOMPARE(liste()->count(), 0);
        QVERIFY(!QFile::exists(kKlassen));
        QVERIFY(nux::fehlerliste().isEmpty());
    }

    void hundertzweiteKlasseWirdAbgelehnt() {
        testhilfe::Programm p;
        QDir().mkdir(QStringLiteral("2026 1"));
        std::vector<nux::Klassensatz> saetze;
        for (int i = 0; i < 101; ++i) saetze.push_back(nux::neueklasse(std::to_string(i)));
        nux::neuschreiben(kKlassen, saetze);
        const auto vorher = testhilfe::bytes(kKlassen);
        oeffnen();
        QCOMPARE(liste()->count(), 101);
        tippen(QStringLiteral("neu"));
        QCOMPARE(nux::fehlerliste(), QStringList{"Fehler bei Bereichsprüfung"});
        QCOMPARE(liste()->count(), 101);
        QCOMPARE(testhilfe::bytes(kKlassen), vorher);
        // Still usable.
        tippen(QStringLiteral("42"));
        QCOMPARE(feld("Edit1")->text(), QString("42"));
        QCOMPARE(tabelle()->count(), 3);
    }

    void zuVieleFaecher() {
        testhilfe::Programm p;
        QDir().mkdir(QStringLiteral("2026 1"));
        nux::neuschreiben(kFaecher, std::vector<nux::Fachsatz>(52, fach("Fach", "F", 0)));
        nux::neuschreiben<nux::Klassensatz>(kKlassen, {nux::neueklasse("1a")});
        const auto faecher = testhilfe::bytes(kFaecher);
        const auto klassen = testhilfe::bytes(kKlassen);
        oeffnen(false);
        QCOMPARE(nux::fehlerliste(), QStringList{"Fehler bei Bereichsprüfung"});
        QCOMPARE(testhilfe::bytes(kFaecher), faecher);
        QCOMPARE(testhilfe::bytes(kKlassen), klassen);
        QCOMPARE(namen(), QStringList{"1a"});
        druecken(0);
        QCOMPARE(tabelle()->count(), 0);
        tippen(QStringLiteral("2b"));
        QCOMPARE(datei().size(), std::size_t(2));
    }

    void ohneJahrKommtDasJahrfenster() {
        testhilfe::Programm p;
        klassenfenster->vorholen();
        testhilfe::warten();
        QVERIFY(reinterpret_cast<QWidget*>(jahrfenster)->isVisible());
        QCOMPARE(liste()->count(), 0);
        QVERIFY(nux::fehlerliste().isEmpty());
        QCOMPARE(QDir().entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
    }
};

QTEST_MAIN(KlassenTest)
#include "klassen_test.moc"
