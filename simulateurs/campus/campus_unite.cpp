#include "campus_unite.h"

#include "campus.h"

#include <algorithm>
#include <cmath>

namespace campussim {

namespace {

constexpr uint64_t graineMesures = 0x4D45535552454341ull;

constexpr char16_t texteAbsente[] = u"La centrale SYSAM CAMPUS ne répond pas.";
constexpr char16_t texteVide[] = u"";

simulateurs::ParametresSignal signal(simulateurs::Forme forme, double amplitude, double frequence,
                                     double offset, double parametre = 0) {
    return {forme, amplitude, frequence, offset, parametre};
}

void ecrit(const char16_t** message, const char16_t* texte) {
    if (message)
        *message = texte;
}

int32_t refuse(const char16_t** message, int32_t code, const char16_t* texte) {
    ecrit(message, texte);
    return code;
}

} // namespace

ReglagesSimulation reglagesParDefaut() {
    using simulateurs::Forme;
    ReglagesSimulation r;
    r.signaux[0] = signal(Forme::Sinus, 5, 100, 0);
    r.signaux[1] = signal(Forme::Carre, 2, 50, 0);
    r.signaux[2] = signal(Forme::Triangle, 8, 20, 0);
    r.signaux[3] = signal(Forme::Charge, 4.5, 10, 0, 0.01);
    return r;
}

void UniteCampus::reinitialiser() {
    reglages_ = reglagesParDefaut();
    for (int e = 0; e < nbEntrees; ++e)
        signaux_[e] = simulateurs::Signal(reglages_.signaux[e]);
    horloge_.reinitialiser();
    mesures_ = 0;
    fermetures_ = 0;
    calculeCoefficients();
    miseSousTension();
}

void UniteCampus::miseSousTension() {
    for (int i = 0; i < nbEntrees; ++i) {
        calibres_[i] = 0;
        leds_[i] = LED_ETEINT;
    }
    for (bool& s : sorties_)
        s = false;
    image_ = Image();
    preparee_ = false;
    preparations_ = 0;
    course_.abandonne();
}

void UniteCampus::calculeCoefficients() {
    coefficients_ = coefficientsUnite(reglages_.numeroSerie);
    for (int i = 0; i < nbEntrees; ++i)
        for (int j = 0; j < nbCalibres; ++j)
            coefficients_.gain[i][j] *= 1 + reglages_.ecartGain[i][j];
}

// A unit programmed to disappear during a run does so once its time has come.
bool UniteCampus::present() {
    if (!reglages_.debranche && course_.active() && reglages_.debrancheApres >= 0 &&
        horloge_.maintenant() - course_.debut() >= reglages_.debrancheApres)
        setDebranche(true);
    return !reglages_.debranche;
}

const char16_t* UniteCampus::donneNumeroSerie() {
    texteSerie_.clear();
    if (present())
        texteSerie_.assign(reglages_.numeroSerie.begin(), reglages_.numeroSerie.end());
    return texteSerie_.c_str();
}

const char16_t* UniteCampus::selectionneCalibre(int32_t voie, int32_t volts) {
    if (!present())
        return texteAbsente;
    const int j = indexCalibre(volts);
    if (!voieValide(voie) || j < 0)
        return u"Calibre non disponible.";
    calibres_[voie] = j;
    return texteVide;
}

int32_t UniteCampus::commandeLed(int32_t voie, int32_t etat) {
    if (!present() || !voieValide(voie) || etat < LED_ETEINT || etat > LED_MAUVE)
        return -1;
    leds_[voie] = etat;
    return 0;
}

// The library reads the unit's coefficients of the input's present range; nothing to read
// from an absent unit.
double UniteCampus::convertit(int32_t code, int32_t voie) {
    if (!present() || !voieValide(voie))
        return 0;
    const int j = calibres_[voie];
    return code * coefficients_.gain[voie][j] + coefficients_.offset[voie][j];
}

double UniteCampus::calibreTe(double te, const int32_t*) const {
    if (!(te > 0) || !std::isfinite(te))
        te = tick;
    switch (reglages_.calibreTe) {
    case ReponseCalibreTe::Inferieure:
        return te / 2;
    case ReponseCalibreTe::Nulle:
        return 0;
    case ReponseCalibreTe::Juste:
        break;
    }
    // The smallest whole number of ticks at or above te (a relative 1e-9 absorbs the
    // representation of decimal intervals).
    const double n = std::ceil(te / tick * (1 - 1e-9));
    return secondes(std::clamp<int64_t>(static_cast<int64_t>(std::min(n, 1e12)), 1, ticksMax));
}

int32_t UniteCampus::prepare(const int32_t* ordre, double* te, int32_t* points, int32_t source,
                             int32_t sens, double seuil, int32_t pretrig, bool permanent,
                             const char16_t** message) {
    if (!present())
        return refuse(message, RETOUR_ABSENTE, texteAbsente);
    if (reglages_.echecPreparation)
        return refuse(message, RETOUR_REFUS,
                      u"La centrale a refusé la programmation de l'acquisition.");
    if (!ordre || !te || !points)
        return refuse(message, RETOUR_PARAMETRE, u"Programmation de l'acquisition incomplète.");
    Image im;
    for (int k = 0; k < CAMPUS_NB_ORDRE_VOIES; ++k) {
        if (ordre[k] == -1)
            continue;
        if (k >= nbEntrees || ordre[k] != k)
            return refuse(message, RETOUR_PARAMETRE, u"Liste des entrées à acquérir incorrecte.");
        im.voies[im.nbVoies++] = k;
    }
    if (im.nbVoies == 0)
        return refuse(message, RETOUR_PARAMETRE, u"Aucune entrée à acquérir.");
    if (!(*te > 0) || !std::isfinite(*te))
        return refuse(message, RETOUR_PARAMETRE, u"Intervalle d'échantillonnage incorrect.");
    if (*points < 1)
        return refuse(message, RETOUR_PARAMETRE, u"Nombre de points incorrect.");
    if (source < _SOURCE_AUCUNE || source > _SOURCE_EA4)
        return refuse(message, RETOUR_PARAMETRE, u"Source de déclenchement non disponible.");
    if (sens < _SEUIL || sens > _DESCENDANT)
        return refuse(message, RETOUR_PARAMETRE, u"Sens de déclenchement incorrect.");
    if (!std::isfinite(seuil))
        return refuse(message, RETOUR_PARAMETRE, u"Seuil de déclenchement incorrect.");

    // The unit makes the nearest interval it can and holds at most pointsMax points: both
    // are written back.
    const double n = std::nearbyint(std::min(*te / tick, 1e12));
    im.ticks = std::clamp<int64_t>(static_cast<int64_t>(n), 1, ticksMax);
    *te = secondes(im.ticks);
    *points = std::min(*points, pointsMax);
    im.points = *points;
    im.source = source;
    im.sens = sens;
    im.seuil = seuil;
    im.pretrig = std::clamp(pretrig, 0, 100);
    im.permanent = permanent;
    course_.abandonne();
    image_ = im;
    preparee_ = true;
    ++preparations_;
    ecrit(message, texteVide);
    return RETOUR_OK;
}

int32_t UniteCampus::demarre(const char16_t** message) {
    if (!present())
        return refuse(message, RETOUR_ABSENTE, texteAbsente);
    if (!preparee_)
        return refuse(message, RETOUR_NON_PREPAREE, u"Aucune acquisition n'est programmée.");
    if (reglages_.echecDemarrage)
        return refuse(message, RETOUR_REFUS, u"La centrale n'a pas pu démarrer l'acquisition.");
    ParametresCourse p;
    p.signaux = signaux_;
    p.coefficients = &coefficients_;
    p.calibres = calibres_;
    p.bruit = reglages_.bruit;
    p.declenchementAbsent = reglages_.declenchementAbsent;
    p.frontExterne = reglages_.frontExterne;
    p.latence = reglages_.latence;
    p.pasPartiels = reglages_.pasPartiels;
    p.rafales = reglages_.rafales;
    course_.demarre(image_, p, horloge_.maintenant());
    ecrit(message, texteVide);
    return RETOUR_OK;
}

int32_t UniteCampus::litDonnees(int32_t nombre, int32_t* tampon) {
    if (!present())
        return -1;
    return course_.lit(nombre, tampon, horloge_.maintenant());
}

const char16_t* UniteCampus::stoppe() {
    if (!present())
        return texteAbsente;
    course_.abandonne();
    return u"%";
}

int32_t UniteCampus::litValeur(int32_t voie) {
    if (!present() || !voieValide(voie))
        return -1;
    const int j = calibres_[voie];
    const uint64_t h = simulateurs::melange(graineMesures ^ (++mesures_ * 16 + voie));
    return codeTension(signaux_[voie](horloge_.maintenant()), 1 / coefficients_.gain[voie][j],
                       coefficients_.offset[voie][j], simulateurs::pasDeBruit(h, reglages_.bruit));
}

const char16_t* UniteCampus::reseteSortie(int32_t sortie) {
    if (!present())
        return texteAbsente;
    if (sortie != CAMPUS_SORTIE_1 && sortie != CAMPUS_SORTIE_2)
        return u"Sortie inconnue.";
    sorties_[sortie - CAMPUS_SORTIE_1] = false;
    return texteVide;
}

// Closing the link ends a run; the next call opens it again.
int32_t UniteCampus::fermeConnexion() {
    course_.abandonne();
    ++fermetures_;
    return 0;
}

int32_t UniteCampus::calibre(int32_t voie) const {
    return voieValide(voie) ? calibresVolts[calibres_[voie]] : 0;
}

int32_t UniteCampus::led(int32_t voie) const {
    return voieValide(voie) ? leds_[voie] : -1;
}

int32_t UniteCampus::etatSortie(int32_t sortie) const {
    if (sortie != CAMPUS_SORTIE_1 && sortie != CAMPUS_SORTIE_2)
        return -1;
    return sorties_[sortie - CAMPUS_SORTIE_1] ? 1 : 0;
}

void UniteCampus::demarreSortie(int32_t sortie) {
    if (sortie == CAMPUS_SORTIE_1 || sortie == CAMPUS_SORTIE_2)
        sorties_[sortie - CAMPUS_SORTIE_1] = true;
}

int32_t UniteCampus::image(Image* image) const {
    if (!preparee_)
        return 0;
    if (image)
        *image = image_;
    return preparations_;
}

double UniteCampus::tension(int entree, double t) const {
    if (entree < 0 || entree >= nbEntrees || !std::isfinite(t))
        return 0;
    return signaux_[entree](t);
}

void UniteCampus::setSignal(int entree, const simulateurs::ParametresSignal& p) {
    if (entree < 0 || entree >= nbEntrees || !simulateurs::signalValide(p))
        return;
    reglages_.signaux[entree] = p;
    signaux_[entree] = simulateurs::Signal(p);
}

void UniteCampus::setBruit(int32_t pas) {
    reglages_.bruit = std::clamp(pas, 0, bruitMax);
}

void UniteCampus::setAcceleration(double facteur) {
    horloge_.setAcceleration(facteur);
    reglages_.acceleration = horloge_.acceleration();
}

void UniteCampus::setDebranche(bool debranche) {
    if (reglages_.debranche && !debranche)
        miseSousTension();
    if (debranche)
        course_.abandonne();
    reglages_.debranche = debranche;
}

void UniteCampus::setDebrancheApres(double secondes) {
    if (!std::isnan(secondes))
        reglages_.debrancheApres = secondes < 0 ? -1 : secondes;
}

void UniteCampus::setNumeroSerie(std::string_view serie) {
    const bool correct =
        !serie.empty() && serie.size() <= tailleSerieMax &&
        std::all_of(serie.begin(), serie.end(), [](char c) { return c > ' ' && c < 0x7F; });
    const std::string nouveau = correct ? std::string(serie) : numeroSerieParDefaut;
    if (nouveau == reglages_.numeroSerie)
        return;
    reglages_.numeroSerie = nouveau;
    calculeCoefficients();
    miseSousTension();
}

void UniteCampus::setFrontExterne(double t) {
    if (!std::isnan(t))
        reglages_.frontExterne = t < 0 ? -1 : t;
}

void UniteCampus::setLatence(int32_t pas) {
    reglages_.latence = std::clamp(pas, 0, latenceMax);
}

void UniteCampus::setEcartCalibrage(int32_t voie, int32_t volts, double ecart) {
    const int j = indexCalibre(volts);
    if (!voieValide(voie) || j < 0 || !std::isfinite(ecart) || ecart <= -1 || ecart > 100)
        return;
    reglages_.ecartGain[voie][j] = ecart;
    calculeCoefficients();
}

void UniteCampus::setReponseCalibreTe(int32_t mode) {
    if (mode >= 0 && mode <= static_cast<int32_t>(ReponseCalibreTe::Nulle))
        reglages_.calibreTe = static_cast<ReponseCalibreTe>(mode);
}

void UniteCampus::setRafales(double secondes) {
    if (std::isfinite(secondes))
        reglages_.rafales = std::clamp(secondes, 0.0, 3600.0);
}

} // namespace campussim
