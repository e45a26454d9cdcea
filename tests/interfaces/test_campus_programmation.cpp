// The CAMPUS driver on a stand-in library: loading, construction, calibration, ranges,
// trigger settings, the programming image and the release.
#include "campus_factice.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>

namespace {

using campusfactice::Banc;

TEST(CampusChargement, ErreursDeChargementEnFrancais) {
    QTemporaryDir dossier;
    ASSERT_TRUE(dossier.isValid());
    const QString absent = dossier.filePath("Campus.DLL");
    const QString illisible = dossier.filePath("libcampussim.so");
    {
        QFile f(illisible);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("pas une bibliothèque");
    }
    const QString incomplete = QStringLiteral(KIRVANE_BIBLIO_ESSAI);
    const struct {
        QString chemin;
        QString texte;
    } cas[] = {
        {absent, "Erreur DLL " + absent + " inexistante"},
        {QStringLiteral("Campus.DLL"), "Erreur DLL Campus.DLL inexistante"},
        {illisible, "Erreur de Chargement de la DLL \r" + illisible},
        {incomplete, "Erreur de Chargement de la fonction DonneNumeroSerieCentrale \r dans la "
                     "DLL \r" +
                         incomplete},
    };
    for (const auto& k : cas) {
        SCOPED_TRACE(k.chemin.toStdString());
        try {
            TSYSAMCAMPUS c(k.chemin, 1);
            ADD_FAILURE() << "pas d'erreur";
        } catch (const EErreurBibliotheque& e) {
            EXPECT_EQ(e.texte(), k.texte);
        }
    }
}

TEST(CampusChargement, TexteDeLaBibliothequeCopieEtBorne) {
    EXPECT_EQ(copierTexteCampus(nullptr), QString());
    EXPECT_EQ(copierTexteCampus(u"%"), QStringLiteral("%"));
    EXPECT_EQ(copierTexteCampus(u"Déjà"), QStringLiteral("Déjà"));
    std::u16string long_(5000, u'x'); // no terminator within reach: bounded
    EXPECT_EQ(copierTexteCampus(long_.c_str()).size(), 1024);
}

TEST(CampusConstruction, ValeursEtDiodes) {
    Banc b({});
    TSYSAMCAMPUS& c = b.c;
    EXPECT_TRUE(c.CentraleInstallee);
    EXPECT_EQ(c.typeCentrale, CENTRALE_CAMPUS);
    EXPECT_EQ(c.nomCentrale, QStringLiteral("SYSAM CAMPUS"));
    EXPECT_EQ(c.nbEAU, 4);
    EXPECT_EQ(c.nbVoiesActivesX, 0);
    EXPECT_EQ(c.sEntrees, (std::vector<QString>{"V1", "V2", "V3", "V4"}));
    EXPECT_EQ(c.sCalibres[3], QStringLiteral("-1V/+1V"));
    EXPECT_EQ(c.getCapEA(1), QStringLiteral("V2"));
    EXPECT_EQ(c.getCapVM(1), QStringLiteral("u[2]"));
    EXPECT_EQ(c.getIntituleVoie(3), QStringLiteral("V[4]"));
    EXPECT_NEAR(c.dureeTotale0X, 0.1, 1e-12);
    EXPECT_EQ(c.nbPtsAffX, 1001);
    EXPECT_EQ(c.NbPtsFifo, 180);
    EXPECT_TRUE(c.ITeHINT.startsWith("Intervalle de temps entre deux points de mesures: \n\r"));
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(campusfactice::led[static_cast<std::size_t>(i)], LED_BLEU) << i;
    // An active input is red, an idle one blue.
    c.activeVoieA(2, false);
    EXPECT_EQ(campusfactice::led[2], LED_ROUGE);
    c.desactiveVoieA(2, false);
    EXPECT_EQ(campusfactice::led[2], LED_BLEU);
}

TEST(CampusConstruction, LiberationDansLOrdreEtAppelsGardes) {
    Banc b;
    b.c.activeVoieA(1, false);
    b.c.liberer(true);
    EXPECT_EQ(campusfactice::sortiesRemises, (std::vector<int32_t>{16, 17}));
    EXPECT_EQ(campusfactice::led, (std::array<int32_t, 4>{LED_BLEU, LED_BLEU, LED_BLEU, LED_BLEU}));
    EXPECT_EQ(campusfactice::nbFermetures, 1);
    EXPECT_FALSE(b.c.DLL_Chargee);
    // Released, nothing reaches the library any more.
    const int selections = campusfactice::nbSelections;
    b.c.liberer(true);
    b.c.Reset();
    b.c.setCal(0, 2, true);
    b.c.MesureDirecte();
    EXPECT_FALSE(b.c.Presente());
    TFifoSP5 fifo{};
    EXPECT_EQ(b.c.LireFifo(&fifo), 0);
    EXPECT_EQ(campusfactice::nbFermetures, 1);
    EXPECT_EQ(campusfactice::nbSelections, selections);
    EXPECT_EQ(campusfactice::sortiesRemises.size(), 2u);
}

TEST(CampusCalibrage, PenteSur3000Codes) {
    Banc b;
    // A perfect unit: code 4095 on the 30 V range reads 29.985 V.
    EXPECT_NEAR(b.c.Ux(0, 4095), 29.985, 5e-4);
    EXPECT_NEAR(b.c.Ux(0, 0), -30.0, 1e-4);
    // A unit with its own gain and offset: the driver finds them back.
    campusfactice::gains[2][1] = 0.0075;
    campusfactice::offsets[2][1] = -14.6;
    b.c.numeroSerieCalibre.clear();
    b.c.calibrageFait = false;
    b.c.RecupereCalibration();
    b.c.setCal(2, 1, false);
    EXPECT_NEAR(b.c.Ux(2, 1000), 1000 * 0.0075 - 14.6, 1e-5);
    EXPECT_NEAR(b.c.Ux(2, 3000), 3000 * 0.0075 - 14.6, 1e-5);
    EXPECT_FALSE(b.c.calibrageCAMPUS.Interdit[2][1]);
    EXPECT_EQ(b.c.ValUx(2, static_cast<float>(1000 * 0.0075 - 14.6)), 1000);
    EXPECT_EQ(b.c.ValUx(2, 1000.0f), 4095);
}

TEST(CampusCalibrage, CalibresRefusesEtRepli) {
    // refused ranges of input 2, range asked -> range taken
    const struct {
        std::array<bool, 4> refuses;
        int demande, pris;
    } cas[] = {
        {{false, false, false, true}, 3, 2}, {{true, true, true, true}, 3, 3},
        {{true, false, false, false}, 0, 1}, {{false, true, true, false}, 2, 0},
        {{true, true, false, false}, 1, 2},  {{false, false, false, false}, 7, 3},
    };
    for (const auto& k : cas) {
        campusfactice::remettre();
        for (std::size_t r = 0; r < 4; ++r)
            if (k.refuses[r])
                campusfactice::gains[2][r] *= 1.5; // 50 % off: not believed
        TSYSAMCAMPUS c(campusfactice::table(), 1);
        c.pauseReglageMs = 0;
        c.RecupereCalibration();
        SCOPED_TRACE(k.demande);
        for (std::size_t r = 0; r < 4; ++r) {
            EXPECT_EQ(c.calibrageCAMPUS.Interdit[2][r], k.refuses[r]) << r;
            if (k.refuses[r]) { // the nominal coefficients stay in force
                EXPECT_FLOAT_EQ(c.calibrageCAMPUS.Ampli_EA[2][r],
                                static_cast<float>(TSYSAMCAMPUS::gainNominal(static_cast<int>(r))));
            }
        }
        c.setCal(2, k.demande, false);
        EXPECT_EQ(c.VoiesX[2].idxCalibreUt, k.pris);
        EXPECT_EQ(c.VoiesX[2].idxCalibreEA, k.pris);
        EXPECT_EQ(campusfactice::calibreVoie[2],
                  static_cast<int32_t>(TSYSAMCAMPUS::calibreVolts(k.pris)));
    }
}

TEST(CampusCalibrage, UniteEchangeeMesureeDeNouveauMemeUniteNon) {
    Banc b;
    const int apresPremiere = campusfactice::nbSelections;
    // The same unit again (the poll has read its serial meanwhile): not measured again.
    EXPECT_TRUE(b.c.Presente());
    b.c.RecupereCalibration();
    EXPECT_EQ(campusfactice::nbSelections, apresPremiere);
    // Unplugged: nominal coefficients; plugged back, its own calibration without measuring.
    campusfactice::gains[0][0] *= 1.1;
    campusfactice::debranchee = true;
    b.c.RecupereCalibration();
    EXPECT_TRUE(b.c.numeroSerie.isEmpty());
    campusfactice::debranchee = false;
    b.c.RecupereCalibration();
    EXPECT_EQ(campusfactice::nbSelections, apresPremiere);
    EXPECT_NEAR(b.c.a1[0][0], TSYSAMCAMPUS::gainNominal(0), 1e-9);
    // Another unit: Presente has already written its serial into numeroSerie, it is
    // measured all the same.
    campusfactice::serie = u"CAMPAUTRE";
    EXPECT_TRUE(b.c.Presente());
    b.c.RecupereCalibration();
    EXPECT_GT(campusfactice::nbSelections, apresPremiere);
    EXPECT_NEAR(b.c.a1[0][0], TSYSAMCAMPUS::gainNominal(0) * 1.1, 1e-7);
    EXPECT_EQ(b.c.numeroSerieCalibre, QStringLiteral("CAMPAUTRE"));
    // The inputs active before are the ones active after.
    EXPECT_EQ(b.c.nbVoiesActivesX, 1);
    EXPECT_EQ(b.c.VoiesActivesX[0], 0);
}

TEST(CampusProgrammation, ImageDesEntreesEtDuDeclenchement) {
    Banc b({1, 3});
    TSYSAMCAMPUS& c = b.c;
    c.PrepareIdxTraitKirvane();
    EXPECT_EQ(c.VoiesActivesX, (std::vector<int>{1, 3, -1, -1}));
    EXPECT_EQ(c.aTabOrdreVoies1, (std::array<int32_t, 9>{-1, 1, -1, 3, -1, -1, -1, -1, -1}));
    EXPECT_EQ(c.idxTraitKirvane, (std::vector<int>{0, 1, -1, -1}));
    // 1001 points on three inputs, 180 per transfer.
    c.activeVoieA(0, false);
    c.NbPtsFifo = 180;
    c.setDurees(0.1, 1001, false);
    c.prepareTousPRX(false);
    EXPECT_EQ(c.nbValTVx, 3060);
    EXPECT_EQ(c.nbPtsR, 1021);

    // An inactive trigger input gives the first active one; the fillers are no input.
    EXPECT_EQ(c.setVoieSynchro(2, false), 0);
    EXPECT_EQ(c.setVoieSynchro(-1, false), 0);
    EXPECT_EQ(c.setVoieSynchro(3, false), 3);
    EXPECT_EQ(c.voieSynchroVA, 2);
    c.setModeDeclenchement(1, false);
    c.setSensDeclSeuil(1, false);
    c.setSeuilDecl(2.5f);
    campusfactice::preparations.clear();
    c.prepareTousPRX(true);
    ASSERT_EQ(campusfactice::preparations.size(), 1u);
    const campusfactice::Preparation& p = campusfactice::preparations[0];
    EXPECT_EQ(p.source, _SOURCE_EA4);
    EXPECT_EQ(p.sens, _DESCENDANT);
    EXPECT_DOUBLE_EQ(p.seuil, 2.5);
    EXPECT_EQ(p.points, c.nbPts0X + c.psc1 + c.psc2);
    EXPECT_NEAR(p.te, c.dt0X, 1e-15);
    EXPECT_TRUE(c.CentralePretePourAcq);
    // Ready: sent once only.
    c.prepareInterfacePourAcq(false);
    EXPECT_EQ(campusfactice::preparations.size(), 1u);
}

TEST(CampusProgrammation, SeuilBorneALaGammeDeLEntree) {
    Banc b({0});
    const struct {
        int calibre;
        float demande, seuil;
    } cas[] = {{2, 12.0f, 9.0f}, {0, -40.0f, -27.0f}, {3, 0.5f, 0.5f}, {1, 1e30f, 13.5f}};
    for (const auto& k : cas) {
        b.c.setCal(0, k.calibre, false);
        b.c.setVoieSynchro(0, false);
        b.c.setSeuilDecl(k.demande);
        EXPECT_FLOAT_EQ(b.c.USeuilDecl, k.seuil) << k.demande;
    }
}

TEST(CampusProgrammation, RefusDeLUniteSignaleEtJamaisPretNiLance) {
    Banc b({0});
    campusfactice::retourPreparation = 3;
    campusfactice::messagePreparation = u"Calibre inconnu";
    b.c.prepareTousPRX(true);
    EXPECT_FALSE(b.c.CentralePretePourAcq);
    b.c.setCal(0, 1, true);
    EXPECT_FALSE(b.c.CentralePretePourAcq);
    try {
        b.c.declencheAcq();
        ADD_FAILURE() << "pas d'erreur";
    } catch (const EErreurBibliotheque& e) {
        EXPECT_EQ(e.texte(), QStringLiteral("La centrale SYSAM CAMPUS n'a pas accepté les "
                                            "réglages de l'acquisition :\n\rCalibre inconnu"));
    }
    EXPECT_FALSE(b.c.acqPeriodiqueEnCours);
    EXPECT_EQ(b.c.NbProcessus, 0);
    EXPECT_EQ(campusfactice::nbDemarrages, 0);

    // Programmed, but the start refused.
    campusfactice::retourPreparation = 0;
    campusfactice::retourDemarrage = 1;
    campusfactice::messageDemarrage = u"Centrale occupée";
    b.c.prepareTousPRX(true);
    EXPECT_TRUE(b.c.CentralePretePourAcq);
    try {
        b.c.declencheAcq();
        ADD_FAILURE() << "pas d'erreur";
    } catch (const EErreurBibliotheque& e) {
        EXPECT_EQ(e.texte(), QStringLiteral("La centrale SYSAM CAMPUS n'a pas démarré "
                                            "l'acquisition :\n\rCentrale occupée"));
    }
    EXPECT_FALSE(b.c.acqPeriodiqueEnCours);
    EXPECT_EQ(b.c.NbProcessus, 0);
}

TEST(CampusMesureDirecte, ChaqueEntreeActiveLueEtConvertie) {
    Banc b({0, 2});
    campusfactice::valeurVoie = {4095, 7, 5, 9};
    b.c.MesureDirecte();
    EXPECT_EQ(b.c.VoiesX[0].mesDir, 4095);
    EXPECT_NEAR(b.c.VoiesX[0].mesDirR, 29.985, 5e-4);
    EXPECT_EQ(b.c.VoiesX[2].mesDir, 5);
    EXPECT_EQ(b.c.VoiesX[1].mesDir, 0); // inactive: not read
    // The library failing on the second input: the first keeps its new value.
    campusfactice::valeurVoie = {100, 0, -1, 0};
    b.c.MesureDirecte();
    EXPECT_EQ(b.c.VoiesX[0].mesDir, 100);
    EXPECT_EQ(b.c.VoiesX[2].mesDir, 5);
}

} // namespace
