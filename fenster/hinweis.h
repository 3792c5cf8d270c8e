#pragma once
// A notice at the foot of a window that never blocks: it says where a file
// went, goes by itself after a while or with a click, and can offer to open
// the file and its folder with the desktop's own programs.
#include <QLabel>
#include <QString>
#include <QWidget>

namespace nux {

// Shows the text in the window's notice of that objectName (made on first
// use). With a file, the notice carries the links "Datei öffnen" and "Ordner
// öffnen"; with a folder (several files went there) only "Ordner öffnen".
QLabel* hinweiszeigen(QWidget* fenster, const char* name, const QString& text, const QString& datei = {});

// What the links open; tests replace it so that no program starts.
using Oeffner = bool (*)(const QString& pfad);
void oeffnersetzen(Oeffner oeffner);

}  // namespace nux
