// The settings text of the CAMPUS simulator (environment variable KIRVANE_SIMULATEUR_CAMPUS or
// SimCampus_Configurer): the keys below, the values read by the signal bank. An entry with an
// unknown key or a bad value is skipped and the others still apply.
#include "campus_unite.h"
#include "configuration.h"

namespace campussim {

namespace {

using simulateurs::lireBooleen;
using simulateurs::lireEntier;
using simulateurs::lireNombre;

// "V1" … "V4" → 0 … 3; -1 otherwise.
int lireEntree(std::string_view s) {
    if (s.size() == 2 && (s[0] == 'v' || s[0] == 'V') && s[1] >= '1' && s[1] <= '4')
        return s[1] - '1';
    return -1;
}

// "V3:1:0,4": input, range in volts, relative deviation of the gain.
bool appliqueEcart(UniteCampus& u, std::string_view valeur) {
    const auto p1 = valeur.find(':');
    const auto p2 = p1 == std::string_view::npos ? p1 : valeur.find(':', p1 + 1);
    if (p2 == std::string_view::npos)
        return false;
    std::string_view entree = valeur.substr(0, p1);
    while (!entree.empty() && entree.back() == ' ')
        entree.remove_suffix(1);
    while (!entree.empty() && entree.front() == ' ')
        entree.remove_prefix(1);
    const int e = lireEntree(entree);
    const auto calibre = lireEntier(valeur.substr(p1 + 1, p2 - p1 - 1));
    const auto ecart = lireNombre(valeur.substr(p2 + 1));
    if (e < 0 || !calibre || indexCalibre(static_cast<int32_t>(*calibre)) < 0 || !ecart ||
        *ecart <= -1 || *ecart > 100)
        return false;
    u.setEcartCalibrage(e, static_cast<int32_t>(*calibre), *ecart);
    return true;
}

bool appliqueEntree(UniteCampus& u, const std::string& cle, const std::string& valeur) {
    if (const int e = lireEntree(cle); e >= 0) {
        const auto s = simulateurs::lireSignal(valeur);
        if (s)
            u.setSignal(e, *s);
        return s.has_value();
    }
    if (cle == "bruit" || cle == "latence") {
        const auto n = lireEntier(valeur);
        const int64_t max = cle == "bruit" ? UniteCampus::bruitMax : UniteCampus::latenceMax;
        if (!n || *n < 0 || *n > max)
            return false;
        if (cle == "bruit")
            u.setBruit(static_cast<int32_t>(*n));
        else
            u.setLatence(static_cast<int32_t>(*n));
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
    if (cle == "front_externe" || cle == "debranche_apres" || cle == "rafales") {
        const auto t = lireNombre(valeur);
        if (!t || (cle == "rafales" && (*t < 0 || *t > 3600)))
            return false;
        if (cle == "front_externe")
            u.setFrontExterne(*t);
        else if (cle == "debranche_apres")
            u.setDebrancheApres(*t);
        else
            u.setRafales(*t);
        return true;
    }
    if (cle == "numero_serie") {
        if (valeur.empty() || valeur.size() > tailleSerieMax)
            return false;
        u.setNumeroSerie(valeur);
        return true;
    }
    if (cle == "ecart_calibrage")
        return appliqueEcart(u, valeur);
    if (cle == "calibrete") {
        const auto n = lireEntier(valeur);
        if (!n || *n < 0 || *n > static_cast<int64_t>(ReponseCalibreTe::Nulle))
            return false;
        u.setReponseCalibreTe(static_cast<int32_t>(*n));
        return true;
    }
    const auto b = lireBooleen(valeur);
    if (!b)
        return false;
    if (cle == "debranche" || cle == "débranché")
        u.setDebranche(*b);
    else if (cle == "declenchement_absent")
        u.setDeclenchementAbsent(*b);
    else if (cle == "echec_preparation")
        u.setEchecPreparation(*b);
    else if (cle == "echec_demarrage")
        u.setEchecDemarrage(*b);
    else if (cle == "pas_partiels")
        u.setPasPartiels(*b);
    else
        return false;
    return true;
}

} // namespace

int32_t UniteCampus::configure(std::string_view texte) {
    int32_t n = 0;
    for (const auto& e : simulateurs::decoupeConfiguration(texte))
        n += appliqueEntree(*this, e.cle, e.valeur) ? 1 : 0;
    return n;
}

} // namespace campussim
