// The takeover with promotion through its preview, and the comparison window.
#include "storage/planung.h"
#include "testhilfe.h"
#include "years/nux_vergleich.h"
#include "years/nux_versetzung.h"

namespace {

template <class T = QWidget>
T* teil(const char* name) { return testhilfe::teil<T>(jahrfenster, name); }

void druecken(const QString& eintrag, Qt::KeyboardModifiers tasten = Qt::NoModifier) {
    auto* liste = teil<QListWidget>("ListBox1");
    const auto treffer = liste->findItems(eintrag, Qt::MatchExactly);
    QVERIFY2(treffer.size() == 1, qPrintable(eintrag));
    QTest::mouseClick(liste->viewport(), Qt::LeftButton, tasten, liste->visualItemRect(treffer[0]).center());
}

// Everything below the year folder, path and bytes.
std::map<std::string, std::vector<std::uint8_t>> dateien(const char* jahr) {
    std::map<std::string, std::vector<std::uint8_t>> m;
    for (const auto& e : std::filesystem::recursive_directory_iterator(jahr))
        m[e.path().string()] = e.is_regular_file() ? nux::dateilesen(e.path().string()) : std::vector<std::uint8_t>{};
    return m;
}

// The preview of a takeover of 2026 1 into 2027 1 with promotion.
Tversetzung* vorschau() {
    testhilfe::zeigen(reinterpret_cast<nux::Fenster*>(jahrfenster));
    druecken("2027 1", Qt::AltModifier);
    druecken("2026 1");
    QTest::mouseClick(teil<QPushButton>("Button2"), Qt::LeftButton);
    auto* d = jahrfenster->findChild<Tversetzung*>("Tversetzung");
    if (!d || !d->isVisible()) qFatal("keine Vorschau");
    return d;
}

}  // namespace

class VersetzungTest : public QObject {
    Q_OBJECT
private slots:
    void abbrechenSchreibtNichtsUebernehmenSchreibt() {
        testhilfe::Programm p;
        testhilfe::kleineschule();  // 1a and 1b in 2026 1
        auto k = nux::laden<nux::Klassensatz>("2026 1/klassen");
        k[1].name = "2a";
        nux::neuschreiben("2026 1/klassen", k);
        QDir().mkdir("2027 1");
        nux::neuschreiben<nux::Lehrersatz>("2027 1/lehrer", {{"Rudi Rau", "Ra", 100}});
        testhilfe::entsperren();
        // The added controls cover none of the takeover panel's.
        auto* versetzen = teil<QCheckBox>("CheckBox1");
        auto* wandern = teil<QCheckBox>("CheckBox2");
        for (auto* w : teil("Panel2")->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
            for (auto* neu : {static_cast<QWidget*>(versetzen), static_cast<QWidget*>(wandern)})
                if (w != neu) QVERIFY2(!w->geometry().intersects(neu->geometry()), qPrintable(w->objectName()));
        QVERIFY(!wandern->isEnabled());
        teil<QRadioButton>("RadioButton4")->click();
        versetzen->click();
        wandern->click();

        const auto vorher = dateien("2027 1");
        Tversetzung* d = vorschau();
        QCOMPARE(d->ListView1->rowCount(), 3);  // 1a -> 2a, 2a leaves, a new 1a
        QCOMPARE(d->ListView1->item(1, 3)->text(), QString("verlässt die Schule"));
        QVERIFY(d->Label3->text().startsWith("0 von 4 Unterrichten"));  // Ra teaches in the 2a that leaves
        QTest::mouseClick(d->Button4, Qt::LeftButton);
        QVERIFY(!d->isVisible());
        QVERIFY(dateien("2027 1") == vorher);

        // A collision typed into the preview stops "Übernehmen"; mended, it writes.
        d = vorschau();
        d->ListView1->item(2, 1)->setText("2a");
        QVERIFY(!d->Button3->isEnabled());
        QVERIFY(d->Label4->text().contains("beide zu „2a“"));
        d->ListView1->item(2, 1)->setText("1a");
        d->ListView1->item(1, 1)->setText("3a");  // the school has a grade 3 after all; Ra stays on M
        QVERIFY(d->Button3->isEnabled());
        QVERIFY(d->Label3->text().startsWith("1 von 6 Unterrichten"));
        QTest::mouseClick(d->Button3, Qt::LeftButton);
        testhilfe::warten();
        QVERIFY(!jahrfenster->isVisible());
        const auto neu = nux::laden<nux::Klassensatz>("2027 1/klassen");
        QCOMPARE(neu.size(), std::size_t(3));
        QCOMPARE(QString::fromStdString(neu[2].name + neu[2].l(1, 1)), QString("3aRa"));
        QVERIFY(nux::herkunftladen("2027 1")->versetzt);
        QVERIFY(nux::fehlerliste().isEmpty());

        // The comparison: the current year as B, the source of the other as A.
        nux::jahrsetzen("2027 1");
        testhilfe::zeigen(reinterpret_cast<nux::Fenster*>(jahrfenster));
        QTest::mouseClick(teil<QPushButton>("Button4"), Qt::LeftButton);
        auto* v = jahrfenster->findChild<Tvergleich*>("Tvergleich");
        QVERIFY(v && v->isVisible());
        QCOMPARE(v->ComboBox1->currentText() + "|" + v->ComboBox2->currentText(), QString("2026 1|2027 1"));
        QVERIFY(v->Label2->text().contains("nach der Versetzung"));
        QCOMPARE(v->ListView2->topLevelItemCount(), v->vergleich()->geaendert());
        QTest::mouseClick(v->Button1, Qt::LeftButton);
        QCOMPARE(QDir("export").entryList(QDir::Files).size(), 1);
        v->ComboBox1->setCurrentIndex(v->ComboBox2->currentIndex());
        QVERIFY(v->Label2->text().contains("mit sich selbst") && !v->Button1->isEnabled());
    }
};

QTEST_MAIN(VersetzungTest)
#include "versetzung_test.moc"
