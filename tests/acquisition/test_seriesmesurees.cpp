#include "centrale_essai.h"
#include "seriesmesurees.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class SeriesMesurees : public ::testing::Test {
protected:
    TCentraleEssai centrale;
    TSeriesMesurees store;
    TContexteValidation ctx{{},
                            {},
                            QDateTime(QDate(2026, 12, 9), QTime(10, 15, 7)),
                            QLocale(QLocale::French, QLocale::France)};

    SeriesMesurees() {
        for (int i = 0; i < 8; ++i) {
            ctx.echsVoies[i] = 10.0f + i;
            ctx.clsVX[i] = 0x02000000u + i;
        }
    }

    // One acquisition as the loops make it: every signal gets the given values.
    QString acquerir(const std::vector<float>& valeurs, bool ajouter = false,
                     TTypeValidation type = TTypeValidation::Simple) {
        store.ajouterLesCourbesX = ajouter;
        store.PrepareTV2(centrale, false);
        for (int c = 0; c < centrale.nbVoiesSignaux; ++c) {
            TVoieMesuree& d = store.voiesMesurees[store.nbVoiesMesurees + c];
            for (size_t k = 0; k < valeurs.size(); ++k) {
                store.tv2[store.nbVoiesMesurees + c][k] = valeurs[k];
                d.max = std::max(d.max, valeurs[k]);
                d.min = std::min(d.min, valeurs[k]);
            }
        }
        return store.valider(centrale, type, ctx);
    }

    std::vector<QString> entetes() const {
        std::vector<QString> r;
        for (int s = 0; s < store.nbVoiesMesurees; ++s)
            r.push_back(store.voiesMesurees[s].sEnteteVM);
        return r;
    }
};

const std::vector<float> cinq{0.0f, 0.5f, 1.0f, 1.5f, 2.0f};

TEST_F(SeriesMesurees, UneAcquisitionDeEA0DonneUneSerieDecriteEtDatee) {
    centrale.activer({0});
    EXPECT_EQ(acquerir(cinq), QString::fromUtf8(" 1 série acquise"));
    ASSERT_EQ(store.nbVoiesMesurees, 1);
    ASSERT_EQ(store.tv2.size(), 1u);
    EXPECT_EQ(store.tv2[0], cinq);
    const TVoieMesuree& d = store.voiesMesurees[0];
    EXPECT_EQ(d.sEnteteVM, "u[0_M]");
    EXPECT_EQ(d.sUniteVM, "V");
    EXPECT_EQ(d.multVM, 1.0f);
    EXPECT_EQ(d.capCommRegvoie1VM, "EA0");
    EXPECT_TRUE(d.capCommRegvoie2VM.isEmpty());
    EXPECT_EQ(d.echVM, 10.0f);
    EXPECT_EQ(d.clVM, 0x02000000u);
    EXPECT_TRUE(store.enregistrerX);
    EXPECT_TRUE(centrale.acquisitionFaite);
    EXPECT_EQ(centrale.nbPtsAX, 5);
    EXPECT_DOUBLE_EQ(centrale.dtAX, 0.001);
    EXPECT_DOUBLE_EQ(centrale.dureeTotaleAX, 0.004);
    EXPECT_EQ(centrale.acqPerPrec.RTnbPts, 5);
    EXPECT_EQ(store.sDateAcq0, QString::fromUtf8("09 déc. 26 - 10h 15mn"));
    EXPECT_EQ(store.sdateAcqX, QString::fromUtf8("09 déc. 26 - 10h 15mn 7s"));
    EXPECT_EQ(store.heureAcq, ctx.maintenant);
}

TEST_F(SeriesMesurees, LePermanentColleLesSecondesAuxMinutes) {
    centrale.activer({0});
    acquerir(cinq, false, TTypeValidation::Permanente);
    EXPECT_EQ(store.sdateAcqX, QString::fromUtf8("09 déc. 26 - 10h 15mn7s"));
}

TEST_F(SeriesMesurees, LesAcquisitionsAjouteesRecoiventLesLettresSuivantes) {
    centrale.activer({0});
    acquerir(cinq);
    ASSERT_TRUE(store.ajoutPossible(centrale));
    EXPECT_EQ(acquerir(cinq, true), QString::fromUtf8("2 séries acquises"));
    EXPECT_EQ(entetes(), (std::vector<QString>{"u[0_M]a", "u[0_M]b"}));
    acquerir(cinq, true);
    EXPECT_EQ(entetes(), (std::vector<QString>{"u[0_M]a", "u[0_M]b", "u[0_M]c"}));
    EXPECT_EQ(store.sUMesurees, std::vector<QString>{"u[0_M]"});
    EXPECT_EQ(store.nbUMesurees, std::vector<int>{3});
    EXPECT_EQ(store.nPrem, std::vector<int>{0});
}

TEST_F(SeriesMesurees, UneAcquisitionNonAjouteeRemplaceLesSeries) {
    centrale.activer({0});
    acquerir(cinq);
    acquerir(cinq, true);
    EXPECT_EQ(acquerir({1.0f}), QString::fromUtf8(" 1 série acquise"));
    EXPECT_EQ(entetes(), std::vector<QString>{"u[0_M]"});
    EXPECT_EQ(store.tv2.size(), 1u);
}

TEST_F(SeriesMesurees, DeuxSignauxDontUnDifferentiel) {
    centrale.canauxDiff[1] = true;
    centrale.activer({0, 1});
    EXPECT_EQ(acquerir(cinq), QString::fromUtf8("2 séries acquises"));
    EXPECT_EQ(entetes(), (std::vector<QString>{"u[0_M]", "u[1_5]"}));
    const TVoieMesuree& d = store.voiesMesurees[1];
    EXPECT_TRUE(d.ModeDiffVM);
    EXPECT_EQ(d.capCommRegvoie1VM, "EA1");
    EXPECT_EQ(d.capCommRegvoie2VM, "EA5");
    EXPECT_EQ(d.echVM, 11.0f);
}

TEST_F(SeriesMesurees, LesLibellesSontCeuxDeLEntreeQuiPorteLeSignal) {
    centrale.VoiesX[2].idxCalibreUt = 3;
    centrale.activer({2, 6});
    acquerir(cinq);
    EXPECT_EQ(entetes(), (std::vector<QString>{"u[2_M]", "u[6_M]"}));
    EXPECT_EQ(store.voiesMesurees[1].capCommRegvoie1VM, "EA6");
    EXPECT_EQ(store.voiesMesurees[0].calVM, 3);
    EXPECT_EQ(store.voiesMesurees[1].clVM, 0x02000006u);
}

TEST_F(SeriesMesurees, UniteSelonLesValeursEtLeMode) {
    struct Cas {
        std::vector<float> valeurs;
        TTypeValidation type;
        const char* unite;
        float mult;
    };
    const Cas cas[] = {
        {{-0.0005f, 0.0008f}, TTypeValidation::Simple, "µV", 1e6f},
        {{0.1f, 0.5f}, TTypeValidation::Simple, "mV", 1000.0f},
        {{0.0f, 3.0f}, TTypeValidation::Simple, "V", 1.0f},
        {{-5.0f, -1.5f}, TTypeValidation::Simple, "mV", 1000.0f},
        {{-5.0f, -1.5f}, TTypeValidation::Permanente, "V", 1.0f},
        {{-0.0005f, 0.0008f}, TTypeValidation::Permanente, "µV", 1e6f},
        {{-0.5f, 0.0f}, TTypeValidation::Permanente, "mV", 1000.0f},
    };
    centrale.activer({0});
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.unite);
        acquerir(c.valeurs, false, c.type);
        EXPECT_EQ(store.voiesMesurees[0].sUniteVM, QString::fromUtf8(c.unite));
        EXPECT_EQ(store.voiesMesurees[0].multVM, c.mult);
    }
}

TEST_F(SeriesMesurees, UneColonneSansEchantillonGardeLeMinEtLeMaxDeCeQuElleContient) {
    centrale.activer({0, 1});
    store.PrepareTV2(centrale, false);
    store.tv2[0][0] = 2.0f; // the loop stored one value of signal 0 and stopped
    store.voiesMesurees[0].max = store.voiesMesurees[0].min = 2.0f;
    store.valider(centrale, TTypeValidation::Simple, ctx);
    EXPECT_EQ(store.voiesMesurees[1].max, 0.0f);
    EXPECT_EQ(store.voiesMesurees[1].min, 0.0f);
    EXPECT_EQ(store.voiesMesurees[1].sUniteVM, QString::fromUtf8("µV"));
    EXPECT_EQ(store.voiesMesurees[0].max, 2.0f);
}

TEST_F(SeriesMesurees, LesNomsRestentUniquesApresUneSuppression) {
    centrale.activer({0});
    acquerir(cinq);
    acquerir(cinq, true);
    ASSERT_TRUE(store.supprimerSerie(0, centrale));
    EXPECT_EQ(entetes(), std::vector<QString>{"u[0_M]b"});
    EXPECT_EQ(store.nbUMesurees, std::vector<int>{1});
    acquerir(cinq, true);
    acquerir(cinq, true);
    EXPECT_EQ(entetes(), (std::vector<QString>{"u[0_M]b", "u[0_M]c", "u[0_M]d"}));
    // Deleting the middle one: the others keep their names, the next one is "e".
    ASSERT_TRUE(store.supprimerSerie(1, centrale));
    acquerir(cinq, true);
    EXPECT_EQ(entetes(), (std::vector<QString>{"u[0_M]b", "u[0_M]d", "u[0_M]e"}));
    EXPECT_EQ(store.nbUMesurees, std::vector<int>{3});
}

TEST_F(SeriesMesurees, LesEntetesCourtsSontGroupesSansDoublon) {
    TCentraleEssai v6(true);
    v6.activer({0, 1});
    store.ajouterLesCourbesX = false;
    for (bool ajouter : {false, true, true}) {
        store.ajouterLesCourbesX = ajouter;
        store.PrepareTV2(v6, false);
        store.valider(v6, TTypeValidation::Simple, ctx);
    }
    EXPECT_EQ(entetes(),
              (std::vector<QString>{"u[1]a", "u[2]a", "u[1]b", "u[2]b", "u[1]c", "u[2]c"}));
    store.supprimerSerie(0, v6);
    store.MAJEntetesVM();
    EXPECT_EQ(store.sUMesurees, (std::vector<QString>{"u[2]", "u[1]"}));
    EXPECT_EQ(store.nbUMesurees, (std::vector<int>{3, 2}));
    EXPECT_EQ(store.nPrem, (std::vector<int>{0, 1}));
}

TEST_F(SeriesMesurees, SupprimerLaSeuleSerieVideLeMagasin) {
    centrale.activer({0});
    acquerir(cinq);
    EXPECT_EQ(store.questionSuppression(0),
              QString::fromUtf8("Supprimer effectivement la série de mesures u[0_M] ?"));
    EXPECT_FALSE(store.supprimerSerie(1, centrale));
    EXPECT_FALSE(store.supprimerSerie(-1, centrale));
    ASSERT_TRUE(store.supprimerSerie(0, centrale));
    EXPECT_EQ(store.nbVoiesMesurees, 0);
    EXPECT_TRUE(store.tv2.empty());
    EXPECT_TRUE(store.voiesMesurees.empty());
    EXPECT_EQ(centrale.nbPtsAX, 0);
    EXPECT_FALSE(store.ajoutPossible(centrale));
    EXPECT_EQ(TSeriesMesurees::texteCompteurSeries(0), QString::fromUtf8("0 séries acquises"));
}

TEST_F(SeriesMesurees, LesLecteursSontBornesParLaSerieEtNonParLesReglages) {
    centrale.activer({0});
    acquerir(cinq);
    centrale.nbPts0X = centrale.nbPtsAffX = 1001; // settings changed after the acquisition
    EXPECT_FALSE(store.ajoutPossible(centrale));
    EXPECT_EQ(store.nbPointsSerie(0), 5);
    EXPECT_EQ(store.nbPointsCommuns(centrale.nbPtsAffX), 5);
    EXPECT_EQ(store.nbPointsCommuns(3), 3);
    EXPECT_EQ(store.nbPointsSerie(1), 0);
    EXPECT_TRUE(store.supprimerSerie(0, centrale)); // moves whole columns, reads nothing more
}

TEST_F(SeriesMesurees, LeDoubleTrameValideLaDerniereTrameComplete) {
    centrale.activer({0});
    store.PrepareTV2(centrale, true);
    ASSERT_EQ(store.tv2[0].size(), 10u);
    for (int k = 0; k < 10; ++k)
        store.tv2[0][k] = static_cast<float>(k);
    store.voiesMesurees[0].max = 9.0f;
    store.voiesMesurees[0].min = 0.0f;
    store.recopierDerniereTrame(centrale.nbPts0X);
    store.valider(centrale, TTypeValidation::Permanente, ctx);
    EXPECT_EQ(store.tv2[0], (std::vector<float>{5, 6, 7, 8, 9}));
}

TEST_F(SeriesMesurees, RAZVideLeMagasinJusquAuxColonnesDesSignauxCourants) {
    centrale.activer({0});
    acquerir(cinq);
    acquerir(cinq, true);
    centrale.activer({0, 1, 2});
    store.RAZ(centrale);
    EXPECT_EQ(store.nbVoiesMesurees, 0);
    EXPECT_EQ(store.tv2.size(), 3u);
    EXPECT_EQ(store.tv2[2], std::vector<float>(5, 0.0f));
    EXPECT_EQ(store.voiesMesurees[0].max, -120.0f);
    EXPECT_EQ(store.voiesMesurees[0].min, 120.0f);
    EXPECT_TRUE(store.sUMesurees.empty());
    EXPECT_FALSE(store.enregistrerX);
    EXPECT_EQ(acquerir(cinq), QString::fromUtf8("3 séries acquises"));
    EXPECT_EQ(entetes(), (std::vector<QString>{"u[0_M]", "u[1_M]", "u[2_M]"}));
}

TEST_F(SeriesMesurees, RetourAcqPrecedenteReprendLaDureeEtLesPointsDeLaSerie) {
    centrale.activer({0});
    acquerir(cinq);
    centrale.dureeTotale0X = 2.0;
    centrale.nbPts0X = 1001;
    EXPECT_EQ(retourAcqPrecedente(centrale), 1);
    EXPECT_DOUBLE_EQ(centrale.dureeDemandee, 0.004);
    EXPECT_EQ(centrale.nbPtsDemande, 5);
    EXPECT_EQ(centrale.modeRecuperation, 1);
    EXPECT_EQ(centrale.prepareAppliques, 1);
    EXPECT_TRUE(store.ajoutPossible(centrale));
}

} // namespace
