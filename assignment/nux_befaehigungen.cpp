#include "assignment/nux_befaehigungen.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QColor>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QUndoCommand>
#include <QVBoxLayout>
#include <algorithm>

#include "fenster/frage.h"
#include "fenster/shell.h"
#include "storage/datei.h"
#include "storage/jahr.h"
#include "storage/text.h"

namespace nux {

QVariant Matrixmodell::data(const QModelIndex& i, int rolle) const {
    if (!i.isValid()) return {};
    const Stufe st = m_.stufe(i.row(), i.column());
    switch (rolle) {
        case Qt::DisplayRole:
            return st == Stufe::wunsch ? QStringLiteral("★") : st == Stufe::befaehigt ? QStringLiteral("·") : QString();
        case Qt::TextAlignmentRole: return int(Qt::AlignCenter);
        case Qt::FontRole: {
            // The dot of the cell font is too small to be seen at a glance.
            static const QFont punkt = schrift(QStringLiteral("MS Sans Serif"), 26, true);
            return st == Stufe::befaehigt ? QVariant(punkt) : QVariant();
        }
        case Qt::ForegroundRole:
            return st == Stufe::wunsch ? QColor(0xB0, 0x60, 0x00) : QColor(Qt::black);
        case Qt::BackgroundRole:
            if (st == Stufe::wunsch) return QColor(0xFF, 0xF0, 0xB0);
            if (st == Stufe::befaehigt) return QColor(0xE0, 0xF4, 0xE0);
            return {};
        case Qt::ToolTipRole: {
            const auto& l = m_.lehrer()[static_cast<std::size_t>(i.row())];
            const auto& f = m_.faecher()[static_cast<std::size_t>(i.column())];
            const QString stufe = st == Stufe::keine ? QStringLiteral("nicht befähigt") : qs(stufetext(st));
            return QStringLiteral("%1 – %2: %3").arg(qs(l.kurz), qs(f.namen), stufe);
        }
        default: return {};
    }
}

QVariant Matrixmodell::headerData(int n, Qt::Orientation o, int rolle) const {
    if (n < 0) return {};
    if (o == Qt::Horizontal) {
        if (n >= m_.spalten()) return {};
        const auto& f = m_.faecher()[static_cast<std::size_t>(n)];
        if (rolle == Qt::DisplayRole) return qs(f.kurz);
        if (rolle == Qt::ToolTipRole) return qs(f.namen);
        return {};
    }
    if (n >= m_.zeilen()) return {};
    const auto& l = m_.lehrer()[static_cast<std::size_t>(n)];
    // Short name, name, required and free hours in fixed columns.
    if (rolle == Qt::DisplayRole)
        return qs(linksbuendig(l.kurz, 5) + linksbuendig(teil(l.name, 1, 22), 23) + zehntelzeigen(l.soll, 4) + " " +
                  zehntelganz(l.frei, 5));
    if (rolle == Qt::ToolTipRole)
        return QStringLiteral("%1: %2 Stunden zu halten, %3 verfügbar")
            .arg(qs(l.name), qs(trimmen(zehntelzeigen(l.soll, 4))), qs(trimmen(zehntelganz(l.frei, 5))));
    if (rolle == Qt::TextAlignmentRole) return int(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

void Matrixmodell::anwenden(const Wechsel& w, bool nachher) {
    m_.anwenden(w, nachher);
    int z0 = m_.zeilen(), z1 = -1, s0 = m_.spalten(), s1 = -1;
    for (const auto& x : w) {
        const int z = m_.zeilevon(x.lehrer), s = m_.spaltevon(x.fach);
        if (z < 0 || s < 0) continue;
        z0 = std::min(z0, z), z1 = std::max(z1, z), s0 = std::min(s0, s), s1 = std::max(s1, s);
    }
    if (z1 >= 0) emit dataChanged(index(z0, s0), index(z1, s1));
}

namespace {

// One gesture of the dialog; the first redo is the gesture itself.
class Schritt : public QUndoCommand {
public:
    Schritt(Matrixmodell* m, const QString& text, Wechsel w) : QUndoCommand(text), m_(m), w_(std::move(w)) {}
    void redo() override { m_->anwenden(w_, true); }
    void undo() override { m_->anwenden(w_, false); }

private:
    Matrixmodell* m_;
    Wechsel w_;
};

template <class Satz>
std::vector<Satz> wennda(const char* datei, std::size_t hoechstens) {
    const std::string pfad = jahrdatei(datei);
    return dateida(pfad) ? laden<Satz>(pfad, hoechstens) : std::vector<Satz>{};
}

QPushButton* knopf(QWidget* eltern, const char* name, const QString& text) {
    auto* b = new QPushButton(text, eltern);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

}  // namespace
}  // namespace nux

Tbefaehigungen::Tbefaehigungen(QWidget* eltern) : QDialog(eltern) {
    setObjectName(QStringLiteral("Tbefaehigungen"));
    setWindowTitle(QStringLiteral("Wer unterrichtet was"));
    resize(1016, 616);

    Label1 = nux::beschriftung(this, "Label1", QStringLiteral("Wer unterrichtet was"), 0, 0, 18);
    modell_ = new nux::Matrixmodell(matrix_, this);
    StringGrid1 = new QTableView(this);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->setModel(modell_);
    StringGrid1->setFont(nux::schrift(QStringLiteral("MS Sans Serif"), 16, true));
    StringGrid1->setSelectionMode(QAbstractItemView::ContiguousSelection);
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid1->setTabKeyNavigation(false);
    // Fixed sections: a large school is laid out without measuring a cell.
    for (QHeaderView* h : {StringGrid1->horizontalHeader(), StringGrid1->verticalHeader()}) {
        h->setSectionResizeMode(QHeaderView::Fixed);
        h->setHighlightSections(true);
    }
    StringGrid1->horizontalHeader()->setDefaultSectionSize(40);
    StringGrid1->verticalHeader()->setDefaultSectionSize(20);
    StringGrid1->verticalHeader()->setFont(nux::festschrift(12, false));
    StringGrid1->verticalHeader()->setFixedWidth(QFontMetrics(nux::festschrift(12, false)).horizontalAdvance(QString(40, 'x')) + 12);
    StringGrid1->installEventFilter(this);
    connect(StringGrid1, &QTableView::clicked, this, [this](const QModelIndex& i) {
        nux::sicher([&] {
            // A click with Shift or Ctrl selects, a plain click cycles.
            if (QApplication::keyboardModifiers() & (Qt::ShiftModifier | Qt::ControlModifier)) return;
            setzen(QStringLiteral("wechseln"), matrix_.weiterschalten(i.row(), i.column()));
        });
    });

    Label2 = nux::beschriftung(this, "Label2",
                               QStringLiteral("leer = nicht befähigt     · = befähigt     ★ = Wunschfach          "
                                              "Leertaste oder Klick: wechseln;  0, 1, 2: setzen;  Strg+C, Strg+V: "
                                              "kopieren, einfügen (auch aus Excel);  Strg+Z, Strg+Y: rückgängig, wiederholen"),
                               0, 0, 0);
    Label2->setWordWrap(true);
    Label3 = nux::beschriftung(this, "Label3", QString(), 0, 0, 0);
    Label3->setWordWrap(true);
    Label3->setTextInteractionFlags(Qt::TextSelectableByMouse);

    Button1 = nux::knopf(this, "Button1", QStringLiteral("speichern"));
    Button2 = nux::knopf(this, "Button2", QStringLiteral("schließen"));
    Button3 = nux::knopf(this, "Button3", QStringLiteral("aus der Verteilung übernehmen"));
    Button4 = nux::knopf(this, "Button4", QStringLiteral("ganze Zeile wie diese Zelle"));
    Button5 = nux::knopf(this, "Button5", QStringLiteral("ganze Spalte wie diese Zelle"));
    for (QPushButton* b : {Button1, Button2, Button3, Button4, Button5}) b->setAutoDefault(false);
    connect(Button1, &QPushButton::clicked, this, [this] { nux::sicher([this] { Button1Click(); }); });
    connect(Button2, &QPushButton::clicked, this, [this] { reject(); });
    connect(Button3, &QPushButton::clicked, this, [this] { nux::sicher([this] { Button3Click(); }); });
    connect(Button4, &QPushButton::clicked, this, [this] {
        const QModelIndex i = StringGrid1->currentIndex();
        if (!i.isValid()) return nux::piepsen();
        setzen(QStringLiteral("Zeile setzen"), matrix_.zeilesetzen(i.row(), matrix_.stufe(i.row(), i.column())));
    });
    connect(Button5, &QPushButton::clicked, this, [this] {
        const QModelIndex i = StringGrid1->currentIndex();
        if (!i.isValid()) return nux::piepsen();
        setzen(QStringLiteral("Spalte setzen"), matrix_.spaltesetzen(i.column(), matrix_.stufe(i.row(), i.column())));
    });

    QAction* zurueck = verlauf_.createUndoAction(this, QStringLiteral("Rückgängig"));
    zurueck->setShortcut(QKeySequence::Undo);
    QAction* vor = verlauf_.createRedoAction(this, QStringLiteral("Wiederholen"));
    vor->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence::Redo});
    addAction(zurueck);
    addAction(vor);
    connect(&verlauf_, &QUndoStack::cleanChanged, this,
            [this](bool sauber) { setWindowTitle(QStringLiteral("Wer unterrichtet was") + (sauber ? "" : " *")); });

    auto* knoepfe = new QHBoxLayout;
    knoepfe->addWidget(Button4);
    knoepfe->addWidget(Button5);
    knoepfe->addWidget(Button3);
    knoepfe->addStretch(1);
    knoepfe->addWidget(Button1);
    knoepfe->addWidget(Button2);
    auto* spalte = new QVBoxLayout(this);
    spalte->addWidget(Label1);
    spalte->addWidget(StringGrid1, 1);
    spalte->addWidget(Label2);
    spalte->addWidget(Label3);
    spalte->addLayout(knoepfe);
}

bool Tbefaehigungen::holen() {
    bool ok = false;
    nux::sicher([&] {
        const std::string jahr = nux::jahrordner();
        Label1->setText(QStringLiteral("Wer unterrichtet was – %1").arg(nux::qs(nux::jahranzeige(jahr))));
        auto klassen = nux::wennda<nux::Klassensatz>("klassen", nux::kVerteilKlassen);
        const auto faecher = nux::wennda<nux::Fachsatz>("faecher", nux::kFaecherMax);
        const auto lehrer = nux::wennda<nux::Lehrersatz>("lehrer", SIZE_MAX);
        verteilung_.aufbauen(std::move(klassen), faecher, lehrer);
        auto b = nux::befaehigungenladen(jahr);
        // A source year that cannot be read takes nothing from the table.
        quelle_.reset();
        nux::sicher([&] { quelle_ = nux::quelljahrladen(jahr); });
        matrix_.aufbauen(verteilung_, std::move(b));
        modell_->neu();
        verlauf_.clear();
        ok = true;
    });
    StringGrid1->setCurrentIndex(modell_->index(0, 0));
    hinweise();
    return ok;
}

void Tbefaehigungen::hinweise(const QString& zusatz) {
    QStringList t;
    if (matrix_.zeilen() == 0 || matrix_.spalten() == 0)
        t << QStringLiteral("Die Tabelle braucht LehrerInnen mit Stunden und Fächer, die heuer unterrichtet werden.");
    const auto& fehler = matrix_.befaehigungen().fehler;
    if (!fehler.empty()) {
        QStringList z;
        for (const auto& f : fehler)
            z << QStringLiteral("Zeile %1 (%2)").arg(f.zeile).arg(nux::qs(f.grund));
        t << QStringLiteral("Unlesbare Zeilen in planung/befaehigungen, sie bleiben beim Speichern erhalten: ") +
                 z.join(QStringLiteral("; "));
    }
    auto liste = [](const std::vector<std::string>& v) {
        QStringList l;
        for (const auto& s : v) l << nux::qs(s);
        return l.join(QStringLiteral(", "));
    };
    const auto lehrer = matrix_.unbekanntelehrer();
    const auto faecher = matrix_.unbekanntefaecher();
    if (!lehrer.empty() || !faecher.empty()) {
        QString u = QStringLiteral("Nicht in der Tabelle, aber in der Datei behalten:");
        if (!lehrer.empty()) u += QStringLiteral(" LehrerInnen ") + liste(lehrer);
        if (!lehrer.empty() && !faecher.empty()) u += QLatin1Char(';');
        if (!faecher.empty()) u += QStringLiteral(" Fächer ") + liste(faecher);
        t << u;
    }
    if (!zusatz.isEmpty()) t << zusatz;
    Label3->setText(t.join(QLatin1Char('\n')));
}

void Tbefaehigungen::setzen(const QString& was, const nux::Wechsel& w) {
    if (w.empty()) return;
    verlauf_.push(new nux::Schritt(modell_, was, w));
}

QRect Tbefaehigungen::auswahl() const {
    const QModelIndexList liste = StringGrid1->selectionModel()->selectedIndexes();
    if (liste.isEmpty()) {
        const QModelIndex i = StringGrid1->currentIndex();
        return i.isValid() ? QRect(i.column(), i.row(), 1, 1) : QRect();
    }
    QRect r(liste.first().column(), liste.first().row(), 1, 1);
    for (const QModelIndex& i : liste) r |= QRect(i.column(), i.row(), 1, 1);
    return r;
}

void Tbefaehigungen::auswahlsetzen(nux::Stufe st) {
    const QRect r = auswahl();
    if (r.isNull()) return nux::piepsen();
    std::string text;
    for (int z = r.top(); z <= r.bottom(); ++z) {
        for (int s = r.left(); s <= r.right(); ++s) text += (s > r.left() ? "\t" : "") + nux::stufetext(st);
        text += '\n';
    }
    setzen(QStringLiteral("setzen"), matrix_.einfuegen(r.top(), r.left(), text).wechsel);
}

void Tbefaehigungen::kopieren() {
    const QRect r = auswahl();
    if (r.isNull()) return nux::piepsen();
    QApplication::clipboard()->setText(nux::qs(matrix_.kopieren(r.top(), r.left(), r.bottom(), r.right())));
}

void Tbefaehigungen::einfuegen() {
    const QRect r = auswahl();
    if (r.isNull()) return nux::piepsen();
    // The star is no Windows-1252 character: it would be dropped on the way in.
    QString text = QApplication::clipboard()->text();
    text.replace(QStringLiteral("★"), QStringLiteral("*"));
    std::string block = nux::cp(text);
    // One value onto a larger selection fills it, as in a spreadsheet.
    while (!block.empty() && (block.back() == '\n' || block.back() == '\r')) block.pop_back();
    if (block.find_first_of("\t\n") == std::string::npos && r.width() * r.height() > 1) {
        std::string zeile = block;
        for (int s = 1; s < r.width(); ++s) zeile += '\t' + block;
        block.clear();
        for (int z = 0; z < r.height(); ++z) block += zeile + '\n';
    }
    const nux::Einfuegung e = matrix_.einfuegen(r.top(), r.left(), block);
    if (!e.fehler.empty()) {
        nux::piepsen();
        hinweise(nux::qs(e.fehler));
        return;
    }
    hinweise();
    setzen(QStringLiteral("einfügen"), e.wechsel);
}

bool Tbefaehigungen::eventFilter(QObject* o, QEvent* e) {
    if (o != StringGrid1 || e->type() != QEvent::KeyPress) return QDialog::eventFilter(o, e);
    auto* k = static_cast<QKeyEvent*>(e);
    bool genommen = true;
    nux::sicher([&] {
        const QModelIndex i = StringGrid1->currentIndex();
        if (k->matches(QKeySequence::Copy))
            kopieren();
        else if (k->matches(QKeySequence::Paste))
            einfuegen();
        // The actions' shortcuts take these first while the window is active.
        else if (k->matches(QKeySequence::Undo))
            verlauf_.undo();
        else if (k->matches(QKeySequence::Redo) || (k->key() == Qt::Key_Y && k->modifiers() == Qt::ControlModifier))
            verlauf_.redo();
        else if (k->key() == Qt::Key_Space && k->modifiers() == Qt::NoModifier) {
            if (!i.isValid()) return nux::piepsen();
            // A selection of more than one cell takes the next state of the current one.
            if (auswahl().width() * auswahl().height() > 1)
                auswahlsetzen(nux::naechstestufe(matrix_.stufe(i.row(), i.column())));
            else
                setzen(QStringLiteral("wechseln"), matrix_.weiterschalten(i.row(), i.column()));
        } else if (k->key() == Qt::Key_0 || k->key() == Qt::Key_Delete || k->key() == Qt::Key_Backspace)
            auswahlsetzen(nux::Stufe::keine);
        else if (k->key() == Qt::Key_1)
            auswahlsetzen(nux::Stufe::befaehigt);
        else if (k->key() == Qt::Key_2)
            auswahlsetzen(nux::Stufe::wunsch);
        else
            genommen = false;
    });
    return genommen || QDialog::eventFilter(o, e);
}

void Tbefaehigungen::Button1Click() {
    nux::befaehigungenspeichern(nux::jahrordner(), matrix_.befaehigungen());
    geschrieben_ = true;
    verlauf_.setClean();
    hinweise(QStringLiteral("Gespeichert in %1.")
                 .arg(nux::qs(nux::planungspfad(nux::jahrordner(), nux::kBefaehigungsdatei))));
}

void Tbefaehigungen::Button3Click() {
    const nux::Wechsel w = matrix_.ausverteilung(verteilung_, quelle_ ? &*quelle_ : nullptr);
    QString woher = QStringLiteral("aus der Verteilung dieses Jahres");
    if (quelle_) woher += QStringLiteral(" und von %1").arg(nux::qs(nux::jahranzeige(quelle_->jahr)));
    if (w.empty()) {
        hinweise(QStringLiteral("Aus der Verteilung kommt keine neue Befähigung (%1).").arg(woher));
        return;
    }
    const QString frage = w.size() == 1 ? QStringLiteral("1 Befähigung wird eingetragen (%1). Eintragen?").arg(woher)
                                        : QStringLiteral("%1 Befähigungen werden eingetragen (%2). Eintragen?")
                                              .arg(w.size())
                                              .arg(woher);
    if (nux::fragen(frage, false) != nux::Antwort::ja) return;
    setzen(QStringLiteral("aus der Verteilung übernehmen"), w);
}

bool Tbefaehigungen::freigeben() {
    while (ungespeichert()) {
        switch (nux::fragen(QStringLiteral("Die Befähigungen sind noch nicht gespeichert. Jetzt speichern?"), true)) {
            case nux::Antwort::abbrechen: return false;
            case nux::Antwort::nein: return true;
            case nux::Antwort::ja:
                nux::sicher([this] { Button1Click(); });
                // The failure was shown; the table stays open so it can still be saved.
                if (ungespeichert()) return false;
        }
    }
    return true;
}

void Tbefaehigungen::reject() {
    if (freigeben()) QDialog::reject();
}

void Tbefaehigungen::closeEvent(QCloseEvent* e) {
    // The window's close button asks like "schließen" does.
    e->ignore();
    reject();
}

bool befaehigungenbearbeiten(QWidget* eltern) {
    if (!nux::jahrgesetzt()) {
        nux::piepsen();
        return false;
    }
    Tbefaehigungen d(eltern);
    if (!d.holen()) return false;
    d.exec();
    return d.geschrieben();
}
