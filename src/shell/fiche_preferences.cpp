// The tool bar's "Options": the preferences dialog on the window's settings, and its choices
// applied at once (defaults, transfer options, Regressi, CSV separator, curve colours).
#include "fichekirvanemixte.h"
#include "fichekirvanemixteoptions.h"
#include "graphefiche.h"
#include "transfertregressi.h"

#include <QComboBox>

TFicheKirvaneMixteOptions& TFicheKirvaneMixte::preferences() {
    if (!preferences_)
        preferences_ = std::make_unique<TFicheKirvaneMixteOptions>(QStringLiteral("Kirvane"), this);
    return *preferences_;
}

void TFicheKirvaneMixte::SBOptionsClick() {
    const bool presence = TimerPresenceSP5.isActive();
    TimerPresenceSP5.stop();
    // A count typed in the point list and not yet left is applied first.
    if (composants.CBNbPoints->hasFocus())
        composants.CBNbPoints->clearFocus();

    TValeursPreferences v;
    v.DureeTotaleDFT = reglages.DureeTotaleDFT;
    v.NbPtsDFT = reglages.NbPtsDFT;
    v.tMaxPretrigDispo = reglages.tMaxPretrigDispo;
    v.optionEffaceTrame = moteur && moteur->optionEffaceTrame;
    v.optionTransfertREGRESSI = reglages.optionTransfertREGRESSI;
    v.optionTransfertEXCEL = reglages.optionTransfertEXCEL;
    v.optionTransfertOOo = reglages.optionTransfertOOo;
    v.optionSeparateurCSV = reglages.optionSeparateurCSV;
    v.versionRegressiDefaut = reglages.versionRegressiDefaut;
    v.cheminREGRESSINonDefautX = reglages.cheminREGRESSINonDefautX;
    v.OptionCouleursRegressi = reglages.OptionCouleursRegressi;
    v.enregistrerCouleurs = reglages.enregistrerCouleurs;
    v.clsVX = reglages.clsVX;
    v.clsV0 = reglages.clsV0;

    TUnitePreferences u;
    if (TCentrale* unite = centrales.SP5.get()) {
        u.pretrigDispo = unite->pretrigDispo;
        u.nbPtsMin = std::max(unite->nbPtsMin01, 1);
        u.nbPtsMax = std::max<int64_t>(unite->nbPts0XMax, u.nbPtsMin);
        u.dureeTotale0X = unite->dureeTotale0X;
        u.nbPts0X = unite->nbPtsAffX;
        u.ajusterDurees = [unite](double& duree, int64_t& nbPts) {
            double dt = 0.0;
            int64_t n = nbPts, affiches = nbPts, max = unite->nbPts0XMax, ndt = unite->ndt;
            unite->setDureesGeneriques(duree, dt, n, affiches, max, ndt,
                                       static_cast<double>(unite->tSkipAcqPerfMax));
            nbPts = affiches;
        };
    }
    QStringList points;
    for (int64_t n : TReglagesAcq::listeNbPoints())
        points << QString::number(n);

    TFicheKirvaneMixteOptions& d = preferences();
    // Without a standard place for Regressi (Linux), "par défaut" stays off and the user
    // picks the program with "Changer"; the transfer takes the new choice at its next run.
    d.preparer(v, u, TReglagesAcq::listeDurees(), points,
               transfertRegressi_ ? transfertRegressi_->cheminOfficielREGRESSI : QString());
    if (d.exec() == QDialog::Accepted) {
        appliquerPreferences(d.valeurs());
    } else {
        // Cancel restores the default timing only; the pretrigger limit chosen stays.
        reglages.tMaxPretrigDispo = d.regles.v.tMaxPretrigDispo;
        if (reglagesAcq)
            reglagesAcq->tMaxPretrigDispo = reglages.tMaxPretrigDispo;
    }
    if (presence)
        TimerPresenceSP5.start();
}

void TFicheKirvaneMixte::appliquerPreferences(const TValeursPreferences& v) {
    reglages.DureeTotaleDFT = v.DureeTotaleDFT;
    reglages.NbPtsDFT = v.NbPtsDFT;
    reglages.tMaxPretrigDispo = v.tMaxPretrigDispo;
    if (moteur)
        moteur->optionEffaceTrame = v.optionEffaceTrame;
    reglages.optionTransfertREGRESSI = v.optionTransfertREGRESSI;
    reglages.optionTransfertEXCEL = v.optionTransfertEXCEL;
    reglages.optionTransfertOOo = v.optionTransfertOOo;
    reglages.optionSeparateurCSV = v.optionSeparateurCSV;
    reglages.OptionCouleursRegressi = v.OptionCouleursRegressi;
    reglages.versionRegressiDefaut = v.versionRegressiDefaut;
    reglages.cheminREGRESSINonDefautX = v.cheminREGRESSINonDefautX;
    reglages.enregistrerCouleurs = v.enregistrerCouleurs;

    // The curves drawn in an input's colour take its new colour, then the inputs do.
    std::vector<TColor> courbes;
    courbes.reserve(series.voiesMesurees.size());
    for (const TVoieMesuree& vm : series.voiesMesurees)
        courbes.push_back(vm.clVM);
    const int nbEAU = centrales.SP5 ? centrales.SP5->nbEAU : 8;
    appliquerCouleurs(courbes, reglages.clsVX, v.clsVX, nbEAU);
    for (std::size_t k = 0; k < courbes.size(); ++k)
        series.voiesMesurees[k].clVM = courbes[k];

    etat.SBNouveau = centrales.SP5 != nullptr;
    appliquerEtat();
    if (reglagesAcq) {
        reglagesAcq->DureeTotaleDFT = reglages.DureeTotaleDFT;
        reglagesAcq->NbPtsDFT = reglages.NbPtsDFT;
        reglagesAcq->tMaxPretrigDispo = reglages.tMaxPretrigDispo;
        if (reglagesAcq->centrale()) {
            reglagesAcq->prepareComposantsDeclenchement();
            appliquerEtatReglages();
        }
    }
    dessineLegendes();
    graphe->redessiner(series.nbVoiesMesurees > 0);
}
