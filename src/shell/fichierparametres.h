// The Regressi transfer files written during the run, deleted at exit when the user left
// them as they were. Those that cannot be deleted are listed in the parameter file
// "Kirvane.par", kept in the user's data folder; the program writes or deletes that file
// and never reads it.
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

class TFichierParametres {
public:
    // dossier: where "Kirvane.par" goes; the user's data folder + "/Kirvane" by default.
    explicit TFichierParametres(QString dossier = dossierParDefaut());

    static QString dossierParDefaut();
    QString chemin() const;

    // Records a transfer file just written, with its modification time as it is now.
    void ajouter(const QString& cheminFichier);

    // At exit: deletes each recorded file that is unchanged since it was recorded,
    // keeps those modified meanwhile, and lists in the parameter file those that could not
    // be deleted (the parameter file is deleted when there are none). The list is emptied.
    // Returns false when the parameter file could not be written or deleted (not reported
    // to the user).
    bool nettoyerALaSortie();

    // Entries: full path + "||" + modification time text.
    const QStringList& aSupprimer() const { return entrees; }

    // Modification time as recorded: UTC, ISO 8601 with milliseconds, independent of the
    // regional settings and of daylight saving time.
    static QString texteDateModification(const QDateTime& date);
    // Current modification time text of a file; empty when it does not exist.
    static QString dateModification(const QString& cheminFichier);

    static constexpr const char* SEPARATEUR = "||";

private:
    QString dossier;
    QStringList entrees;
};
