#pragma once
// The simulated CAMPUS: what its library answers (serial number, ranges, LEDs, outputs,
// conversion of codes, programming, runs, direct measurement) and the simulation's own
// settings (signals, noise, clock, faults).
#include "campus_calibrage.h"
#include "campus_course.h"
#include "horloge.h"
#include "signal_simule.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace campussim {

constexpr char numeroSerieParDefaut[] = "CAMPSIMUL";
constexpr int nbSorties = 2; // the analogue outputs, codes 16 and 17
constexpr int tailleSerieMax = 32;

// What CalibreTe answers.
enum class ReponseCalibreTe : int32_t {
    Juste = 0,      // the nearest interval the unit makes at or above the one asked
    Inferieure = 1, // half the interval asked: less than asked
    Nulle = 2,      // 0
};

struct ReglagesSimulation {
    simulateurs::ParametresSignal signaux[nbEntrees];
    int32_t bruit = 1;
    double acceleration = 1;
    bool debranche = false;
    double debrancheApres = -1; // seconds after a start; negative: never
    std::string numeroSerie = numeroSerieParDefaut;
    bool declenchementAbsent = false;
    double frontExterne = -1;
    int32_t latence = 2;
    double ecartGain[nbEntrees][nbCalibres] = {}; // relative, added to each gain
    ReponseCalibreTe calibreTe = ReponseCalibreTe::Juste;
    bool echecPreparation = false;
    bool echecDemarrage = false;
    bool pasPartiels = false;
    double rafales = 0;
};

// The defaults that the README lists.
ReglagesSimulation reglagesParDefaut();

// The return codes of PrepareAcquisition and DemarreAcquisition (0: done).
enum CodeRetour : int32_t {
    RETOUR_OK = 0,
    RETOUR_ABSENTE = 1,
    RETOUR_REFUS = 2,
    RETOUR_PARAMETRE = 3,
    RETOUR_NON_PREPAREE = 4,
};

class UniteCampus {
public:
    static constexpr int32_t bruitMax = codeMax;
    static constexpr int32_t latenceMax = 1000;

    UniteCampus() { reinitialiser(); }

    // --- The unit's library; texts are owned here and stay valid until the next call of
    // the same function ---
    const char16_t* donneNumeroSerie();
    const char16_t* selectionneCalibre(int32_t voie, int32_t volts);
    int32_t commandeLed(int32_t voie, int32_t etat);
    double convertit(int32_t code, int32_t voie);
    double calibreTe(double te, const int32_t* ordre) const;
    int32_t prepare(const int32_t* ordre, double* te, int32_t* points, int32_t source, int32_t sens,
                    double seuil, int32_t pretrig, bool permanent, const char16_t** message);
    int32_t demarre(const char16_t** message);
    int32_t litDonnees(int32_t nombre, int32_t* tampon);
    const char16_t* stoppe();
    int32_t litValeur(int32_t voie);
    const char16_t* reseteSortie(int32_t sortie);
    int32_t fermeConnexion();

    // --- What the tests observe ---
    bool present();
    int32_t calibre(int32_t voie) const;      // volts; 0 for a bad input
    int32_t led(int32_t voie) const;          // TEtatLED; -1 for a bad input
    int32_t etatSortie(int32_t sortie) const; // 1 emitting, 0 stopped, -1 unknown output
    void demarreSortie(int32_t sortie);
    int32_t fermetures() const { return fermetures_; }
    // The latched image: 0 when none, else the count of programmings so far.
    int32_t image(Image* image) const;
    // The absolute step of the first delivered sample of the run; -1 before the trigger.
    int64_t debutFenetre() const { return course_.declenchee() ? course_.debutFenetre() : -1; }
    double tension(int entree, double t) const;

    // --- Simulation settings; a bad value is ignored, never an error ---
    // Defaults everywhere, a freshly powered unit, simulated time back to 0.
    void reinitialiser();
    void setSignal(int entree, const simulateurs::ParametresSignal& p);
    void setBruit(int32_t pas);
    void setAcceleration(double facteur);
    // Plugging back gives a freshly powered unit.
    void setDebranche(bool debranche);
    void setDebrancheApres(double secondes);
    // Another unit takes the place of this one: fresh, with its own calibration. An empty
    // or too long text gives the default unit back.
    void setNumeroSerie(std::string_view serie);
    void setDeclenchementAbsent(bool absent) { reglages_.declenchementAbsent = absent; }
    void setFrontExterne(double t);
    void setLatence(int32_t pas);
    void setEcartCalibrage(int32_t voie, int32_t volts, double ecart);
    void setReponseCalibreTe(int32_t mode);
    void setEchecPreparation(bool echec) { reglages_.echecPreparation = echec; }
    void setEchecDemarrage(bool echec) { reglages_.echecDemarrage = echec; }
    void setPasPartiels(bool partiels) { reglages_.pasPartiels = partiels; }
    void setRafales(double secondes);
    // Applies the settings text (grammar in the README); returns the count of entries used.
    int32_t configure(std::string_view texte);

private:
    void miseSousTension();
    void calculeCoefficients();
    static bool voieValide(int32_t voie) { return voie >= 0 && voie < nbEntrees; }

    ReglagesSimulation reglages_;
    simulateurs::Signal signaux_[nbEntrees];
    simulateurs::HorlogeSimulee horloge_;
    Coefficients coefficients_{};
    // The unit's state.
    int calibres_[nbEntrees] = {};
    int32_t leds_[nbEntrees] = {};
    bool sorties_[nbSorties] = {};
    Image image_;
    int32_t preparations_ = 0;
    bool preparee_ = false;
    Course course_;
    int32_t fermetures_ = 0;
    uint64_t mesures_ = 0; // direct measurements so far: each draws fresh noise
    std::u16string texteSerie_;
};

} // namespace campussim
