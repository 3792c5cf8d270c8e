
#include "assignment/excel.h"
#include "assignment/kern/excel.h"
#include "testhilfe.h"

namespace {

// testhilfe's small school; the extra text holds the euro sign and a
// control character.
void schule() {
    testhilfe::kleineschule();
    nux::jahraktschreiben("2026 1");
    auto k = nux::laden<nux::Klassensatz>(nux::jahrdatei("klassen"));
    k[0].z(1, 1) = "Kurs \x80 5\x01x";
    nux::neuschreiben(nux::jahrdatei("klassen"), k);
}

// What an independent reader finds in the workbook: per sheet every cell
// with a value as [kind, value, number format], formulas with their stored
// result, the comments, the frozen corner, the filter and the cells of a
// heading centred across columns.
const char* const kLeser = R"(
import json, sys, openpyxl
formeln = openpyxl.load_workbook(sys.argv[1])
werte = openpyxl.load_workbook(sys.argv[1], data_only=True)
aus = {}
for blatt in formeln.worksheets:
    zellen, notizen, ueber = {}, {}, []
    for zeile in blatt.iter_rows():
        for z in zeile:
            if z.comment: notizen[z.coordinate] = z.comment.text
            if z.alignment.horizontal == 'centerContinuous': ueber.append(z.coordinate)
            if z.value is None or z.row == 2: continue
            if isinstance(z.value, str) and z.value.startswith('='):
                zellen[z.coordinate] = ['f', z.value[1:], werte[blatt.title][z.coordinate].value]
            elif isinstance(z.value, str):
                zellen[z.coordinate] = ['s', z.value]
            else:
                zellen[z.coordinate] = ['n', float(z.value), z.number_format]
    aus[blatt.title] = {'zellen': zellen, 'notizen': notizen, 'fest': blatt.freeze_panes, 'stand': blatt['A2'].value,
                        'filter': blatt.auto_filter.ref, 'verbund': ueber}
print(json.dumps(aus))
)";

QJsonObject lesen(const QString& datei) {
    QProcess python;
    const QString programm = QFile::exists("/usr/bin/python3") ? QStringLiteral("/usr/bin/python3") : QStringLiteral("python3");
    python.start(programm, {QStringLiteral("-c"), QString::fromUtf8(kLeser), datei});
    if (!python.waitForFinished(60000) || python.exitCode() != 0) {
        qWarning() << python.readAllStandardError();
        return {};
    }
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
        QJsonArray verbund;
        for (const auto& v : b.verbunde)
            for (int c = v.von; c <= v.bis; ++c) verbund.append(QString::fromStdString(nux::zellname(v.zeile, c)));
        const int letzte = std::max(b.filterzeile, int(b.zeilen.size()) - 1);
        aus[nux::qs(b.name)] = QJsonObject{
            {"zellen", zellen},
            {"notizen", notizen},
            {"fest", QString::fromStdString(nux::zellname(b.festzeilen, b.festspalten))},
            {"filter", b.filterzeile < 0 ? QJsonValue()
                                         : QString::fromStdString(nux::zellname(b.filterzeile, 0) + ":" +
                                                                  nux::zellname(letzte, b.spalten() - 1))},
            {"verbund", verbund},
            {"stand", nux::qs(b.zeilen[1][0].text)}};
    }
    return aus;
}

QString zustand(const QJsonObject& mappe) { return mappe["Klassen"].toObject()["stand"].toString(); }

QStringList dateienIn(const QString& ordner) {
    return QDir(ordner).entryList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

void fensterzeigen() {
    nux::Fenster::aktivesFensterVergessen();
    verteilfenster->vorholen();
    testhilfe::warten();
}

}  // namespace

class ExcelTest : public QObject {
    Q_OBJECT

private slots:
    // Ctrl+E and the button write what the window shows, unsaved changes
    // included; a real reader finds exactly the core's workbook.
    void knopfUndStrgESchreibenDenStandDesFensters() {
        testhilfe::Programm p;
        schule();
        fensterzeigen();
        verteilfenster->ListBox1->setCurrentRow(1);  // AnnA
        verteilfenster->lehrerein(0, 0);  // D 1a
        QTest::keyClick(verteilfenster, Qt::Key_E, Qt::ControlModifier);
        QTest::mouseClick(verteilfenster->Button3, Qt::LeftButton);
        QCOMPARE(nux::fehlerliste(), QStringList());
        const QStringList dateien = dateienIn(nux::kExportordner);
        QCOMPARE(dateien.size(), 2);
        for (const QString& d : dateien)
            QVERIFY2(QRegularExpression(R"(^\d{4}-\d\d-\d\d_\d\d-\d\d-\d\d_Verteilung_2026-1(_2)?\.xlsx$)").match(d).hasMatch(),
                     qPrintable(d));
        const QString neueste = QStringLiteral("export/") + dateien.last();
        const QJsonObject gelesen = lesen(neueste);
        const QString stand = zustand(gelesen);
        QVERIFY2(stand.startsWith("Stand ") && stand.contains(", Zuordnungen NICHT gespeichert"), qPrintable(stand));
        QCOMPARE(gelesen, erwartet(nux::exportmappe(verteilfenster->modell(), {"2026 1", stand.mid(6, 19).toStdString(), false})));
        QCOMPARE(gelesen["Verteilung"].toObject()["zellen"].toObject()["D5"].toArray()[1].toString(), QString("AnnA"));
        // The euro sign arrives; the control character, which XML cannot
        // carry, becomes a space.
        QCOMPARE(gelesen["Verteilung"].toObject()["notizen"].toObject()["C6"].toString(), QString("Kurs € 5 x"));

        auto* hinweis = testhilfe::teil<QLabel>(verteilfenster, nux::kExporthinweis);
        QVERIFY(hinweis->isVisible());
        QVERIFY(hinweis->text().contains(dateien.last()) && hinweis->text().contains("noch nicht gespeichert"));

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
        // A file where the folder "export" belongs.
        fensterzeigen();
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
            {"1999 1", "x.xlsx", "", "Das Jahr \"1999 1\" gibt es in diesem Programmordner nicht."},
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

QTEST_MAIN(ExcelTest)
#include "excel_test.moc"
