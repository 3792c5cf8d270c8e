#include "fenster/newcomps.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <algorithm>
#include <limits>
#include <optional>

#include "fenster/shell.h"

namespace {

// What a key press is to the filters: a character to judge, backspace, a
// control character or text-editing shortcut to drop, or a key that edits
// nothing by itself (arrows, Home, End, Delete) and goes to the field.
enum class Taste { zeichen, rueck, weg, durch };

Taste einordnen(QKeyEvent* e) {
    static const QKeySequence::StandardKey bearbeitend[] = {
        QKeySequence::Paste,          QKeySequence::Cut,
        QKeySequence::Copy,           QKeySequence::Undo,
        QKeySequence::Redo,           QKeySequence::SelectAll,
        QKeySequence::DeleteEndOfWord, QKeySequence::DeleteStartOfWord,
        QKeySequence::DeleteEndOfLine, QKeySequence::DeleteCompleteLine,
    };
    for (auto k : bearbeitend)
        if (e->matches(k)) return Taste::weg;
    const auto mod = e->modifiers() & (Qt::ControlModifier | Qt::MetaModifier);
    switch (e->key()) {
        case Qt::Key_Backspace:
            return mod ? Taste::weg : Taste::rueck;
        case Qt::Key_Delete:
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Home:
        case Qt::Key_End:
            return Taste::durch;
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
            return Taste::weg;
        default:
            break;
    }
    // Ctrl and Meta combinations arrive as control characters on the
    // keyboards the program was made for.
    if (mod) return Taste::weg;
    if (e->text().isEmpty()) return Taste::durch;
    return Taste::zeichen;
}

// The start of the selection, or the caret when nothing is selected.
int position(const QLineEdit* f) { return f->hasSelectedText() ? f->selectionStart() : f->cursorPosition(); }

// The one character a key press types, or nothing for control characters
// and for text of more than one character.
std::optional<QChar> zeichen(QKeyEvent* e) {
    const QString t = e->text();
    if (t.size() != 1) return std::nullopt;
    const QChar c = t.at(0);
    if (c.unicode() < 0x20 || c.unicode() == 0x7F || c.category() == QChar::Other_Control) return std::nullopt;
    return c;
}

bool ziffer(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

// An optional "-" and at least one digit; far too many digits saturate, which
// every bound corrects anyway.
std::optional<std::int64_t> ganzzahl(const QString& t) {
    qsizetype i = 0;
    const bool minus = t.startsWith(QLatin1Char('-'));
    if (minus) i = 1;
    if (i >= t.size()) return std::nullopt;
    std::int64_t v = 0;
    constexpr std::int64_t grenze = std::numeric_limits<std::int64_t>::max() / 10 - 10;
    for (; i < t.size(); ++i) {
        if (!ziffer(t.at(i))) return std::nullopt;
        if (v < grenze) v = v * 10 + (t.at(i).unicode() - '0');
    }
    return minus ? -v : v;
}

bool nummerzeichen(QChar c, int pos, bool mit) {
    if (ziffer(c) || c == QLatin1Char('&') || c == QLatin1Char('(') || c == QLatin1Char('.')) return true;
    return c == QLatin1Char('#') && pos == 0 && mit;
}

}  // namespace

namespace {

// What an ordinary field does with the key goes through; of the typed
// characters only those the field's rule accepts.
template <class Regel>
bool durchlassen(QKeyEvent* e, Regel regel) {
    switch (einordnen(e)) {
        case Taste::weg:
            return false;
        case Taste::rueck:
        case Taste::durch:
            return true;
        case Taste::zeichen:
            break;
    }
    const auto c = zeichen(e);
    return c && regel(*c);
}

}  // namespace

teditzahl::teditzahl(QWidget* parent) : QLineEdit(parent) {
    // Typed characters only come through the key filter, and dropped text
    // would bypass it.
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setAcceptDrops(false);
    connect(this, &QLineEdit::textChanged, this, [this] { nux::sicher([this] { korrigieren(); }); });
    if (minimum_ > maximum_) std::swap(minimum_, maximum_);
    setMaxLength(static_cast<int>(QString::number(maximum_).size()));
    wert_ = minimum_;
    setText(QString::number(wert_));
}

void teditzahl::keyPressEvent(QKeyEvent* e) {
    if (durchlassen(e, [this](QChar c) { return ziffer(c) || (c == QLatin1Char('-') && position(this) == 0); }))
        QLineEdit::keyPressEvent(e);
    else
        e->accept();
}

// Setting the text from inside the correction is a change of its own and runs
// the correction for the new text first; an equal text is no change.
void teditzahl::setzen(const QString& text) {
    if (text != this->text()) setText(text);
}

void teditzahl::korrigieren() {
    // Bounds set the wrong way round would make the two corrections undo each
    // other for ever.
    const std::int64_t unten = std::min(minimum_, maximum_);
    const std::int64_t oben = std::max(minimum_, maximum_);
    const QString t = text();
    if (t.isEmpty()) {
        if (!leer_) setzen(QString::number(unten));
    } else if (ganzzahl(t)) {
        if (*ganzzahl(text()) >= oben) setzen(QString::number(oben));
        if (const auto v = ganzzahl(text()); v && *v <= unten) setzen(QString::number(unten));
    } else if (t == QLatin1String("-")) {
        // A minus sign waiting for its digits; the value stays what it was.
    } else if (const QString k = t.trimmed(); ganzzahl(k)) {
        setzen(k);
    } else {
        // Text that is no integer (pasted, or a "-" in the wrong place) is
        // refused: the field shows its value again.
        nux::piepsen();
        setzen(QString::number(wert_));
    }
    const QString jetzt = text();
    if (jetzt.isEmpty()) {
        wert_ = 0;
    } else if (const auto v = ganzzahl(jetzt)) {
        wert_ = static_cast<std::int32_t>(std::clamp<std::int64_t>(*v, std::numeric_limits<std::int32_t>::min(),
                                                                    std::numeric_limits<std::int32_t>::max()));
    }
    emit geaendert();
}

void teditzahl::focusOutEvent(QFocusEvent* e) {
    QLineEdit::focusOutEvent(e);
    // A context menu or another window taking the front is no leaving of the
    // field.
    if (e->reason() == Qt::PopupFocusReason || e->reason() == Qt::ActiveWindowFocusReason) return;
    setzen(QString::number(wert_));
    emit verlassen();
}

teditnummer::teditnummer(QWidget* parent) : QLineEdit(parent) {
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setAcceptDrops(false);
    connect(this, &QLineEdit::textChanged, this, [this] { saeubern(); });
}

void teditnummer::keyPressEvent(QKeyEvent* e) {
    if (durchlassen(e, [this](QChar c) { return nummerzeichen(c, position(this), mit_); }))
        QLineEdit::keyPressEvent(e);
    else
        e->accept();
}

// Typed text has passed the filter already; pasted text may hold what the
// filter would have refused, and loses it.
void teditnummer::saeubern() {
    const QString t = text();
    QString gut;
    for (qsizetype i = 0; i < t.size(); ++i)
        if (nummerzeichen(t.at(i), static_cast<int>(gut.size()), mit_)) gut += t.at(i);
    if (gut != t) {
        nux::piepsen();
        setText(gut);
    }
}
