// Pictures of the tool-bar buttons, of the four spin buttons and of the unit kinds.
// All are drawn on the spot at the size asked, so they stay sharp at every scale.
#pragma once

#include <QColor>
#include <QIcon>
#include <QImage>
#include <QPixmap>

// One picture per tool-bar button, in the order of the tool bar.
enum class ImageBouton {
    Nouveau,
    EnregistrerRW3,
    EnregistrerTXT,
    EnregistrerCSV,
    TransfertREG,
    TransfertExcel,
    TransfertOOLO,
    Mesures,
    VoirTableau,
    Options,
    AproposDe,
    Quitter,
};
inline constexpr int NB_IMAGES_BOUTONS = 12;

// The four states of a tool-bar button.
enum class EtatBouton { Normal, Desactive, Enfonce, Verrouille };

// The picture of a button in one state, s × s pixels, on a transparent background
// (ARGB32 premultiplied).
QImage imageBouton(ImageBouton bouton, EtatBouton etat, int s);

// The four states as one icon: normal (Normal, Off), disabled (Disabled), pressed (Active,
// the mode of a button under the pointer or pressed) and latched down (Normal, On).
QIcon iconeBouton(ImageBouton bouton, int s);

// Arrow of a spin button of width w and height hb: a (w + 4) × (hb + 4) image on the button
// face, with a dark bottom-right edge, a light top-left edge and a black triangle pointing up
// (plus) or down (minus). The bottom-left pixel, dark green in the drawing, is transparent.
QImage imageFlecheSpin(int w, int hb, bool plus, const QColor& faceBouton);
QPixmap pixmapFlecheSpin(int w, int hb, bool plus, const QColor& faceBouton);

// Colour that marks the transparent pixel of a spin-button arrow (red 0, green 128, blue 0).
inline constexpr QRgb COULEUR_TRANSPARENTE_FLECHE = 0xFF008000;

// Picture of a unit kind (1 SYSAM SP5, 2 SYSAM V6, 3 SYSAM CAMPUS) for the chooser dialog.
QPixmap imageCentrale(int typeCentrale, int largeur, int hauteur);
