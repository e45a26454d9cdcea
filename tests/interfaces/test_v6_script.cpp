// TSYSAMV6 against a scripted link on a virtual clock: the bytes it sends, its time-outs
// (each test ends within its bound: the clock only moves when the driver sleeps), the
// command cache, the start handshake and the reading of the sample bytes.
#include "transport_v6_script.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

using v6script::HorlogeVirtuelle;
using v6script::octetsEchantillons;
using v6script::TransportScript;

class V6Script : public ::testing::Test {
protected:
    // The driver on a link to a present unit (or an absent one).
    void construire(bool branchee = true) {
        auto t = std::make_unique<TransportScript>(h);
        t->branchee = branchee;
        lien = t.get();
        c = std::make_unique<TSYSAMV6>(std::move(t), 1, CENTRALE_V6, &h);
        c->acquisitionUtilisateur = true;
    }
    std::vector<std::string> commandesDepuis(std::size_t debut) const {
        return {lien->commandes.begin() + static_cast<std::ptrdiff_t>(debut),
                lien->commandes.end()};
    }
    // Reads until n words came or the clock passed limite ms; the words as codes.
    std::vector<int> lire(std::size_t n, int64_t limite = 5000) {
        std::vector<int> codes;
        TFifoSP5 fifo{};
        const int64_t fin = h.t + limite;
        while (codes.size() < n && h.t < fin) {
            const int a = c->LireFifo(&fifo);
            if (a < 0)
                break;
            EXPECT_LE(a, 256);
            for (int k = 0; k < a; ++k)
                codes.push_back(fifo[k] >> 4);
            if (a == 0)
                h.dormirUs(1000);
        }
        return codes;
    }

    HorlogeVirtuelle h;
    TransportScript* lien = nullptr;
    std::unique_ptr<TSYSAMV6> c;
};

TEST_F(V6Script, ConstructionPresenceCalibrageEtSerie) {
    construire();
    EXPECT_TRUE(c->CentraleInstallee);
    EXPECT_TRUE(c->CentralePresente);
    EXPECT_TRUE(c->V6TrouveeAuMoinsUneFois);
    EXPECT_EQ(c->numeroSerie, "V6TEST");
    EXPECT_FLOAT_EQ(c->VoiesX[0].ca[0], 0.0123f);
    EXPECT_FLOAT_EQ(c->VoiesX[2].cb[0], -25.05f);
    EXPECT_DOUBLE_EQ(c->Ux(1, 2048), 2048 * 0.0122f + -24.9f);
    // Presence, calibration, "I", "2", then the default settings once: V, P, N, E, O.
    const std::vector<std::string> attendu = {"ESC",   "0",     "I",        "2",    "V0F0F0F0F0F",
                                              "PF830", "N03F3", "E0000000", "O0000"};
    EXPECT_EQ(lien->commandes, attendu);
    EXPECT_TRUE(c->CentralePretePourAcq);
    EXPECT_TRUE(c->ITeHINT.startsWith(
        QString::fromUtf8("Intervalle de temps entre deux points de mesures : \n\rvous")));
    EXPECT_TRUE(c->ITeHINT.endsWith(QString::fromUtf8("multiple entier de 10 µs X le nombre de "
                                                      "voies activées.")));
    EXPECT_EQ(c->getCapEA(0), "EA1");
    EXPECT_EQ(c->getCapVM(2), "u[3]");
    EXPECT_EQ(c->GBCanauxCaption[1], "EA 2");
}

TEST_F(V6Script, CentraleAbsenteRepondAussitot) {
    construire(false);
    EXPECT_TRUE(c->CentraleInstallee);
    EXPECT_FALSE(c->CentralePresente);
    EXPECT_EQ(c->numeroSerie, "V6Absente");
    EXPECT_TRUE(lien->recu.empty());
    // Nominal scale until a record is read: never a zero gain.
    EXPECT_NEAR(c->Ux(0, 0), -25.0, 1e-6);
    EXPECT_NEAR(c->Ux(0, 4096), 25.0, 1e-6);
    const int64_t t0 = h.t;
    EXPECT_FALSE(c->Presente());
    EXPECT_TRUE(c->Send_V6("I").empty());
    c->MesureDirecte();
    EXPECT_EQ(h.t, t0); // a closed link is not waited for
}

TEST_F(V6Script, BasesDeTempsEtDepassements) {
    construire();
    const struct {
        int voies;
        double duree;
        int64_t points;
        int mode;
        double dt;
        int64_t affiches;
        const char* P;
    } cas[] = {
        {1, 0.1, 1001, 0, 1e-4, 1001, "PF830"},   {1, 2.0, 1001, 1, 2e-3, 1001, "P0001"},
        {3, 0.1, 30001, 0, 3e-5, 3334, "PFF38"},  // at most 10001 points, 30 µs base tick
        {1, 5e-5, 1001, 0, 1e-5, 11, "PFF38"},    // below 1e-4 s: 1e-4 s
        {1, 0.1, 10, 1, 11e-3, 10, "P000A"},      // 11.1 ms: the fast counter would overflow
        {1, 40000.0, 5, 1, 65.422, 551, "PFF8D"}, // 36000 s; more points keep "P" in 16 bits
    };
    for (const auto& k : cas) {
        SCOPED_TRACE(k.duree);
        for (int v = 0; v < 3; ++v)
            v < k.voies ? c->activeVoieA(static_cast<uint8_t>(v), false)
                        : c->desactiveVoieA(static_cast<uint8_t>(v), false);
        c->setDurees(k.duree, k.points, false);
        EXPECT_EQ(c->modeAcq, k.mode);
        EXPECT_NEAR(c->dt0X, k.dt, 1e-9);
        EXPECT_EQ(c->nbPtsAffX, k.affiches);
        EXPECT_NEAR(c->dureeTotale0X, (c->nbPtsAffX - 1) * c->dt0X, 1e-9);
        EXPECT_EQ(c->cmdP, k.P);
        EXPECT_EQ(c->carDecl, k.mode == 0 ? 'F' : 'G');
    }
    // Two points: ignored.
    const double avant = c->dureeTotale0X;
    c->setDurees(1.0, 2, false);
    EXPECT_EQ(c->dureeTotale0X, avant);
}

TEST_F(V6Script, SeuilPretrigEtEntrees) {
    construire();
    c->activeVoieA(2, false);
    c->setModeDeclenchement(1, false);
    c->setDurees(0.1, 1001, false);
    c->setPretrig(1, false);
    c->setVoieSynchro(0, false);
    // Threshold limited to 95 % of the range shown.
    const struct {
        int calibre;
        float demande;
        float retenu;
    } seuils[] = {{0, 30.0f, 23.75f},
                  {1, 30.0f, 9.5f},
                  {2, -30.0f, -4.75f},
                  {3, 0.5f, 0.5f},
                  {3, 2.0f, 0.95f}};
    for (const auto& s : seuils) {
        c->setCal(0, s.calibre, false);
        c->setSeuilDecl(s.demande);
        EXPECT_FLOAT_EQ(c->USeuilDecl, s.retenu);
        EXPECT_EQ(c->VNESeuilDecl, c->ValUx(0, s.retenu));
    }
    EXPECT_NEAR(c->Ux(0, 1000), 1000 * 0.0123 - 25.1, 1e-5); // ranges never change Ux
    c->setSeuilDecl(static_cast<float>(c->Ux(0, 0x7FF)));
    c->prepareTousPRX(false);
    EXPECT_EQ(c->cmdV, "V00040F0F0F");
    EXPECT_EQ(c->cmdN, "N03F8");
    EXPECT_EQ(c->cmdE, "E2027FF0");
    EXPECT_EQ(c->cmdO, "O00FE");
    EXPECT_EQ(c->nbPtsPretrig, 250);
    c->setSensDeclSeuil(1, false);
    EXPECT_EQ(c->cmdE, "E3027FF0");
}

TEST_F(V6Script, CacheDesCommandesEtOrdre) {
    construire();
    // Announced inputs once the unit is active: V changes; the pretrigger always travels.
    c->prepareTousPRX(false);
    std::size_t n = lien->commandes.size();
    ASSERT_TRUE(c->prepareInterfacePourAcq(false));
    EXPECT_EQ(commandesDepuis(n), (std::vector<std::string>{"V000F0F0F0F", "O0000"}));
    c->prepareTousPRX(false);
    n = lien->commandes.size();
    ASSERT_TRUE(c->prepareInterfacePourAcq(false));
    EXPECT_EQ(commandesDepuis(n), std::vector<std::string>{"O0000"});
    n = lien->commandes.size();
    c->setDurees(2.0, 1001, false);
    ASSERT_TRUE(c->prepareInterfacePourAcq(false));
    EXPECT_EQ(commandesDepuis(n), (std::vector<std::string>{"P0001", "O0000"}));
    n = lien->commandes.size();
    c->activeVoieA(1, false);
    c->setModeDeclenchement(1, false);
    c->setDurees(0.5, 1001, false);
    ASSERT_TRUE(c->prepareInterfacePourAcq(false));
    const auto envoyees = commandesDepuis(n);
    ASSERT_EQ(envoyees.size(), 5u);
    EXPECT_EQ(envoyees[0][0], 'V');
    EXPECT_EQ(envoyees[1][0], 'P');
    EXPECT_EQ(envoyees[2][0], 'N');
    EXPECT_EQ(envoyees[3][0], 'E');
    EXPECT_EQ(envoyees[4][0], 'O');
    // prepareTousPRX(true) sends everything again.
    n = lien->commandes.size();
    c->prepareTousPRX(true);
    EXPECT_EQ(commandesDepuis(n).size(), 5u);
}

TEST_F(V6Script, ReponseVideRefuseeSaufPourE) {
    construire();
    lien->reponses["E"] = ":@\n\r";
    c->setDurees(0.2, 1001, false);
    c->prepareTousPRX(true);
    EXPECT_TRUE(c->CentralePretePourAcq);

    lien->reponses["P"] = ":@\n\r";
    c->setDurees(0.5, 1001, false);
    std::size_t n = lien->commandes.size();
    c->prepareTousPRX(true);
    // Refused: what follows is not sent, the unit is not ready, and a start is refused.
    EXPECT_EQ(commandesDepuis(n), (std::vector<std::string>{"V000F0F0F0F", "PD8F0"}));
    EXPECT_FALSE(c->CentralePretePourAcq);
    const std::size_t octets = lien->recu.size();
    c->declencheAcq();
    EXPECT_FALSE(c->acqPeriodiqueEnCours);
    EXPECT_FALSE(c->erreurDemarrage.isEmpty());
    EXPECT_EQ(lien->recu.size(), octets);
    // Accepted again: the refused commands travel at the next programming.
    lien->reponses.erase("P");
    n = lien->commandes.size();
    ASSERT_TRUE(c->prepareInterfacePourAcq(false));
    EXPECT_EQ(commandesDepuis(n).front(), "PD8F0");
}

TEST_F(V6Script, EcritureRateeReouvertureEtUnSeulEssai) {
    construire();
    const int ouvertures = lien->nbOuvertures;
    lien->echecsEcriture = 1;
    EXPECT_EQ(c->Send_V6("2"), "V6TEST");
    EXPECT_EQ(lien->nbOuvertures, ouvertures + 1);
    lien->echecsEcriture = 2;
    EXPECT_TRUE(c->Send_V6("2").empty());
    EXPECT_EQ(lien->nbOuvertures, ouvertures + 2);
}

TEST_F(V6Script, AttentesBorneesFaceAuxFautes) {
    construire();
    struct Cas {
        const char* nom;
        std::function<void(TransportScript&)> faute;
        int64_t bornesMs;
    };
    const Cas cas[] = {
        {"muette", [](TransportScript& t) { t.muette = true; }, 1000},
        {"bavarde", [](TransportScript& t) { t.bavarde = true; }, 3000},
        {"CR sans LF", [](TransportScript& t) { t.reponses["2"] = ":V6TEST@\r"; }, 3000},
        {"sans @", [](TransportScript& t) { t.reponses["2"] = ":V6TEST"; }, 3000},
        {"sans :", [](TransportScript& t) { t.reponses["2"] = "V6TEST@\n\r"; }, 3000},
    };
    for (const Cas& k : cas) {
        SCOPED_TRACE(k.nom);
        construire();
        k.faute(*lien);
        const int64_t t0 = h.t;
        const int longs = h.sommeilsLongs;
        bool ok = true;
        EXPECT_TRUE(c->Send_V6("2", &ok).empty());
        EXPECT_FALSE(ok);
        EXPECT_LE(h.t - t0, k.bornesMs + 10);
        EXPECT_EQ(h.sommeilsLongs, longs); // short sleeps only
    }
    // The third character's echo lost: nothing more is sent.
    construire();
    const std::size_t debut = lien->recu.size();
    lien->echosPerdus.insert(debut + 2);
    EXPECT_TRUE(c->Send_V6("V000F0F0F0F").empty());
    EXPECT_EQ(lien->recu.substr(debut), "V00");
}

TEST_F(V6Script, CalibrageInterrompuGardeLeNominal) {
    construire(false);
    lien->branchee = true;
    // The record stops after 40 bytes: the nominal scale stays, the unit still answers.
    lien->calibration.resize(40);
    EXPECT_TRUE(c->Presente());
    EXPECT_FALSE(c->calibrageLu);
    EXPECT_NEAR(c->Ux(0, 0), -25.0, 1e-6);
    // A zero gain is refused too.
    lien->calibration = v6script::enregistrement({0.0f, 0.0f, 0.0f}, {-25.f, -25.f, -25.f});
    EXPECT_TRUE(c->Presente());
    EXPECT_FALSE(c->calibrageLu);
    EXPECT_NEAR(c->Ux(0, 4096), 25.0, 1e-6);
}

TEST_F(V6Script, OctetsRestantsApresESCNeSontPasLusCommeReponse) {
    construire();
    // Stale sample bytes equal to ':' and '@' keep coming for a few ms after ESC.
    lien->pousser("::@@\n\r", 1);
    lien->pousser(":@", 2);
    const int64_t t0 = h.t;
    EXPECT_TRUE(c->Presente());
    // The unit fell silent before anything more was asked: nothing stale is left.
    EXPECT_GE(h.t - t0, 4);
    EXPECT_EQ(lien->enFile(), 0u);
    EXPECT_EQ(c->Send_V6("2"), "V6TEST");
}

// The unit's start: report, then on "D" the data for the fast timebase.
void demarrageRapide(TransportScript& t, char ordre, const std::vector<uint8_t>& donnees,
                     int64_t delaiDecl = 0) {
    if (ordre == 'F' || ordre == 'G') {
        t.pousser(":DECL@\n\r", delaiDecl);
        if (ordre == 'G') {
            t.pousser(":", delaiDecl);
            t.pousserOctets(donnees, delaiDecl + 1);
        }
    } else if (ordre == 'D') {
        t.pousser(":");
        t.pousserOctets(donnees);
    }
}

TEST_F(V6Script, AcquisitionManuelleOctetsCoupesEnDeux) {
    construire();
    c->setDurees(0.01, 101, false);
    std::vector<int> codes;
    for (int k = 0; k < 102; ++k)
        codes.push_back((k * 37) % 4096);
    std::vector<uint8_t> donnees = octetsEchantillons(codes);
    // Delivered in odd-sized pieces, one byte each millisecond for the last ones.
    lien->surOrdre = [&](TransportScript& t, char o) {
        if (o == 'D') {
            t.pousser(":");
            for (std::size_t k = 0; k < donnees.size(); ++k)
                t.pousserOctets({donnees[k]}, static_cast<int64_t>(k / 3));
        } else {
            demarrageRapide(t, o, donnees);
        }
    };
    c->prepareTousPRX(true);
    c->declencheAcq();
    ASSERT_TRUE(c->acqPeriodiqueEnCours);
    EXPECT_EQ(c->NbProcessus, 1);
    const std::vector<int> lus = lire(101);
    ASSERT_GE(lus.size(), 101u);
    for (std::size_t k = 0; k < 101; ++k)
        ASSERT_EQ(lus[k], codes[k]) << k;
    EXPECT_EQ(c->etapeAcq, 4);
    c->arreteAcq();
    EXPECT_FALSE(c->acqPeriodiqueEnCours);
    EXPECT_EQ(c->NbProcessus, 0);
    EXPECT_EQ(lien->commandes.back(), "ESC");
}

TEST_F(V6Script, AttenteDuDeclenchementLenteSansFin) {
    construire();
    c->setModeDeclenchement(1, false);
    c->setDurees(2.0, 1001, false);
    lien->surOrdre = [](TransportScript&, char) {}; // the trigger never comes
    c->prepareTousPRX(true);
    c->declencheAcq();
    ASSERT_TRUE(c->acqPeriodiqueEnCours);
    TFifoSP5 fifo{};
    for (int k = 0; k < 100; ++k) {
        EXPECT_EQ(c->LireFifo(&fifo), 0);
        h.dormirUs(100000);
    }
    // Ten seconds later it is still waiting: never taken as fired.
    EXPECT_TRUE(c->attenteDeclenchement);
    EXPECT_EQ(c->etapeAcq, 1);
    EXPECT_EQ(c->presentePendantAcq(), 1);
    c->arreteAcq();
}

TEST_F(V6Script, PoigneeInterrompueReprendPuisAbandonne) {
    construire();
    c->setDurees(0.01, 101, false);
    lien->surOrdre = [](TransportScript& t, char o) {
        if (o == 'F')
            t.pousser(":DE"); // the report stops half-way
    };
    c->prepareTousPRX(true);
    c->declencheAcq();
    TFifoSP5 fifo{};
    EXPECT_EQ(c->LireFifo(&fifo), 0);
    EXPECT_FALSE(c->attenteDeclenchement);
    EXPECT_EQ(c->poignee, TPoigneeV6::Rapport);
    // The rest arrives later: the handshake resumes where it stood.
    h.dormirUs(500000);
    lien->pousser("CL@\n");
    EXPECT_EQ(c->LireFifo(&fifo), 0);
    EXPECT_EQ(c->poignee, TPoigneeV6::CR);
    // CR never comes: after a second the link is given up, not waited for.
    h.dormirUs(1001000);
    EXPECT_EQ(c->LireFifo(&fifo), LIREFIFO_PERDUE);
    EXPECT_EQ(c->presentePendantAcq(), -1);
    c->arreteAcq();
    EXPECT_EQ(c->NbProcessus, 0);
}

TEST_F(V6Script, DebrancheeEnCoursDAcquisition) {
    construire();
    c->setDurees(0.1, 1001, false);
    std::vector<int> codes(1002, 2048);
    lien->surOrdre = [&](TransportScript& t, char o) {
        if (o == 'D') {
            t.pousser(":");
            t.pousserOctets(octetsEchantillons(std::vector<int>(300, 2048)));
        } else {
            demarrageRapide(t, o, {});
        }
    };
    c->prepareTousPRX(true);
    c->declencheAcq();
    const std::vector<int> lus = lire(256);
    EXPECT_EQ(lus.size(), 256u);
    lien->debrancher();
    TFifoSP5 fifo{};
    EXPECT_EQ(c->LireFifo(&fifo), LIREFIFO_PERDUE);
    EXPECT_EQ(c->presentePendantAcq(), -1);
    const int64_t t0 = h.t;
    c->arreteAcq();
    EXPECT_EQ(h.t, t0); // nothing is waited for on a closed link
    EXPECT_EQ(c->NbProcessus, 0);
    EXPECT_FALSE(c->Presente());
}

// Threshold mode: the pretrigger values are realigned on the last crossing.
TEST_F(V6Script, RealignementEtDtPretrig) {
    construire();
    c->setModeDeclenchement(1, false);
    c->setDurees(0.01, 101, false); // 102 points, dt 100 µs
    c->setPretrig(1, false);        // 25 points before, 4 hidden
    c->setVoieSynchro(0, false);
    // Codes are volts here: gain 1/100 V per code, offset 0.
    lien->calibration =
        v6script::enregistrement({0.01f, 0.01f, 0.01f}, {0.0f, 0.0f, 0.0f}, "V6TEST");
    c->RecupereCalibration();
    ASSERT_FLOAT_EQ(c->VoiesX[0].ca[0], 0.01f);
    c->setSeuilDecl(10.0f); // code 1000
    c->prepareTousPRX(true);
    ASSERT_EQ(c->nbPtsPretrig, 25);
    const int p = 25 + 4;
    // p + 1 steps: a crossing between steps 26 and 27 (900 -> 1300), an earlier one
    // between 3 and 4 that must not count.
    std::vector<int> pre(p + 1, 500);
    for (int s = 4; s <= 26; ++s)
        pre[s] = s == 26 ? 900 : 1100;
    pre[27] = 1300;
    pre[28] = 1400;
    pre[29] = 1500;
    std::vector<int> suite(c->nbPts0X + 1 + 4 - (p + 1));
    for (std::size_t k = 0; k < suite.size(); ++k)
        suite[k] = 2000 + static_cast<int>(k);
    lien->surOrdre = [&](TransportScript& t, char o) {
        if (o == 'F') {
            t.pousser(":DECL@\n\r");
        } else if (o == 'D') {
            t.pousser(":");
            t.pousserOctets(octetsEchantillons(pre));
            t.pousserOctets(octetsEchantillons(suite), 2);
        }
    };
    c->declencheAcq();
    const std::vector<int> lus = lire(static_cast<std::size_t>(c->nbPts0X));
    ASSERT_GE(lus.size(), static_cast<std::size_t>(c->nbPts0X));
    // The step before the crossing (26) comes to index 25: one step was dropped.
    EXPECT_EQ(lus[25], 900);
    EXPECT_EQ(lus[26], 1300);
    EXPECT_EQ(lus[0], pre[1]);
    EXPECT_EQ(lus[29], 2000);
    // (10 - 9) / (13 - 9) of a period.
    EXPECT_NEAR(c->dtPretrig, 0.25 * c->dt0X, 1e-9);
    c->arreteAcq();
}

TEST_F(V6Script, MesureDirecte) {
    construire();
    c->activeVoieA(2, false);
    lien->reponses["A4"] = ":FFF@\n\r";
    c->MesureDirecte();
    EXPECT_EQ(c->VoiesX[0].mesDir, 0x7FF);
    EXPECT_EQ(c->VoiesX[2].mesDir, 0xFFF);
    EXPECT_FLOAT_EQ(c->VoiesX[2].mesDirR, static_cast<float>(c->Ux(2, 0xFFF)));
    // A reply that is not a number ends the measurement.
    lien->reponses["A0"] = ":zz@\n\r";
    c->VoiesX[2].mesDir = 0;
    c->MesureDirecte();
    EXPECT_EQ(c->VoiesX[2].mesDir, 0);
}

} // namespace
