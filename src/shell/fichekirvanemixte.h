#pragma once
// The main window: it composes the unit manager, the stored settings, the series store and
// the window rules, and mirrors their state on its controls.
#include "boutonsoutils.h"
#include "composantsfiche.h"
#include "couleurs.h"
#include "disposition.h"
#include "ecrangraphe.h"
#include "etatsfenetre.h"
#include "fichierparametres.h"
#include "gestionnairecentrales.h"
#include "mesuredirecte.h"
#include "moteuracquisition.h"
#include "reglages.h"
#include "reglagesacq.h"
#include "seriesmesurees.h"
#include "tableaumesures.h"
#include "traceuracquisition.h"
#include "transfertcalc.h"
#include "transfertexcel.h"
#include "transfertregressi.h"
#include "vueacquisition.h"

#include <QMainWindow>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>
#include <set>

class TFicheKirvaneMixteTitre;
class TFicheKirvaneAttenteDeclAcq;
class TFicheKirvaneMixteOptions;
struct TValeursPreferences;
class TGrapheFiche;
struct DispositionMesuresSurEcran;

// Caption of the main window.
inline constexpr const char* TITRE_FICHE_PRINCIPALE =
    "Kirvane : pilotage des interfaces SYSAM SP5, SYSAM V6 et SYSAM CAMPUS";

// Colour of the main window, (221, 238, 255); its panels take shades of it.
inline constexpr TColor COULEUR_FENETRE = 0xFFEEDD;

// Kind of a message box, which gives its icon.
enum class TGenreMessage { Information, Avertissement, Simple };

// The modal questions and messages of the window, behind an interface so that tests answer
// them without a screen. Texts come as the program writes them, "\n\r" between lines.
class TBoitesDialogue {
public:
    virtual ~TBoitesDialogue() = default;
    virtual void message(QWidget* parent, const QString& texte, TGenreMessage genre) = 0;
    void avertir(QWidget* parent, const QString& texte) {
        message(parent, texte, TGenreMessage::Avertissement);
    }
    void informer(QWidget* parent, const QString& texte) {
        message(parent, texte, TGenreMessage::Information);
    }
    virtual TReponse demander(QWidget* parent, const QString& texte, bool avecAnnuler) = 0;
    // The chooser of the unit: the kind chosen, or -1 when the user abandons.
    virtual int choisirCentrale(QWidget* parent, const std::set<int>& types) = 0;
    // The save dialog, opened on cheminDefaut (folder and default name): the file chosen,
    // or an empty text when the user abandons.
    virtual QString nomFichierEnregistrement(QWidget* parent, const QString& titre,
                                             const QString& filtre,
                                             const QString& cheminDefaut) = 0;
    // The open dialog: the file chosen, or an empty text when the user abandons.
    virtual QString nomFichierOuverture(QWidget* parent, const QString& titre,
                                        const QString& filtre) = 0;
    // The Regressi transfer choice: new file or new page; nothing when abandoned.
    virtual std::optional<TModeTransfert> choixTransfertRegressi(QWidget* parent) = 0;
    // The Calc transfer choice: new workbook or new sheet; nothing when abandoned.
    virtual std::optional<TModeCalc> choixTransfertCalc(QWidget* parent) = 0;
    // The Excel transfer choice: new workbook or new sheet; nothing when abandoned.
    virtual std::optional<TModeExcel> choixTransfertExcel(QWidget* parent) = 0;
};
// The real boxes (French buttons, the chooser dialog).
std::unique_ptr<TBoitesDialogue> boitesDialogueStandard();

// What the window is started with; every part can be replaced by a test.
struct TDemarrageFiche {
    TFabriqueCentrale fabrique;                  // drivers of the units
    TCheminsCentrales chemins;                   // where their libraries are
    std::unique_ptr<TMagasinReglages> stock;     // stored settings
    QString dossierParametres;                   // folder of the parameter file
    QString dossierDocuments;                    // where the save dialogs open at first
    std::unique_ptr<TBoitesDialogue> boites;     // questions and messages
    std::unique_ptr<TServicesRegressi> regressi; // the system for the Regressi transfer
    std::unique_ptr<TCalc> calc;                 // the office of the Calc transfer
    TFicheKirvaneMixteTitre* titre = nullptr;    // title window for the progress lines
    std::unique_ptr<TSystemeExcel> excel;        // Excel by automation (none outside Windows)
    // Opens a document with the system's program for it (the workbook written without Excel).
    std::function<bool(const QString&)> ouvrirDocument;
};
// The program's own start: TSP5 on the places of its library, QSettings, real boxes.
TDemarrageFiche demarrageStandard(TFicheKirvaneMixteTitre* titre);

class TFicheKirvaneMixte : public QMainWindow,
                           private TVueCentrales,
                           private TActionsOutils,
                           private TVueAcquisition {
    Q_OBJECT
public:
    explicit TFicheKirvaneMixte(TDemarrageFiche demarrage, QWidget* parent = nullptr);
    ~TFicheKirvaneMixte() override;

    // Fields other parts read. The window state is the engine's MODEGENERAL.
    TModeGeneral modeGeneral() const { return moteur->MODEGENERAL; }
    // Every state change of the window goes through the engine, which calls back
    // modeGeneralChange.
    void setModeGeneral(TModeGeneral mode) { moteur->setModeGeneral(mode); }
    bool initialisation = true;
    bool peutFermer = false;
    bool bloqueRedim = true;
    bool bloqueTimerAcqDirecte = false;
    bool OOInstalle = false;
    bool LOInstalle = false;
    bool msOfficeInstalle = false;
    bool PTableauVisible = false;
    EtatPanneauxLateraux panneaux;

    TComposantsFiche composants;
    std::unique_ptr<TGrapheFiche> graphe;
    // The acquisition engine, on the active unit once one is chosen.
    std::unique_ptr<TMoteurAcquisition> moteur;
    // The rules of the settings panel (created by relierReglages) and the live values.
    std::unique_ptr<TReglagesAcq> reglagesAcq;
    TMesureDirecte mesureDirecte;
    TGestionnaireCentrales centrales;
    TReglagesKirvane reglages;
    TSeriesMesurees series;
    TEtatControles etat;
    Disposition disposition;
    QTimer TimerPresenceSP5;
    QTimer TimerRedimGene;
    QTimer TimerAcqDir;

    // The rules of the window as they stand (what the enabling routines read).
    TFaitsFenetre faits();
    // Mirrors etat on the controls.
    void appliquerEtat();
    // The full layout pass.
    void redimensionnement();
    // Makes a kind active with the window's part (channel boxes, presence text).
    void setCentraleActive(int kind, bool avecCreation);
    // The end of the start: the window may be resized, the title window fades out.
    void finInitialisation();
    void Quitter();
    // The frame inside the screen's free area (again once the window manager has framed
    // the window).
    void placerCadre();
    // Click on one of SBCentrales_: the kind of its unit.
    void SBChoixCentraleClick(int type);
    void SBRedRegClick(QToolButton* bouton);
    // Settings panel (fiche_reglages.cpp): its controls connected to reglagesAcq, whose state
    // is mirrored on them; the live values of TimerAcqDir.
    void relierReglages();
    struct TRoutinesListeTemps;
    void relierListeTemps(QComboBox* liste, QToolButton* plus, QToolButton* moins,
                          const std::shared_ptr<bool>& vivant,
                          const std::function<void(const TEffetsReglages&)>& effets,
                          const TRoutinesListeTemps& f);
    void appliquerEtatReglages();
    void TimerAcqDirTimer();
    // The measurement table (fiche_tableau.cpp). MAJTableau rebuilds it when it is out of
    // date; tableauPerime marks it so, and rebuilds it at once when it is shown.
    TTableauMesures tableau;
    bool MAJTableauFaite = false;
    QTimer TimerTableau; // the table follows a running acquisition at this rate
    void MAJTableau();
    void tableauPerime();
    // A click on the deletion cross of series s: the question, then the deletion.
    void SGMesuresCroix(int s);
    // Saves the measurements between the green markers in the format of the button
    // (SBenregistrerRW3, SBenregistrerTXT, SBEnregistrerCSV); true when saved.
    bool enregistrer(TBoutonOutil bouton);
    // The Regressi transfer (fiche_regressi.cpp): the measurements between the green markers
    // handed to Regressi; the transfer button goes off when Regressi cannot be started.
    TIssueTransfert transfererRegressi();
    TTransfertRegressi& transfertRegressi() { return *transfertRegressi_; }
    // The Excel transfer (fiche_transfert_excel.cpp): by automation where Excel runs, else
    // the workbook written into the documents folder and opened.
    TIssueExcel transfererExcel();
    // The preferences dialog (fiche_preferences.cpp), created at its first use and kept.
    TFicheKirvaneMixteOptions& preferences();
    // SBOptions: the dialog shown modally; its choices applied when it closes with
    // "Appliquer".
    void SBOptionsClick();
    // The Calc transfer (fiche_calc.cpp): the measurements between the green markers written
    // into a Calc workbook by the worker thread while the window keeps answering; the button
    // stays off for the run once no office could be reached.
    void transfererCalc();
    TTransfertCalc& transfertCalc() { return *transfertCalc_; }

protected:
    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* objet, QEvent* e) override;

private:
    // TVueCentrales
    void ajouterLigneDemarrage(const QString& ligne) override;
    void afficherErreurChargement(const QString& texte) override;
    void traiterMessages() override;
    // TActionsOutils
    TReponse demander(const QString& question, bool avecAnnuler) override;
    void avertir(const QString& message) override;
    bool enregistrerRW3() override;
    void RAZ() override;
    void arreterAcquisition() override;

    void FormCreate();
    void FormDestroy();
    void choisirCentraleAuDemarrage();
    // One tool-bar button per managed unit, to switch between them.
    void creerBoutonsCentrales();
    void preparerPanneauVoies();
    void preparerPanneauSansCentrale();
    void TimerPresenceSP5Timer();
    // The start/stop button: the engine acts by window state.
    void BAcquisitionClick();
    TEtatEcran etatGraphe() const;

    // TVueAcquisition (fiche_acquisition.cpp)
    void modeGeneralChange(TModeGeneral mode) override;
    void afficherMessage(const QString& texte) override;
    void legendeBoutonAcquisition(const QString& texte) override;
    void valeurDirecte(int voie, double volts) override;
    void effacerValeursDirectes() override;
    void afficherModePermanent(bool mp) override;
    void debutAcquisition(bool permanente) override;
    void preparerAxeTemps() override;
    void setModeDessinVM() override;
    void redessiner(bool avecCourbes) override;
    void dessinerPretrig() override;
    void dessinerLot(const TLotAcquisition& lot) override;
    void debutTrameRapide() override;
    void finTrameRapide() override;
    void rafraichir() override;
    void afficherAttenteLongue() override;
    void masquerAttenteLongue() override;
    void informer(const QString& texte) override;
    void messageSimple(const QString& texte) override;
    void timerAcqDirecte(bool marche) override;
    void timerPresence(bool marche) override;
    TContexteValidation contexteValidation() override;
    void acquisitionValidee(bool permanente) override;
    void acquisitionTerminee() override;
    void quitter() override;
    TFicheKirvaneAttenteDeclAcq* attente_ = nullptr;
    TTraceurAcquisition traceur_;
    void TimerRedimGeneTimer();
    void relierTableau();
    // The central panel: the graph, with the table on its right when shown.
    void placerPanneauEcranTab(const Disposition& d);
    void placerGrapheEtTableau();
    int largeurPTableau() const;
    bool reconstruireTableau();
    void relierBoutons();
    void clicOutil(TBoutonOutil bouton);
    void appliquerDisposition();
    // The window's colour and the font of its height (step of the start).
    void appliquerApparence();
    // The message and presence fields share their panel so that their texts show whole.
    void placerMessages(const QRect& panel2, const QFont& police);
    void placerMesures(const DispositionMesuresSurEcran& m, const QFont& base);
    void dessineLegendes();
    void basculerMesures(bool ouvrir);
    bool survolSBVoies = false;
    TContexteOutils contexteOutils() const;

    // Hands the settings changed during an acquisition to the engine (fiche_reglages.cpp).
    class TRecepteurFiche;
    struct TSupprimeRecepteur {
        void operator()(TRecepteurFiche* r) const;
    };
    std::unique_ptr<TRecepteurFiche, TSupprimeRecepteur> recepteur_;
    TDemarrageFiche demarrage_;
    TFichierParametres fichierParametres_;
    TSequencesOutils sequences_;
    // The Regressi transfer on the window's dialogs, and the Regressi choice of the
    // settings it last saw (a change made in the preferences applies at the next transfer).
    class TDialoguesFiche;
    struct TSupprimeDialogues {
        void operator()(TDialoguesFiche* d) const;
    };
    std::unique_ptr<TDialoguesFiche, TSupprimeDialogues> dialoguesRegressi_;
    std::unique_ptr<TTransfertRegressi> transfertRegressi_;
    TOptionsRegressi regressiVu_;
    void localiserRegressi();
    TOptionsRegressi optionsRegressi() const;
    void retenirRegressi(const TOptionsRegressi& o);
    // The Excel transfer on the window's controls and dialogs.
    class TVueExcelFiche;
    struct TSupprimeVueExcel {
        void operator()(TVueExcelFiche* v) const;
    };
    std::unique_ptr<TVueExcelFiche, TSupprimeVueExcel> vueExcel_;
    std::unique_ptr<TClasseursExcel> classeursExcel_;
    std::unique_ptr<TTransfertExcel> transfertExcel_;
    bool fermetureAccordee_ = false;
    bool cadreAjuste_ = false;
    // The live-value timer as it was when a quit was asked, given back if the close is
    // refused.
    struct TEtatTimers {
        bool TimerAcqDir = false;
        bool bloqueTimerAcqDirecte = false;
    };
    std::optional<TEtatTimers> etatAvantFermeture_;
    bool detruite_ = false;
    std::unique_ptr<TFicheKirvaneMixteOptions> preferences_;
    // The Calc transfer on the window; the executor goes first at destruction (it waits for
    // the work in hand), then the transfer and its window side.
    class TFenetreCalcFiche;
    struct TSupprimeFenetreCalc {
        void operator()(TFenetreCalcFiche* f) const;
    };
    std::unique_ptr<TFenetreCalcFiche, TSupprimeFenetreCalc> fenetreCalc_;
    std::unique_ptr<TTransfertCalc> transfertCalc_;
    std::unique_ptr<TExecuteurCalc> executeurCalc_;
    void creerTransfertCalc();
    void appliquerPreferences(const TValeursPreferences& v);
};
