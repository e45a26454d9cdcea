#include "lecture.h"

#include "formats.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

namespace {

constexpr char16_t microSigne = u'\u00B5';
constexpr char16_t muGrec = u'\u03BC';

// The prefixes searched, in this order, with their power of ten.
struct PrefixeCherche {
    char16_t lettre;
    int puissance;
};
constexpr PrefixeCherche prefixesCherches[] = {{u'f', -15},      {u'p', -12}, {u'n', -9},
                                               {microSigne, -6}, {u'm', -3},  {u'k', 3},
                                               {u'M', 6},        {u'G', 9},   {u'T', 12}};

bool estChiffre(QChar c) {
    return c >= u'0' && c <= u'9';
}

// The exponent after "e": optional sign and digits. False when it is not an integer or
// does not fit an int.
bool lireExposant(QStringView texte, int& exposant) {
    qsizetype i = 0;
    bool negatif = false;
    if (i < texte.size() && (texte[i] == u'+' || texte[i] == u'-')) {
        negatif = texte[i] == u'-';
        ++i;
    }
    if (i == texte.size())
        return false;
    std::int64_t valeur = 0;
    for (; i < texte.size(); ++i) {
        if (!estChiffre(texte[i]))
            return false;
        valeur = valeur * 10 + (texte[i].unicode() - u'0');
        if (valeur > std::int64_t{std::numeric_limits<int>::max()} + 1)
            return false;
    }
    if (negatif)
        valeur = -valeur;
    if (valeur > std::numeric_limits<int>::max() || valeur < std::numeric_limits<int>::min())
        return false;
    exposant = static_cast<int>(valeur);
    return true;
}

// The number as the regional settings write it: optional sign, digits, at most one
// separator, at least one digit, nothing else.
bool lireNombre(QStringView texte, QChar separateur, double& nombre) {
    std::string ascii;
    ascii.reserve(static_cast<std::size_t>(texte.size()));
    qsizetype i = 0;
    if (i < texte.size() && (texte[i] == u'+' || texte[i] == u'-')) {
        if (texte[i] == u'-')
            ascii += '-';
        ++i;
    }
    bool separateurVu = false;
    bool chiffreVu = false;
    bool partieEntiereNonNulle = false;
    for (; i < texte.size(); ++i) {
        const QChar c = texte[i];
        if (estChiffre(c)) {
            chiffreVu = true;
            if (!separateurVu && c != u'0')
                partieEntiereNonNulle = true;
            ascii += static_cast<char>(c.unicode());
        } else if (c == separateur && !separateurVu) {
            separateurVu = true;
            ascii += '.';
        } else {
            return false;
        }
    }
    if (!chiffreVu)
        return false;
    double valeur = 0;
    const auto [fin, erreur] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), valeur);
    if (erreur == std::errc::result_out_of_range) {
        // Out of range: a huge integer part overflows, a long run of zeros after the
        // separator underflows to zero.
        if (partieEntiereNonNulle)
            return false;
        valeur = 0;
    } else if (erreur != std::errc() || fin != ascii.data() + ascii.size()) {
        return false;
    }
    nombre = valeur;
    return true;
}

} // namespace

int texteVersReel(const QString& texte, double& resultat) {
    if (texte.isEmpty())
        return 0;
    // 1. Spaces go.
    QString t = texte;
    t.remove(u' ');
    // 2. and 3. «2x10-3» becomes «2.10-3»; «1E3» becomes «1e3».
    if (const qsizetype i = t.indexOf(u'x'); i >= 0)
        t[i] = u'.';
    if (const qsizetype i = t.indexOf(u'E'); i >= 0)
        t[i] = u'e';
    // 4. The first prefix found, in search order, fixes the multiplier; the unit after it
    //    goes with it.
    int puissancePrefixe = 0;
    for (const PrefixeCherche& p : prefixesCherches) {
        qsizetype i = t.indexOf(QChar(p.lettre));
        if (p.lettre == microSigne) {
            const qsizetype j = t.indexOf(QChar(muGrec));
            if (i < 0 || (j >= 0 && j < i))
                i = j;
        }
        if (i >= 0) {
            puissancePrefixe = p.puissance;
            t.truncate(i);
            break;
        }
    }
    // 5. A unit without prefix («s», «V») goes too; a last single character stays.
    while (t.size() >= 2 && !estChiffre(t.back()))
        t.chop(1);
    // 6.
    if (t.isEmpty())
        return 5;
    // 7. «2.10-3» and «2x10-3» are read as «2e-3».
    if (const qsizetype i = t.indexOf(u".10"); i >= 0)
        t.replace(i, 3, QChar(u'e'));
    else if (const qsizetype j = t.indexOf(u"x10"); j >= 0)
        t.replace(j, 3, QChar(u'e'));
    // 8. The power of ten, computed at once whatever the exponent.
    int exposant = 0;
    if (const qsizetype i = t.indexOf(u'e'); i >= 0) {
        const QStringView texteExposant = QStringView(t).mid(i + 1);
        if (texteExposant.isEmpty())
            return 2;
        if (!lireExposant(texteExposant, exposant))
            return 3;
        if (exposant > std::numeric_limits<long double>::max_exponent10)
            return 3;
        t.truncate(i);
    }
    // 9. The regional separator; "." is accepted and converted.
    const QChar separateur = separateurDecimal();
    if (separateur != u'.') {
        if (const qsizetype i = t.indexOf(u'.'); i >= 0)
            t[i] = separateur;
    }
    double nombre = 0;
    if (!lireNombre(t, separateur, nombre))
        return 4;
    // 10.
    // Clamped: beyond ±700 the result is 0 or infinite whatever the number.
    const int puissance = static_cast<int>(
        std::clamp<std::int64_t>(std::int64_t{exposant} + puissancePrefixe, -700, 700));
    const double r = multipliePuissanceDix(nombre, puissance);
    if (!std::isfinite(r))
        return 4;
    resultat = r;
    return 0;
}
