#include "assignment/gitter.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>

#include "fenster/shell.h"

namespace r = nux::raster;

namespace {
const QColor kRot(0xFF, 0x00, 0x00);
const QColor kGruen(0x00, 0xFF, 0x00);
const QColor kBlau(0x00, 0x00, 0xFF);
const QColor kSilber(0xC0, 0xC0, 0xC0);
// Behind the "--" the selected teacher could take: pale for qualified,
// warmer for a preferred subject; the red text stays readable on both.
const QColor kPasst(0xFF, 0xF2, 0xA8);
const QColor kWunsch(0xFF, 0xC8, 0x4A);
// Under a teacher who is not qualified, as a spelling checker marks a word.
const QColor kOhne(0xE0, 0x40, 0x00);
}  // namespace

Gitter::Gitter(QWidget* eltern) : QWidget(eltern) {
    setFont(nux::schrift(QStringLiteral("MS Sans Serif"), 11, true));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAutoFillBackground(false);
    resize(r::breite(0), r::hoehe(-1));
}

QString Gitter::text(const std::string& s) {
    // Many cells show the same few texts; one shared QString each.
    const QByteArray schluessel = QByteArray::fromRawData(s.data(), static_cast<qsizetype>(s.size()));
    auto it = texte_.constFind(schluessel);
    if (it != texte_.constEnd()) return *it;
    const QString q = nux::qs(s);
    texte_.insert(QByteArray(s.data(), static_cast<qsizetype>(s.size())), q);
    return q;
}

const QStaticText& Gitter::statisch(const QString& t) {
    auto it = statisch_.find(t);
    if (it == statisch_.end()) {
        QStaticText st(t);
        st.setTextFormat(Qt::PlainText);
        st.setPerformanceHint(QStaticText::AggressiveCaching);
        it = statisch_.insert(t, st);
    }
    return *it;
}

void Gitter::setzen(const nux::Verteilung* modell, const std::function<void(int)>& schritt) {
    modell_ = modell;
    klassen_ = modell ? modell->klassenzahl() : 0;
    zeilen_ = modell ? modell->zeilenzahl() : 0;
    koepfe_.clear();
    links_.clear();
    rechts_.clear();
    sichtbar1_.clear();
    stunden_.assign(static_cast<std::size_t>(klassen_) * static_cast<std::size_t>(zeilen_), QString());
    lehrer_.assign(stunden_.size(), QString());
    if (modell) {
        for (const auto& k : modell->Classes) koepfe_.push_back(text(k.name));
        for (int z = 0; z < zeilen_; ++z) {
            links_.push_back(text(modell->zeilen()[static_cast<std::size_t>(z)]));
            rechts_.push_back(text(modell->zeilerechts(z)));
            sichtbar1_.push_back(modell->zeilenslot(z) == 1);
        }
        std::size_t i = 0;
        for (int c = 0; c < klassen_; ++c) {
            if (schritt) schritt(c);
            for (int z = 0; z < zeilen_; ++z, ++i) {
                const nux::Zelle& zelle = modell->zelle(c, z);
                if (!zelle.sichtbar()) continue;
                stunden_[i] = text(zelle.stundentext);
                lehrer_[i] = text(zelle.lehrer);
            }
        }
    }
    marken_.clear();
    raumfuer();
    update();
}

void Gitter::markensetzen(std::vector<nux::Marke> marken) {
    if (marken == marken_) return;
    marken_ = std::move(marken);
    update();
}

void Gitter::markesetzen(int c, int z, nux::Marke m) {
    const std::size_t i = static_cast<std::size_t>(c) * static_cast<std::size_t>(zeilen_) + static_cast<std::size_t>(z);
    if (c < 0 || z < 0 || c >= klassen_ || z >= zeilen_ || i >= marken_.size() || marken_[i] == m) return;
    marken_[i] = m;
    update(r::lehrerX(c), r::zeileY(z), r::kBreite, r::kHoehe);
}

nux::Marke Gitter::marke(int c, int z) const {
    const std::size_t i = static_cast<std::size_t>(c) * static_cast<std::size_t>(zeilen_) + static_cast<std::size_t>(z);
    return c >= 0 && z >= 0 && c < klassen_ && z < zeilen_ && i < marken_.size() ? marken_[i] : nux::Marke::keine;
}

bool Gitter::event(QEvent* e) {
    if (e->type() == QEvent::ToolTip) {
        auto* h = static_cast<QHelpEvent*>(e);
        int c = 0, z = 0;
        bool lehrer = false;
        const QString text = tipp && zelleAn(h->pos(), c, z, lehrer) && lehrer ? tipp(c, z) : QString();
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(h->globalPos(), text, this);
        return true;
    }
    return QWidget::event(e);
}

void Gitter::raumfuer(const QRect& rect) {
    QSize groesse(r::breite(klassen_), r::hoehe(zeilen_ - 1));
    if (rect.isValid()) groesse = groesse.expandedTo(QSize(rect.right() + 1, rect.bottom() + 1));
    resize(groesse);
}

void Gitter::zelleneu(int c, int z) {
    if (!modell_ || c < 0 || c >= klassen_ || z < 0 || z >= zeilen_) return;
    const std::size_t i = static_cast<std::size_t>(c) * static_cast<std::size_t>(zeilen_) + static_cast<std::size_t>(z);
    lehrer_[i] = text(modell_->zelle(c, z).lehrer);
    update(r::lehrerX(c), r::zeileY(z), r::kBreite, r::kHoehe);
}

void Gitter::farbenneu() { update(); }

bool Gitter::zelleAn(QPoint p, int& c, int& z, bool& lehrer) const {
    if (!modell_ || p.y() < r::zeileY(0)) return false;
    // Rows overlap by one pixel; the lower row lies on top, as it was made later.
    z = (p.y() - r::zeileY(0)) / r::kZeile;
    if (z >= zeilen_) {
        if (zeilen_ > 0 && p.y() < r::zeileY(zeilen_ - 1) + r::kHoehe)
            z = zeilen_ - 1;
        else
            return false;
    }
    // The teacher cell lies over the right end of its hours cell.
    if (p.x() >= r::lehrerX(0)) {
        const int ct = (p.x() - r::lehrerX(0)) / r::kSpalte;
        if ((p.x() - r::lehrerX(0)) % r::kSpalte < r::kBreite && ct < klassen_ && modell_->zelle(ct, z).sichtbar()) {
            c = ct;
            lehrer = true;
            return true;
        }
    }
    if (p.x() >= r::stundenX(0)) {
        const int cs = (p.x() - r::stundenX(0)) / r::kSpalte;
        if ((p.x() - r::stundenX(0)) % r::kSpalte < r::kBreite && cs < klassen_) {
            c = cs;
            lehrer = false;
            return true;
        }
    }
    return false;
}

void Gitter::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    int c = 0, z = 0;
    bool lehrer = false;
    if (!zelleAn(e->position().toPoint(), c, z, lehrer)) return;
    if (lehrer)
        emit lehrerklick(c, z);
    else
        emit stundenklick(c, z);
}

// The second press of a double click is no new gesture: a teacher cell
// would take its teacher off again right after putting it on.
void Gitter::mouseDoubleClickEvent(QMouseEvent* e) { e->accept(); }

void Gitter::paintEvent(QPaintEvent* e) {
    QPainter p(this);
    const QRect feld = e->rect();
    p.fillRect(feld, palette().color(QPalette::Window));
    if (!modell_) return;
    const QColor schwarz = palette().color(QPalette::WindowText);
    const int last = zeilen_ - 1;

    // Only the rows and classes that reach into the area to paint.
    const int r0 = std::max(0, (feld.top() - r::zeileY(0) - r::kHoehe) / r::kZeile);
    const int r1 = std::min(last, (feld.bottom() - r::zeileY(0)) / r::kZeile + 1);
    const int c0 = std::max(0, (feld.left() - r::linieX(0) - r::kBreite) / r::kSpalte);
    const int c1 = std::min(klassen_ - 1, (feld.right() - r::stundenX(0)) / r::kSpalte + 1);

    p.setPen(schwarz);
    if (feld.left() < 2 + r::kBreite)
        for (int z = r0; z <= r1; ++z)
            if (sichtbar1_[static_cast<std::size_t>(z)]) p.drawStaticText(2, r::zeileY(z), statisch(links_[static_cast<std::size_t>(z)]));
    for (int c = c0; c <= c1; ++c) p.drawStaticText(r::kopfX(c), 1, statisch(koepfe_[static_cast<std::size_t>(c)]));

    for (int c = c0; c <= c1; ++c) {
        const std::size_t basis = static_cast<std::size_t>(c) * static_cast<std::size_t>(zeilen_);
        for (int z = r0; z <= r1; ++z) {
            const std::size_t i = basis + static_cast<std::size_t>(z);
            if (stunden_[i].isEmpty()) continue;
            const nux::Zelle& zelle = modell_->zelle(c, z);
            p.setPen(zelle.blau ? kBlau : schwarz);
            p.drawStaticText(r::stundenX(c), r::zeileY(z), statisch(stunden_[i]));
            const nux::Marke m = i < marken_.size() ? marken_[i] : nux::Marke::keine;
            if (m == nux::Marke::passt || m == nux::Marke::wunsch)
                p.fillRect(r::lehrerX(c), r::zeileY(z) + 1, 30, r::kZeile - 1, m == nux::Marke::wunsch ? kWunsch : kPasst);
            p.setPen(zelle.frei() ? kRot : (zelle.gruen ? kGruen : schwarz));
            p.drawStaticText(r::lehrerX(c), r::zeileY(z), statisch(lehrer_[i]));
            if (m == nux::Marke::ohnebefaehigung) {
                const int y = r::zeileY(z) + r::kZeile - 1;
                const int breite = p.fontMetrics().horizontalAdvance(lehrer_[i]);
                for (int x = 0; x + 2 <= breite; x += 2) p.fillRect(r::lehrerX(c) + x, y - (x / 2) % 2, 2, 1, kOhne);
            }
        }
    }

    p.setPen(schwarz);
    const int rx = r::rechtsX(klassen_);
    if (feld.right() >= rx)
        for (int z = r0; z <= r1; ++z)
            if (sichtbar1_[static_cast<std::size_t>(z)]) p.drawStaticText(rx, r::zeileY(z), statisch(rechts_[static_cast<std::size_t>(z)]));
    for (int c = c0; c <= c1; ++c) p.drawStaticText(r::kopfX(c), r::fussY(last), statisch(koepfe_[static_cast<std::size_t>(c)]));

    // Silver lines: one under every fourth slot-1 row, one right of every class.
    const int lb = r::zeilenlinienbreite(klassen_);
    for (int z = std::max(1, r0); z <= r1; ++z)
        if (z % 4 == 0 && sichtbar1_[static_cast<std::size_t>(z)]) p.fillRect(0, r::zeileY(z), lb, 1, kSilber);
    const int lh = r::linienhoehe(last);
    for (int c = c0; c <= c1; ++c) p.fillRect(r::linieX(c), 0, 1, lh, kSilber);
}
