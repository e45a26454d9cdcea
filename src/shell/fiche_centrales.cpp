// The main window's part of choosing the unit: the choice at start, the activation with
// its channel boxes, and the presence shown by the poll.
#include "centralesstandard.h"
#include "fichekirvanemixte.h"
#include "fichekirvanemixtetitre.h"
#include "formats.h"
#include "graphefiche.h"

#include <algorithm>

void TFicheKirvaneMixte::choisirCentraleAuDemarrage() {
    if (centrales.nbCentralesGerees == 1) {
        setCentraleActive(centrales.centrales[0].typecentrale, false);
        return;
    }
    if (centrales.nbCentralesGerees > 1) {
        int choisi = typeActifSansQuestion(centrales);
        if (choisi == 0) {
            if (demarrage_.titre)
                demarrage_.titre->hide();
            const std::set<int> types = typesProposes(centrales);
            choisi = demarrage_.boites->choisirCentrale(this, types);
        }
        if (choisi > 0) {
            creerBoutonsCentrales();
            setCentraleActive(choisi, false);
            return;
        }
        centrales.nbCentralesGerees = 0;
        setCentraleActive(-1, false);
        peutFermer = true;
        return;
    }
    setCentraleActive(-1, false);
    if (demarrage_.titre)
        demarrage_.titre->hide();
    demarrage_.boites->avertir(this, texteInfoBulle(AUCUNE_CENTRALE));
    if (demarrage_.titre)
        demarrage_.titre->show();
}

void TFicheKirvaneMixte::creerBoutonsCentrales() {
    for (const TCentraleInsPre& e : centrales.centrales) {
        auto* b = new QToolButton(composants.PBoutons);
        b->setText(e.Centrale1 ? e.Centrale1->nomCentrale : e.nom);
        b->setCheckable(true);
        b->setAutoExclusive(true);
        b->setProperty("typeCentrale", e.typecentrale);
        b->setToolTip(QStringLiteral("Sélection de la centrale ") + b->text());
        connect(b, &QToolButton::clicked, this,
                [this, t = e.typecentrale] { SBChoixCentraleClick(t); });
        b->show();
        composants.SBCentrales_.push_back(b);
    }
}

void TFicheKirvaneMixte::SBChoixCentraleClick(int type) {
    // No poll reaches the unit while it changes; the active unit's own button keeps its
    // object and settings, and only restarts the polls.
    bloqueTimerAcqDirecte = true;
    TimerAcqDir.stop();
    TimerPresenceSP5.stop();
    graphe->redessiner(false);
    composants.EditMessageX->clear();
    composants.EditPresence->clear();
    const int avant = centrales.typeCentraleActive;
    setCentraleActive(type, true);
    TimerAcqDir.stop(); // a new unit starts it at once
    if (centrales.typeCentraleActive != avant)
        redimensionnement();
    // The presence text comes back with the next poll.
    QTimer::singleShot(500, this, [this] {
        bloqueTimerAcqDirecte = false;
        if (centrales.SP5) {
            TimerAcqDir.start();
            TimerPresenceSP5.start();
        }
    });
}

void TFicheKirvaneMixte::setCentraleActive(int kind, bool avecCreation) {
    if (kind == centrales.typeCentraleActive && centrales.SP5)
        return;
    TimerPresenceSP5.stop();
    TimerAcqDir.stop();
    series.nbVoiesMesurees = 0;
    if (kind < 0 || !centrales.setCentraleActive(kind, avecCreation, *this) || !centrales.SP5) {
        centrales.setCentraleActive(-1, false, *this);
        preparerPanneauSansCentrale();
        reglagesAcq->setCentrale(nullptr);
        reglagesAcq->prepareComposants();
    } else {
        TCentrale& u = *centrales.SP5;
        for (QToolButton* b : composants.SBCentrales_) {
            const bool bas = b->property("typeCentrale").toInt() == kind;
            b->setChecked(bas);
            QFont f = b->font();
            f.setBold(bas);
            b->setFont(f);
        }
        if (centrales.SP5Presente) {
            try {
                u.Reset();
            } catch (const std::exception& e) {
                afficherErreurChargement(QString::fromLocal8Bit(e.what()));
            }
        }
        // The default settings of a unit made active, with the stored default timing.
        reglagesAcq->setCentrale(&u);
        reglagesAcq->DureeTotaleDFT = reglages.DureeTotaleDFT;
        reglagesAcq->NbPtsDFT = reglages.NbPtsDFT;
        reglagesAcq->tMaxPretrigDispo = reglages.tMaxPretrigDispo;
        try {
            reglagesAcq->reglagesDefautMI();
        } catch (const std::exception& e) {
            afficherErreurChargement(QString::fromLocal8Bit(e.what()));
        }
        composants.EditPresence->setText(centrales.textePresence());
        composants.EditPresence->setCursorPosition(0);
        preparerPanneauVoies();
        if (demarrage_.titre) {
            demarrage_.titre->setInterface(u.nomCentrale, u.numeroSerie);
            demarrage_.titre->setOngletInterfaceVisible(centrales.SP5Presente);
        }
    }
    // The store starts empty with the new unit.
    if (centrales.SP5)
        series.RAZ(*centrales.SP5);
    else
        series = TSeriesMesurees{};
    series.numAcqDef = 0;
    // The engine follows the active unit.
    moteur->SP5 = centrales.SP5.get();
    // The markers span the whole duration of the unit's settings.
    {
        TEcranGraphe& ecran = graphe->ecran;
        const double duree = centrales.SP5 ? centrales.SP5->dureeTotale0X : 0.0;
        ecran.g.t0 = 0.0f;
        ecran.curseurs.tFin = ecran.curseurs.tFinM = duree;
        ecran.curseurs.t0M = 0.0;
    }
    setModeGeneral(MODE_VIERGE);
    desactiveBoutonsOutils(etat);
    if (centrales.SP5) {
        activeComposantsAcqSimple(etat, faits());
        etat.BAcquisition = true;
    } else {
        desactiveComposantsAcqSimple(etat, faits());
        etat.BAcquisition = false;
        etat.SBOptions = false;
    }
    etat.SBNouveau = false;
    reglagesAcq->prepareCBAjouterCourbes(); // the store was emptied
    appliquerEtatReglages();
    // Live values while idle (a refresh does nothing while bloqueTimerAcqDirecte is set).
    if (centrales.SP5)
        TimerAcqDir.start();
}

void TFicheKirvaneMixte::preparerPanneauVoies() {
    TCentrale& u = *centrales.SP5;
    const int nbCanaux = std::clamp(u.nbCanaux_, 0, 4);
    const int nbEAU = std::clamp(u.nbEAU, 0, 8);
    const bool diffChoisi = u.ChxModeDiff == 1;
    for (int k = 0; k < 4; ++k) {
        const bool present = k < nbCanaux;
        composants.gbCanaux[k]->setVisible(present);
        if (!present)
            continue;
        const QString titre = k < static_cast<int>(u.GBCanauxCaption.size())
                                  ? u.GBCanauxCaption[k]
                                  : QStringLiteral("Canal %1").arg(k);
        composants.gbCanaux[k]->setTitle(titre);
        composants.CBModeDiff[k]->setVisible(diffChoisi);
        composants.CBModeDiff[k]->setToolTip(QStringLiteral("Cochez si vous voulez que le canal ") +
                                             titre.toLower() +
                                             QStringLiteral("\nsoit utilisé en mode différentiel"));
        composants.CBModeDiff[k]->setChecked(k < static_cast<int>(u.canauxDiff.size()) &&
                                             u.canauxDiff[k]);
    }
    QStringList calibres;
    for (int r = 0; r < u.nbCalEAKirvane && r < static_cast<int>(u.sCalibres.size()); ++r)
        calibres << u.sCalibres[r];
    for (int i = 0; i < 8; ++i) {
        const bool present = i < nbEAU;
        for (QWidget* w : std::initializer_list<QWidget*>{
                 composants.LTitreVoies[i], composants.CBVoiesActives[i], composants.RGCalsEA[i],
                 composants.LValU1[i], composants.LValUInd[i], composants.LEgale[i],
                 composants.EditValU[i], composants.legendes[i]})
            w->setVisible(present);
        if (!present)
            continue;
        const QString nom = i < static_cast<int>(u.sEntrees.size()) ? u.sEntrees[i] : QString();
        composants.LTitreVoies[i]->setText(nom);
        composants.LTitreVoies[i]->setVisible(diffChoisi);
        QString bulle = QStringLiteral("Cochez si vous voulez activer l'entrée ") + nom;
        if (u.typeCentrale != CENTRALE_V6 && u.typeCentrale != CENTRALE_CAMPUS && i >= 4)
            bulle += QString::fromUtf8(
                "\nSi cette voie est activée, le temps \nd'échantillonnage minimal est de 2 µs");
        composants.CBVoiesActives[i]->setToolTip(bulle);
        const bool active = i < static_cast<int>(u.VoiesX.size()) && u.VoiesX[i].active;
        composants.CBVoiesActives[i]->setChecked(active);
        composants.RGCalsEA[i]->setElements(calibres);
        composants.RGCalsEA[i]->setItemIndex(
            i < static_cast<int>(u.VoiesX.size()) ? u.VoiesX[i].idxCalibreUt : 0);
        composants.RGCalsEA[i]->setToolTip(QStringLiteral("Sélection du calibre de l'entrée ") +
                                           nom);
        composants.LValU1[i]->setText(u.GetCapU(i));
        composants.LValUInd[i]->setText(u.GetCapUInd(i));
        composants.EditValU[i]->clear();
        composants.EditValU[i]->setToolTip(
            QStringLiteral("Affiche la tension actuellement \nmesurée sur l'entrée") + nom);
    }
    // The trigger, timing and list contents come from the settings rules.
    composants.RGSensDeclenchement->setElements(
        {QStringLiteral("montant"), QStringLiteral("descendant")});
    composants.iTe->setToolTip(texteInfoBulle(u.ITeHINT.toUtf8().constData()));
}

void TFicheKirvaneMixte::preparerPanneauSansCentrale() {
    composants.EditPresence->clear();
    for (int k = 0; k < 4; ++k) {
        composants.gbCanaux[k]->setTitle(QStringLiteral(" Voie/Canal %1").arg(k + 1));
        composants.gbCanaux[k]->show();
        composants.CBModeDiff[k]->hide();
    }
    for (int i = 0; i < 8; ++i) {
        const bool montre = i < 4;
        composants.LTitreVoies[i]->hide();
        for (QWidget* w : std::initializer_list<QWidget*>{
                 composants.CBVoiesActives[i], composants.RGCalsEA[i], composants.LValU1[i],
                 composants.LValUInd[i], composants.LEgale[i], composants.EditValU[i],
                 composants.legendes[i]})
            w->setVisible(montre);
        if (!montre)
            continue;
        composants.CBVoiesActives[i]->setChecked(false);
        composants.RGCalsEA[i]->setElements(
            {QStringLiteral("-10V / +10V"), QStringLiteral("-5V / +5V")});
        composants.RGCalsEA[i]->setItemIndex(0);
        composants.LValU1[i]->setText(QStringLiteral("u"));
        composants.LValUInd[i]->setText(QString::number(i + 1));
        composants.EditValU[i]->setText(QStringLiteral(" 0,00 V"));
        composants.EditValU[i]->setEnabled(false);
    }
    composants.iTe->setToolTip(QString());
}

void TFicheKirvaneMixte::TimerPresenceSP5Timer() {
    const TPresence p = centrales.pollPresence();
    if (p == TPresence::NonTestee)
        return;
    if (p == TPresence::Reconnectee)
        composants.EditMessageX->clear();
    composants.EditPresence->setText(centrales.textePresence());
    composants.EditPresence->setCursorPosition(0);
    if (demarrage_.titre && centrales.SP5) {
        demarrage_.titre->setInterface(centrales.SP5->nomCentrale, centrales.SP5->numeroSerie);
        demarrage_.titre->setOngletInterfaceVisible(centrales.SP5Presente);
    }
}
