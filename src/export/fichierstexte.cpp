#include "fichierstexte.h"

#include "lignesfichier.h"
#include "windows1252.h"

#include <cmath>

namespace {

constexpr int largeurColonne = 15;

// A column of the text table: the text, then spaces up to 15 characters. A longer text is
// kept whole and shifts the columns after it.
void colonne(TLignesFichier& f, const QString& texte) {
    const QByteArray octets = versWindows1252(texte);
    f.ajoute(std::string_view(octets.constData(), octets.size()));
    f.espaces(largeurColonne - static_cast<int>(octets.size()));
}

QString enTete(const TSerieExport& s) {
    return s.sEnteteVM + QStringLiteral("(V)");
}

qsizetype tailleEstimee(const TInstantaneExport& e, TSelection s, int largeur) {
    return 1024 + static_cast<qsizetype>(s.nbLignes()) *
                      static_cast<qsizetype>(e.series.size() + 1) * largeur;
}

} // namespace

float tempsTableau(const TInstantaneExport& e, int64_t i0, int64_t i) {
    double t = tempsDepuisCurseur(e, i0, i);
    if (std::fabs(t) < e.dtAX / 2)
        t = 0;
    return tempsArrondi(t);
}

std::optional<QByteArray> fichierTXT(const TInstantaneExport& e) {
    const std::optional<TSelection> s = selectionTableaux(e);
    if (!s)
        return std::nullopt;
    TLignesFichier f(tailleEstimee(e, *s, largeurColonne));
    f.ligne(e.titreProgramme);
    f.ligne("");
    f.ligne(texteMesuresRealisees(e, e.heureAcq));
    f.ligne("");
    colonne(f, QStringLiteral("t(s)"));
    for (const TSerieExport& serie : e.series)
        colonne(f, enTete(serie));
    f.finLigne();
    f.ligne("");
    for (int64_t i = s->i0; i <= s->i1; ++i) {
        f.espaces(largeurColonne - f.ajouteG6(tempsTableau(e, s->i0, i)));
        for (const TSerieExport& serie : e.series)
            f.espaces(largeurColonne - f.ajouteG6(serie.valeurs[i]));
        f.finLigne();
    }
    return std::move(f).resultat();
}

std::optional<QByteArray> fichierCSV(const TInstantaneExport& e) {
    const std::optional<TSelection> s = selectionTableaux(e);
    if (!s)
        return std::nullopt;
    TLignesFichier f(tailleEstimee(e, *s, 10));
    const char separateur = e.separateurCSV == ',' ? ',' : '.';
    f.ajoute(QStringLiteral("t(s)"));
    for (const TSerieExport& serie : e.series)
        f.ajoute(u';' + enTete(serie));
    f.finLigne();
    for (int64_t i = s->i0; i <= s->i1; ++i) {
        f.ajouteG6(tempsTableau(e, s->i0, i), separateur);
        for (const TSerieExport& serie : e.series) {
            f.ajoute(';');
            f.ajouteG6(serie.valeurs[i], separateur);
        }
        f.finLigne();
    }
    return std::move(f).resultat();
}
