// A school year's classes and assignments typed into the real windows through the menu, from
// the unlocked menu to the printouts: what one window writes, the next one must show. Each
// window is tested on its own elsewhere (typing a teacher among them), the random walk checks
// the invariants between them after every step; what stays here is the typed data arriving
// on paper.

#include "assignment/kern/verteilung.h"
#include "testhilfe.h"

using testhilfe::teil;

namespace {

void klicken(QWidget* w) {
    QTest::mouseClick(w, Qt::LeftButton);
    testhilfe::warten();
}

void zeile(QWidget* fenster, const QString& anfang, Qt::KeyboardModifiers tasten = {}) {
    auto* l = teil<QListWidget>(fenster, "ListBox1");
    testhilfe::zeileklicken(l, l->row(l->findItems(anfang, Qt::MatchStartsWith).value(0)), tasten);
}

// The lines of a PDF as its layout puts them, words separated by single spaces.
QStringList pdfzeilen(const QString& datei) {
    QProcess p;
    p.start("pdftotext", {"-layout", "-enc", "UTF-8", QString::fromLatin1(nux::kDruckordner) + "/" + datei, "-"});
    p.waitForFinished(30000);
    QStringList r = QString::fromUtf8(p.readAllStandardOutput()).split('\n');
    for (QString& z : r) z = z.simplified();
    r.removeAll(QString());
    return r.mid(1);  // without the date line
}

}  // namespace

class AblaufTest : public QObject {
    Q_OBJECT

private slots:
    void schuljahr() {
        if (QStandardPaths::findExecutable("pdftotext").isEmpty()) QSKIP("pdftotext fehlt (poppler-utils)");
        nux::druckzielsetzen(nux::Druckziel::pdf);
        testhilfe::Programm programm;
        testhilfe::jahranlegen();
        const auto menue = [](const char* knopf) { klicken(teil<QPushButton>(menuform, knopf)); };
        testhilfe::entsperren();
        nux::neuschreiben<nux::Fachsatz>("2026 1/faecher", {{"Deutsch", "D", 0}, {"Mathematik", "M", 1}, {"Englisch", "E", 2},
                                                            {"Musik", "Mu", 3, false}});
        nux::neuschreiben<nux::Lehrersatz>("2026 1/lehrer", {{"Maria Huber", "MarH", 225}, {"Anton Berger", "AntB", 100}});

        // The classes out of order; per class the rows D, M, E, each closed by "ok".
        menue("Button2");
        for (const QString& e : {"Edit1=2a", "Edit2=5", "ok", "Edit2=4,5", "ok", "Edit2=3", "ok",
                                 "Edit1=1a", "Edit2=4", "Edit3=1.5", "ok", "Edit2=5", "Edit5=Förderkurs", "ok", "Edit2=3", "ok",
                                 "Edit1=1b", "Edit2=4", "ok", "Edit2=5", "ok", "Edit2=3,5", "ok"}) {
            const QString feld = e.section('=', 0, 0);
            if (e == "ok") klicken(teil<QPushButton>(klassenfenster, "Button3"));
            else testhilfe::ueberschreiben(teil<QLineEdit>(klassenfenster, qPrintable(feld)), e.section('=', 1));
            if (feld == "Edit1") {
                QTest::keyClick(teil<QLineEdit>(klassenfenster, "Edit1"), Qt::Key_Return);
                testhilfe::zeileklicken(teil<QListWidget>(klassenfenster, "ListBox2"), 0);
            }
        }

        // The grid rows: D, D (slot 2, only 1a), M, E; Musik is not taught.
        menue("Button1");
        const auto zuteilen = [](const char* kurz, std::initializer_list<std::pair<int, int>> zellen) {
            zeile(verteilfenster, kurz);
            for (const auto& [c, r] : zellen)
                QTest::mouseClick(teil<QScrollArea>(verteilfenster, "ScrollBox1")->widget(), Qt::LeftButton, {},
                                  QPoint(nux::raster::lehrerX(c) + 20, nux::raster::zeileY(r) + 6));
        };
        zuteilen("MarH", {{0, 0}, {1, 0}, {0, 2}, {1, 2}, {2, 2}});
        zuteilen("AntB", {{0, 1}, {0, 3}, {2, 0}});
        klicken(teil<QPushButton>(verteilfenster, "Button1"));
        zeile(verteilfenster, "MarH", Qt::AltModifier);
        zeile(verteilfenster, "AntB", Qt::ControlModifier);
        const QStringList pdf = QDir(QString::fromLatin1(nux::kDruckordner)).entryList({"*.pdf"}, QDir::Files, QDir::Name);
        QCOMPARE(pdf.size(), 2);
        QCOMPARE(pdfzeilen(pdf[0]), QStringList({"Unterrichtseinsatz 2026-1", "Maria Huber", "Gewidmet von der Bergland Schulkreis BSK",
                                                 "1a D 4,0", "1a M 5,0 Förderkurs", "1b D 4,0", "1b M 5,0", "2a M 4,5", "Summe: 22,5"}));
        QCOMPARE(pdfzeilen(pdf[1]), QStringList({"Unterrichtseinsatz 2026-1", "1a 1b 2a", "D 4,0 MarH 4,0 MarH 5,0 AntB", "D 1,5 AntB",
                                                 "M 5,0 MarH 5,0 MarH 4,5 MarH", "E 3,0 AntB 3,5 -- 3,0 --"}));
        QCOMPARE(nux::fehlerliste(), QStringList());
    }
};

QTEST_MAIN(AblaufTest)
#include "ablauf_test.moc"
