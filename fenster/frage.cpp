#include "fenster/frage.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>

namespace nux {
namespace {

// Without "Abbrechen", Escape or closing the box would count as "Nein" and
// throw the data away unasked; such a box only closes through its buttons.
class Fragebox : public QMessageBox {
public:
    Fragebox(const QString& text, bool abbrechbar) : QMessageBox(QApplication::activeWindow()), abbrechbar_(abbrechbar) {
        setIcon(QMessageBox::Question);
        setWindowTitle(QStringLiteral("nux"));
        setText(text);
        ja_ = addButton(QStringLiteral("Ja"), QMessageBox::YesRole);
        nein_ = addButton(QStringLiteral("Nein"), QMessageBox::NoRole);
        if (abbrechbar) setEscapeButton(addButton(QStringLiteral("Abbrechen"), QMessageBox::RejectRole));
        setDefaultButton(ja_);
    }
    Antwort antwort() const {
        if (clickedButton() == ja_) return Antwort::ja;
        if (clickedButton() == nein_) return Antwort::nein;
        return Antwort::abbrechen;
    }

protected:
    void keyPressEvent(QKeyEvent* e) override {
        if (!abbrechbar_ && e->key() == Qt::Key_Escape) return;
        QMessageBox::keyPressEvent(e);
    }
    void closeEvent(QCloseEvent* e) override {
        if (!abbrechbar_ && !clickedButton()) {
            e->ignore();
            return;
        }
        QMessageBox::closeEvent(e);
    }

private:
    bool abbrechbar_;
    QPushButton* ja_;
    QPushButton* nein_;
};

}  // namespace

std::function<Antwort(const QString&, bool)>& antworthaken() {
    static std::function<Antwort(const QString&, bool)> haken;
    return haken;
}

Antwort fragen(const QString& text, bool abbrechbar) {
    if (antworthaken()) {
        const Antwort a = antworthaken()(text, abbrechbar);
        return !abbrechbar && a == Antwort::abbrechen ? Antwort::ja : a;
    }
    for (;;) {
        Fragebox box(text, abbrechbar);
        box.exec();
        const Antwort a = box.antwort();
        if (abbrechbar || a != Antwort::abbrechen) return a;
    }
}

}  // namespace nux
