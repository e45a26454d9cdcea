// A small library standing in for a unit's library in the loader tests: a register
// file of 256 bytes and a call counter, with C names.
#include <cstdint>

#if defined(_WIN32)
#define ESSAI_EXPORT extern "C" __declspec(dllexport)
#else
#define ESSAI_EXPORT extern "C" __attribute__((visibility("default")))
#endif

// Same calling convention as the units' libraries.
#if defined(_WIN32) && !defined(_WIN64)
#define ESSAI_APPEL __stdcall
#else
#define ESSAI_APPEL
#endif

namespace {
uint8_t registres[256];
int32_t nbAppels = 0;
} // namespace

ESSAI_EXPORT bool ESSAI_APPEL Present() {
    ++nbAppels;
    return true;
}

ESSAI_EXPORT uint8_t ESSAI_APPEL LireRegistre(uint8_t adr) {
    ++nbAppels;
    return registres[adr];
}

ESSAI_EXPORT void ESSAI_APPEL EcrireRegistre(uint8_t adr, uint8_t valeur) {
    ++nbAppels;
    registres[adr] = valeur;
}

ESSAI_EXPORT int32_t ESSAI_APPEL NombreAppels() {
    return nbAppels;
}
