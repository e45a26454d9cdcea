// The exported functions: one simulated unit per process, shared by every caller. The
// unit's library is used from one thread (the program's), so nothing is locked.
#include "campussim.h"

#include "campus_unite.h"

#include <cstdlib>
#include <type_traits>

// The exported functions are exactly those the driver's function table expects.
static_assert(std::is_same_v<decltype(&DonneNumeroSerieCentrale), TDonneNumeroSerieCentrale>);
static_assert(std::is_same_v<decltype(&SelectionneCalibre), TSelectionneCalibre>);
static_assert(std::is_same_v<decltype(&CommandeLed), TCommandeLed>);
static_assert(std::is_same_v<decltype(&ConvertiDonneeEntreeNumeriqueEnAnalogique),
                             TConvertiDonneeEntreeNumeriqueEnAnalogique>);
static_assert(std::is_same_v<decltype(&CalibreTe), TCalibreTe>);
static_assert(std::is_same_v<decltype(&PrepareAcquisition), TPrepareAcquisition>);
static_assert(std::is_same_v<decltype(&DemarreAcquisition), TDemarreAcquisition>);
static_assert(std::is_same_v<decltype(&LitDonneeNumerique), TLitDonneeNumerique>);
static_assert(std::is_same_v<decltype(&StoppeAcquisition), TStoppeAcquisition>);
static_assert(std::is_same_v<decltype(&LitValeurVoie), TLitValeurVoie>);
static_assert(std::is_same_v<decltype(&ReseteSortie), TReseteSortie>);
static_assert(std::is_same_v<decltype(&FermeConnectionUSB), TFermeConnectionUSB>);

namespace {

campussim::UniteCampus& unite() {
    static campussim::UniteCampus u;
    return u;
}

// The environment variable is read once, when the library is loaded.
struct LectureEnvironnement {
    LectureEnvironnement() {
        if (const char* texte = std::getenv("KIRVANE_SIMULATEUR_CAMPUS"))
            unite().configure(texte);
    }
} lectureEnvironnement;

} // namespace

extern "C" {

CAMPUSSIM_EXPORT const char16_t* CAMPUS_APPEL DonneNumeroSerieCentrale() {
    return unite().donneNumeroSerie();
}
CAMPUSSIM_EXPORT const char16_t* CAMPUS_APPEL SelectionneCalibre(int32_t voie,
                                                                 int32_t calibreVolts) {
    return unite().selectionneCalibre(voie, calibreVolts);
}
CAMPUSSIM_EXPORT int32_t CAMPUS_APPEL CommandeLed(int32_t voie, int32_t etat) {
    return unite().commandeLed(voie, etat);
}
CAMPUSSIM_EXPORT double CAMPUS_APPEL ConvertiDonneeEntreeNumeriqueEnAnalogique(int32_t code,
                                                                               int32_t voie) {
    return unite().convertit(code, voie);
}
CAMPUSSIM_EXPORT double CAMPUS_APPEL CalibreTe(double te, const int32_t* ordreVoies) {
    return unite().calibreTe(te, ordreVoies);
}
CAMPUSSIM_EXPORT int32_t CAMPUS_APPEL PrepareAcquisition(const int32_t* ordreVoies, double* te,
                                                         int32_t* points, int32_t source,
                                                         int32_t sens, double seuilVolts,
                                                         int32_t pretrigPourcent, uint8_t permanent,
                                                         const char16_t** message) {
    return unite().prepare(ordreVoies, te, points, source, sens, seuilVolts, pretrigPourcent,
                           permanent != 0, message);
}
CAMPUSSIM_EXPORT int32_t CAMPUS_APPEL DemarreAcquisition(const char16_t** message) {
    return unite().demarre(message);
}
CAMPUSSIM_EXPORT int32_t CAMPUS_APPEL LitDonneeNumerique(int32_t nombre, int32_t* tampon) {
    return unite().litDonnees(nombre, tampon);
}
CAMPUSSIM_EXPORT const char16_t* CAMPUS_APPEL StoppeAcquisition() {
    return unite().stoppe();
}
CAMPUSSIM_EXPORT int32_t CAMPUS_APPEL LitValeurVoie(int32_t voie) {
    return unite().litValeur(voie);
}
CAMPUSSIM_EXPORT const char16_t* CAMPUS_APPEL ReseteSortie(int32_t sortie) {
    return unite().reseteSortie(sortie);
}
CAMPUSSIM_EXPORT int32_t CAMPUS_APPEL FermeConnectionUSB() {
    return unite().fermeConnexion();
}

CAMPUSSIM_EXPORT void SimCampus_Reinitialiser() {
    unite().reinitialiser();
}
CAMPUSSIM_EXPORT void SimCampus_SetSignal(int32_t entree, int32_t forme, double amplitude,
                                          double frequence, double offset, double parametre) {
    if (forme < SIMCAMPUS_CONSTANTE || forme > SIMCAMPUS_CHARGE)
        return;
    unite().setSignal(
        entree, {static_cast<simulateurs::Forme>(forme), amplitude, frequence, offset, parametre});
}
CAMPUSSIM_EXPORT void SimCampus_SetBruit(int32_t pas) {
    unite().setBruit(pas);
}
CAMPUSSIM_EXPORT void SimCampus_SetAcceleration(double facteur) {
    unite().setAcceleration(facteur);
}
CAMPUSSIM_EXPORT void SimCampus_SetDebranche(int32_t debranche) {
    unite().setDebranche(debranche != 0);
}
CAMPUSSIM_EXPORT void SimCampus_SetDebrancheApres(double secondes) {
    unite().setDebrancheApres(secondes);
}
CAMPUSSIM_EXPORT void SimCampus_SetNumeroSerie(const char* numeroSerie) {
    unite().setNumeroSerie(numeroSerie ? numeroSerie : "");
}
CAMPUSSIM_EXPORT double SimCampus_Tension(int32_t entree, double t) {
    return unite().tension(entree, t);
}
CAMPUSSIM_EXPORT int32_t SimCampus_Calibre(int32_t entree) {
    return unite().calibre(entree);
}
CAMPUSSIM_EXPORT int32_t SimCampus_Led(int32_t entree) {
    return unite().led(entree);
}
CAMPUSSIM_EXPORT int32_t SimCampus_EtatSortie(int32_t sortie) {
    return unite().etatSortie(sortie);
}
CAMPUSSIM_EXPORT void SimCampus_DemarreSortie(int32_t sortie) {
    unite().demarreSortie(sortie);
}
CAMPUSSIM_EXPORT int32_t SimCampus_NbFermetures() {
    return unite().fermetures();
}
CAMPUSSIM_EXPORT int32_t SimCampus_Programme(int32_t* ordreVoies9, double* te, int32_t* points,
                                             int32_t* source, int32_t* sens, double* seuil,
                                             int32_t* pretrig) {
    campussim::Image im;
    const int32_t n = unite().image(&im);
    if (n == 0)
        return 0;
    if (ordreVoies9) {
        for (int k = 0; k < CAMPUS_NB_ORDRE_VOIES; ++k)
            ordreVoies9[k] = -1;
        for (int k = 0; k < im.nbVoies; ++k)
            ordreVoies9[im.voies[k]] = im.voies[k];
    }
    if (te)
        *te = campussim::secondes(im.ticks);
    if (points)
        *points = im.points;
    if (source)
        *source = im.source;
    if (sens)
        *sens = im.sens;
    if (seuil)
        *seuil = im.seuil;
    if (pretrig)
        *pretrig = im.pretrig;
    return n;
}
CAMPUSSIM_EXPORT int64_t SimCampus_DebutFenetre() {
    return unite().debutFenetre();
}
CAMPUSSIM_EXPORT void SimCampus_SetDeclenchementAbsent(int32_t absent) {
    unite().setDeclenchementAbsent(absent != 0);
}
CAMPUSSIM_EXPORT void SimCampus_SetFrontExterne(double t) {
    unite().setFrontExterne(t);
}
CAMPUSSIM_EXPORT void SimCampus_SetLatence(int32_t pas) {
    unite().setLatence(pas);
}
CAMPUSSIM_EXPORT void SimCampus_SetEcartCalibrage(int32_t entree, int32_t calibreVolts,
                                                  double ecart) {
    unite().setEcartCalibrage(entree, calibreVolts, ecart);
}
CAMPUSSIM_EXPORT void SimCampus_SetReponseCalibreTe(int32_t mode) {
    unite().setReponseCalibreTe(mode);
}
CAMPUSSIM_EXPORT void SimCampus_SetEchecPreparation(int32_t echec) {
    unite().setEchecPreparation(echec != 0);
}
CAMPUSSIM_EXPORT void SimCampus_SetEchecDemarrage(int32_t echec) {
    unite().setEchecDemarrage(echec != 0);
}
CAMPUSSIM_EXPORT void SimCampus_SetPasPartiels(int32_t partiels) {
    unite().setPasPartiels(partiels != 0);
}
CAMPUSSIM_EXPORT void SimCampus_SetRafales(double secondes) {
    unite().setRafales(secondes);
}
CAMPUSSIM_EXPORT int32_t SimCampus_Configurer(const char* texte) {
    return texte ? unite().configure(texte) : 0;
}
}
