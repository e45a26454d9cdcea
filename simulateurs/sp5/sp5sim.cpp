// The exported functions: one simulated unit per process, shared by every caller. The
// unit's library is used from one thread (the program's), so nothing is locked.
#include "sp5sim.h"

#include "unite.h"

#include <cstdlib>

namespace {

sp5sim::UniteSP5& unite() {
    static sp5sim::UniteSP5 u;
    return u;
}

// The environment variable is read once, when the library is loaded.
struct LectureEnvironnement {
    LectureEnvironnement() {
        if (const char* texte = std::getenv("KIRVANE_SIMULATEUR_SP5"))
            unite().configure(texte);
    }
} lectureEnvironnement;

} // namespace

extern "C" {

SP5SIM_EXPORT void SP5SIM_APPEL Reset() {
    unite().reset();
}
SP5SIM_EXPORT bool SP5SIM_APPEL Present() {
    return unite().present();
}
SP5SIM_EXPORT uint8_t SP5SIM_APPEL LireRegistre(uint8_t adr) {
    return unite().lireRegistre(adr);
}
SP5SIM_EXPORT void SP5SIM_APPEL EcrireRegistre(uint8_t adr, uint8_t valeur) {
    unite().ecrireRegistre(adr, valeur);
}
// The outputs are not simulated: the samples are accepted and dropped.
SP5SIM_EXPORT void SP5SIM_APPEL EcrireFifo(uint16_t*, int32_t) {}
SP5SIM_EXPORT void SP5SIM_APPEL RecupereCalibration(uint8_t* calibration) {
    unite().recupereCalibration(calibration);
}
SP5SIM_EXPORT int32_t SP5SIM_APPEL LireFifo(uint16_t* tampon) {
    return unite().lireFifo(tampon);
}
SP5SIM_EXPORT void SP5SIM_APPEL ViderFifo() {
    unite().viderFifo();
}
SP5SIM_EXPORT int32_t SP5SIM_APPEL TailleTransfertFifo(int32_t taille) {
    return unite().tailleTransfertFifo(taille);
}
// The library has no window: the information shows nowhere.
SP5SIM_EXPORT void SP5SIM_APPEL AfficheInfos() {}

SP5SIM_EXPORT void SimSP5_Reinitialiser() {
    unite().reinitialiser();
}
SP5SIM_EXPORT void SimSP5_SetSignal(int32_t entree, int32_t forme, double amplitude,
                                    double frequence, double offset, double parametre) {
    if (forme < SIMSP5_CONSTANTE || forme > SIMSP5_CHARGE)
        return;
    unite().setSignal(
        entree, {static_cast<simulateurs::Forme>(forme), amplitude, frequence, offset, parametre});
}
SP5SIM_EXPORT void SimSP5_SetBruit(int32_t pas) {
    unite().setBruit(pas);
}
SP5SIM_EXPORT void SimSP5_SetAcceleration(double facteur) {
    unite().setAcceleration(facteur);
}
SP5SIM_EXPORT void SimSP5_SetDebranche(int32_t debranche) {
    unite().setDebranche(debranche != 0);
}
SP5SIM_EXPORT void SimSP5_SetDeclenchementAbsent(int32_t absent) {
    unite().setDeclenchementAbsent(absent != 0);
}
SP5SIM_EXPORT void SimSP5_SetPerteMots(int32_t n) {
    unite().setPerteMots(n);
}
SP5SIM_EXPORT void SimSP5_SetGainNul(int32_t nul) {
    unite().setGainNul(nul != 0);
}
SP5SIM_EXPORT void SimSP5_SetFrontExterne(double t) {
    unite().setFrontExterne(t);
}
SP5SIM_EXPORT double SimSP5_Tension(int32_t entree, double t) {
    return unite().tension(entree, t);
}
SP5SIM_EXPORT int32_t SimSP5_Configurer(const char* texte) {
    return texte ? unite().configure(texte) : 0;
}
}
