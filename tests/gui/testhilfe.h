#pragma once
// Every window test runs in a fresh temporary program folder named "nux"
// and leaves nothing behind.
#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "fenster/frage.h"
#include "fenster/shell.h"
#include "app/start.h"
#include "storage/datei.h"

namespace testhilfe {

class Programmordner {
public:
    Programmordner() : alt_(QDir::currentPath()) {
        QDir(temp_.path()).mkdir(QStringLiteral("nux"));
        pfad_ = temp_.path() + QStringLiteral("/nux");
        QDir::setCurrent(pfad_);
    }
    ~Programmordner() { QDir::setCurrent(alt_); }
    const QString& pfad() const { return pfad_; }

private:
    QString alt_;
    QTemporaryDir temp_;
    QString pfad_;
};

// A started program in a fresh folder; destroyed windows on the way out.
struct Programm {
    Programmordner ordner;
    Programm() {
        nux::fehlerboxen(false);
        nux::fehlerliste().clear();
        // A question box nobody answers would hang the test; a test that
        // expects one sets its own answer.
        nux::antworthaken() = [](const QString& frage, bool) -> nux::Antwort {
            qFatal("unerwartete Frage: %s", qPrintable(frage));
        };
        fenstererzeugen();
    }
    ~Programm() { fensterfreigeben(); }
};

template <class T = QWidget>
T* teil(QWidget* fenster, const char* name) {
    T* t = fenster->findChild<T*>(QString::fromLatin1(name));
    if (!t) qFatal("%s fehlt in %s", name, qPrintable(fenster->objectName()));
    return t;
}

inline QPoint mitte(QListWidget* l, int zeile) { return l->visualItemRect(l->item(zeile)).center(); }

inline void zeileklicken(QListWidget* l, int zeile, Qt::KeyboardModifiers tasten = {}) {
    QTest::mouseClick(l->viewport(), Qt::LeftButton, tasten, mitte(l, zeile));
}

inline std::vector<std::uint8_t> bytes(const std::string& pfad) { return nux::dateilesen(pfad); }

// Runs pending events, so that activations queued by the platform arrive.
inline void warten() {
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
}

}  // namespace testhilfe
