#pragma once
// Reading of the simulators' settings text (environment variable or control function):
//   entries separated by ";", each "cle=valeur", spaces around ignored, keys in any case;
//   numbers with "." or "," as decimal separator;
//   a signal: "forme:amplitude:frequence[:offset[:parametre]]" or "constante:valeur".
// Every reader answers nothing for a bad text: the caller ignores the entry.
#include "signal_simule.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace simulateurs {

struct EntreeConfiguration {
    std::string cle; // in lower case
    std::string valeur;
};

// The "cle=valeur" entries of texte, in order; entries without "=" or with an empty key
// are left out.
std::vector<EntreeConfiguration> decoupeConfiguration(std::string_view texte);

std::optional<double> lireNombre(std::string_view texte);
std::optional<int64_t> lireEntier(std::string_view texte);
// "1", "oui" or "vrai" → true; "0", "non" or "faux" → false.
std::optional<bool> lireBooleen(std::string_view texte);
// Shapes: "constante", "sinus", "carre" (or "carré"), "triangle", "scie", "charge".
// A charge without its time constant takes a tenth of the period (0.01 s without a
// frequency).
std::optional<ParametresSignal> lireSignal(std::string_view texte);

} // namespace simulateurs
