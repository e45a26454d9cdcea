#include "signal_simule.h"

#include <cmath>
#include <initializer_list>
#include <numbers>

namespace simulateurs {

namespace {
constexpr double tensionMax = 1e6;
constexpr double frequenceMax = 1e9;
constexpr double tauMax = 1e6;
} // namespace

const double* tableSinus() {
    static const auto table = [] {
        static double t[pointsTableSinus + 1];
        for (int i = 0; i <= pointsTableSinus; ++i)
            t[i] = std::sin(2 * std::numbers::pi * i / pointsTableSinus);
        // Exact at the quarter periods: the peaks are the amplitude itself.
        t[0] = t[pointsTableSinus / 2] = t[pointsTableSinus] = 0;
        t[pointsTableSinus / 4] = 1;
        t[3 * pointsTableSinus / 4] = -1;
        return t;
    }();
    return table;
}

bool signalValide(const ParametresSignal& p) {
    const int forme = static_cast<int>(p.forme);
    if (forme < 0 || forme > static_cast<int>(Forme::Charge))
        return false;
    for (double v : {p.amplitude, p.frequence, p.offset, p.parametre})
        if (!std::isfinite(v))
            return false;
    return std::fabs(p.amplitude) <= tensionMax && std::fabs(p.offset) <= tensionMax &&
           p.frequence >= 0 && p.frequence <= frequenceMax && p.parametre >= 0 &&
           p.parametre <= tauMax;
}

Signal::Signal(const ParametresSignal& p) {
    if (!signalValide(p))
        return; // stays a 0 V constant
    forme_ = p.forme;
    amplitude_ = p.amplitude;
    frequence_ = p.frequence;
    periode_ = p.frequence > 0 ? 1 / p.frequence : 0;
    offset_ = p.offset;
    // τ = 0: the charge is complete at once; 1e300 keeps 0 × (1/τ) at 0 where +inf would
    // give NaN.
    inverseTau_ = p.parametre > 0 ? 1 / p.parametre : 1e300;
}

} // namespace simulateurs
