#pragma once
// Gestures of a user on the real windows (controls found by objectName, grid cells by pixel).
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QScrollArea>
#include <QStandardPaths>
#include <QTest>
#include <string>
#include <vector>

#include "fenster/shell.h"
#include "storage/datei.h"

namespace ablauf {

template <class T>
T* teil(QWidget* fenster, const char* name) {
    T* t = fenster->findChild<T*>(QString::fromLatin1(name));
    if (!t) qFatal("%s fehlt in %s", name, qPrintable(fenster->objectName()));
    return t;
}

inline void klicken(QWidget* w, Qt::KeyboardModifiers tasten = {}) {
    QTest::mouseClick(w, Qt::LeftButton, tasten, w->rect().center());
    QCoreApplication::processEvents();
}

// A click on the box of a check box or radio button (its centre may lie
// beside its text).
inline void ankreuzen(QAbstractButton* c) { QTest::mouseClick(c, Qt::LeftButton, {}, QPoint(8, c->height() / 2)); }

// Typing, umlauts included (QTest::keyClicks knows ASCII only).
inline void tippen(QWidget* w, const QString& text) {
    for (const QChar ch : text) {
        if (ch.unicode() < 0x80)
            QTest::keyClick(w, static_cast<char>(ch.unicode()));
        else
            QTest::sendKeyEvent(QTest::Click, w, static_cast<Qt::Key>(ch.toUpper().unicode()), QString(ch), {});
    }
}

// The user clicks into a field, selects what it holds and types over it.
inline void ueberschreiben(QLineEdit* feld, const QString& text) {
    QTest::mouseClick(feld, Qt::LeftButton, {}, QPoint(4, feld->height() / 2));
    feld->selectAll();
    if (feld->hasSelectedText()) QTest::keyClick(feld, Qt::Key_Backspace);
    tippen(feld, text);
}

inline QPoint mitte(QListWidget* l, int zeile) { return l->visualItemRect(l->item(zeile)).center(); }

inline void zeileklicken(QListWidget* l, int zeile, Qt::KeyboardModifiers tasten = {}) {
    QTest::mouseClick(l->viewport(), Qt::LeftButton, tasten, mitte(l, zeile));
}

inline int zeilemit(QListWidget* l, const QString& anfang) {
    const auto t = l->findItems(anfang, Qt::MatchStartsWith);
    return t.isEmpty() ? -1 : l->row(t[0]);
}

inline QStringList zeilen(QListWidget* l, int breite = 1000) {
    QStringList r;
    for (int i = 0; i < l->count(); ++i) r << l->item(i)->text().left(breite);
    return r;
}

// Drags an entry with the button held over every entry on the way.
inline void ziehen(QListWidget* l, int von, int nach) {
    QWidget* v = l->viewport();
    QTest::mousePress(v, Qt::LeftButton, {}, mitte(l, von));
    const int schritt = von < nach ? 1 : -1;
    for (int z = von; z != nach + schritt; z += schritt) QTest::mouseMove(v, mitte(l, z));
    QTest::mouseRelease(v, Qt::LeftButton, {}, mitte(l, nach));
}

// The grid of the assignment window: the teacher cell of class c, row r.
inline void lehrerzelle(QScrollArea* s, int c, int r) {
    QTest::mouseClick(s->widget(), Qt::LeftButton, {}, QPoint(65 + 75 * c + 20, 20 + 12 * r + 6));
}

// The lines of a PDF as its layout puts them, each with its words
// separated by single spaces; nothing when poppler's pdftotext is missing.
inline QStringList pdfzeilen(const QString& datei) {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) return {};
    QProcess p;
    p.start(QStringLiteral("pdftotext"),
            {QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8"), datei, QStringLiteral("-")});
    p.waitForFinished(30000);
    QStringList r = QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n'));
    for (QString& z : r) z = z.simplified();
    r.removeAll(QString());
    return r;
}

// Everything in a file, for "unchanged" checks.
inline std::vector<std::uint8_t> inhalt(const std::string& pfad) {
    return nux::dateida(pfad) ? nux::dateilesen(pfad) : std::vector<std::uint8_t>{};
}

}  // namespace ablauf
