#include "app/sperre.h"

#include <QDateTime>
#include <QFileInfo>
#include <QLocale>
#include <QMessageBox>
#include <QSysInfo>
#include <QThread>

namespace nux {
namespace {

struct Inhaber {
    qint64 pid = 0;
    QString rechner;
    QString benutzer;
    QString seit;
    bool fremd = true;  // also when the lock file cannot be read
};

Inhaber inhaber(const QLockFile& sperre, const QString& datei) {
    Inhaber i;
    QString programm;
    if (sperre.getLockInfo(&i.pid, &i.rechner, &programm)) {
        // Qt writes no host name where it knows the machine by its id alone.
        i.fremd = !i.rechner.isEmpty() && i.rechner != QSysInfo::machineHostName();
        if (i.rechner.isEmpty()) i.rechner = QSysInfo::machineHostName();
    }
    const QFileInfo info(datei);
    i.benutzer = info.owner();
    if (i.benutzer.isEmpty()) i.benutzer = QStringLiteral("unbekannt");
    if (i.rechner.isEmpty()) i.rechner = QStringLiteral("unbekannt");
    const QDateTime zeit = info.lastModified();
    i.seit = zeit.isValid() ? QLocale(QLocale::German).toString(zeit, QStringLiteral("dd.MM.yyyy, HH:mm 'Uhr'"))
                            : QStringLiteral("unbekannt");
    return i;
}

QString wer(const Inhaber& i) {
    return QStringLiteral("auf dem Rechner „%1“, Benutzer „%2“, seit %3").arg(i.rechner, i.benutzer, i.seit);
}

}  // namespace

Programmsperre::Programmsperre(const QString& datei) : datei_(datei), sperre_(datei) {
    // Only the computer that wrote a lock can tell that its nux is gone; a
    // lock from elsewhere never goes stale by its age alone.
    sperre_.setStaleLockTime(0);
}

bool Programmsperre::nehmen(const std::function<bool(const QString&)>& fragen,
                            const std::function<void(const QString&)>& melden) {
    for (int versuch = 0;; ++versuch) {
        if (sperre_.tryLock(0)) return true;
        if (sperre_.error() != QLockFile::LockFailedError) {
            melden(QStringLiteral("Im Programmordner lässt sich die Sperrdatei „%1“ nicht anlegen "
                                  "(Dateizugriff verweigert). nux endet, ohne eine Datei zu ändern.")
                       .arg(datei_));
            return false;
        }
        // A lock file that has just been created may not be written yet.
        qint64 pid = 0;
        QString rechner, programm;
        if (sperre_.getLockInfo(&pid, &rechner, &programm) || versuch == 10) break;
        QThread::msleep(100);
    }
    const Inhaber i = inhaber(sperre_, datei_);
    if (i.fremd) {
        const QString frage =
            QStringLiteral("Dieser Programmordner ist von nux %1 gesperrt.\n\n"
                           "Läuft nux dort nicht mehr (etwa nach einem Absturz), kann die Sperre übernommen "
                           "werden. Läuft es dort noch, würden sich beide Programme gegenseitig Daten "
                           "überschreiben.\n\nSperre übernehmen?")
                .arg(wer(i));
        if (!fragen(frage)) return false;
        if (sperre_.removeStaleLockFile() && sperre_.tryLock(0)) return true;
        // The other computer still holds its lock through the file system.
        melden(QStringLiteral("Die Sperre von nux %1 lässt sich nicht übernehmen; nux läuft dort offenbar noch. "
                              "nux endet, ohne eine Datei zu ändern.")
                   .arg(wer(i)));
        return false;
    }
    melden(QStringLiteral("nux läuft schon mit diesem Programmordner, %1 (Prozess %2). "
                          "Ein zweites nux würde Änderungen des ersten überschreiben; es endet, ohne eine "
                          "Datei zu ändern.")
               .arg(wer(i))
               .arg(i.pid));
    return false;
}

bool programmsperren(Programmsperre& sperre) {
    return sperre.nehmen(
        [](const QString& frage) {
            return QMessageBox::question(nullptr, QStringLiteral("nux"), frage, QMessageBox::Yes | QMessageBox::No,
                                         QMessageBox::No) == QMessageBox::Yes;
        },
        [](const QString& grund) { QMessageBox::warning(nullptr, QStringLiteral("nux"), grund); });
}

}  // namespace nux
