#include "optionscli.h"

#include "enregistrement.h"
#include "famillescentrales.h"
#include "lecture.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <array>
#include <utility>

namespace {

// The --centrale names of the table of families: "simulation-sp5, sp5, … ou campus".
QString nomsCentrales() {
    QStringList noms = optionsCentrales();
    const QString dernier = noms.isEmpty() ? QString() : noms.takeLast();
    return noms.isEmpty() ? dernier
                          : noms.join(QStringLiteral(", ")) + QStringLiteral(" ou ") + dernier;
}

// Options that take a value; the others are flags.
const QStringList optionsAValeur{
    QStringLiteral("--centrale"),      QStringLiteral("--entrees"),
    QStringLiteral("--calibre"),       QStringLiteral("--differentiel"),
    QStringLiteral("--duree"),         QStringLiteral("--points"),
    QStringLiteral("--declenchement"), QStringLiteral("--voie-synchro"),
    QStringLiteral("--seuil"),         QStringLiteral("--sens"),
    QStringLiteral("--pretrig"),       QStringLiteral("--trames"),
    QStringLiteral("--attente-max"),   QStringLiteral("--regressi"),
    QStringLiteral("--txt"),           QStringLiteral("--csv"),
};

QString guillemets(const QString& t) {
    return QStringLiteral("« ") + t + QStringLiteral(" »");
}

QString valeurIncorrecte(const QString& option, const QString& valeur, const QString& attendu) {
    return QStringLiteral("Valeur incorrecte pour ") + option + QStringLiteral(" : ") +
           guillemets(valeur) + QStringLiteral(" (") + attendu + QStringLiteral(").");
}

// Index of the text among the choices (case ignored), -1 when absent.
int choix(const QString& texte, const QStringList& choix) {
    for (int i = 0; i < choix.size(); ++i)
        if (texte.compare(choix[i], Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

// Applies one option with its value; the message when the value is wrong.
QString appliquer(TOptionsCli& o, const QString& nom, const QString& v) {
    if (nom == QLatin1String("--centrale")) {
        if (const int type = typeParOption(v)) {
            o.typeCentrale = type;
            return {};
        }
        return valeurIncorrecte(nom, v, nomsCentrales());
    }
    if (nom == QLatin1String("--entrees")) {
        o.entrees.clear();
        for (const QString& morceau : v.split(QLatin1Char(','))) {
            const int n = numeroEntree(morceau);
            if (n < 0)
                return valeurIncorrecte(nom, v,
                                        QStringLiteral("entrées séparées par des "
                                                       "virgules, par exemple EA0,EA1"));
            const QString entree = QStringLiteral("EA") + QString::number(n);
            if (!o.entrees.contains(entree))
                o.entrees.push_back(entree);
        }
        return {};
    }
    if (nom == QLatin1String("--calibre")) {
        const qsizetype egal = v.indexOf(QLatin1Char('='));
        const int n = egal > 0 ? numeroEntree(v.left(egal)) : -1;
        const QString volts = egal > 0 ? v.mid(egal + 1).trimmed() : QString();
        if (n < 0 || volts.isEmpty())
            return valeurIncorrecte(nom, v,
                                    QStringLiteral("entrée=calibre en volts, par "
                                                   "exemple EA0=1"));
        o.calibres.push_back({QStringLiteral("EA") + QString::number(n), volts});
        return {};
    }
    if (nom == QLatin1String("--differentiel")) {
        static const QRegularExpression canal(QStringLiteral("^\\s*(canal\\s*)?([0-3])\\s*$"),
                                              QRegularExpression::CaseInsensitiveOption);
        const auto m = canal.match(v);
        if (!m.hasMatch())
            return valeurIncorrecte(nom, v, QStringLiteral("numéro de canal de 0 à 3"));
        const int k = m.captured(2).toInt();
        if (std::find(o.differentiels.begin(), o.differentiels.end(), k) == o.differentiels.end())
            o.differentiels.push_back(k);
        return {};
    }
    if (nom == QLatin1String("--duree")) {
        o.duree = v;
        return {};
    }
    if (nom == QLatin1String("--points")) {
        o.points = v;
        return {};
    }
    if (nom == QLatin1String("--declenchement")) {
        o.declenchement = choix(
            v, {QStringLiteral("manuel"), QStringLiteral("seuil"), QStringLiteral("externe")});
        return o.declenchement < 0
                   ? valeurIncorrecte(nom, v, QStringLiteral("manuel, seuil ou externe"))
                   : QString();
    }
    if (nom == QLatin1String("--voie-synchro")) {
        const int n = numeroEntree(v);
        if (n < 0)
            return valeurIncorrecte(nom, v, QStringLiteral("une entrée, par exemple EA0"));
        o.voieSynchro = QStringLiteral("EA") + QString::number(n);
        return {};
    }
    if (nom == QLatin1String("--seuil")) {
        o.seuil = v;
        return {};
    }
    if (nom == QLatin1String("--sens")) {
        o.sens = choix(v, {QStringLiteral("montant"), QStringLiteral("descendant")});
        return o.sens < 0 ? valeurIncorrecte(nom, v, QStringLiteral("montant ou descendant"))
                          : QString();
    }
    if (nom == QLatin1String("--pretrig")) {
        QString t = v.trimmed();
        if (t.endsWith(QLatin1Char('%')))
            t = t.chopped(1).trimmed();
        o.pretrig = choix(t, {QStringLiteral("0"), QStringLiteral("25"), QStringLiteral("50"),
                              QStringLiteral("75"), QStringLiteral("100")});
        return o.pretrig < 0 ? valeurIncorrecte(nom, v, QStringLiteral("0, 25, 50, 75 ou 100"))
                             : QString();
    }
    if (nom == QLatin1String("--trames")) {
        bool ok = false;
        const int n = v.trimmed().toInt(&ok);
        if (!ok || n < 1)
            return valeurIncorrecte(nom, v, QStringLiteral("nombre entier de trames, au moins 1"));
        o.trames = n;
        return {};
    }
    if (nom == QLatin1String("--attente-max")) {
        double s = 0.0;
        if (v.trimmed().isEmpty() || texteVersReel(v, s, u"s") != 0 || !(s > 0.0))
            return valeurIncorrecte(nom, v, QStringLiteral("durée positive, par exemple « 30 s »"));
        o.attenteMax = s;
        return {};
    }
    const TFormatFichier format = nom == QLatin1String("--regressi") ? TFormatFichier::Regressi
                                  : nom == QLatin1String("--txt")    ? TFormatFichier::Texte
                                                                     : TFormatFichier::CSV;
    QString& fichier = format == TFormatFichier::Regressi ? o.regressi
                       : format == TFormatFichier::Texte  ? o.txt
                                                          : o.csv;
    if (v.isEmpty())
        return QStringLiteral("L'option ") + nom + QStringLiteral(" attend un nom de fichier.");
    // As the save dialog does: «mesure» and «mesure.dat» become «mesure.csv».
    fichier =
        v == sortieStandard ? v : cheminAvecExtension(v, dialogueEnregistrement(format).extension);
    return {};
}

// The same file, or both the standard output; links followed when the files exist.
bool memeFichier(const QString& a, const QString& b) {
    if (a.isEmpty() || b.isEmpty())
        return false;
    if (a == sortieStandard || b == sortieStandard)
        return a == b;
    const auto chemin = [](const QString& c) {
        QFileInfo f(c);
        if (f.isSymLink()) // a link to a file not written yet
            f.setFile(f.symLinkTarget());
        if (f.exists())
            return f.canonicalFilePath();
        const QString dossier = QFileInfo(f.absolutePath()).canonicalFilePath();
        return dossier.isEmpty() ? QDir::cleanPath(f.absoluteFilePath())
                                 : dossier + QLatin1Char('/') + f.fileName();
    };
    return chemin(a) == chemin(b);
}

// The settings that only make sense together with others.
QString verifierEnsemble(const TOptionsCli& o) {
    if (o.aide || o.lister)
        return {};
    if (o.regressi.isEmpty() && o.txt.isEmpty() && o.csv.isEmpty())
        return QStringLiteral("Aucun fichier demandé : indiquez au moins une des options "
                              "--regressi, --txt ou --csv.");
    if (o.csvVirgule && o.csv.isEmpty())
        return QStringLiteral("L'option --csv-virgule demande --csv.");
    const bool seuil = o.declenchement == 1;
    if (!seuil && (!o.voieSynchro.isEmpty() || o.seuil.has_value()))
        return QStringLiteral("Les options --voie-synchro et --seuil demandent "
                              "--declenchement seuil.");
    if ((o.sens >= 0 || o.pretrig > 0) && o.declenchement != 1 && o.declenchement != 2)
        return QStringLiteral("Les options --sens et --pretrig demandent --declenchement seuil "
                              "ou externe.");
    // One file per option: two names of the same file would leave only the last one written.
    const std::pair<const char*, const QString*> fichiers[] = {
        {"--regressi", &o.regressi}, {"--txt", &o.txt}, {"--csv", &o.csv}};
    for (std::size_t i = 0; i < std::size(fichiers); ++i)
        for (std::size_t j = i + 1; j < std::size(fichiers); ++j)
            if (!fichiers[i].second->isEmpty() &&
                memeFichier(*fichiers[i].second, *fichiers[j].second))
                return QStringLiteral("Les options ") + QLatin1String(fichiers[i].first) +
                       QStringLiteral(" et ") + QLatin1String(fichiers[j].first) +
                       QStringLiteral(" désignent le même fichier : ") +
                       guillemets(*fichiers[i].second) + QLatin1Char('.');
    return {};
}

} // namespace

int numeroEntree(const QString& texte) {
    static const QRegularExpression entree(QStringLiteral("^\\s*EA([0-7])\\s*$"),
                                           QRegularExpression::CaseInsensitiveOption);
    const auto m = entree.match(texte);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

TAnalyseCli analyserOptions(const QStringList& arguments) {
    TAnalyseCli r;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        QString nom = arguments[i];
        QString valeur;
        bool valeurJointe = false;
        const qsizetype egal = nom.indexOf(QLatin1Char('='));
        if (nom.startsWith(QLatin1String("--")) && egal > 0) {
            valeur = nom.mid(egal + 1);
            nom = nom.left(egal);
            valeurJointe = true;
        }
        if (nom == QLatin1String("--help") || nom == QLatin1String("--aide") ||
            nom == QLatin1String("-h")) {
            r.options.aide = true;
            continue;
        }
        if (nom == QLatin1String("--lister")) {
            r.options.lister = true;
            continue;
        }
        if (nom == QLatin1String("--csv-virgule")) {
            r.options.csvVirgule = true;
            continue;
        }
        if (!optionsAValeur.contains(nom)) {
            r.erreur =
                nom.startsWith(QLatin1Char('-'))
                    ? QStringLiteral("Option inconnue : ") + nom + QLatin1Char('.')
                    : QStringLiteral("Argument inattendu : ") + guillemets(nom) + QLatin1Char('.');
            return r;
        }
        if (!valeurJointe) {
            if (i + 1 >= arguments.size() || arguments[i + 1].startsWith(QLatin1String("--"))) {
                r.erreur =
                    QStringLiteral("L'option ") + nom + QStringLiteral(" attend une valeur.");
                return r;
            }
            valeur = arguments[++i];
        }
        r.erreur = appliquer(r.options, nom, valeur);
        if (!r.erreur.isEmpty())
            return r;
    }
    r.erreur = verifierEnsemble(r.options);
    return r;
}

QString texteAideCli() {
    // The unit names come from the table of families.
    const QString debut = QStringLiteral(
        "Usage : kirvane-cli [options]\n"
        "Programme une centrale comme Kirvane, fait une acquisition (ou plusieurs trames du\n"
        "mode permanent) et enregistre les mesures.\n"
        "\n"
        "  --lister               affiche les lignes de la détection des centrales et s'arrête\n"
        "  --centrale NOM         ");
    return debut + nomsCentrales() +
           QStringLiteral(
               "\n"
               "                         (par défaut : la centrale que Kirvane choisirait)\n"
               "  --entrees EA0,EA1      entrées activées (par défaut : EA0)\n"
               "  --calibre EA0=1        calibre d'une entrée en volts (répétable)\n"
               "  --differentiel CANAL   canal 0 à 3 en mode différentiel (répétable)\n"
               "  --duree TEXTE          durée totale, écrite comme dans la fenêtre : « 20 ms »,\n"
               "                         « 2.10-3 s »\n"
               "  --points N             nombre de points\n"
               "  --declenchement MODE   manuel, seuil ou externe\n"
               "  --voie-synchro EA0     entrée du déclenchement sur seuil\n"
               "  --seuil TEXTE          seuil du déclenchement, « 1,5 V » ou « 500 mV »\n"
               "  --sens SENS            montant ou descendant\n"
               "  --pretrig P            prédéclenchement : 0, 25, 50, 75 ou 100 (%)\n"
               "  --trames N             mode permanent, N trames ; les fichiers gardent la\n"
               "                         dernière trame complète\n"
               "  --attente-max DURÉE    abandonne si le déclenchement ne vient pas dans ce "
               "délai,\n"
               "                         « 30 s » (code de sortie 1, aucun fichier)\n"
               "  --regressi F.rw3       enregistre au format Regressi\n"
               "  --txt F.txt            enregistre au format texte\n"
               "  --csv F.csv            enregistre au format CSV\n"
               "  --csv-virgule          virgule décimale dans le fichier CSV (pour un tableur en\n"
               "                         français) ; sans elle, le point\n"
               "  --help, --aide         affiche cette aide\n"
               "\n"
               "Les valeurs s'écrivent comme dans la fenêtre, à la française quelle que soit la\n"
               "langue du système : virgule décimale (le point est accepté), « 2.10-3 » pour\n"
               "0,002, préfixes f, p, n, µ (ou u), m, k, M, G, T devant l'unité (s, V).\n"
               "Le fichier reçoit l'extension de son format (« --csv mesure » écrit mesure.csv) ;\n"
               "« - » écrit le fichier sur la sortie standard (une seule option à la fois).\n"
               "Les dossiers des fichiers sont vérifiés avant l'acquisition.\n"
               "Les fichiers contiennent toutes les séries, du début à la fin de l'acquisition.\n"
               "Les réglages modifiés par la centrale (nombre de points, durée, seuil) sont\n"
               "signalés sur la sortie d'erreur.\n"
               "Ctrl+C (ou les signaux TERM et HUP) arrête l'acquisition sans écrire de fichier.\n"
               "Les erreurs sont écrites sur la sortie d'erreur ; le code de sortie est alors 1,\n"
               "ou 2 pour une option ou un fichier incorrect.\n");
}
