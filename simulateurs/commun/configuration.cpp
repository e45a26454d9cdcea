#include "configuration.h"

#include <charconv>
#include <cmath>

namespace simulateurs {

namespace {

std::string_view sansEspaces(std::string_view s) {
    const auto espace = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!s.empty() && espace(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && espace(s.back()))
        s.remove_suffix(1);
    return s;
}

std::string enMinuscules(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return r;
}

std::vector<std::string_view> decoupe(std::string_view s, char separateur) {
    std::vector<std::string_view> parties;
    for (;;) {
        const auto p = s.find(separateur);
        parties.push_back(sansEspaces(s.substr(0, p)));
        if (p == std::string_view::npos)
            return parties;
        s.remove_prefix(p + 1);
    }
}

std::optional<Forme> lireForme(std::string_view nom) {
    const std::string n = enMinuscules(nom);
    if (n == "constante")
        return Forme::Constante;
    if (n == "sinus")
        return Forme::Sinus;
    if (n == "carre" || n == "carré")
        return Forme::Carre;
    if (n == "triangle")
        return Forme::Triangle;
    if (n == "scie")
        return Forme::DentScie;
    if (n == "charge")
        return Forme::Charge;
    return std::nullopt;
}

} // namespace

std::vector<EntreeConfiguration> decoupeConfiguration(std::string_view texte) {
    std::vector<EntreeConfiguration> entrees;
    for (std::string_view e : decoupe(texte, ';')) {
        const auto egal = e.find('=');
        if (egal == std::string_view::npos)
            continue;
        const std::string_view cle = sansEspaces(e.substr(0, egal));
        if (cle.empty())
            continue;
        entrees.push_back({enMinuscules(cle), std::string(sansEspaces(e.substr(egal + 1)))});
    }
    return entrees;
}

std::optional<double> lireNombre(std::string_view texte) {
    std::string s(sansEspaces(texte));
    for (char& c : s)
        if (c == ',')
            c = '.';
    const char* debut = s.data();
    if (!s.empty() && s.front() == '+')
        ++debut;
    double v = 0;
    const auto [fin, erreur] = std::from_chars(debut, s.data() + s.size(), v);
    if (erreur != std::errc() || fin != s.data() + s.size() || debut == fin || !std::isfinite(v))
        return std::nullopt;
    return v;
}

std::optional<int64_t> lireEntier(std::string_view texte) {
    const std::string_view s = sansEspaces(texte);
    int64_t v = 0;
    const auto [fin, erreur] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (s.empty() || erreur != std::errc() || fin != s.data() + s.size())
        return std::nullopt;
    return v;
}

std::optional<bool> lireBooleen(std::string_view texte) {
    const std::string s = enMinuscules(sansEspaces(texte));
    if (s == "1" || s == "oui" || s == "vrai")
        return true;
    if (s == "0" || s == "non" || s == "faux")
        return false;
    return std::nullopt;
}

std::optional<ParametresSignal> lireSignal(std::string_view texte) {
    const std::vector<std::string_view> parties = decoupe(texte, ':');
    const std::optional<Forme> forme = lireForme(parties[0]);
    if (!forme)
        return std::nullopt;
    std::vector<double> valeurs;
    for (size_t i = 1; i < parties.size(); ++i) {
        const std::optional<double> v = lireNombre(parties[i]);
        if (!v)
            return std::nullopt;
        valeurs.push_back(*v);
    }
    ParametresSignal p;
    p.forme = *forme;
    if (*forme == Forme::Constante) {
        if (valeurs.size() != 1)
            return std::nullopt;
        p.offset = valeurs[0];
    } else {
        if (valeurs.size() < 2 || valeurs.size() > 4)
            return std::nullopt;
        p.amplitude = valeurs[0];
        p.frequence = valeurs[1];
        p.offset = valeurs.size() > 2 ? valeurs[2] : 0;
        if (valeurs.size() > 3)
            p.parametre = valeurs[3];
        else if (*forme == Forme::Charge)
            p.parametre = p.frequence > 0 ? 0.1 / p.frequence : 0.01;
    }
    if (!signalValide(p))
        return std::nullopt;
    return p;
}

} // namespace simulateurs
