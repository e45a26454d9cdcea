#include "fichierparametres.h"

#include "lettres.h"
#include "transfertregressi.h"
#include "windows1252.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

TFichierParametres::TFichierParametres(QString dossier) : dossier(std::move(dossier)) {}

QString TFichierParametres::dossierParDefaut() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Kirvane");
}

QString TFichierParametres::chemin() const {
    return dossier + QStringLiteral("/Kirvane.par");
}

QString TFichierParametres::texteDateModification(const QDateTime& date) {
    return date.toUTC().toString(Qt::ISODateWithMs);
}

QString TFichierParametres::dateModification(const QString& cheminFichier) {
    // The same text as the transfer notes, so that both agree on "unchanged".
    return dateModificationFichier(cheminFichier);
}

void TFichierParametres::ajouter(const QString& cheminFichier) {
    entrees << cheminFichier + QLatin1String(SEPARATEUR) + dateModification(cheminFichier);
}

bool TFichierParametres::nettoyerALaSortie() {
    QStringList aMemoriser;
    for (const QString& entree : std::as_const(entrees)) {
        // The date text never holds "|", a path might: split at the last separator.
        const qsizetype sep = entree.lastIndexOf(QLatin1String(SEPARATEUR));
        if (sep < 0)
            continue;
        const QString cheminFichier = entree.left(sep);
        const QString dateNotee = entree.mid(sep + 2);
        if (!QFileInfo::exists(cheminFichier))
            continue;
        const QString dateActuelle = dateModification(cheminFichier);
        if (majusculesAscii(dateActuelle) != majusculesAscii(dateNotee))
            continue; // saved again by the user meanwhile: it is theirs now
        if (!QFile::remove(cheminFichier))
            aMemoriser << entree;
    }
    entrees.clear();

    if (aMemoriser.isEmpty())
        return !QFileInfo::exists(chemin()) || QFile::remove(chemin());

    QByteArray contenu;
    for (const QString& ligne : std::as_const(aMemoriser))
        contenu += versWindows1252(ligne) + "\r\n";
    if (!QDir().mkpath(dossier))
        return false;
    // Written beside the target and renamed over it once complete.
    QSaveFile fichier(chemin());
    if (!fichier.open(QIODevice::WriteOnly))
        return false;
    fichier.write(contenu);
    return fichier.commit();
}
