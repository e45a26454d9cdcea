// System helpers on Linux: XDG folders, desktop entries and the /proc process tree.
#include "systeme.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <unistd.h>

namespace {

// A command line longer than this is cut: the program name is at its start.
constexpr qsizetype TAILLE_MAX_LIGNE_COMMANDE = 64 * 1024;

QString dossierExistant(const QString& chemin) {
    return (!chemin.isEmpty() && QFileInfo(chemin).isDir()) ? QDir::cleanPath(chemin) : QString();
}

// Reads at most `taille` bytes of a file of /proc, whose reported size is 0.
QByteArray lireFichierProc(const QByteArray& chemin, qsizetype taille) {
    QByteArray contenu;
    const int fd = ::open(chemin.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return contenu;
    contenu.resize(taille);
    qsizetype lu = 0;
    while (lu < taille) {
        const ssize_t n = ::read(fd, contenu.data() + lu, size_t(taille - lu));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        lu += n;
    }
    ::close(fd);
    contenu.truncate(lu);
    return contenu;
}

// Target of the "exe" link; a replaced executable shows as "path (deleted)".
QString executableProcessus(const QByteArray& dossierProcessus) {
    char cible[PATH_MAX];
    const ssize_t n = ::readlink((dossierProcessus + "/exe").constData(), cible, sizeof cible);
    if (n <= 0)
        return {};
    QString chemin = QFile::decodeName(QByteArray(cible, n));
    const QString supprime = QStringLiteral(" (deleted)");
    if (chemin.endsWith(supprime))
        chemin.chop(supprime.size());
    return chemin;
}

bool processusCorrespond(const QByteArray& dossierProcessus, const QString& nomExecutable) {
    const QString executable = executableProcessus(dossierProcessus);
    if (!executable.isEmpty()) {
        if (memeNomExecutable(executable, nomExecutable))
            return true;
    } else {
        // Without the right to read the link, the command name (at most 15 characters).
        const QByteArray comm = lireFichierProc(dossierProcessus + "/comm", 64).trimmed();
        if (!comm.isEmpty() && memeNomExecutable(QString::fromLocal8Bit(comm), nomExecutable))
            return true;
    }
    // Wine runs a Windows program under its own loader: the program's Windows path is an
    // argument of the command line.
    const QByteArray ligne =
        lireFichierProc(dossierProcessus + "/cmdline", TAILLE_MAX_LIGNE_COMMANDE);
    for (const QByteArray& argument : ligne.split('\0'))
        if (!argument.isEmpty() &&
            memeNomExecutable(QString::fromLocal8Bit(argument), nomExecutable))
            return true;
    return false;
}

} // namespace

QString cheminDossierSpecial(TDossierSpecial dossier) {
    switch (dossier) {
    case TDossierSpecial::BUREAU:
        return dossierExistant(QStandardPaths::writableLocation(QStandardPaths::DesktopLocation));
    case TDossierSpecial::DONNEES_COMMUNES:
    case TDossierSpecial::DONNEES_UTILISATEUR: {
        // No folder shared by all users is writable by one of them: both are the user's
        // data folder (~/.local/share), which the caller may have to create.
        const QString chemin =
            QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
        return chemin.isEmpty() ? QString() : QDir::cleanPath(chemin);
    }
    case TDossierSpecial::TEMPORAIRE:
        return dossierExistant(QStandardPaths::writableLocation(QStandardPaths::TempLocation));
    case TDossierSpecial::DOCUMENTS: {
        // Without a documents folder, the desktop, then the home folder.
        const QString documents =
            dossierExistant(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
        if (!documents.isEmpty())
            return documents;
        const QString bureau = cheminDossierSpecial(TDossierSpecial::BUREAU);
        return bureau.isEmpty() ? dossierExistant(QDir::homePath()) : bureau;
    }
    case TDossierSpecial::WINDOWS:
    case TDossierSpecial::SYSTEME:
    case TDossierSpecial::PROGRAMMES:
        break;
    }
    return {};
}

QString versionFichier(const QString& chemin) {
    const QString cheminCanonique = QFileInfo(chemin).canonicalFilePath();
    const QString executable = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    if (!cheminCanonique.isEmpty() && cheminCanonique == executable)
        return versionProgramme();
    return {};
}

void lireApplicationsInstallees() {
    lireApplicationsInstallees(
        QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation));
}

bool programmeEnCours(const QString& nomExecutable) {
    return programmeEnCours(nomExecutable, QStringLiteral("/proc"));
}

bool programmeEnCours(const QString& nomExecutable, const QString& racineProcessus) {
    if (nomExecutable.isEmpty())
        return false;
    const QStringList entrees = QDir(racineProcessus).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& entree : entrees) {
        bool numerique = false;
        entree.toUInt(&numerique);
        if (!numerique)
            continue;
        // A process that ends meanwhile just reads as empty.
        if (processusCorrespond(QFile::encodeName(racineProcessus + u'/' + entree), nomExecutable))
            return true;
    }
    return false;
}
