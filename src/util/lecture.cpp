#include "lecture.h"

#include "formats.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

namespace {

// The prefixes searched, in this order, with their power of ten. Micro has three spellings:
// the micro sign, the Greek mu and "u" for a keyboard without either («1 us»).
struct PrefixeCherche {
    char16_t lettres[3];
    int puissance;
};
constexpr PrefixeCherche prefixesCherches[] = {
    {{u'f'}, -15}, {{u'p'}, -12}, {{u'n'}, -9}, {{u'\u00B5', u'\u03BC', u'u'}, -6},
    {{u'm'}, -3},  {{u'k'}, 3},   {{u'M'}, 6},  {{u'G'}, 9},
    {{u'T'}, 12}};

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

// The letters of a text, in their order: what a unit left behind.
QString lettres(QStringView texte) {
    QString r;
    for (const QChar c : texte)
        if (c.isLetter())
            r += c;
    return r;
}

bool estUnite(QStringView texte, QStringView unite) {
    return texte.isEmpty() || texte.compare(unite, Qt::CaseInsensitive) == 0;
}

// The text read as a decimal number with an optional "e" exponent.
bool lisibleCommeDecimal(QStringView texte, QChar separateur) {
    const qsizetype e = texte.indexOf(u'e');
    int exposant = 0;
    double nombre = 0;
    if (e >= 0 && !lireExposant(texte.mid(e + 1), exposant))
        return false;
    return lireNombre(e >= 0 ? texte.left(e) : texte, separateur, nombre);
}

} // namespace

int texteVersReel(const QString& texte, double& resultat, QStringView unite) {
    if (texte.isEmpty())
        return 0;
    const QChar separateur = separateurDecimal();
    // 1. Spaces go.
    QString t = texte;
    t.remove(u' ');
    // 2. and 3. «2x10-3» becomes «2.10-3» (that ".10" stays a power of ten, step 7);
    //    «1E3» becomes «1e3».
    qsizetype puissanceParX = -1;
    if (const qsizetype i = t.indexOf(u"x10"); i >= 0) {
        t[i] = u'.';
        puissanceParX = i;
    }
    if (const qsizetype i = t.indexOf(u'E'); i >= 0)
        t[i] = u'e';
    // 4. The first prefix found, in search order, fixes the multiplier; what follows it can
    //    only be the unit.
    int puissancePrefixe = 0;
    bool prefixe = false;
    QString apresPrefixe;
    for (const PrefixeCherche& p : prefixesCherches) {
        qsizetype i = -1;
        for (const char16_t lettre : p.lettres) {
            const qsizetype j = lettre != 0 ? t.indexOf(QChar(lettre)) : -1;
            if (j >= 0 && (i < 0 || j < i))
                i = j;
        }
        if (i >= 0) {
            puissancePrefixe = p.puissance;
            prefixe = true;
            apresPrefixe = t.mid(i + 1);
            t.truncate(i);
            break;
        }
    }
    // 5. A unit without prefix («s», «V») goes too; a last single character stays.
    const QString avantUnite = t;
    while (t.size() >= 2 && !estChiffre(t.back()))
        t.chop(1);
    const QString lettresOtees = lettres(QStringView(avantUnite).mid(t.size()));
    // 6.
    if (t.isEmpty())
        return 5;
    // A letter that is neither a prefix nor the unit is a mistake («1 h», «2 min», «1 zs»),
    // never dropped. Without a unit named, any unit is taken.
    if (!unite.isEmpty()) {
        const bool uniteLue = prefixe ? lettresOtees.isEmpty() && estUnite(apresPrefixe, unite)
                                      : estUnite(lettresOtees, unite);
        if (!uniteLue)
            return 6;
    }
    // 7. The power-of-ten notation «2.10-3», read as «2e-3». With a comma as the regional
    //    separator every ".10" is that notation («0.105» is 0 × 10^5). With "." it also starts
    //    decimals the program itself writes («1.100 s», «10.10 ms»), so there ".10" is the
    //    power of ten only when an exponent (optional sign, then digits) follows "10" and the
    //    whole text does not read as a decimal number: «2.10-3» and «2.10+3» are powers,
    //    «1.10», «1.100» and «2.103» decimals. A ".10" that came from "x10" is always a power.
    if (const qsizetype i = t.indexOf(u".10"); i >= 0) {
        int exposant = 0;
        const bool puissance = i == puissanceParX || separateur != u'.' ||
                               (lireExposant(QStringView(t).mid(i + 3), exposant) &&
                                !lisibleCommeDecimal(t, separateur));
        if (puissance)
            t.replace(i, 3, QChar(u'e'));
    }
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
