// The engine with the V6 driver over a scripted link: the codes the unit sends reach the
// store, a unit that refuses its settings is not started and the user is told, and an
// unplugged unit ends the acquisition with what was read kept.
#include "moteuracquisition.h"
#include "sysamv6.h"
#include "transport_v6_script.h"
#include "vue_essai.h"

#include <gtest/gtest.h>

namespace {

using v6script::octetsEchantillons;
using v6script::TransportScript;

class MoteurV6Script : public ::testing::Test {
protected:
    void SetUp() override {
        auto t = std::make_unique<TransportScript>(h);
        lien = t.get();
        unite = std::make_unique<TSYSAMV6>(std::move(t), 1, CENTRALE_V6, &h);
        unite->acquisitionUtilisateur = true;
        ASSERT_TRUE(unite->CentralePresente);
        moteur = std::make_unique<TMoteurAcquisition>(unite.get(), series, vue);
        // The unit's start: its report, then on "D" the codes of the test.
        lien->surOrdre = [this](TransportScript& t, char o) {
            if (o == 'F') {
                t.pousser(":DECL@\n\r");
            } else if (o == 'D') {
                t.pousser(":");
                t.pousserOctets(octetsEchantillons(codes));
            }
        };
    }
    void TearDown() override {
        moteur.reset();
        unite->liberer(true);
    }

    v6script::HorlogeVirtuelle h;
    TransportScript* lien = nullptr;
    std::unique_ptr<TSYSAMV6> unite;
    TSeriesMesurees series;
    TVueEssai vue;
    std::unique_ptr<TMoteurAcquisition> moteur;
    std::vector<int> codes;
};

TEST_F(MoteurV6Script, LesCodesArriventDansLeMagasin) {
    unite->setDurees(0.01, 101, false);
    for (int k = 0; k < 102; ++k)
        codes.push_back(100 + 37 * k);
    moteur->BAcquisitionClick();
    EXPECT_EQ(moteur->MODEGENERAL, 2);
    EXPECT_TRUE(vue.avertissements.empty());
    ASSERT_EQ(series.nbVoiesMesurees, 1);
    ASSERT_EQ(series.tv2[0].size(), 101u);
    for (std::size_t k = 0; k < 101; ++k)
        ASSERT_FLOAT_EQ(series.tv2[0][k], static_cast<float>(unite->Ux(0, codes[k]))) << k;
    EXPECT_EQ(unite->NbProcessus, 0);
}

TEST_F(MoteurV6Script, ReglagesRefusesPasDeDemarrage) {
    lien->reponses["N"] = ":@\n\r"; // the unit refuses the number of points
    unite->setDurees(0.01, 101, false);
    moteur->BAcquisitionClick();
    EXPECT_EQ(moteur->MODEGENERAL, 2);
    ASSERT_EQ(vue.avertissements.size(), 1u);
    EXPECT_EQ(vue.avertissements[0], unite->refusDemarrage());
    EXPECT_TRUE(vue.avertissements[0].startsWith(QStringLiteral("La centrale SYSAM V6")));
    EXPECT_EQ(std::count(lien->commandes.begin(), lien->commandes.end(), "F"), 0);
    EXPECT_EQ(unite->NbProcessus, 0);
}

TEST_F(MoteurV6Script, DebrancheeLesValeursLuesSontGardees) {
    unite->setDurees(0.1, 1001, false);
    codes.assign(600, 3000); // then nothing more
    vue.pendantMessages = [this](int) {
        if (moteur->ptFront >= 500)
            lien->debrancher();
    };
    moteur->BAcquisitionClick();
    EXPECT_EQ(moteur->MODEGENERAL, 2);
    ASSERT_EQ(vue.avertissements.size(), 1u);
    EXPECT_EQ(vue.avertissements[0], TMoteurAcquisition::texteDebranchement);
    ASSERT_EQ(series.nbVoiesMesurees, 1);
    EXPECT_FLOAT_EQ(series.tv2[0][300], static_cast<float>(unite->Ux(0, 3000)));
    EXPECT_EQ(unite->NbProcessus, 0);
}

} // namespace
