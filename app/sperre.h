#pragma once
// One program per program folder: while nux runs it holds a lock file in the
// program folder, so that a second start or a colleague on the same network
// folder cannot overwrite what this one writes.
#include <QLockFile>
#include <QString>
#include <functional>

namespace nux {

inline constexpr const char* kSperrdatei = ".sperre";

class Programmsperre {
public:
    explicit Programmsperre(const QString& datei = QString::fromLatin1(kSperrdatei));

    // Takes the lock of the current folder. A lock left by a nux that no
    // longer runs on this computer is taken over silently; one from another
    // computer only when fragen (given the German question) says yes. When the
    // folder stays another's the result is false and no file has been touched;
    // melden gets the German reason, unless the user declined the takeover.
    bool nehmen(const std::function<bool(const QString&)>& fragen,
                const std::function<void(const QString&)>& melden);

    bool gehalten() const { return sperre_.isLocked(); }

private:
    QString datei_;
    QLockFile sperre_;
};

// The lock taken with German message boxes; false: the program must end.
bool programmsperren(Programmsperre& sperre);

}  // namespace nux
