#pragma once
// Sensor description of an input and the conversion functions from volts to the
// sensor's quantities.
#include <QString>
#include <array>
#include <cstdint>

// Conversion of a voltage x into a quantity, with parameter p.
using TFcUUp = float (*)(float p, float x);

float FcIdentite(float p, float x);      // x
float FcProduit(float p, float x);       // x * p
float FcQuotient(float p, float x);      // x / p
float FcAbsorbance(float p, float x);    // from a transmittance in percent
float FcTransmittance(float p, float x); // in percent, from an absorbance

struct TCapteur {
    std::array<double, 2> a{}; // quantity = a * U + b, per quantity
    std::array<double, 2> b{};
    int CodeCapteur = 0; // 0: plain voltage
    float ValMinCapteur = 0.0f;
    float ValMaxCapteur = 0.0f;
    float ValMinUt = 0.0f;
    float ValMaxUt = 0.0f;
    float U1et = 0.0f;
    float U2et = 0.0f;
    float gp1et = 0.0f;
    float gp2et = 0.0f;
    std::array<float, 2> ResolutionsCapteur{};
    std::array<float, 2> incertitudes{};
    QString sDesignation;
    QString sSymboleGrandeur;
    QString sTypeGrandeur;
    QString sUnite;
    QString sGrandeur;
    int calNominal = 0;
    int nbGrPhyX = 0;
    std::array<float, 4> calCAPMin{};
    std::array<float, 4> calCAPMax{};
    int GrAEtalonner_ = 0;
    bool etalonne = false;
    int codeEtalonnage = 0;
    float parProp = 0.0f;
    std::array<uint8_t, 12> ns{};
    float calCapteur = 0.0f;
    float a1Capteur = 0.0f;
    float b1Capteur = 0.0f;

    bool operator==(const TCapteur&) const = default;
};

// A plain voltage input: code 0, gains 1, offsets 0, quantity "Tension" in "V",
// symbol "u", one quantity, span ±valMax, resolution resolution. The designation and
// the full symbol differ between the units and are given by the driver.
void capteurTensionDefaut(TCapteur& cap, const QString& sDesignation, const QString& sGrandeur,
                          float valMax, float resolution);
