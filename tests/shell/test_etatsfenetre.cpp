// Window states, control enabling, tool-bar hints and the new-experiment and leaving
// sequences, without a window.
#include "boutonsoutils.h"
#include "etatsfenetre.h"

#include <gtest/gtest.h>

#include <deque>
#include <vector>

namespace {

using Membre = bool TEtatControles::*;

TEtatControles toutActive() {
    TEtatControles e;
    for (Membre m : {&TEtatControles::CBDureeTotale,
                     &TEtatControles::CBNbPoints,
                     &TEtatControles::SBDureeTotalePlus,
                     &TEtatControles::SBDureeTotaleMoins,
                     &TEtatControles::SBNbPointsPlus,
                     &TEtatControles::SBNbPointsMoins,
                     &TEtatControles::BAcquisitionPrecedente,
                     &TEtatControles::CBTypeDeclenchement,
                     &TEtatControles::RGSensDeclenchement,
                     &TEtatControles::CBVoieSynchro,
                     &TEtatControles::EditUSeuilDecl,
                     &TEtatControles::CBPretrigX,
                     &TEtatControles::CBModePermanent,
                     &TEtatControles::CBAjouterCourbes,
                     &TEtatControles::BAcquisition,
                     &TEtatControles::SBNouveau,
                     &TEtatControles::SBenregistrerRW3,
                     &TEtatControles::SBenregistrerTXT,
                     &TEtatControles::SBEnregistrerCSV,
                     &TEtatControles::SBTransfertDirectREG,
                     &TEtatControles::SBTransfertDirectExcel,
                     &TEtatControles::SBtransfertDirectOOLO,
                     &TEtatControles::SBVoirTableau,
                     &TEtatControles::SBOptions,
                     &TEtatControles::SBMesures,
                     &TEtatControles::SBZoomPlusH,
                     &TEtatControles::SBZoomMoinsH,
                     &TEtatControles::SBZoomPlusV,
                     &TEtatControles::SBZoomMoinsV,
                     &TEtatControles::SBCentrales_})
        e.*m = true;
    e.RGCalsEA.fill(true);
    e.CBVoiesActives.fill(true);
    e.CBModeDiff.fill(true);
    e.gbCanaux.fill(true);
    return e;
}

// An SP5 with two interfaces managed, inputs EA0 and EA1 active, two series measured.
TFaitsFenetre faitsMesures() {
    TFaitsFenetre f;
    f.nbVoiesMesurees = 2;
    f.nbCentralesGerees = 2;
    f.voiesActives = {true, true, false, false, false, false, false, false};
    f.LOInstalle = true;
    f.msOfficeInstalle = true;
    return f;
}

const std::vector<Membre> boutonsOutils{&TEtatControles::SBNouveau,
                                        &TEtatControles::SBenregistrerRW3,
                                        &TEtatControles::SBenregistrerTXT,
                                        &TEtatControles::SBEnregistrerCSV,
                                        &TEtatControles::SBTransfertDirectREG,
                                        &TEtatControles::SBTransfertDirectExcel,
                                        &TEtatControles::SBtransfertDirectOOLO,
                                        &TEtatControles::SBVoirTableau,
                                        &TEtatControles::SBOptions,
                                        &TEtatControles::SBMesures,
                                        &TEtatControles::SBZoomPlusH,
                                        &TEtatControles::SBZoomMoinsH,
                                        &TEtatControles::SBZoomPlusV,
                                        &TEtatControles::SBZoomMoinsV,
                                        &TEtatControles::BAcquisitionPrecedente,
                                        &TEtatControles::CBAjouterCourbes,
                                        &TEtatControles::SBCentrales_};

TEST(EtatsFenetre, SBNouveauSuitLEtat) {
    TEtatControles e;
    etatSelonModeGeneral(e, MODE_VIERGE);
    EXPECT_FALSE(e.SBNouveau);
    etatSelonModeGeneral(e, MODE_REGLAGES_MODIFIES); // one settings change
    EXPECT_TRUE(e.SBNouveau);
    for (int a = 0; a <= 8; ++a) {
        etatSelonModeGeneral(e, static_cast<TModeGeneral>(a));
        EXPECT_EQ(e.SBNouveau, a != 0) << a;
    }
}

TEST(EtatsFenetre, AcquisitionSimpleFigeToutSaufLeBoutonDAcquisition) {
    for (const int nbCentrales : {1, 2}) {
        SCOPED_TRACE(nbCentrales);
        TFaitsFenetre f = faitsMesures();
        f.nbCentralesGerees = nbCentrales;
        TEtatControles e = toutActive();
        desactiveComposantsAcqSimple(e, f);
        TEtatControles attendu;
        attendu.BAcquisition = true;
        attendu.SBCentrales_ = nbCentrales < 2; // a single interface offers no choice
        EXPECT_EQ(e, attendu);
    }
}

TEST(EtatsFenetre, AcquisitionPermanenteGardeLesReglagesVivants) {
    const TFaitsFenetre f = faitsMesures();
    TEtatControles e;
    activeComposantsAcqSimple(e, f);
    desactiveComposantsAcqPermanente(e, f);
    EXPECT_TRUE(e.CBDureeTotale);
    EXPECT_TRUE(e.CBNbPoints);
    EXPECT_TRUE(e.SBDureeTotalePlus);
    EXPECT_TRUE(e.CBTypeDeclenchement);
    EXPECT_TRUE(e.CBModePermanent);
    for (int i = 0; i < 8; ++i)
        EXPECT_TRUE(e.CBVoiesActives[i]) << i;
    EXPECT_TRUE(e.RGCalsEA[0]);
    for (std::size_t k = 0; k < boutonsOutils.size(); ++k)
        EXPECT_FALSE(e.*boutonsOutils[k]) << k;

    // The end of the permanent acquisition gives the tool buttons back.
    activeComposantsAcqPermanente(e, f);
    for (Membre m :
         {&TEtatControles::SBNouveau, &TEtatControles::SBenregistrerRW3,
          &TEtatControles::SBtransfertDirectOOLO, &TEtatControles::SBVoirTableau,
          &TEtatControles::SBOptions, &TEtatControles::SBMesures, &TEtatControles::SBZoomPlusH,
          &TEtatControles::SBZoomPlusV, &TEtatControles::SBCentrales_})
        EXPECT_TRUE(e.*m);
    EXPECT_FALSE(e.SBZoomMoinsH);
    EXPECT_FALSE(e.SBZoomMoinsV);
}

// Which rule enables the Calc and Excel buttons, on every combination that matters.
TEST(EtatsFenetre, BoutonsDeTransfertSelonLesTableursInstalles) {
    const struct {
        int nbVoiesMesurees;
        bool oo, lo, office;
        bool ooloAttendu;  // activeComposantsAcq*: needs measurements and Calc
        bool ooloOutils;   // activeBoutonsOutils: Calc
        bool excelAttendu; // activeComposantsAcq*: measurements
        bool excelOutils;  // activeBoutonsOutils: Microsoft Office
    } cas[] = {
        {2, false, false, false, false, false, true, false},
        {2, true, false, true, true, true, true, true},
        {2, false, true, false, true, true, true, false},
        {0, true, true, true, false, true, false, true},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(testing::Message() << c.nbVoiesMesurees << c.oo << c.lo << c.office);
        TFaitsFenetre f;
        f.nbVoiesMesurees = c.nbVoiesMesurees;
        f.OOInstalle = c.oo;
        f.LOInstalle = c.lo;
        f.msOfficeInstalle = c.office;
        TEtatControles simple = toutActive(), permanente = toutActive(), outils;
        activeComposantsAcqSimple(simple, f);
        activeComposantsAcqPermanente(permanente, f);
        activeBoutonsOutils(outils, f);
        EXPECT_EQ(simple.SBtransfertDirectOOLO, c.ooloAttendu);
        EXPECT_EQ(permanente.SBtransfertDirectOOLO, c.ooloAttendu);
        EXPECT_EQ(outils.SBtransfertDirectOOLO, c.ooloOutils);
        EXPECT_EQ(simple.SBTransfertDirectExcel, c.excelAttendu);
        EXPECT_EQ(permanente.SBTransfertDirectExcel, c.excelAttendu);
        EXPECT_EQ(outils.SBTransfertDirectExcel, c.excelOutils);
        EXPECT_EQ(simple.SBenregistrerRW3, c.nbVoiesMesurees > 0);
        EXPECT_TRUE(outils.SBenregistrerRW3);
    }
}

TEST(EtatsFenetre, CanalDifferentielBloqueSaSecondeEntree) {
    TFaitsFenetre f = faitsMesures();
    f.voiesActives = {true, true, false, true, true, true, false, false};
    f.canauxDiff = {false, true, false, false};
    TEtatControles e;
    activeComposantsAcqSimple(e, f);
    const bool activation[8] = {true, true, true, true, true, false, true, true};
    const bool calibre[8] = {true, true, false, true, true, false, false, false};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(e.CBVoiesActives[i], activation[i]) << i;
        EXPECT_EQ(e.RGCalsEA[i], calibre[i]) << i; // a range only for an active input
    }
    for (int k = 0; k < 4; ++k) {
        EXPECT_TRUE(e.CBModeDiff[k]);
        EXPECT_TRUE(e.gbCanaux[k]);
    }
}

// Three or four inputs on as many channels: no second inputs, the others stay disabled.
TEST(EtatsFenetre, EntreesAbsentesDeLInterfaceRestentDesactivees) {
    for (const int n : {3, 4}) {
        SCOPED_TRACE(n);
        TFaitsFenetre f = faitsMesures();
        f.nbCanaux = n;
        f.nbEAU = n;
        f.voiesActives.fill(true);
        f.canauxDiff.fill(true);
        TEtatControles e = toutActive();
        activeComposantsAcqSimple(e, f);
        for (int i = 0; i < 8; ++i) {
            EXPECT_EQ(e.CBVoiesActives[i], i < n) << i;
            EXPECT_EQ(e.RGCalsEA[i], i < n) << i;
        }
    }
}

TEST(EtatsFenetre, AcquisitionPrecedenteSeulementSiLesReglagesOntChange) {
    const struct {
        int nbVoiesMesurees;
        bool memes;
        bool attendu;
    } cas[] = {{2, false, true}, {2, true, false}, {0, false, false}, {0, true, false}};
    for (const auto& c : cas) {
        SCOPED_TRACE(testing::Message() << c.nbVoiesMesurees << c.memes);
        TFaitsFenetre f;
        f.nbVoiesMesurees = c.nbVoiesMesurees;
        f.memesParametresTemporels = c.memes;
        TEtatControles simple, permanente;
        activeComposantsAcqSimple(simple, f);
        activeComposantsAcqPermanente(permanente, f);
        EXPECT_EQ(simple.BAcquisitionPrecedente, c.attendu);
        EXPECT_EQ(permanente.BAcquisitionPrecedente, c.attendu);
    }
}

TEST(EtatsFenetre, AjouterLesCourbesEtSuitesLaisseesALaFenetre) {
    for (const bool ajout : {false, true}) {
        TFaitsFenetre f = faitsMesures();
        f.ajoutPossible = ajout;
        TEtatControles e;
        const TSuitesEtat s = activeComposantsAcqSimple(e, f);
        EXPECT_EQ(e.CBAjouterCourbes, ajout);
        EXPECT_TRUE(s.prepareComposantsDeclenchement);
        EXPECT_FALSE(e.EditUSeuilDecl); // left to the trigger controls' own rule
    }
    for (const bool visible : {false, true}) {
        TFaitsFenetre f;
        f.PTableauVisible = visible;
        TEtatControles e;
        const TSuitesEtat s = activeBoutonsOutils(e, f);
        EXPECT_TRUE(s.tableauPerime);
        EXPECT_EQ(s.reconstruireTableau, visible);
        const TSuitesEtat d = desactiveBoutonsOutils(e);
        EXPECT_TRUE(d.tableauPerime);
        EXPECT_FALSE(d.reconstruireTableau);
        EXPECT_EQ(e, TEtatControles{});
    }
}

TEST(EtatsFenetre, BoutonsDeZoomSelonLesIndices) {
    const struct {
        int h, v;
        bool plusH, moinsH, plusV, moinsV;
    } cas[] = {{0, 0, true, false, true, false},
               {3, 6, true, true, false, true},
               {6, 1, false, true, true, true}};
    for (const auto& c : cas) {
        SCOPED_TRACE(testing::Message() << c.h << ' ' << c.v);
        TFaitsFenetre f = faitsMesures();
        f.zoomIndexH = c.h;
        f.ZoomIndexV = c.v;
        TEtatControles panneauFerme, apresZoom, pendantAcq;
        activeComposantsAcqSimple(panneauFerme, f);
        activerZooms(apresZoom, f, MODE_MESURES);
        activerZooms(pendantAcq, f, MODE_ACQ_PERMANENTE);
        for (const TEtatControles* e : {&panneauFerme, &apresZoom}) {
            EXPECT_EQ(e->SBZoomPlusH, c.plusH);
            EXPECT_EQ(e->SBZoomMoinsH, c.moinsH);
            EXPECT_EQ(e->SBZoomPlusV, c.plusV);
            EXPECT_EQ(e->SBZoomMoinsV, c.moinsV);
        }
        EXPECT_EQ(pendantAcq, TEtatControles{});
        DesactiverZooms(panneauFerme);
        EXPECT_FALSE(panneauFerme.SBZoomPlusH || panneauFerme.SBZoomMoinsH ||
                     panneauFerme.SBZoomPlusV || panneauFerme.SBZoomMoinsV);
    }
}

// ---- Hints ----

TEST(BoutonsOutils, InfoBullesSurPlusieursLignes) {
    EXPECT_EQ(infoBulle(TBoutonOutil::SBNouveau),
              QStringLiteral("Commencer une nouvelle expérience \n(effacement des données "
                             "acquises et \nréinitialisation des réglages)."));
    EXPECT_STREQ(bulleBrute(TBoutonOutil::SBEnregistrerCSV),
                 "Enregistrer les mesures dans un \n\rfichier au format CSV, séparateur ; "
                 "(*.csv)");
    EXPECT_EQ(infoBulle(TBoutonOutil::SBZoomMoinsV), QStringLiteral("Reduire le zoom vertical "));
    EXPECT_EQ(texteInfoBulle("a\n\rb\r\nc"), QStringLiteral("a\nb\nc"));
    EXPECT_EQ(texteInfoBulle(BullesReglages::CBNbPoints),
              QStringLiteral("Sélectionnez le\nnombre de mesures\nsouhaité. Vous pouvez\nsaisir "
                             "d'autres valeurs\nque celles de la liste"));
    EXPECT_EQ(bulleVoirTableau(true), QStringLiteral("Masquer le tableau de mesures"));
    EXPECT_EQ(bulleVoirTableau(false), infoBulle(TBoutonOutil::SBVoirTableau));
    for (int b = 0; b < NB_BOUTONS_OUTILS; ++b) {
        const QString bulle = infoBulle(static_cast<TBoutonOutil>(b));
        EXPECT_FALSE(bulle.contains(u'\r')) << b;
        EXPECT_EQ(bulle.isEmpty(),
                  static_cast<TBoutonOutil>(b) == TBoutonOutil::BFermerMesuresSurEcran)
            << b;
    }
}

// ---- New experiment and leaving ----

// Records what the sequences do; answers come from a script.
class ActionsFactices : public TActionsOutils {
public:
    std::deque<TReponse> reponses;
    bool enregistrementReussi = true;
    std::vector<std::string> journal;

    TReponse demander(const QString& question, bool avecAnnuler) override {
        journal.push_back((avecAnnuler ? "?3 " : "?2 ") + question.toStdString());
        if (reponses.empty()) {
            ADD_FAILURE() << "unexpected question";
            return TReponse::Annuler;
        }
        const TReponse r = reponses.front();
        reponses.pop_front();
        return r;
    }
    void avertir(const QString& message) override {
        journal.push_back("! " + message.toStdString());
    }
    bool enregistrerRW3() override {
        journal.push_back("enregistrer");
        return enregistrementReussi;
    }
    void RAZ() override { journal.push_back("RAZ"); }
    void arreterAcquisition() override { journal.push_back("arreter"); }
    void Quitter() override { journal.push_back("Quitter"); }
};

const std::string QUITTER = "?2 Désirez-vous vraiment quitter \"Kirvane\" ?";
const std::string ENREGISTRER = "?3 Désirez-vous enregistrer les mesures ?";
using J = std::vector<std::string>;

TEST(SequencesOutils, DemandeDeFermeture) {
    const struct {
        const char* nom;
        TContexteOutils ctx;
        std::vector<TReponse> reponses;
        bool enregistrementReussi;
        bool accordee;
        J journal;
    } cas[] = {
        {"choix abandonné", {MODE_VIERGE, true, true}, {}, true, true, {}},
        {"transfert Excel",
         {MODE_TRANSFERT_EXCEL, true, false},
         {},
         true,
         false,
         {"! Transfert vers Excel en cours; impossible de quitter: attendez la fin du "
          "transfert !"}},
        {"transfert Calc",
         {MODE_TRANSFERT_CALC, false, false},
         {},
         true,
         false,
         {"! Transfert vers OpenOffice.Org Calc en cours; impossible de quitter: attendez la "
          "fin du transfert !"}},
        {"non", {MODE_MESURES, true, false}, {TReponse::Non}, true, false, {QUITTER}},
        {"oui sans mesures", {MODE_MESURES, false, false}, {TReponse::Oui}, true, true, {QUITTER}},
        {"oui, enregistrer",
         {MODE_MESURES, true, false},
         {TReponse::Oui, TReponse::Oui},
         true,
         true,
         {QUITTER, ENREGISTRER, "enregistrer", "RAZ"}},
        {"oui, enregistrement annulé",
         {MODE_PERMANENT_ARRETE, true, false},
         {TReponse::Oui, TReponse::Oui},
         false,
         false,
         {QUITTER, ENREGISTRER, "enregistrer"}},
        {"oui, ne pas enregistrer",
         {MODE_MESURES, true, false},
         {TReponse::Oui, TReponse::Non},
         true,
         true,
         {QUITTER, ENREGISTRER, "RAZ"}},
        {"oui, annuler",
         {MODE_MESURES, true, false},
         {TReponse::Oui, TReponse::Annuler},
         true,
         false,
         {QUITTER, ENREGISTRER}},
        {"pendant une acquisition simple",
         {MODE_ACQ_SIMPLE, true, false},
         {},
         true,
         false,
         {"arreter"}},
        {"pendant une acquisition permanente",
         {MODE_ACQ_PERMANENTE, false, false},
         {},
         true,
         false,
         {"arreter"}},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.nom);
        ActionsFactices actions;
        actions.reponses.assign(c.reponses.begin(), c.reponses.end());
        actions.enregistrementReussi = c.enregistrementReussi;
        TSequencesOutils sequences(actions);
        EXPECT_EQ(sequences.demandeFermeture(c.ctx), c.accordee);
        EXPECT_EQ(actions.journal, c.journal);
        EXPECT_TRUE(actions.reponses.empty());
    }
}

TEST(SequencesOutils, NouvelleExperience) {
    const struct {
        const char* nom;
        bool enregistrerX;
        std::vector<TReponse> reponses;
        bool enregistrementReussi;
        J journal;
    } cas[] = {
        {"rien à enregistrer", false, {}, true, {"RAZ"}},
        {"oui", true, {TReponse::Oui}, true, {ENREGISTRER, "enregistrer", "RAZ"}},
        {"oui, enregistrement échoué", true, {TReponse::Oui}, false, {ENREGISTRER, "enregistrer"}},
        {"non", true, {TReponse::Non}, true, {ENREGISTRER, "RAZ"}},
        {"annuler", true, {TReponse::Annuler}, true, {ENREGISTRER}},
    };
    for (const auto& c : cas) {
        for (const TModeGeneral mode : {MODE_MESURES, MODE_ACQ_SIMPLE, MODE_ACQ_PERMANENTE}) {
            SCOPED_TRACE(testing::Message() << c.nom << " state " << mode);
            ActionsFactices actions;
            actions.reponses.assign(c.reponses.begin(), c.reponses.end());
            actions.enregistrementReussi = c.enregistrementReussi;
            TSequencesOutils sequences(actions);
            TContexteOutils ctx{mode, c.enregistrerX, false};
            sequences.clicNouveau(ctx);
            J attendu = c.journal;
            if (acquisitionEnCours(mode)) {
                // Stop first; nothing else until the acquisition loop has returned.
                EXPECT_EQ(actions.journal, J{"arreter"});
                EXPECT_EQ(sequences.suiteEnAttente(), TSequencesOutils::TSuite::Nouveau);
                ctx.MODEGENERAL = mode == MODE_ACQ_SIMPLE ? MODE_MESURES : MODE_PERMANENT_ARRETE;
                sequences.finBoucleAcquisition(ctx);
                attendu.insert(attendu.begin(), "arreter");
            }
            EXPECT_EQ(actions.journal, attendu);
            EXPECT_EQ(sequences.suiteEnAttente(), TSequencesOutils::TSuite::Aucune);
        }
    }
}

TEST(SequencesOutils, QuitterPendantUneAcquisitionFermeApresLaBoucle) {
    for (const TModeGeneral mode : {MODE_ACQ_SIMPLE, MODE_ACQ_PERMANENTE}) {
        SCOPED_TRACE(mode);
        ActionsFactices actions;
        TSequencesOutils sequences(actions);
        const TContexteOutils pendant{mode, false, false};
        sequences.clicNouveau(pendant);
        sequences.clicQuitter(pendant);
        EXPECT_FALSE(sequences.demandeFermeture(pendant)); // a second request while stopping
        EXPECT_EQ(actions.journal, J{"arreter"});          // asked to stop once
        sequences.finBoucleAcquisition({MODE_PERMANENT_ARRETE, true, false});
        EXPECT_EQ(actions.journal, (J{"arreter", "Quitter"})); // leaving wins, no RAZ
        // The close request that Quitter makes now asks its questions.
        actions.reponses = {TReponse::Oui, TReponse::Non};
        EXPECT_TRUE(sequences.demandeFermeture({MODE_PERMANENT_ARRETE, true, false}));
        EXPECT_EQ(actions.journal, (J{"arreter", "Quitter", QUITTER, ENREGISTRER, "RAZ"}));
        // Nothing is left waiting for a later acquisition.
        sequences.finBoucleAcquisition({MODE_MESURES, false, false});
        EXPECT_EQ(actions.journal.size(), 5u);
    }
}

TEST(SequencesOutils, QuitterHorsAcquisitionDemandeLaFermeture) {
    ActionsFactices actions;
    TSequencesOutils sequences(actions);
    sequences.clicQuitter({MODE_MESURES, true, false});
    EXPECT_EQ(actions.journal, J{"Quitter"});
    EXPECT_EQ(sequences.suiteEnAttente(), TSequencesOutils::TSuite::Aucune);
}

} // namespace
