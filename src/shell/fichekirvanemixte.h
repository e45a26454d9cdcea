#pragma once
// The main window: it composes the unit manager, the stored settings, the series store and
// the window rules, and mirrors their state on its controls.
#include "boutonsoutils.h"
#include "composantsfiche.h"
#include "couleurs.h"
#include "disposition.h"
#include "etatsfenetre.h"
#include "fichierparametres.h"
#include "gestionnairecentrales.h"
#include "reglages.h"
#include "seriesmesurees.h"

#include <QMainWindow>
#include <QTimer>
#include <functional>
#include <memory>
#include <set>

class TFicheKirvaneMixteTitre;
class TGrapheFiche;
struct DispositionMesuresSurEcran;

// Caption of the main window.
inline constexpr const char* TITRE_FICHE_PRINCIPALE =
    "Kirvane : pilotage des interfaces SYSAM SP5, SYSAM V6 et SYSAM CAMPUS";

// The modal questions and messages of the window, behind an interface so that tests answer
// them without a screen.
class TBoitesDialogue {
public:
    virtual ~TBoitesDialogue() = default;
    virtual void avertir(QWidget* parent, const QString& texte) = 0;
    virtual TReponse demander(QWidget* parent, const QString& texte, bool avecAnnuler) = 0;
    // The chooser of the unit: the kind chosen, or -1 when the user abandons.
    virtual int choisirCentrale(QWidget* parent, const std::set<int>& types) = 0;
};
// The real boxes (French buttons, the chooser dialog).
std::unique_ptr<TBoitesDialogue> boitesDialogueStandard();

// What the window is started with; every part can be replaced by a test.
struct TDemarrageFiche {
    TFabriqueCentrale fabrique;               // drivers of the units
    TCheminsCentrales chemins;                // where their libraries are
    std::unique_ptr<TMagasinReglages> stock;  // stored settings
    QString dossierParametres;                // folder of the parameter file
    std::unique_ptr<TBoitesDialogue> boites;  // questions and messages
    TFicheKirvaneMixteTitre* titre = nullptr; // title window for the progress lines
};
// The program's own start: TSP5 on the places of its library, QSettings, real boxes.
TDemarrageFiche demarrageStandard(TFicheKirvaneMixteTitre* titre);

class TFicheKirvaneMixte : public QMainWindow, private TVueCentrales, private TActionsOutils {
    Q_OBJECT
public:
    explicit TFicheKirvaneMixte(TDemarrageFiche demarrage, QWidget* parent = nullptr);
    ~TFicheKirvaneMixte() override;

    // Fields other parts read
    int MODEGENERAL = MODE_VIERGE;
    bool initialisation = true;
    bool peutFermer = false;
    bool bloqueRedim = true;
    bool bloqueTimerAcqDirecte = false;
    bool OOInstalle = false;
    bool LOInstalle = false;
    bool msOfficeInstalle = false;
    bool PTableauVisible = false;
    EtatPanneauxLateraux panneaux;

    TComposantsFiche c;
    std::unique_ptr<TGrapheFiche> graphe;
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
    void SBRedRegClick(QToolButton* bouton);

protected:
    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
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
    void preparerPanneauVoies();
    void preparerPanneauSansCentrale();
    void TimerPresenceSP5Timer();
    void TimerRedimGeneTimer();
    void relierBoutons();
    void clicOutil(TBoutonOutil bouton);
    void appliquerDisposition();
    void placerMesures(const DispositionMesuresSurEcran& m, const QFont& base);
    void dessineLegendes();
    void basculerMesures(bool ouvrir);
    bool survolSBVoies = false;
    void setModeGeneral(int mode);
    TContexteOutils contexteOutils() const;

    TDemarrageFiche demarrage_;
    TFichierParametres fichierParametres_;
    TSequencesOutils sequences_;
    bool fermetureAccordee_ = false;
    bool detruite_ = false;
};
