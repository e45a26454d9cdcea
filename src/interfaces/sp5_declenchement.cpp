// TSP5: trigger and pretrigger settings, and what the unit reports about the trigger
// after an acquisition.
#include "sp5.h"

#include "arrondis.h"

#include <algorithm>
#include <cmath>

int TSP5::setVoieSynchro(int voie1, bool applique) {
    reconstruireListes();
    if (nbVoiesSignaux == 0) {
        voieSynchro = 0;
        voieSynchroVA = 0;
    } else {
        int v = voie1;
        // The second input of a differential channel triggers through its partner.
        if (v >= nbCanauxUt && v < nbEAU && canauxDiff[v - nbCanauxUt] &&
            VoiesX[v - nbCanauxUt].active)
            v -= nbCanauxUt;
        const auto debut = VoiesActivesSignaux.begin();
        const auto fin = debut + nbVoiesSignaux;
        const auto p = std::find(debut, fin, v);
        if (p == fin) {
            v = VoiesActivesSignaux[0];
            voieSynchroVA = 0;
        } else {
            voieSynchroVA = static_cast<int>(p - debut);
        }
        voieSynchro = v;
        unitevSeuil = VoiesX[v].cap.sUnite;
    }
    prepareTousPRX(applique);
    return voieSynchro;
}

void TSP5::setSensDeclSeuil(int sensDecl1, bool applique) {
    sensDeclSeuil = sensDecl1;
    prepareTousPRX(applique);
}

void TSP5::setSensDeclEchelon(int sensDecl1, bool applique) {
    sensDeclEchelon = sensDecl1;
    prepareTousPRX(applique);
}

void TSP5::setModeDeclenchement(int modeDecl1, bool applique) {
    modeDecl = std::clamp(modeDecl1, 0, 2);
    // The threshold mode acquires one point more than it shows; the image sent now
    // must already carry that count.
    if (nbPtsAffX > 0)
        nbPts0X = modeDecl == 1 ? nbPtsAffX + 1 : nbPtsAffX;
    prepareTousPRX(applique);
}

void TSP5::setSeuilDecl(float ValSeuilDecl1) {
    const int v = std::clamp(voieSynchro, 0, nbEAU - 1);
    const float limite = static_cast<float>(0.9 * calibreVolts(indexCalibre(v)));
    USeuilDecl = std::isnan(ValSeuilDecl1) ? 0.0f : std::clamp(ValSeuilDecl1, -limite, limite);
}

void TSP5::setPretrig(int idxPretrig1, bool applique) {
    idxPretrig = std::clamp(idxPretrig1, 0, 4);
    tauxPretrig = 25.0f * static_cast<float>(idxPretrig);
    nbPtsPretrig = arrondi(tauxPretrig * 0.9999 * static_cast<double>(nbPtsAffX - 1) / 100.0);
    tPretrig = static_cast<float>(nbPtsPretrig * dt0X);
    prepareTousPRX(applique);
}

void TSP5::setPretrig(float tauxPretrig1, bool applique) {
    idxPretrig = -1;
    if (std::fabs(tauxPretrig1) < 0.5f) {
        idxPretrig = 0;
    } else {
        for (int k = 1; k <= 4; ++k)
            if (std::fabs(tauxPretrig1 - 25.0f * k) <= 0.005f * 25.0f * k)
                idxPretrig = k;
    }
    tauxPretrig = std::isfinite(tauxPretrig1) ? tauxPretrig1 : 0.0f;
    nbPtsPretrig = arrondi(tauxPretrig * 0.9999 * static_cast<double>(nbPtsAffX - 1) / 100.0);
    tPretrig = static_cast<float>(nbPtsPretrig * dt0X);
    prepareTousPRX(applique);
}

void TSP5::getNbPtsPretrig() {
    if (modeDecl != 1 && modeDecl != 2) {
        nbPtsPretrig = 0;
        tPretrig = 0.0f;
        return;
    }
    PR_NbPtsPreTrig20 = GetRegistre(0x20);
    PR_NbPtsPreTrig21 = GetRegistre(0x21);
    PR_NbPtsPreTrig22 = GetRegistre(0x22);
    const int valeur = PR_NbPtsPreTrig20 | PR_NbPtsPreTrig21 << 8 | PR_NbPtsPreTrig22 << 16;
    nbPtsPretrig = std::max(0, valeur - 3);
    tPretrig = static_cast<float>(nbPtsPretrig * dt0X);
}

void TSP5::getDTPretrig() {
    if (modeDecl == 1) {
        PR_DataPreTrig6B = GetRegistre(0x6B);
        PR_DataPreTrig6C = GetRegistre(0x6C);
        PR_DataPostTrig6D = GetRegistre(0x6D);
        PR_DataPostTrig6E = GetRegistre(0x6E);
        vPre = static_cast<uint16_t>((PR_DataPreTrig6B | PR_DataPreTrig6C << 8) >> 4);
        vPost = static_cast<uint16_t>((PR_DataPostTrig6D | PR_DataPostTrig6E << 8) >> 4);
        uPre = static_cast<float>(Ux(voieSynchro, vPre));
        uPost = static_cast<float>(Ux(voieSynchro, vPost));
        // Two equal samples give no slope: the crossing is taken at the first one. The
        // interpolated time always stays within the sampling period.
        const double ecart = static_cast<double>(uPost) - uPre;
        double dt = ecart != 0.0 ? (USeuilDecl - uPre) * dt0X / ecart : 0.0;
        if (!std::isfinite(dt))
            dt = 0.0;
        dtPretrig = std::clamp(dt, 0.0, dt0X);
    } else if (modeDecl == 2) {
        PR_DTrigExt6F = GetRegistre(0x6F);
        PR_DTrigExt70 = GetRegistre(0x70);
        PR_DTrigExt71 = GetRegistre(0x71);
        PR_DTrigExt72 = GetRegistre(0x72);
        const uint32_t n =
            static_cast<uint32_t>(PR_DTrigExt6F) | static_cast<uint32_t>(PR_DTrigExt70) << 8 |
            static_cast<uint32_t>(PR_DTrigExt71) << 16 | static_cast<uint32_t>(PR_DTrigExt72) << 24;
        dtPretrig = n / 8e7;
    } else {
        dtPretrig = 0.0;
    }
}
