#pragma once
// Gestures of a user on the real windows (controls found by objectName, grid cells by pixel).
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QScrollArea>
#include <QStandardPaths>
#include <QTest>

#include "testhilfe.h"

namespace ablauf {

using testhilfe::mitte;
using testhilfe::teil;
using testhilfe::zeileklicken;

inline void klicken(QWidget* w, Qt::KeyboardModifiers tasten = {}) {
    QTest::mouseClick(w, Qt::LeftButton, tasten, w->rect().center());
    QCoreApplication::processEvents();
}

// Typing, umlauts included (QTest::keyClicks knows ASCII only), over what the field held.
inline void ueberschreiben(QLineEdit* feld, const QString& text) {
    QTest::mouseClick(feld, Qt::LeftButton, {}, QPoint(4, feld->height() / 2));
    feld->selectAll();
    if (feld->hasSelectedText()) QTest::keyClick(feld, Qt::Key_Backspace);
    for (const QChar ch : text) {
        if (ch.unicode() < 0x80)
            QTest::keyClick(feld, static_cast<char>(ch.unicode()));
        else
            QTest::sendKeyEvent(QTest::Click, feld, static_cast<Qt::Key>(ch.toUpper().unicode()), QString(ch), {});
    }
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

}  // namespace ablauf
