// The CAMPUS library's texts, copied at once: whatever UTF-16 the library returns (unpaired
// surrogates, no terminator within the limit), the copy never crashes, stops at the
// terminator and never takes more than its limit.
#include "sysamcampus.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* donnees, size_t taille) {
    std::vector<char16_t> texte(taille / 2 + 1, u'\0');
    std::memcpy(texte.data(), donnees, taille / 2 * 2);
    std::size_t longueur = 0;
    while (texte[longueur] != u'\0')
        ++longueur;
    const QString copie = copierTexteCampus(texte.data());
    if (copie.size() > 1024 || static_cast<std::size_t>(copie.size()) > longueur)
        std::abort();
    if (longueur <= 1024 &&
        copie != QString::fromUtf16(texte.data(), static_cast<qsizetype>(longueur)))
        std::abort();
    (void)copierTexteCampus(nullptr);
    return 0;
}
