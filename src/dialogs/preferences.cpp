#include "preferences.h"

#include "arrondis.h"
#include "formats.h"
#include "lecture.h"

#include <QFileInfo>
#include <algorithm>
#include <cmath>

namespace {

// A value typed as the duration and point lists read it; nothing when unreadable or empty.
std::optional<double> lireReel(const QString& texte) {
    if (texte.trimmed().isEmpty())
        return std::nullopt;
    double v = 0.0;
    if (texteVersReel(texte, v) != 0 || !std::isfinite(v))
        return std::nullopt;
    return v;
}

} // namespace

TSaisie<double> lireDureeDefaut(const QString& texte) {
    const std::optional<double> v = lireReel(texte);
    if (!v)
        return {std::nullopt, QString::fromUtf8(TextesPreferences::DUREE_INCORRECTE)};
    if (*v > 3600.001)
        return {std::nullopt, QString::fromUtf8(TextesPreferences::DUREE_MAX)};
    if (*v < 9.9999e-7)
        return {std::nullopt, QString::fromUtf8(TextesPreferences::DUREE_MIN)};
    return {*v, {}};
}

TSaisie<int64_t> lireNbPointsDefaut(const QString& texte, int64_t nbMax) {
    const std::optional<double> v = lireReel(texte);
    if (!v)
        return {std::nullopt, QString::fromUtf8(TextesPreferences::NB_POINTS_INCORRECT)};
    // Compared as reals before any conversion: 0.5 rounds to 0, 1e30 overflows.
    if (*v < 1.0)
        return {std::nullopt, QString::fromUtf8(TextesPreferences::NB_POINTS_MIN)};
    if (*v > static_cast<double>(nbMax))
        return {std::nullopt, QString::fromUtf8(TextesPreferences::NB_POINTS_MAX) +
                                  QString::number(nbMax) + QStringLiteral(" points")};
    return {arrondi64(*v), {}};
}

int optionTransfert(TChoixTransfert choix) {
    switch (choix) {
    case TChoixTransfert::NouvellePage:
        return 1;
    case TChoixTransfert::Demander:
        return 3;
    case TChoixTransfert::NouveauDocument:
        break;
    }
    return 0;
}

TChoixTransfert choixTransfert(int option) {
    if (option == 1)
        return TChoixTransfert::NouvellePage;
    if (option == 3)
        return TChoixTransfert::Demander;
    return TChoixTransfert::NouveauDocument;
}

TRegressiChoisi regressiChoisi(bool defautCoche, const QString& cheminEdite,
                               const QString& cheminNonDefautActuel, const QString& cheminOfficiel,
                               const std::function<bool(const QString&)>& fichierExiste) {
    TRegressiChoisi r;
    r.cheminREGRESSINonDefautX = cheminNonDefautActuel;
    r.cheminRegressiUt = cheminOfficiel;
    if (defautCoche)
        return r;
    const bool nomRegressi =
        QFileInfo(cheminEdite).fileName().toUpper() == QLatin1String("REGRESSI.EXE");
    if (!cheminEdite.isEmpty() && nomRegressi && fichierExiste(cheminEdite)) {
        r.versionRegressiDefaut = false;
        r.cheminREGRESSINonDefautX = cheminEdite;
        r.cheminRegressiUt = cheminEdite;
    }
    return r;
}

void appliquerCouleurs(std::vector<TColor>& couleursCourbes, std::array<TColor, 8>& clsVX,
                       const std::array<TColor, 8>& nouvelles, int nbEAU) {
    const int n = std::clamp(nbEAU, 0, 8);
    for (TColor& c : couleursCourbes)
        for (int j = 0; j < n; ++j)
            if (c == clsVX[j]) {
                c = nouvelles[j];
                break;
            }
    for (int j = 0; j < n; ++j)
        clsVX[j] = nouvelles[j];
}

// ---- The time page ----

QString TReglesPreferences::texteDureeDefaut(double duree) {
    return formatReel(4, 4, duree) + QStringLiteral("s");
}

void TReglesPreferences::prepareIndexs() {
    indexDuree = -1;
    for (int k = 0; k < itemsDurees.size(); ++k) {
        const std::optional<double> d = lireReel(itemsDurees[k]);
        if (d && std::fabs(*d - v.DureeTotaleDFT) < 1e-6 * std::fabs(v.DureeTotaleDFT)) {
            indexDuree = k;
            break;
        }
    }
    texteDuree = indexDuree >= 0 ? itemsDurees[indexDuree] : texteDureeDefaut(v.DureeTotaleDFT);

    indexNbPoints = -1;
    for (int k = 0; k < itemsNbPoints.size(); ++k) {
        const std::optional<double> n = lireReel(itemsNbPoints[k]);
        if (n && std::fabs(*n - static_cast<double>(v.NbPtsDFT)) < 0.1) {
            indexNbPoints = k;
            break;
        }
    }
    texteNbPoints = indexNbPoints >= 0 ? itemsNbPoints[indexNbPoints] : QString::number(v.NbPtsDFT);

    indexSeuilPretrig = -1;
    for (int k = 0; k < itemsSeuilsPretrig.size(); ++k) {
        const std::optional<double> s = lireReel(itemsSeuilsPretrig[k]);
        if (s && std::fabs(*s - v.tMaxPretrigDispo) < 0.05 * std::fabs(v.tMaxPretrigDispo)) {
            indexSeuilPretrig = k;
            break;
        }
    }
}

void TReglesPreferences::etapeCommune() {
    if (unite.ajusterDurees)
        unite.ajusterDurees(v.DureeTotaleDFT, v.NbPtsDFT);
    // A count the unit leaves as typed is still brought within its range.
    v.NbPtsDFT = std::clamp(v.NbPtsDFT, std::min(unite.nbPtsMin, unite.nbPtsMax), unite.nbPtsMax);
    prepareIndexs();
}

QString TReglesPreferences::sortieDuree(const QString& texte) {
    const TSaisie<double> s = lireDureeDefaut(texte);
    if (!s.valeur) {
        prepareIndexs(); // the value in force shown again
        return s.message;
    }
    v.DureeTotaleDFT = *s.valeur;
    etapeCommune();
    return {};
}

QString TReglesPreferences::sortieNbPoints(const QString& texte) {
    const TSaisie<int64_t> s = lireNbPointsDefaut(texte, unite.nbPtsMax);
    if (!s.valeur) {
        prepareIndexs();
        return s.message;
    }
    v.NbPtsDFT = *s.valeur;
    etapeCommune();
    return {};
}

void TReglesPreferences::sortieSeuilPretrig(const QString& texte) {
    if (const std::optional<double> s = lireReel(texte); s && *s > 0.0)
        v.tMaxPretrigDispo = *s;
    etapeCommune();
}

void TReglesPreferences::parametresActuels() {
    v.DureeTotaleDFT = unite.dureeTotale0X;
    v.NbPtsDFT = unite.nbPts0X;
    prepareIndexs();
}

void TReglesPreferences::seuilPretrigDefaut() {
    if (itemsSeuilsPretrig.size() > 2)
        sortieSeuilPretrig(itemsSeuilsPretrig[2]);
}
