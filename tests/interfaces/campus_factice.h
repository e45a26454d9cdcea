#pragma once
// A stand-in for the CAMPUS library, in process: the twelve functions over a state the
// test controls (serial, the unit's true gains and offsets, the samples it delivers and
// how), recording what the driver asked. Handed to TSYSAMCAMPUS(TFonctionsCAMPUS, 1).
#include "sysamcampus.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace campusfactice {

struct Preparation {
    std::array<int32_t, CAMPUS_NB_ORDRE_VOIES> ordre{};
    double te = 0.0;
    int32_t points = 0;
    int32_t source = 0;
    int32_t sens = 0;
    double seuil = 0.0;
    int32_t pretrig = 0;
};

inline std::u16string serie = u"CAMPFACT";
inline std::array<std::array<double, 4>, 4> gains{};   // the unit's own, per input and range
inline std::array<std::array<double, 4>, 4> offsets{}; // volts at code 0
inline std::array<int32_t, 4> calibreVoie{};           // range selected per input, in volts
inline std::array<int32_t, 4> led{};
inline std::vector<int32_t> sortiesRemises;
inline int nbFermetures = 0;
inline int nbSelections = 0;
inline std::vector<Preparation> preparations;
inline int32_t retourPreparation = 0;
inline std::u16string messagePreparation;
inline int32_t retourDemarrage = 0;
inline std::u16string messageDemarrage;
inline int nbDemarrages = 0;
inline std::u16string reponseArret = u"%";
inline int nbArrets = 0;
// CalibreTe: its answer is te * facteurCalibreTe.
inline double facteurCalibreTe = 1.0;
inline int nbCalibreTe = 0;
// The samples the unit will deliver, in order; latence empty reads before the first;
// at most parAppel per read; debranchee makes every read answer -1.
inline std::deque<int32_t> flux;
inline int latence = 0;
inline int32_t parAppel = 1 << 30;
inline bool debranchee = false;
inline std::vector<int32_t> demandes; // counts asked, read by read
inline std::array<int32_t, 4> valeurVoie{};

inline const char16_t* DonneNumeroSerieCentrale() {
    return debranchee ? u"" : serie.c_str();
}
inline const char16_t* SelectionneCalibre(int32_t voie, int32_t calibreVolts) {
    if (voie >= 0 && voie < 4)
        calibreVoie[static_cast<std::size_t>(voie)] = calibreVolts;
    ++nbSelections;
    return u"ok";
}
inline int32_t CommandeLed(int32_t voie, int32_t etat) {
    if (voie >= 0 && voie < 4)
        led[static_cast<std::size_t>(voie)] = etat;
    return 0;
}
inline int indexCalibre(int32_t volts) {
    switch (volts) {
    case 30:
        return 0;
    case 15:
        return 1;
    case 10:
        return 2;
    default:
        return 3;
    }
}
inline double ConvertiDonneeEntreeNumeriqueEnAnalogique(int32_t code, int32_t voie) {
    const auto v = static_cast<std::size_t>(std::clamp(voie, 0, 3));
    const auto r = static_cast<std::size_t>(indexCalibre(calibreVoie[v]));
    return code * gains[v][r] + offsets[v][r];
}
inline double CalibreTe(double te, const int32_t*) {
    ++nbCalibreTe;
    return te * facteurCalibreTe;
}
inline int32_t PrepareAcquisition(const int32_t* ordre, double* te, int32_t* points, int32_t source,
                                  int32_t sens, double seuil, int32_t pretrig, uint8_t,
                                  const char16_t** message) {
    Preparation p;
    std::copy(ordre, ordre + CAMPUS_NB_ORDRE_VOIES, p.ordre.begin());
    p.te = *te;
    p.points = *points;
    p.source = source;
    p.sens = sens;
    p.seuil = seuil;
    p.pretrig = pretrig;
    preparations.push_back(p);
    *message = retourPreparation == 0 ? nullptr : messagePreparation.c_str();
    return retourPreparation;
}
inline int32_t DemarreAcquisition(const char16_t** message) {
    ++nbDemarrages;
    *message = retourDemarrage == 0 ? nullptr : messageDemarrage.c_str();
    return retourDemarrage;
}
inline int32_t LitDonneeNumerique(int32_t nombre, int32_t* tampon) {
    if (debranchee)
        return -1;
    demandes.push_back(nombre);
    if (latence > 0) {
        --latence;
        return 0;
    }
    const int32_t n = std::min(
        {nombre, parAppel, static_cast<int32_t>(std::min<std::size_t>(flux.size(), 1u << 30))});
    for (int32_t k = 0; k < n; ++k) {
        tampon[k] = flux.front();
        flux.pop_front();
    }
    return n;
}
inline const char16_t* StoppeAcquisition() {
    ++nbArrets;
    return reponseArret.c_str();
}
inline int32_t LitValeurVoie(int32_t voie) {
    return valeurVoie[static_cast<std::size_t>(std::clamp(voie, 0, 3))];
}
inline const char16_t* ReseteSortie(int32_t sortie) {
    sortiesRemises.push_back(sortie);
    return u"";
}
inline int32_t FermeConnectionUSB() {
    ++nbFermetures;
    return 0;
}

// A perfect unit (nominal gains and offsets), plugged in, nothing recorded.
inline void remettre() {
    serie = u"CAMPFACT";
    for (std::size_t v = 0; v < 4; ++v)
        for (std::size_t r = 0; r < 4; ++r) {
            gains[v][r] = TSYSAMCAMPUS::gainNominal(static_cast<int>(r));
            offsets[v][r] = TSYSAMCAMPUS::offsetNominal(static_cast<int>(r));
        }
    calibreVoie.fill(30);
    led.fill(-1);
    sortiesRemises.clear();
    nbFermetures = nbSelections = 0;
    preparations.clear();
    retourPreparation = 0;
    messagePreparation.clear();
    retourDemarrage = 0;
    messageDemarrage.clear();
    nbDemarrages = 0;
    reponseArret = u"%";
    nbArrets = 0;
    facteurCalibreTe = 1.0;
    nbCalibreTe = 0;
    flux.clear();
    latence = 0;
    parAppel = 1 << 30;
    debranchee = false;
    demandes.clear();
    valeurVoie.fill(2048);
}

inline TFonctionsCAMPUS table() {
    TFonctionsCAMPUS f;
    f.DonneNumeroSerieCentrale = &DonneNumeroSerieCentrale;
    f.SelectionneCalibre = &SelectionneCalibre;
    f.CommandeLed = &CommandeLed;
    f.ConvertiDonneeEntreeNumeriqueEnAnalogique = &ConvertiDonneeEntreeNumeriqueEnAnalogique;
    f.CalibreTe = &CalibreTe;
    f.PrepareAcquisition = &PrepareAcquisition;
    f.DemarreAcquisition = &DemarreAcquisition;
    f.LitDonneeNumerique = &LitDonneeNumerique;
    f.StoppeAcquisition = &StoppeAcquisition;
    f.LitValeurVoie = &LitValeurVoie;
    f.ReseteSortie = &ReseteSortie;
    f.FermeConnectionUSB = &FermeConnectionUSB;
    return f;
}

// A driver on the stand-in, without pauses, calibrated, with the given inputs active.
struct Banc {
    TSYSAMCAMPUS c;
    explicit Banc(std::initializer_list<int> entrees = {0}) : c((remettre(), table()), 1) {
        c.pauseReglageMs = 0;
        c.RecupereCalibration();
        for (int e : entrees)
            c.activeVoieA(static_cast<uint8_t>(e), false);
    }
};

} // namespace campusfactice
