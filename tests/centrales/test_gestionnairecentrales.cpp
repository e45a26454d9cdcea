#include "centrale_neutre.h"
#include "centralesstandard.h"
#include "gestionnairecentrales.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <map>
#include <stdexcept>

namespace {

// What a fake library path does: not there, there with the unit plugged or not, or a
// library that lacks a function.
enum class Bibli { Absente, Debranchee, Branchee, FonctionManquante };

struct Banc {
    std::map<QString, Bibli> bibliotheques;
    std::map<QString, int> typesParChemin; // kind the object reports (SP5 simulator: 4)
    int creations = 0;
    int liberations = 0;
    int recalibrages = 0;
    int reprogrammations = 0;
    bool branchee = true; // shared by every fake unit: plug and unplug
};

class CentraleFactice : public TCentraleNeutre {
public:
    CentraleFactice(Banc& banc, int type) : TCentraleNeutre(1), banc_(banc) {
        typeCentrale = type;
        nomCentrale = nomLongCentrale(type);
        CentraleInstallee = true;
    }
    bool Presente() override { return banc_.branchee; }
    void RecupereCalibration() override { ++banc_.recalibrages; }
    void prepareTousPRX(bool applique) override { banc_.reprogrammations += applique; }
    void liberer(bool libererDLL) override {
        if (!estLibere())
            ++banc_.liberations;
        TCentrale::liberer(libererDLL);
    }

private:
    Banc& banc_;
};

class Vue : public TVueCentrales {
public:
    QStringList lignes;
    QStringList erreurs;
    void ajouterLigneDemarrage(const QString& l) override { lignes << l; }
    void afficherErreurChargement(const QString& t) override { erreurs << t; }
    void traiterMessages() override {}
};

TFabriqueCentrale fabrique(Banc& banc) {
    return [&banc](int famille, const QString& chemin) {
        ++banc.creations;
        TCreationCentrale r;
        const auto it = banc.bibliotheques.find(chemin);
        const Bibli b = it == banc.bibliotheques.end() ? Bibli::Absente : it->second;
        if (b == Bibli::FonctionManquante) {
            r.erreur = QStringLiteral("Erreur lors du chargement de LireFifo");
            return r;
        }
        const auto t = banc.typesParChemin.find(chemin);
        auto c = std::make_unique<CentraleFactice>(
            banc, t == banc.typesParChemin.end() ? famille : t->second);
        c->CentraleInstallee = b != Bibli::Absente;
        if (b == Bibli::Debranchee)
            banc.branchee = false;
        r.centrale = std::move(c);
        return r;
    };
}

const QStringList lignesVides{QString(), QString(), QString()};

TEST(GestionnaireCentrales, LeSimulateurSeulEstChoisiSansQuestion) {
    Banc banc;
    banc.bibliotheques["/prog/libsp5sim.so"] = Bibli::Branchee;
    banc.typesParChemin["/prog/libsp5sim.so"] = CENTRALE_SIMULATION_SP5;
    TGestionnaireCentrales g(fabrique(banc));
    Vue vue;
    g.detectionCentrales({{FAMILLE_SP5, {"/prog/libsp5sim.so"}}}, vue);
    EXPECT_EQ(vue.lignes,
              (QStringList{"Détection SYSAM SP5...", "Centrale SIMULATION SP5 installée ",
                           "Centrale SIMULATION SP5 connectée ", "", "Détection SYSAM V6...",
                           "Centrale SYSAM V6 non installée sur cet ordinateur", "",
                           "Détection SYSAM CAMPUS...",
                           "Centrale SYSAM CAMPUS non installée sur cet ordinateur", ""}));
    ASSERT_EQ(g.nbCentralesGerees, 1);
    EXPECT_EQ(g.nbCentralesConnectees, 1);
    EXPECT_EQ(g.cheminsDLLCentrales[CENTRALE_SIMULATION_SP5 - 1], "/prog/libsp5sim.so");
    EXPECT_EQ(banc.recalibrages, 1);
    ASSERT_TRUE(g.setCentraleActive(g.centrales[0].typecentrale, false, vue));
    EXPECT_TRUE(g.centrales.empty());
    ASSERT_NE(g.SP5, nullptr);
    EXPECT_EQ(g.typeCentraleActive, CENTRALE_SIMULATION_SP5);
    EXPECT_TRUE(g.SP5->acquisitionUtilisateur);
    EXPECT_TRUE(g.SP5Presente);
    EXPECT_EQ(g.textePresence(), "Centrale SIMULATION SP5 connectée");
    EXPECT_FALSE(g.setCentraleActive(CENTRALE_SIMULATION_SP5, false, vue)); // same kind
}

TEST(GestionnaireCentrales, LesEmplacementsSontEssayesDansLOrdre) {
    Banc banc;
    banc.bibliotheques["/win/SysWOW64/SP5.DLL"] = Bibli::Debranchee;
    TGestionnaireCentrales g(fabrique(banc));
    Vue vue;
    g.detectionCentrales({{FAMILLE_SP5, {"/win/system32/SP5.DLL", "/win/SysWOW64/SP5.DLL"}}}, vue);
    ASSERT_EQ(g.nbCentralesGerees, 1);
    EXPECT_EQ(g.centrales[0].cheminDLL, "/win/SysWOW64/SP5.DLL");
    EXPECT_FALSE(g.centrales[0].presente);
    EXPECT_EQ(g.nbCentralesConnectees, 0);
    EXPECT_EQ(vue.lignes[2], "Centrale SYSAM SP5 non connectée ");
    EXPECT_EQ(banc.liberations, 1); // the object of the first, failed place
}

TEST(GestionnaireCentrales, UneBibliothequeIncompleteEstSignaleeEtLesAutresContinuent) {
    Banc banc;
    banc.bibliotheques["/sp5.so"] = Bibli::FonctionManquante;
    banc.bibliotheques["/v6.so"] = Bibli::Branchee;
    TGestionnaireCentrales g(fabrique(banc));
    Vue vue;
    g.detectionCentrales({{FAMILLE_SP5, {"/sp5.so"}}, {FAMILLE_V6, {"/v6.so"}}}, vue);
    EXPECT_EQ(vue.erreurs, QStringList{"Erreur lors du chargement de LireFifo"});
    EXPECT_EQ(vue.lignes[1], "Centrale SYSAM SP5 non installée sur cet ordinateur");
    ASSERT_EQ(g.nbCentralesGerees, 1);
    EXPECT_EQ(g.centrales[0].typecentrale, CENTRALE_V6);
}

TEST(GestionnaireCentrales, LaCampusNEstEssayeeQuAvecLaBibliothequeFtdi) {
    // The places of the table, in a Windows folder with or without the FTDI library.
    QTemporaryDir windows;
    ASSERT_TRUE(QDir(windows.path()).mkpath("SysWOW64"));
    TDossiersCentrales dossiers{QStringLiteral("/prog"), windows.path(), QString()};
    Banc banc;
    banc.bibliotheques["/prog/Campus.DLL"] = Bibli::Branchee;
    for (bool ftdi : {false, true}) {
        SCOPED_TRACE(ftdi);
        if (ftdi) {
            QFile f(windows.path() + "/SysWOW64/FTD2XX-V6.dll");
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        }
        TGestionnaireCentrales g(fabrique(banc));
        Vue vue;
        g.detectionCentrales(cheminsCentrales(dossiers), vue);
        EXPECT_EQ(g.nbCentralesGerees, ftdi ? 1 : 0);
        const QStringList attendu =
            ftdi ? QStringList{"Détection SYSAM CAMPUS...", "Centrale SYSAM CAMPUS installée ",
                               "Centrale CAMPUS connectée "}
                 : QStringList{"Détection SYSAM CAMPUS...",
                               "Centrale SYSAM CAMPUS non installée sur cet ordinateur", ""};
        EXPECT_EQ(vue.lignes.mid(6, 3), attendu);
    }
}

TEST(GestionnaireCentrales, DeuxCentralesSontProposeesEtLeChangementRecreeLObjet) {
    Banc banc;
    banc.bibliotheques["/sp5.so"] = Bibli::Branchee;
    banc.bibliotheques["/v6.so"] = Bibli::Branchee;
    TGestionnaireCentrales g(fabrique(banc));
    Vue vue;
    g.detectionCentrales({{FAMILLE_SP5, {"/sp5.so"}}, {FAMILLE_V6, {"/v6.so"}}}, vue);
    EXPECT_EQ(typesProposes(g), (std::set<int>{CENTRALE_SP5, CENTRALE_V6}));
    ASSERT_TRUE(g.setCentraleActive(CENTRALE_V6, false, vue));
    EXPECT_EQ(banc.liberations, 1); // the SP5 found by detection
    const TCentrale* avant = g.SP5.get();
    ASSERT_TRUE(g.setCentraleActive(CENTRALE_SP5, true, vue));
    EXPECT_NE(g.SP5.get(), avant);
    EXPECT_EQ(g.SP5->typeCentrale, CENTRALE_SP5);
    EXPECT_EQ(g.cheminDLLCentrale, "/sp5.so");
    EXPECT_EQ(banc.liberations, 2);
}

TEST(GestionnaireCentrales, UnChangementRateNeLaissePasDObjetAMoitieConstruit) {
    Banc banc;
    banc.bibliotheques["/sp5.so"] = Bibli::Branchee;
    banc.bibliotheques["/v6.so"] = Bibli::Branchee;
    TGestionnaireCentrales g(fabrique(banc));
    Vue vue;
    g.detectionCentrales({{FAMILLE_SP5, {"/sp5.so"}}, {FAMILLE_V6, {"/v6.so"}}}, vue);
    ASSERT_TRUE(g.setCentraleActive(CENTRALE_SP5, false, vue));
    banc.bibliotheques["/v6.so"] = Bibli::FonctionManquante; // removed meanwhile
    EXPECT_FALSE(g.setCentraleActive(CENTRALE_V6, true, vue));
    EXPECT_EQ(g.SP5, nullptr);
    EXPECT_EQ(g.typeCentraleActive, 0);
    EXPECT_EQ(vue.erreurs.size(), 1);
    EXPECT_EQ(g.textePresence(), QString());
    EXPECT_EQ(g.pollPresence(), TPresence::NonTestee);
}

TEST(GestionnaireCentrales, LeSondageSuitUnDebranchementEtUnRebranchement) {
    Banc banc;
    banc.bibliotheques["/sp5.so"] = Bibli::Branchee;
    TGestionnaireCentrales g(fabrique(banc));
    Vue vue;
    g.detectionCentrales({{FAMILLE_SP5, {"/sp5.so"}}}, vue);
    g.setCentraleActive(CENTRALE_SP5, false, vue);
    const int recalibrages = banc.recalibrages;
    EXPECT_EQ(g.pollPresence(), TPresence::Connectee);
    banc.branchee = false;
    EXPECT_EQ(g.pollPresence(), TPresence::Perdue);
    EXPECT_EQ(g.textePresence(), "Centrale SYSAM SP5 non connectée");
    EXPECT_EQ(g.pollPresence(), TPresence::NonConnectee);
    g.SP5->NbProcessus = 1; // an acquisition runs: the unit is not asked
    banc.branchee = true;
    EXPECT_EQ(g.pollPresence(), TPresence::NonTestee);
    g.SP5->NbProcessus = 0;
    EXPECT_EQ(g.pollPresence(), TPresence::Reconnectee);
    EXPECT_EQ(banc.recalibrages, recalibrages + 1);
    EXPECT_EQ(banc.reprogrammations, 1);
    EXPECT_EQ(g.textePresence(), "Centrale SYSAM SP5 connectée");
}

TEST(GestionnaireCentrales, AucuneCentraleInstallee) {
    Banc banc;
    TGestionnaireCentrales g(fabrique(banc));
    Vue vue;
    g.detectionCentrales(
        {{FAMILLE_SP5, {"/sp5.so"}}, {FAMILLE_V6, {"/v6.so"}}, {FAMILLE_CAMPUS, {"/c.so"}}}, vue);
    EXPECT_EQ(g.nbCentralesGerees, 0);
    EXPECT_FALSE(g.setCentraleActive(-1, false, vue));
    EXPECT_EQ(g.SP5, nullptr);
    EXPECT_EQ(g.typeCentraleActive, 0);
}

TEST(GestionnaireCentrales, SeulsDesSimulateursLePremierSansQuestion) {
    // kinds found -> kind activated without asking (0: the user chooses)
    const struct {
        std::vector<int> types;
        int sansQuestion;
    } cas[] = {
        {{}, 0},
        {{CENTRALE_V6}, CENTRALE_V6},
        {{CENTRALE_SIMULATION_SP5, CENTRALE_SIMULATION_CAMPUS}, CENTRALE_SIMULATION_SP5},
        {{CENTRALE_SIMULATION_CAMPUS}, CENTRALE_SIMULATION_CAMPUS},
        {{CENTRALE_SIMULATION_SP5, CENTRALE_V6, CENTRALE_SIMULATION_CAMPUS}, 0},
        {{CENTRALE_SP5, CENTRALE_SIMULATION_CAMPUS}, 0},
    };
    for (const auto& k : cas) {
        TGestionnaireCentrales g(TFabriqueCentrale{});
        for (int t : k.types) {
            TCentraleInsPre e;
            e.typecentrale = t;
            e.installee = true;
            g.centrales.push_back(std::move(e));
        }
        EXPECT_EQ(typeActifSansQuestion(g), k.sansQuestion) << k.types.size();
    }
}

} // namespace
