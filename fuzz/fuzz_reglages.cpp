// The settings file read at start: any content is read without crashing or hanging, and
// every value the window takes from it lies within its limits.
#include "reglages.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void exiger(bool condition, const char* quoi) {
    if (!condition) {
        std::fprintf(stderr, "réglage hors limites : %s\n", quoi);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* donnees, size_t taille) {
    if (taille > 8192)
        return 0;
    static QTemporaryDir dossier;
    const QString chemin = dossier.path() + QStringLiteral("/Kirvane.ini");
    {
        QFile f(chemin);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        f.write(reinterpret_cast<const char*>(donnees), static_cast<qint64>(taille));
    }
    TMagasinReglagesQSettings magasin(chemin);
    TReglagesKirvane r;
    if (!magasin.endommage())
        r.lire(magasin, [](const QString&) { return false; });
    exiger(std::isfinite(r.DureeTotaleDFT) && r.DureeTotaleDFT >= DUREE_TOTALE_MIN &&
               r.DureeTotaleDFT <= DUREE_TOTALE_MAX,
           "durée totale");
    exiger(r.NbPtsDFT >= NB_POINTS_MIN && r.NbPtsDFT <= NB_POINTS_MAX, "nombre de points");
    exiger(r.nbUtilisations >= 0, "nombre d'utilisations");
    exiger(std::isfinite(r.tMaxPretrigDispo) && r.tMaxPretrigDispo > 0.0, "seuil pretrig");
    exiger(r.optionSeparateurCSV == 0 || r.optionSeparateurCSV == 1, "séparateur CSV");
    exiger(r.OptionCouleursRegressi == 0 || r.OptionCouleursRegressi == 1, "couleurs Regressi");
    exiger(r.typeDERNCentraleUtilisee >= 0 && r.typeDERNCentraleUtilisee <= 5, "interface");
    for (int o : {r.optionTransfertREGRESSI, r.optionTransfertEXCEL, r.optionTransfertOOo})
        exiger(o == 0 || o == 1 || o == 3, "option de transfert");
    // Writing back must not fail on what was read.
    r.ecrire(magasin);
    return 0;
}
