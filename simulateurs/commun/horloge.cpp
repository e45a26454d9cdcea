#include "horloge.h"

#include <algorithm>
#include <cmath>

namespace simulateurs {

void HorlogeSimulee::setAcceleration(double facteur) {
    if (std::isnan(facteur))
        return;
    const double t = maintenant();
    origineReelle_ = std::chrono::steady_clock::now();
    origineSimulee_ = t;
    acceleration_ = std::clamp(facteur, accelerationMin, accelerationMax);
}

void HorlogeSimulee::reinitialiser() {
    origineReelle_ = std::chrono::steady_clock::now();
    origineSimulee_ = 0;
    acceleration_ = 1;
}

} // namespace simulateurs
