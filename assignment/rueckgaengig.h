#pragma once
// One gesture on a teacher cell in the assignment window's history: the
// model did the counting once; taking it back or doing it again only puts
// the recorded values in place.
#include <QUndoCommand>
#include <functional>

#include "assignment/kern/verteilung.h"

class Zuordnungsschritt : public QUndoCommand {
public:
    // zeigen applies the change to the model and redraws (true: forwards).
    // The gesture has already happened: the first redo, from the push, does nothing.
    Zuordnungsschritt(nux::Aenderung a, std::function<void(const nux::Aenderung&, bool)> zeigen,
                      QUndoCommand* eltern = nullptr);

    void undo() override;
    void redo() override;

private:
    nux::Aenderung a_;
    std::function<void(const nux::Aenderung&, bool)> zeigen_;
    bool getan_ = true;
};

// Several gestures as one step (a proposal taken over): its children are
// Zuordnungsschritte, taken back in reverse order and done again in order.
// rahmen(true) runs before the children, rahmen(false) after them, so that
// the window counts its sums once for the whole step.
class Zuordnungsgruppe : public QUndoCommand {
public:
    Zuordnungsgruppe(const QString& text, std::function<void(bool)> rahmen)
        : QUndoCommand(text), rahmen_(std::move(rahmen)) {}
    void undo() override {
        rahmen_(true);
        QUndoCommand::undo();
        rahmen_(false);
    }
    void redo() override {
        rahmen_(true);
        QUndoCommand::redo();
        rahmen_(false);
    }

private:
    std::function<void(bool)> rahmen_;
};
