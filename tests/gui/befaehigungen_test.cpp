// The dialog "Wer unterrichtet was", driven as a user drives it.
#include "assignment/nux_befaehigungen.h"
#include "storage/planung.h"
#include "testhilfe.h"

namespace {

// Runs tun on the dialog as soon as it is open.
void imdialog(std::function<void(Tbefaehigungen*)> tun) {
    QTimer::singleShot(0, [tun] {
        auto* d = qobject_cast<Tbefaehigungen*>(QApplication::activeModalWidget());
        if (!d) qFatal("Tbefaehigungen ist nicht offen");
        tun(d);
        if (d->isVisible()) d->done(QDialog::Rejected);
    });
}

QString zelle(Tbefaehigungen* d, int z, int s) { return d->StringGrid1->model()->index(z, s).data().toString(); }

QString zustand(Tbefaehigungen* d) {
    QString t;
    for (int z = 0; z < 2; ++z)
        for (int s = 0; s < 2; ++s) t += zelle(d, z, s).isEmpty() ? QStringLiteral("-") : zelle(d, z, s);
    return t;
}

}  // namespace

class BefaehigungenTest : public QObject {
    Q_OBJECT
private slots:
    void tabelleBearbeitenUndSpeichern() {
        testhilfe::Programm p;
        testhilfe::kleineschule();
        const std::string alt = "Xy\tD\tbef\xE4higt\r\nkaputt\r\n";
        QVERIFY(QDir().mkdir(QStringLiteral("2026 1/planung")));
        nux::atomarschreiben("2026 1/planung/befaehigungen", std::vector<std::uint8_t>(alt.begin(), alt.end()));

        // The new button of the teachers editor covers nothing and opens the dialog.
        auto* knopf = testhilfe::teil<QPushButton>(lehrerfenster, "Button3");
        for (auto* w : lehrerfenster->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
            if (w != knopf) QVERIFY2(!w->geometry().intersects(knopf->geometry()), qPrintable(w->objectName()));
        lehrerfenster->vorholen();
        bool offen = false;
        imdialog([&](Tbefaehigungen* d) { offen = d->objectName() == QStringLiteral("Tbefaehigungen"); });
        QTest::mouseClick(knopf, Qt::LeftButton);
        QVERIFY(offen);

        QStringList fragen;
        nux::antworthaken() = [&](const QString& f, bool) {
            fragen << f;
            return f.contains(QStringLiteral("noch nicht gespeichert")) ? nux::Antwort::nein : nux::Antwort::ja;
        };
        imdialog([&](Tbefaehigungen* d) {
            auto* grid = d->StringGrid1;
            QVERIFY(d->Label3->text().contains(QStringLiteral("Zeile 2")));
            QVERIFY(d->Label3->text().contains(QStringLiteral("LehrerInnen Xy")));
            QTest::keyClick(grid, Qt::Key_Space);
            QCOMPARE(zustand(d), QStringLiteral("·---"));

            QApplication::clipboard()->setText(QStringLiteral("★\tx\r\n\tWunschfach\r\n"));
            QTest::keyClick(grid, Qt::Key_V, Qt::ControlModifier);
            QCOMPARE(zustand(d), QStringLiteral("★·-★"));
            const int piepse = nux::piepszahl();
            QApplication::clipboard()->setText(QStringLiteral("vielleicht"));
            QTest::keyClick(grid, Qt::Key_V, Qt::ControlModifier);
            QCOMPARE(nux::piepszahl(), piepse + 1);
            QVERIFY(d->Label3->text().contains(QStringLiteral("\"vielleicht\" ist keine Stufe")));
            QTest::keyClick(grid, Qt::Key_Z, Qt::ControlModifier);
            QCOMPARE(zustand(d), QStringLiteral("·---"));
            // One value pasted onto a selected column fills it.
            QTest::mouseClick(grid->horizontalHeader()->viewport(), Qt::LeftButton, {},
                              QPoint(grid->horizontalHeader()->sectionViewportPosition(1) + 5, 5));
            QApplication::clipboard()->setText(QStringLiteral("x\n"));
            QTest::keyClick(grid, Qt::Key_V, Qt::ControlModifier);
            QCOMPARE(zustand(d), QStringLiteral("··-·"));
            QTest::keyClick(grid, Qt::Key_Z, Qt::ControlModifier);

            // Ra holds M in 1b.
            QTest::mouseClick(d->Button3, Qt::LeftButton);
            QCOMPARE(fragen.value(0), QStringLiteral("1 Befähigung wird eingetragen (aus der Verteilung dieses Jahres). Eintragen?"));
            QCOMPARE(zustand(d), QStringLiteral("·--·"));
            QTest::mouseClick(d->Button1, Qt::LeftButton);

            // Left unsaved, and not saved when the user says no.
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(grid->model()->index(1, 0)).center());
            QCOMPARE(zustand(d), QStringLiteral("·-··"));
            QTest::mouseClick(d->Button2, Qt::LeftButton);
            QVERIFY(!d->isVisible());
        });
        QVERIFY(befaehigungenbearbeiten(lehrerfenster));
        QCOMPARE(fragen.size(), 2);
        QCOMPARE(fragen[1], QStringLiteral("Die Befähigungen sind noch nicht gespeichert. Jetzt speichern?"));
        const std::string neu =
            "# nux: Bef\xE4higungen der LehrerInnen. Je Zeile: K\xFCrzel, Fach (Kurzbezeichnung), bef\xE4higt oder "
            "Wunschfach; durch Tabulator getrennt.\r\n"
            "AnnA\tD\tbef\xE4higt\r\nRa\tM\tbef\xE4higt\r\nXy\tD\tbef\xE4higt\r\n"
            "# Diese Zeilen konnte nux nicht lesen; sie bleiben, bis sie jemand berichtigt oder l\xF6scht:\r\n"
            "kaputt\r\n";
        QCOMPARE(testhilfe::bytes("2026 1/planung/befaehigungen"), std::vector<std::uint8_t>(neu.begin(), neu.end()));
        QVERIFY(nux::fehlerliste().isEmpty());

        // "Abbrechen" keeps the table open; "Ja" saves on the way out.
        QList<nux::Antwort> antworten{nux::Antwort::abbrechen, nux::Antwort::ja};
        nux::antworthaken() = [&](const QString&, bool) { return antworten.takeFirst(); };
        imdialog([&](Tbefaehigungen* d) {
            QTest::keyClick(d->StringGrid1, Qt::Key_2);
            QTest::mouseClick(d->Button2, Qt::LeftButton);
            QVERIFY(d->isVisible());
            QTest::keyClick(d->StringGrid1, Qt::Key_Escape);
            QVERIFY(!d->isVisible());
        });
        QVERIFY(befaehigungenbearbeiten(lehrerfenster));
        QVERIFY(antworten.isEmpty());
        QCOMPARE(nux::befaehigungenladen("2026 1").stufe("AnnA", "D"), nux::Stufe::wunsch);
    }
};

QTEST_MAIN(BefaehigungenTest)
#include "befaehigungen_test.moc"
