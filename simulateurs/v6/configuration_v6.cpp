// The settings text of the V6 simulator (environment variable KIRVANE_SIMULATEUR_V6 or
// SimV6_Configurer): the keys below, the values read by the signal bank. An entry with an
// unknown key or a bad value is skipped and the others still apply.
#include "configuration.h"
#include "unite.h"

#include <cmath>

namespace v6sim {

namespace {

using simulateurs::lireBooleen;
using simulateurs::lireEntier;
using simulateurs::lireNombre;

// A whole number within 0..max.
bool entier(const std::string& valeur, int64_t max, int32_t& n) {
    const auto v = lireEntier(valeur);
    if (!v || *v < 0 || *v > max)
        return false;
    n = static_cast<int32_t>(*v);
    return true;
}

int32_t defautNomme(const std::string& nom) {
    if (nom == "deux_points")
        return SIMV6_SANS_DEUX_POINTS;
    if (nom == "arobase")
        return SIMV6_SANS_AROBASE;
    if (nom == "lf")
        return SIMV6_SANS_LF;
    if (nom == "cr")
        return SIMV6_SANS_CR;
    if (nom == "vide")
        return SIMV6_REPONSE_VIDE;
    return -1;
}

bool appliqueEntree(UniteV6& u, const std::string& cle, const std::string& valeur) {
    // The V6 names its inputs EA1 to EA3.
    if (cle.size() == 3 && cle[0] == 'e' && cle[1] == 'a' && cle[2] >= '1' && cle[2] <= '3') {
        const auto s = simulateurs::lireSignal(valeur);
        if (s)
            u.setSignal(cle[2] - '1', *s);
        return s.has_value();
    }
    int32_t n = 0;
    if (cle == "bruit") {
        if (!entier(valeur, UniteV6::bruitMax, n))
            return false;
        u.setBruit(n);
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
    if (cle == "perte_octets" || cle == "echo_perdu" || cle == "calibrage_interrompu") {
        if (!entier(valeur, 1000000000, n))
            return false;
        if (cle == "perte_octets")
            u.setPerteOctets(n);
        else if (cle == "echo_perdu")
            u.setEchoPerdu(n);
        else
            u.setCalibrageInterrompu(n);
        return true;
    }
    if (cle == "front_externe" || cle == "retard_echo") {
        const auto t = lireNombre(valeur);
        if (!t || !std::isfinite(*t))
            return false;
        if (cle == "front_externe")
            u.setFrontExterne(*t);
        else if (*t >= 0)
            u.setRetardEcho(*t);
        else
            return false;
        return true;
    }
    if (cle == "defaut_reponse") { // "nom" or "nom:n"
        const auto deuxPoints = valeur.find(':');
        const int32_t d = defautNomme(valeur.substr(0, deuxPoints));
        int32_t periode = 1;
        if (d < 0 ||
            (deuxPoints != std::string::npos &&
             (!entier(valeur.substr(deuxPoints + 1), 1000000000, periode) || periode == 0)))
            return false;
        u.setDefautReponse(d, periode);
        return true;
    }
    const auto b = lireBooleen(valeur);
    if (!b)
        return false;
    if (cle == "debranche" || cle == "débranché")
        u.setDebranche(*b);
    else if (cle == "declenchement_absent")
        u.setDeclenchementAbsent(*b);
    else if (cle == "octets_pieges")
        u.setOctetsPieges(*b);
    else
        return false;
    return true;
}

} // namespace

int32_t UniteV6::configure(std::string_view texte) {
    int32_t n = 0;
    for (const auto& e : simulateurs::decoupeConfiguration(texte))
        n += appliqueEntree(*this, e.cle, e.valeur) ? 1 : 0;
    return n;
}

} // namespace v6sim
