#include <QCheckBox>
#include <QFrame>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>
#include <filesystem>

#include "app/nux_menue.h"
#include "editors/kern/faecher.h"
#include "editors/listenzeichner.h"
#include "editors/nux_faecher.h"
#include "storage/jahr.h"
#include "storage/satz.h"
#include "testhilfe.h"
#include "years/nux_jahr.h"

namespace {

const std::string kDatei = "2026 1/faecher";
constexpr Qt::KeyboardModifiers kAlle = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;

template <class T>
T* teil(const char* name) {
    auto* w = reinterpret_cast<QWidget*>(faecherfenster)->findChild<T*>(name);
    if (!w) qFatal("%s fehlt", name);
    return w;
}
QListWidget* liste() { return teil<QListWidget>("ListBox1"); }
QLineEdit* namefeld() { return teil<QLineEdit>("Edit1"); }
QLineEdit* kurzfeld() { return teil<QLineEdit>("Edit2"); }
QCheckBox* heuer() { return teil<QCheckBox>("CheckBox1"); }
QPushButton* speichern() { return teil<QPushButton>("Button1"); }

void jahranlegen() {
    std::filesystem::create_directory("2026 1");
    nux::jahrsetzen("2026 1");
}

void zeigen() {
    menuform->vorholen();
    testhilfe::warten();
    reinterpret_cast<nux::Fenster*>(faecherfenster)->vorholen();
    testhilfe::warten();
}

nux::Fachsatz fach(const std::string& name, const std::string& kurz, int ordnung, bool unterrichtet = true) {
    nux::Fachsatz s;
    s.name = name;
    s.kurz = kurz;
    s.ordnung = ordnung;
    s.unterrichtet = unterrichtet;
    return s;
}

// Subjects Fach0 .. Fachn-1 with short names F0 .., in file order.
void dateimit(int n) {
    std::vector<nux::Fachsatz> s;
    for (int i = 0; i < n; ++i) s.push_back(fach("Fach" + std::to_string(i), "F" + std::to_string(i), i));
    nux::neuschreiben(kDatei, s);
}

QPoint mitte(int zeile) { return liste()->visualItemRect(liste()->item(zeile)).center(); }

void klicken(int zeile, Qt::KeyboardModifiers m = {}) {
    QTest::mouseClick(liste()->viewport(), Qt::LeftButton, m, mitte(zeile));
}

void ziehen(int von, int nach) {
    QWidget* v = liste()->viewport();
    QTest::mousePress(v, Qt::LeftButton, {}, mitte(von));
    const int schritt = von < nach ? 1 : -1;
    for (int z = von; z != nach + schritt; z += schritt) QTest::mouseMove(v, mitte(z));
    QTest::mouseRelease(v, Qt::LeftButton, {}, mitte(nach));
}

void eingeben(const QString& name, const QString& kurz) {
    namefeld()->clear();
    kurzfeld()->clear();
    QTest::keyClicks(namefeld(), name);
    QTest::keyClicks(kurzfeld(), kurz);
}

std::vector<std::string> namen() {
    std::vector<std::string> r;
    for (const auto& z : nux::zeilenvon(liste())) r.push_back(nux::faecher::name(z));
    return r;
}

std::vector<int> ordnungen() {
    std::vector<int> r;
    for (const auto& s : nux::laden<nux::Fachsatz>(kDatei)) r.push_back(s.ordnung);
    return r;
}

}  // namespace

class FaecherTest : public QObject {
    Q_OBJECT

private slots:
    void ohneJahrKommtDasJahrfensterUndKeineDatei() {
        testhilfe::Programm p;
        zeigen();
        QVERIFY(reinterpret_cast<QWidget*>(jahrfenster)->isVisible());
        QCOMPARE(liste()->count(), 0);
        QVERIFY(nux::fehlerliste().isEmpty());
    }

    void neueFaecherByteGenau() {
        testhilfe::Programm p;
        jahranlegen();
        zeigen();
        QVERIFY(!speichern()->isEnabled());
        QVERIFY(heuer()->isChecked());
        QTest::keyClicks(namefeld(), "Deutsch");
        QVERIFY(!speichern()->isEnabled());
        QTest::keyClicks(kurzfeld(), "D");
        QVERIFY(speichern()->isEnabled());
        QTest::mouseClick(speichern(), Qt::LeftButton);
        QVERIFY(!QFile::exists("2026 1/.faecher.neu"));

        std::vector<std::uint8_t> erwartet(88, 0);
        erwartet[0] = 7;
        std::memcpy(&erwartet[1], "Deutsch", 7);
        erwartet[31] = 1;
        erwartet[32] = 'D';
        erwartet[44] = 1;
        erwartet[45] = 3;
        std::memset(&erwartet[46], ' ', 3);
        erwartet[49] = 36;
        std::memset(&erwartet[50], ' ', 36);
        QCOMPARE(testhilfe::bytes(kDatei), erwartet);
        // the fields are emptied and the focus is back in the name field
        QVERIFY(namefeld()->text().isEmpty() && kurzfeld()->text().isEmpty());
        QVERIFY(!speichern()->isEnabled());
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(namefeld()));

        eingeben("Mathematik", "MATHE");
        heuer()->setChecked(false);
        QTest::mouseClick(speichern(), Qt::LeftButton);
        QVERIFY(heuer()->isChecked());
        const auto saetze = nux::laden<nux::Fachsatz>(kDatei);
        QCOMPARE(saetze.size(), std::size_t(2));
        QVERIFY(saetze[1] == fach("Mathematik", "MAT", 1, false));
        QCOMPARE(testhilfe::bytes(kDatei).size(), std::size_t(176));
        const std::string z = nux::zeilevon(liste(), 1);
        QCOMPARE(QByteArray::fromStdString(z.substr(0, 20)), QByteArray("  1XMAT Mathematik  "));
        QCOMPARE(QByteArray::fromStdString(z.substr(200)), QByteArray("1"));
        QVERIFY(nux::faecher::grau(z));
    }

    void abgelehntPiepstUndSchreibtNichts_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("kurz");
        QTest::newRow("Name blank") << "   " << "X";
        QTest::newRow("doppelt") << "Darstellen" << "F1";
    }
    void abgelehntPiepstUndSchreibtNichts() {
        QFETCH(QString, name);
        QFETCH(QString, kurz);
        testhilfe::Programm p;
        jahranlegen();
        dateimit(3);
        zeigen();
        const auto vorher = testhilfe::bytes(kDatei);
        const int piepse = nux::piepszahl();
        eingeben(name, kurz);
        QVERIFY(speichern()->isEnabled());  // blanks count as text for the button
        QTest::mouseClick(speichern(), Qt::LeftButton);
        QCOMPARE(nux::piepszahl(), piepse + 1);
        QCOMPARE(testhilfe::bytes(kDatei), vorher);
        QCOMPARE(namefeld()->text(), name);  // the fields stay
        QCOMPARE(liste()->count(), 3);
    }

    void unlesbareDateiWirdNichtUeberschrieben() {
        testhilfe::Programm p;
        jahranlegen();
        dateimit(3);
        std::filesystem::resize_file(kDatei, 200);  // not a multiple of the record size
        const auto vorher = testhilfe::bytes(kDatei);
        zeigen();
        QCOMPARE(nux::fehlerliste(), QStringList{"Versuch hinter dem Dateiende zu lesen"});
        QCOMPARE(liste()->count(), 0);
        eingeben("Deutsch", "D");
        QTest::mouseClick(speichern(), Qt::LeftButton);
        QCOMPARE(nux::fehlerliste().size(), 2);
        QCOMPARE(testhilfe::bytes(kDatei), vorher);
        QCOMPARE(namefeld()->text(), QString("Deutsch"));
        // once the file is whole again, the save reads it first
        dateimit(3);
        QTest::mouseClick(speichern(), Qt::LeftButton);
        QCOMPARE(nux::fehlerliste().size(), 2);
        QCOMPARE(liste()->count(), 4);
        const auto saetze = nux::laden<nux::Fachsatz>(kDatei);
        QCOMPARE(saetze.size(), std::size_t(4));
        QVERIFY(saetze[3] == fach("Deutsch", "D", 3));
    }

    void das52FachPiepst() {
        testhilfe::Programm p;
        jahranlegen();
        dateimit(51);
        zeigen();
        const auto vorher = testhilfe::bytes(kDatei);
        const int piepse = nux::piepszahl();
        eingeben("Zuviel", "ZZ");
        QTest::mouseClick(speichern(), Qt::LeftButton);
        QCOMPARE(nux::piepszahl(), piepse + 1);
        QCOMPARE(testhilfe::bytes(kDatei), vorher);
        QCOMPARE(liste()->count(), 51);
    }

    void klickLaedtUndAendertDenGewaehlten() {
        testhilfe::Programm p;
        jahranlegen();
        dateimit(3);
        nux::neuschreiben(kDatei, std::vector<nux::Fachsatz>{fach("Deutsch", "DEUTS", 0), fach("Englisch", "E", 1, false),
                                                             fach("Musik", "M", 2)});
        zeigen();
        klicken(1, Qt::ControlModifier);  // a modifier does not deselect
        QCOMPARE(namefeld()->text(), QString("Englisch"));
        QCOMPARE(kurzfeld()->text(), QString("E"));
        QVERIFY(!heuer()->isChecked());
        QVERIFY(liste()->item(1)->isSelected());
        QVERIFY(speichern()->isEnabled());
        const auto vorher = testhilfe::bytes(kDatei);

        // SHIFT, CTRL and ALT together: neither loaded nor selected
        klicken(2, kAlle);
        QCOMPARE(namefeld()->text(), QString("Englisch"));
        QVERIFY(liste()->item(1)->isSelected());
        QCOMPARE(testhilfe::bytes(kDatei), vorher);

        eingeben("Mu", "M");  // taken by Musik: changes are not checked
        heuer()->setChecked(true);
        QTest::mouseClick(speichern(), Qt::LeftButton);
        const auto saetze = nux::laden<nux::Fachsatz>(kDatei);
        QCOMPARE(saetze.size(), std::size_t(3));
        QVERIFY(saetze[1] == fach("Mu", "M", 1, true));
        QVERIFY(saetze[0] == fach("Deutsch", "DEU", 0));  // the whole file is rebuilt from the lines
        QVERIFY(liste()->selectedItems().isEmpty());
    }

    void tastaturLaedtDenGewaehlten() {
        testhilfe::Programm p;
        jahranlegen();
        dateimit(3);
        zeigen();
        klicken(0);
        QTest::keyClick(liste(), Qt::Key_Down);
        QVERIFY(liste()->item(1)->isSelected());
        QCOMPARE(namefeld()->text(), QString("Fach1"));
        eingeben("Fach1neu", "F1");
        QTest::mouseClick(speichern(), Qt::LeftButton);
        QCOMPARE(nux::laden<nux::Fachsatz>(kDatei)[1].name, std::string("Fach1neu"));
        QCOMPARE(nux::laden<nux::Fachsatz>(kDatei)[0].name, std::string("Fach0"));
    }

    void ziehenOrdnetUm() {
        testhilfe::Programm p;
        jahranlegen();
        dateimit(5);
        zeigen();
        const auto vorher = testhilfe::bytes(kDatei);
        // press and release on the same entry only loads it
        klicken(2);
        QCOMPARE(namefeld()->text(), QString("Fach2"));
        QCOMPARE(testhilfe::bytes(kDatei), vorher);
        // dragging away and back again changes nothing either
        QTest::mousePress(liste()->viewport(), Qt::LeftButton, {}, mitte(2));
        QTest::mouseMove(liste()->viewport(), mitte(3));
        QVERIFY(liste()->item(3)->isSelected());
        QTest::mouseMove(liste()->viewport(), mitte(2));
        QTest::mouseRelease(liste()->viewport(), Qt::LeftButton, {}, mitte(2));
        QCOMPARE(testhilfe::bytes(kDatei), vorher);

        ziehen(0, 4);  // onto the last entry: second to last
        QCOMPARE(namen(), (std::vector<std::string>{"Fach1", "Fach2", "Fach3", "Fach0", "Fach4"}));
        QCOMPARE(ordnungen(), (std::vector<int>{3, 0, 1, 2, 4}));
        QVERIFY(namefeld()->text().isEmpty());
        QVERIFY(liste()->selectedItems().isEmpty());

        ziehen(3, 0);
        QCOMPARE(namen(), (std::vector<std::string>{"Fach0", "Fach1", "Fach2", "Fach3", "Fach4"}));
        QCOMPARE(ordnungen(), (std::vector<int>{0, 1, 2, 3, 4}));
        QCOMPARE(testhilfe::bytes(kDatei), vorher);  // indexes never move

        // a gesture started with all three modifiers moves nothing
        QTest::mousePress(liste()->viewport(), Qt::LeftButton, kAlle, mitte(0));
        QTest::mouseMove(liste()->viewport(), mitte(3));
        QTest::mouseRelease(liste()->viewport(), Qt::LeftButton, kAlle, mitte(3));
        QCOMPARE(testhilfe::bytes(kDatei), vorher);
    }

    void ziehenUeberDenRandRollt() {
        testhilfe::Programm p;
        jahranlegen();
        dateimit(51);
        zeigen();
        QWidget* v = liste()->viewport();
        QVERIFY(liste()->visualItemRect(liste()->item(50)).top() > v->height());  // not all visible
        QTest::mousePress(v, Qt::LeftButton, {}, mitte(1));
        QTest::mouseMove(v, QPoint(100, v->height() + 20));
        QTRY_VERIFY_WITH_TIMEOUT(liste()->item(50)->isSelected(), 10000);
        QTest::mouseRelease(v, Qt::LeftButton, {}, QPoint(100, v->height() + 20));
        QCOMPARE(namen().at(49), std::string("Fach1"));
        QCOMPARE(namen().at(50), std::string("Fach50"));
        QCOMPARE(ordnungen().at(1), 49);
    }

    void abdeckungUndGrau() {
        testhilfe::Programm p;
        jahranlegen();
        nux::neuschreiben(kDatei, std::vector<nux::Fachsatz>{fach("Deutsch", "D", 0), fach("Latein", "L", 1, false)});
        zeigen();
        auto* panel = teil<QFrame>("Panel1");
        const QRect l = liste()->geometry();
        QCOMPARE(panel->geometry(), QRect(l.x(), l.y(), 51, l.height()));
        QCOMPARE(l.width(), 297);
        QCOMPARE(reinterpret_cast<QWidget*>(faecherfenster)->childAt(l.x() + 30, l.y() + 10),
                 static_cast<QWidget*>(panel));
        QCOMPARE(liste()->visualItemRect(liste()->item(0)).height(), 16);
        QVERIFY(teil<QPlainTextEdit>("Memo1")->toPlainText().startsWith("Reihenfolge ändern: In der Kolonne"));

        const QImage bild = liste()->viewport()->grab().toImage();
        auto dunkelstes = [&](int zeile, int x0, int x1) {
            const QRect r = liste()->visualItemRect(liste()->item(zeile));
            int min = 255;
            for (int y = r.top(); y <= r.bottom(); ++y)
                for (int x = x0; x < x1; ++x) min = std::min(min, qGray(bild.pixel(x, y)));
            return min;
        };
        QCOMPARE(dunkelstes(0, 0, 10), 255);  // the text begins 10 pixels in
        QVERIFY(dunkelstes(0, 60, 200) < 60);
        QVERIFY(dunkelstes(1, 60, 200) >= 185 && dunkelstes(1, 60, 200) <= 192);
    }
};

QTEST_MAIN(FaecherTest)
#include "faecher_test.moc"
