#include "fenster/hochknopf.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace nux {

Hochknopf::Hochknopf(const QString& text, QWidget* eltern) : QPushButton(text, eltern) {
    setFocusPolicy(Qt::TabFocus);
}

QSize Hochknopf::sizeHint() const {
    const QSize s = QPushButton::sizeHint();
    return {s.height(), s.width()};
}

void Hochknopf::paintEvent(QPaintEvent*) {
    QStylePainter p(this);
    QStyleOptionButton knopf;
    initStyleOption(&knopf);
    knopf.text.clear();
    p.drawControl(QStyle::CE_PushButton, knopf);
    p.rotate(-90);
    // After the turn the button's height is the width of the caption's line.
    const QRect zeile(-height(), 0, height(), width());
    p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    p.drawText(zeile, Qt::AlignCenter, text());
}

}  // namespace nux
