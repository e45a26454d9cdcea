#include "windows1252.h"

namespace {

// Characters of bytes 0x80..0x9F; 0 marks the five bytes Windows-1252 leaves undefined.
constexpr char16_t CARACTERES_80_9F[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,      // 88..8F
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178, // 98..9F
};

// Reverse table for the block U+0100..U+217F that holds all 27 characters.
constexpr char16_t DEBUT_TABLE = 0x0100;
constexpr char16_t FIN_TABLE = 0x2180;

struct TableInverse {
    unsigned char octets[FIN_TABLE - DEBUT_TABLE] = {};
    constexpr TableInverse() {
        for (int i = 0; i < 32; ++i)
            if (CARACTERES_80_9F[i] != 0)
                octets[CARACTERES_80_9F[i] - DEBUT_TABLE] = static_cast<unsigned char>(0x80 + i);
    }
};
constexpr TableInverse TABLE_INVERSE;

} // namespace

QByteArray versWindows1252(const QString& texte) {
    QByteArray octets(texte.size(), Qt::Uninitialized);
    char* sortie = octets.data();
    const char16_t* c = reinterpret_cast<const char16_t*>(texte.utf16());
    const char16_t* const fin = c + texte.size();
    for (; c < fin; ++c) {
        const char16_t u = *c;
        unsigned char octet = '?';
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            octet = static_cast<unsigned char>(u);
        } else if (u >= DEBUT_TABLE && u < FIN_TABLE) {
            if (const unsigned char o = TABLE_INVERSE.octets[u - DEBUT_TABLE])
                octet = o;
        } else if (u >= 0xD800 && u < 0xDC00 && c + 1 < fin && c[1] >= 0xDC00 && c[1] < 0xE000) {
            ++c; // one character outside the basic plane: one "?"
        }
        *sortie++ = static_cast<char>(octet);
    }
    octets.truncate(sortie - octets.data());
    return octets;
}
