#include "instanceunique.h"

#include <QDir>
#include <QStandardPaths>

TInstanceUnique::TInstanceUnique(const QString& cheminVerrou)
    : cheminFichier(cheminVerrou), verrou(cheminVerrou) {
    // The program runs for hours: a lock is never stale because of its age, only because
    // the process that made it is gone (QLockFile checks the process id).
    verrou.setStaleLockTime(0);
}

QString TInstanceUnique::cheminParDefaut() {
    QString dossier = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dossier.isEmpty())
        dossier = QDir::tempPath();
    return dossier + QStringLiteral("/kirvane.lock");
}

bool TInstanceUnique::essayer() {
    if (verrou.isLocked())
        return true;
    return verrou.tryLock(0);
}
