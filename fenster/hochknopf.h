#pragma once
// A narrow button whose caption runs from bottom to top: the assignment
// window's additions sit in the strip between the grid and the teacher list,
// where nothing described lies.
#include <QPushButton>

namespace nux {

class Hochknopf : public QPushButton {
    Q_OBJECT
public:
    Hochknopf(const QString& text, QWidget* eltern);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* e) override;
};

}  // namespace nux
