#include "campus_course.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "campus.h"

namespace campussim {

namespace {

// Same seed for every run: two runs with the same settings deliver the same codes.
constexpr uint64_t graineCourse = 0x43414D5055535349ull;
constexpr double frontAutomatique = 0.01;
constexpr double tempsMax = 1e9;
// A permanent run never runs out of points.
constexpr int64_t pointsPermanent = std::numeric_limits<int64_t>::max() / 64;

} // namespace

Course::Voie Course::voieDe(int entree, const ParametresCourse& p) const {
    const int j = p.calibres[entree];
    Voie v;
    v.signal = p.signaux[entree];
    v.inverseGain = 1 / p.coefficients->gain[entree][j];
    v.offset = p.coefficients->offset[entree][j];
    v.entree = entree;
    return v;
}

void Course::demarre(const Image& im, const ParametresCourse& p, double t) {
    *this = Course();
    active_ = true;
    tDebut_ = t;
    graine_ = graineCourse;
    bruit_ = p.bruit;
    pasPartiels_ = p.pasPartiels;
    rafales_ = p.rafales > 0 ? p.rafales : 0;
    declenchementAbsent_ = p.declenchementAbsent;
    nbVoies_ = im.nbVoies;
    for (int k = 0; k < nbVoies_; ++k)
        voies_[k] = voieDe(im.voies[k], p);
    ticksPeriode_ = std::clamp<int64_t>(im.ticks, 1, ticksMax);
    periode_ = secondes(ticksPeriode_);
    nbPoints_ = im.permanent ? pointsPermanent : std::clamp<int64_t>(im.points, 1, pointsMax);
    sens_ = im.sens;

    if (im.source >= _SOURCE_EA1 && im.source <= _SOURCE_EA4) {
        mode_ = Mode::Seuil;
        const int entree = im.source - _SOURCE_EA1;
        voieTrig_ = voieDe(entree, p);
        // A programmed input keeps its own noise; another one gets noise of its own.
        cleTrig_ = nbEntrees + entree;
        for (int k = 0; k < nbVoies_; ++k)
            if (im.voies[k] == entree)
                cleTrig_ = k;
        const int j = p.calibres[entree];
        seuilCode_ =
            (im.seuil - p.coefficients->offset[entree][j]) / p.coefficients->gain[entree][j];
        latence_ = std::max(p.latence, 0);
    } else if (im.source == _SOURCE_EXTERNE) {
        mode_ = Mode::Externe;
    }
    if (mode_ != Mode::Manuel && !im.permanent)
        pretrig_ =
            std::llround(std::clamp(im.pretrig, 0, 100) * static_cast<double>(nbPoints_) / 100);
    // The automatic edge comes 10 ms after the start, or as soon as the pretrigger samples
    // exist when they need longer.
    frontExterne_ = p.frontExterne >= 0
                        ? std::min(p.frontExterne, tempsMax)
                        : std::max(frontAutomatique, static_cast<double>(pretrig_) * periode_);
    declenchee_ = mode_ == Mode::Manuel;
}

// Simulated seconds since the start that count at time t: in bursts, the samples are held
// back and released all at once every rafales_ seconds. Negative: nothing exists yet.
double Course::ecoule(double t) const {
    const double e = t - tDebut_;
    if (rafales_ <= 0)
        return e;
    if (!(e >= rafales_))
        return -1;
    return std::floor(e / rafales_) * rafales_;
}

int64_t Course::etapesExistantes(double ecoule) const {
    if (!(ecoule >= 0))
        return 0;
    const double q = std::min(std::floor(ecoule / periode_), 4e18);
    return static_cast<int64_t>(q) + 1;
}

void Course::cherche(double e) {
    if (declenchee_ || jamais_ || declenchementAbsent_)
        return;
    if (mode_ == Mode::Seuil)
        chercheSeuil(e);
    else if (mode_ == Mode::Externe)
        chercheFront(e);
}

// A crossing between steps s − 1 and s is the trigger when the pretrigger samples before it
// exist. The unit notices it latence_ steps late and counts its pretrigger from there, so the
// crossing lands up to latence_ steps early in what it delivers (never before the start of
// the window): the driver places it again in software from the samples.
void Course::chercheSeuil(double e) {
    const int64_t limite = std::min(etapesExistantes(e), etapeCherchee_ + rechercheMaxParAppel);
    for (; etapeCherchee_ < limite; ++etapeCherchee_) {
        const bool c = cote(code(voieTrig_, cleTrig_, etapeCherchee_));
        const bool franchi = etapeCherchee_ > 0 && c != cotePrecedent_ &&
                             (sens_ == _SEUIL || (sens_ == _DESCENDANT ? !c : c));
        cotePrecedent_ = c;
        if (!franchi)
            continue;
        const int64_t avant = etapeCherchee_ - 1; // the last step before the crossing
        const int64_t fenetre = avant - pretrig_ + std::min(latence_, pretrig_);
        if (fenetre < 0)
            continue;
        fenetre_ = fenetre;
        visible_ = etapeCherchee_ + latence_;
        declenchee_ = true;
        return;
    }
}

void Course::chercheFront(double e) {
    if (e < frontExterne_)
        return;
    // In clock ticks, exactly: the first step at or after the edge.
    const int64_t front = std::llround(frontExterne_ / tick);
    const int64_t premiere = (front + ticksPeriode_ - 1) / ticksPeriode_;
    if (premiere < pretrig_) { // an edge before the pretrigger is full is ignored
        jamais_ = true;
        return;
    }
    fenetre_ = premiere - pretrig_;
    visible_ = premiere;
    declenchee_ = true;
}

int32_t Course::lit(int32_t nombre, int32_t* tampon, double t) {
    if (!active_ || nombre <= 0 || !tampon || nbVoies_ == 0)
        return 0;
    const double e = ecoule(t);
    cherche(e);
    if (!declenchee_)
        return 0;
    const int64_t existantes = etapesExistantes(e);
    if (existantes <= visible_)
        return 0;
    const int64_t etapes = std::clamp<int64_t>(existantes - fenetre_, 0, nbPoints_);
    int64_t n = std::min<int64_t>(nombre, etapes * nbVoies_ - produits_);
    if (n <= 0)
        return 0;
    if (pasPartiels_ && n > 1) {
        n = (n + 1) / 2;
        if (nbVoies_ > 1 && (produits_ + n) % nbVoies_ == 0)
            --n;
    }
    for (int64_t k = 0; k < n; ++k) {
        const Voie& v = voies_[position_];
        tampon[k] = code(v, position_, fenetre_ + etape_) | ((v.entree + 1) << 16);
        if (++position_ == nbVoies_) {
            position_ = 0;
            ++etape_;
        }
    }
    produits_ += n;
    return static_cast<int32_t>(n);
}

} // namespace campussim
