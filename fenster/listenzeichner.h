#pragma once
// What the owner-drawn lists of the subjects and teachers editors share: the
// items hold their fixed-column lines, an entry is drawn in black or light
// grey from its line, and the mouse gestures reach the window's handlers with
// the modifier keys, whatever the list widget itself would do with them.
#include <QListWidget>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QColor>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace nux {

// The line of an item as Windows-1252 bytes. The item's text is only what is
// drawn: a byte that has no character must not shift the columns.
std::string zeilevon(const QListWidget* liste, int zeile);
std::vector<std::string> zeilenvon(const QListWidget* liste);
// Replaces the items by the lines; the scroll position stays where it can.
void zeilensetzen(QListWidget* liste, const std::vector<std::string>& zeilen);
// The selected row, or nothing.
std::optional<std::size_t> gewaehlt(const QListWidget* liste);
void waehlen(QListWidget* liste, int zeile);

class Listenzeichner : public QStyledItemDelegate {
public:
    Listenzeichner(int zeilenhoehe, std::function<bool(std::string_view)> grau, QObject* eltern);
    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    int hoehe_;
    std::function<bool(std::string_view)> grau_;
};

// Takes over the mouse on a list's viewport: a press (double clicks count as
// presses) and the release of the left button go to the handlers; while
// folgen() says so, moving with the button held selects the entry under the
// pointer, scrolling at the edges.
class Listenmaus : public QObject {
public:
    struct Handler {
        std::function<void(Qt::KeyboardModifiers, QPoint)> druck;
        std::function<void(Qt::KeyboardModifiers, QPoint)> los;
        std::function<bool()> folgen;
    };
    Listenmaus(QListWidget* liste, Handler h);

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void folgen(QPoint p);
    QListWidget* liste_;
    // Kept apart: the list may already be half destroyed when its viewport
    // sends its last events.
    QWidget* ansicht_;
    Handler h_;
    bool gedrueckt_ = false;
    // Keeps scrolling while the pointer rests above or below the list.
    QTimer rollen_;
    QPoint letzte_;
};

// Light grey of the entries without effect.
inline const QColor kHellgrau(192, 192, 192);

}  // namespace nux
