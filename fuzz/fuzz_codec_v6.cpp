// The V6's reply framing and sample decoding on any bytes: never a crash, a reply never
// longer than its cap, never more bytes used than given, samples always whole pairs.
#include "codecv6.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* donnees, size_t taille) {
    const std::span<const uint8_t> octets(donnees, taille);
    const TCodecV6 codec;

    const TReponseCodec r = codec.reponse(octets);
    if (r.consommes > taille)
        std::abort();
    if (r.etat == TEtatReponse::Complete && r.texte.size() > TCodecV6::longueurMaxReponse)
        std::abort();
    int valeur = 0;
    (void)TCodecV6::lireHex(r.texte, valeur);

    std::array<uint16_t, 256> mots{};
    std::size_t consommes = 0;
    const std::size_t n = codec.echantillons(octets, mots, consommes);
    if (n > mots.size() || consommes > taille || consommes != 2 * n)
        std::abort();
    for (std::size_t k = 0; k < n; ++k)
        if ((mots[k] & 0xF) != 0)
            std::abort(); // a 12-bit code in bits 15..4
    return 0;
}
