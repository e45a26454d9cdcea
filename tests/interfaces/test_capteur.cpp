// Sensor descriptions and the conversion functions from volts to a quantity.
#include "capteur.h"
#include "centrale.h"

#include <gtest/gtest.h>

namespace {

TEST(Capteur, FonctionsDeConversion) {
    const struct {
        const char* nom;
        TFcUUp f;
        float p, x, attendu;
    } cas[] = {
        {"identite", &FcIdentite, 3.0f, 2.5f, 2.5f},
        {"produit", &FcProduit, 3.0f, 2.0f, 6.0f},
        {"quotient", &FcQuotient, 4.0f, 2.0f, 0.5f},
        {"absorbance 100 %", &FcAbsorbance, 0.0f, 100.0f, 0.0f},
        {"absorbance 10 %", &FcAbsorbance, 0.0f, 10.0f, 1.0f},
        {"absorbance 1 %", &FcAbsorbance, 0.0f, 1.0f, 2.0f},
        {"absorbance 0 %", &FcAbsorbance, 0.0f, 0.0f, 0.0f},
        {"absorbance 1e-20", &FcAbsorbance, 0.0f, 1e-20f, 0.0f},
        {"absorbance 1e-21", &FcAbsorbance, 0.0f, 1e-21f, 0.0f},
        {"absorbance negative", &FcAbsorbance, 0.0f, -5.0f, 0.0f},
        {"absorbance 1e-19", &FcAbsorbance, 0.0f, 1e-19f, 21.0f},
        {"transmittance 0", &FcTransmittance, 0.0f, 0.0f, 100.0f},
        {"transmittance 1", &FcTransmittance, 0.0f, 1.0f, 10.0f},
        {"transmittance 2", &FcTransmittance, 0.0f, 2.0f, 1.0f},
        {"transmittance -1", &FcTransmittance, 0.0f, -1.0f, 1000.0f},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.nom);
        EXPECT_NEAR(c.f(c.p, c.x), c.attendu, 1e-4f * (1.0f + std::abs(c.attendu)));
    }
}

TEST(Capteur, AbsorbanceEtTransmittanceSontReciproques) {
    for (float a : {0.0f, 0.25f, 0.5f, 1.0f, 1.7f, 3.0f}) {
        SCOPED_TRACE(a);
        EXPECT_NEAR(FcAbsorbance(0.0f, FcTransmittance(0.0f, a)), a, 1e-5f);
    }
}

TEST(Capteur, VoieParDefautConvertitParLIdentite) {
    const TVoie v;
    EXPECT_EQ(v.FcUUp, &FcIdentite);
    for (TFcUUp f : v.grCap)
        EXPECT_EQ(f, &FcIdentite);
    EXPECT_EQ(v.nbGUCapX, 1);
    EXPECT_EQ(v.sensConv, 1);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(v.CalsVoie[i], -1);
        EXPECT_EQ(v.calsVoieR[i], -1.0f);
    }
    EXPECT_FALSE(v.active);
}

TEST(Capteur, DescriptionDUneEntreeDeTension) {
    TCapteur cap;
    cap.CodeCapteur = 33;
    cap.a = {25.0, 3.0};
    cap.nbGrPhyX = 2;
    capteurTensionDefaut(cap, QStringLiteral("Aucun capteur"), QStringLiteral("u[0M]"), 10.0f,
                         0.005f);
    EXPECT_EQ(cap.CodeCapteur, 0);
    EXPECT_EQ(cap.a[0], 1.0);
    EXPECT_EQ(cap.a[1], 1.0);
    EXPECT_EQ(cap.b[0], 0.0);
    EXPECT_EQ(cap.b[1], 0.0);
    EXPECT_EQ(cap.sDesignation, QStringLiteral("Aucun capteur"));
    EXPECT_EQ(cap.sTypeGrandeur, QStringLiteral("Tension"));
    EXPECT_EQ(cap.sSymboleGrandeur, QStringLiteral("u"));
    EXPECT_EQ(cap.sGrandeur, QStringLiteral("u[0M]"));
    EXPECT_EQ(cap.sUnite, QStringLiteral("V"));
    EXPECT_EQ(cap.ValMinCapteur, -10.0f);
    EXPECT_EQ(cap.ValMaxCapteur, 10.0f);
    EXPECT_EQ(cap.ValMinUt, -10.0f);
    EXPECT_EQ(cap.ValMaxUt, 10.0f);
    EXPECT_EQ(cap.ResolutionsCapteur[0], 0.005f);
    EXPECT_EQ(cap.calNominal, 0);
    EXPECT_EQ(cap.nbGrPhyX, 1);
}

} // namespace
