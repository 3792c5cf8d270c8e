#include "fenster/shell.h"

#include <QApplication>
#include <QFocusEvent>
#include <QMessageBox>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QValidator>

#include "storage/jahr.h"
#include "storage/text.h"

namespace nux {
namespace {
int piepse = 0;
bool modal = true;
QPointer<Fenster> aktiv;
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

namespace {
// Works on the text as it changes, before anyone hears of the change: one
// change, one textChanged, so a wrong code is checked (and beeps) once.
// Typed or pasted, a character Windows-1252 cannot hold never stands in the
// field, where the save would drop it unseen.
class Schreibbar : public QValidator {
public:
    Schreibbar(QObject* eltern, bool gross) : QValidator(eltern), gross_(gross) {}
    State validate(QString& text, int& pos) const override {
        std::string bytes = cp(text);
        if (gross_) bytes = nux::gross(bytes);
        const QString neu = qs(bytes);
        if (neu != text) {
            pos = static_cast<int>(qs(cp(text.left(pos))).size());
            text = neu;
        }
        return Acceptable;
    }

private:
    bool gross_;
};
}  // namespace

void schreibbar(QLineEdit* feld) { feld->setValidator(new Schreibbar(feld, false)); }

void codefeld(QLineEdit* feld) {
    feld->setMaxLength(8);
    feld->setEchoMode(QLineEdit::Password);
    feld->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
    feld->setValidator(new Schreibbar(feld, true));
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

void Fenster::zurueck() {
    hide();
    if (vorher_ && vorher_ != this && vorher_->isVisible())
        vorher_->vorholen();
    else
        nux::vorholen(Rolle::menue);
}

void Fenster::aktivieren() {
    if (aktiv == this) return;
    vorher_ = aktiv;
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
