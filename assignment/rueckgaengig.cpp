#include "assignment/rueckgaengig.h"

#include <utility>

namespace {

QString beschreibung(const nux::Aenderung& a) {
    if (a.lehrernachher == "--") return QStringLiteral("LehrerIn austragen");
    if (a.lehrervorher == "--") return QStringLiteral("LehrerIn eintragen");
    return QStringLiteral("LehrerIn ersetzen");
}

}  // namespace

Zuordnungsschritt::Zuordnungsschritt(nux::Aenderung a, std::function<void(const nux::Aenderung&, bool)> zeigen,
                                     QUndoCommand* eltern)
    : QUndoCommand(beschreibung(a), eltern), a_(std::move(a)), zeigen_(std::move(zeigen)) {}

void Zuordnungsschritt::undo() {
    getan_ = false;
    zeigen_(a_, false);
}

void Zuordnungsschritt::redo() {
    if (getan_) return;
    getan_ = true;
    zeigen_(a_, true);
}
