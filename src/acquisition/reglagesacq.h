#pragma once
// Editing of the acquisition settings: what the user does in the settings panel and the
// channel panel becomes settings of the active unit. Idle, a change is applied at once;
// during a permanent acquisition it is handed to the engine as a pending setting, which
// the engine applies between two frames with the same change routines.
//
// No widget here: the controls' contents and enabled flags live in TEtatReglages, which
// the window mirrors on its widgets; what the window must redraw or show is returned as
// TEffetsReglages.
#include "centrale.h"
#include "etatsacquisition.h"

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <functional>

class TSeriesMesurees;

// What the settings need from the acquisition engine.
class TRecepteurReglages {
public:
    virtual ~TRecepteurReglages() = default;
    // The engine's MODEGENERAL.
    virtual TModeGeneral etatFenetre() const = 0;
    // True until the first acquisition ended.
    virtual bool premiereAcq() const = 0;
    // A change made during an acquisition: record it (MP… fields, typeSortieMP), set
    // nouveauxParametres; apply it before the next frame with the change routines.
    virtual void reglageEnAttente(const TReglageEnAttente& reglage) = 0;
};

// The settings controls as the window shows them.
struct TEtatReglages {
    QStringList itemsDureeTotale; // CBDureeTotale
    int indexDureeTotale = -1;    // -1: the text was typed
    QString texteDureeTotale;
    QStringList itemsNbPoints; // CBNbPoints
    int indexNbPoints = -1;
    QString texteNbPoints;
    // The sampling interval written in iTe; with texteTeIndices the text carries a raised
    // exponent and is drawn with dessinerTexteIndices.
    QString texteTe;
    bool texteTeIndices = false;
    bool BAcquisitionPrecedente = false;

    QString titreDeclenchement = QStringLiteral("Déclenchement"); // GBDeclenchement
    QStringList itemsTypeDeclenchement{QStringLiteral("manuel"), QStringLiteral("sur seuil"),
                                       QStringLiteral("externe")};
    int indexTypeDeclenchement = 0;
    bool RGSensDeclenchement = false;
    int indexSensDeclenchement = 0;
    QStringList itemsVoieSynchro;
    int indexVoieSynchro = -1;
    bool CBVoieSynchro = false;
    QString texteSeuil;
    bool EditUSeuilDecl = false;
    int indexPretrig = 0;
    bool CBPretrigX = false;
    bool CBAjouterCourbes = false;

    // Channel panel, per input and per channel.
    std::array<bool, 8> voieActive{};    // CBVoiesActives[i] checked
    std::array<bool, 8> voieActivable{}; // CBVoiesActives[i] enabled
    std::array<bool, 8> calibreActif{};  // RGCalsEA[i] enabled
    std::array<int, 8> indexCalibre{};   // RGCalsEA[i] item
    std::array<bool, 8> valeurActive{};  // EditValU[i] enabled
    std::array<QString, 8> indicesU;     // LValUInd[i]
    std::array<bool, 4> modeDiff{};      // CBModeDiff[k] checked
};

// What the window does after a change, beyond mirroring TEtatReglages.
struct TEffetsReglages {
    QString information;             // information box to show (French text); empty: none
    bool grapheAvecCourbes = false;  // redraw the graph with the stored curves
    bool grapheSansCourbes = false;  // redraw the graph without curves
    bool axeTemps = false;           // new timing: zoom indices 0, t0/tFin/t0M/tFinM, time axis
    bool zoomReapplique = false;     // inputs changed: zoom indices re-applied, axes prepared
    bool marquePretrig = false;      // draw the pretrigger mark
    bool modeDessinVM = false;       // choose the drawing style again
    int viderValeurU = -1;           // input whose value field is emptied and repainted
    bool validerAcquisition = false; // the last input went off during an acquisition: commit
    bool reglageEnregistre = false;  // handed to the engine as a pending setting
    bool modifie = false;            // a change was made: state 0 moves to 1
};

class TReglagesAcq {
public:
    explicit TReglagesAcq(TRecepteurReglages& recepteur);

    // The active unit (null: none) and the series store ("Ajouter les courbes").
    void setCentrale(TCentrale* centrale) { centrale_ = centrale; }
    TCentrale* centrale() const { return centrale_; }
    void setSeries(TSeriesMesurees* series) { series_ = series; }

    TEtatReglages etat;

    bool bloque = false;     // change events ignored (controls filled by program)
    bool bloqueExit = false; // leaving a field does nothing
    bool saisieManuelle = false;
    int CBDureeTotaleIndex = -1;
    int CBNbPointsIndex = -1;
    bool CBDureeTotalederoulee = false;
    bool CBNbPointsDeroulee = false;
    double AncDureeTotale = 0.0;
    int64_t AncNbPts0X = 0;
    int64_t AncNbPtsAff = 0;
    float AncUSeuilDecl = 0.0f;
    double DureeTotaleDFT = 0.02;
    int64_t NbPtsDFT = 1001;
    double tMaxPretrigDispo = 5.0;
    bool pretrigActif = false;
    int modeBalayage = 0; // 1: the whole frame is read after its end

    // The 30 texts of the duration list and the 12 point counts.
    static const QStringList& listeDurees();
    static const std::array<int64_t, 12>& listeNbPoints();
    // Value of a list text, read as the user's typing is; false when unreadable or empty.
    // unite: the unit the text may carry after its prefix («s», «V»); empty: any.
    static bool lireValeur(const QString& texte, double& valeur, QStringView unite = {});

    // Preparation
    void prepareCBTemporels();
    TEffetsReglages reglagesDefautMI();
    void prepareComposants();
    void prepareComposantsDeclenchement();
    void prepareCBVoieSynchro();
    void PrepareComposantsIndicesUx();
    void afficheParametresT();
    void prepareCBAjouterCourbes();
    // "Mode permanent" switched: caption of the trigger box and first trigger item.
    void setModePermanent(bool modePermanent);

    // Changements: check boxes, range groups and the four +/- buttons.
    TEffetsReglages clicCalibre(int voie, int index);
    TEffetsReglages clicVoieActive(int voie, bool cochee);
    TEffetsReglages clicModeDiff(int canal, bool coche);
    TEffetsReglages clicDureeTotalePlus() { return pasDuree(true); }
    TEffetsReglages clicDureeTotaleMoins() { return pasDuree(false); }
    TEffetsReglages clicNbPointsPlus() { return pasNbPoints(true); }
    TEffetsReglages clicNbPointsMoins() { return pasNbPoints(false); }

    // RBMesuresPeriodiquesClick: the trigger controls.
    TEffetsReglages clicTypeDeclenchement(int index);
    TEffetsReglages clicSensDeclenchement(int index);
    TEffetsReglages clicVoieSynchro(int index);
    TEffetsReglages clicPretrig(int index);

    // Lists and threshold field: entering records the values to restore; typing mirrors
    // the text (index -1 unless it is an item's text); Select picks an item; DropDown
    // and Change follow the list; leaving applies (idle) or records (permanent mode).
    void entreeDureeTotale();
    void entreeNbPoints();
    void entreeSeuil();
    void saisieDureeTotale(const QString& texte);
    void saisieNbPoints(const QString& texte);
    void saisieSeuil(const QString& texte) { etat.texteSeuil = texte; }
    TEffetsReglages selectionDureeTotale(int index);
    TEffetsReglages selectionNbPoints(int index);
    void deroulementDureeTotale() { CBDureeTotalederoulee = true; }
    void deroulementNbPoints() { CBNbPointsDeroulee = true; }
    TEffetsReglages changementDureeTotale();
    TEffetsReglages changementNbPoints();
    TEffetsReglages sortieDureeTotale();
    TEffetsReglages sortieNbPoints();
    TEffetsReglages sortieSeuil();
    TEffetsReglages clicAcquisitionPrecedente();

    // Change routines, used by the events above and by the engine between two frames.
    TEffetsReglages activationVoie(int voie1, bool active1);
    TEffetsReglages changeCalibre(int voie1, int calibre1);
    TEffetsReglages activationModeDiff(int voie1, bool actif1);
    TEffetsReglages ChangeDureeTotale(const QString& s1);
    TEffetsReglages changeNbPts(const QString& s1);
    TEffetsReglages changeTypeDecl(int typeDecl1);
    TEffetsReglages changeSensDecl(int sensDecl1);
    TEffetsReglages changeVoieSynchro(int index1);
    TEffetsReglages changeUSeuil(const QString& s1);
    TEffetsReglages changePretrig(int index1);
    // Back to the timing of the last committed acquisition, with the point count it showed.
    TEffetsReglages RetourAcqPrecedente();
    // A pending setting applied by its change routine (codes 2 to 12), as the engine does
    // between two frames; other codes do nothing.
    TEffetsReglages appliquer(const TReglageEnAttente& r);

    // The point count the last committed acquisition showed: its acquired count carries
    // the threshold mode's extra point, its duration does not.
    static int64_t nbPtsAffichesAX(const TCentrale& centrale);
    // The threshold kept inside ±90 % of range r, as a range change keeps it.
    static float seuilDansCalibre(float seuil, float r);

private:
    bool acquisitionEnCours() const;
    bool permanenteEnCours() const;
    void enAttente(const TReglageEnAttente& r);
    TEffetsReglages pasDuree(bool plus);
    TEffetsReglages pasNbPoints(bool plus);
    // One of the two timing lists (duration, point count) and what a step of it changes.
    struct TListeReglage {
        const QStringList& items;
        int& index;
        QString& texte;
        double valeur; // the unit's value, when the text shown is not a number
        bool& deroulee;
        TSortieMP code;
        QString TReglagesMP::*champ;
        void (TReglagesAcq::*changer)(const QString&);
    };
    TEffetsReglages pasListe(bool plus, const TListeReglage& l);
    // An input control (range, input on/off, differential mode) on input n of nombre:
    // applied at once when idle; during an acquisition the control shows the choice, the
    // unit stops and the change waits for the engine.
    TEffetsReglages clicEntree(int n, int nombre, const TReglageEnAttente& r,
                               const std::function<void()>& appliquer,
                               const std::function<void()>& montrer);
    // Item chosen by a +/- button: the next/previous item, or from a typed text the first
    // item above it (from the top) / the last below it (from the bottom).
    static int itemVoisin(const QStringList& items, int index, const QString& texte, double repli,
                          bool plus);
    void apresTemps(); // what every timing change refreshes
    float calibreVoie(int voie) const;

    // Runs one implementation with fresh effects and returns what it did: the public
    // routines are this around their implementation.
    template <class F> TEffetsReglages effetsDe(F&& f) {
        effets_ = {};
        f();
        return effets_;
    }
    // Implementations.
    void activationVoie_(int voie1, bool active1);
    void changeCalibre_(int voie1, int calibre1);
    void activationModeDiff_(int voie1, bool actif1);
    void ChangeDureeTotale_(const QString& s1);
    void changeNbPts_(const QString& s1);
    // An input control changed during an acquisition: the unit stops, the change waits.
    void differer(const TReglageEnAttente& r);
    // A trigger control changed: pending during permanent mode, applied at once when idle.
    TEffetsReglages choixDeclenchement(int& indexEtat, int index, TSortieMP code,
                                       int TReglageEnAttente::*champ,
                                       void (TReglagesAcq::*changer)(int));
    void changeTypeDecl_(int typeDecl1);
    void changeSensDecl_(int sensDecl1);
    void changeVoieSynchro_(int index1);
    void changeUSeuil_(const QString& s1);
    void changePretrig_(int index1);
    void RetourAcqPrecedente_();

    TRecepteurReglages& recepteur_;
    TCentrale* centrale_ = nullptr;
    TSeriesMesurees* series_ = nullptr;
    TEffetsReglages effets_;
};
