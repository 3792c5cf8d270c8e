#include "fenster/shell.h"

#include <QApplication>
#include <QFocusEvent>
#include <QMessageBox>
#include <QStringDecoder>
#include <QStringEncoder>

#include "storage/jahr.h"

namespace nux {
namespace {
int piepse = 0;
bool modal = true;
Fenster* aktiv = nullptr;
Fenster* angemeldet[7] = {};
}  // namespace

QString qs(std::string_view text) {
    QStringDecoder dekoder("windows-1252");
    return dekoder.decode(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
}

std::string cp(const QString& text) {
    std::string r;
    r.reserve(static_cast<std::size_t>(text.size()));
    for (QChar c : text) {
        if (c.unicode() < 0x80) {
            r += static_cast<char>(c.unicode());
            continue;
        }
        QStringEncoder enkoder("windows-1252");
        const QByteArray b = enkoder.encode(QString(c));
        if (!enkoder.hasError() && b.size() == 1 && b[0] != '?') r += b[0];
    }
    return r;
}

void piepsen() {
    ++piepse;
    QApplication::beep();
}

int piepszahl() { return piepse; }

QStringList& fehlerliste() {
    static QStringList liste;
    return liste;
}

void fehlerboxen(bool m) { modal = m; }

void fehlerzeigen(const QString& meldung) {
    fehlerliste().append(meldung);
    if (modal) QMessageBox::critical(QApplication::activeWindow(), QStringLiteral("nux"), meldung);
}

void schriftenzuordnen() {
    QFont::insertSubstitutions(QStringLiteral("Courier"), {QStringLiteral("Liberation Mono"),
                                                           QStringLiteral("DejaVu Sans Mono")});
    QFont::insertSubstitutions(QStringLiteral("Arial"), {QStringLiteral("Liberation Sans"),
                                                         QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"), {QStringLiteral("Liberation Sans"),
                                                                 QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Verdana"), {QStringLiteral("DejaVu Sans"),
                                                           QStringLiteral("Liberation Sans")});
}

QFont schrift(const QString& familie, int pixel, bool fett) {
    QFont f(familie);
    f.setPixelSize(pixel);
    f.setBold(fett);
    return f;
}

QFont festschrift(int pixel, bool fett) {
    QFont f = schrift(QStringLiteral("Courier"), pixel, fett);
    f.setStyleHint(QFont::TypeWriter);
    f.setFixedPitch(true);
    return f;
}

QLabel* beschriftung(QWidget* eltern, const char* name, const QString& text, int x, int y, int pixel) {
    auto* l = new QLabel(text, eltern);
    l->setObjectName(QString::fromLatin1(name));
    if (pixel > 0) l->setFont(schrift(QStringLiteral("MS Sans Serif"), pixel, true));
    l->move(x, y);
    l->adjustSize();
    return l;
}

bool verlassen(QEvent* e) {
    if (e->type() != QEvent::FocusOut) return false;
    const auto grund = static_cast<QFocusEvent*>(e)->reason();
    return grund != Qt::ActiveWindowFocusReason && grund != Qt::PopupFocusReason;
}

void grossschreiben(QLineEdit* feld) {
    QObject::connect(feld, &QLineEdit::textEdited, feld, [feld](const QString& t) {
        const QString gross = qs(cp(t)).toUpper();
        if (gross != t) {
            const int pos = feld->cursorPosition();
            feld->setText(gross);
            feld->setCursorPosition(std::min(pos, static_cast<int>(gross.size())));
        }
    });
}

Fenster::Fenster(const char* name, int breite, int hoehe) : QWidget(nullptr, Qt::FramelessWindowHint) {
    setObjectName(QString::fromLatin1(name));
    setWindowTitle(QStringLiteral("nux"));
    setFixedSize(breite, hoehe);
}

void Fenster::vorholen() {
    show();
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) raise();
    activateWindow();
    aktivieren();
}

void Fenster::zummenue() {
    hide();
    nux::vorholen(Rolle::menue);
}

Fenster* Fenster::aktivesFenster() { return aktiv; }
void Fenster::aktivesFensterVergessen() { aktiv = nullptr; }

void Fenster::aktivieren() {
    if (aktiv == this) return;
    aktiv = this;
    move(platz());
    sicher([this] { FormActivate(); });
}

bool Fenster::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate) aktivieren();
    return QWidget::event(e);
}

void anmelden(Rolle rolle, Fenster* fenster) { angemeldet[static_cast<int>(rolle)] = fenster; }

void vorholen(Rolle rolle) {
    if (Fenster* f = angemeldet[static_cast<int>(rolle)]) f->vorholen();
}

std::function<void(const std::string&)>& jahrgewaehlt() {
    static std::function<void(const std::string&)> f;
    return f;
}

bool jahrvorhanden() {
    if (jahrgesetzt()) return true;
    vorholen(Rolle::jahr);
    return false;
}

}  // namespace nux
