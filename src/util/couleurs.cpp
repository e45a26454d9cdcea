#include "couleurs.h"

#include <algorithm>

namespace {

unsigned composante(TColor couleur, int decalage) {
    return (couleur >> decalage) & 0xFFu;
}

// Applies f to red, green and blue and drops the top byte.
template <typename F> TColor parComposante(TColor couleur, F f) {
    TColor r = 0;
    for (int decalage = 0; decalage <= 16; decalage += 8)
        r |= static_cast<TColor>(std::min(f(composante(couleur, decalage)), 255u)) << decalage;
    return r;
}

} // namespace

TColor eclaircirCouleur(TColor couleur, int pourcent) {
    const unsigned p = static_cast<unsigned>(std::clamp(pourcent, 0, 100));
    // c + (255 - c) × p / 100, truncated: exact in integers.
    return parComposante(couleur, [p](unsigned c) { return (c * 100 + (255 - c) * p) / 100; });
}

TColor assombrirCouleur(TColor couleur, int pourcent) {
    const unsigned p = static_cast<unsigned>(std::clamp(pourcent, 0, 100));
    // c - c × p / 100 = c × (100 - p) / 100, rounded with halves to even, in integers.
    return parComposante(couleur, [p](unsigned c) {
        const unsigned numerateur = c * (100 - p);
        unsigned q = numerateur / 100;
        const unsigned reste = numerateur % 100;
        if (reste > 50 || (reste == 50 && q % 2 == 1))
            ++q;
        return q;
    });
}
