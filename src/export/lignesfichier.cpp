#include "lignesfichier.h"

#include "arrondis.h"
#include "windows1252.h"

#include <charconv>

void TLignesFichier::ligne(const QString& texte) {
    ajoute(texte);
    finLigne();
}

void TLignesFichier::ligne(std::string_view ascii) {
    ajoute(ascii);
    finLigne();
}

void TLignesFichier::ligne(int64_t entier) {
    char tampon[24];
    const auto fin = std::to_chars(tampon, tampon + sizeof tampon, entier).ptr;
    ligne(std::string_view(tampon, fin - tampon));
}

void TLignesFichier::lignes(std::string_view ascii, int64_t nombre) {
    for (int64_t k = 0; k < nombre; ++k)
        ligne(ascii);
}

void TLignesFichier::ajoute(const QString& texte) {
    octets_.append(versWindows1252(texte));
}

int TLignesFichier::ajouteG6(float x, char separateur) {
    char tampon[tailleTexteAscii];
    const int n = texteG6Ascii(x, separateur, tampon);
    octets_.append(tampon, n);
    return n;
}

float tempsArrondi(double t) {
    arrondiSignificatif(t, 6);
    return static_cast<float>(t);
}
