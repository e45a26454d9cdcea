// Only one copy of the program runs for a user: a second start ends silently. The first
// copy holds a lock file in the user's runtime folder for its whole run; the lock of a copy
// that died is taken over.
#pragma once

#include <QLockFile>
#include <QString>

class TInstanceUnique {
public:
    // cheminVerrou: the lock file; "kirvane.lock" in the user's runtime folder (or the
    // temporary folder) by default.
    explicit TInstanceUnique(const QString& cheminVerrou = cheminParDefaut());
    // Releases the lock when held.
    ~TInstanceUnique() = default;

    TInstanceUnique(const TInstanceUnique&) = delete;
    TInstanceUnique& operator=(const TInstanceUnique&) = delete;

    static QString cheminParDefaut();

    // Takes the lock without waiting. False when another live copy holds it (or the lock
    // file cannot be made). True again when already held by this object.
    bool essayer();
    bool tenu() const { return verrou.isLocked(); }
    QString chemin() const { return cheminFichier; }

private:
    QString cheminFichier;
    QLockFile verrou;
};
