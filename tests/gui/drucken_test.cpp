#include <QDir>
#include <QLabel>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QtTest>
#include <filesystem>

#include "assignment/drucken.h"
#include "assignment/kern/drucklayout.h"
#include "storage/datei.h"
#include "storage/dateifehler.h"
#include "storage/jahr.h"
#include "storage/satz.h"
#include "storage/text.h"
#include "testhilfe.h"

namespace {

// A school of k classes and z rows, every lesson 1,0 hours without teacher,
// and teacher lines for the given short names.
nux::Druckdaten schule(int k, int z, const std::vector<std::string>& kurz = {}) {
    nux::Druckdaten d;
    d.jahr = "2026 1";
    for (int c = 0; c < k; ++c) d.klassen.push_back(std::to_string(c / 3 + 1) + char('a' + c % 3));
    for (int r = 0; r < z; ++r) d.zeilen.push_back(r % 2 ? "M" : "D");
    nux::Druckzelle zelle{" 1,0", "--", true, ""};
    d.zellen.assign(k, std::vector<nux::Druckzelle>(z, zelle));
    d.verfuegbar.push_back(nux::linksbuendig("----", 200) + "-1");
    for (std::size_t i = 0; i < kurz.size(); ++i)
        d.verfuegbar.push_back(nux::linksbuendig(nux::linksbuendig(kurz[i], 5) + "22,0  22,0", 200) +
                               std::to_string(i));
    d.verfuegbar.push_back(" ");
    d.verfuegbar.push_back("Summe   22,0");
    return d;
}

void lehrerschreiben(const std::vector<std::pair<std::string, std::string>>& lehrer) {
    std::filesystem::create_directory("2026 1");
    nux::jahrsetzen("2026 1");
    std::vector<nux::Lehrersatz> s;
    for (const auto& [name, kurz] : lehrer) {
        nux::Lehrersatz l;
        l.name = name;
        l.kurz = kurz;
        l.stunden = 220;
        s.push_back(l);
    }
    nux::neuschreiben("2026 1/lehrer", s);
}

QStringList pdfs() { return QDir("druck").entryList({"*.pdf"}, QDir::Files, QDir::Name); }

struct Wort {
    double x, y;
    QString text;
};
struct Pdfseite {
    double breite = 0, hoehe = 0;
    QList<Wort> woerter;
};

// The words of the first page with their boxes in points, top-left origin.
Pdfseite pdfwoerter(const QString& datei) {
    QProcess p;
    p.start("pdftotext", {"-bbox", "-f", "1", "-l", "1", datei, "-"});
    p.waitForFinished(30000);
    const QString html = QString::fromUtf8(p.readAllStandardOutput());
    Pdfseite s;
    const QRegularExpression seite(R"re(<page width="([\d.]+)" height="([\d.]+)")re");
    const auto ms = seite.match(html);
    if (ms.hasMatch()) {
        s.breite = ms.captured(1).toDouble();
        s.hoehe = ms.captured(2).toDouble();
    }
    const QRegularExpression wort(R"re(<word xMin="([\d.]+)" yMin="([\d.]+)"[^>]*>([^<]*)</word>)re");
    for (auto it = wort.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        s.woerter.append({m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3)});
    }
    return s;
}

}  // namespace

class DruckenTest : public QObject {
    Q_OBJECT

    QWidget* fenster = nullptr;

    QLabel* hinweis() { return fenster->findChild<QLabel*>(nux::kDruckhinweis); }

private slots:
    void init() {
        nux::druckzielsetzen(nux::Druckziel::pdf);
        nux::druckfehlerSetzen(0);
        fenster = new QWidget;
        fenster->resize(1016, 616);
        fenster->show();
    }
    void cleanup() { delete fenster; }

    void lehrerblattStehtAlsPdfWoDasLayoutEsHinstellt() {
        if (QStandardPaths::findExecutable("pdftotext").isEmpty()) QSKIP("pdftotext fehlt (poppler-utils)");
        testhilfe::Programm p;
        lehrerschreiben({{"Maria Huber", "MarH"}});
        nux::Druckdaten d = schule(2, 2, {"MarH"});
        d.zellen[1][1] = {"22,5", "MarH", true, "Teamteaching"};
        nux::drucken(fenster, d, 1);

        const QStringList dateien = pdfs();
        QCOMPARE(dateien.size(), 1);
        QVERIFY(dateien[0].endsWith("_0001_Lehrer_MarH.pdf"));
        const Pdfseite s = pdfwoerter("druck/" + dateien[0]);
        QVERIFY2(s.hoehe > s.breite, "hochformat");

        // Layout units to points: the printable area starts at the margin.
        const double rand = nux::kPdfRand / 25.4 * 72;
        const double bpx = (s.breite - 2 * rand) / 72 * nux::kPdfAufloesung;
        const double hpx = (s.hoehe - 2 * rand) / 72 * nux::kPdfAufloesung;
        const auto pt = [&](double px) { return rand + px * 72 / nux::kPdfAufloesung; };
        const auto x = [&](int X) { return pt(nux::pixel(int(bpx), X, nux::kSeitenbreite)); };
        const auto y = [&](int Y) { return pt(nux::pixel(int(hpx), Y, nux::kSeitenhoehe)); };

        struct Erwartet { QString wort; int X, Y; };
        const Erwartet erwartet[] = {
            {"Unterrichtseinsatz", 600, 600}, {"2026-1", 0, 600},   {"Maria", 600, 800},
            {"Gewidmet", 600, 1100},           {"1b", 600, 1300},    {"Teamteaching", 0, 1300},
            {"Summe:", 600, 1600},             {QDate::currentDate().toString("dd.MM.yyyy"), 3500, 400},
        };
        for (const auto& e : erwartet) {
            const auto w = std::find_if(s.woerter.begin(), s.woerter.end(),
                                        [&](const Wort& w) { return w.text == e.wort; });
            QVERIFY2(w != s.woerter.end(), qPrintable(e.wort));
            // The box's top is the font's ascent above the baseline: the text's top.
            if (e.X) QVERIFY2(std::abs(w->x - x(e.X)) < 1.0, qPrintable(e.wort + " x " + QString::number(w->x)));
            QVERIFY2(std::abs(w->y - y(e.Y)) < 1.5, qPrintable(e.wort + " y " + QString::number(w->y)));
        }
    }

    void gesamtdruckGibtQuerseitenInDruckreihenfolge() {
        testhilfe::Programm p;
        nux::gesamtdruck(fenster, schule(12, 40));
        const QStringList dateien = pdfs();
        QCOMPARE(dateien.size(), 4);
        for (int i = 0; i < 4; ++i)
            QVERIFY2(dateien[i].endsWith(QString("_%1_Schule_Seite_%2.pdf").arg(i + 1, 4, 10, QChar('0')).arg(i + 1, 2, 10, QChar('0'))),
                     qPrintable(dateien[i]));
        if (!QStandardPaths::findExecutable("pdftotext").isEmpty()) {
            const Pdfseite s = pdfwoerter("druck/" + dateien[3]);
            QVERIFY2(s.breite > s.hoehe, "querformat");
            // Classes 10 and 11 with rows 35 to 39.
            QStringList texte;
            for (const auto& w : s.woerter) texte << w.text;
            QVERIFY(texte.contains("4b") && texte.contains("4c") && !texte.contains("1a"));
        }
        QVERIFY(hinweis() && hinweis()->isVisible());
        QVERIFY(hinweis()->text().contains(QDir("druck").absolutePath()));
        QVERIFY(hinweis()->text().contains("4 Druckseiten"));
        QTest::mouseClick(hinweis(), Qt::LeftButton);
        QVERIFY(!hinweis()->isVisible());
    }

    void alleLehrerInListenfolgeOhneUeberschreiben() {
        testhilfe::Programm p;
        lehrerschreiben({{"Anna Gruber", "AnnG"}, {"Bernd Ott", "BerO"}});
        const auto d = schule(1, 1, {"AnnG", "BerO", "ZeiZ"});
        nux::druckenalle(fenster, d);
        nux::druckenalle(fenster, d);  // within the same second as a rule
        const QStringList dateien = pdfs();
        QCOMPARE(dateien.size(), 6);
        const QStringList folge = {"AnnG", "BerO", "ZeiZ", "AnnG", "BerO", "ZeiZ"};
        for (int i = 0; i < 6; ++i) QVERIFY2(dateien[i].endsWith("_Lehrer_" + folge[i] + ".pdf"), qPrintable(dateien[i]));
        QCOMPARE(QSet<QString>(dateien.begin(), dateien.end()).size(), 6);
        for (const auto& f : dateien) QVERIFY(QFileInfo("druck/" + f).size() > 500);
    }

    void zuLangesBlattWirdGemeldet() {
        testhilfe::Programm p;
        lehrerschreiben({{"Maria Huber", "MarH"}});
        nux::Druckdaten d = schule(56, 1, {"MarH"});
        for (auto& k : d.zellen) k[0].lehrer = "MarH";
        nux::drucken(fenster, d, 1);
        QCOMPARE(pdfs().size(), 1);
        QVERIFY2(hinweis()->text().contains("die letzten 3 der 56 Unterrichtszeilen und die Summe"), qPrintable(hinweis()->text()));

        d = schule(51, 1, {"MarH"});
        for (auto& k : d.zellen) k[0].lehrer = "MarH";
        nux::drucken(fenster, d, 1);
        QVERIFY2(hinweis()->text().contains("die Summe fehlt"), qPrintable(hinweis()->text()));
    }

    void ohneDruckerWirdAutomatischPdf() {
        // Only where the system has no printer: a test must never print on paper.
        if (nux::druckervorhanden()) QSKIP("das System hat einen Drucker");
        testhilfe::Programm p;
        nux::druckzielsetzen(nux::Druckziel::automatisch);
        nux::gesamtdruck(fenster, schule(1, 1));
        QCOMPARE(pdfs().size(), 1);
        QVERIFY(hinweis()->text().startsWith("Kein Drucker vorhanden"));
    }

    void druckerfehlerBrichtAbGedruckteSeitenBleiben() {
        testhilfe::Programm p;
        nux::druckfehlerSetzen(3);
        const auto d = schule(12, 40);
        nux::sicher([&] { nux::gesamtdruck(fenster, d); });
        QCOMPARE(nux::fehlerliste().size(), 1);
        QVERIFY(nux::fehlerliste()[0].contains("kann nicht geschrieben werden"));
        const QStringList dateien = pdfs();
        QCOMPARE(dateien.size(), 2);
        QVERIFY(dateien[1].endsWith("Seite_02.pdf"));
        QVERIFY(QDir("druck").entryList(QDir::Files).size() == 2);  // no empty file of page 3
        QVERIFY(hinweis()->text().contains("2 Druckseiten"));
    }

    void druckOrdnerNichtAnlegbarUndFalscheZeile() {
        testhilfe::Programm p;
        QFile f("druck");
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        QVERIFY_THROWS_EXCEPTION(nux::Dateifehler, nux::gesamtdruck(fenster, schule(1, 1)));
        QVERIFY(QFileInfo("druck").isFile());
        QVERIFY(!hinweis());

        QFile::remove("druck");
        lehrerschreiben({{"Anna Gruber", "AnnG"}});
        QVERIFY_THROWS_EXCEPTION(nux::Dateifehler, nux::drucken(fenster, schule(1, 1), 4));
        QVERIFY(pdfs().isEmpty());
    }
};

QTEST_MAIN(DruckenTest)
#include "drucken_test.moc"
