#pragma once
// A store of eight committed series, one per input, on the four ranges of an SP5, as if an
// acquisition of nbPts points over `duree` seconds had just ended: the graph can be drawn,
// measured and looked at without a unit.
#include "couleurs.h"
#include "ecrangraphe.h"
#include "seriesmesurees.h"

#include <QString>
#include <algorithm>
#include <cmath>
#include <numbers>

inline constexpr std::array<float, 4> calibresSynthetiques{10.0f, 5.0f, 1.0f, 0.2f};

// Value of input i at time t: sines, a square, a triangle, a damped sine... each within
// the range of its input.
inline float valeurSynthetique(int i, double t, double duree) {
    const double pi = std::numbers::pi;
    const double f = 4.0 / duree; // four periods over the series
    const double a = 0.8 * calibresSynthetiques[static_cast<size_t>(i % 4)];
    const double phase = 2 * pi * f * t;
    switch (i) {
    case 0:
        return static_cast<float>(a * std::sin(phase));
    case 1:
        return static_cast<float>(std::sin(phase) >= 0 ? a : -a);
    case 2:
        return static_cast<float>(a * (2 * std::abs(2 * (f * t - std::floor(f * t + 0.5))) - 1));
    case 3:
        return static_cast<float>(a * std::exp(-3 * t / duree) * std::sin(3 * phase));
    case 4:
        return static_cast<float>(0.5 * a * std::cos(phase));
    case 5:
        return static_cast<float>(a * (2 * (f * t - std::floor(f * t)) - 1));
    case 6:
        return static_cast<float>(a * std::sin(phase) * std::sin(0.25 * phase));
    default:
        return static_cast<float>(a * 0.3);
    }
}

struct TGrapheSynthetique {
    TSeriesMesurees series;
    TEtatEcran etat;
};

inline TGrapheSynthetique grapheSynthetique(int64_t nbPts, double duree,
                                            TModeGeneral modeGeneral = MODE_MESURES) {
    TGrapheSynthetique r;
    TEtatEcran& e = r.etat;
    TSourceAxes s;
    s.nbCalEAKirvane = 4;
    s.nbEAU = 8;
    s.nbVoiesActivesX = 8;
    for (int i = 0; i < 8; ++i) {
        s.idxCalibreUt.push_back(i % 4);
        s.active.push_back(true);
        s.VoiesActivesSignaux.push_back(i);
    }
    s.calibresDispo = {10.0f, 5.0f, 1.0f, 0.2f};
    s.twCals = {QStringLiteral("+10.0"), QStringLiteral("+5.00"), QStringLiteral("+1.000"),
                QStringLiteral("+0.200")};
    s.dureeTotale0X = duree;
    e.source = s;
    e.modeGeneral = modeGeneral;
    e.dt0X = e.dtAX = duree / static_cast<double>(std::max<int64_t>(1, nbPts - 1));
    e.dureeTotale0X = e.dureeTotaleAX = duree;
    e.nbPts0X = e.nbPtsAX = e.nbPtsAffX = nbPts;
    e.nbVoiesSignaux = 8;
    e.nbVoiesActivesX = 8;

    TSeriesMesurees& m = r.series;
    m.nbVoiesMesurees = 8;
    m.tv2.resize(8);
    m.voiesMesurees.resize(8);
    for (int i = 0; i < 8; ++i) {
        auto& col = m.tv2[static_cast<size_t>(i)];
        col.resize(static_cast<size_t>(nbPts));
        for (int64_t k = 0; k < nbPts; ++k)
            col[static_cast<size_t>(k)] = valeurSynthetique(i, k * e.dtAX, duree);
        TVoieMesuree& v = m.voiesMesurees[static_cast<size_t>(i)];
        v.calVM = i % 4;
        v.clVM = clsV0[static_cast<size_t>(i)];
        v.sEnteteVM = QStringLiteral("u[%1_M]").arg(i);
        v.sUniteVM = QStringLiteral("V");
        v.max = *std::max_element(col.begin(), col.end());
        v.min = *std::min_element(col.begin(), col.end());
    }
    return r;
}
