#include "composantchoixcouleur.h"

#include "fichechoixcouleur.h"

void TComposantChoixCouleurCercleChro::reconstruire() {
    fCouleur = static_cast<TColor>(fRouge) + static_cast<TColor>(fVert) * 256u +
               static_cast<TColor>(fBleu) * 65536u;
}

void TComposantChoixCouleurCercleChro::Setcouleur(TColor c) {
    fBleu = static_cast<uint8_t>((c >> 16) & 0xFF);
    fRouge = static_cast<uint8_t>(c & 0xFF);
    fVert = static_cast<uint8_t>((c >> 8) & 0xFF);
    reconstruire();
}

void TComposantChoixCouleurCercleChro::Setrouge(uint8_t r) {
    fRouge = r;
    reconstruire();
}

void TComposantChoixCouleurCercleChro::Setvert(uint8_t v) {
    fVert = v;
    reconstruire();
}

void TComposantChoixCouleurCercleChro::Setbleu(uint8_t b) {
    fBleu = b;
    reconstruire();
}

bool TComposantChoixCouleurCercleChro::execute(QWidget* parent) {
    TFicheChoixCouleurCercleChro fiche(fCouleur, parent);
    fiche.setWindowTitle(fTitre);
    if (avantExecution)
        avantExecution(fiche);
    if (fiche.exec() != QDialog::Accepted)
        return false;
    // Taken as it is: a colour confirmed unchanged keeps its top byte.
    const TColor choisie = fiche.clChoisie;
    Setcouleur(choisie);
    fCouleur = choisie;
    return true;
}
