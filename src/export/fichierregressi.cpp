#include "fichierregressi.h"

#include "formats.h"
#include "lignesfichier.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// "£" is byte A3 in Windows-1252.
constexpr char livre = '\xA3';

// A marker line: «£3 NOM VAR», «&5 VALEUR VAR».
void marqueur(TLignesFichier& f, char signe, int64_t nombre, std::string_view nom) {
    f.ajoute(signe);
    f.ligne(QString::number(nombre) + u' ' + QLatin1StringView(nom.data(), nom.size()));
}

QString exposantSigne(int e) {
    return QStringLiteral("E") + (e < 0 ? u'-' : u'+') +
           QStringLiteral("%1").arg(std::abs(e), 2, 10, QLatin1Char('0'));
}

QString texteSignification(const TSerieExport& s) {
    if (s.ModeDiffVM)
        return QString::fromUtf8("Tension diff. entre les entrées ") + s.capCommRegvoie1VM +
               QStringLiteral(" et ") + s.capCommRegvoie2VM;
    return QString::fromUtf8("Tension entre l'entrée ") + s.capCommRegvoie1VM +
           QStringLiteral(" et la masse");
}

// The value section: times from the left green cursor, then each series, "." throughout.
void valeurs(TLignesFichier& f, const TInstantaneExport& e, TSelection s, int n) {
    marqueur(f, '&', s.nbLignes(), "VALEUR VAR");
    for (int64_t i = s.i0; i <= s.i1; ++i) {
        f.ajouteG6(tempsArrondi(tempsDepuisCurseur(e, s.i0, i)));
        for (int j = 0; j < n; ++j) {
            f.ajoute(' ');
            f.ajouteG6(e.series[j].valeurs[i]);
        }
        f.finLigne();
    }
}

void pageEtValeurs(TLignesFichier& f, const TInstantaneExport& e, TSelection s, int n) {
    marqueur(f, livre, 1, "PAGE COMMENT");
    f.ligne(texteMesuresRealisees(e, e.maintenant));
    valeurs(f, e, s, n);
    marqueur(f, '&', 2, "OPTIONS");
    f.lignes("1", 2);
}

// The comment must stay on one line: a line break would shift every section after it.
QString uneLigne(QString texte) {
    texte.replace(u'\r', u' ');
    texte.replace(u'\n', u' ');
    return texte;
}

qsizetype tailleEstimee(TSelection s, int n) {
    return 4096 + static_cast<qsizetype>(s.nbLignes()) * (n + 1) * 14;
}

} // namespace

QString texteDuree(double d, QChar separateur) {
    if (d > 1000 || d < 0.0999999)
        return formatReel(4, 4, d, separateur) + u's';
    return texteG6(static_cast<float>(d), separateur) + QStringLiteral(" s");
}

QString corrigeEnteteReg(const QString& nom) {
    QString r = nom;
    r.removeIf([](QChar c) { return c == u'[' || c == u']' || c == u'{' || c == u'}'; });
    return r;
}

QString texteExposant2(double valeur) {
    if (!std::isfinite(valeur))
        return formatReel(2, 4, valeur, u'.'); // "NAN", "INF", "-INF"
    if (valeur == 0)
        return QStringLiteral("0.0E+00");
    const Chiffres c = chiffres(std::fabs(valeur), 2);
    const QString d = QString::number(c.entier); // exactly 2 digits
    return (valeur < 0 ? QStringLiteral("-") : QString()) + d[0] + u'.' + d[1] +
           exposantSigne(c.exposant);
}

QString texteGeneral3(double valeur) {
    if (!std::isfinite(valeur))
        return formatReel(3, 4, valeur, u'.');
    return texteGeneral(valeur, 3, u'.');
}

std::optional<QByteArray> fichierRegressi(const TInstantaneExport& e) {
    const std::optional<TSelection> s = selectionRegressi(e);
    if (!s)
        return std::nullopt;
    const int n = static_cast<int>(std::min<std::size_t>(6, e.series.size()));
    const int nv = n + 1; // t and the series
    TLignesFichier f(tailleEstimee(*s, n));
    auto pourChaque = [&](auto texte) {
        for (int j = 0; j < n; ++j)
            f.ligne(texte(e.series[j]));
    };

    f.ligne("EVARISTE REGRESSI WINDOWS 1.0");
    marqueur(f, livre, nv, "NOM VAR");
    f.ligne("t");
    pourChaque([](const TSerieExport& s) { return corrigeEnteteReg(s.sEnteteVM); });
    marqueur(f, livre, nv, "GENRE VAR");
    f.lignes("0", nv);
    marqueur(f, livre, nv, "UNITE VAR");
    f.ligne("s");
    f.lignes("V", n);
    marqueur(f, livre, nv, "FORMAT VAR");
    f.lignes("0", nv);
    marqueur(f, livre, nv, "PRECISION VAR");
    f.ligne("6");
    f.lignes("4", n);
    marqueur(f, livre, nv, "SIGNIF VAR");
    f.ligne("Temps");
    pourChaque(texteSignification);
    marqueur(f, livre, nv, "INCERTITUDE");
    f.ligne(texteExposant2(e.dtAX));
    // Uncertainty of a series: 2 × range index / 4096 (0 on the first range).
    pourChaque([](const TSerieExport& s) { return texteGeneral3(2.0 * s.calVM / 4096.0); });
    marqueur(f, livre, 1, "TRIGO");
    f.ligne("0");
    marqueur(f, livre, 1, "uniteSI");
    f.ligne("0");
    marqueur(f, livre, 2, "DATETIME");
    f.ligne("dd/MM/yy");
    f.ligne("hh:mm:ss");
    marqueur(f, livre, 1, "LOGBOX");
    f.ligne("0");
    marqueur(f, livre, 2, "MEMO GRANDEURS");
    f.ligne(u'\'' + texteMesuresRealisees(e, e.heureAcq));
    f.ligne(
        u'\'' + QString::number(s->nbLignes()) + QString::fromUtf8(" points répartis sur ") +
        texteDuree(e.tFin - static_cast<double>(e.t0), e.separateur) + QStringLiteral("   ") +
        QString::number(n) +
        (n < 2 ? QString::fromUtf8(" série mesurée ") : QString::fromUtf8(" séries mesurées ")));
    marqueur(f, livre, 2, "ACQUISITION");
    f.ligne("EXTERNE");
    f.ligne(e.cheminExecutable);
    marqueur(f, livre, 0, "GRAPHE VAR");
    if (e.OptionCouleursRegressi == 1) {
        marqueur(f, '&', n, "COULEUR");
        // The 32-bit value as held, top byte included, read as a signed integer.
        pourChaque([](const TSerieExport& s) {
            return QString::number(static_cast<std::int32_t>(s.clVM));
        });
    }
    marqueur(f, '&', n, "X");
    f.lignes("t", n);
    marqueur(f, '&', n, "Y");
    pourChaque([](const TSerieExport& s) { return corrigeEnteteReg(s.sEnteteVM); });
    marqueur(f, '&', n, "TRACE");
    f.lignes("1", n);
    marqueur(f, '&', n, "MONDE");
    f.lignes("1", n);
    marqueur(f, '&', 3, "GRADUATION");
    f.lignes("0", 3);
    marqueur(f, '&', 3, "ZERO");
    f.lignes("1", 3);
    marqueur(f, '&', 12, "OPTIONS");
    for (const char* o : {"8", "2", "1", "3", "3"})
        f.ligne(o);
    f.lignes("0", 7);
    marqueur(f, '&', 2, "ANIMATION temporelle");
    f.ligne("1");
    f.ligne("FALSE");
    marqueur(f, '&', 1, "COM PERSO");
    f.ligne(uneLigne(e.commentairePerso));
    pageEtValeurs(f, e, *s, n);
    marqueur(f, '&', 10, "VALEUR PARAM");
    f.lignes("1E-26", 10);
    marqueur(f, '&', 10, "INCERT PARAM");
    f.lignes("0", 10);
    marqueur(f, '&', 1, "ORIGINE TEMPS");
    f.ligne(texteDate(e, e.heureAcq));
    return std::move(f).resultat();
}

std::optional<QByteArray> pageRegressi(const TInstantaneExport& e) {
    const std::optional<TSelection> s = selectionRegressi(e);
    if (!s)
        return std::nullopt;
    const int n = static_cast<int>(std::min<std::size_t>(6, e.series.size()));
    TLignesFichier f(tailleEstimee(*s, n));
    pageEtValeurs(f, e, *s, n);
    return std::move(f).resultat();
}
