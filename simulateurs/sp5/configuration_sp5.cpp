// The settings text of the SP5 simulator (environment variable KIRVANE_SIMULATEUR_SP5 or
// SimSP5_Configurer): the keys below, the values read by the signal bank. An entry with an
// unknown key or a bad value is skipped and the others still apply.
#include "configuration.h"
#include "unite.h"

namespace sp5sim {

namespace {

using simulateurs::lireBooleen;
using simulateurs::lireEntier;
using simulateurs::lireNombre;

bool appliqueEntree(UniteSP5& u, const std::string& cle, const std::string& valeur) {
    if (cle.size() == 3 && cle[0] == 'e' && cle[1] == 'a' && cle[2] >= '0' && cle[2] <= '7') {
        const auto s = simulateurs::lireSignal(valeur);
        if (s)
            u.setSignal(cle[2] - '0', *s);
        return s.has_value();
    }
    if (cle == "bruit") {
        const auto n = lireEntier(valeur);
        if (!n || *n < 0 || *n > UniteSP5::bruitMax)
            return false;
        u.setBruit(static_cast<int32_t>(*n));
        return true;
    }
    if (cle == "acceleration" || cle == "accélération") {
        const auto f = lireNombre(valeur);
        if (!f || *f < simulateurs::HorlogeSimulee::accelerationMin ||
            *f > simulateurs::HorlogeSimulee::accelerationMax)
            return false;
        u.setAcceleration(*f);
        return true;
    }
    if (cle == "perte_mots") {
        const auto n = lireEntier(valeur);
        if (!n || *n < 0 || *n > 1000000000)
            return false;
        u.setPerteMots(static_cast<int32_t>(*n));
        return true;
    }
    if (cle == "front_externe") {
        const auto t = lireNombre(valeur);
        if (!t)
            return false;
        u.setFrontExterne(*t);
        return true;
    }
    const auto b = lireBooleen(valeur);
    if (!b)
        return false;
    if (cle == "debranche" || cle == "débranché")
        u.setDebranche(*b);
    else if (cle == "declenchement_absent")
        u.setDeclenchementAbsent(*b);
    else if (cle == "gain_nul")
        u.setGainNul(*b);
    else
        return false;
    return true;
}

} // namespace

int32_t UniteSP5::configure(std::string_view texte) {
    int32_t n = 0;
    for (const auto& e : simulateurs::decoupeConfiguration(texte))
        n += appliqueEntree(*this, e.cle, e.valeur) ? 1 : 0;
    return n;
}

} // namespace sp5sim
