// The main window's side of the acquisition engine: it mirrors the engine's state on the
// controls and draws the arriving points on the graph.
#include "couleursqt.h"
#include "courbes.h"
#include "dessingraphe.h"
#include "fichekirvaneattentedeclacq.h"
#include "fichekirvanemixte.h"
#include "graphefiche.h"

#include <QCoreApplication>
#include <QPainter>
#include <algorithm>

TEtatEcran TFicheKirvaneMixte::etatGraphe() const {
    TEtatEcran e = etatEcran(centrales.SP5.get(), modeGeneral());
    if (moteur && centrales.SP5) {
        TProgresAcquisition& p = e.progres;
        p.ptFront = moteur->ptFront;
        p.pt0Trame = moteur->pt0Trame;
        p.trameX = moteur->trameX;
        p.modeDoubleTrameX = moteur->modeDoubleTrameX;
        const auto& voies = centrales.SP5->VoiesActivesSignaux;
        for (size_t j = 0; j < voies.size() && j < 8; ++j)
            p.couleurs[j] = reglages.clsVX[static_cast<size_t>(std::clamp(voies[j], 0, 7))];
    }
    return e;
}

void TFicheKirvaneMixte::BAcquisitionClick() {
    if (!moteur || !centrales.SP5)
        return;
    // A click takes the focus, and leaving a settings field applies what was typed or
    // picked in it; F10 and the keyboard reach the button without moving the focus, so it
    // is moved here: the acquisition runs with the value the user sees.
    if (!acquisitionEnCours(modeGeneral()) && composants.BAcquisition->isEnabled() &&
        focusWidget() != composants.BAcquisition)
        composants.BAcquisition->setFocus(Qt::OtherFocusReason);
    moteur->CBAjouterCourbes = composants.CBAjouterCourbes->isChecked();
    if (!acquisitionEnCours(modeGeneral()))
        moteur->setModepermanent(composants.CBModePermanent->isChecked());
    moteur->BAcquisitionClick();
}

void TFicheKirvaneMixte::afficherMessage(const QString& texte) {
    composants.EditMessageX->setText(texte);
    composants.EditMessageX->setCursorPosition(0);
    composants.EditMessageX->repaint();
}

void TFicheKirvaneMixte::legendeBoutonAcquisition(const QString& texte) {
    composants.BAcquisition->setText(texte);
}

void TFicheKirvaneMixte::valeurDirecte(int voie, double volts) {
    if (voie >= 0 && voie < 8)
        composants.EditValU[voie]->setText(TMoteurAcquisition::texteValeurDirecte(volts));
}

void TFicheKirvaneMixte::effacerValeursDirectes() {
    for (QLineEdit* e : composants.EditValU)
        e->clear();
}

void TFicheKirvaneMixte::afficherModePermanent(bool mp) {
    {
        const QSignalBlocker blocage(composants.CBModePermanent);
        composants.CBModePermanent->setChecked(mp);
    }
    // The engine switches the mode itself too (code 14): the trigger captions follow.
    if (reglagesAcq) {
        reglagesAcq->setModePermanent(mp);
        appliquerEtatReglages();
    }
}

void TFicheKirvaneMixte::debutAcquisition(bool permanente) {
    // A new acquisition: zoom 1, markers on the whole series, empty graph with the earlier
    // series pale when they are kept.
    graphe->zoomsInitiaux();
    DesactiverZooms(etat);
    appliquerEtat();
    TEcranGraphe& ecran = graphe->ecran;
    const double duree = centrales.SP5 ? centrales.SP5->dureeTotale0X : 0.0;
    ecran.g.t0 = 0.0f;
    ecran.curseurs.tFin = duree;
    ecran.curseurs.t0M = 0.0;
    ecran.curseurs.tFinM = duree;
    // The store is being refilled: the table shows the series as they arrive.
    tableauPerime();
    TimerTableau.start();
    // The graph without the current series (earlier series pale) is the background the
    // arriving points are drawn over.
    TEtatEcran e = etatGraphe();
    e.progres.ptFront = -1;
    ecran.dessineEcranN(e, series, true);
    ecran.bmEcran0 = ecran.iEcranX.copy();
    composants.iEcranX->update();
}

void TFicheKirvaneMixte::preparerAxeTemps() {
    // The next frame's background (axes, earlier series pale) goes to bmEcran0 only: the
    // screen keeps the previous frame until the new one replaces it.
    TEcranGraphe& ecran = graphe->ecran;
    const QImage ecranActuel = ecran.iEcranX;
    TEtatEcran e = etatGraphe();
    e.progres.ptFront = -1;
    ecran.dessineEcranN(e, series, true);
    ecran.bmEcran0 = ecran.iEcranX.copy();
    ecran.iEcranX = ecranActuel;
}

void TFicheKirvaneMixte::setModeDessinVM() {
    graphe->ecran.setModeDessinVM(etatGraphe(), series);
}

void TFicheKirvaneMixte::redessiner(bool avecCourbes) {
    graphe->redessiner(avecCourbes);
}

void TFicheKirvaneMixte::dessinerPretrig() {
    if (!centrales.SP5 || graphe->ecran.iEcranX.isNull())
        return;
    QPainter p(&graphe->ecran.iEcranX);
    dessinetPretrig(p, graphe->ecran.g, centrales.SP5->modeDecl, centrales.SP5->tPretrig);
}

void TFicheKirvaneMixte::dessinerLot(const TLotAcquisition& lot) {
    TEcranGraphe& ecran = graphe->ecran;
    const TGeometrieGraphe& g = ecran.g;
    // Fast frames are drawn out of sight and shown whole at the end of the frame.
    QImage& cible = lot.genre == TGenreLecture::TrameRapide ? ecran.bmEcran : ecran.iEcranX;
    if (cible.isNull() || lot.dernier < lot.premier || !lot.colonnes || !lot.voies)
        return;
    effacerAvantLot(cible, ecran.bmEcran0, g, lot);
    if (lot.marquePretrig && centrales.SP5) {
        QPainter p(&cible);
        p.setRenderHint(QPainter::Antialiasing, false);
        dessinetPretrig(p, g, centrales.SP5->modeDecl, centrales.SP5->tPretrig);
    }
    traceur_.dessinerLot(cible, g, lot, ecran.modeDessinVM, reglages.clsVX);
}

void TFicheKirvaneMixte::debutTrameRapide() {
    graphe->ecran.bmEcran = graphe->ecran.bmEcran0.copy();
}

void TFicheKirvaneMixte::finTrameRapide() {
    TEcranGraphe& ecran = graphe->ecran;
    if (centrales.SP5 && !ecran.bmEcran.isNull()) {
        QPainter p(&ecran.bmEcran);
        dessinetPretrig(p, ecran.g, centrales.SP5->modeDecl, centrales.SP5->tPretrig);
    }
    if (ecran.bmEcran.size() == ecran.iEcranX.size())
        ecran.iEcranX = ecran.bmEcran.copy();
    composants.iEcranX->update();
}

void TFicheKirvaneMixte::rafraichir() {
    composants.iEcranX->update();
}

void TFicheKirvaneMixte::afficherAttenteLongue() {
    if (!attente_) {
        attente_ = new TFicheKirvaneAttenteDeclAcq(this);
        connect(attente_, &TFicheKirvaneAttenteDeclAcq::choixFait, this, [this](ChoixAttente ch) {
            if (ch == ChoixAttente::arreter && acquisitionEnCours(modeGeneral()))
                BAcquisitionClick();
        });
    }
    if (!attente_->isVisible())
        attente_->montrer();
}

void TFicheKirvaneMixte::masquerAttenteLongue() {
    if (attente_)
        attente_->hide();
}

void TFicheKirvaneMixte::informer(const QString& texte) {
    demarrage_.boites->informer(this, texte);
}

void TFicheKirvaneMixte::messageSimple(const QString& texte) {
    demarrage_.boites->message(this, texte, TGenreMessage::Simple);
}

void TFicheKirvaneMixte::timerAcqDirecte(bool marche) {
    if (marche && !bloqueTimerAcqDirecte)
        TimerAcqDir.start();
    else
        TimerAcqDir.stop();
}

void TFicheKirvaneMixte::timerPresence(bool marche) {
    if (!marche)
        TimerPresenceSP5.stop();
    else if (!TimerPresenceSP5.isActive())
        TimerPresenceSP5.start();
}

TContexteValidation TFicheKirvaneMixte::contexteValidation() {
    TContexteValidation ctx;
    ctx.echsVoies = graphe->ecran.g.echsVoies;
    ctx.clsVX = reglages.clsVX;
    ctx.maintenant = QDateTime::currentDateTime();
    ctx.locale = QLocale();
    return ctx;
}

void TFicheKirvaneMixte::acquisitionValidee(bool permanente) {
    graphe->redessiner(true);
    // The panel follows the committed store ("Ajouter les courbes", timing of the series).
    if (reglagesAcq) {
        // The acquisition was made with the current timing: nothing to go back to.
        reglagesAcq->etat.BAcquisitionPrecedente = false;
        reglagesAcq->prepareCBAjouterCourbes();
        reglagesAcq->afficheParametresT();
        appliquerEtatReglages();
    }
    activeBoutonsOutils(etat, faits());
    ::activerZooms(etat, faits(), modeGeneral());
    appliquerEtat();
    tableauPerime();
}

void TFicheKirvaneMixte::acquisitionTerminee() {
    masquerAttenteLongue();
    TimerTableau.stop();
    tableauPerime();
    ::activerZooms(etat, faits(), modeGeneral());
    appliquerEtat();
    sequences_.finBoucleAcquisition(contexteOutils());
}

void TFicheKirvaneMixte::quitter() {
    Quitter();
}
