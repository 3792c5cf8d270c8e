
#include "assignment/kern/drucklayout.h"
#include "testhilfe.h"

namespace {

// k classes and z rows, every lesson 1,0 hours taught by the first of the
// given short names (or by nobody), which are written as teachers too.
nux::Druckdaten schule(int k, int z, const std::vector<std::string>& kurz = {}) {
    testhilfe::jahranlegen();
    nux::Druckdaten d{"2026 1", {}, {}, {}, {nux::linksbuendig("----", 200) + "-1"}};
    std::vector<nux::Lehrersatz> lehrer;
    for (std::size_t i = 0; i < kurz.size(); ++i) {
        d.verfuegbar.push_back(nux::linksbuendig(nux::linksbuendig(kurz[i], 5) + "22,0  22,0", 200) + std::to_string(i));
        lehrer.push_back({"Maria " + kurz[i], kurz[i], 220});
    }
    nux::neuschreiben("2026 1/lehrer", lehrer);
    d.verfuegbar.insert(d.verfuegbar.end(), {" ", "Summe   22,0"});
    for (int c = 0; c < k; ++c) d.klassen.push_back(std::to_string(c / 3 + 1) + char('a' + c % 3));
    for (int r = 0; r < z; ++r) d.zeilen.push_back(r % 2 ? "M" : "D");
    d.zellen.assign(k, std::vector<nux::Druckzelle>(z, {" 1,0", kurz.empty() ? "--" : kurz[0], true, ""}));
    return d;
}

QStringList pdfs() { return QDir("druck").entryList({"*.pdf"}, QDir::Files, QDir::Name); }

}  // namespace

class DruckenTest : public QObject {
    Q_OBJECT

    QWidget* fenster = nullptr;
    QString hinweis() {
        auto* l = fenster->findChild<QLabel*>(nux::kDruckhinweis);
        return l && l->isVisible() ? l->text() : QString();
    }
    // Follows every link of the notice; what the desktop was asked to open.
    QStringList oeffnen() {
        static QStringList geoeffnet;
        geoeffnet.clear();
        nux::oeffnersetzen([](const QString& pfad) { geoeffnet << pfad; return true; });
        auto* l = fenster->findChild<QLabel*>(nux::kDruckhinweis);
        for (const auto& m : QRegularExpression(R"re(<a href="(\w+)">)re").globalMatch(l->text()))
            emit l->linkActivated(m.captured(1));
        nux::oeffnersetzen(nullptr);
        return geoeffnet;
    }

private slots:
    void init() {
        nux::druckzielsetzen(nux::Druckziel::pdf);
        nux::druckfehlerSetzen(0);
        fenster = new QWidget;
        fenster->show();
    }
    void cleanup() { delete fenster; }

    void lehrerblattStehtAlsPdfWoDasLayoutEsHinstellt() {
        if (QStandardPaths::findExecutable("pdftotext").isEmpty()) QSKIP("pdftotext fehlt (poppler-utils)");
        testhilfe::Programm p;
        nux::Druckdaten d = schule(2, 2, {"MarH"});
        for (auto& k : d.zellen) k = {{" 1,0", "--", true, ""}, {" 1,0", "--", true, ""}};
        d.zellen[1][1] = {"22,5", "MarH", true, "Teamteaching"};
        nux::drucken(fenster, d, 1);
        QCOMPARE(pdfs().size(), 1);
        QVERIFY(pdfs()[0].endsWith("_0001_Lehrer_MarH.pdf"));
        const QString ordner = QDir("druck").absolutePath();
        QCOMPARE(oeffnen(), QStringList({ordner + "/" + pdfs()[0], ordner}));

        QProcess pdftotext;
        pdftotext.start("pdftotext", {"-bbox", "-f", "1", "-l", "1", "druck/" + pdfs()[0], "-"});
        pdftotext.waitForFinished(30000);
        const QString html = QString::fromUtf8(pdftotext.readAllStandardOutput());
        const auto seite = QRegularExpression(R"re(<page width="([\d.]+)" height="([\d.]+)")re").match(html);
        const double breite = seite.captured(1).toDouble(), hoehe = seite.captured(2).toDouble();
        QVERIFY2(hoehe > breite, "hochformat");
        // Layout units to points: the printable area starts at the margin.
        const double rand = nux::kPdfRand / 25.4 * 72;
        const auto pt = [&](double seite, int einheiten, int teiler) {
            const int px = nux::pixel(int((seite - 2 * rand) / 72 * nux::kPdfAufloesung), einheiten, teiler);
            return rand + px * 72.0 / nux::kPdfAufloesung;
        };
        struct Erwartet { QString wort; int X, Y; };
        // Where each word stands on the sheet is the layout's to check; here the
        // units must become points on both axes.
        const Erwartet erwartet[] = {
            {"Unterrichtseinsatz", 600, 600}, {"Teamteaching", 0, 1300}, {QDate::currentDate().toString("dd.MM.yyyy"), 3500, 400}};
        for (const auto& e : erwartet) {
            // The box's top is the font's ascent above the baseline: the text's top.
            const auto m = QRegularExpression(R"re(<word xMin="([\d.]+)" yMin="([\d.]+)"[^>]*>)re" +
                                              QRegularExpression::escape(e.wort) + "</word>").match(html);
            QVERIFY2(m.hasMatch(), qPrintable(e.wort));
            if (e.X) QVERIFY2(std::abs(m.captured(1).toDouble() - pt(breite, e.X, nux::kSeitenbreite)) < 1.0, qPrintable(e.wort));
            QVERIFY2(std::abs(m.captured(2).toDouble() - pt(hoehe, e.Y, nux::kSeitenhoehe)) < 1.5, qPrintable(e.wort));
        }
    }

    void dateienSortierenInDruckfolgeOhneUeberschreiben() {
        testhilfe::Programm p;
        nux::gesamtdruck(fenster, schule(12, 40));
        QVERIFY(hinweis().contains(QDir("druck").absolutePath()) && hinweis().contains("4 Druckseiten"));
        QCOMPARE(oeffnen(), QStringList{QDir("druck").absolutePath()});  // several pages: only their folder
        QTest::mouseClick(fenster->findChild<QLabel*>(nux::kDruckhinweis), Qt::LeftButton);
        QVERIFY(hinweis().isEmpty());
        const auto d = schule(1, 1, {"AnnG", "BerO", "ZeiZ"});
        nux::druckenalle(fenster, d);
        nux::druckenalle(fenster, d);  // within the same second as a rule
        const QStringList folge = {"Schule_Seite_01", "Schule_Seite_02", "Schule_Seite_03", "Schule_Seite_04",
                                   "Lehrer_AnnG", "Lehrer_BerO", "Lehrer_ZeiZ", "Lehrer_AnnG", "Lehrer_BerO", "Lehrer_ZeiZ"};
        QCOMPARE(pdfs().size(), folge.size());
        for (int i = 0; i < folge.size(); ++i)
            QVERIFY2(pdfs()[i].endsWith("_" + folge[i] + ".pdf"), qPrintable(pdfs()[i]));
    }

    void zuLangesBlattWirdGemeldet() {
        testhilfe::Programm p;
        nux::drucken(fenster, schule(56, 1, {"MarH"}), 1);
        QVERIFY2(hinweis().contains("die letzten 3 der 56 Unterrichtszeilen und die Summe"), qPrintable(hinweis()));
        nux::drucken(fenster, schule(51, 1, {"MarH"}), 1);
        QVERIFY2(hinweis().contains("die Summe fehlt"), qPrintable(hinweis()));
    }

    void ohneDruckerWirdAutomatischPdf() {
        // Only where the system has no printer: a test must never print on paper.
        if (nux::druckervorhanden()) QSKIP("das System hat einen Drucker");
        testhilfe::Programm p;
        nux::druckzielsetzen(nux::Druckziel::automatisch);
        nux::gesamtdruck(fenster, schule(1, 1));
        QCOMPARE(pdfs().size(), 1);
        QVERIFY(hinweis().startsWith("Kein Drucker vorhanden"));
    }

    void druckerfehlerBrichtAbGedruckteSeitenBleiben() {
        testhilfe::Programm p;
        nux::druckfehlerSetzen(3);
        const auto d = schule(12, 40);
        nux::sicher([&] { nux::gesamtdruck(fenster, d); });
        QVERIFY(nux::fehlerliste().size() == 1 && nux::fehlerliste()[0].contains("kann nicht geschrieben werden"));
        QCOMPARE(QDir("druck").entryList(QDir::Files).size(), 2);  // no empty file of page 3
        QVERIFY(hinweis().contains("2 Druckseiten"));
    }
};

QTEST_MAIN(DruckenTest)
#include "drucken_test.moc"
