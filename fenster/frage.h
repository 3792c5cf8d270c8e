#pragma once
// A question with German buttons that must be answered before the program
// goes on, and the way tests answer it in place of the user.
#include <QString>
#include <functional>

namespace nux {

enum class Antwort { ja, nein, abbrechen };

// Asks with "Ja", "Nein" and, when the step can still be stopped,
// "Abbrechen". Without "Abbrechen" the box cannot be closed unanswered.
Antwort fragen(const QString& text, bool abbrechbar);

// When set, answers every question instead of a box (tests).
std::function<Antwort(const QString& text, bool abbrechbar)>& antworthaken();

}  // namespace nux
