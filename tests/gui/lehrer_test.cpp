#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>
#include <filesystem>

#include "app/nux_menue.h"
#include "editors/kern/faecher.h"
#include "editors/kern/lehrer.h"
#include "editors/listenzeichner.h"
#include "editors/nux_lehrer.h"
#include "storage/jahr.h"
#include "storage/satz.h"
#include "testhilfe.h"

namespace {

const std::string kDatei = "2026 1/lehrer";
constexpr Qt::KeyboardModifiers kAlle = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;

QWidget* fenster() { return reinterpret_cast<QWidget*>(lehrerfenster); }
template <class T>
T* teil(const char* name) {
    auto* w = fenster()->findChild<T*>(name);
    if (!w) qFatal("%s fehlt", name);
    return w;
}
QListWidget* liste() { return teil<QListWidget>("ListBox1"); }
QLineEdit* namefeld() { return teil<QLineEdit>("Edit1"); }
QLineEdit* kurzfeld() { return teil<QLineEdit>("Edit3"); }
QLineEdit* stundenfeld() { return teil<QLineEdit>("Edit2"); }
QPushButton* speichern() { return teil<QPushButton>("Button1"); }
QString zahl() { return teil<QLabel>("Label2")->text(); }

void zeigen() {
    menuform->vorholen();
    testhilfe::warten();
    reinterpret_cast<nux::Fenster*>(lehrerfenster)->vorholen();
    testhilfe::warten();
}

nux::Lehrersatz lehrer(const std::string& name, const std::string& kurz, std::int64_t stunden) {
    nux::Lehrersatz s;
    s.name = name;
    s.kurz = kurz;
    s.stunden = stunden;
    return s;
}

void jahrmit(const std::vector<nux::Lehrersatz>& saetze) {
    std::filesystem::create_directory("2026 1");
    nux::jahrsetzen("2026 1");
    if (!saetze.empty()) nux::neuschreiben(kDatei, saetze);
}

void klicken(int zeile, Qt::KeyboardModifiers m = {}) {
    QTest::mouseClick(liste()->viewport(), Qt::LeftButton, m,
                      liste()->visualItemRect(liste()->item(zeile)).center());
}

int zeilevon(const std::string& kurz) {
    for (int i = 0; i < liste()->count(); ++i)
        if (nux::lehrer::kurz(nux::zeilevon(liste(), i)) == kurz) return i;
    return -1;
}

// Types into a field that has the focus, as a user would after clicking it.
void tippen(QLineEdit* feld, const QString& text) {
    feld->setFocus(Qt::MouseFocusReason);
    feld->selectAll();
    QTest::keyClick(feld, Qt::Key_Backspace);
    QTest::keyClicks(feld, text);
}

}  // namespace

class LehrerTest : public QObject {
    Q_OBJECT

private slots:
    void ersterLehrerByteGenau() {
        testhilfe::Programm p;
        jahrmit({});
        zeigen();
        QCOMPARE(zahl(), QString("eingetragene LehrerInnen: 0"));
        QCOMPARE(stundenfeld()->text(), QString("0,0"));
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(namefeld()));
        QTest::keyClicks(namefeld(), "Maria Huber");
        QTest::keyClick(namefeld(), Qt::Key_Tab);  // leaving the name proposes the short name
        QCOMPARE(kurzfeld()->text(), QString("MarH"));
        QVERIFY(speichern()->isEnabled());
        QTest::keyClick(kurzfeld(), Qt::Key_Tab);
        QTest::keyClicks(stundenfeld(), "x22.5");
        QTest::keyClick(stundenfeld(), Qt::Key_Tab);
        QCOMPARE(stundenfeld()->text(), QString("22,5"));
        QTest::mouseClick(speichern(), Qt::LeftButton);

        std::vector<std::uint8_t> erwartet(104, 0);
        erwartet[0] = 11;
        std::memcpy(&erwartet[1], "Maria Huber", 11);
        erwartet[41] = 4;
        std::memcpy(&erwartet[42], "MarH", 4);
        erwartet[48] = 225;
        QCOMPARE(testhilfe::bytes(kDatei), erwartet);
        QCOMPARE(liste()->count(), 1);
        QCOMPARE(zahl(), QString("eingetragene LehrerInnen: 1"));
        QVERIFY(namefeld()->text().isEmpty());
        QCOMPARE(stundenfeld()->text(), QString("0,0"));

        // the second is appended, and shows first (sorted by short name)
        tippen(namefeld(), "Anton Berger");
        tippen(stundenfeld(), ",5");
        speichern()->setFocus(Qt::MouseFocusReason);
        QCOMPARE(stundenfeld()->text(), QString(" 0,5"));
        QTest::mouseClick(speichern(), Qt::LeftButton);
        const auto saetze = nux::laden<nux::Lehrersatz>(kDatei);
        QCOMPARE(saetze.size(), std::size_t(2));
        QVERIFY(saetze[1] == lehrer("Anton Berger", "AntB", 5));
        QCOMPARE(nux::lehrer::kurz(nux::zeilevon(liste(), 0)), std::string("AntB"));
        QVERIFY(nux::lehrer::grau(nux::zeilevon(liste(), 0)));
    }

    void stundenfeldFiltertUndNormalisiert_data() {
        QTest::addColumn<QString>("getippt");
        QTest::addColumn<QString>("imFeld");
        QTest::addColumn<QString>("danach");
        QTest::addColumn<qint64>("zehntel");
        QTest::newRow("22.5") << "22.5" << "22.5" << "22,5" << qint64(225);
        QTest::newRow("123,4") << "123,4" << "123,4" << "23,4" << qint64(234);
        QTest::newRow("Fremdes") << "-a2 ,2,5" << "2,25" << " 2,2" << qint64(22);
    }
    void stundenfeldFiltertUndNormalisiert() {
        QFETCH(QString, getippt);
        QFETCH(QString, imFeld);
        QFETCH(QString, danach);
        QFETCH(qint64, zehntel);
        testhilfe::Programm p;
        jahrmit({});
        zeigen();
        tippen(namefeld(), "Anna Test");
        tippen(stundenfeld(), getippt);
        QCOMPARE(stundenfeld()->text(), imFeld);
        namefeld()->setFocus(Qt::TabFocusReason);
        QCOMPARE(stundenfeld()->text(), danach);
        QTest::mouseClick(speichern(), Qt::LeftButton);
        QCOMPARE(nux::laden<nux::Lehrersatz>(kDatei).at(0).stunden, zehntel);
    }

    void speichernFreigabe() {
        testhilfe::Programm p;
        jahrmit({lehrer("Maria Huber", "MarH", 225), lehrer("Otto Ko", "Ko", 100)});
        zeigen();
        QCOMPARE(zahl(), QString("eingetragene LehrerInnen: 2"));
        tippen(namefeld(), "Martha Rainer");
        tippen(kurzfeld(), "Mar");
        QVERIFY(!speichern()->isEnabled());  // begins MarH
        tippen(kurzfeld(), "MaR");
        QVERIFY(speichern()->isEnabled());
        // leaving the name replaces a hand-made short name by the proposal
        namefeld()->setFocus(Qt::MouseFocusReason);
        kurzfeld()->setFocus(Qt::MouseFocusReason);
        QCOMPARE(kurzfeld()->text(), QString("MarR"));

        // loaded with the mouse: enabled although its own line holds the short name
        klicken(zeilevon("MarH"));
        QCOMPARE(namefeld()->text(), QString("Maria Huber"));
        QCOMPARE(stundenfeld()->text(), QString("22,5"));
        QVERIFY(speichern()->isEnabled());
        tippen(stundenfeld(), "20");
        QVERIFY(speichern()->isEnabled());
        tippen(namefeld(), "Maria Huber-Lang");
        QVERIFY(!speichern()->isEnabled());  // its own line counts
        tippen(kurzfeld(), "MHL");
        QVERIFY(speichern()->isEnabled());
        QTest::mouseClick(speichern(), Qt::LeftButton);
        const auto saetze = nux::laden<nux::Lehrersatz>(kDatei);
        QCOMPARE(saetze.size(), std::size_t(2));
        QVERIFY(saetze[0] == lehrer("Maria Huber-Lang", "MHL", 200));
        QCOMPARE(zahl(), QString("eingetragene LehrerInnen: 2"));
    }

    void tastaturLaedtOhneFreigabe() {
        testhilfe::Programm p;
        jahrmit({lehrer("Anton Berger", "AntB", 70), lehrer("Otto Ko", "Ko", 100), lehrer("Bea Zett", "Zet", 0)});
        zeigen();
        klicken(0);
        QVERIFY(speichern()->isEnabled());
        liste()->setFocus(Qt::MouseFocusReason);
        QTest::keyClick(liste(), Qt::Key_Down);
        QCOMPARE(namefeld()->text(), QString("Otto Ko"));
        QCOMPARE(stundenfeld()->text(), QString("10,0"));
        QVERIFY(!speichern()->isEnabled());  // the short name begins its own line
        QTest::keyClick(liste(), Qt::Key_End);
        QCOMPARE(namefeld()->text(), QString("Bea Zett"));
        QCOMPARE(stundenfeld()->text(), QString(" 0,0"));
    }

    void dreiTastenUndLeereStelleLadenNicht() {
        testhilfe::Programm p;
        jahrmit({lehrer("Anton Berger", "AntB", 70), lehrer("Otto Ko", "Ko", 100)});
        zeigen();
        klicken(1, kAlle);
        QVERIFY(namefeld()->text().isEmpty());
        QVERIFY(liste()->selectedItems().isEmpty());
        QTest::mouseClick(liste()->viewport(), Qt::LeftButton, {}, QPoint(20, 300));
        QVERIFY(namefeld()->text().isEmpty());
        QVERIFY(!speichern()->isEnabled());
        // a drag does not carry the selection away from the loaded teacher
        QWidget* v = liste()->viewport();
        QTest::mousePress(v, Qt::LeftButton, {}, liste()->visualItemRect(liste()->item(0)).center());
        QTest::mouseMove(v, liste()->visualItemRect(liste()->item(1)).center());
        QTest::mouseRelease(v, Qt::LeftButton, {}, liste()->visualItemRect(liste()->item(1)).center());
        QVERIFY(liste()->item(0)->isSelected());
        QCOMPARE(namefeld()->text(), QString("Anton Berger"));
    }

    void blankerNameOderKurzPiepst_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("kurz");
        QTest::newRow("Name") << "   " << "Abc";
        QTest::newRow("Kurz") << "Anna" << "  ";
    }
    void blankerNameOderKurzPiepst() {
        QFETCH(QString, name);
        QFETCH(QString, kurz);
        testhilfe::Programm p;
        jahrmit({lehrer("Anton Berger", "AntB", 70)});
        zeigen();
        const auto vorher = testhilfe::bytes(kDatei);
        const int piepse = nux::piepszahl();
        for (bool gewaehlt : {false, true}) {
            if (gewaehlt) klicken(0);
            namefeld()->setText(name);
            kurzfeld()->setFocus(Qt::MouseFocusReason);  // leaving the name proposes a short name
            kurzfeld()->setText(kurz);
            QVERIFY(speichern()->isEnabled());
            QTest::mouseClick(speichern(), Qt::LeftButton);
        }
        QCOMPARE(nux::piepszahl(), piepse + 2);
        QCOMPARE(testhilfe::bytes(kDatei), vorher);
        QCOMPARE(liste()->count(), 1);
    }

    void zurueckziehenMitRaute() {
        testhilfe::Programm p;
        jahrmit({lehrer("Anton Berger", "AntB", 70), lehrer("Otto Ko", "Ko", 100)});
        zeigen();
        klicken(zeilevon("AntB"));
        namefeld()->setFocus(Qt::MouseFocusReason);
        QTest::keyClick(namefeld(), Qt::Key_Home);
        QTest::keyClick(namefeld(), '#');
        QVERIFY(!speichern()->isEnabled());  // "AntB" still begins its own line
        QTest::keyClick(namefeld(), Qt::Key_Tab);
        QCOMPARE(kurzfeld()->text(), QString("#anB"));
        QVERIFY(speichern()->isEnabled());
        QTest::mouseClick(speichern(), Qt::LeftButton);
        QCOMPARE(liste()->count(), 2);  // until the next activation
        QCOMPARE(nux::laden<nux::Lehrersatz>(kDatei).at(0).name, std::string("#Anton Berger"));
        zeigen();
        QCOMPARE(liste()->count(), 1);
        QCOMPARE(nux::listenzeile::index(nux::zeilevon(liste(), 0)), 1);
        QCOMPARE(zahl(), QString("eingetragene LehrerInnen: 1"));
        // its short name is free again; the new teacher is appended
        tippen(namefeld(), "Antonia Bauer");
        tippen(kurzfeld(), "AntB");
        QVERIFY(speichern()->isEnabled());
        QTest::mouseClick(speichern(), Qt::LeftButton);
        QCOMPARE(nux::laden<nux::Lehrersatz>(kDatei).size(), std::size_t(3));
    }

    void grauUnterEinerStunde() {
        testhilfe::Programm p;
        jahrmit({lehrer("Anton Berger", "AntB", 70), lehrer("Null Stunden", "Nul", 9)});
        zeigen();
        QCOMPARE(liste()->width(), 273);
        QCOMPARE(liste()->visualItemRect(liste()->item(0)).height(), 20);
        const QImage bild = liste()->viewport()->grab().toImage();
        auto dunkelstes = [&](int zeile, int x0, int x1) {
            const QRect r = liste()->visualItemRect(liste()->item(zeile));
            int min = 255;
            for (int y = r.top(); y <= r.bottom(); ++y)
                for (int x = x0; x < x1; ++x) min = std::min(min, qGray(bild.pixel(x, y)));
            return min;
        };
        QCOMPARE(dunkelstes(0, 0, 10), 255);
        QVERIFY(dunkelstes(0, 10, 200) < 60);
        QVERIFY(dunkelstes(1, 10, 200) >= 185 && dunkelstes(1, 10, 200) <= 192);
    }

    void kaputteDateiMeldetFehler() {
        testhilfe::Programm p;
        jahrmit({lehrer("Anton Berger", "AntB", 70)});
        std::filesystem::resize_file(kDatei, 100);
        zeigen();
        QCOMPARE(nux::fehlerliste(), QStringList{"Versuch hinter dem Dateiende zu lesen"});
        QCOMPARE(liste()->count(), 0);
        tippen(namefeld(), "Neu");
        tippen(kurzfeld(), "Neu");
        QTest::mouseClick(speichern(), Qt::LeftButton);
        QCOMPARE(nux::fehlerliste().size(), 2);
        QCOMPARE(std::filesystem::file_size(kDatei), std::uintmax_t(100));
    }
};

QTEST_MAIN(LehrerTest)
#include "lehrer_test.moc"
