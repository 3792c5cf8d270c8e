#include "assignment/nux_verteilung.h"

#include <QAction>
#include <QtCharts/QBarCategoryAxis>
#include <QtCharts/QBarSet>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QHorizontalBarSeries>
#include <QtCharts/QValueAxis>
#include <QCoreApplication>
#include <QEvent>
#include <QFileInfo>
#include <QShortcut>
#include <QMouseEvent>
#include <QThread>
#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

#include "assignment/drucken.h"
#include "assignment/excel.h"
#include "assignment/rueckgaengig.h"
#include "fenster/hochknopf.h"
#include "assignment/nux_befaehigungen.h"
#include "assignment/kern/engpass.h"
#include "assignment/kern/marken.h"
#include "assignment/pruefbefehl.h"
#include "storage/jahr.h"
#include "fenster/frage.h"
#include "fenster/hinweis.h"
#include "assignment/nux_vorschlag.h"
#include "storage/text.h"

namespace {

QFrame* panel(QWidget* eltern, const char* name, const QColor& farbe) {
    auto* p = new QFrame(eltern);
    p->setObjectName(QString::fromLatin1(name));
    p->setAutoFillBackground(true);
    QPalette pal = p->palette();
    pal.setColor(QPalette::Window, farbe);
    p->setPalette(pal);
    p->setFrameShape(QFrame::Box);
    p->hide();
    return p;
}

QLabel* label(QWidget* eltern, const char* name, const QString& text) {
    auto* l = new QLabel(text, eltern);
    l->setObjectName(QString::fromLatin1(name));
    l->setTextFormat(Qt::PlainText);
    return l;
}

const QColor kHellgruen(0xD8, 0xFF, 0xBB);

const char* const kHilfe[] = {
    "LehrerIn eingeben und ändern: Rechts wählen und bei der entsprechenden Stunde auf -- oder den alten Namen ",
    "klicken.",
    "LehrerIn löschen: Aus der Liste rechts ---- wählen, weiter wie oben.",
    "Zusatztext anzeigen (blau markierte Felder): Auf die Stundenzahl klicken; Anzeige beenden: Auf den Zusatztext ",
    "klicken.",
    "Drucken LehrerIn: ALT-Klick im LehrerInnen-Fenster rechts auf einen Namen.",
    "Gesamtdruck LehrerInnen: ALT-STRG-Klick im LehrerInnen-Fenster rechts auf einen beliebigen Namen.",
    "Gesamtdruck Schule: STRG-Klick im LehrerInnen-Fenster auf einen beliebigen Namen.",
    "Dieses Fenster schließen: In diesen Text klicken.",
};

int ganz(std::int64_t v) {
    return static_cast<int>(std::clamp<std::int64_t>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

}  // namespace

Tverteilfenster::Tverteilfenster() : nux::Fenster("Tverteilfenster", 1016, 616) {
    const QFont klein = nux::schrift(QStringLiteral("MS Sans Serif"), 11, true);

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setGeometry(8, 11, 377, 9);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setRange(0, 1);
    ProgressBar1->setValue(0);

    Label4 = label(this, "Label4", QString());
    Label4->setFont(nux::schrift(QStringLiteral("MS Sans Serif"), 13, true));
    Label4->setGeometry(400, 6, 70, 18);
    Label4->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    Label1 = label(this, "Label1", QStringLiteral("zu haltende Stunden"));
    Label1->setFont(nux::schrift(QStringLiteral("MS Sans Serif"), 13, true));
    Label1->setGeometry(476, 6, 160, 18);
    Label1->setCursor(Qt::PointingHandCursor);
    Label1->installEventFilter(this);

    Button2 = new QPushButton(QStringLiteral("Hilfe"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(660, 3, 75, 25);
    connect(Button2, &QPushButton::clicked, this, [this] { nux::sicher([this] { Button2Click(); }); });

    Button1 = new QPushButton(QStringLiteral("speichern"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(745, 3, 75, 25);
    connect(Button1, &QPushButton::clicked, this, [this] { nux::sicher([this] { Button1Click(); }); });
    Button1->setToolTip(QStringLiteral("Rückgängig: Strg+Z, Wiederholen: Strg+Y"));

    // In the row of "Hilfe" and "speichern", in the gap before the caption
    // of the availability list.
    Button3 = new QPushButton(QStringLiteral("Excel-Export"), this);
    Button3->setObjectName(QStringLiteral("Button3"));
    Button3->setGeometry(828, 3, 78, 25);
    Button3->setToolTip(QStringLiteral("Die Verteilung als Excel-Mappe in den Ordner export schreiben (Strg+E)"));
    connect(Button3, &QPushButton::clicked, this, [this] { nux::sicher([this] { Button3Click(); }); });
    auto* excel = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_E), this);
    connect(excel, &QShortcut::activated, this, [this] { nux::sicher([this] { Button3Click(); }); });

    Button5 = nux::vorschlagknopf(this);

    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setGeometry(0, 31, 849, 585);
    ScrollBox1->setWidgetResizable(false);
    gitter_ = new Gitter;
    ScrollBox1->setWidget(gitter_);
    connect(gitter_, &Gitter::lehrerklick, this, [this](int c, int r) { nux::sicher([&] { lehrerein(c, r); }); });
    connect(gitter_, &Gitter::stundenklick, this, [this](int c, int r) { nux::sicher([&] { zusatzzeigen(c, r); }); });

    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setGeometry(1016 - 145, 31, 145, 585);
    ListBox1->setFont(nux::festschrift(11));
    ListBox1->setTextElideMode(Qt::ElideNone);
    ListBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListBox1->setUniformItemSizes(true);
    ListBox1->viewport()->installEventFilter(this);

    Label2 = label(this, "Label2", QStringLiteral("LV   verfügbar"));
    Label2->setFont(nux::festschrift(11));
    Label2->adjustSize();
    // "LV" over the required hours (column 6), "verfügbar" over the available ones.
    Label2->move(ListBox1->x() + ListBox1->frameWidth() + 2 + 5 * QFontMetrics(Label2->font()).horizontalAdvance(QLatin1Char('M')), 14);

    // Note panel, inside the scrolled grid.
    Panel1 = panel(gitter_, "Panel1", QColor(0xFF, 0xFF, 0x80));
    Panel1->resize(313, 33);
    Panel1->setFocusPolicy(Qt::StrongFocus);
    Panel1->installEventFilter(this);
    Label3 = label(Panel1, "Label3", QString());
    Label3->setFont(klein);
    Label3->setGeometry(4, 2, 305, 29);
    Label3->installEventFilter(this);

    // Help panel.
    Panel2 = panel(this, "Panel2", kHellgruen);
    Panel2->setGeometry(32, 439, 801, 162);
    Panel2->installEventFilter(this);
    QStringList zeilen;
    for (const char* z : kHilfe) zeilen << QString::fromUtf8(z);
    Memo2 = label(Panel2, "Memo2", zeilen.join(QLatin1Char('\n')));
    Memo2->setFont(nux::schrift(QStringLiteral("MS Sans Serif"), 13, true));
    Memo2->setGeometry(6, 4, 789, 154);
    Memo2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Memo2->installEventFilter(this);

    // Loading cover.
    Panel3 = panel(this, "Panel3", palette().color(QPalette::Window));
    Panel3->setFrameShape(QFrame::NoFrame);
    Panel3->setGeometry(0, 31, 1016, 585);
    Label5 = label(Panel3, "Label5", QStringLiteral("Daten werden geladen..."));
    Label5->setFont(nux::schrift(QStringLiteral("MS Sans Serif"), 32, true));
    Label5->setGeometry(0, 200, 1016, 48);
    Label5->setAlignment(Qt::AlignCenter);
    ProgressBar2 = new QProgressBar(Panel3);
    ProgressBar2->setObjectName(QStringLiteral("ProgressBar2"));
    ProgressBar2->setGeometry(308, 270, 400, 16);
    ProgressBar2->setTextVisible(false);
    ProgressBar2->setRange(0, 1);

    // Hint panel for missing data.
    Panel4 = panel(this, "Panel4", QColor(0xFF, 0x00, 0x00));
    Panel4->setGeometry(208, 250, 600, 80);
    Label6 = label(Panel4, "Label6", QString());
    Label6->setFont(nux::schrift(QStringLiteral("MS Sans Serif"), 32, true));
    Label6->setGeometry(0, 0, 600, 80);
    Label6->setAlignment(Qt::AlignCenter);

    // Hours per class.
    Panel5 = panel(this, "Panel5", kHellgruen);
    Panel5->setGeometry(400, 31, 190, 560);
    Panel5->installEventFilter(this);
    Label7 = label(Panel5, "Label7", QStringLiteral("Klassen-Stunden"));
    Label7->setFont(nux::schrift(QStringLiteral("MS Sans Serif"), 13, true));
    Label7->setGeometry(10, 6, 170, 18);
    Label7->installEventFilter(this);
    ListBox3 = new QListWidget(Panel5);
    ListBox3->setObjectName(QStringLiteral("ListBox3"));
    ListBox3->setFont(nux::festschrift(13));
    ListBox3->setGeometry(10, 28, 170, 520);
    ListBox3->setSelectionMode(QAbstractItemView::NoSelection);
    ListBox3->setTextElideMode(Qt::ElideNone);

    // The planning assistant: narrow buttons in the strip between the grid
    // (which ends at 849) and the teacher list (from 871), where nothing lies.
    Button4 = new nux::Hochknopf(QStringLiteral("Wer unterrichtet was"), this);
    Button4->setObjectName(QStringLiteral("Button4"));
    Button4->setGeometry(850, 33, 20, 180);
    Button4->setToolTip(QStringLiteral("Wer unterrichtet was: die Befähigungen der LehrerInnen je Fach"));
    connect(Button4, &QPushButton::clicked, this, [this] { nux::sicher([this] { Button4Click(); }); });
    Button6 = new nux::Hochknopf(QStringLiteral("Auslastung"), this);
    Button6->setObjectName(QStringLiteral("Button6"));
    Button6->setGeometry(850, 351, 20, 120);
    Button6->setToolTip(QStringLiteral("Lehrverpflichtung und zugeordnete Stunden je LehrerIn, dazu die Engpässe"));
    connect(Button6, &QPushButton::clicked, this, [this] { nux::sicher([this] { Button6Click(); }); });

    // Load and bottlenecks, over the right of the grid as the class hours
    // panel lies over its middle; Button6 shows and hides it.
    Panel6 = panel(this, "Panel6", QColor(0xFF, 0xFF, 0xFF));
    Panel6->setGeometry(449, 31, 400, 585);
    Label8 = label(Panel6, "Label8", QString());
    Label8->setFont(nux::schrift(QStringLiteral("MS Sans Serif"), 12, true));
    Label8->setGeometry(8, 4, 384, 130);
    Label8->setWordWrap(true);
    Label8->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ScrollBox2 = new QScrollArea(Panel6);
    ScrollBox2->setObjectName(QStringLiteral("ScrollBox2"));
    ScrollBox2->setGeometry(2, 138, 396, 445);
    ScrollBox2->setWidgetResizable(false);
    ScrollBox2->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* diagramm = new QChart;
    diagramm->setAnimationOptions(QChart::NoAnimation);
    diagramm->legend()->setAlignment(Qt::AlignTop);
    diagramm->setMargins(QMargins(2, 2, 2, 2));
    auto* reihe = new QHorizontalBarSeries;
    soll_ = new QBarSet(QStringLiteral("Lehrverpflichtung"));
    soll_->setColor(QColor(0xB0, 0xB0, 0xB0));
    soll_->setBorderColor(soll_->color());
    ist_ = new QBarSet(QStringLiteral("zugeordnet (rot: zu viel)"));
    ist_->setColor(QColor(0x2E, 0x7D, 0x32));
    ist_->setBorderColor(ist_->color());
    ist_->setSelectedColor(QColor(0xE0, 0x20, 0x20));
    reihe->append(soll_);
    reihe->append(ist_);
    reihe->setBarWidth(0.9);
    diagramm->addSeries(reihe);
    achse_ = new QBarCategoryAxis;
    // Every short name whole.
    achse_->setTruncateLabels(false);
    achse_->setLabelsFont(nux::festschrift(10));
    werte_ = new QValueAxis;
    werte_->setLabelFormat(QStringLiteral("%.0f"));
    diagramm->addAxis(achse_, Qt::AlignLeft);
    diagramm->addAxis(werte_, Qt::AlignBottom);
    reihe->attachAxis(achse_);
    reihe->attachAxis(werte_);
    Chart1 = new QChartView(diagramm);
    Chart1->setObjectName(QStringLiteral("Chart1"));
    Chart1->setRenderHint(QPainter::Antialiasing, false);
    Chart1->resize(376, 440);
    ScrollBox2->setWidget(Chart1);

    gitter_->tipp = [this](int c, int r) { return zellentipp(c, r); };
    gitter_->setzen(nullptr);

    // Undo and redo wherever the focus is in this window; with nothing left
    // to take back or do again the keys beep.
    verlauf_ = new QUndoStack(this);
    auto* zurueck = new QAction(this);
    zurueck->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    auto* wieder = new QAction(this);
    wieder->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    for (auto* a : {zurueck, wieder}) a->setShortcutContext(Qt::WindowShortcut);
    addActions({zurueck, wieder});
    connect(zurueck, &QAction::triggered, this, [this] {
        nux::sicher([this] { verlauf_->canUndo() ? verlauf_->undo() : nux::piepsen(); });
    });
    connect(wieder, &QAction::triggered, this, [this] {
        nux::sicher([this] { verlauf_->canRedo() ? verlauf_->redo() : nux::piepsen(); });
    });
    // An end that no window asked about (the session closing) still offers to save.
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] { freigeben(false); });
}

bool Tverteilfenster::event(QEvent* e) {
    // Our own activation request arrives after we handed the front to the
    // year window or an editor; taken as a new activation it would repeat
    // every hint and hand over again.
    if (e->type() == QEvent::WindowActivate && uebergabe_.isValid() && uebergabe_.elapsed() < 250) {
        uebergabe_.invalidate();
        return QWidget::event(e);
    }
    return nux::Fenster::event(e);
}

void Tverteilfenster::FormActivate() {
    uebergabe_.invalidate();
    if (behalten_) return;
    // Every activation reloads; unsaved assignments only go when the user says so.
    if (!freigeben()) return;
    if (!nux::jahrvorhanden()) {
        uebergabe_.start();
        return;
    }
    Panel3->move(0, 31);
    Panel3->show();
    Panel3->raise();
    // Whatever was not saved is gone; an activation that stops early leaves
    // nothing that "speichern" could write.
    leeren();

    const auto fehlt = nux::Verteilung::fehlendedateien();
    for (const std::string& datei : fehlt) {
        if (datei == "klassen") {
            hinweis(QStringLiteral("keine Klassen angelegt"));
            nux::vorholen(nux::Rolle::klassen);
        } else if (datei == "faecher") {
            hinweis(QStringLiteral("keine Fächer angelegt"));
            nux::vorholen(nux::Rolle::faecher);
        } else {
            hinweis(QStringLiteral("keine LehrerInnen angelegt"));
            nux::vorholen(nux::Rolle::lehrer);
        }
    }
    if (!fehlt.empty()) {
        uebergabe_.start();
        return;
    }

    modell_.laden();
    // A planning file that cannot be read must not keep the grid away.
    befaehigungen_ = {};
    QString planungsfehler;
    try {
        befaehigungen_ = nux::befaehigungenladen(nux::jahrordner());
    } catch (const std::exception& e) {
        planungsfehler = QString::fromUtf8(e.what());
    }
    holen();
    Panel3->hide();
    if (!planungsfehler.isEmpty())
        nux::fehlerzeigen(QStringLiteral("Die Befähigungen (planung/befaehigungen) sind nicht lesbar: ") + planungsfehler);
}

void Tverteilfenster::hinweis(const QString& text) {
    Label6->setText(text);
    Panel4->show();
    Panel4->raise();
    repaint();
    nux::piepsen();
    nux::piepsen();
    QThread::msleep(500);
    Panel4->hide();
}

void Tverteilfenster::holen() {
    Panel1->hide();
    ListBox1->clear();
    gezeigt_ = modell_.verfuegbar();
    QStringList zeilen;
    zeilen.reserve(static_cast<qsizetype>(gezeigt_.size()));
    for (const std::string& z : gezeigt_) zeilen << nux::qs(z);
    ListBox1->addItems(zeilen);

    // The loading bar steps once per class while its cells are made.
    ProgressBar2->setRange(0, std::max(1, modell_.LastClass + 1));
    ProgressBar2->setValue(0);
    gitter_->setzen(&modell_, [this](int c) {
        ProgressBar2->setValue(c + 1);
        if (ProgressBar2->isVisible()) ProgressBar2->repaint();
    });

    Label4->setText(nux::qs(nux::zehntelganz(modell_.TotalHours, 7)));
    zeigerpos();
    auswahlweg();

    ListBox3->clear();
    QStringList stunden;
    for (const std::string& z : modell_.klassenstunden()) stunden << nux::qs(z);
    ListBox3->addItems(stunden);
    auswertungneu(true);
}

void Tverteilfenster::befaehigungenneu() {
    befaehigungen_ = nux::befaehigungenladen(nux::jahrordner());
    auswertungneu();
}

std::string Tverteilfenster::gewaehlt() const {
    const int p = auswahl();
    return modell_.lehrerzeile(p) ? nux::teil(modell_.verfuegbar()[static_cast<std::size_t>(p)], 1, 4) : std::string();
}

void Tverteilfenster::auswertungneu(int c, int r) {
    gitter_->markesetzen(c, r, nux::marke(modell_, befaehigungen_, gewaehlt(), c, r));
    auswertungneu(false, false);
}

void Tverteilfenster::auswertungneu(bool neuaufbau, bool marken) {
    if (stumm_ > 0) return;
    if (marken) gitter_->markensetzen(nux::marken(modell_, befaehigungen_, gewaehlt()));
    if (neuaufbau) diagrammalt_ = true;
    if (!Panel6->isVisible()) {
        diagrammalt_ = true;
        return;
    }

    const auto lehrer = modell_.lehrerstaende();
    if (diagrammalt_ || soll_->count() != static_cast<int>(lehrer.size())) {
        diagrammalt_ = false;
        QStringList kurz;
        QList<qreal> soll, ist;
        // The chart counts its categories from the bottom: the list is put
        // in from its end, so that it reads from the top as the list does.
        for (auto l = lehrer.rbegin(); l != lehrer.rend(); ++l) {
            // Two teachers may share a short name; a category must be unique.
            QString k = nux::qs(l->kurz);
            while (kurz.contains(k)) k += QLatin1Char(' ');
            kurz << k;
            soll << static_cast<qreal>(l->soll) / 10.0;
            ist << static_cast<qreal>(l->zugeordnet()) / 10.0;
        }
        soll_->remove(0, soll_->count());
        ist_->remove(0, ist_->count());
        soll_->append(soll);
        ist_->append(ist);
        achse_->clear();
        achse_->append(kurz);
        Chart1->resize(ScrollBox2->viewport()->width(), std::max(440, 18 * static_cast<int>(lehrer.size()) + 90));
    } else {
        const int n = static_cast<int>(lehrer.size());
        for (int i = 0; i < n; ++i) {
            const qreal wert = static_cast<qreal>(lehrer[static_cast<std::size_t>(i)].zugeordnet()) / 10.0;
            if (ist_->at(n - 1 - i) != wert) ist_->replace(n - 1 - i, wert);
        }
    }
    qreal hoechst = 1;
    int ueber = 0, unter = 0;
    QList<int> zuviel;
    for (int i = 0; i < static_cast<int>(lehrer.size()); ++i) {
        const auto& l = lehrer[static_cast<std::size_t>(i)];
        hoechst = std::max({hoechst, static_cast<qreal>(l.soll) / 10.0, static_cast<qreal>(l.zugeordnet()) / 10.0});
        if (l.frei < 0) {
            ++ueber;
            zuviel << static_cast<int>(lehrer.size()) - 1 - i;
        } else if (l.frei > 0) {
            ++unter;
        }
    }
    ist_->deselectAllBars();
    ist_->selectBars(zuviel);
    werte_->setRange(0, std::ceil(hoechst));

    QString text = QStringLiteral("Auslastung: %1 unter, %2 über der Lehrverpflichtung, %3 genau.").arg(unter).arg(ueber).arg(static_cast<int>(lehrer.size()) - unter - ueber);
    // The same report as "nux --pruefung".
    text += QLatin1Char('\n') + nux::pruefbericht(nux::jahrordner(), nux::pruefen(modell_, befaehigungen_), !befaehigungen_.leer());
    Label8->setText(text);
}

QString Tverteilfenster::zellentipp(int c, int r) const {
    const nux::Marke m = gitter_->marke(c, r);
    if (m == nux::Marke::keine) return {};
    const int s = modell_.RowKeys[static_cast<std::size_t>(c)][static_cast<std::size_t>(r)] / 10;
    const auto& faecher = modell_.faecher();
    const QString fach = s >= 0 && static_cast<std::size_t>(s) < faecher.size() ? nux::qs(faecher[static_cast<std::size_t>(s)].name) : QString();
    if (m == nux::Marke::ohnebefaehigung)
        return QStringLiteral("%1 ist für %2 nicht als befähigt eingetragen (\"Wer unterrichtet was\").")
            .arg(nux::qs(nux::trimmen(modell_.zelle(c, r).lehrer)), fach);
    const QString wer = nux::qs(nux::trimmen(gewaehlt()));
    return m == nux::Marke::wunsch ? QStringLiteral("%1 ist ein Wunschfach von %2.").arg(fach, wer)
                                   : QStringLiteral("%1 ist für %2 befähigt.").arg(wer, fach);
}

void Tverteilfenster::zeigerpos() {
    const int hoechst = ganz(modell_.TotalHours);
    // A bar with maximum 0 would turn into a busy indicator.
    ProgressBar1->setRange(0, std::max(1, hoechst));
    ProgressBar1->setValue(std::clamp(ganz(modell_.AssignedHours), 0, std::max(1, hoechst)));
}

int Tverteilfenster::auswahl() const {
    const auto wahl = ListBox1->selectedItems();
    return wahl.isEmpty() ? -1 : ListBox1->row(wahl.first());
}

void Tverteilfenster::auswahlweg() {
    ListBox1->clearSelection();
    ListBox1->setCurrentItem(nullptr, QItemSelectionModel::Clear);
}

void Tverteilfenster::listeabgleichen() {
    const auto& zeilen = modell_.verfuegbar();
    for (std::size_t p = 0; p < zeilen.size() && p < gezeigt_.size(); ++p)
        if (zeilen[p] != gezeigt_[p]) {
            gezeigt_[p] = zeilen[p];
            if (QListWidgetItem* item = ListBox1->item(static_cast<int>(p))) item->setText(nux::qs(zeilen[p]));
        }
}

void Tverteilfenster::lehrerein(int c, int r) {
    auto a = modell_.lehrerein(c, r, auswahl());
    if (!a) return;
    gitter_->zelleneu(c, r);
    zeigerpos();
    listeabgleichen();
    auswertungneu(c, r);
    verlauf_->push(new Zuordnungsschritt(std::move(*a), [this](const nux::Aenderung& s, bool v) { schrittzeigen(s, v); }));
}

int Tverteilfenster::zuordnen(const std::vector<nux::Eintrag>& liste, const QString& name) {
    auto gruppe = std::make_unique<Zuordnungsgruppe>(name, [this](bool anfang) {
        if (anfang) {
            ++stumm_;
            return;
        }
        --stumm_;
        auswertungneu();
    });
    int n = 0;
    for (const nux::Eintrag& e : liste) {
        const int p = modell_.lehrerposition(e.lehrer);
        if (p < 1) continue;
        auto a = modell_.lehrerein(e.c, e.r, p);
        if (!a) continue;
        gitter_->zelleneu(e.c, e.r);
        new Zuordnungsschritt(std::move(*a), [this](const nux::Aenderung& s, bool v) { schrittzeigen(s, v); },
                              gruppe.get());
        ++n;
    }
    zeigerpos();
    listeabgleichen();
    auswertungneu();
    if (n > 0) verlauf_->push(gruppe.release());
    return n;
}

void Tverteilfenster::schrittzeigen(const nux::Aenderung& a, bool vorwaerts) {
    if (vorwaerts)
        modell_.wiederholen(a);
    else
        modell_.zuruecknehmen(a);
    gitter_->zelleneu(a.c, a.r);
    zeigerpos();
    listeabgleichen();
    auswertungneu(a.c, a.r);
}

bool Tverteilfenster::freigeben(bool abbrechbar) {
    // The box runs an event loop of its own, in which the platform delivers
    // the activation this window asked for before it asked: that activation
    // must not ask a second time. Until the answer, nothing may go.
    if (fragt_) return false;
    fragt_ = true;
    struct Ende {
        bool& f;
        ~Ende() { f = false; }
    } ende{fragt_};
    while (ungespeichert()) {
        switch (nux::fragen(QStringLiteral("Die Zuordnungen sind noch nicht gespeichert. Jetzt speichern?"), abbrechbar)) {
            case nux::Antwort::abbrechen: return false;
            case nux::Antwort::nein: verwerfen(); return true;
            case nux::Antwort::ja:
                nux::sicher([this] { Button1Click(); });
                // The failure was shown; the assignments stay where they can still be saved.
                if (ungespeichert() && abbrechbar) return false;
        }
    }
    return true;
}

void Tverteilfenster::leeren() {
    Panel1->hide();
    ListBox1->clear();
    gezeigt_.clear();
    modell_.leeren();
    verlauf_->clear();
    gitter_->setzen(nullptr);
}

// "Nein" gives the assignments up: the grid goes back to what the file
// holds, through the history where it still reaches the saved state, else
// it is emptied as an activation that stops early leaves it. Either way no
// second question comes and "speichern" cannot write what was given up.
void Tverteilfenster::verwerfen() {
    if (verlauf_->cleanIndex() >= 0) verlauf_->setIndex(verlauf_->cleanIndex());
    if (ungespeichert()) leeren();
    verlauf_->clear();
}

void Tverteilfenster::zurueckholen() {
    behalten_ = true;
    vorholen();
    behalten_ = false;
}

void Tverteilfenster::zusatzzeigen(int c, int r) {
    if (c < 0 || c > modell_.LastClass || r < 0 || r > modell_.LastRow) return;
    if (!modell_.zelle(c, r).blau) return;
    Label3->setText(nux::qs(modell_.ExtraTexts[static_cast<std::size_t>(c)][static_cast<std::size_t>(r)]));
    Panel1->move(nux::raster::stundenX(c) + 100, nux::raster::zeileY(r));
    // Beside the last classes, or in a small school, the panel reaches past
    // the grid: the grid grows to hold it and scrolls it into view whole.
    gitter_->raumfuer(Panel1->geometry());
    Panel1->show();
    Panel1->raise();
    Panel1->setFocus(Qt::MouseFocusReason);
    ScrollBox1->ensureWidgetVisible(Panel1, 0, 0);
}

void Tverteilfenster::ListBox1MouseDown(Qt::MouseButton, Qt::KeyboardModifiers tasten) {
    const int p = auswahl();
    const auto aktion = modell_.listenaktion(p, tasten.testFlag(Qt::AltModifier), tasten.testFlag(Qt::ControlModifier));
    // The selection may have moved: the grid marks where the teacher fits.
    auswertungneu();
    switch (aktion) {
        case nux::Listenaktion::nichts: return;
        case nux::Listenaktion::auswahlweg:
            auswahlweg();
            auswertungneu();
            return;
        case nux::Listenaktion::hervorheben:
            modell_.hervorheben(p);
            gitter_->farbenneu();
            return;
        case nux::Listenaktion::drucken: nux::drucken(this, modell_.druckdaten(), p); return;
        case nux::Listenaktion::druckenalle: nux::druckenalle(this, modell_.druckdaten()); return;
        case nux::Listenaktion::gesamtdruck: nux::gesamtdruck(this, modell_.druckdaten()); return;
    }
}

void Tverteilfenster::Button1Click() {
    modell_.speichern();
    verlauf_->setClean();
}

void Tverteilfenster::Button3Click() {
    // Without a loaded year there is nothing to export.
    if (modell_.verfuegbar().empty()) {
        nux::piepsen();
        return;
    }
    const std::string pfad = nux::excelexport(modell_, befaehigungen_);
    QString text = QStringLiteral("Excel-Export: die Mappe steht in %1").arg(QFileInfo(QString::fromStdString(pfad)).absoluteFilePath());
    if (ungespeichert()) text += QStringLiteral("\nSie enthält Zuordnungen, die noch nicht gespeichert sind.");
    nux::hinweiszeigen(this, nux::kExporthinweis, text, QString::fromStdString(pfad));
}

void Tverteilfenster::Button4Click() {
    if (modell_.verfuegbar().empty()) {
        nux::piepsen();
        return;
    }
    if (::befaehigungenbearbeiten(this)) befaehigungenneu();
}

void Tverteilfenster::Button6Click() {
    if (Panel6->isVisible()) {
        Panel6->hide();
        return;
    }
    Panel6->show();
    Panel6->raise();
    auswertungneu();
}

void Tverteilfenster::Button2Click() {
    Panel2->show();
    Panel2->raise();
}

void Tverteilfenster::Label1Click() {
    Panel5->show();
    Panel5->raise();
}

void Tverteilfenster::Panel1Click() {
    Panel1->hide();
    gitter_->raumfuer();
}
void Tverteilfenster::Panel2Click() { Panel2->hide(); }
void Tverteilfenster::Panel5Click() { Panel5->hide(); }

bool Tverteilfenster::eventFilter(QObject* o, QEvent* e) {
    if (o == ListBox1->viewport()) {
        // The list's own mouse handling would select by dragging and toggle
        // lines with Ctrl; the press below is the only way the mouse selects.
        if (e->type() == QEvent::MouseButtonRelease || e->type() == QEvent::MouseMove) return true;
        if (e->type() == QEvent::MouseButtonDblClick) {
            // The first press of the double click has printed already: one
            // gesture, one printout.
            const auto tasten = static_cast<QMouseEvent*>(e)->modifiers();
            switch (modell_.listenaktion(auswahl(), tasten.testFlag(Qt::AltModifier), tasten.testFlag(Qt::ControlModifier))) {
                case nux::Listenaktion::drucken:
                case nux::Listenaktion::druckenalle:
                case nux::Listenaktion::gesamtdruck: return true;
                default: break;
            }
            QMouseEvent druck(QEvent::MouseButtonPress, static_cast<QMouseEvent*>(e)->position(),
                              static_cast<QMouseEvent*>(e)->globalPosition(), static_cast<QMouseEvent*>(e)->button(),
                              static_cast<QMouseEvent*>(e)->buttons(), static_cast<QMouseEvent*>(e)->modifiers());
            return eventFilter(o, &druck);
        }
    }
    if (e->type() == QEvent::MouseButtonPress) {
        auto* m = static_cast<QMouseEvent*>(e);
        if (o == ListBox1->viewport()) {
            // The press moves the selection first (a left press only), then
            // acts with the keys held; Ctrl must not toggle the line off.
            if (m->button() == Qt::LeftButton) {
                if (QListWidgetItem* item = ListBox1->itemAt(m->position().toPoint())) {
                    ListBox1->setCurrentItem(item, QItemSelectionModel::ClearAndSelect);
                }
            }
            ListBox1->setFocus(Qt::MouseFocusReason);
            const auto tasten = m->modifiers();
            const auto knopf = m->button();
            nux::sicher([&] { ListBox1MouseDown(knopf, tasten); });
            return true;
        }
        if (m->button() == Qt::LeftButton) {
            if (o == Panel1 || o == Label3) {
                nux::sicher([this] { Panel1Click(); });
                return true;
            }
            if (o == Panel2 || o == Memo2) {
                nux::sicher([this] { Panel2Click(); });
                return true;
            }
            if (o == Panel5 || o == Label7) {
                nux::sicher([this] { Panel5Click(); });
                return true;
            }
            if (o == Label1) {
                nux::sicher([this] { Label1Click(); });
                return true;
            }
        }
    } else if (o == Panel1 && nux::verlassen(e) && Panel1->isVisible()) {
        nux::sicher([this] { Panel1Click(); });
    }
    return nux::Fenster::eventFilter(o, e);
}
