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
        auto* b = new QToolButton(c.PBoutons);
        b->setText(e.Centrale1 ? e.Centrale1->nomCentrale : e.nom);
        b->setCheckable(true);
        b->setAutoExclusive(true);
        b->setProperty("typeCentrale", e.typecentrale);
        b->setToolTip(QStringLiteral("Sélection de la centrale ") + b->text());
        connect(b, &QToolButton::clicked, this,
                [this, t = e.typecentrale] { SBChoixCentraleClick(t); });
        b->show();
        c.SBCentrales_.push_back(b);
    }
}

void TFicheKirvaneMixte::SBChoixCentraleClick(int type) {
    // No poll reaches the unit while it changes; the active unit's own button keeps its
    // object and settings, and only restarts the polls.
    bloqueTimerAcqDirecte = true;
    TimerAcqDir.stop();
    TimerPresenceSP5.stop();
    graphe->redessiner(false);
    c.EditMessageX->clear();
    c.EditPresence->clear();
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
        for (QToolButton* b : c.SBCentrales_) {
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
        c.EditPresence->setText(centrales.textePresence());
        c.EditPresence->setCursorPosition(0);
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
        c.gbCanaux[k]->setVisible(present);
        if (!present)
            continue;
        const QString titre = k < static_cast<int>(u.GBCanauxCaption.size())
                                  ? u.GBCanauxCaption[k]
                                  : QStringLiteral("Canal %1").arg(k);
        c.gbCanaux[k]->setTitle(titre);
        c.CBModeDiff[k]->setVisible(diffChoisi);
        c.CBModeDiff[k]->setToolTip(QStringLiteral("Cochez si vous voulez que le canal ") +
                                    titre.toLower() +
                                    QStringLiteral("\nsoit utilisé en mode différentiel"));
        c.CBModeDiff[k]->setChecked(k < static_cast<int>(u.canauxDiff.size()) && u.canauxDiff[k]);
    }
    QStringList calibres;
    for (int r = 0; r < u.nbCalEAKirvane && r < static_cast<int>(u.sCalibres.size()); ++r)
        calibres << u.sCalibres[r];
    for (int i = 0; i < 8; ++i) {
        const bool present = i < nbEAU;
        for (QWidget* w : std::initializer_list<QWidget*>{
                 c.LTitreVoies[i], c.CBVoiesActives[i], c.RGCalsEA[i], c.LValU1[i], c.LValUInd[i],
                 c.LEgale[i], c.EditValU[i], c.legendes[i]})
            w->setVisible(present);
        if (!present)
            continue;
        const QString nom = i < static_cast<int>(u.sEntrees.size()) ? u.sEntrees[i] : QString();
        c.LTitreVoies[i]->setText(nom);
        c.LTitreVoies[i]->setVisible(diffChoisi);
        QString bulle = QStringLiteral("Cochez si vous voulez activer l'entrée ") + nom;
        if (u.typeCentrale != CENTRALE_V6 && u.typeCentrale != CENTRALE_CAMPUS && i >= 4)
            bulle += QString::fromUtf8(
                "\nSi cette voie est activée, le temps \nd'échantillonnage minimal est de 2 µs");
        c.CBVoiesActives[i]->setToolTip(bulle);
        const bool active = i < static_cast<int>(u.VoiesX.size()) && u.VoiesX[i].active;
        c.CBVoiesActives[i]->setChecked(active);
        c.RGCalsEA[i]->setElements(calibres);
        c.RGCalsEA[i]->setItemIndex(i < static_cast<int>(u.VoiesX.size()) ? u.VoiesX[i].idxCalibreUt
                                                                          : 0);
        c.RGCalsEA[i]->setToolTip(QStringLiteral("Sélection du calibre de l'entrée ") + nom);
        c.LValU1[i]->setText(u.GetCapU(i));
        c.LValUInd[i]->setText(u.GetCapUInd(i));
        c.EditValU[i]->clear();
        c.EditValU[i]->setToolTip(
            QStringLiteral("Affiche la tension actuellement \nmesurée sur l'entrée") + nom);
    }
    // The trigger, timing and list contents come from the settings rules.
    c.RGSensDeclenchement->setElements({QStringLiteral("montant"), QStringLiteral("descendant")});
    c.iTe->setToolTip(texteInfoBulle(u.ITeHINT.toUtf8().constData()));
}

void TFicheKirvaneMixte::preparerPanneauSansCentrale() {
    c.EditPresence->clear();
    for (int k = 0; k < 4; ++k) {
        c.gbCanaux[k]->setTitle(QStringLiteral(" Voie/Canal %1").arg(k + 1));
        c.gbCanaux[k]->show();
        c.CBModeDiff[k]->hide();
    }
    for (int i = 0; i < 8; ++i) {
        const bool montre = i < 4;
        c.LTitreVoies[i]->hide();
        for (QWidget* w : std::initializer_list<QWidget*>{c.CBVoiesActives[i], c.RGCalsEA[i],
                                                          c.LValU1[i], c.LValUInd[i], c.LEgale[i],
                                                          c.EditValU[i], c.legendes[i]})
            w->setVisible(montre);
        if (!montre)
            continue;
        c.CBVoiesActives[i]->setChecked(false);
        c.RGCalsEA[i]->setElements({QStringLiteral("-10V / +10V"), QStringLiteral("-5V / +5V")});
        c.RGCalsEA[i]->setItemIndex(0);
        c.LValU1[i]->setText(QStringLiteral("u"));
        c.LValUInd[i]->setText(QString::number(i + 1));
        c.EditValU[i]->setText(QStringLiteral(" 0,00 V"));
        c.EditValU[i]->setEnabled(false);
    }
    c.iTe->setToolTip(QString());
}

void TFicheKirvaneMixte::TimerPresenceSP5Timer() {
    const TPresence p = centrales.pollPresence();
    if (p == TPresence::NonTestee)
        return;
    if (p == TPresence::Reconnectee)
        c.EditMessageX->clear();
    c.EditPresence->setText(centrales.textePresence());
    c.EditPresence->setCursorPosition(0);
    if (demarrage_.titre && centrales.SP5) {
        demarrage_.titre->setInterface(centrales.SP5->nomCentrale, centrales.SP5->numeroSerie);
        demarrage_.titre->setOngletInterfaceVisible(centrales.SP5Presente);
    }
}
