#include "app/nux_menue.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QCloseEvent>
#include <QMouseEvent>
#include <QUrl>

#include "app/kern/code.h"
#include "app/nux_code.h"
#include "app/start.h"
#include "assignment/nux_verteilung.h"
#include "editors/nux_faecher.h"
#include "editors/nux_klassen.h"
#include "editors/nux_lehrer.h"
#include "storage/jahr.h"
#include "years/nux_jahr.h"

#ifndef NUX_VERSION
#define NUX_VERSION "0.0.0.0"
#endif

const QString Tmenuform::webadresse = QStringLiteral("www.nux-unterricht.de");

std::function<void(const QString&)> Tmenuform::seiteoeffnen = [](const QString& adresse) {
    QDesktopServices::openUrl(QUrl(adresse));
};

namespace {

QPushButton* knopf(QWidget* eltern, const char* name, const QString& text, int x, int breite) {
    auto* b = new QPushButton(text, eltern);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(x, 0, breite, 25);
    QFont f = b->font();
    f.setBold(true);
    b->setFont(f);
    return b;
}

}  // namespace

// The program's version as four numbers, from the build.
QString Tmenuform::versionstext() {
    QStringList teile = QString::fromLatin1(NUX_VERSION).split('.');
    while (teile.size() < 4) teile.append(QStringLiteral("0"));
    return teile.mid(0, 4).join('.');
}

Tmenuform::Tmenuform() : nux::Fenster("Tmenuform", 1016, 656) {
    setWindowTitle(QStringLiteral("NUX"));
    Button1 = knopf(this, "Button1", QStringLiteral("Verteilung"), 0, 100);
    Button5 = knopf(this, "Button5", QStringLiteral("Jahr"), 496, 60);
    Button2 = knopf(this, "Button2", QStringLiteral("Klassen"), 556, 80);
    Button3 = knopf(this, "Button3", QStringLiteral("LehrerInnen"), 636, 100);
    Button7 = knopf(this, "Button7", QStringLiteral("Fächer"), 736, 70);
    Button4 = knopf(this, "Button4", QStringLiteral("Codewort ändern"), 806, 140);
    Button6 = knopf(this, "Button6", QStringLiteral("Ende"), 946, 70);
    for (auto* b : {Button1, Button5, Button2, Button3, Button7, Button4}) b->setEnabled(false);

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(110, 4, 70, 18);
    Label1->setFont(nux::schrift(QStringLiteral("MS Sans Serif"), 13, true));

    Label5 = new QLabel(QStringLiteral("gewidmet von der Bergland Schulkreis BSK"), this);
    Label5->setObjectName(QStringLiteral("Label5"));
    Label5->setGeometry(185, 4, 305, 18);
    Label5->setFont(nux::schrift(QStringLiteral("MS Sans Serif"), 12, true));
    Label5->hide();

    Label11 = new QLabel(QStringLiteral("nux"), this);
    Label11->setObjectName(QStringLiteral("Label11"));
    Label11->setFont(nux::schrift(QStringLiteral("Verdana"), 96, true));
    Label11->setStyleSheet(QStringLiteral("color: rgb(255,0,0);"));
    Label11->setAlignment(Qt::AlignCenter);
    Label11->setGeometry(0, 110, 1016, 150);

    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(383, 300, 250, 40);
    Label2 = new QLabel(QStringLiteral("Code:"), Panel1);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(10, 10, 50, 20);
    Label2->setFont(nux::schrift(QStringLiteral("MS Sans Serif"), 13, true));
    Edit2 = new QLineEdit(Panel1);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setGeometry(70, 8, 160, 24);
    nux::codefeld(Edit2);
    Edit2->installEventFilter(this);
    connect(Edit2, &QLineEdit::textChanged, this, [this] { nux::sicher([this] { Edit2Change(); }); });

    Button8 = new QPushButton(QStringLiteral("Das neueste Update können sie sich von ") + webadresse +
                                  QStringLiteral("    Unterrichtssoftware   downloaden"),
                              this);
    Button8->setObjectName(QStringLiteral("Button8"));
    Button8->setGeometry(158, 380, 700, 30);

    Label12 = new QLabel(QStringLiteral("Vers.:"), this);
    Label12->setObjectName(QStringLiteral("Label12"));
    Label12->setStyleSheet(QStringLiteral("color: rgb(255,0,0);"));
    Label12->setFont(nux::schrift(QStringLiteral("MS Sans Serif"), 13, true));
    Label12->setGeometry(20, 620, 300, 20);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(300000);
    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(2000);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
    connect(Timer2, &QTimer::timeout, this, [this] { Timer2Timer(); });

    connect(Button1, &QPushButton::clicked, this, [this] { zeigen(verteilfenster, true); });
    connect(Button5, &QPushButton::clicked, this, [this] { zeigen(jahrfenster, false); });
    connect(Button2, &QPushButton::clicked, this, [this] { zeigen(klassenfenster, false); });
    connect(Button3, &QPushButton::clicked, this, [this] { zeigen(lehrerfenster, false); });
    connect(Button7, &QPushButton::clicked, this, [this] { zeigen(faecherfenster, false); });
    connect(Button4, &QPushButton::clicked, this, [this] { zeigen(codefenster, false); });
    connect(Button6, &QPushButton::clicked, this, [this] { Button6Click(); });
    connect(Button8, &QPushButton::clicked, this, [this] { Button8Click(); });
    // A press on a menu button raises the menu before the button acts.
    for (auto* b : {Button1, Button5, Button2, Button3, Button7, Button4})
        connect(b, &QPushButton::pressed, this, [this] { vorholen(); });

    Edit2->setFocus();
}

void Tmenuform::FormActivate() {
    Label12->setText(QStringLiteral("Vers.: ") + versionstext());
    move(0, 0);
}

void Tmenuform::mousePressEvent(QMouseEvent* e) {
    vorholen();
    QWidget::mousePressEvent(e);
}

bool Tmenuform::eventFilter(QObject* o, QEvent* e) {
    if (o == Edit2 && nux::verlassen(e)) nux::sicher([this] { Edit2Exit(); });
    return nux::Fenster::eventFilter(o, e);
}

void Tmenuform::Edit2Change() {
    if (offen || Edit2->text().trimmed().size() != 8) return;
    if (nux::codestimmt(nux::cp(Edit2->text())))
        entsperren();
    else
        for (int i = 0; i < 3; ++i) nux::piepsen();
}

void Tmenuform::Edit2Exit() {
    if (offen) return;
    if (nux::codestimmt(nux::cp(Edit2->text())))
        entsperren();
    else
        for (int i = 0; i < 3; ++i) nux::piepsen();
}

// A correct code: hiding the code panel takes the focus from the code field,
// which counts as leaving it, so unlocking always loads the current year too.
void Tmenuform::entsperren() {
    offen = true;
    starten();
    jahrladen();
}

void Tmenuform::starten() {
    Panel1->hide();
    for (auto* b : {Button1, Button2, Button7, Button4, Button3, Button5}) b->setEnabled(true);
}

void Tmenuform::jahrladen() {
    if (const auto zeile = nux::jahraktlesen()) {
        nux::jahrsetzen(*zeile);
        jahrzeigen(*zeile);
    } else {
        zeigen(jahrfenster, false);
    }
}

void Tmenuform::jahrzeigen(const std::string& ordner) { Label1->setText(nux::qs(nux::jahranzeige(ordner))); }

// Another window in front, or the end, drops what the assignment window has
// not saved. The question stands over the grid it is about, and "Abbrechen"
// stays there. Its own button asks in its activation, which reloads.
bool Tmenuform::verteilungfreigeben() {
    if (!verteilfenster || !verteilfenster->ungespeichert()) return true;
    verteilfenster->zurueckholen();
    return verteilfenster->freigeben();
}

void Tmenuform::zeigen(nux::Fenster* f, bool widmung) {
    if (f != verteilfenster && !verteilungfreigeben()) return;
    if (widmung) {
        if (!Timer1->isActive()) Timer1->start();
    } else {
        Timer1->stop();
    }
    if (f) f->vorholen();
}

void Tmenuform::Button6Click() {
    if (!verteilungfreigeben()) return;
    Timer1->stop();
    close();
}

// However the menu is closed ("Ende", the window manager, Alt+F4), the
// program ends with it: no window may stay behind without a menu. Unsaved
// assignments are offered for saving first, and "Abbrechen" keeps it running.
void Tmenuform::closeEvent(QCloseEvent* e) {
    if (!verteilungfreigeben()) {
        e->ignore();
        return;
    }
    Timer1->stop();
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != this && w->isVisible()) w->close();
    e->accept();
    QCoreApplication::quit();
}

void Tmenuform::Timer1Timer() {
    Label5->show();
    Timer2->start();
}

void Tmenuform::Timer2Timer() {
    Label5->hide();
    Timer2->stop();
}

void Tmenuform::Button8Click() { seiteoeffnen(QStringLiteral("https://") + webadresse + QStringLiteral("/frame.htm")); }
