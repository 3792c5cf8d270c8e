// Printing through a real CUPS server, as a school prints every day: the
// default printer without a dialog, reached by the ordinary gestures of the
// assignment window. scripts/cups-test.sh starts the server with a PDF queue
// as default printer and names the folder where the queue writes.

#include <QPrinter>

#include "assignment/kern/drucklayout.h"
#include "testhilfe.h"

namespace {

QString ausgabe() { return qEnvironmentVariable("NUX_CUPS_AUSGABE"); }

QStringList pdfs() { return QDir(ausgabe()).entryList({"*.pdf"}, QDir::Files, QDir::Name); }

QString programm(const QString& name, const QStringList& argumente) {
    QProcess p;
    p.start(name, argumente);
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The queue writes its file after the job has passed the filters: waits
// until the files are there and the server has no job left.
bool fertig(int dateien) {
    QDeadlineTimer frist(120000);
    while (!frist.hasExpired()) {
        if (pdfs().size() >= dateien && programm("lpstat", {"-W", "not-completed", "-o"}).trimmed().isEmpty())
            return true;
        QTest::qWait(200);
    }
    return false;
}

// A word's box on the paper, in points from the top-left corner.
std::optional<QRectF> kasten(const QString& html, const QString& text) {
    const auto m = QRegularExpression(R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">)re" +
                                      QRegularExpression::escape(text) + "</word>")
                       .match(html);
    if (!m.hasMatch()) return std::nullopt;
    const auto zahl = [&](int i) { return m.captured(i).toDouble(); };
    return QRectF(QPointF(zahl(1), zahl(2)), QPointF(zahl(3), zahl(4)));
}

}  // namespace

class CupsDruck : public QObject {
    Q_OBJECT

    // Checks a document the queue wrote: one page, its orientation, and the
    // words where the layout puts them on the printable area of the queue.
    void pruefen(const QString& datei, QPageLayout::Orientation lage,
                 const std::vector<std::tuple<QString, int, int>>& woerter) {
        const QString info = programm("pdfinfo", {datei});
        QVERIFY2(info.contains(QRegularExpression(R"(Pages:\s+1\n)")), qPrintable(info));
        const QString html = programm("pdftotext", {"-bbox", datei, "-"});
        const auto seite = QRegularExpression(R"re(<page width="([\d.]+)" height="([\d.]+)")re").match(html);
        const double breite = seite.captured(1).toDouble(), hoehe = seite.captured(2).toDouble();
        // Printers turn a landscape page onto portrait paper: then its text
        // runs up the paper, and the check turns it back.
        const bool gedreht = lage == QPageLayout::Landscape && hoehe > breite;
        const auto titel = kasten(html, "Unterrichtseinsatz");
        QVERIFY(titel);
        QCOMPARE(titel->height() > titel->width(), gedreht);

        // Where the program was told it may print on this printer.
        QPrinter drucker(QPrinter::HighResolution);
        drucker.setPageOrientation(lage);
        const QRectF flaeche = drucker.pageLayout().paintRectPoints();
        const QRect pixel = drucker.pageLayout().paintRectPixels(drucker.resolution());
        const auto pt = [&](double anfang, int laenge, int einheiten, int teiler) {
            return anfang + nux::pixel(laenge, einheiten, teiler) * 72.0 / drucker.resolution();
        };
        for (const auto& [text, X, Y] : woerter) {
            const auto k = kasten(html, text);
            QVERIFY2(k, qPrintable(text + " fehlt in " + datei));
            const struct { double links, oben, hoehe; } w =
                gedreht ? decltype(w){hoehe - k->bottom(), k->left(), k->width()} : decltype(w){k->left(), k->top(), k->height()};
            QVERIFY(std::abs(w.links - pt(flaeche.left(), pixel.width(), X, nux::kSeitenbreite)) < 1.5);
            // The top of a word's box depends on the font the queue embedded
            // anew; a line lies 25 points from the next.
            QVERIFY(std::abs(w.oben - pt(flaeche.top(), pixel.height(), Y, nux::kSeitenhoehe)) < 0.3 * w.hoehe);
        }
    }

private slots:
    void initTestCase() {
        if (ausgabe().isEmpty()) QSKIP("kein CUPS-Server des Tests (scripts/cups-test.sh startet ihn)");
    }

    void lehrerblattUndSchuleUeberDenStandarddrucker() {
        testhilfe::Programm p;
        QVERIFY2(nux::druckervorhanden(), "der Drucker des Testservers fehlt");
        testhilfe::kleineschule();
        testhilfe::zeigen(verteilfenster);

        auto* liste = testhilfe::teil<QListWidget>(verteilfenster, "ListBox1");
        testhilfe::zeileklicken(liste, 2, Qt::AltModifier);  // the sheet of Ra
        QVERIFY(fertig(1));
        testhilfe::zeileklicken(liste, 2, Qt::ControlModifier);  // the whole school
        QVERIFY(fertig(2));
        QVERIFY2(nux::fehlerliste().isEmpty(), qPrintable(nux::fehlerliste().join("; ")));
        QVERIFY2(!QDir(nux::kDruckordner).exists(), "auf PDF ausgewichen statt zu drucken");
        QCOMPARE(pdfs().size(), 2);

        const QString datum = QDate::currentDate().toString("dd.MM.yyyy");
        pruefen(ausgabe() + "/" + pdfs()[0], QPageLayout::Portrait,
                {{"Unterrichtseinsatz", 600, 600}, {"Rudi", 600, 800}, {"1b", 600, 1300}, {datum, 3500, 400}});
        pruefen(ausgabe() + "/" + pdfs()[1], QPageLayout::Landscape,
                {{"Unterrichtseinsatz", 1600, 400}, {datum, 4400, 200}});
    }
};

QTEST_MAIN(CupsDruck)
#include "cupsdruck.moc"
