#include "fenster/listenzeichner.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include "fenster/shell.h"

namespace nux {
namespace {
constexpr int kZeilenrolle = Qt::UserRole;
}

std::string zeilevon(const QListWidget* liste, int zeile) {
    const QListWidgetItem* it = liste->item(zeile);
    if (!it) return {};
    const QByteArray b = it->data(kZeilenrolle).toByteArray();
    return std::string(b.constData(), static_cast<std::size_t>(b.size()));
}

std::vector<std::string> zeilenvon(const QListWidget* liste) {
    std::vector<std::string> r;
    r.reserve(static_cast<std::size_t>(liste->count()));
    for (int i = 0; i < liste->count(); ++i) r.push_back(zeilevon(liste, i));
    return r;
}

void zeilensetzen(QListWidget* liste, const std::vector<std::string>& zeilen) {
    const int rollen = liste->verticalScrollBar()->value();
    liste->setUpdatesEnabled(false);
    liste->clear();
    for (const auto& z : zeilen) {
        auto* it = new QListWidgetItem(qs(z));
        it->setData(kZeilenrolle, QByteArray(z.data(), static_cast<qsizetype>(z.size())));
        liste->addItem(it);
    }
    liste->setUpdatesEnabled(true);
    liste->verticalScrollBar()->setValue(rollen);
}

std::optional<std::size_t> gewaehlt(const QListWidget* liste) {
    const auto sel = liste->selectionModel()->selectedRows();
    if (sel.isEmpty()) return std::nullopt;
    return static_cast<std::size_t>(sel.first().row());
}

void waehlen(QListWidget* liste, int zeile) {
    if (zeile < 0 || zeile >= liste->count()) {
        liste->clearSelection();
        liste->setCurrentRow(-1, QItemSelectionModel::Clear);
        return;
    }
    liste->setCurrentRow(zeile, QItemSelectionModel::ClearAndSelect);
    liste->scrollToItem(liste->item(zeile));
}

Listenzeichner::Listenzeichner(int zeilenhoehe, std::function<bool(std::string_view)> grau, QObject* eltern)
    : QStyledItemDelegate(eltern), hoehe_(zeilenhoehe), grau_(std::move(grau)) {}

void Listenzeichner::paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QStyleOptionViewItem o = option;
    initStyleOption(&o, index);
    o.text.clear();
    const QWidget* w = option.widget;
    QStyle* stil = w ? w->style() : QApplication::style();
    stil->drawPrimitive(QStyle::PE_PanelItemViewItem, &o, p, w);

    const QByteArray b = index.data(kZeilenrolle).toByteArray();
    const std::string_view z(b.constData(), static_cast<std::size_t>(b.size()));
    p->save();
    p->setClipRect(option.rect);
    p->setFont(option.font);
    p->setPen(grau_(z) ? kHellgrau : QColor(Qt::black));
    const QFontMetrics fm(option.font);
    p->drawText(QPoint(option.rect.left() + 10, option.rect.top() + fm.ascent()), qs(z));
    p->restore();
}

QSize Listenzeichner::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const {
    return QSize(option.rect.width(), hoehe_);
}

Listenmaus::Listenmaus(QListWidget* liste, Handler h)
    : QObject(liste), liste_(liste), ansicht_(liste->viewport()), h_(std::move(h)) {
    ansicht_->installEventFilter(this);
    rollen_.setInterval(60);
    connect(&rollen_, &QTimer::timeout, this, [this] {
        if (gedrueckt_ && h_.folgen && h_.folgen())
            folgen(letzte_);
        else
            rollen_.stop();
    });
}

bool Listenmaus::eventFilter(QObject* o, QEvent* e) {
    if (o != ansicht_) return false;
    switch (e->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: {
            auto* m = static_cast<QMouseEvent*>(e);
            if (m->button() == Qt::LeftButton) {
                gedrueckt_ = true;
                if (h_.druck) h_.druck(m->modifiers(), m->position().toPoint());
            }
            return true;
        }
        case QEvent::MouseMove: {
            auto* m = static_cast<QMouseEvent*>(e);
            if (gedrueckt_ && (m->buttons() & Qt::LeftButton) && h_.folgen && h_.folgen()) {
                letzte_ = m->position().toPoint();
                folgen(letzte_);
                const QRect r = ansicht_->rect();
                if (letzte_.y() < r.top() || letzte_.y() > r.bottom())
                    rollen_.start();
                else
                    rollen_.stop();
            }
            return true;
        }
        case QEvent::MouseButtonRelease: {
            auto* m = static_cast<QMouseEvent*>(e);
            if (m->button() == Qt::LeftButton && gedrueckt_) {
                gedrueckt_ = false;
                rollen_.stop();
                if (h_.los) h_.los(m->modifiers(), m->position().toPoint());
            }
            return true;
        }
        default:
            return false;
    }
}

void Listenmaus::folgen(QPoint p) {
    const int n = liste_->count();
    if (n == 0) return;
    const QRect r = ansicht_->rect();
    int zeile;
    if (p.y() < r.top()) {
        const QModelIndex oben = liste_->indexAt(QPoint(1, r.top()));
        zeile = oben.isValid() ? std::max(0, oben.row() - 1) : 0;
    } else if (p.y() > r.bottom()) {
        const QModelIndex unten = liste_->indexAt(QPoint(1, r.bottom()));
        zeile = unten.isValid() ? std::min(n - 1, unten.row() + 1) : n - 1;
    } else {
        const QModelIndex hier = liste_->indexAt(QPoint(1, p.y()));
        zeile = hier.isValid() ? hier.row() : n - 1;
    }
    if (liste_->currentRow() != zeile || !liste_->item(zeile)->isSelected()) waehlen(liste_, zeile);
}

}  // namespace nux
