#include "fichierscli.h"

#include "consolecli.h"
#include "enregistrement.h"
#include "fichierregressi.h"
#include "fichierstexte.h"
#include "instantaneexport.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>
#include <functional>
#include <optional>

#if defined(Q_OS_WIN)
#include <fcntl.h>
#include <io.h>
#endif

namespace {

// The Regressi file holds the first six series (the series of its format).
constexpr std::size_t seriesRegressi = 6;

QString guillemets(const QString& t) {
    return QStringLiteral("« ") + QDir::toNativeSeparators(t) + QStringLiteral(" »");
}

QString impossible(const QString& chemin, const QString& raison) {
    return QStringLiteral("Impossible d'enregistrer le fichier ") + guillemets(chemin) +
           QStringLiteral(" : ") + raison + QLatin1Char('.');
}

QString verifierFichier(const QString& chemin) {
    const QFileInfo f(chemin);
    if (f.isDir())
        return impossible(chemin, QStringLiteral("c'est un dossier"));
    const QString dossier = f.absolutePath();
    if (!QFileInfo(dossier).isDir())
        return impossible(chemin, QStringLiteral("le dossier ") + guillemets(dossier) +
                                      QStringLiteral(" n'existe pas"));
    // The writer saves through a temporary file beside the target: the folder must take a
    // new file, whatever the permission bits say (root, network folders, read-only mounts).
    QTemporaryFile essai(QDir(dossier).filePath(QStringLiteral(".kirvane-cli-XXXXXX")));
    if (!essai.open())
        return impossible(chemin, QStringLiteral("le dossier ") + guillemets(dossier) +
                                      QStringLiteral(" est protégé en écriture"));
    return {};
}

} // namespace

QString verifierFichiers(const TOptionsCli& o) {
    for (const QString* chemin : {&o.regressi, &o.txt, &o.csv}) {
        if (chemin->isEmpty() || *chemin == sortieStandard)
            continue;
        if (QString erreur = verifierFichier(*chemin); !erreur.isEmpty())
            return erreur;
    }
    return {};
}

bool enregistrerFichiers(const TOptionsCli& o, const TInstantaneExport& e, TConsoleCli& console,
                         std::FILE* sortie) {
    struct Fichier {
        const QString* chemin;
        std::function<std::optional<QByteArray>(const TInstantaneExport&)> ecrivain;
    };
    const Fichier fichiers[] = {
        {&o.regressi, fichierRegressi}, {&o.txt, fichierTXT}, {&o.csv, fichierCSV}};
    if (!o.regressi.isEmpty() && e.series.size() > seriesRegressi)
        console.ecrire(QStringLiteral("Le fichier Regressi ne garde que les ") +
                       QString::number(seriesRegressi) + QStringLiteral(" premières courbes sur ") +
                       QString::number(e.series.size()) + QLatin1Char('.'));
    bool ok = true;
    for (const Fichier& f : fichiers) {
        if (f.chemin->isEmpty())
            continue;
        const std::optional<QByteArray> octets = f.ecrivain(e);
        if (!octets) {
            console.ecrire(messageAucuneValeur());
            return false;
        }
        if (*f.chemin == sortieStandard) {
#if defined(Q_OS_WIN)
            _setmode(_fileno(sortie), _O_BINARY); // the files' own line ends, unchanged
#endif
            const auto n = static_cast<std::size_t>(octets->size());
            if (std::fwrite(octets->constData(), 1, n, sortie) != n || std::fflush(sortie) != 0) {
                console.ecrire(QStringLiteral("L'écriture sur la sortie standard a échoué."));
                ok = false;
            }
            continue;
        }
        if (const auto erreur = enregistrerOctets(*f.chemin, *octets)) {
            console.ecrire(*erreur);
            ok = false;
            continue;
        }
        console.ecrire(QStringLiteral("Fichier enregistré : ") +
                       QDir::toNativeSeparators(*f.chemin));
    }
    return ok;
}
