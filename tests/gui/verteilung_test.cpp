#include "assignment/excel.h"
#include "assignment/kern/drucklayout.h"
#include "assignment/kern/excel.h"
#include "storage/planung.h"

#include <QtCharts>
#include "testhilfe.h"

// The assignment window, and what it prints and exports.
namespace {

// testhilfe's small school, shown.
void schule() {
    testhilfe::kleineschule();
    testhilfe::zeigen(verteilfenster);
}

template <class T = QWidget> T* teil(const char* name) { return verteilfenster->findChild<T*>(name); }
QListWidget* liste() { return teil<QListWidget>("ListBox1"); }
QString zeile(int p) { return liste()->item(p)->text(); }
int balken() { return teil<QProgressBar>("ProgressBar1")->value(); }
QWidget* gitter() { return teil<QScrollArea>("ScrollBox1")->widget(); }
// The two teacher lines and the progress bar.
QString stand() { return zeile(1).left(15) + "|" + zeile(2).left(15) + "|" + QString::number(balken()); }
std::string lehrer(int c, int r) { return verteilfenster->modell().zelle(c, r).lehrer; }

void waehlen(int p, Qt::KeyboardModifiers tasten = {}, Qt::MouseButton knopf = Qt::LeftButton) {
    QTest::mouseClick(liste()->viewport(), knopf, tasten, testhilfe::mitte(liste(), p));
}

// Clicks at the pixel place of a teacher or hours cell.
QPoint lehrerpunkt(int c, int r) { return QPoint(65 + 75 * c + 20, 20 + 12 * r + 6); }
void lehrerzelle(int c, int r) { QTest::mouseClick(gitter(), Qt::LeftButton, {}, lehrerpunkt(c, r)); }
// The small school with the menu unlocked on its year; D 1a given to AnnA, not saved.
void zugeteilt() {
    testhilfe::kleineschule();
    nux::jahraktschreiben("2026 1");
    testhilfe::entsperren();
    testhilfe::zeigen(verteilfenster);
    waehlen(1), lehrerzelle(0, 0);
}
void stundenzelle(int c, int r) { QTest::mouseClick(gitter(), Qt::LeftButton, {}, QPoint(35 + 75 * c + 10, 20 + 12 * r + 6)); }

// What a double click delivers: press, release, double click, release.
void doppelklick(QWidget* w, QPoint p, Qt::KeyboardModifiers tasten = {}) {
    QTest::mousePress(w, Qt::LeftButton, tasten, p);
    QTest::mouseRelease(w, Qt::LeftButton, tasten, p);
    QTest::mouseDClick(w, Qt::LeftButton, tasten, p);
    QTest::mouseRelease(w, Qt::LeftButton, tasten, p);
}

// k classes and z rows, every lesson 1,0 hours taught by the first of the
// given short names (or by nobody), which are written as teachers too.
nux::Druckdaten druckdaten(int k, int z, const std::vector<std::string>& kurz = {}) {
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

// What an independent reader finds in the workbook: per sheet every cell
// with a value as [kind, value, number format], formulas with their stored
// result, and the comments; the view's settings (frozen corner, filter)
// carry no data.
const char* const kLeser = R"(
import json, sys, openpyxl
formeln = openpyxl.load_workbook(sys.argv[1])
werte = openpyxl.load_workbook(sys.argv[1], data_only=True)
aus = {}
for blatt in formeln.worksheets:
    zellen, notizen = {}, {}
    for zeile in blatt.iter_rows():
        for z in zeile:
            if z.comment: notizen[z.coordinate] = z.comment.text
            if z.value is None or z.row == 2: continue
            if isinstance(z.value, str) and z.value.startswith('='):
                zellen[z.coordinate] = ['f', z.value[1:], werte[blatt.title][z.coordinate].value]
            elif isinstance(z.value, str):
                zellen[z.coordinate] = ['s', z.value]
            else:
                zellen[z.coordinate] = ['n', float(z.value), z.number_format]
    aus[blatt.title] = {'zellen': zellen, 'notizen': notizen, 'stand': blatt['A2'].value}
print(json.dumps(aus))
)";

QJsonObject lesen(const QString& datei) {
    QProcess python;
    const QString programm = QFile::exists("/usr/bin/python3") ? QStringLiteral("/usr/bin/python3") : QStringLiteral("python3");
    python.start(programm, {QStringLiteral("-c"), QString::fromUtf8(kLeser), datei});
    python.waitForFinished(60000);  // a reader that fails leaves nothing to compare
    return QJsonDocument::fromJson(python.readAllStandardOutput()).object();
}

// A control character cannot stand in XML: the writer puts a space.
QString lesbar(const std::string& text) {
    QString t = nux::qs(text);
    for (QChar& ch : t)
        if (ch.unicode() < 0x20 && ch != QLatin1Char('\n')) ch = QLatin1Char(' ');
    return t;
}

// The same, as the core's workbook says it must be.
QJsonObject erwartet(const nux::Mappe& m) {
    QJsonObject aus;
    for (const auto& b : m.blaetter) {
        QJsonObject zellen, notizen;
        for (std::size_t r = 0; r < b.zeilen.size(); ++r)
            for (std::size_t c = 0; c < b.zeilen[r].size() && r != 1; ++c) {
                const auto& z = b.zeilen[r][c];
                const QString name = QString::fromStdString(nux::zellname(int(r), int(c)));
                using A = nux::Mappenzelle::Art;
                if (!z.notiz.empty()) notizen[name] = lesbar(z.notiz);
                if (z.art == A::text && !z.text.empty()) zellen[name] = QJsonArray{"s", lesbar(z.text)};
                if (z.art == A::stunden) zellen[name] = QJsonArray{"n", z.wert / 10.0, "0.0"};
                if (z.art == A::zahl) zellen[name] = QJsonArray{"n", double(z.wert), "General"};
                if (z.art == A::formel) zellen[name] = QJsonArray{"f", QString::fromStdString(z.text), z.wert / 10.0};
            }
        aus[nux::qs(b.name)] = QJsonObject{
            {"zellen", zellen},
            {"notizen", notizen},
            {"stand", nux::qs(b.zeilen[1][0].text)}};
    }
    return aus;
}

QString zustand(const QJsonObject& mappe) { return mappe["Klassen"].toObject()["stand"].toString(); }

QStringList dateienIn(const QString& ordner) {
    return QDir(ordner).entryList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

}  // namespace

class VerteilungTest : public QObject {
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
    // Printouts are PDF files in a test, never paper; a test that prints shows the window.
    void init() {
        nux::druckzielsetzen(nux::Druckziel::pdf);
        nux::druckfehlerSetzen(0);
        fenster = new QWidget;
    }
    void cleanup() { delete fenster; }

    void klickenTraegtEinErsetztNimmtZurueckUndSpeichert() {
        testhilfe::Programm p;
        schule();
        const auto& m = verteilfenster->modell();
        const auto jetzt = [&] { return stand() + QString::fromStdString("|" + lehrer(0, 0) + (m.zelle(0, 0).gruen ? "+" : "") + lehrer(1, 1)); };
        const QString geladen = jetzt();
        QCOMPARE(geladen, QString("AnnA 22,0  22,0|Ra   10,0   7,0|30|--Ra"));
        QCOMPARE(zeile(4) + teil<QLabel>("Label4")->text(), QString("Summe   32,0   11,5"));
        QCOMPARE(teil<QProgressBar>("ProgressBar1")->maximum(), 115);
        waehlen(1);  // AnnA
        lehrerzelle(1, 1);  // M 1b held by Ra: replaced, the sum stays
        const QString ersetzt = jetzt();
        QCOMPARE(ersetzt, QString("AnnA 22,0  19,0|Ra   10,0  10,0|30|--AnnA"));
        lehrerzelle(0, 0);  // D 1a, 2,0
        const QString beide = jetzt();
        QCOMPARE(beide, QString("AnnA 22,0  17,0|Ra   10,0  10,0|50|AnnA+AnnA"));
        // Ctrl+Z, Ctrl+Y and Ctrl+Shift+Z wherever the focus is; a beep when nothing is left.
        const int piepse = nux::piepszahl();
        struct Taste { QWidget* w; Qt::Key k; Qt::KeyboardModifiers mit; QString danach; };
        const Taste tasten[] = {{liste(), Qt::Key_Z, Qt::ControlModifier, ersetzt}, {gitter(), Qt::Key_Z, Qt::ControlModifier, geladen},
                                {gitter(), Qt::Key_Z, Qt::ControlModifier, geladen}, {liste(), Qt::Key_Y, Qt::ControlModifier, ersetzt},
                                {teil("Button1"), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier, beide},
                                {liste(), Qt::Key_Z, Qt::ControlModifier, ersetzt}};
        for (const Taste& t : tasten) {
            t.w->setFocus();
            QTest::keyClick(t.w, t.k, t.mit);
            QCOMPARE(jetzt(), t.danach);
        }
        QCOMPARE(nux::piepszahl(), piepse + 1);
        waehlen(2);
        lehrerzelle(0, 1);  // M 1a, 4,5
        lehrerzelle(0, 0);
        lehrerzelle(0, 0);  // again: removed
        // Between cells and on a row label nothing happens.
        QTest::mouseClick(gitter(), Qt::LeftButton, {}, QPoint(10, 26));
        QTest::mouseClick(gitter(), Qt::LeftButton, {}, QPoint(107, 26));
        QCOMPARE(stand(), QString("AnnA 22,0  19,0|Ra   10,0   5,5|75"));
        // With the blank or the sum line selected by keyboard a click enters nothing.
        for (int z : {3, 4}) {
            liste()->setCurrentRow(z);
            lehrerzelle(0, 0);
            QCOMPARE(lehrer(0, 0), std::string("--"));
        }
        teil<QPushButton>("Button1")->click();
        QVERIFY(nux::fehlerliste().isEmpty() && !verteilfenster->ungespeichert());
        // Behind the saved state the grid is unsaved again; back at it, a reload asks nothing.
        QTest::keyClick(liste(), Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(verteilfenster->ungespeichert());
        QTest::keyClick(liste(), Qt::Key_Y, Qt::ControlModifier);
        testhilfe::zeigen(verteilfenster);
        QCOMPARE(verteilfenster->verlauf()->count(), 0);
    }

    void hervorhebenUndZusatztext() {
        testhilfe::Programm p;
        schule();
        const auto& m = verteilfenster->modell();
        waehlen(2);  // Ra
        QVERIFY(m.zelle(1, 1).gruen);
        const QImage bild = gitter()->grab(QRect(65 + 75, 32, 40, 12)).toImage();  // painted at its place
        bool gruen = false;
        for (int i = 0; i < 40 * 12; ++i) gruen = gruen || bild.pixelColor(i % 40, i / 40) == QColor(0, 255, 0);
        QVERIFY(gruen);
        // Delete line, by double click: every cell black, the line stays selected.
        doppelklick(liste()->viewport(), testhilfe::mitte(liste(), 0));
        QVERIFY(!m.zelle(1, 1).gruen);
        QCOMPARE(liste()->selectedItems().value(0), liste()->item(0));
        waehlen(3);  // the blank line is never selected
        QVERIFY(liste()->selectedItems().isEmpty());
        // A double click on a teacher cell is one click: entered, not entered and taken off again.
        waehlen(1);  // AnnA
        doppelklick(gitter(), lehrerpunkt(0, 0));
        doppelklick(gitter(), lehrerpunkt(1, 1));  // held by Ra: replaced
        QCOMPARE(stand(), QString("AnnA 22,0  17,0|Ra   10,0  10,0|50"));
    }

    void notizHilfeUndKlassenstunden() {
        testhilfe::Programm p;
        QList<int> schritte;
        connect(teil<QProgressBar>("ProgressBar2"), &QProgressBar::valueChanged, this, [&](int v) { schritte << v; });
        schule();
        QCOMPARE(schritte, (QList<int>{0, 1, 2}));  // the loading bar steps once per class
        QWidget* notiz = teil("Panel1");
        stundenzelle(0, 0);  // black: no extra text
        QVERIFY(!notiz->isVisible());
        for (int c : {0, 1}) {  // blue, in the first and the last class of a small school
            stundenzelle(c, 1);
            QCOMPARE(teil<QLabel>("Label3")->text(), QString(c ? "Gruppe" : "  Kurs € 5\u0001x  "));
            QCOMPARE(notiz->geometry(), QRect(35 + 75 * c + 100, 32, 313, 33));
            QCOMPARE(notiz->visibleRegion().boundingRect(), notiz->rect());
        }
        // Another program taking the front is no exit; a field of the window is.
        for (const auto& [grund, bleibt] : {std::pair{Qt::ActiveWindowFocusReason, true}, {Qt::TabFocusReason, false}}) {
            QFocusEvent weg(QEvent::FocusOut, grund);
            QApplication::sendEvent(notiz, &weg);
            QCOMPARE(notiz->isVisible(), bleibt);
        }
        // The help and the class hours open and close on their own.
        QTest::mouseClick(teil("Button2"), Qt::LeftButton);
        QVERIFY(teil("Panel2")->isVisible());
        QTest::mouseClick(teil("Memo2"), Qt::LeftButton);
        QVERIFY(!teil("Panel2")->isVisible());
        QTest::mouseClick(teil("Label1"), Qt::LeftButton);
        auto* stunden = teil<QListWidget>("ListBox3");
        QCOMPARE(stunden->item(stunden->count() - 1)->text(), QString("Ges.   11,5"));
        QTest::mouseClick(stunden->viewport(), Qt::LeftButton);  // the list does not close the panel
        QVERIFY(teil("Panel5")->isVisible());
        QTest::mouseClick(teil("Panel5"), Qt::LeftButton, {}, QPoint(5, 540));
        QVERIFY(!teil("Panel5")->isVisible());
    }

    void fehlendeDateienFuehrenZumEditor() {
        const struct { std::vector<const char*> fehlt; const char* hinweis; int piepse; const char* vorn; } faelle[] = {
            {{"klassen", "lehrer"}, "keine LehrerInnen angelegt", 4, "Tlehrerfenster"},  // two hints, the last editor in front
            {{"faecher"}, "keine Fächer angelegt", 2, "Tfaecherfenster"},
            {{"klassen"}, "keine Klassen angelegt", 2, "Tklassenfenster"},
        };
        for (const auto& f : faelle) {
            testhilfe::Programm p;
            testhilfe::kleineschule();
            for (const char* datei : f.fehlt) std::filesystem::remove(nux::jahrdatei(datei));
            const int vorher = nux::piepszahl();
            testhilfe::zeigen(verteilfenster);
            QCOMPARE(teil<QLabel>("Label6")->text(), QString(f.hinweis));
            QCOMPARE(nux::piepszahl() - vorher, f.piepse);
            QCOMPARE(nux::Fenster::aktivesFenster()->objectName(), QString(f.vorn));
            QVERIFY(teil("Panel3")->isVisible() && !teil("Panel4")->isVisible());
            teil<QPushButton>("Button1")->click();  // nothing loaded, nothing written
            QCOMPARE(nux::fehlerliste(), QStringList());
        }
    }

    void druckgestenDerListe() {
        // A right or middle press selects nothing and acts on the line selected before.
        // A double click prints what its first press printed, once.
        const struct { int vorher; Qt::MouseButton knopf; int zeile; Qt::KeyboardModifiers tasten; int dokumente; bool doppelt = false; } faelle[] = {
            {-1, Qt::LeftButton, 2, Qt::AltModifier, 1, true},
            {-1, Qt::LeftButton, 0, Qt::AltModifier | Qt::ControlModifier, 2, true},
            {-1, Qt::LeftButton, 1, Qt::ControlModifier, 1, true},
            {-1, Qt::LeftButton, 2, Qt::AltModifier, 1},                      // one sheet
            {-1, Qt::LeftButton, 0, Qt::AltModifier, 1},                      // delete line: an empty sheet
            {-1, Qt::LeftButton, 0, Qt::AltModifier | Qt::ControlModifier, 2},  // every teacher line
            {-1, Qt::LeftButton, 1, Qt::ControlModifier, 1},                  // the school on one page
            {-1, Qt::LeftButton, 4, Qt::ControlModifier, 0},                  // sum line: nothing
            {-1, Qt::RightButton, 2, Qt::AltModifier, 0},
            {2, Qt::RightButton, 1, Qt::AltModifier, 1},
            {2, Qt::MiddleButton, 4, Qt::ControlModifier, 1},
        };
        for (const auto& f : faelle) {
            testhilfe::Programm p;
            schule();
            if (f.vorher >= 0) waehlen(f.vorher);
            if (f.doppelt)
                doppelklick(liste()->viewport(), testhilfe::mitte(liste(), f.zeile), f.tasten);
            else
                waehlen(f.zeile, f.tasten, f.knopf);
            testhilfe::warten();
            QVERIFY2(nux::fehlerliste().isEmpty(), qPrintable(nux::fehlerliste().join("; ")));
            QCOMPARE(pdfs().size(), f.dokumente);
            if (f.vorher >= 0) QCOMPARE(liste()->currentRow(), f.vorher);
            QCOMPARE(balken(), 30);  // printing changes nothing of the grid
        }
    }

    void groessteSchuleMitGleicherGeometrie() {
        // 101 classes; subjects 50 to 100 with three slots (0 to 49 withdrawn):
        // 153 rows, clickable at the far corner as at the first cell.
        testhilfe::Programm p;
        testhilfe::jahranlegen();
        std::vector<nux::Fachsatz> f;
        for (int s = 0; s < 101; ++s) f.push_back({(s < 50 ? "#F" : "F") + std::to_string(s), "F", s});
        std::vector<nux::Klassensatz> k(101);
        for (auto& ks : k)
            for (int s = 50; s <= 100; ++s)
                for (int j = 1; j <= 3; ++j) ks.h(j, s) = 10;
        nux::neuschreiben(nux::jahrdatei("faecher"), f);
        nux::neuschreiben(nux::jahrdatei("klassen"), k);
        nux::neuschreiben<nux::Lehrersatz>(nux::jahrdatei("lehrer"), {{"Anna Alt", "AnnA", 220}});
        testhilfe::zeigen(verteilfenster);
        QCOMPARE(gitter()->size(), QSize(75 * 101 + 92, 12 * 152 + 60));
        waehlen(1);
        lehrerzelle(100, 152);
        lehrerzelle(0, 0);
        QCOMPARE(lehrer(100, 152) + lehrer(0, 0) + zeile(1).left(15).toStdString(), std::string("AnnAAnnAAnnA 22,0  20,0"));
    }

    // Every way of leaving with unsaved assignments, every answer, against the file.
    void ungespeichertVerlassen_data() {
        QTest::addColumn<QString>("weg");
        QTest::addColumn<int>("antwort");
        // The menu's buttons Klassen, Verteilung and Ende; closing the menu; a new activation.
        for (const char* weg : {"Button2", "Button1", "Button6", "schliessen", "aktivieren"})
            for (int a : {0, 1, 2}) QTest::newRow(qPrintable(QString("%1 %2").arg(weg).arg(a))) << QString(weg) << a;
    }
    void ungespeichertVerlassen() {
        QFETCH(QString, weg);
        QFETCH(int, antwort);
        const auto a = static_cast<nux::Antwort>(antwort);
        testhilfe::Programm p;
        zugeteilt();
        QStringList fragen;
        nux::antworthaken() = [&](const QString& text, bool abbrechbar) {
            fragen << text + (abbrechbar ? "" : " (ohne Abbrechen)");
            return a;
        };
        if (weg.startsWith("Button")) menuform->findChild<QPushButton*>(weg)->click();
        if (weg == "schliessen") menuform->close();
        if (weg == "aktivieren") testhilfe::zeigen(verteilfenster);
        QCOMPARE(fragen, QStringList{"Die Zuordnungen sind noch nicht gespeichert. Jetzt speichern?"});
        QCOMPARE(nux::laden<nux::Klassensatz>(nux::jahrdatei("klassen"))[0].l(1, 0), std::string(a == nux::Antwort::ja ? "AnnA" : ""));
        QVERIFY(nux::fehlerliste().isEmpty());
        const bool bleibt = a == nux::Antwort::abbrechen;
        QCOMPARE(verteilfenster->ungespeichert(), bleibt);
        if (bleibt)  // back in the assignment window as it was, green cell and all
            QVERIFY(nux::Fenster::aktivesFenster() == verteilfenster && verteilfenster->modell().zelle(0, 0).gruen);
        if (weg == "Button2") QCOMPARE(reinterpret_cast<QWidget*>(klassenfenster)->isVisible(), !bleibt);
        if (weg == "Button6" || weg == "schliessen") QCOMPARE(menuform->isVisible(), bleibt);
        // "Nein" takes the grid back to the file, also where it stays on the screen.
        QCOMPARE(lehrer(0, 0), std::string(a == nux::Antwort::nein ? "--" : "AnnA"));
    }

    // Who may teach what shows in the grid, the chart and the bottlenecks,
    // and the described list lines stay as they were.
    void befaehigungenMarkenDiagrammEngpaesse() {
        testhilfe::Programm p;
        testhilfe::kleineschule();
        nux::Befaehigungen b;
        b.setzen("AnnA", "D", nux::Stufe::wunsch);
        b.setzen("Ra", "D", nux::Stufe::befaehigt);
        nux::befaehigungenspeichern("2026 1", b);
        testhilfe::zeigen(verteilfenster);
        QStringList vorher;
        for (int i = 0; i < liste()->count(); ++i) vorher << zeile(i);
        auto* g = verteilfenster->gitter();
        using M = nux::Marke;
        const auto marken = [&] { return std::vector<M>{g->marke(0, 0), g->marke(0, 1), g->marke(1, 0), g->marke(1, 1)}; };
        QCOMPARE(marken(), (std::vector<M>{M::keine, M::keine, M::keine, M::ohnebefaehigung}));
        QCOMPARE(g->tipp(1, 1), QString("Ra ist für Mathematik nicht als befähigt eingetragen (\"Wer unterrichtet was\")."));
        waehlen(1);  // AnnA: D is her preferred subject, M she does not teach
        QCOMPARE(marken(), (std::vector<M>{M::wunsch, M::keine, M::wunsch, M::ohnebefaehigung}));
        waehlen(2);  // Ra
        QCOMPARE(marken(), (std::vector<M>{M::passt, M::keine, M::passt, M::ohnebefaehigung}));
        for (int i = 0; i < liste()->count(); ++i) QCOMPARE(zeile(i), vorher[i]);

        teil<QPushButton>("Button6")->click();
        QVERIFY(teil("Panel6")->isVisible());
        const auto* engpaesse = teil<QLabel>("Label8");
        QVERIFY2(engpaesse->text().endsWith("Prüfung 2026-1: von 8,5 offenen Stunden lassen sich höchstens 4,0 mit "
                                            "befähigten LehrerInnen besetzen.\n  Mathematik: 4,5 Stunden fehlen, "
                                            "keine befähigte Lehrkraft frei\n"),
                 qPrintable(engpaesse->text()));
        waehlen(1);
        lehrerzelle(0, 1);  // AnnA on M in 1a, not qualified: marked, and the bottleneck is gone
        QCOMPARE(g->marke(0, 1), M::ohnebefaehigung);
        QVERIFY(engpaesse->text().endsWith("alle 4,0 offenen Stunden lassen sich mit befähigten LehrerInnen besetzen.\n"));
        auto* reihe = static_cast<QAbstractBarSeries*>(teil<QChartView>("Chart1")->chart()->series().first());
        QBarSet* zugeordnet = reihe->barSets().at(1);
        QCOMPARE(zugeordnet->sum(), 7.5);
        QTest::keyClick(liste(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(zugeordnet->sum(), 3.0);

        // "Wer unterrichtet was" opens the table of the year over the window.
        QString offen;
        QTimer::singleShot(0, [&] {
            QWidget* d = QApplication::activeModalWidget();
            offen = d ? d->objectName() : QString();
            if (d) d->findChild<QPushButton*>("Button2")->click();
        });
        teil<QPushButton>("Button4")->click();
        QCOMPARE(offen, QString("Tbefaehigungen"));
    }

    // The real boxes, as a user meets them: the answer hook answers at once,
    // while a box runs an event loop of its own in which the platform's
    // activations arrive. One gesture, one box, one answer.
    void eineBoxJeGeste_data() {
        QTest::addColumn<QString>("knopf");
        QTest::addColumn<QString>("antwort");
        for (const char* knopf : {"Button1", "Button2", "Button3", "Button4", "Button5", "Button6", "Button7"})
            for (const char* antwort : {"Ja", "Nein", "Abbrechen"})
                QTest::newRow(qPrintable(QString("%1 %2").arg(knopf, antwort))) << QString(knopf) << QString(antwort);
    }
    void eineBoxJeGeste() {
        QFETCH(QString, knopf);
        QFETCH(QString, antwort);
        testhilfe::Programm p;
        zugeteilt();
        nux::antworthaken() = nullptr;
        QStringList boxen;
        QTimer beantworter;
        connect(&beantworter, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || box->property("beantwortet").toBool()) return;
            box->setProperty("beantwortet", true);
            boxen << box->text();
            for (QAbstractButton* b : box->buttons())
                if (b->text() == antwort) b->click();
        });
        beantworter.start(10);
        menuform->findChild<QPushButton*>(knopf)->click();
        for (int i = 0; i < 20; ++i) QTest::qWait(5);
        beantworter.stop();
        QCOMPARE(boxen, QStringList{"Die Zuordnungen sind noch nicht gespeichert. Jetzt speichern?"});
        QCOMPARE(nux::laden<nux::Klassensatz>(nux::jahrdatei("klassen"))[0].l(1, 0), std::string(antwort == "Ja" ? "AnnA" : ""));
        QCOMPARE(verteilfenster->ungespeichert(), antwort == "Abbrechen");
        const std::map<QString, QWidget*> ziel = {{"Button1", verteilfenster}, {"Button2", klassenfenster},
                                                  {"Button3", lehrerfenster},  {"Button4", codefenster},
                                                  {"Button5", jahrfenster},    {"Button7", faecherfenster}};
        if (antwort == "Abbrechen")
            QVERIFY(nux::Fenster::aktivesFenster() == verteilfenster);
        else if (knopf == "Button6")
            QVERIFY(!menuform->isVisible());
        else
            QVERIFY(nux::Fenster::aktivesFenster() == ziel.at(knopf));
    }

    // Only a grid that differs from the file asks. Where the history no longer
    // reaches the saved state, "Nein" empties the grid, so that no later
    // question or "speichern" brings back what was given up.
    void nurEinAndererStandFragt() {
        testhilfe::Programm p;
        zugeteilt();
        int fragen = 0;
        nux::antworthaken() = [&](const QString&, bool) { ++fragen; return nux::Antwort::nein; };
        lehrerzelle(0, 0);  // set and taken off again
        QVERIFY(!verteilfenster->ungespeichert());
        menuform->findChild<QPushButton*>("Button2")->click();
        QCOMPARE(fragen, 0);
        testhilfe::zeigen(verteilfenster);
        waehlen(1);
        lehrerzelle(0, 0);
        teil<QPushButton>("Button1")->click();
        QTest::keyClick(liste(), Qt::Key_Z, Qt::ControlModifier);
        lehrerzelle(1, 1);  // the saved state is out of the history's reach
        menuform->findChild<QPushButton*>("Button2")->click();
        QVERIFY(fragen == 1 && !verteilfenster->ungespeichert() && verteilfenster->modell().klassenzahl() == 0);
        menuform->findChild<QPushButton*>("Button3")->click();
        QCOMPARE(fragen, 1);
        QCOMPARE(nux::laden<nux::Klassensatz>(nux::jahrdatei("klassen"))[0].l(1, 0), std::string("AnnA"));
    }

    // "Ja" that cannot save keeps the assignments; an end that cannot be
    // stopped asks until they are saved or given up.
    void speichernMisslingtBeimVerlassen() {
        testhilfe::Programm p;
        zugeteilt();
        std::filesystem::remove(nux::jahrdatei("klassen"));
        std::filesystem::create_directories(nux::jahrdatei("klassen") + "/x");
        QString fragen;  // A: with "Abbrechen", J: without
        nux::antworthaken() = [&](const QString&, bool abbrechbar) {
            fragen += abbrechbar ? "A" : "J";
            return fragen.size() < 4 ? nux::Antwort::ja : nux::Antwort::nein;
        };
        menuform->findChild<QPushButton*>("Button6")->click();
        QVERIFY(fragen == "A" && nux::fehlerliste().size() == 1 && menuform->isVisible() && verteilfenster->ungespeichert());
        QMetaObject::invokeMethod(qApp, "aboutToQuit", Qt::DirectConnection);
        QCOMPARE(fragen, QString("AJJJ"));
        QVERIFY(!verteilfenster->ungespeichert());
    }

    // Where each word stands on the paper the CUPS print test checks, through the same painter.
    void lehrerblattAlsPdfImHochformat() {
        if (QStandardPaths::findExecutable("pdftotext").isEmpty()) QSKIP("pdftotext fehlt (poppler-utils)");
        testhilfe::Programm p;
        fenster->show();
        nux::drucken(fenster, druckdaten(2, 2, {"MarH"}), 1);
        QCOMPARE(pdfs().size(), 1);
        QVERIFY(pdfs()[0].endsWith("_0001_Lehrer_MarH.pdf"));
        const QString ordner = QDir("druck").absolutePath();
        QCOMPARE(oeffnen(), QStringList({ordner + "/" + pdfs()[0], ordner}));
        QProcess pdftotext;
        pdftotext.start("pdftotext", {"-bbox", "-f", "1", "-l", "1", "druck/" + pdfs()[0], "-"});
        pdftotext.waitForFinished(30000);
        const auto seite = QRegularExpression(R"re(<page width="([\d.]+)" height="([\d.]+)")re")
                               .match(QString::fromUtf8(pdftotext.readAllStandardOutput()));
        QVERIFY(seite.captured(2).toDouble() > seite.captured(1).toDouble());
    }

    void dateienSortierenInDruckfolgeOhneUeberschreiben() {
        testhilfe::Programm p;
        fenster->show();
        nux::gesamtdruck(fenster, druckdaten(12, 40));
        QVERIFY(hinweis().contains(QDir("druck").absolutePath()) && hinweis().contains("4 Druckseiten"));
        QCOMPARE(oeffnen(), QStringList{QDir("druck").absolutePath()});  // several pages: only their folder
        QTest::mouseClick(fenster->findChild<QLabel*>(nux::kDruckhinweis), Qt::LeftButton);
        QVERIFY(hinweis().isEmpty());
        const auto d = druckdaten(1, 1, {"AnnG", "BerO", "ZeiZ"});
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
        fenster->show();
        nux::drucken(fenster, druckdaten(56, 1, {"MarH"}), 1);
        QVERIFY2(hinweis().contains("die letzten 3 der 56 Unterrichtszeilen und die Summe"), qPrintable(hinweis()));
        nux::drucken(fenster, druckdaten(51, 1, {"MarH"}), 1);
        QVERIFY2(hinweis().contains("die Summe fehlt"), qPrintable(hinweis()));
    }

    void ohneDruckerWirdAutomatischPdf() {
        // Only where the system has no printer: a test must never print on paper.
        if (nux::druckervorhanden()) QSKIP("das System hat einen Drucker");
        testhilfe::Programm p;
        fenster->show();
        nux::druckzielsetzen(nux::Druckziel::automatisch);
        nux::gesamtdruck(fenster, druckdaten(1, 1));
        QCOMPARE(pdfs().size(), 1);
        QVERIFY(hinweis().startsWith("Kein Drucker vorhanden"));
    }

    void druckerfehlerBrichtAbGedruckteSeitenBleiben() {
        testhilfe::Programm p;
        fenster->show();
        nux::druckfehlerSetzen(3);
        const auto d = druckdaten(12, 40);
        nux::sicher([&] { nux::gesamtdruck(fenster, d); });
        QVERIFY(nux::fehlerliste().size() == 1 && nux::fehlerliste()[0].contains("kann nicht geschrieben werden"));
        QCOMPARE(QDir("druck").entryList(QDir::Files).size(), 2);  // no empty file of page 3
        QVERIFY(hinweis().contains("2 Druckseiten"));
    }

    // Ctrl+E and the button write what the window shows, unsaved changes
    // included; a real reader finds exactly the core's workbook.
    void knopfUndStrgESchreibenDenStandDesFensters() {
        testhilfe::Programm p;
        schule();
        nux::jahraktschreiben("2026 1");
        verteilfenster->ListBox1->setCurrentRow(1);  // AnnA
        verteilfenster->lehrerein(0, 0);  // D 1a
        QTest::keyClick(verteilfenster, Qt::Key_E, Qt::ControlModifier);
        QTest::mouseClick(verteilfenster->Button3, Qt::LeftButton);
        QCOMPARE(nux::fehlerliste(), QStringList());
        const QStringList dateien = dateienIn(nux::kExportordner);
        QCOMPARE(dateien.size(), 2);
        for (const QString& d : dateien)
            QVERIFY(QRegularExpression(R"(^\d{4}-\d\d-\d\d_\d\d-\d\d-\d\d_Verteilung_2026-1(_2)?\.xlsx$)").match(d).hasMatch());
        const QString neueste = QStringLiteral("export/") + dateien.last();
        const QJsonObject gelesen = lesen(neueste);
        const QString stand = zustand(gelesen);
        QVERIFY2(stand.startsWith("Stand ") && stand.contains(", Zuordnungen NICHT gespeichert"), qPrintable(stand));
        QCOMPARE(gelesen, erwartet(nux::exportmappe(verteilfenster->modell(), {"2026 1", stand.mid(6, 19).toStdString(), false,
                                                                       &verteilfenster->befaehigungen()})));
        // The euro sign arrives; the control character, which XML cannot
        // carry, becomes a space.
        QCOMPARE(gelesen["Verteilung"].toObject()["notizen"].toObject()["C6"].toString(), QString("  Kurs € 5 x  "));

        auto* hinweis = testhilfe::teil<QLabel>(verteilfenster, nux::kExporthinweis);
        QVERIFY(hinweis->isVisible() && hinweis->text().contains(dateien.last()) && hinweis->text().contains("noch nicht gespeichert"));

        // Saved, the command line writes the year's stored state.
        verteilfenster->Button1Click();
        QCOMPARE(nux::exportbefehl("a.xlsx", {}), 0);
        QVERIFY(zustand(lesen("a.xlsx")).endsWith(", Zuordnungen gespeichert"));
        QCOMPARE(dateienIn("."), QStringList({"2026 1", "a.xlsx", "export", "jahrakt"}));
    }

    // Every failure names its cause in German and leaves no file behind,
    // neither a half workbook nor a temporary one.
    void fehlerLassenKeineHalbeDatei() {
        testhilfe::Programm p;
        schule();
        nux::jahraktschreiben("2026 1");
        // A file where the folder "export" belongs.
        QFile("export").open(QIODevice::WriteOnly);
        QTest::mouseClick(verteilfenster->Button3, Qt::LeftButton);
        QCOMPARE(nux::fehlerliste(),
                 QStringList("Der Ordner export kann nicht angelegt werden: an seiner Stelle steht eine Datei gleichen Namens."));
        QCOMPARE(QFileInfo("export").size(), 0);

        QDir().mkdir("ziel");
        QFile("datei").open(QIODevice::WriteOnly);
        const QStringList vorher = dateienIn(".");
        QCOMPARE(nux::exportbefehl("ziel", {}), 1);
        const struct {
            const char *jahr, *pfad, *weg;
            QString meldung;
        } faelle[] = {
            {"", "ziel", "", "Die Exportdatei ziel kann nicht geschrieben werden: das ist ein Ordner."},
            {"", "datei/x.xlsx", "", "Die Exportdatei datei/x.xlsx kann nicht geschrieben werden: "},
            {"../nux", "x.xlsx", "", "Das Jahr \"../nux\" gibt es in diesem Programmordner nicht."},
            {"2026 1", "x.xlsx", "2026 1/klassen", "keine Klassen angelegt"},
        };
        for (const auto& f : faelle) {
            std::filesystem::remove(f.weg);
            QString meldung;
            try {
                nux::exceldatei(f.jahr, f.pfad);
            } catch (const std::exception& e) {
                meldung = QString::fromUtf8(e.what());
            }
            QVERIFY2(meldung.startsWith(f.meldung), qPrintable(meldung));
            QCOMPARE(dateienIn("."), vorher);
            QCOMPARE(dateienIn("ziel"), QStringList());
        }
    }
};

QTEST_MAIN(VerteilungTest)
#include "verteilung_test.moc"
