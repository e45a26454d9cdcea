#include "fichekirvanemixte.h"

#include "calclibreoffice.h"
#include "centralesstandard.h"
#include "chaines.h"
#include "fichechoixtransfert.h"
#include "fichekirvanechoixcentrale.h"
#include "fichekirvanemixteoptions.h"
#include "fichekirvanemixtetitre.h"
#include "formats.h"
#include "graphefiche.h"
#include "imagesboutons.h"
#include "inscriptionregressi.h"
#include "placementfenetre.h"
#include "sp5.h"
#include "systeme.h"
#include "systemeexcel.h"
#include "traductions.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMoveEvent>
#include <QScreen>
#include <QScrollBar>
#include <QSet>
#include <QStandardPaths>

namespace {

QMessageBox::Icon icone(TGenreMessage genre) {
    switch (genre) {
    case TGenreMessage::Information:
        return QMessageBox::Information;
    case TGenreMessage::Avertissement:
        return QMessageBox::Warning;
    case TGenreMessage::Simple:
        break;
    }
    return QMessageBox::NoIcon;
}

// Every box of the window goes through here: one line break for each "\n\r".
class TBoitesStandard : public TBoitesDialogue {
public:
    void message(QWidget* parent, const QString& texte, TGenreMessage genre) override {
        QMessageBox boite(icone(genre), QStringLiteral("Kirvane"), sautsDeLigne(texte),
                          QMessageBox::Ok, parent);
        boite.exec();
    }
    TReponse demander(QWidget* parent, const QString& texte, bool avecAnnuler) override {
        auto boite =
            creerQuestionOuiNonAnnuler(parent, QStringLiteral("Kirvane"), sautsDeLigne(texte));
        if (!avecAnnuler) {
            boite->removeButton(boite->button(QMessageBox::Cancel));
            boite->setEscapeButton(QMessageBox::No);
        }
        const int r = boite->exec();
        if (r == QMessageBox::Yes)
            return TReponse::Oui;
        if (r == QMessageBox::No || !avecAnnuler)
            return TReponse::Non;
        return TReponse::Annuler;
    }
    QString nomFichierEnregistrement(QWidget* parent, const QString& titre, const QString& filtre,
                                     const QString& cheminDefaut) override {
        return QFileDialog::getSaveFileName(parent, titre, cheminDefaut, filtre, nullptr,
                                            QFileDialog::DontConfirmOverwrite);
    }
    QString nomFichierOuverture(QWidget* parent, const QString& titre,
                                const QString& filtre) override {
        return QFileDialog::getOpenFileName(parent, titre, QString(), filtre);
    }
    std::optional<TModeTransfert> choixTransfertRegressi(QWidget* parent) override {
        // Made once and asked again at every transfer that needs it.
        if (!choixTR)
            choixTR = std::make_unique<TFicheKirvaneMixteChoixTR>(parent);
        const auto choix = choixTR->choisir();
        if (!choix)
            return std::nullopt;
        return *choix == TFicheChoixTransfert::TChoix::NouveauDocument
                   ? TModeTransfert::NouveauFichier
                   : TModeTransfert::NouvellePage;
    }
    std::optional<TModeCalc> choixTransfertCalc(QWidget* parent) override {
        if (!choixTOO)
            choixTOO = std::make_unique<TFicheKirvaneMixteChoixTOO>(parent);
        const auto choix = choixTOO->choisir();
        if (!choix)
            return std::nullopt;
        return *choix == TFicheChoixTransfert::TChoix::NouveauDocument ? TModeCalc::NouveauClasseur
                                                                       : TModeCalc::NouvelleFeuille;
    }
    int choisirCentrale(QWidget* parent, const std::set<int>& types) override {
        TFicheKirvaneChoixCentrale choix(parent);
        // One button per family: it stands for the family's simulator when that is what
        // was found.
        QSet<int> boutons;
        for (int t : types)
            if (const TFamille* f = familleDuType(t))
                boutons.insert(f->typeCentrale);
        choix.PrepareChoixCentrale(boutons);
        if (choix.exec() != QDialog::Accepted || choix.typeCentraleAActiver1 < 0)
            return -1;
        const int choisi = choix.typeCentraleAActiver1;
        if (!types.count(choisi))
            for (int t : types)
                if (const TFamille* f = familleDuType(t); f && f->typeCentrale == choisi)
                    return t;
        return choisi;
    }

    std::optional<TModeExcel> choixTransfertExcel(QWidget* parent) override {
        if (!choixTE)
            choixTE = std::make_unique<TFicheKirvaneMixteChoixTE>(parent);
        const auto choix = choixTE->choisir();
        if (!choix)
            return std::nullopt;
        return *choix == TFicheChoixTransfert::TChoix::NouveauDocument
                   ? TModeExcel::NouveauClasseur
                   : TModeExcel::NouvelleFeuille;
    }

private:
    std::unique_ptr<TFicheKirvaneMixteChoixTR> choixTR;
    std::unique_ptr<TFicheKirvaneMixteChoixTOO> choixTOO;
    std::unique_ptr<TFicheKirvaneMixteChoixTE> choixTE;
};

} // namespace

std::unique_ptr<TBoitesDialogue> boitesDialogueStandard() {
    return std::make_unique<TBoitesStandard>();
}

TDemarrageFiche demarrageStandard(TFicheKirvaneMixteTitre* titre) {
    TDemarrageFiche d;
    d.fabrique = fabriqueCentralesStandard();
    d.chemins = cheminsCentralesStandard();
    d.stock = std::make_unique<TMagasinReglagesQSettings>();
    d.dossierParametres = TFichierParametres::dossierParDefaut();
    d.dossierDocuments = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    d.boites = boitesDialogueStandard();
    d.regressi = std::make_unique<TServicesRegressiSysteme>();
    d.calc = calcLibreOffice();
    d.titre = titre;
    d.excel = systemeExcelStandard();
    d.ouvrirDocument = ouvrirDocumentSysteme;
    return d;
}

TFicheKirvaneMixte::TFicheKirvaneMixte(TDemarrageFiche demarrage, QWidget* parent)
    : QMainWindow(parent), centrales(demarrage.fabrique), demarrage_(std::move(demarrage)),
      fichierParametres_(demarrage_.dossierParametres), sequences_(*this) {
    moteur =
        std::make_unique<TMoteurAcquisition>(nullptr, series, static_cast<TVueAcquisition&>(*this));
    auto* racine = new QWidget(this);
    setCentralWidget(racine);
    construireComposants(composants, racine);
    graphe = std::make_unique<TGrapheFiche>(
        composants, series, [this] { return etatGraphe(); }, this);
    connect(composants.BAcquisition, &QPushButton::clicked, this, [this] { BAcquisitionClick(); });
    TimerPresenceSP5.setInterval(1000);
    TimerRedimGene.setInterval(100);
    TimerRedimGene.setSingleShot(true);
    TimerAcqDir.setInterval(300);
    connect(&TimerPresenceSP5, &QTimer::timeout, this, [this] { TimerPresenceSP5Timer(); });
    connect(&TimerRedimGene, &QTimer::timeout, this, [this] { TimerRedimGeneTimer(); });
    relierBoutons();
    relierReglages();
    relierTableau();
    connect(&TimerAcqDir, &QTimer::timeout, this, [this] { TimerAcqDirTimer(); });
    composants.ScrBoxVoies->installEventFilter(this);
    composants.ScrBoxVoies->viewport()->installEventFilter(this);
    for (QWidget* w : std::initializer_list<QWidget*>{
             composants.CBDureeTotale, composants.CBNbPoints, composants.CBTypeDeclenchement,
             composants.RGSensDeclenchement, composants.CBVoieSynchro, composants.EditUSeuilDecl,
             composants.CBPretrigX})
        w->installEventFilter(this);
    FormCreate();
}

TFicheKirvaneMixte::~TFicheKirvaneMixte() {
    FormDestroy();
}

void TFicheKirvaneMixte::FormCreate() {
    initialisation = true;
    setWindowTitle(QString::fromUtf8(TITRE_FICHE_PRINCIPALE));
    peutFermer = false;
    bloqueRedim = true;
    setMinimumSize(640, 480);
    placerCadre();

    centrales.detectionCentrales(demarrage_.chemins, *this);
    if (demarrage_.stock) {
        // A damaged settings file never stops the start: the defaults apply, the user is
        // told in the start lines, and the file is written anew at exit.
        if (demarrage_.stock->endommage())
            ajouterLigneDemarrage(TEXTE_REGLAGES_ENDOMMAGES);
        else
            reglages.lire(*demarrage_.stock);
    }
    inscrireAupresDeRegressi(QCoreApplication::applicationFilePath());
    localiserRegressi();
    creerTransfertCalc();
    reglages.compterUtilisation();
    lireApplicationsInstallees();
    OOInstalle = estInstallee(QStringLiteral("OPENOFFICE")) ||
                 estInstallee(QStringLiteral("OpenOffice.org"));
    LOInstalle = estInstallee(QStringLiteral("LIBREOFFICE")) ||
                 estInstallee(QStringLiteral("LibreOffice.org"));
    msOfficeInstalle = estInstallee(QStringLiteral("Microsoft Office")) ||
                       estInstallee(QStringLiteral("Microsoft 365"));

    // Hints of the tool bar and of the settings panel.
    const auto outils = composants.boutonsOutils();
    for (const auto& [bouton, quel] : outils)
        bouton->setToolTip(infoBulle(quel));
    composants.CBDureeTotale->setToolTip(texteInfoBulle(BullesReglages::CBDureeTotale));
    composants.CBNbPoints->setToolTip(texteInfoBulle(BullesReglages::CBNbPoints));
    composants.BAcquisitionPrecedente->setToolTip(
        texteInfoBulle(BullesReglages::BAcquisitionPrecedente));
    composants.EditMessageX->setToolTip(texteInfoBulle(BullesReglages::EditMessageX));
    composants.EditPresence->setToolTip(texteInfoBulle(BullesReglages::EditPresence));
    composants.SBRedRegTemp->setToolTip(texteInfoBulle(BullesReglages::SBRedRegTemp));
    composants.SBRedRegVoies->setToolTip(texteInfoBulle(BullesReglages::SBRedRegVoies));
    for (QToolButton* b : {composants.SBDureeTotalePlus, composants.SBNbPointsPlus})
        b->setToolTip(texteInfoBulle(BullesReglages::valeurSuperieure));
    for (QToolButton* b : {composants.SBDureeTotaleMoins, composants.SBNbPointsMoins})
        b->setToolTip(texteInfoBulle(BullesReglages::valeurInferieure));

    choisirCentraleAuDemarrage();
    appliquerApparence();

    bloqueRedim = false;
    redimensionnement();
    if (centrales.SP5)
        TimerPresenceSP5.start();
}

TFaitsFenetre TFicheKirvaneMixte::faits() {
    TFaitsFenetre f;
    f.nbVoiesMesurees = series.nbVoiesMesurees;
    // Once no office could be reached, the Calc button stays off for the run.
    const bool calcDisponible =
        !transfertCalc_ || transfertCalc_->aATransfertDirectOOCalcDisponible;
    f.OOInstalle = OOInstalle && calcDisponible;
    f.LOInstalle = LOInstalle && calcDisponible;
    // Without Excel the button writes the workbook instead.
    f.msOfficeInstalle = msOfficeInstalle || classeurExcelDisponible();
    f.nbCentralesGerees = static_cast<int>(composants.SBCentrales_.size());
    f.PTableauVisible = PTableauVisible;
    f.zoomIndexH = graphe->ecran.g.zoomIndexH;
    f.ZoomIndexV = graphe->ecran.g.ZoomIndexV;
    if (TCentrale* u = centrales.SP5.get()) {
        f.memesParametresTemporels = u->memesParametresTemporels();
        f.ajoutPossible = series.ajoutPossible(*u);
        f.nbCanaux = std::clamp(u->nbCanauxUt, 0, 4);
        f.nbEAU = std::clamp(u->nbEAU, 0, 8);
        for (int i = 0; i < f.nbEAU && i < static_cast<int>(u->VoiesX.size()); ++i)
            f.voiesActives[i] = u->VoiesX[i].active;
        for (int k = 0; k < f.nbCanaux && k < static_cast<int>(u->canauxDiff.size()); ++k)
            f.canauxDiff[k] = u->canauxDiff[k];
    }
    return f;
}

void TFicheKirvaneMixte::modeGeneralChange(TModeGeneral mode) {
    etatSelonModeGeneral(etat, mode);
    // The controls that fit the states the engine moves through.
    switch (mode) {
    case MODE_ACQ_SIMPLE:
        desactiveComposantsAcqSimple(etat, faits());
        break;
    case MODE_ACQ_PERMANENTE:
        desactiveComposantsAcqPermanente(etat, faits());
        break;
    case MODE_MESURES:
        activeComposantsAcqSimple(etat, faits());
        activeBoutonsOutils(etat, faits());
        break;
    case MODE_PERMANENT_ARRETE:
        activeComposantsAcqPermanente(etat, faits());
        activeBoutonsOutils(etat, faits());
        break;
    default:
        break;
    }
    // Idle again: the trigger controls that fit the trigger mode come back with the panel
    // (they were frozen with it during a single acquisition or the measurement panel).
    if (reglagesAcq && (mode == MODE_MESURES || mode == MODE_PERMANENT_ARRETE))
        appliquerEtatReglages();
    else
        appliquerEtat();
}

void TFicheKirvaneMixte::appliquerEtat() {
    const TEtatControles& e = etat;
    const std::pair<QWidget*, bool> simples[] = {
        {composants.CBDureeTotale, e.CBDureeTotale},
        {composants.CBNbPoints, e.CBNbPoints},
        {composants.SBDureeTotalePlus, e.SBDureeTotalePlus},
        {composants.SBDureeTotaleMoins, e.SBDureeTotaleMoins},
        {composants.SBNbPointsPlus, e.SBNbPointsPlus},
        {composants.SBNbPointsMoins, e.SBNbPointsMoins},
        {composants.BAcquisitionPrecedente, e.BAcquisitionPrecedente},
        {composants.CBTypeDeclenchement, e.CBTypeDeclenchement},
        {composants.RGSensDeclenchement, e.RGSensDeclenchement},
        {composants.CBVoieSynchro, e.CBVoieSynchro},
        {composants.EditUSeuilDecl, e.EditUSeuilDecl},
        {composants.CBPretrigX, e.CBPretrigX},
        {composants.CBModePermanent, e.CBModePermanent},
        {composants.CBAjouterCourbes, e.CBAjouterCourbes},
        {composants.BAcquisition, e.BAcquisition},
        {composants.SBNouveau, e.SBNouveau},
        {composants.SBenregistrerRW3, e.SBenregistrerRW3},
        {composants.SBenregistrerTXT, e.SBenregistrerTXT},
        {composants.SBEnregistrerCSV, e.SBEnregistrerCSV},
        {composants.SBTransfertDirectREG, e.SBTransfertDirectREG},
        {composants.SBTransfertDirectExcel, e.SBTransfertDirectExcel},
        {composants.SBtransfertDirectOOLO, e.SBtransfertDirectOOLO},
        {composants.SBVoirTableau, e.SBVoirTableau},
        {composants.SBOptions, e.SBOptions},
        {composants.SBMesures, e.SBMesures},
        {composants.SBZoomPlusH, e.SBZoomPlusH},
        {composants.SBZoomMoinsH, e.SBZoomMoinsH},
        {composants.SBZoomPlusV, e.SBZoomPlusV},
        {composants.SBZoomMoinsV, e.SBZoomMoinsV},
    };
    for (const auto& [w, actif] : simples)
        w->setEnabled(actif);
    for (int i = 0; i < 8; ++i) {
        composants.RGCalsEA[i]->setEnabled(e.RGCalsEA[i]);
        composants.CBVoiesActives[i]->setEnabled(e.CBVoiesActives[i]);
    }
    for (int k = 0; k < 4; ++k) {
        composants.CBModeDiff[k]->setEnabled(e.CBModeDiff[k]);
        composants.gbCanaux[k]->setEnabled(e.gbCanaux[k]);
    }
    for (QToolButton* b : composants.SBCentrales_)
        b->setEnabled(e.SBCentrales_);
}

void TFicheKirvaneMixte::relierBoutons() {
    for (const auto& [bouton, quel] : composants.boutonsOutils())
        connect(bouton, &QToolButton::clicked, this, [this, q = quel] { clicOutil(q); });
    connect(composants.SBRedRegVoies, &QToolButton::clicked, this,
            [this] { SBRedRegClick(composants.SBRedRegVoies); });
    connect(composants.SBRedRegTemp, &QToolButton::clicked, this,
            [this] { SBRedRegClick(composants.SBRedRegTemp); });
    const std::pair<QAbstractButton*, TBoutonOutil> graphe[] = {
        {composants.SBZoomPlusH, TBoutonOutil::SBZoomPlusH},
        {composants.SBZoomMoinsH, TBoutonOutil::SBZoomMoinsH},
        {composants.SBZoomPlusV, TBoutonOutil::SBZoomPlusV},
        {composants.SBZoomMoinsV, TBoutonOutil::SBZoomMoinsV},
        {composants.BFermerMesuresSurEcran, TBoutonOutil::BFermerMesuresSurEcran}};
    for (const auto& [bouton, quel] : graphe)
        connect(bouton, &QAbstractButton::clicked, this, [this, q = quel] { clicOutil(q); });
}

TContexteOutils TFicheKirvaneMixte::contexteOutils() const {
    return {modeGeneral(), series.enregistrerX, peutFermer};
}

void TFicheKirvaneMixte::clicOutil(TBoutonOutil bouton) {
    switch (bouton) {
    case TBoutonOutil::SBNouveau:
        sequences_.clicNouveau(contexteOutils());
        break;
    case TBoutonOutil::SBQuitter:
        sequences_.clicQuitter(contexteOutils());
        break;
    case TBoutonOutil::SBAproposDe:
        if (demarrage_.titre)
            demarrage_.titre->montrerAPropos();
        break;
    case TBoutonOutil::SBZoomPlusH:
    case TBoutonOutil::SBZoomMoinsH:
    case TBoutonOutil::SBZoomPlusV:
    case TBoutonOutil::SBZoomMoinsV:
        graphe->zoom(bouton);
        ::activerZooms(etat, faits(), modeGeneral());
        appliquerEtat();
        break;
    case TBoutonOutil::SBMesures:
        basculerMesures(composants.SBMesures->isChecked());
        break;
    case TBoutonOutil::BFermerMesuresSurEcran:
        basculerMesures(false);
        break;
    case TBoutonOutil::SBenregistrerRW3:
    case TBoutonOutil::SBenregistrerTXT:
    case TBoutonOutil::SBEnregistrerCSV:
        enregistrer(bouton);
        break;
    case TBoutonOutil::SBTransfertDirectREG:
        transfererRegressi();
        break;
    case TBoutonOutil::SBtransfertDirectOOLO:
        transfererCalc();
        break;
    case TBoutonOutil::SBTransfertDirectExcel:
        transfererExcel();
        break;
    case TBoutonOutil::SBOptions:
        SBOptionsClick();
        break;
    case TBoutonOutil::SBVoirTableau:
        PTableauVisible = composants.SBVoirTableau->isChecked();
        composants.SBVoirTableau->setToolTip(bulleVoirTableau(PTableauVisible));
        redimensionnement();
        break;
    default:
        break;
    }
}

void TFicheKirvaneMixte::basculerMesures(bool ouvrir) {
    if (ouvrir) {
        if (PTableauVisible) { // the panel and the table do not share the screen
            composants.SBVoirTableau->setChecked(false);
            PTableauVisible = false;
            composants.SBVoirTableau->setToolTip(bulleVoirTableau(false));
            redimensionnement();
        }
        desactiveComposantsAcqSimple(etat, faits());
        etat.SBMesures = true;
        etat.BAcquisition = false;
        setModeGeneral(MODE_MESURES_ECRAN);
        graphe->entrerMesures();
    } else {
        composants.SBMesures->setChecked(false);
        activeComposantsAcqSimple(etat, faits());
        etat.BAcquisition = true;
        setModeGeneral(MODE_MESURES);
        graphe->quitterMesures();
    }
    ::activerZooms(etat, faits(), modeGeneral());
    appliquerEtat();
}

void TFicheKirvaneMixte::keyReleaseEvent(QKeyEvent* e) {
    switch (e->key()) {
    case Qt::Key_F10:
        if (!acquisitionEnCours(modeGeneral()) && modeGeneral() != MODE_MESURES_ECRAN &&
            modeGeneral() < MODE_TRANSFERT_EXCEL && composants.BAcquisition->isEnabled())
            composants.BAcquisition->click();
        break;
    case Qt::Key_Escape:
        if (acquisitionEnCours(modeGeneral()))
            composants.BAcquisition->click();
        break;
    default:
        QMainWindow::keyReleaseEvent(e);
        return;
    }
    e->accept();
}

// Enter moves the focus along the settings fields.
static QWidget* suivantEntree(const TComposantsFiche& composants, QObject* champ) {
    if (champ == composants.CBDureeTotale)
        return composants.CBNbPoints;
    if (champ == composants.CBNbPoints)
        return composants.CBDureeTotale;
    if (champ == composants.CBTypeDeclenchement)
        return composants.RGSensDeclenchement->isEnabled() ? composants.RGSensDeclenchement
                                                           : nullptr;
    if (champ == composants.RGSensDeclenchement)
        return composants.CBVoieSynchro;
    if (champ == composants.CBVoieSynchro)
        return composants.EditUSeuilDecl;
    if (champ == composants.EditUSeuilDecl)
        return composants.CBPretrigX->isEnabled() ? composants.CBPretrigX
                                                  : composants.CBTypeDeclenchement;
    if (champ == composants.CBPretrigX)
        return composants.CBTypeDeclenchement;
    return nullptr;
}

bool TFicheKirvaneMixte::eventFilter(QObject* objet, QEvent* e) {
    if (objet == composants.ScrBoxVoies || objet == composants.ScrBoxVoies->viewport()) {
        if (e->type() == QEvent::Enter)
            survolSBVoies = true;
        else if (e->type() == QEvent::Leave)
            survolSBVoies = false;
        else if (e->type() == QEvent::Wheel && survolSBVoies) {
            // One notch scrolls the channel box by a twentieth of the panel's height.
            const int delta = static_cast<QWheelEvent*>(e)->angleDelta().y();
            const int pas = composants.PanelVoies->height() / 20;
            QScrollBar* barre = composants.ScrBoxVoies->verticalScrollBar();
            if (delta != 0)
                barre->setValue(barre->value() + (delta > 0 ? -pas : pas));
            return true;
        }
        return false;
    }
    if (e->type() == QEvent::KeyRelease) {
        const auto* k = static_cast<QKeyEvent*>(e);
        if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
            if (QWidget* w = suivantEntree(composants, objet)) {
                w->setFocus();
                return true;
            }
        } else if (k->key() == Qt::Key_F10 || k->key() == Qt::Key_Escape) {
            keyReleaseEvent(const_cast<QKeyEvent*>(k));
            return true;
        }
    }
    return false;
}

void TFicheKirvaneMixte::placerCadre() {
    const QScreen* ecran = screen() ? screen() : QGuiApplication::primaryScreen();
    if (ecran == nullptr)
        return;
    // Before the window manager has framed the window the borders are unknown (0); the
    // position given to move() is the frame's in any case.
    const QRect g = geometry();
    const QRect f = frameGeometry();
    const QMargins bords(g.left() - f.left(), g.top() - f.top(), f.right() - g.right(),
                         f.bottom() - g.bottom());
    const QRect client = clientFenetre(ecran->availableGeometry(), bords, minimumSize());
    resize(client.size());
    move(client.topLeft() - QPoint(bords.left(), bords.top()));
}

void TFicheKirvaneMixte::moveEvent(QMoveEvent* e) {
    QMainWindow::moveEvent(e);
    // The first time the borders are known, the frame is fitted once more: its size counts
    // them. Later moves are the user's.
    if (cadreAjuste_ || !isVisible() || frameGeometry() == geometry())
        return;
    cadreAjuste_ = true;
    placerCadre();
}

void TFicheKirvaneMixte::Quitter() {
    // Stopped for the close request; a close that is refused gives them back.
    if (!etatAvantFermeture_)
        etatAvantFermeture_ = TEtatTimers{TimerAcqDir.isActive(), bloqueTimerAcqDirecte};
    bloqueTimerAcqDirecte = true;
    TimerAcqDir.stop();
    // Queued: the close request must not run inside the handler that asked for it.
    QTimer::singleShot(0, this, [this] { close(); });
}

void TFicheKirvaneMixte::closeEvent(QCloseEvent* e) {
    if (fermetureAccordee_ || sequences_.demandeFermeture(contexteOutils())) {
        fermetureAccordee_ = true;
        TimerPresenceSP5.stop();
        e->accept();
    } else {
        e->ignore();
        // The window stays: the live values go on as before the quit was asked.
        // (A running acquisition keeps the timer stopped and restarts it at its commit.)
        if (etatAvantFermeture_) {
            bloqueTimerAcqDirecte = etatAvantFermeture_->bloqueTimerAcqDirecte;
            if (etatAvantFermeture_->TimerAcqDir && !acquisitionEnCours(modeGeneral()))
                TimerAcqDir.start();
        }
        etatAvantFermeture_.reset();
    }
}

TReponse TFicheKirvaneMixte::demander(const QString& question, bool avecAnnuler) {
    return demarrage_.boites->demander(this, question, avecAnnuler);
}

void TFicheKirvaneMixte::avertir(const QString& message) {
    demarrage_.boites->avertir(this, message);
}

bool TFicheKirvaneMixte::enregistrerRW3() {
    return enregistrer(TBoutonOutil::SBenregistrerRW3);
}

void TFicheKirvaneMixte::RAZ() {
    if (centrales.SP5)
        series.RAZ(*centrales.SP5);
    // A new experiment starts from the default settings, permanent mode off.
    if (moteur)
        moteur->setModepermanent(false);
    if (reglagesAcq && centrales.SP5) {
        reglagesAcq->setModePermanent(false);
        try {
            reglagesAcq->reglagesDefautMI();
        } catch (const std::exception& e) {
            avertir(QString::fromLocal8Bit(e.what()));
        }
    }
    // Zoom 1, markers on the whole duration, first axis current, table hidden.
    TEcranGraphe& ecran = graphe->ecran;
    const double duree = centrales.SP5 ? centrales.SP5->dureeTotale0X : 0.0;
    graphe->zoomsInitiaux();
    ecran.g.t0 = 0.0f;
    ecran.curseurs.tFin = ecran.curseurs.tFinM = duree;
    ecran.curseurs.t0M = 0.0;
    ecran.g.axeQuadrilleX = 0;
    tableau.vider();
    MAJTableauFaite = false;
    if (PTableauVisible) {
        composants.SBVoirTableau->setChecked(false);
        PTableauVisible = false;
        composants.SBVoirTableau->setToolTip(bulleVoirTableau(false));
        redimensionnement();
    }
    // Nothing measured is shown any more: pointing, series count, values of inputs off.
    composants.EditSerieP->clear();
    composants.EditPointP->clear();
    composants.EditMessageX->clear();
    for (int i = 0; i < 8; ++i) {
        const TCentrale* u = centrales.SP5.get();
        if (!u || i >= static_cast<int>(u->VoiesX.size()) || !u->VoiesX[i].active)
            composants.EditValU[i]->clear();
    }
    setModeGeneral(MODE_VIERGE);
    desactiveBoutonsOutils(etat);
    if (centrales.SP5)
        activeComposantsAcqSimple(etat, faits());
    etat.SBNouveau = false;
    ::activerZooms(etat, faits(), modeGeneral());
    appliquerEtat();
    if (reglagesAcq)
        appliquerEtatReglages();
    graphe->ecran.preparerEcranVide(etatGraphe(), series);
    graphe->redessiner(false);
}

void TFicheKirvaneMixte::arreterAcquisition() {
    if (centrales.SP5 && acquisitionEnCours(modeGeneral())) {
        centrales.SP5->arreteAcq();
        if (moteur)
            moteur->stop = true;
    }
}

void TFicheKirvaneMixte::ajouterLigneDemarrage(const QString& ligne) {
    if (demarrage_.titre)
        demarrage_.titre->ajouterLigneDemarrage(ligne);
}

void TFicheKirvaneMixte::afficherErreurChargement(const QString& texte) {
    demarrage_.boites->avertir(this, texte);
}

void TFicheKirvaneMixte::traiterMessages() {
    // During an acquisition the user must reach Stop and the settings; during the start the
    // window is not ready for them.
    QCoreApplication::processEvents(acquisitionEnCours(modeGeneral())
                                        ? QEventLoop::AllEvents
                                        : QEventLoop::ExcludeUserInputEvents,
                                    20);
}

void TFicheKirvaneMixte::finInitialisation() {
    initialisation = false;
    // Shown now: the frame is known, the layout takes the outer size.
    redimensionnement();
    if (demarrage_.titre) {
        if (centrales.nbCentralesGerees > 0) {
            demarrage_.titre->ajouterLigneDemarrage(QStringLiteral("Autres préparations... "));
            demarrage_.titre->ajouterLigneDemarrage(QString());
            demarrage_.titre->ajouterLigneDemarrage(QStringLiteral("Démarrage terminé"));
        }
        demarrage_.titre->demarrerDisparition(10);
    }
}

void TFicheKirvaneMixte::FormDestroy() {
    if (detruite_)
        return;
    detruite_ = true;
    TimerPresenceSP5.stop();
    TimerRedimGene.stop();
    TimerAcqDir.stop();
    if (centrales.SP5 && acquisitionEnCours(modeGeneral()))
        centrales.SP5->arreteAcq();
    if (demarrage_.stock)
        reglages.ecrire(*demarrage_.stock);
    centrales.liberer();
    fichierParametres_.nettoyerALaSortie();
}
