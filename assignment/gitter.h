#pragma once
// The assignment grid: one widget that paints every label and line of the
// grid at its pixel place and turns clicks at a cell's place into the cell's
// gesture. Thousands of cells cost one paint of the visible part, no widget
// each.
#include <QHash>
#include <QStaticText>
#include <QString>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "assignment/kern/verteilung.h"
#include "assignment/kern/marken.h"

class Gitter : public QWidget {
    Q_OBJECT
public:
    explicit Gitter(QWidget* eltern = nullptr);

    // Takes the grid of a freshly loaded model (or an empty one); schritt
    // runs once for every class as its cells are made.
    void setzen(const nux::Verteilung* modell, const std::function<void(int)>& schritt = {});
    // The teacher cell (c, r) changed its text or colour.
    void zelleneu(int c, int r);
    // Colours of many cells changed.
    void farbenneu();
    // The qualification marks, one per cell as nux::marken gives them; the
    // text of a cell's tooltip comes from tipp.
    void markensetzen(std::vector<nux::Marke> marken);
    void markesetzen(int c, int r, nux::Marke m);
    nux::Marke marke(int c, int r) const;
    std::function<QString(int c, int r)> tipp;

    // The cell at a point: c, r and whether it is the teacher cell. False
    // where no clickable cell lies.
    bool zelleAn(QPoint p, int& c, int& r, bool& lehrer) const;

    // Grows the widget (and so the scroll range) to hold a child shown at
    // rect; without a rect it takes back the size of the grid alone.
    void raumfuer(const QRect& rect = QRect());

signals:
    void stundenklick(int c, int r);
    void lehrerklick(int c, int r);

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    bool event(QEvent* e) override;

private:
    const QStaticText& statisch(const QString& text);
    QString text(const std::string& s);

    const nux::Verteilung* modell_ = nullptr;
    int klassen_ = 0;
    int zeilen_ = 0;
    std::vector<QString> koepfe_, links_, rechts_;
    std::vector<bool> sichtbar1_;  // row shows its labels (slot-1 rows)
    std::vector<QString> stunden_, lehrer_;  // [c * zeilen + r]
    std::vector<nux::Marke> marken_;         // [c * zeilen + r], or empty
    QHash<QString, QStaticText> statisch_;
    QHash<QByteArray, QString> texte_;
};
