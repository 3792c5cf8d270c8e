#include "editors/nux_faecher.h"

#include <QKeyEvent>

#include "editors/kern/faecher.h"
#include "fenster/listenzeichner.h"
#include "storage/jahr.h"
#include "storage/text.h"

namespace {


bool alledrei(Qt::KeyboardModifiers m) {
    return (m & Qt::ShiftModifier) && (m & Qt::ControlModifier) && (m & Qt::AltModifier);
}

}  // namespace

Tfaecherfenster::Tfaecherfenster() : nux::Fenster("Tfaecherfenster", 1016, 616) {
    Label1 = nux::beschriftung(this, "Label1", QStringLiteral("Fächer anlegen"), 20, 10, 24);

    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setGeometry(20, 60, 297, 532);
    ListBox1->setFont(nux::festschrift(16));
    ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListBox1->setUniformItemSizes(true);
    ListBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ListBox1->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    ListBox1->setItemDelegate(new nux::Listenzeichner(16, [](std::string_view z) { return nux::faecher::grau(z); },
                                                      ListBox1));
    ListBox1->installEventFilter(this);
    new nux::Listenmaus(
        ListBox1, {[this](Qt::KeyboardModifiers m, QPoint p) { nux::sicher([&] { ListBox1MouseDown(m, p); }); },
                   [this](Qt::KeyboardModifiers, QPoint) { nux::sicher([this] { ListBox1MouseUp(); }); },
                   [this] { return quelle.has_value(); }});

    // Hides the order number and the flag; the grey colour tells the flag.
    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(20, 60, 51, 532);
    Panel1->setAutoFillBackground(true);
    Panel1->raise();

    Label2 = nux::beschriftung(this, "Label2", QStringLiteral("Name:"), 360, 64);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(500, 60, 300, 24);
    Edit1->setMaxLength(30);
    nux::schreibbar(Edit1);
    Label3 = nux::beschriftung(this, "Label3", QStringLiteral("Kurzbezeichnung:"), 360, 104);
    Edit2 = new QLineEdit(this);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setGeometry(500, 100, 70, 24);
    Edit2->setMaxLength(5);
    nux::schreibbar(Edit2);

    CheckBox1 = new QCheckBox(QStringLiteral("heuer unterrichtet"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setFont(nux::schrift(QStringLiteral("MS Sans Serif"), 13, true));
    CheckBox1->setGeometry(500, 140, 250, 24);
    CheckBox1->setChecked(true);

    Button1 = new QPushButton(QStringLiteral("speichern"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(500, 185, 120, 28);
    Button1->setEnabled(false);
    Button2 = new QPushButton(QStringLiteral("leeren"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(640, 185, 120, 28);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setFocusPolicy(Qt::NoFocus);
    Memo1->setFrameShape(QFrame::NoFrame);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setStyleSheet(QStringLiteral("QPlainTextEdit { background: transparent; }"));
    Memo1->setFont(nux::schrift(QStringLiteral("MS Sans Serif"), 13, false));
    Memo1->setPlainText(QStringLiteral("Reihenfolge ändern: In der Kolonne mit gedrückter Maustaste \n"
                                       "verschieben.\n"
                                       "\n"
                                       "Fächer, die heuer nicht unterrichtet werden, sind hellgrau."));
    Memo1->setGeometry(360, 250, 560, 90);

    setTabOrder(Edit1, Edit2);
    setTabOrder(Edit2, CheckBox1);
    setTabOrder(CheckBox1, Button1);
    setTabOrder(Button1, Button2);
    setTabOrder(Button2, ListBox1);

    connect(Edit1, &QLineEdit::textChanged, this, [this] { nux::sicher([this] { Edit1Change(); }); });
    connect(Edit2, &QLineEdit::textChanged, this, [this] { nux::sicher([this] { Edit1Change(); }); });
    connect(Button1, &QPushButton::clicked, this, [this] { nux::sicher([this] { Button1Click(); }); });
    connect(Button2, &QPushButton::clicked, this, [this] { nux::sicher([this] { Button2Click(); }); });
}

void Tfaecherfenster::FormActivate() {
    if (!nux::jahrvorhanden()) return;
    holen();
}

bool Tfaecherfenster::eventFilter(QObject* o, QEvent* e) {
    if (o == ListBox1 && e->type() == QEvent::KeyRelease) nux::sicher([this] { ListBox1KeyUp(); });
    return nux::Fenster::eventFilter(o, e);
}

void Tfaecherfenster::holen() {
    nux::zeilensetzen(ListBox1, {});
    hoechster = -1;
    gelesen = false;
    quelle.reset();
    Button1->setEnabled(false);
    const auto zeilen = nux::faecher::holen(nux::jahrdatei("faecher"));
    gelesen = true;
    hoechster = static_cast<int>(zeilen.size()) - 1;
    nux::zeilensetzen(ListBox1, zeilen);
    Button2Click();
}

void Tfaecherfenster::speichern() { nux::faecher::schreiben(nux::jahrdatei("faecher"), nux::zeilenvon(ListBox1)); }

void Tfaecherfenster::Edit1Change() { Button1->setEnabled(!Edit1->text().isEmpty() && !Edit2->text().isEmpty()); }

void Tfaecherfenster::Button2Click() {
    nux::waehlen(ListBox1, -1);
    quelle.reset();
    geladen.reset();
    Edit2->clear();
    Edit1->clear();
    Edit1->setFocus();
    CheckBox1->setChecked(true);
}

void Tfaecherfenster::feldersetzen(int zeile) {
    geladen = zeile;
    const std::string z = nux::zeilevon(ListBox1, zeile);
    Edit2->setText(nux::qs(nux::faecher::kurz(z)));
    Edit1->setText(nux::qs(nux::faecher::name(z)));
    CheckBox1->setChecked(nux::faecher::unterrichtet(z));
}

void Tfaecherfenster::ListBox1MouseDown(Qt::KeyboardModifiers m, QPoint p) {
    quelle.reset();
    if (alledrei(m)) return;
    const QModelIndex i = ListBox1->indexAt(p);
    if (!i.isValid()) return;
    nux::waehlen(ListBox1, i.row());
    quelle = i.row();
    feldersetzen(i.row());
}

void Tfaecherfenster::ListBox1MouseUp() {
    const auto von = quelle;
    quelle.reset();
    const auto ziel = nux::gewaehlt(ListBox1);
    if (!von || !ziel || static_cast<std::size_t>(*von) == *ziel) return;
    try {
        nux::faecher::verschieben(nux::jahrdatei("faecher"), nux::zeilenvon(ListBox1),
                                  static_cast<std::size_t>(*von), *ziel);
    } catch (...) {
        // The selection ended on another subject than the fields hold: a
        // save now would write the dragged subject over that one.
        Button2Click();
        throw;
    }
    holen();
}

// The keyboard moves the selection too; the fields follow it, so that a save
// never writes one subject's fields over another.
void Tfaecherfenster::ListBox1KeyUp() {
    const auto g = nux::gewaehlt(ListBox1);
    if (quelle || !g || geladen == static_cast<int>(*g)) return;
    feldersetzen(static_cast<int>(*g));
}

void Tfaecherfenster::Button1Click() {
    // The save rewrites the whole file from the list: after a failed load
    // the list is empty and would replace every subject. Reading again shows
    // the error again, or makes the list whole before the save goes on.
    if (!gelesen) {
        const auto zeilen = nux::faecher::holen(nux::jahrdatei("faecher"));
        nux::zeilensetzen(ListBox1, zeilen);
        hoechster = static_cast<int>(zeilen.size()) - 1;
        gelesen = true;
    }
    std::vector<std::string> zeilen = nux::zeilenvon(ListBox1);
    const nux::faecher::Eingabe e{nux::cp(Edit1->text()), nux::cp(Edit2->text()), CheckBox1->isChecked()};
    std::size_t zeile = 0;
    const auto r = nux::faecher::speichern(nux::jahrdatei("faecher"), zeilen, hoechster, nux::gewaehlt(ListBox1), e,
                                           zeile);
    if (r != nux::faecher::Abgelehnt::nein) {
        nux::piepsen();
        return;
    }
    nux::zeilensetzen(ListBox1, zeilen);
    ListBox1->scrollToItem(ListBox1->item(static_cast<int>(zeile)));
    Button2Click();
}
