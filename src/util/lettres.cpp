#include "lettres.h"

#include <algorithm>
#include <cstdint>

namespace {

// Bijective base 26: prepend letter (n - 1) mod 26, then n = (n - 1) div 26.
QString lettres(std::int64_t n, char16_t premiere) {
    char16_t tampon[16];
    char16_t* debut = tampon + 16;
    while (n > 0) {
        *--debut = static_cast<char16_t>(premiere + (n - 1) % 26);
        n = (n - 1) / 26;
    }
    return QString(reinterpret_cast<const QChar*>(debut), tampon + 16 - debut);
}

} // namespace

QString lettresColonne(int colonne) {
    return lettres(std::max<std::int64_t>(std::int64_t{colonne} + 1, 1), u'A');
}

QString lettresSerie(int numero) {
    return lettres(std::max<std::int64_t>(std::int64_t{numero} + 1, 0), u'a');
}

QString majusculesAscii(const QString& texte) {
    QString r = texte;
    for (QChar& c : r) {
        if (c >= u'a' && c <= u'z')
            c = QChar(static_cast<char16_t>(c.unicode() - (u'a' - u'A')));
    }
    return r;
}
