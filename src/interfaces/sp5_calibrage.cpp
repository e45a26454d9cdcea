// TSP5: the calibration record and the conversions between codes and volts.
#include "sp5.h"

#include "arrondis.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace {

constexpr std::array<double, 4> calibres = {10.0, 5.0, 1.0, 0.2};

uint32_t lireU32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

float lireSingle(const uint8_t* p) {
    const uint32_t bits = lireU32(p);
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

double lireDouble(const uint8_t* p) {
    const uint64_t bits = static_cast<uint64_t>(lireU32(p)) | static_cast<uint64_t>(lireU32(p + 4))
                                                                  << 32;
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}

// A length byte then up to 12 characters; a length beyond the field is cut to it.
QString lireTexte12(const uint8_t* p) {
    const int n = std::min<int>(p[0], 12);
    return QString::fromLatin1(reinterpret_cast<const char*>(p + 1), n);
}

template <std::size_t N> void lireSingles(const uint8_t* p, std::array<float, N>& t) {
    for (std::size_t k = 0; k < N; ++k)
        t[k] = lireSingle(p + 4 * k);
}

bool gainUtilisable(float g) {
    return std::isfinite(g) && g != 0.0f;
}

} // namespace

TCalibrageSP5 TCalibrageSP5::decoder(const uint8_t* octets) {
    TCalibrageSP5 c;
    c.Reserved = octets[0];
    c.NumeroSerie = lireTexte12(octets + 1);
    lireSingles(octets + 14, c.Ampli_EA);
    lireSingles(octets + 78, c.Offset_EA);
    lireSingles(octets + 206, c.Offset_EADiff);
    lireSingles(octets + 334, c.Ampli_SA);
    lireSingles(octets + 342, c.Offset_SA);
    c.DateEtalonnage = lireDouble(octets + 350);
    c.DateCablage = lireDouble(octets + 358);
    c.NumeroSerieCablage = lireTexte12(octets + 366);
    return c;
}

double TSP5::calibreVolts(int r) {
    return calibres[std::clamp(r, 0, 3)];
}

double TSP5::gainNominal(int r) {
    return 2.0 * calibreVolts(r) / 4096.0;
}

double TSP5::offsetNominal(int r) {
    return -calibreVolts(r);
}

int TSP5::indexCalibre(int voie) const {
    return std::clamp(VoiesX[voie].idxCalibreEA, 0, 3);
}

void TSP5::calibrageNominal() {
    // Until a record is read the conversions use the unit's nominal coefficients, so
    // that Ux and ValUx never work with a zero gain.
    const int nbCal = nbCalEA + 2;
    a1.assign(nbEAU, std::vector<double>(nbCal));
    b1.assign(nbEAU, std::vector<double>(nbCal));
    b1diff.assign(nbCanauxUt, std::vector<double>(nbCal));
    for (int r = 0; r < nbCal; ++r) {
        const int rc = r < nbCalEA ? r : 0;
        for (int i = 0; i < nbEAU; ++i) {
            a1[i][r] = gainNominal(rc);
            b1[i][r] = offsetNominal(rc);
        }
        for (int c = 0; c < nbCanauxUt; ++c)
            b1diff[c][r] = offsetNominal(rc);
    }
}

void TSP5::RecupereCalibration() {
    if (!appelPossible())
        return;
    std::array<uint8_t, TCalibrageSP5::taille> octets{};
    fonctions_.SP5_RecupereCalibration(octets.data());
    fCalibrageSP5 = TCalibrageSP5::decoder(octets.data());
    numeroSerie = fCalibrageSP5.NumeroSerie;
    if (!Presente())
        numeroSerie = QStringLiteral("SP5Absente");
}

void TSP5::MAJCalibrage() {
    // An entry of the record that is not a usable number keeps the nominal value.
    const TCalibrageSP5& k = fCalibrageSP5;
    for (int c = 0; c < nbCanauxUt; ++c) {
        for (int r = 0; r < nbCalEA; ++r) {
            const float g = k.Ampli_EA[4 * c + r];
            const double gain = gainUtilisable(g) ? g : gainNominal(r);
            a1[c][r] = gain;
            a1[c + nbCanauxUt][r] = gain;
            const float od = k.Offset_EADiff[4 * c + r];
            b1diff[c][r] = std::isfinite(od) ? od : offsetNominal(r);
        }
    }
    for (int i = 0; i < nbEAU; ++i) {
        for (int r = 0; r < nbCalEA; ++r) {
            const float o = k.Offset_EA[4 * i + r];
            b1[i][r] = std::isfinite(o) ? o : offsetNominal(r);
        }
    }
}

double TSP5::Ux(int voieX, int vNum) {
    if (voieX < 0 || voieX >= nbEAU)
        return 0.0;
    const int r = indexCalibre(voieX);
    const bool diff = voieX < nbCanauxUt && canauxDiff[voieX];
    const double offset = diff ? b1diff[voieX][r] : b1[voieX][r];
    const double u = vNum * a1[voieX][r] + offset;
    const double R = calibreVolts(r);
    return std::clamp(u, -R, R);
}

int TSP5::ValUx(int voieX, float U1) {
    if (voieX < 0 || voieX >= nbEAU)
        return 0;
    const int r = indexCalibre(voieX);
    const bool diff = voieX < nbCanauxUt && canauxDiff[voieX];
    const double offset = diff ? b1diff[voieX][r] : b1[voieX][r];
    const double gain = a1[voieX][r];
    if (!gainUtilisable(static_cast<float>(gain)))
        return 0;
    return std::clamp(arrondi((static_cast<double>(U1) - offset) / gain), 0, 4095);
}
