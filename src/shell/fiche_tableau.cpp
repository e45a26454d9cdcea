// The measurement table in the main window: when it is rebuilt, where it stands, and the
// deletion of a series from its crosses.
#include "fichekirvanemixte.h"
#include "graphefiche.h"

#include <QScrollBar>
#include <algorithm>

void TFicheKirvaneMixte::relierTableau() {
    composants.SGMesures->setTableau(&tableau);
    connect(composants.SGMesures, &TGrilleMesures::croixCliquee, this,
            [this](int s) { SGMesuresCroix(s); });
    connect(graphe.get(), &TGrapheFiche::tableauAMettreAJour, this, [this] { tableauPerime(); });
    // While an acquisition runs the table follows the points read, a few times a second.
    TimerTableau.setInterval(250);
    connect(&TimerTableau, &QTimer::timeout, this, [this] {
        if (acquisitionEnCours(modeGeneral()))
            tableauPerime();
        else
            TimerTableau.stop();
    });
}

bool TFicheKirvaneMixte::reconstruireTableau() {
    if (!centrales.SP5)
        return false;
    TCentrale& u = *centrales.SP5;
    TParamsTableau p;
    p.t0 = graphe->ecran.g.t0;
    p.tFin = graphe->ecran.curseurs.tFin;
    p.coDimV = disposition.coDimV;
    if (acquisitionEnCours(modeGeneral()) && moteur) {
        // The series being filled share the time base of the settings (an appended
        // acquisition has the timing of the series it joins).
        p.dtAX = u.dt0X;
        p.dureeTotaleAX = u.dureeTotale0X;
        p.nbPtsAX = u.nbPts0X;
        TAcquisitionEnCours e;
        e.premiereColonne = series.nbVoiesMesurees;
        const int n = std::min<int>(u.nbVoiesSignaux,
                                    static_cast<int>(series.tv2.size()) - series.nbVoiesMesurees);
        for (int k = 0; k < n; ++k) {
            const int voie = k < static_cast<int>(u.VoiesActivesSignaux.size())
                                 ? u.VoiesActivesSignaux[static_cast<size_t>(k)]
                                 : k;
            e.noms.push_back(u.getCapVM(voie));
        }
        e.ptFront = moteur->ptFront;
        e.pt0Trame = moteur->pt0Trame;
        e.nbPts0X = u.nbPts0X;
        e.trameX = moteur->trameX;
        e.modeDoubleTrameX = moteur->modeDoubleTrameX;
        p.enCours = std::move(e);
    } else {
        p.dtAX = u.dtAX;
        p.dureeTotaleAX = u.dureeTotaleAX;
        p.nbPtsAX = u.nbPtsAX;
    }
    return tableau.MAJTableau(series, p);
}

void TFicheKirvaneMixte::MAJTableau() {
    if (MAJTableauFaite || !reconstruireTableau())
        return;
    MAJTableauFaite = true;
    // The panel takes the width of the new columns, but the graph is not resized under a
    // running acquisition (it would lose the points drawn so far).
    if (PTableauVisible && !acquisitionEnCours(modeGeneral()) &&
        largeurPTableau() != composants.PTableau->width())
        placerGrapheEtTableau();
    composants.SGMesures->tableauModifie();
}

void TFicheKirvaneMixte::tableauPerime() {
    MAJTableauFaite = false;
    if (PTableauVisible)
        MAJTableau();
}

int TFicheKirvaneMixte::largeurPTableau() const {
    const int W = composants.PanelEcranTab->width();
    if (tableau.nbColonnes() <= 2)
        return W / 3;
    // The columns and the vertical bar, within half the panel: the graph stays usable and
    // the other columns scroll.
    const int barre = composants.SGMesures->verticalScrollBar()->sizeHint().width();
    const int voulue = tableau.largeurColonnes() + barre + 2 * composants.SGMesures->frameWidth();
    return std::max(std::min({voulue, tableau.largeurMax(W), W / 2}), std::min(80, W));
}

void TFicheKirvaneMixte::placerPanneauEcranTab(const Disposition&) {
    // A new layout changes the fonts and the widths of the columns.
    MAJTableauFaite = false;
    if (PTableauVisible && reconstruireTableau())
        MAJTableauFaite = true;
    placerGrapheEtTableau();
    composants.SGMesures->tableauModifie();
}

void TFicheKirvaneMixte::placerGrapheEtTableau() {
    const int W = composants.PanelEcranTab->width();
    const int H = composants.PanelEcranTab->height();
    const int separation = PTableauVisible ? disposition.largeurSplitter1 : 0;
    const int largeurTableau = PTableauVisible ? largeurPTableau() : 0;
    composants.PTableau->setVisible(PTableauVisible);
    composants.Splitter1->setVisible(PTableauVisible);
    composants.PEcran->setGeometry(0, 0, std::max(0, W - largeurTableau - separation), H);
    if (graphe)
        graphe->redimensionnementEcran(disposition.coDIMH, disposition.coDimV);
    if (PTableauVisible) {
        composants.Splitter1->setGeometry(composants.PEcran->width(), 0, separation, H);
        composants.PTableau->setGeometry(W - largeurTableau, 0, largeurTableau, H);
    }
}

void TFicheKirvaneMixte::SGMesuresCroix(int s) {
    // Only at rest with measurements: never under a running acquisition or a transfer.
    if (!centrales.SP5 ||
        (modeGeneral() != MODE_MESURES && modeGeneral() != MODE_PERMANENT_ARRETE) || s < 0 ||
        s >= series.nbVoiesMesurees)
        return;
    if (demarrage_.boites->demander(this, series.questionSuppression(s), false) != TReponse::Oui)
        return;
    if (!series.supprimerSerie(s, *centrales.SP5))
        return;
    // The pointing boxes may name the deleted series.
    graphe->voieMesureeP = graphe->pointP = -1;
    composants.EditSerieP->clear();
    composants.EditPointP->clear();
    if (series.nbVoiesMesurees > 0) {
        tableauPerime();
    } else {
        // Nothing left to show: the table is hidden as its button would.
        composants.SBVoirTableau->setChecked(false);
        PTableauVisible = false;
        composants.SBVoirTableau->setToolTip(bulleVoirTableau(false));
        tableau.vider();
        MAJTableauFaite = false;
        redimensionnement();
    }
    // The controls follow the store: table, save and measurement buttons, "Ajouter les
    // courbes", "Acquisition précédente".
    if (modeGeneral() == MODE_PERMANENT_ARRETE)
        activeComposantsAcqPermanente(etat, faits());
    else
        activeComposantsAcqSimple(etat, faits());
    if (reglagesAcq) {
        reglagesAcq->prepareCBAjouterCourbes();
        appliquerEtatReglages();
    }
    ::activerZooms(etat, faits(), modeGeneral());
    appliquerEtat();
    graphe->redessiner(true);
    afficherMessage(TSeriesMesurees::texteCompteurSeries(series.nbVoiesMesurees));
}
