#pragma once
// The graph of the main window: the screen (geometry, images, markers), the mouse gestures,
// the scroll bars and zoom buttons, the measurement panel and the pointing boxes. The
// window composes it and gives it the store and the state of the unit.
#include "composantsfiche.h"
#include "ecrangraphe.h"
#include "gestessouris.h"

#include <QObject>
#include <functional>

class TSeriesMesurees;

class TGrapheFiche : public QObject {
    Q_OBJECT
public:
    // etat: the unit and engine state at the time of a redraw (MODEGENERAL included).
    TGrapheFiche(TComposantsFiche& c, TSeriesMesurees& series, std::function<TEtatEcran()> etat,
                 QObject* parent = nullptr);

    TEcranGraphe ecran;
    TGestesGraphe gestes;
    int voieMesureeP = -1;
    int pointP = -1;

    // Layout of the graph panel's children and new image (every resize of PEcran).
    void redimensionnementEcran(double coDIMH, double coDimV);
    // Full redraw, then repaint.
    void redessiner(bool avecCourbes);
    // The zoom buttons; true when the zoom changed (the graph is redrawn).
    bool zoom(TBoutonOutil bouton);
    // Both zooms back to 1 (start of an acquisition).
    void zoomsInitiaux();

    // Measurement mode: entering fills CBAxes, makes the current axis the one shown, puts
    // the red levels at ±90 % of its range and fills the boxes; leaving hides the panel.
    void entrerMesures();
    void quitterMesures();
    // Change of current axis (p: ~axis or a channel), markers re-read in its scale.
    void MAJAxeQuadrille(int p);
    void afficheMesuresT();
    void afficheMesuresU();

signals:
    // The table is to be rebuilt (end of a marker drag).
    void tableauAMettreAJour();

private:
    void synchroniserBarres();
    void SBScroll(QScrollBar* barre);
    void souris(const TReponseGeste& r);
    TContexteGestes contexte() const;
    void effacerPointage();
    void repeindre();

    TComposantsFiche& c_;
    TSeriesMesurees& series_;
    std::function<TEtatEcran()> etat_;
    bool synchro_ = false; // the bars are being set by the graph itself
};
