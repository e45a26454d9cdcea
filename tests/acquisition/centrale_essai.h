#pragma once
// A unit for the store's tests: SP5 labels (u[0_M], u[1_5], EA0) or, with
// etiquettesCourtes, short V6-like ones (u[1]); timing comparisons through the base helpers.
#include "centrale_neutre.h"

#include <initializer_list>

class TCentraleEssai : public TCentraleNeutre {
public:
    explicit TCentraleEssai(bool etiquettesCourtes = false)
        : TCentraleNeutre(1), courtes_(etiquettesCourtes) {
        nbEAU = 8;
        nbCanaux_ = nbCanauxUt = 4;
        VoiesX.resize(8);
        canauxDiff.assign(4, false);
        nbPts0X = nbPtsAffX = 5;
        dt0X = 0.001;
        dureeTotale0X = 0.004;
        ndt = 10000;
        tRemanence = 0.15;
    }

    void activer(std::initializer_list<int> voies) {
        VoiesActivesSignaux.assign(voies.begin(), voies.end());
        nbVoiesSignaux = static_cast<int>(voies.size());
    }

    QString getCapVM(int n) override {
        if (courtes_)
            return QStringLiteral("u[%1]").arg(n + 1);
        const bool diff = n < 4 && canauxDiff[n];
        return QStringLiteral("u[%1_%2]").arg(n).arg(diff ? QString::number(n + 4) : "M");
    }
    QString getCapEA(int n) override { return QStringLiteral("EA%1").arg(n); }
    bool memesParametresTemporels() override { return parametresTemporelsEgaux(); }
    void memoriseParametresTemporels() override { enregistrerParametresTemporels(0); }
    using TCentraleNeutre::setDurees; // the one-argument form stays the neutral unit's
    void setDurees(double dureeTotale1, int64_t nbPts1, bool applique) override {
        dureeDemandee = dureeTotale1;
        nbPtsDemande = nbPts1;
        dureeTotale0X = dureeTotale1;
        nbPts0X = nbPtsAffX = nbPts1;
    }
    void prepareTousPRX(bool applique) override { prepareAppliques += applique ? 1 : 0; }

    double dureeDemandee = 0.0;
    int64_t nbPtsDemande = 0;
    int prepareAppliques = 0;

private:
    bool courtes_;
};
