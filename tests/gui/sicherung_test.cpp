// The way to the backups and back, and one program per program folder.
#include <signal.h>

#include "app/sperre.h"
#include "storage/sicherung.h"
#include "testhilfe.h"
#include "years/nux_sicherungen.h"

class SicherungTest : public QObject {
    Q_OBJECT
private slots:
    // The added button covers no control of the window; the way to a
    // backup and back.
    void zurueckholenUeberDenDialog() {
        testhilfe::Programm p;
        auto* knopf = testhilfe::teil<QPushButton>(jahrfenster, "Button3");
        for (auto* w : jahrfenster->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
            if (w != knopf) QVERIFY2(!w->geometry().intersects(knopf->geometry()), qPrintable(w->objectName()));
        QVERIFY(jahrfenster->rect().contains(knopf->geometry()));
        QVERIFY(QDir().mkdir(QStringLiteral("2006 1")));
        jahrfenster->vorholen();
        const int piepse = nux::piepszahl();
        QTest::mouseClick(knopf, Qt::LeftButton);
        QCOMPARE(nux::piepszahl(), piepse + 1);  // no current year yet
        QVERIFY(!jahrfenster->findChild<Tsicherungen*>());

        nux::jahrsetzen("2006 1");
        const auto fach = [](const char* name) { return nux::kodieren(std::vector{nux::Fachsatz{.name = name}}); };
        for (const char* f : {"Deutsch", "Kunst", "Musik"}) nux::atomarschreiben("2006 1/faecher", fach(f));
        QTest::mouseClick(knopf, Qt::LeftButton);
        auto* dialog = jahrfenster->findChild<Tsicherungen*>();
        QVERIFY(dialog && dialog->isVisible());
        auto* liste = dialog->ListView1;
        QCOMPARE(liste->topLevelItemCount(), 2);
        liste->setCurrentItem(liste->topLevelItem(1));
        QTest::mouseClick(dialog->Button1, Qt::LeftButton);
        QCOMPARE(testhilfe::bytes("2006 1/faecher"), fach("Deutsch"));
        QCOMPARE(liste->topLevelItemCount(), 3);
        QVERIFY(dialog->Label2->text().contains(QStringLiteral("zurückgeholt")));

        // A failed backup is told in the window.
        QVERIFY(QDir().rename(QStringLiteral("2006 1/sicherung"), QStringLiteral("2006 1/weg")));
        QFile(QStringLiteral("2006 1/sicherung")).open(QIODevice::WriteOnly);
        nux::atomarschreiben("2006 1/faecher", fach("Kunst"));
        QLabel* hinweis = nullptr;
        for (auto* w : QApplication::topLevelWidgets())
            if (!hinweis) hinweis = w->findChild<QLabel*>(QString::fromLatin1(nux::kSicherungshinweis));
        QVERIFY(hinweis && hinweis->isVisible());
        QVERIFY(hinweis->text().contains(QStringLiteral("Gespeichert wird trotzdem")));
        QVERIFY(nux::fehlerliste().isEmpty());
    }

    // A running nux holds the folder; once it is killed, its lock is stale
    // and taken over without a question.
    void zweiProgrammeEinOrdner() {
        testhilfe::Programmordner ordner;
        QProcess erstes;
        erstes.setProgram(QStringLiteral(NUX_PROGRAMM));
        erstes.start();
        QVERIFY(erstes.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(QString::fromLatin1(nux::kSperrdatei)), 20000);

        int gefragt = 0;
        QStringList gemeldet;
        const auto fragen = [&](const QString&) { return ++gefragt, true; };
        const auto melden = [&](const QString& m) { gemeldet << m; };
        {
            nux::Programmsperre zweites;
            QVERIFY(!zweites.nehmen(fragen, melden));
            QCOMPARE(gemeldet.size(), 1);
            QVERIFY2(gemeldet[0].contains(QSysInfo::machineHostName()), qPrintable(gemeldet[0]));
            QVERIFY(gemeldet[0].contains(QFileInfo(QString::fromLatin1(nux::kSperrdatei)).owner()));
            QVERIFY(gemeldet[0].contains(QStringLiteral("seit")));
            QCOMPARE(QDir().entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).size(), 1);
        }
        ::kill(static_cast<pid_t>(erstes.processId()), SIGKILL);
        QVERIFY(erstes.waitForFinished());
        QVERIFY(QFile::exists(QString::fromLatin1(nux::kSperrdatei)));
        nux::Programmsperre drittes;
        QVERIFY(drittes.nehmen(fragen, melden));
        QCOMPARE(gefragt, 0);
        QCOMPARE(gemeldet.size(), 1);
    }

    // A lock from another computer cannot be told from a running nux: only the user may take it over.
    void sperreEinesAnderenRechners() {
        testhilfe::Programmordner ordner;
        const QByteArray fremd = "4242\nnux\nanderer-rechner\n";
        QFile f(QString::fromLatin1(nux::kSperrdatei));
        for (const bool antwort : {false, true}) {
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(fremd) == fremd.size());
            f.close();
            QString frage;
            nux::Programmsperre sperre;
            QCOMPARE(sperre.nehmen([&](const QString& t) { return frage = t, antwort; },
                                   [&](const QString& m) { QFAIL(qPrintable(m)); }),
                     antwort);
            QVERIFY(frage.contains(QStringLiteral("„anderer-rechner“")));
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.readAll() == fremd, !antwort);
            f.close();
        }
    }
};

QTEST_MAIN(SicherungTest)
#include "sicherung_test.moc"
