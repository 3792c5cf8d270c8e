#include "editors/nux_lehrer.h"

#include <QFocusEvent>
#include <QKeyEvent>

#include "editors/kern/faecher.h"
#include "editors/kern/lehrer.h"
#include "fenster/listenzeichner.h"
#include "assignment/nux_befaehigungen.h"
#include "storage/datei.h"
#include "storage/jahr.h"
#include "storage/text.h"

namespace {


QLineEdit* feld(QWidget* eltern, const char* name, int y, int breite) {
    auto* e = new QLineEdit(eltern);
    e->setObjectName(QString::fromLatin1(name));
    e->setGeometry(500, y, breite, 24);
    return e;
}

}  // namespace

Tlehrerfenster::Tlehrerfenster() : nux::Fenster("Tlehrerfenster", 1016, 616) {
    Label1 = nux::beschriftung(this, "Label1", QStringLiteral("LehrerInnen anlegen"), 20, 10, 24);

    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setGeometry(20, 60, 273, 524);
    ListBox1->setFont(nux::festschrift(16));
    ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListBox1->setUniformItemSizes(true);
    ListBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ListBox1->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    ListBox1->setItemDelegate(
        new nux::Listenzeichner(20, [](std::string_view z) { return nux::lehrer::grau(z); }, ListBox1));
    ListBox1->installEventFilter(this);
    // No dragging here: the selection stays on the teacher the press loaded.
    new nux::Listenmaus(
        ListBox1, {[this](Qt::KeyboardModifiers m, QPoint p) { nux::sicher([&] { ListBox1MouseDown(m, p); }); },
                   nullptr, nullptr});

    Label2 = nux::beschriftung(this, "Label2", QStringLiteral("eingetragene LehrerInnen: 0"), 360, 64);
    Label2->setMinimumWidth(300);
    Label3 = nux::beschriftung(this, "Label3", QStringLiteral("Name:"), 360, 114);
    Edit1 = feld(this, "Edit1", 110, 400);
    Edit1->setMaxLength(40);
    nux::schreibbar(Edit1);
    Label4 = nux::beschriftung(this, "Label4", QStringLiteral("Kurzbezeichnung:"), 360, 154);
    Edit3 = feld(this, "Edit3", 150, 70);
    Edit3->setMaxLength(4);
    nux::schreibbar(Edit3);
    Label5 = nux::beschriftung(this, "Label5", QStringLiteral("Stunden:"), 360, 194);
    Edit2 = feld(this, "Edit2", 190, 70);
    // Typed characters pass the hours filter; pasted text is cleaned when
    // the field is left and again when it is saved.
    Edit2->setContextMenuPolicy(Qt::NoContextMenu);
    Edit2->setAcceptDrops(false);

    Button1 = new QPushButton(QStringLiteral("speichern"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(500, 240, 120, 28);
    Button1->setEnabled(false);
    Button2 = new QPushButton(QStringLiteral("leeren"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(640, 240, 120, 28);
    Button3 = new QPushButton(QStringLiteral("Wer unterrichtet was"), this);
    Button3->setObjectName(QStringLiteral("Button3"));
    Button3->setGeometry(500, 300, 260, 28);
    // Reached by Tab; a click leaves the focus, and with it the name field, alone.
    Button3->setFocusPolicy(Qt::TabFocus);

    setTabOrder(Edit1, Edit3);
    setTabOrder(Edit3, Edit2);
    setTabOrder(Edit2, Button1);
    setTabOrder(Button1, Button2);
    setTabOrder(Button2, ListBox1);

    Edit1->installEventFilter(this);
    Edit2->installEventFilter(this);
    connect(Edit1, &QLineEdit::textChanged, this, [this] { nux::sicher([this] { Edit1Change(); }); });
    connect(Edit3, &QLineEdit::textChanged, this, [this] { nux::sicher([this] { Edit1Change(); }); });
    connect(Button1, &QPushButton::clicked, this, [this] { nux::sicher([this] { Button1Click(); }); });
    connect(Button2, &QPushButton::clicked, this, [this] { nux::sicher([this] { Button2Click(); }); });
    connect(Button3, &QPushButton::clicked, this, [this] { nux::sicher([this] { befaehigungenbearbeiten(this); }); });
}

bool Tlehrerfenster::eventFilter(QObject* o, QEvent* e) {
    if (o == Edit1 && nux::verlassen(e)) nux::sicher([this] { Edit1Exit(); });
    if (o == Edit2 && nux::verlassen(e)) nux::sicher([this] { Edit2Exit(); });
    if (o == Edit2 && e->type() == QEvent::KeyPress) {
        bool weg = false;
        nux::sicher([&] { weg = Edit2KeyPress(static_cast<QKeyEvent*>(e)); });
        if (weg) return true;
    }
    if (o == ListBox1 && e->type() == QEvent::KeyRelease) nux::sicher([this] { ListBox1KeyUp(); });
    return nux::Fenster::eventFilter(o, e);
}

void Tlehrerfenster::FormActivate() {
    if (!nux::jahrvorhanden()) return;
    nux::zeilensetzen(ListBox1, {});
    Button1->setEnabled(false);
    nux::zeilensetzen(ListBox1, nux::lehrer::holen(nux::jahrdatei("lehrer")));
    Button2Click();
    zaehlen();
}

void Tlehrerfenster::zaehlen() {
    Label2->setText(QStringLiteral("eingetragene LehrerInnen: ") + QString::number(ListBox1->count()));
}

void Tlehrerfenster::Edit1Change() {
    Button1->setEnabled(nux::lehrer::speichernerlaubt(nux::zeilenvon(ListBox1), nux::cp(Edit1->text()),
                                                      nux::cp(Edit3->text())));
}

void Tlehrerfenster::Edit1Exit() { Edit3->setText(nux::qs(nux::lehrer::kurzvorschlag(nux::cp(Edit1->text())))); }

// Returns true when the character is dropped. Keys that type nothing (the
// arrows, Delete, Tab) are no characters and pass.
bool Tlehrerfenster::Edit2KeyPress(QKeyEvent* e) {
    if (e->key() == Qt::Key_Backspace || e->key() == Qt::Key_Delete || e->key() == Qt::Key_Tab ||
        e->key() == Qt::Key_Backtab)
        return false;
    const QString t = e->text();
    if (t.isEmpty()) return false;
    if (t.size() != 1 || t[0].unicode() > 0x7f) return true;
    return !nux::lehrer::stundenzeichen(nux::cp(Edit2->text()), static_cast<char>(t[0].unicode()));
}

void Tlehrerfenster::Edit2Exit() { Edit2->setText(nux::qs(nux::lehrer::stundennormal(nux::cp(Edit2->text())))); }

void Tlehrerfenster::lehrerladen(int zeile) {
    const std::string z = nux::zeilevon(ListBox1, zeile);
    const auto l = nux::satzlesen<nux::Lehrersatz>(nux::jahrdatei("lehrer"),
                                                   static_cast<std::size_t>(nux::listenzeile::index(z)));
    Edit1->setText(nux::qs(l.name));
    Edit3->setText(nux::qs(l.kurz));
    Edit2->setText(nux::qs(nux::zehntelzeigen(l.stunden, 4)));
}

void Tlehrerfenster::ListBox1MouseDown(Qt::KeyboardModifiers m, QPoint p) {
    const bool alledrei = (m & Qt::ShiftModifier) && (m & Qt::ControlModifier) && (m & Qt::AltModifier);
    const QModelIndex i = ListBox1->indexAt(p);
    if (!alledrei && i.isValid()) {
        nux::waehlen(ListBox1, i.row());
        lehrerladen(i.row());
        Button1->setEnabled(true);
    }
    zaehlen();
}

void Tlehrerfenster::ListBox1KeyUp() {
    const auto g = nux::gewaehlt(ListBox1);
    if (g) lehrerladen(static_cast<int>(*g));
}

void Tlehrerfenster::Button1Click() {
    std::vector<std::string> zeilen = nux::zeilenvon(ListBox1);
    const nux::lehrer::Eingabe e{nux::cp(Edit1->text()), nux::cp(Edit3->text()), nux::cp(Edit2->text())};
    std::size_t zeile = 0;
    if (nux::lehrer::speichern(nux::jahrdatei("lehrer"), zeilen, nux::gewaehlt(ListBox1), e, zeile) !=
        nux::lehrer::Abgelehnt::nein) {
        nux::piepsen();
        return;
    }
    nux::zeilensetzen(ListBox1, zeilen);
    ListBox1->scrollToItem(ListBox1->item(static_cast<int>(zeile)));
    zaehlen();
    Button2Click();
}

void Tlehrerfenster::Button2Click() {
    nux::waehlen(ListBox1, -1);
    Edit1->clear();
    Edit3->clear();
    Edit2->setText(QStringLiteral("0,0"));
    Edit1->setFocus();
}
