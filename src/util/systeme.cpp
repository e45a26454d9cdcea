// Parts of the system helpers that are the same on every platform.
#include "systeme.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <algorithm>

#ifndef KIRVANE_VERSION
#error "KIRVANE_VERSION must be given by the build (\"a.b.c.d\")"
#endif

TTabApplications applicationsInstallees;

namespace {

const QString NOM_INCONNU = QStringLiteral("Nom inconnu");
const QString CHEMIN_INCONNU = QStringLiteral("Chemin inconnu");

// A desktop entry is a few hundred bytes; anything far larger is not one.
constexpr qint64 TAILLE_MAX_ENTREE = 256 * 1024;

char16_t majusculeAZ(char16_t c) {
    return (c >= u'a' && c <= u'z') ? char16_t(c - 32) : c;
}

// Escapes of a desktop entry's string values: \s \n \t \r \\.
QString sansEchappements(QStringView valeur) {
    QString resultat;
    resultat.reserve(valeur.size());
    for (qsizetype i = 0; i < valeur.size(); ++i) {
        const QChar c = valeur[i];
        if (c != u'\\' || i + 1 == valeur.size()) {
            resultat += c;
            continue;
        }
        const QChar suivant = valeur[++i];
        switch (suivant.unicode()) {
        case u's':
            resultat += u' ';
            break;
        case u'n':
            resultat += u'\n';
            break;
        case u't':
            resultat += u'\t';
            break;
        case u'r':
            resultat += u'\r';
            break;
        default:
            resultat += suivant;
        }
    }
    return resultat;
}

// Arguments of an Exec line: blanks separate them, double quotes group them and inside
// quotes a backslash takes the next character as is.
QStringList argumentsExec(const QString& exec) {
    QStringList arguments;
    qsizetype i = 0;
    const qsizetype n = exec.size();
    while (i < n) {
        while (i < n && (exec[i] == u' ' || exec[i] == u'\t'))
            ++i;
        if (i == n)
            break;
        QString argument;
        if (exec[i] == u'"') {
            for (++i; i < n && exec[i] != u'"'; ++i) {
                if (exec[i] == u'\\' && i + 1 < n)
                    ++i;
                argument += exec[i];
            }
            ++i; // closing quote
        } else {
            while (i < n && exec[i] != u' ' && exec[i] != u'\t')
                argument += exec[i++];
        }
        arguments << argument;
    }
    return arguments;
}

// The program an Exec line starts, past a leading "env NAME=value ...".
QString programmeExec(const QString& exec) {
    const QStringList arguments = argumentsExec(exec);
    qsizetype k = 0;
    if (k < arguments.size() && arguments[k] == u"env") {
        ++k;
        while (k < arguments.size() && arguments[k].contains(u'=') &&
               !arguments[k].startsWith(u'/'))
            ++k;
    }
    return k < arguments.size() ? arguments[k] : QString();
}

} // namespace

QString versionProgramme() {
    return QStringLiteral(KIRVANE_VERSION);
}

bool memeNomExecutable(const QString& chemin, const QString& nomExecutable) {
    const qsizetype debut =
        std::max(chemin.lastIndexOf(u'/'), chemin.lastIndexOf(u'\\')) + 1; // -1 gives 0
    const QStringView nomFichier = QStringView(chemin).mid(debut);
    if (nomFichier.size() != nomExecutable.size() || nomFichier.isEmpty())
        return false;
    for (qsizetype i = 0; i < nomFichier.size(); ++i)
        if (majusculeAZ(nomFichier[i].unicode()) != majusculeAZ(nomExecutable[i].unicode()))
            return false;
    return true;
}

TDonneesApplication lireEntreeBureau(const QString& cheminFichier) {
    TDonneesApplication application{NOM_INCONNU, CHEMIN_INCONNU};
    QFile fichier(cheminFichier);
    if (!fichier.open(QIODevice::ReadOnly))
        return application;
    const QString contenu = QString::fromUtf8(fichier.read(TAILLE_MAX_ENTREE));

    QString nom, dossier, exec;
    bool groupePrincipal = false;
    for (QStringView ligne : QStringView(contenu).split(u'\n')) {
        ligne = ligne.trimmed();
        if (ligne.isEmpty() || ligne.startsWith(u'#'))
            continue;
        if (ligne.startsWith(u'[')) {
            groupePrincipal = (ligne == u"[Desktop Entry]");
            continue;
        }
        const qsizetype egal = ligne.indexOf(u'=');
        if (!groupePrincipal || egal < 0)
            continue;
        // "Name[fr]" and the like are translations: only the plain key counts.
        const QStringView cle = ligne.left(egal).trimmed();
        const QString valeur = sansEchappements(ligne.mid(egal + 1).trimmed());
        if (cle == u"Name")
            nom = valeur;
        else if (cle == u"Path")
            dossier = valeur;
        else if (cle == u"Exec")
            exec = valeur;
    }

    if (!nom.isEmpty())
        application.Nom = nom.toUpper();
    if (!dossier.isEmpty()) {
        application.Location = dossier.toUpper();
    } else {
        const QString programme = programmeExec(exec);
        if (programme.startsWith(u'/'))
            application.Location = QFileInfo(programme).path().toUpper();
    }
    return application;
}

void lireApplicationsInstallees(const QStringList& dossiersApplications) {
    applicationsInstallees.clear();
    QSet<QString> dossiersVus; // XDG lists may name a folder twice
    for (const QString& dossier : dossiersApplications) {
        const QString canonique = QFileInfo(dossier).canonicalFilePath();
        if (canonique.isEmpty() || dossiersVus.contains(canonique))
            continue;
        dossiersVus.insert(canonique);
        // Symbolic links to folders are not followed, so a loop of links cannot trap the walk.
        QDirIterator it(canonique, {QStringLiteral("*.desktop")}, QDir::Files,
                        QDirIterator::Subdirectories);
        QStringList fichiers;
        while (it.hasNext())
            fichiers << it.next();
        fichiers.sort();
        for (const QString& fichier : fichiers)
            applicationsInstallees.push_back(lireEntreeBureau(fichier));
    }
}

bool estInstallee(const QString& nom) {
    const QString cherche = nom.toUpper();
    if (cherche.isEmpty())
        return false;
    for (const TDonneesApplication& application : applicationsInstallees)
        if (application.Nom.contains(cherche))
            return true;
    return false;
}
