#include "testhilfe.h"

#include <QTreeWidget>

#include "assignment/nux_verteilung.h"
#include "fenster/hochknopf.h"
#include "assignment/nux_vorschlag.h"
#include "storage/planung.h"

using namespace testhilfe;

namespace {

// The small school with AnnA for both subjects and Ra for maths: the
// proposal can fill all three open lessons.
void befaehigen() {
    nux::Befaehigungen b;
    b.setzen("AnnA", "D", nux::Stufe::befaehigt);
    b.setzen("AnnA", "M", nux::Stufe::wunsch);
    b.setzen("Ra", "M", nux::Stufe::befaehigt);
    nux::befaehigungenspeichern("2026 1", b);
}

void rechnen(Tvorschlag& d) {
    QTest::mouseClick(d.Button1, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!d.laeuft() && d.Button1->isEnabled(), 10000);
    warten();
}

}  // namespace

class VorschlagTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Programm> programm;

private slots:
    void init() {
        programm = std::make_unique<Programm>();
        kleineschule();
        entsperren();
        zeigen(verteilfenster);
    }
    void cleanup() { programm.reset(); }

    void knopfImFreienStreifen() {
        auto* k = teil<nux::Hochknopf>(verteilfenster, "Button5");
        QCOMPARE(k->geometry(), QRect(850, 217, 20, 130));
        QCOMPARE(k->text(), QStringLiteral("Vorschlag …"));
        QVERIFY(!k->geometry().intersects(verteilfenster->ScrollBox1->geometry()));
        QVERIFY(!k->geometry().intersects(verteilfenster->ListBox1->geometry()));
    }

    // Apply the ticked lines as one step; nothing saved; one undo restores the grid.
    void uebernehmenUndZuruecknehmen() {
        befaehigen();
        const nux::Verteilung vorher = verteilfenster->modell();
        const auto datei = bytes("2026 1/klassen");
        const int schritte = verteilfenster->verlauf()->count();
        Tvorschlag d(verteilfenster);
        d.show();
        rechnen(d);
        QVERIFY(d.vorschlag());
        QCOMPARE(d.ListView1->topLevelItemCount(), 3);
        QVERIFY(d.Memo1->text().contains(QStringLiteral("gierige Regel")));
        QCOMPARE(verteilfenster->modell(), vorher);  // a preview changes nothing
        // Untick 1b's German: it stays open.
        for (int i = 0; i < d.ListView1->topLevelItemCount(); ++i) {
            auto* item = d.ListView1->topLevelItem(i);
            if (item->text(0) == QStringLiteral("1b") && item->text(1) == QStringLiteral("Deutsch")) item->setCheckState(0, Qt::Unchecked);
        }
        QTest::mouseClick(d.Button3, Qt::LeftButton);
        const auto& m = verteilfenster->modell();
        int offen = 0;
        for (int c = 0; c <= m.LastClass; ++c)
            for (int r = 0; r <= m.LastRow; ++r) offen += m.zelle(c, r).sichtbar() && m.zelle(c, r).frei();
        QCOMPARE(offen, 1);
        QCOMPARE(verteilfenster->verlauf()->count(), schritte + 1);
        QCOMPARE(bytes("2026 1/klassen"), datei);
        verteilfenster->verlauf()->undo();
        QCOMPARE(verteilfenster->modell(), vorher);
    }

    // Cancelled or not, a run without "Übernehmen" leaves everything as it was.
    void abbrechenAendertNichts() {
        befaehigen();
        const nux::Verteilung vorher = verteilfenster->modell();
        Tvorschlag d(verteilfenster);
        d.show();
        QTest::mouseClick(d.Button1, Qt::LeftButton);
        QVERIFY(d.laeuft() || d.vorschlag());
        d.Button2Click();
        QTRY_VERIFY_WITH_TIMEOUT(!d.laeuft(), 10000);
        warten();
        QVERIFY(d.Button1->isEnabled());
        QTest::mouseClick(d.Button4, Qt::LeftButton);
        QCOMPARE(verteilfenster->modell(), vorher);
        QCOMPARE(verteilfenster->verlauf()->count(), 0);
    }

    // Bad input: a German message through the general display, nothing changed.
    void schlechteEingaben_data() {
        QTest::addColumn<bool>("befaehigt");
        QTest::addColumn<QString>("toleranz");
        QTest::addColumn<int>("regler");
        QTest::addColumn<bool>("auswahl");
        QTest::addColumn<QString>("meldung");
        QTest::newRow("ohne Befähigungen") << false << "0,0" << 5 << false << "„aus der Verteilung übernehmen“";
        QTest::newRow("alle Regler auf 0") << true << "0,0" << 0 << false << "Alle Gewichte stehen auf 0";
        QTest::newRow("keine Klasse gewählt") << true << "0,0" << 5 << true << "keine Klasse ausgewählt";
        QTest::newRow("Toleranz leer") << true << "," << 5 << false << "Stundenzahl wie 1,5";
    }
    void schlechteEingaben() {
        QFETCH(bool, befaehigt);
        QFETCH(QString, toleranz);
        QFETCH(int, regler);
        QFETCH(bool, auswahl);
        QFETCH(QString, meldung);
        if (befaehigt) befaehigen();
        const nux::Verteilung vorher = verteilfenster->modell();
        Tvorschlag d(verteilfenster);
        d.show();
        d.Edit1->setText(toleranz);
        for (QSlider* s : {d.TrackBar1, d.TrackBar2, d.TrackBar3, d.TrackBar4}) s->setValue(regler);
        d.RadioButton2->setChecked(auswahl);
        nux::fehlerliste().clear();
        rechnen(d);
        QCOMPARE(nux::fehlerliste().size(), 1);
        QVERIFY2(nux::fehlerliste().first().contains(meldung), qPrintable(nux::fehlerliste().first()));
        QVERIFY(!d.vorschlag());
        QVERIFY(!d.Button3->isEnabled());
        QCOMPARE(verteilfenster->modell(), vorher);
    }
};

QTEST_MAIN(VorschlagTest)
#include "vorschlag_test.moc"
