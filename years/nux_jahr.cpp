#include "years/nux_jahr.h"

#include <QButtonGroup>
#include <QKeyEvent>
#include <QMouseEvent>

#include "fenster/newcomps.h"
#include "storage/jahr.h"
#include "storage/text.h"
#include "years/kern/jahre.h"
#include "years/kern/versetzung.h"
#include "years/nux_sicherungen.h"
#include "years/nux_vergleich.h"
#include "years/nux_versetzung.h"

namespace {

// Folder names are bytes; the item keeps them as they are, whatever its
// displayed text makes of them.
constexpr int kNameRolle = Qt::UserRole;

std::string eintragname(const QListWidgetItem* it) {
    const QByteArray b = it->data(kNameRolle).toByteArray();
    return std::string(b.constData(), static_cast<std::size_t>(b.size()));
}

QListWidgetItem* eintrag(const std::string& name) {
    auto* it = new QListWidgetItem(nux::qs(name));
    it->setData(kNameRolle, QByteArray(name.data(), static_cast<qsizetype>(name.size())));
    return it;
}


QRadioButton* wahlknopf(QWidget* eltern, const char* name, const QString& text, int x, int y) {
    auto* r = new QRadioButton(text, eltern);
    r->setObjectName(QString::fromLatin1(name));
    r->setFont(nux::schrift(QStringLiteral("MS Sans Serif"), 14, true));
    r->setGeometry(x, y, 420, 24);
    return r;
}

}  // namespace

Tjahrliste::Tjahrliste(QWidget* eltern) : QListWidget(eltern) {
    setSelectionMode(QAbstractItemView::SingleSelection);
}

void Tjahrliste::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) {
        setFocus(Qt::MouseFocusReason);
        if (auto* it = itemAt(e->position().toPoint())) setCurrentItem(it);
    }
    e->accept();
    if (gedrueckt) gedrueckt(e->modifiers());
}

void Tjahrliste::mouseDoubleClickEvent(QMouseEvent* e) { mousePressEvent(e); }

void Tjahrliste::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        e->accept();
        if (gedrueckt) gedrueckt(e->modifiers());
        return;
    }
    QListWidget::keyPressEvent(e);
}

Tjahrfenster::Tjahrfenster() : nux::Fenster("Tjahrfenster", 1016, 616) {
    Label1 = nux::beschriftung(this, "Label1", QStringLiteral("Jahr auswählen"), 20, 10, 24);

    ListBox1 = new Tjahrliste(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setFont(nux::festschrift(16));
    ListBox1->setGeometry(20, 55, 330, 540);
    ListBox1->gedrueckt = [this](Qt::KeyboardModifiers t) { nux::sicher([&] { ListBox1MouseDown(t); }); };

    Memo2 = new QPlainTextEdit(this);
    Memo2->setObjectName(QStringLiteral("Memo2"));
    Memo2->setReadOnly(true);
    Memo2->setFocusPolicy(Qt::NoFocus);
    Memo2->setFont(nux::schrift(QStringLiteral("MS Sans Serif"), 14, false));
    Memo2->setPlainText(QStringLiteral("Jedes Jahr besteht aus der Jahreszahl und einer Nummer, die \n"
                                       "angibt, um die wievielte NUX eines Jahres sich handelt.\n"
                                       "Jahr wählen: Klick\n"
                                       "Übernahme von Daten: ALT-Klick"));
    Memo2->setGeometry(380, 55, 610, 90);

    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(380, 160, 610, 50);
    Label2 = nux::beschriftung(Panel1, "Label2", QStringLiteral("Jahr:"), 10, 14, 14);
    teditzahl1 = new teditzahl(Panel1);
    teditzahl1->setObjectName(QStringLiteral("teditzahl1"));
    teditzahl1->setMaximum(9999);
    teditzahl1->setMinimum(0);
    teditzahl1->setLeer(false);
    teditzahl1->setMaxLength(4);
    teditzahl1->setText(QStringLiteral("0"));
    teditzahl1->setFont(nux::schrift(QStringLiteral("MS Sans Serif"), 14, true));
    teditzahl1->setGeometry(70, 10, 70, 28);
    connect(teditzahl1, &teditzahl::geaendert, this, [this] { nux::sicher([this] { teditzahl1Change(); }); });
    Label3 = nux::beschriftung(Panel1, "Label3", QStringLiteral("Nummer:"), 170, 14, 14);
    teditnummer1 = new teditnummer(Panel1);
    teditnummer1->setObjectName(QStringLiteral("teditnummer1"));
    teditnummer1->setMit(false);
    teditnummer1->setMaxLength(1);
    teditnummer1->setText(QStringLiteral("0"));
    teditnummer1->setFont(nux::schrift(QStringLiteral("MS Sans Serif"), 14, true));
    teditnummer1->setGeometry(255, 10, 36, 28);
    Button1 = new QPushButton(QStringLiteral("speichern"), Panel1);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(320, 8, 120, 32);
    Button1->setEnabled(false);
    connect(Button1, &QPushButton::clicked, this, [this] { nux::sicher([this] { Button1Click(); }); });
    Panel1->hide();

    // Radio buttons form groups by the widget they stand in, and Qt counts
    // every button below that widget: so the three containers stand side by
    // side, none inside another. "LehrerInnen" and "Klassen mit
    // Unterrichtseinsatz" share Panel5, the four class choices Panel3, and
    // "Fächernamen" is alone in Panel4.
    Panel2 = new QWidget(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setGeometry(380, 230, 610, 330);
    Label4 = new QLabel(QStringLiteral("Datenübernahme von"), Panel2);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->setFont(nux::schrift(QStringLiteral("MS Sans Serif"), 16, true));
    Label4->setStyleSheet(QStringLiteral("color: rgb(255,0,0);"));
    Label4->setGeometry(10, 8, 590, 26);
    Panel5 = new QWidget(Panel2);
    Panel5->setObjectName(QStringLiteral("Panel5"));
    Panel5->setGeometry(10, 42, 440, 56);
    RadioButton5 = wahlknopf(Panel5, "RadioButton5", QStringLiteral("LehrerInnen"), 10, 2);
    RadioButton7 = wahlknopf(Panel5, "RadioButton7", QStringLiteral("Klassen mit Unterrichtseinsatz"), 10, 29);
    Panel4 = new QWidget(Panel2);
    Panel4->setObjectName(QStringLiteral("Panel4"));
    Panel4->setGeometry(10, 102, 440, 28);
    RadioButton6 = wahlknopf(Panel4, "RadioButton6", QStringLiteral("Fächernamen"), 10, 2);
    // Qt lets a radio button alone in its container be clicked off again;
    // an exclusive group of one keeps it checked.
    (new QButtonGroup(Panel4))->addButton(RadioButton6);
    Panel3 = new QWidget(Panel2);
    Panel3->setObjectName(QStringLiteral("Panel3"));
    Panel3->setGeometry(10, 134, 440, 112);
    RadioButton1 = wahlknopf(Panel3, "RadioButton1", QStringLiteral("Klassen  ohne Stunden ohne Zusatztext"), 10, 2);
    RadioButton2 = wahlknopf(Panel3, "RadioButton2", QStringLiteral("Klassen  mit Stunden ohne Zusatztext "), 10, 29);
    RadioButton3 = wahlknopf(Panel3, "RadioButton3", QStringLiteral("Klassen  ohne Stunden mit Zusatztext"), 10, 56);
    RadioButton4 = wahlknopf(Panel3, "RadioButton4", QStringLiteral("Klassen mit Stunden mit Zusatztext"), 10, 83);
    Button2 = new QPushButton(QStringLiteral("Start"), Panel2);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(20, 262, 120, 32);
    Button2->setEnabled(false);
    connect(Button2, &QPushButton::clicked, this, [this] { nux::sicher([this] { Button2Click(); }); });
    // Right of "Start", below the class choices: the promotion changes how
    // the class choices are carried out, and stands in no radio group.
    CheckBox1 = new QCheckBox(QStringLiteral("Klassen versetzen"), Panel2);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setFont(nux::schrift(QStringLiteral("MS Sans Serif"), 14, true));
    CheckBox1->setGeometry(170, 254, 420, 24);
    CheckBox1->setToolTip(QStringLiteral("5a wird 6a, die oberste Stufe verlässt die Schule, neue Eingangsklassen "
                                         "kommen dazu; vor dem Schreiben zeigt eine Vorschau die Zuordnung."));
    CheckBox2 = new QCheckBox(QStringLiteral("LehrerInnen wandern mit der Klasse"), Panel2);
    CheckBox2->setObjectName(QStringLiteral("CheckBox2"));
    CheckBox2->setFont(nux::schrift(QStringLiteral("MS Sans Serif"), 14, true));
    CheckBox2->setGeometry(170, 281, 420, 24);
    CheckBox2->setEnabled(false);
    connect(CheckBox1, &QCheckBox::toggled, CheckBox2, &QWidget::setEnabled);
    Panel2->hide();

    // Left of "Sicherungen".
    Button4 = new QPushButton(QStringLiteral("Pläne vergleichen"), this);
    Button4->setObjectName(QStringLiteral("Button4"));
    Button4->setGeometry(710, 572, 150, 32);
    connect(Button4, &QPushButton::clicked, this, [this] { nux::sicher([this] { Button4Click(); }); });

    // Below the takeover panel, where no control of the window stands.
    Button3 = new QPushButton(QStringLiteral("Sicherungen"), this);
    Button3->setObjectName(QStringLiteral("Button3"));
    Button3->setGeometry(870, 572, 120, 32);
    connect(Button3, &QPushButton::clicked, this, [this] { Button3Click(); });
}

void Tjahrfenster::Button3Click() {
    if (!nux::jahrgesetzt()) {
        nux::piepsen();
        return;
    }
    auto* dialog = new Tsicherungen(nux::jahrordner(), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

// Only the new-year panel and "Start" are reset; the takeover panel, its
// heading and its choices keep their state from one visit to the next.
void Tjahrfenster::FormActivate() {
    Panel1->hide();
    Button2->setEnabled(false);
    holen();
}

void Tjahrfenster::holen() {
    ListBox1->clear();
    for (const auto& name : nux::jahrliste()) ListBox1->addItem(eintrag(name));
}

void Tjahrfenster::ListBox1MouseDown(Qt::KeyboardModifiers tasten) {
    QListWidgetItem* it = ListBox1->currentItem();
    if (!it || !it->isSelected()) return;
    const std::string name = eintragname(it);
    const bool uebernahme = Panel2->isVisibleTo(this);
    // While a takeover is being set up, "--> neues Jahr" is marked like any
    // entry; the takeover finds no year folder by that name and copies nothing.
    if (ListBox1->row(it) == 0 && !uebernahme) {
        Panel1->show();
        teditzahl1->setFocus(Qt::OtherFocusReason);
        teditzahl1->selectAll();
        return;
    }
    if (tasten & Qt::AltModifier) {
        Panel2->show();
        kopf = nux::zielkopf(name);
        Label4->setText(nux::qs(kopf));
        return;
    }
    if (uebernahme) {
        kopf = nux::quellkopf(kopf, name);
        Label4->setText(nux::qs(kopf));
        Button2->setEnabled(true);
        return;
    }
    jahrwaehlen(name);
}

void Tjahrfenster::jahrwaehlen(const std::string& jahr) {
    nux::jahraktschreiben(jahr);
    nux::jahrsetzen(jahr);
    if (nux::jahrgewaehlt()) nux::jahrgewaehlt()(jahr);
    zurueck();
}

void Tjahrfenster::teditzahl1Change() { Button1->setEnabled(!teditzahl1->text().isEmpty()); }

void Tjahrfenster::Button1Click() {
    QListWidgetItem* it = ListBox1->currentItem();
    if (!it || !it->isSelected() || ListBox1->row(it) != 0) return;
    std::string name;
    switch (nux::jahranlegen(nux::cp(teditzahl1->text()), nux::cp(teditnummer1->text()), name)) {
        case nux::Anlegeergebnis::ungueltig:
            // A shorter year would make a folder the list no longer shows.
            nux::piepsen();
            return;
        case nux::Anlegeergebnis::vorhanden:
            return;
        case nux::Anlegeergebnis::angelegt:
            break;
    }
    int zeile = 1;
    while (zeile < ListBox1->count() && !nux::textvor(name, eintragname(ListBox1->item(zeile)))) ++zeile;
    ListBox1->insertItem(zeile, eintrag(name));
    ListBox1->setCurrentRow(0);
}

nux::Uebernahmewahl Tjahrfenster::uebernahmewahl() const {
    nux::Uebernahmewahl wahl;
    wahl.lehrer = RadioButton5->isChecked();
    wahl.faecher = RadioButton6->isChecked();
    wahl.unterrichtseinsatz = RadioButton7->isChecked();
    if (RadioButton1->isChecked()) wahl.klassen = nux::Klassenwahl::ohneStundenOhneZusatz;
    if (RadioButton2->isChecked()) wahl.klassen = nux::Klassenwahl::mitStundenOhneZusatz;
    if (RadioButton3->isChecked()) wahl.klassen = nux::Klassenwahl::ohneStundenMitZusatz;
    if (RadioButton4->isChecked()) wahl.klassen = nux::Klassenwahl::mitStundenMitZusatz;
    return wahl;
}

void Tjahrfenster::Button2Click() {
    const nux::Uebernahmewahl wahl = uebernahmewahl();
    if (CheckBox1->isChecked()) {
        versetzen(wahl);
        return;
    }
    if (nux::uebernehmen(nux::uebernahmepaar(kopf), wahl) == nux::Uebernahmeergebnis::selbst) {
        nux::piepsen();
        return;
    }
    // Once the takeover is done, a plain click chooses a year again; an
    // ALT-click opens the panel for the next takeover.
    Panel2->hide();
    zurueck();
}

// The takeover with promotion: nothing is written before the preview's
// "Übernehmen"; its "Abbrechen" leaves every file as it was.
void Tjahrfenster::versetzen(const nux::Uebernahmewahl& wahl) {
    const nux::Uebernahmepaar paar = nux::uebernahmepaar(kopf);
    auto daten = nux::versetzungladen(paar, wahl);
    if (!daten.klassenda) {
        // No classes to promote: what else was chosen is taken over as usual.
        nux::uebernehmen(paar, wahl);
        Panel2->hide();
        zurueck();
        return;
    }
    nux::Uebernahmewahl mit = wahl;
    // With their assignments the classes keep their teachers: promoted, they
    // wander with them.
    const bool wandern = CheckBox2->isChecked() || wahl.unterrichtseinsatz;
    if (wahl.unterrichtseinsatz || wahl.klassen == nux::Klassenwahl::keine) mit.klassen = nux::Klassenwahl::mitStundenMitZusatz;
    mit.unterrichtseinsatz = false;
    auto* dialog = new Tversetzung(paar, mit, wandern, std::move(daten), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this] {
        Panel2->hide();
        zurueck();
    });
    dialog->open();
}

void Tjahrfenster::Button4Click() {
    auto* dialog = new Tvergleich(this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}
