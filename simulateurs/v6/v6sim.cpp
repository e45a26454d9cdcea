// The exported functions: one simulated unit per process, shared by every caller. The
// link is used from one thread (the program's), so nothing is locked.
#include "v6sim.h"

#include "unite.h"

#include <cstdlib>
#include <cstring>

namespace {

v6sim::UniteV6& unite() {
    static v6sim::UniteV6 u;
    return u;
}

// The environment variable is read once, when the library is loaded.
struct LectureEnvironnement {
    LectureEnvironnement() {
        if (const char* texte = std::getenv("KIRVANE_SIMULATEUR_V6"))
            unite().configure(texte);
    }
} lectureEnvironnement;

} // namespace

using namespace d2xx;

extern "C" {

V6SIM_EXPORT FT_STATUS D2XX_APPEL FT_OpenEx(void* arg, DWORD flags, FT_HANDLE* handle) {
    return unite().ouvrir(arg, flags, handle);
}
V6SIM_EXPORT FT_STATUS D2XX_APPEL FT_Close(FT_HANDLE handle) {
    return unite().fermer(handle);
}
V6SIM_EXPORT FT_STATUS D2XX_APPEL FT_Read(FT_HANDLE handle, void* tampon, DWORD aLire, DWORD* lus) {
    return unite().lire(handle, tampon, aLire, lus);
}
V6SIM_EXPORT FT_STATUS D2XX_APPEL FT_Write(FT_HANDLE handle, void* tampon, DWORD aEcrire,
                                           DWORD* ecrits) {
    return unite().ecrire(handle, tampon, aEcrire, ecrits);
}
V6SIM_EXPORT FT_STATUS D2XX_APPEL FT_SetBaudRate(FT_HANDLE handle, ULONG baud) {
    return unite().setBaudRate(handle, baud);
}
V6SIM_EXPORT FT_STATUS D2XX_APPEL FT_SetDataCharacteristics(FT_HANDLE handle, UCHAR bits,
                                                            UCHAR stop, UCHAR parite) {
    return unite().setDataCharacteristics(handle, bits, stop, parite);
}
V6SIM_EXPORT FT_STATUS D2XX_APPEL FT_SetFlowControl(FT_HANDLE handle, USHORT flux, UCHAR xon,
                                                    UCHAR xoff) {
    return unite().setFlowControl(handle, flux, xon, xoff);
}
V6SIM_EXPORT FT_STATUS D2XX_APPEL FT_SetRts(FT_HANDLE handle) {
    return unite().setRts(handle);
}
V6SIM_EXPORT FT_STATUS D2XX_APPEL FT_SetChars(FT_HANDLE handle, UCHAR evenement,
                                              UCHAR evenementActif, UCHAR erreur,
                                              UCHAR erreurActif) {
    return unite().setChars(handle, evenement, evenementActif, erreur, erreurActif);
}
V6SIM_EXPORT FT_STATUS D2XX_APPEL FT_Purge(FT_HANDLE handle, ULONG masque) {
    return unite().purger(handle, masque);
}
V6SIM_EXPORT FT_STATUS D2XX_APPEL FT_SetTimeouts(FT_HANDLE handle, ULONG lecture, ULONG ecriture) {
    return unite().setTimeouts(handle, lecture, ecriture);
}
V6SIM_EXPORT FT_STATUS D2XX_APPEL FT_GetQueueStatus(FT_HANDLE handle, DWORD* enAttente) {
    return unite().enAttente(handle, enAttente);
}

V6SIM_EXPORT void SimV6_Reinitialiser() {
    unite().reinitialiser();
}
V6SIM_EXPORT void SimV6_SetSignal(int32_t entree, int32_t forme, double amplitude, double frequence,
                                  double offset, double parametre) {
    if (forme < SIMV6_CONSTANTE || forme > SIMV6_CHARGE)
        return;
    unite().setSignal(
        entree, {static_cast<simulateurs::Forme>(forme), amplitude, frequence, offset, parametre});
}
V6SIM_EXPORT void SimV6_SetBruit(int32_t pas) {
    unite().setBruit(pas);
}
V6SIM_EXPORT void SimV6_SetAcceleration(double facteur) {
    unite().setAcceleration(facteur);
}
V6SIM_EXPORT void SimV6_SetDebranche(int32_t debranche) {
    unite().setDebranche(debranche != 0);
}
V6SIM_EXPORT void SimV6_SetDeclenchementAbsent(int32_t absent) {
    unite().setDeclenchementAbsent(absent != 0);
}
V6SIM_EXPORT void SimV6_SetFrontExterne(double t) {
    unite().setFrontExterne(t);
}
V6SIM_EXPORT void SimV6_SetPerteOctets(int32_t n) {
    unite().setPerteOctets(n);
}
V6SIM_EXPORT void SimV6_SetEchoPerdu(int32_t n) {
    unite().setEchoPerdu(n);
}
V6SIM_EXPORT void SimV6_SetRetardEcho(double secondes) {
    unite().setRetardEcho(secondes);
}
V6SIM_EXPORT void SimV6_SetDefautReponse(int32_t defaut, int32_t n) {
    unite().setDefautReponse(defaut, n);
}
V6SIM_EXPORT void SimV6_SetCalibrageInterrompu(int32_t octets) {
    unite().setCalibrageInterrompu(octets);
}
V6SIM_EXPORT void SimV6_SetOctetsPieges(int32_t pieges) {
    unite().setOctetsPieges(pieges != 0);
}
V6SIM_EXPORT double SimV6_Tension(int32_t entree, double t) {
    return unite().tension(entree, t);
}
V6SIM_EXPORT void SimV6_Coefficients(int32_t entree, double* gain, double* offset) {
    if (entree < 0 || entree >= v6sim::nbEntrees)
        return;
    if (gain)
        *gain = v6sim::coefficientsV6().gain[entree];
    if (offset)
        *offset = v6sim::coefficientsV6().offset[entree];
}
V6SIM_EXPORT int32_t SimV6_Journal(char* texte, int32_t taille) {
    const std::string& j = unite().journal();
    if (texte && taille > 0) {
        const std::size_t n = std::min(j.size(), static_cast<std::size_t>(taille - 1));
        std::memcpy(texte, j.data(), n);
        texte[n] = 0;
    }
    return static_cast<int32_t>(j.size());
}
V6SIM_EXPORT void SimV6_ViderJournal() {
    unite().viderJournal();
}
V6SIM_EXPORT int64_t SimV6_OctetsRecus() {
    return unite().octetsRecus();
}
V6SIM_EXPORT int32_t SimV6_Configurer(const char* texte) {
    return texte ? unite().configure(texte) : 0;
}
}
