#include "capteur.h"

#include <cmath>

float FcIdentite(float, float x) {
    return x;
}

float FcProduit(float p, float x) {
    return x * p;
}

float FcQuotient(float p, float x) {
    return x / p;
}

float FcAbsorbance(float, float x) {
    // A transmittance of (nearly) zero has no finite absorbance.
    if (x <= 1e-20f)
        return 0.0f;
    return static_cast<float>(-std::log10(static_cast<double>(x) / 100.0));
}

float FcTransmittance(float, float x) {
    return static_cast<float>(100.0 * std::pow(10.0, -static_cast<double>(x)));
}

void capteurTensionDefaut(TCapteur& cap, const QString& sDesignation, const QString& sGrandeur,
                          float valMax, float resolution) {
    cap.CodeCapteur = 0;
    cap.a = {1.0, 1.0};
    cap.b = {0.0, 0.0};
    cap.sDesignation = sDesignation;
    cap.sTypeGrandeur = QStringLiteral("Tension");
    cap.sSymboleGrandeur = QStringLiteral("u");
    cap.sGrandeur = sGrandeur;
    cap.sUnite = QStringLiteral("V");
    cap.ValMinCapteur = -valMax;
    cap.ValMaxCapteur = valMax;
    cap.ValMinUt = -valMax;
    cap.ValMaxUt = valMax;
    cap.ResolutionsCapteur[0] = resolution;
    cap.calNominal = 0;
    cap.nbGrPhyX = 1;
}
