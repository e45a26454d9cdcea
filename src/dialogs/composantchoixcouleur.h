#pragma once
// The colour chooser as its callers use it: a start colour and a title in, execute, the
// chosen colour out.
#include "couleurs.h"

#include <QString>
#include <cstdint>
#include <functional>

class QWidget;
class TFicheChoixCouleurCercleChro;

class TComposantChoixCouleurCercleChro {
public:
    // The colour, red in the low byte, then green, then blue.
    TColor fCouleur = 0;
    uint8_t fRouge = 0, fVert = 0, fBleu = 0;
    QString fTitre;

    // Takes the components of c and rebuilds the colour from them (the top byte is dropped).
    void Setcouleur(TColor c);
    void Setrouge(uint8_t r);
    void Setvert(uint8_t v);
    void Setbleu(uint8_t b);

    // Shows the chooser modally on fCouleur with the caption fTitre; true when the user
    // confirmed, fCouleur then holding the choice. Cancel leaves fCouleur as it was.
    bool execute(QWidget* parent = nullptr);
    // Called with the dialog just before it is shown (tests drive it from there).
    std::function<void(TFicheChoixCouleurCercleChro&)> avantExecution;

private:
    void reconstruire();
};
