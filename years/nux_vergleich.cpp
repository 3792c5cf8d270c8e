#include "years/nux_vergleich.h"

#include <sys/stat.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QVBoxLayout>
#include <cerrno>
#include <cstdio>

#include "assignment/drucken.h"
#include "assignment/excel.h"
#include "assignment/kern/verteilung.h"
#include "assignment/xlsx.h"
#include "fenster/hinweis.h"
#include "fenster/shell.h"
#include "storage/datei.h"
#include "storage/jahr.h"
#include "years/kern/jahre.h"

namespace {

QString stunden(std::int64_t zehntel) { return nux::qs(nux::zehntelganz(zehntel, 0)); }
QString lehrer(const std::string& kurz) { return kurz.empty() ? QStringLiteral("--") : nux::qs(kurz); }

QString zeitpunkt() { return QDateTime::currentDateTime().toString(QStringLiteral("dd.MM.yyyy HH:mm:ss")); }

QTreeWidget* liste(QWidget* eltern, const char* name, const QStringList& kopf) {
    auto* l = new QTreeWidget(eltern);
    l->setObjectName(QString::fromLatin1(name));
    l->setHeaderLabels(kopf);
    l->setRootIsDecorated(false);
    l->setUniformRowHeights(true);
    l->setAllColumnsShowFocus(true);
    return l;
}

QString aufzaehlen(const std::vector<std::string>& klassen) {
    QStringList l;
    for (const auto& k : klassen) l << nux::qs(k);
    return l.isEmpty() ? QStringLiteral("keine") : l.join(QStringLiteral(", "));
}

}  // namespace

Tvergleich::Tvergleich(QWidget* eltern) : QDialog(eltern) {
    setObjectName(QStringLiteral("Tvergleich"));
    setWindowTitle(QStringLiteral("Pläne vergleichen"));
    resize(980, 600);

    Label1 = nux::beschriftung(this, "Label1", QStringLiteral("Pläne vergleichen"), 0, 0, 18);
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox2 = new QComboBox(this);
    ComboBox2->setObjectName(QStringLiteral("ComboBox2"));
    const auto jahre = nux::jahreaus(nux::ordnereintraege());
    for (const auto& j : jahre)
        for (auto* box : {ComboBox1, ComboBox2})
            box->addItem(nux::qs(j), QByteArray(j.data(), static_cast<qsizetype>(j.size())));
    // B: the current year; A: where it came from, else the year before it.
    int b = nux::jahrgesetzt() ? ComboBox2->findData(QByteArray::fromStdString(nux::jahrordner())) : -1;
    if (b < 0) b = ComboBox2->count() - 1;
    int a = b > 0 ? b - 1 : (ComboBox1->count() > 1 ? 1 : 0);
    if (b >= 0)
        if (const auto h = nux::herkunftladen(jahre[static_cast<std::size_t>(b)]))
            if (const int q = ComboBox1->findData(QByteArray::fromStdString(h->quelle)); q >= 0) a = q;
    ComboBox1->setCurrentIndex(a);
    ComboBox2->setCurrentIndex(b);

    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setWordWrap(true);
    ListView1 = liste(this, "ListView1",
                      {QStringLiteral("LehrerIn"), QStringLiteral("Name"), QStringLiteral("Soll"), QStringLiteral("A"),
                       QStringLiteral("B"), QStringLiteral("Differenz"), QStringLiteral("Hinweis")});
    for (const auto& [c, w] : {std::pair{0, 62}, {1, 150}, {2, 52}, {3, 52}, {4, 52}, {5, 70}}) ListView1->setColumnWidth(c, w);
    ListView2 = liste(this, "ListView2",
                      {QStringLiteral("Klasse A"), QStringLiteral("Klasse B"), QStringLiteral("Fach"),
                       QStringLiteral("Anteil"), QStringLiteral("LehrerIn A → B"), QStringLiteral("Stunden A → B")});
    for (const auto& [c, w] : {std::pair{0, 70}, {1, 70}, {2, 50}, {3, 55}, {4, 120}}) ListView2->setColumnWidth(c, w);
    Label3 = new QLabel(this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setWordWrap(true);

    Button1 = new QPushButton(QStringLiteral("Excel-Export"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2 = new QPushButton(QStringLiteral("drucken"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button3 = new QPushButton(QStringLiteral("schließen"), this);
    Button3->setObjectName(QStringLiteral("Button3"));
    connect(Button1, &QPushButton::clicked, this, [this] { nux::sicher([this] { Button1Click(); }); });
    connect(Button2, &QPushButton::clicked, this, [this] { nux::sicher([this] { Button2Click(); }); });
    connect(Button3, &QPushButton::clicked, this, &QDialog::accept);
    for (auto* box : {ComboBox1, ComboBox2})
        connect(box, &QComboBox::currentIndexChanged, this, [this] { nux::sicher([this] { vergleichen(); }); });

    auto* wahl = new QHBoxLayout;
    wahl->addWidget(new QLabel(QStringLiteral("A:"), this));
    wahl->addWidget(ComboBox1);
    wahl->addSpacing(20);
    wahl->addWidget(new QLabel(QStringLiteral("B:"), this));
    wahl->addWidget(ComboBox2);
    wahl->addStretch(1);
    auto* listen = new QHBoxLayout;
    listen->addWidget(ListView1, 1);
    listen->addWidget(ListView2, 1);
    auto* knoepfe = new QHBoxLayout;
    knoepfe->addStretch(1);
    knoepfe->addWidget(Button1);
    knoepfe->addWidget(Button2);
    knoepfe->addWidget(Button3);
    auto* spalte = new QVBoxLayout(this);
    spalte->addWidget(Label1);
    spalte->addLayout(wahl);
    spalte->addWidget(Label2);
    spalte->addLayout(listen, 1);
    spalte->addWidget(Label3);
    spalte->addLayout(knoepfe);

    vergleichen();
}

void Tvergleich::vergleichen() {
    vergleich_.reset();
    ListView1->clear();
    ListView2->clear();
    Label3->clear();
    Button1->setEnabled(false);
    Button2->setEnabled(false);
    const std::string a = nux::cp(ComboBox1->currentText());
    const std::string b = nux::cp(ComboBox2->currentText());
    if (const auto grund = nux::vergleichpruefen(a, b); !grund.empty()) {
        Label2->setText(nux::qs(grund));
        return;
    }
    Label2->setText(QStringLiteral("Fehler beim Lesen"));
    vergleich_ = nux::vergleichen(nux::planladen(a), nux::planladen(b));
    const auto& v = *vergleich_;
    Label2->setText(nux::qs(v.zusammenfassung()) +
                    (v.versetzt ? QStringLiteral(" (Klassen nach der Versetzung zugeordnet)") : QString()));
    for (const auto& l : v.lehrer) {
        auto* z = new QTreeWidgetItem(ListView1, {nux::qs(l.kurz), nux::qs(l.name), stunden(l.soll), stunden(l.a),
                                                  stunden(l.b), stunden(l.differenz()),
                                                  l.nurA   ? QStringLiteral("nur in A")
                                                  : l.nurB ? QStringLiteral("nur in B")
                                                           : QString()});
        for (int c = 2; c <= 5; ++c) z->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
    }
    for (const auto& s : v.stunden)
        new QTreeWidgetItem(ListView2, {nux::qs(s.klasseA), nux::qs(s.klasseB), nux::qs(s.fach),
                                        QString::number(s.anteil), lehrer(s.lehrerA) + " → " + lehrer(s.lehrerB),
                                        stunden(s.a) + " → " + stunden(s.b)});
    Label3->setText(QStringLiteral("Klassen nur in A: %1\nKlassen nur in B: %2").arg(aufzaehlen(v.nurA), aufzaehlen(v.nurB)));
    Button1->setEnabled(true);
    Button2->setEnabled(true);
}

void Tvergleich::Button1Click() {
    if (!vergleich_) return nux::piepsen();
    const std::string pfad = nux::vergleichexport(*vergleich_);
    const QString ganz = QDir(QString::fromStdString(pfad)).absolutePath();
    nux::hinweiszeigen(this, nux::kVergleichhinweis, QStringLiteral("Der Vergleich steht in %1").arg(ganz), ganz);
}

void Tvergleich::Button2Click() {
    if (!vergleich_) return nux::piepsen();
    const auto datum = nux::cp(QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy")));
    nux::seitendrucken(this, nux::vergleichsdruck(*vergleich_, datum), QStringLiteral("Vergleich"));
}

namespace nux {

std::string vergleichexport(const Planvergleich& v) {
    const std::string ordner = kExportordner;
    if (!ordnerda(ordner) && ::mkdir(ordner.c_str(), 0777) != 0) {
        const int e = errno;
        throw Dateifehler("Der Ordner export kann nicht angelegt werden: " + fehlertext(e));
    }
    const QDateTime jetzt = QDateTime::currentDateTime();
    const Mappe m = vergleichsmappe(v, cp(jetzt.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"))));
    const std::string name = vergleichsname(jetzt.toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss")).toStdString(), v);
    for (int n = 1;; ++n) {
        std::string pfad = ordner + "/" + name;
        if (n > 1) pfad.insert(pfad.size() - 5, "_" + std::to_string(n));
        if (xlsxschreiben(m, pfad, false)) return pfad;
    }
}

int vergleichbefehl(const QString& a, const QString& b, const QString& datei) {
    try {
        const Planvergleich v = jahrevergleichen(cp(a), cp(b));
        if (!datei.isEmpty()) {
            xlsxschreiben(vergleichsmappe(v, cp(zeitpunkt())), QFile::encodeName(datei).toStdString(), true);
            return 0;
        }
        QString text = qs(v.zusammenfassung()) + '\n';
        for (const auto& s : v.stunden)
            text += QStringLiteral("%1\t%2\t%3\t%4\t%5 -> %6\t%7 -> %8\n")
                        .arg(qs(s.klasseA), qs(s.klasseB), qs(s.fach))
                        .arg(s.anteil)
                        .arg(lehrer(s.lehrerA), lehrer(s.lehrerB), stunden(s.a), stunden(s.b));
        std::fputs(text.toLocal8Bit().constData(), stdout);
        return 0;
    } catch (const std::exception& e) {
        return befehlsfehler(e, 2);
    }
}

}  // namespace nux
