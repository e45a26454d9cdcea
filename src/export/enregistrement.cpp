#include "enregistrement.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>

TDialogueEnregistrement dialogueEnregistrement(TFormatFichier format) {
    switch (format) {
    case TFormatFichier::Texte:
        return {QStringLiteral("Enregistrement au format texte"),
                QStringLiteral("Fichiers texte (*.txt)"), QStringLiteral(".txt")};
    case TFormatFichier::CSV:
        return {QStringLiteral("Enregistrement au format CSV"),
                QStringLiteral("Fichiers CSV (*.csv)"), QStringLiteral(".csv")};
    case TFormatFichier::Regressi:
        break;
    }
    return {QStringLiteral("Enregistrement au format Regressi Win"),
            QStringLiteral("Fichiers Regressi Windows (*.rw3)"), QStringLiteral(".rw3")};
}

QString dossierDialogue(const QString& dernierDossier, const QString& dossierDocuments) {
    for (const QString& d : {dernierDossier, dossierDocuments})
        if (!d.isEmpty() && QFileInfo(d).isDir())
            return QFileInfo(d).absoluteFilePath();
    return QDir::homePath();
}

QString nomFichierDefaut(int numAcqDef) {
    return QStringLiteral("Kirvane %1").arg(numAcqDef, 3, 10, QLatin1Char('0'));
}

QString cheminAvecExtension(const QString& chemin, const QString& extension) {
    // Both separators count: the chosen path may come in either form.
    const qsizetype debutNom = std::max(chemin.lastIndexOf(u'/'), chemin.lastIndexOf(u'\\')) + 1;
    const qsizetype point = chemin.indexOf(u'.', debutNom);
    return (point < 0 ? chemin : chemin.left(point)) + extension;
}

QString questionRemplacement(const QString& chemin) {
    return QStringLiteral("Le fichier \"") + chemin +
           QString::fromUtf8("\" existe déjà. Faut-il le remplacer ?");
}

QString messageAucuneValeur() {
    return QString::fromUtf8("Il n'y a pas de valeurs dans l'intervalle de temps retenu entre "
                             "les deux curseurs verts ! \n\rL'enregistrement est donc inutile. ");
}

std::optional<QString> enregistrerOctets(const QString& chemin, const QByteArray& octets) {
    const QString affiche = QDir::toNativeSeparators(chemin);
    QSaveFile fichier(chemin);
    // Never write in place: without a temporary file the previous one would be lost.
    fichier.setDirectWriteFallback(false);
    if (!fichier.open(QIODevice::WriteOnly)) {
        return QStringLiteral("Impossible d'enregistrer le fichier \"") + affiche +
               QString::fromUtf8("\" : le dossier n'existe pas ou est protégé en écriture.");
    }
    if (fichier.write(octets) != octets.size() || !fichier.commit()) {
        return QStringLiteral("L'enregistrement du fichier \"") + affiche +
               QString::fromUtf8("\" a échoué (disque plein ou fichier protégé). "
                                 "Le fichier précédent est conservé.");
    }
    return std::nullopt;
}
