#include "editors/nux_klassen.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScopeGuard>
#include <QStyledItemDelegate>

#include "storage/text.h"

namespace {

constexpr int kZeilenhoehe = 13;

// A line's bytes live beside its text: Windows-1252 has bytes without a
// character, and a round trip through QString must not shift a column.
QByteArray roh(const std::string& zeile) {
    return QByteArray(zeile.data(), static_cast<qsizetype>(zeile.size()));
}

std::string zeileaus(const QListWidgetItem* item) {
    const QByteArray b = item->data(Qt::UserRole).toByteArray();
    return std::string(b.constData(), static_cast<std::size_t>(b.size()));
}

QListWidgetItem* neueszeile(const std::string& zeile) {
    auto* item = new QListWidgetItem(nux::qs(zeile));
    item->setData(Qt::UserRole, roh(zeile));
    return item;
}

int gewaehlt(const QListWidget* liste) {
    const auto auswahl = liste->selectedItems();
    return auswahl.isEmpty() ? -1 : liste->row(auswahl.first());
}

// The class table: fixed pitch from 10 pixels in, one row per 13 pixels,
// light grey for a subject without hours.
class Tabellenzeichner : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyleOptionViewItem o = option;
        initStyleOption(&o, index);
        o.text.clear();
        const QWidget* w = o.widget;
        (w ? w->style() : QApplication::style())->drawPrimitive(QStyle::PE_PanelItemViewItem, &o, p, w);
        const QByteArray zeile = index.data(Qt::UserRole).toByteArray();
        p->save();
        p->setClipRect(option.rect);
        p->setFont(nux::festschrift(13));
        p->setPen(zeile.size() >= 4 && zeile[3] == 'X' ? QColor(192, 192, 192) : QColor(Qt::black));
        p->drawText(QRect(option.rect.left() + 10, option.rect.top(), 4000, option.rect.height()),
                    Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                    nux::qs(std::string_view(zeile.constData(), static_cast<std::size_t>(zeile.size()))));
        p->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
        return QSize(100, kZeilenhoehe);
    }
};


// The class list: only the name shows, one class per 20 pixels.
class Klassenzeichner : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return QSize(QStyledItemDelegate::sizeHint(option, index).width(), 20);
    }
};

QLineEdit* feld(QWidget* eltern, const char* name, int laenge, const QRect& platz) {
    auto* e = new QLineEdit(eltern);
    e->setObjectName(QString::fromLatin1(name));
    e->setMaxLength(laenge);
    e->setGeometry(platz);
    return e;
}

// A typed character that Windows-1252 cannot hold never reaches a field.
bool unschreibbar(const QKeyEvent* k) {
    const QString t = k->text();
    return !t.isEmpty() && t.at(0).unicode() >= 0x20 && t.at(0).unicode() != 0x7F && nux::cp(t).empty();
}

}  // namespace

Tklassenfenster::Tklassenfenster() : nux::Fenster("Tklassenfenster", 1016, 616) {
    Label1 = nux::beschriftung(this, "Label1", QStringLiteral("Klassen anlegen"), 20, 8, 19);

    Label5 = nux::beschriftung(this, "Label5", QStringLiteral("Klasse:"), 20, 53, 0);
    Edit1 = feld(this, "Edit1", 3, QRect(80, 48, 56, 28));
    Edit1->setFont(nux::schrift(QStringLiteral("MS Sans Serif"), 16, true));

    Button2 = new QPushButton(QStringLiteral("leeren"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(146, 49, 75, 26);

    Label2 = nux::beschriftung(this, "Label2", QStringLiteral("Klasse"), 20, 88, 0);
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setGeometry(20, 106, 49, 380);
    ListBox1->setFont(nux::festschrift(16));
    ListBox1->setItemDelegate(new Klassenzeichner(ListBox1));
    ListBox1->setUniformItemSizes(true);
    ListBox1->setTextElideMode(Qt::ElideNone);
    ListBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(20, 494, 160, 40);
    Panel1->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    Button1 = new QPushButton(QStringLiteral("kopieren von Klasse "), Panel1);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(5, 5, 150, 30);
    Panel1->hide();

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setFocusPolicy(Qt::NoFocus);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setPlainText(QStringLiteral("Klasse löschen: ALT-CRTL-STRG-Klick in der \nKlassenliste"));
    Memo1->setGeometry(20, 550, 300, 44);

    Label3 = nux::beschriftung(this, "Label3", QStringLiteral("Fächer"), 200, 88, 0);
    ListBox2 = new QListWidget(this);
    ListBox2->setObjectName(QStringLiteral("ListBox2"));
    ListBox2->setGeometry(200, 106, 545, 440);
    ListBox2->setItemDelegate(new Tabellenzeichner(ListBox2));
    ListBox2->setUniformItemSizes(true);
    ListBox2->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ListBox2->setSelectionMode(QAbstractItemView::SingleSelection);

    // Hides the order number and the hours flag at the start of every row.
    Panel3 = new QFrame(this);
    Panel3->setObjectName(QStringLiteral("Panel3"));
    Panel3->setGeometry(200, 106, 57, 440);
    Panel3->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    Panel3->setAutoFillBackground(true);
    Panel3->raise();

    Panel2 = new QFrame(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setGeometry(760, 106, 246, 350);
    Panel2->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    Panel2->setAutoFillBackground(true);
    Label4 = nux::beschriftung(Panel2, "Label4", QString(), 10, 8, 0);
    Label4->setFont(nux::schrift(QStringLiteral("MS Sans Serif"), 16, true));
    Label4->setFixedWidth(220);
    nux::beschriftung(Panel2, "Label6", QStringLiteral("Stunden LehrerIn 1:"), 10, 48, 0);
    nux::beschriftung(Panel2, "Label7", QStringLiteral("LehrerIn 2:"), 10, 78, 0);
    nux::beschriftung(Panel2, "Label8", QStringLiteral("LehrerIn 3:"), 10, 108, 0);
    Edit2 = feld(Panel2, "Edit2", 4, QRect(150, 44, 56, 24));
    Edit3 = feld(Panel2, "Edit3", 4, QRect(150, 74, 56, 24));
    Edit4 = feld(Panel2, "Edit4", 4, QRect(150, 104, 56, 24));
    nux::beschriftung(Panel2, "Label9", QStringLiteral("Zusatzzeile Stunde 1:"), 10, 142, 0);
    Edit5 = feld(Panel2, "Edit5", 30, QRect(10, 160, 226, 24));
    nux::beschriftung(Panel2, "Label10", QStringLiteral("Zusatzzeile Stunde 2:"), 10, 194, 0);
    Edit6 = feld(Panel2, "Edit6", 30, QRect(10, 212, 226, 24));
    nux::beschriftung(Panel2, "Label11", QStringLiteral("Zusatzzeile Stunde 3:"), 10, 246, 0);
    Edit7 = feld(Panel2, "Edit7", 30, QRect(10, 264, 226, 24));
    Button3 = new QPushButton(QStringLiteral("ok"), Panel2);
    Button3->setObjectName(QStringLiteral("Button3"));
    Button3->setGeometry(10, 306, 75, 28);
    Panel2->hide();

    QWidget::setTabOrder(Edit1, Button2);
    QWidget::setTabOrder(Button2, ListBox1);
    QWidget::setTabOrder(ListBox1, ListBox2);
    QWidget::setTabOrder(ListBox2, Edit2);
    QWidget::setTabOrder(Edit2, Edit3);
    QWidget::setTabOrder(Edit3, Edit4);
    QWidget::setTabOrder(Edit4, Edit5);
    QWidget::setTabOrder(Edit5, Edit6);
    QWidget::setTabOrder(Edit6, Edit7);
    QWidget::setTabOrder(Edit7, Button3);

    for (QObject* o : std::initializer_list<QObject*>{Edit1, Edit2, Edit3, Edit4, Edit5, Edit6, Edit7, Panel2,
                                                      ListBox1->viewport()})
        o->installEventFilter(this);

    connect(Button1, &QPushButton::clicked, this, [this] { nux::sicher([this] { Button1Click(); }); });
    connect(Button2, &QPushButton::clicked, this, [this] { nux::sicher([this] { Button2Click(); }); });
    connect(Button3, &QPushButton::clicked, this, [this] { nux::sicher([this] { Button3Click(); }); });
    // A changed selection (mouse or keyboard) opens the row; a click on the
    // row already open must not throw away what is typed into the panel.
    connect(ListBox2, &QListWidget::itemSelectionChanged, this, [this] {
        if (!leise_ && gewaehlt(ListBox2) >= 0) nux::sicher([this] { ListBox2Click(); });
    });
}

Tklassenfenster::~Tklassenfenster() {
    // Destroying the fields moves the focus; no handler may run then.
    for (QObject* o : std::initializer_list<QObject*>{Edit1, Edit2, Edit3, Edit4, Edit5, Edit6, Edit7, Panel2,
                                                      ListBox1->viewport()})
        o->removeEventFilter(this);
}

bool Tklassenfenster::eventFilter(QObject* o, QEvent* e) {
    const auto typ = e->type();
    if (o == ListBox1->viewport()) {
        if (typ == QEvent::MouseButtonPress) {
            auto* m = static_cast<QMouseEvent*>(e);
            QListWidgetItem* item = ListBox1->itemAt(m->position().toPoint());
            {
                leise_ = true;
                const auto zurueck = qScopeGuard([this] { leise_ = false; });
                if (item)
                    ListBox1->setCurrentItem(item);
                else
                    ListBox1->clearSelection();
            }
            const auto tasten = m->modifiers();
            nux::sicher([this, tasten] { ListBox1MouseDown(tasten); });
            return true;
        }
        // One press is one gesture: a double click must not delete twice, and
        // dragging must not move the selection.
        if (typ == QEvent::MouseButtonDblClick || typ == QEvent::MouseMove) return true;
        return false;
    }
    if (o == Panel2) {
        if (typ == QEvent::MouseButtonPress &&
            !Panel2->childAt(static_cast<QMouseEvent*>(e)->position().toPoint())) {
            nux::sicher([this] { Panel2Click(); });
            return true;
        }
        return false;
    }
    auto* edit = qobject_cast<QLineEdit*>(o);
    if (!edit) return false;
    const bool stunden = edit == Edit2 || edit == Edit3 || edit == Edit4;
    if (typ == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(e);
        if (edit == Edit1 && (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter)) {
            ListBox1->setFocus(Qt::TabFocusReason);  // Enter leaves the name box like Tab
            return true;
        }
        if (stunden) {
            const QString t = k->text();
            if (t.isEmpty() || k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab || k->key() == Qt::Key_Delete)
                return false;
            QString rest = edit->text();
            if (edit->hasSelectedText()) rest.remove(edit->selectionStart(), edit->selectedText().size());
            const char c = t.size() == 1 && t.at(0).unicode() < 0x80 ? static_cast<char>(t.at(0).unicode()) : '\0';
            return !(c != '\0' && nux::stundenzeichen(nux::cp(rest), c));
        }
        return unschreibbar(k);
    }
    if (typ == QEvent::FocusIn && edit == Edit1) {
        nux::sicher([this] { Edit1Enter(); });
        return false;
    }
    if (typ == QEvent::FocusOut) {
        const auto grund = static_cast<QFocusEvent*>(e)->reason();
        if (edit == Edit1) {
            // Leaving the window for another one is no decision about the name.
            if (grund != Qt::ActiveWindowFocusReason && grund != Qt::PopupFocusReason && isVisible())
                nux::sicher([this] { Edit1Exit(); });
        } else if (stunden) {
            nux::sicher([this, edit] { Edit2Exit(edit); });
        }
    }
    return false;
}

void Tklassenfenster::FormActivate() {
    if (!nux::jahrvorhanden()) {
        modell_.sperren(nux::kBereich);
        listezeigen();
        Button2Click();
        return;
    }
    modell_.CopyPending = false;
    starten();
}

void Tklassenfenster::starten() {
    // Whatever could be read is shown, and the window is left empty and usable.
    const auto danach = qScopeGuard([this] {
        listezeigen();
        Button2Click();
    });
    modell_.starten();
}

void Tklassenfenster::nachladen(const std::function<void()>& aenderung) {
    const auto danach = qScopeGuard([this] {
        listezeigen();
        Button2Click();
    });
    aenderung();
}

void Tklassenfenster::speichern() { modell_.speichern(); }

void Tklassenfenster::klassenfuellen() { tabellezeigen(modell_.klassenfuellen(modell_.CurrentClass)); }

void Tklassenfenster::Edit1Exit() {
    const std::string t = nux::trimmen(nux::cp(Edit1->text()));
    if (!t.empty()) {
        int position = modell_.suchen(t);
        if (position < 0) {
            const auto danach = qScopeGuard([this] { listezeigen(); });
            modell_.anlegen(nux::cp(Edit1->text()));
        }
        position = modell_.suchen(t);
        leise_ = true;
        ListBox1->setCurrentRow(position);
        leise_ = false;
        ListBox1MouseDown(Qt::NoModifier);
    }
    Panel1->setVisible(modell_.zeilen().size() >= 2);
}

void Tklassenfenster::Edit1Enter() { Panel1->hide(); }

void Tklassenfenster::ListBox1MouseDown(Qt::KeyboardModifiers tasten) {
    const int position = gewaehlt(ListBox1);
    if (position < 0) {
        ListBox1->clearSelection();
        Panel1->hide();
        return;
    }
    const Qt::KeyboardModifiers loeschtasten = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;
    if ((tasten & loeschtasten) == loeschtasten) {
        ListBox1->clearSelection();
        ListBox2->clear();
        nachladen([this, position] { modell_.entfernen(position); });
        return;
    }
    if (modell_.CopyPending) {
        nachladen([this, position] { modell_.kopieren(position); });
        Panel1->hide();
        return;
    }
    const std::string zeile = modell_.zeilen().at(static_cast<std::size_t>(position));
    modell_.CurrentClass = nux::zeilenindex(zeile);
    Edit1->setText(nux::qs(nux::zeilenname(zeile)));
    klassenfuellen();
    Panel2->hide();
}

void Tklassenfenster::Button1Click() {
    // The copy needs its target: without a selected class nothing is armed.
    const int position = gewaehlt(ListBox1);
    if (position < 0) return;
    modell_.CopyTarget = nux::zahllesen(nux::teil(modell_.zeilen().at(static_cast<std::size_t>(position)), 201, 205));
    modell_.CopyPending = true;
    ListBox1->setFocus();
}

void Tklassenfenster::Button2Click() {
    Panel1->hide();
    Panel2->hide();
    leise_ = true;
    ListBox1->clearSelection();
    ListBox2->clear();
    leise_ = false;
    Edit1->clear();
    Edit1->setFocus();
}

void Tklassenfenster::ListBox2Click() {
    const int reihe = gewaehlt(ListBox2);
    if (reihe < 0) return;
    Panel1->hide();
    const nux::Zeilenfelder f = nux::zeilenfelder(zeileaus(ListBox2->item(reihe)));
    Label4->setText(nux::qs(f.kurz));
    felderzeigen(f);
    Panel2->show();
    Edit2->setFocus();
    Edit2->selectAll();  // typing replaces the hours, as after Tab
}

void Tklassenfenster::Edit2Exit(QLineEdit* feld) {
    feld->setText(nux::qs(nux::stundennormalisieren(nux::cp(feld->text()))));
}

void Tklassenfenster::Button3Click() {
    nux::Zeilenfelder f = nux::stundenaufbereiten(felder());
    felderzeigen(f);
    const int reihe = gewaehlt(ListBox2);
    if (reihe < 0) return;
    f = nux::lueckenschliessen(f);
    felderzeigen(f);
    QListWidgetItem* item = ListBox2->item(reihe);
    const std::string alt = zeileaus(item);
    const std::string neu = nux::zeileerneuern(alt, f);
    item->setText(nux::qs(neu));
    item->setData(Qt::UserRole, roh(neu));
    const int fach = nux::zeilenindex(alt);
    if (modell_.CurrentClass < 0 || modell_.CurrentClass > modell_.LastClass || fach < 0 || fach >= nux::kFaecherMax)
        throw nux::Dateifehler(nux::kBereich);
    nux::zeileuebernehmen(modell_.Classes[static_cast<std::size_t>(modell_.CurrentClass)], fach, f);
    speichern();
    if (reihe + 1 < ListBox2->count()) {
        leise_ = true;
        ListBox2->setCurrentRow(reihe + 1);
        leise_ = false;
        ListBox2Click();
    }
}

void Tklassenfenster::Panel2Click() {
    Panel2->hide();
    leise_ = true;
    ListBox2->clearSelection();
    leise_ = false;
}

void Tklassenfenster::listezeigen() {
    leise_ = true;
    ListBox1->clear();
    for (const auto& z : modell_.zeilen()) ListBox1->addItem(neueszeile(z));
    leise_ = false;
}

void Tklassenfenster::tabellezeigen(const std::vector<std::string>& reihen) {
    leise_ = true;
    ListBox2->clear();
    for (const auto& r : reihen) ListBox2->addItem(neueszeile(r));
    leise_ = false;
}

nux::Zeilenfelder Tklassenfenster::felder() const {
    nux::Zeilenfelder f;
    f.kurz = nux::cp(Label4->text());
    const QLineEdit* stunden[] = {Edit2, Edit3, Edit4};
    const QLineEdit* zusatz[] = {Edit5, Edit6, Edit7};
    for (std::size_t j = 0; j < nux::kSlots; ++j) {
        f.stunden[j] = nux::cp(stunden[j]->text());
        f.zusatz[j] = nux::cp(zusatz[j]->text());
    }
    return f;
}

void Tklassenfenster::felderzeigen(const nux::Zeilenfelder& f) {
    QLineEdit* stunden[] = {Edit2, Edit3, Edit4};
    QLineEdit* zusatz[] = {Edit5, Edit6, Edit7};
    for (std::size_t j = 0; j < nux::kSlots; ++j) {
        stunden[j]->setText(nux::qs(f.stunden[j]));
        zusatz[j]->setText(nux::qs(f.zusatz[j]));
    }
}
