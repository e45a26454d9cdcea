// Layout of the main window, computed without widgets.
//
// Every pixel size of the window is a design size for a 1060 × 725 window multiplied by one
// of two scale factors. nH and nV below stand for n × coDIMH and n × coDimV truncated toward
// zero; sizes said to be rounded go to the nearest integer with halves to even. Rectangles
// are QRect (left, top, width, height) in the coordinates of the control's parent; the right
// edge of a control is droite(r) = left + width and its bottom bas(r) = top + height.
#pragma once

#include "boutonsoutils.h"

#include <QRect>
#include <QSize>
#include <QString>
#include <array>
#include <functional>
#include <optional>
#include <vector>

inline int droite(const QRect& r) {
    return r.x() + r.width();
}
inline int bas(const QRect& r) {
    return r.y() + r.height();
}

// A font as the layout sets it: a character height of x pixels (written −x), a cell height of
// x pixels (written +x), or a size in points.
struct Police {
    enum Unite { HauteurCaractere, HauteurCellule, Points };
    int valeur = 0;
    Unite unite = HauteurCaractere;
    bool gras = false;
    QString famille = QString(); // empty: the window's face
    // The height as the layout writes it: −x for a character height, +x for a cell height,
    // the point size for points.
    int hauteurSignee() const { return unite == HauteurCaractere ? -valeur : valeur; }
    bool operator==(const Police&) const = default;
};

// Sizes that depend on the fonts installed: the window supplies them from its font metrics.
// The defaults are fixed proportions, so that the layout can be computed (and tested) anywhere.
struct Metriques {
    std::function<QSize(const QString&, const Police&)> tailleLibelle; // auto-sized label
    std::function<int(const Police&)> hauteurEdit;                     // auto-height edit
    std::function<int(const Police&)> hauteurListe;                    // combo box
    std::function<int(const Police&)> hauteurCase;                     // check box
    static Metriques parDefaut();
};

// Pixel character height of a font at 96 dots per inch (a cell is 1.15 characters high,
// as with the usual sans-serif faces).
int pixelsCaractere(const Police& p);

// The face of the channel boxes and of every control in them.
inline constexpr const char* POLICE_VOIES = "Arial Narrow";

// The active unit as far as the channel panel is concerned.
struct InterfaceActive {
    int ChxModeDiff = 2; // 1: differential mode chosen channel by channel
    int nbCanaux_ = 4;
    int nbEAU = 4;
};

struct EntreesDisposition {
    QSize fenetre{1060, 725}; // outer size: the scale factors come from it
    QSize client{1044, 686};  // client area: the panels are placed in it
    bool pParametresReduit = false;
    bool pVoiesReduit = false;
    int nbCentralesGerees = 1;
    std::optional<InterfaceActive> interfaceActive;
    bool PTableauVisible = false;
    // Client width of the channel scroll box (without its frame and scroll bar), which spaces
    // the channel boxes. When absent it is the scroll box's width less 2 × cadreScrBoxVoies.
    // (The measurement panel is centred on the scroll box's outer width and height.)
    std::optional<int> largeurClientScrBoxVoies;
    int cadreScrBoxVoies = 0;
    // Height of the scroll box's horizontal bar (and width of its vertical bar). When the
    // channel boxes are wider than the scroll box, the panel grows by the bar so that the
    // bar never hides the bottom of the boxes.
    int hauteurBarreDefilement = 0;
    // Sizes set by a reduce/restore click, until the next full pass (see basculer...).
    std::optional<int> hauteurPanelVoiesImposee;
    std::optional<int> largeurPanelParametresImposee;
    // Symbols of the eight inputs (symbol and its index), for the width of their labels.
    std::array<QString, 8> symboles{"u", "u", "u", "u", "u", "u", "u", "u"};
    std::array<QString, 8> indicesSymboles{"0", "1", "2", "3", "4", "5", "6", "7"};
};

struct DispositionOutils {
    // The tool bar's picture buttons, indexed as TBoutonOutil (SBNouveau .. SBQuitter, in
    // tool-bar order); the interface buttons come apart.
    static constexpr int SBAproposDe = static_cast<int>(TBoutonOutil::SBAproposDe);
    static constexpr int SBQuitter = static_cast<int>(TBoutonOutil::SBQuitter);
    static constexpr int NB_BOUTONS_OUTILS = SBQuitter + 1;
    int m = 26;                                   // min(26V, 26H), not limited to 26
    int s = 26;                                   // button size
    int q = 2;                                    // gap
    std::array<QRect, NB_BOUTONS_OUTILS> boutons; // indexed by TBoutonOutil
    std::vector<QRect> SBCentrales_;              // only when more than one unit kind is managed
    Police policeCentrales;
    QRect PPointage, LSerie, EditSerieP, Lpoint, EditPointP; // the four in PPointage
    Police policeLibellesPointage, policeEditsPointage;
    QRect Panel2, EditMessageX, EditPresence, PBarExcel; // the three in Panel2
    Police policeEditsPanel2;
};

// Settings panel (right). Rectangles in panelParametres, then in ScrollBox1, then in
// PanelMesuresPeriodiques, then in the two groups.
struct DispositionReglages {
    QRect PTitreReglagesTemporels, SBRedRegTemp, LReglages;
    Police policeSBRedRegTemp, policeLReglages;
    bool ScrollBox1Visible = true;
    QRect ScrollBox1;
    Police policeControles; // every label, list, edit and check box of the panel
    Police policeBoutons;   // BAcquisitionPrecedente and BAcquisition
    QRect PanelMesuresPeriodiques;
    QRect GBParametresTemporels, LDureeTotale, CBDureeTotale, SBDureeTotalePlus, SBDureeTotaleMoins,
        LNombreDePoints, CBNbPoints, SBNbPointsPlus, SBNbPointsMoins, LabelTe, iTe,
        BAcquisitionPrecedente;
    QRect GBDeclenchement, LType, CBTypeDeclenchement, RGSensDeclenchement, LVoieDecl,
        CBVoieSynchro, LSeuil, EditUSeuilDecl, LPretrig, CBPretrigX;
    int hauteurItemCBVoieSynchro = 23;
    QRect CBAjouterCourbes, CBModePermanent, BAcquisition;
};

// Controls of one input in its channel box. Only the placed inputs have one.
struct DispositionEntree {
    int canal = 0; // box k mod 4
    bool titreVisible = false;
    QRect LTitreVoies, CBVoiesActives, RGCalsEA, LValU1, LValUInd, LEgale, EditValU, legendes;
    Police policeTitre, policeControles;
};

struct DispositionBoiteCanal {
    QRect rect;
    Police police;
    bool modeDiffVisible = false;
    QRect CBModeDiff;
};

struct DispositionMesuresSurEcran {
    QRect PanelMesuresSurEcran;
    Police police;
    QRect GBMesureTemps, EditT0M, EditTFM, EditDTM, LInstant1, LInstant2, LIntervallet;
    QRect GBMesureU, EditUmaxM, EditUMinM, EditDUM, LUMax, LUMin, LIntervalleU;
    QRect LAxeVertical, CBAxes, BFermerMesuresSurEcran;
    int hauteurItemCBAxes = 23;
};

// Channel panel (bottom left): rectangles in PanelVoies, then in ScrBoxVoies, then in the
// channel boxes. Boxes and inputs absent from the optionals are left where they are.
struct DispositionVoies {
    QRect PanelVoies; // in the window's client area
    QRect SBRedRegVoies;
    Police policeSBRedRegVoies;
    bool ScrBoxVoiesVisible = true;
    QRect ScrBoxVoies;
    std::array<std::optional<DispositionBoiteCanal>, 4> gbCanaux;
    std::array<std::optional<DispositionEntree>, 8> entrees;
    std::array<bool, 8> entreeMasquee{};               // inputs 4..7 without a unit
    std::optional<DispositionMesuresSurEcran> mesures; // when the panel is not reduced
};

struct Disposition {
    // Scale factors (single precision, as they are stored by the window).
    float coDIMH = 1.0f;
    float coDimV = 1.0f;
    int LarNomPParametres = 169;
    int hauNomPVoies = 180;
    float coPParametres = 1.0f;
    float coPVoies = 1.0f;
    int hauteurPBoutons = 30;
    QRect panelParametres; // in the window's client area
    int largeurSplitter1 = 5, tailleMinSplitter1 = 80, largeurSBVert = 6;
    bool tableauVisible = false; // PTableau and Splitter1 shown
    QRect PanelEcranTab;
    DispositionOutils outils;
    DispositionReglages reglages;
    DispositionVoies voies;
    // nH and nV of this layout.
    int H(double n) const;
    int V(double n) const;
};

Disposition calculerDisposition(const EntreesDisposition& e,
                                const Metriques& metriques = Metriques::parDefaut());

// Scale factors alone (prepareRedimensionnement), from the outer window size.
struct FacteursEchelle {
    float coDIMH, coDimV;
    int LarNomPParametres, hauNomPVoies;
};
FacteursEchelle calculerFacteurs(QSize fenetre);

// Reduce/restore of the two side panels (SBRedRegVoiesClick). The window applies the result,
// then lays out the channel panel and the central panel again with the imposed size.
struct EtatPanneauxLateraux {
    bool pParametresReduit = false;
    bool pVoiesReduit = false;
    float coPParametres = 1.0f;
    float coPVoies = 1.0f;
};
struct Bascule {
    QString legendeBouton;  // "  ▲"/"  ▼" or "◄"/" ►"
    QString legendePanneau; // channel panel only
    int taille = 0;         // new height of PanelVoies or client width of panelParametres
    bool ScrollBoxVisible = true;
    bool LReglagesVisible = true; // settings panel only
};
Bascule basculerPanneauVoies(EtatPanneauxLateraux& etat, int hauteurBouton, int hauNomPVoies);
Bascule basculerPanneauParametres(EtatPanneauxLateraux& etat, int largeurBouton,
                                  int LarNomPParametres);

inline constexpr const char* LEGENDE_PANEL_VOIES = "La patience est la clé du paradis...";
