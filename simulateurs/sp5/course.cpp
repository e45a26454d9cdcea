#include "course.h"

#include <algorithm>
#include <cmath>

namespace sp5sim {

namespace {

// Same seed for every run: two runs with the same settings deliver the same words.
constexpr uint64_t graineCourse = 0x5350355F53494D55ull;
constexpr double tick = 12.5e-9; // the unit's 80 MHz clock
constexpr double frontAutomatique = 0.01;
// Far beyond any run, small enough for exact products with the period in ticks.
constexpr double tempsMax = 1e9;

ModeDeclenchement decodeMode(uint8_t octet) {
    switch (octet & 0x03) {
    case 0x02:
        return ModeDeclenchement::Seuil;
    case 0x01:
        return ModeDeclenchement::Externe;
    default: // 0, or both bits: a byte that names no trigger starts at once
        return ModeDeclenchement::Manuel;
    }
}

} // namespace

void Course::arme(const uint8_t* r, const ParametresCourse& p, double t) {
    *this = Course();
    active_ = true;
    tDebut_ = t;
    graine_ = graineCourse;
    bruit_ = p.bruit;
    perteMots_ = p.perteMots;
    declenchementAbsent_ = p.declenchementAbsent;

    const uint8_t modeDiff = r[regModeDiff] & 0x0F;
    const uint32_t motGain = static_cast<uint32_t>(valeurRegistres(r, regGain, 3));
    int ordre[nbEntrees] = {};
    nbSignaux_ = ordreSignaux(r[regVoies], modeDiff, ordre);
    const auto conversion = [&](int e) {
        const bool diff = e < nbCanaux && ((modeDiff >> e) & 1);
        return prepareConversion(e, diff, calibreEntree(motGain, e), p.signaux, *p.coefficients);
    };
    for (int j = 0; j < nbSignaux_; ++j)
        conversions_[j] = conversion(ordre[j]);

    const uint64_t motPeriode = valeurRegistres(r, regPeriode, 5);
    periode_ = static_cast<double>(motPeriode + 1) * 1e-7;
    ticksPeriode_ = static_cast<int64_t>(motPeriode + 1) * 8;
    nbPoints_ = static_cast<int64_t>(valeurRegistres(r, regNbPoints, 3));

    const uint8_t octet = r[regDeclenchement];
    mode_ = decodeMode(octet);
    montant_ = octet & 0x04;
    const int64_t pretrig = static_cast<int64_t>(valeurRegistres(r, regPretrig, 3));
    avantTrig_ = mode_ == ModeDeclenchement::Manuel ? 0 : std::max<int64_t>(pretrig - 3, 0);
    seuil_ = static_cast<int32_t>(valeurRegistres(r, regSeuil, 2));
    hysteresis_ = r[regHysteresis];
    const int entreeTrig = (octet >> 4) & 0x07;
    const int* trouvee = std::find(ordre, ordre + nbSignaux_, entreeTrig);
    if (trouvee != ordre + nbSignaux_) {
        cleTrig_ = static_cast<int>(trouvee - ordre);
        conversionTrig_ = conversions_[cleTrig_];
    } else { // not a signal of this run: its own noise
        cleTrig_ = nbEntrees + entreeTrig;
        conversionTrig_ = conversion(entreeTrig);
    }
    // The automatic edge comes 10 ms after arming, or as soon as the pretrigger samples
    // exist when they need longer.
    frontExterne_ = p.frontExterne >= 0 ? std::min(p.frontExterne, tempsMax)
                                        : std::max(frontAutomatique, avantTrig_ * periode_);
    declenchee_ = mode_ == ModeDeclenchement::Manuel;
}

void Course::arrete(double t) {
    tFin_ = std::min(tFin_, t);
}

int64_t Course::etapesExistantes(double t) const {
    const double ecoule = std::min(t, tFin_) - tDebut_;
    if (!(ecoule >= 0))
        return 0;
    const double q = std::min(std::floor(ecoule / periode_), 4e18);
    return static_cast<int64_t>(q) + 1;
}

int64_t Course::motsDus(double t) const {
    if (!declenchee_)
        return 0;
    const int64_t etapes = std::clamp<int64_t>(etapesExistantes(t) - debut_, 0, nbPoints_);
    return etapes * nbSignaux_;
}

bool Course::avance(double t, uint8_t* registres) {
    if (!active_)
        return false;
    if (declenchee_ || jamais_ || declenchementAbsent_ || nbSignaux_ == 0)
        return declenchee_;
    if (mode_ == ModeDeclenchement::Seuil)
        chercheSeuil(t, registres);
    else
        chercheFront(t, registres);
    return declenchee_;
}

void Course::declenche(int64_t debut, uint8_t* registres) {
    declenchee_ = true;
    debut_ = debut;
    ecritRegistres(registres, regPretrig, 3, static_cast<uint64_t>(avantTrig_ + 3));
}

// The crossing is accepted only when the pretrigger samples before it exist; a crossing
// refused for that reason must be armed again (back beyond the hysteresis) to count.
void Course::chercheSeuil(double t, uint8_t* registres) {
    const int64_t limite = std::min(etapesExistantes(t), etapeCherchee_ + rechercheMaxParAppel);
    for (; etapeCherchee_ < limite; ++etapeCherchee_) {
        const uint16_t m = mot(conversionTrig_, cleTrig_, etapeCherchee_);
        const int32_t code = m >> 4;
        const bool franchi = montant_ ? code >= seuil_ : code <= seuil_;
        if (armeSeuil_ && franchi) {
            const int64_t pre = etapeCherchee_ - 1;
            if (pre >= avantTrig_) {
                ecritRegistres(registres, regMotPreTrig, 2, motPrecedent_);
                ecritRegistres(registres, regMotPostTrig, 2, m);
                declenche(pre - avantTrig_, registres);
                ++etapeCherchee_;
                return;
            }
            armeSeuil_ = false;
        } else if (montant_ ? code < seuil_ - hysteresis_ : code > seuil_ + hysteresis_) {
            armeSeuil_ = true;
        }
        motPrecedent_ = m;
    }
}

void Course::chercheFront(double t, uint8_t* registres) {
    if (std::min(t, tFin_) - tDebut_ < frontExterne_)
        return;
    // In 12.5 ns steps, exactly: the first sample at or after the edge.
    const int64_t front = std::llround(frontExterne_ / tick);
    const int64_t premiere = (front + ticksPeriode_ - 1) / ticksPeriode_;
    if (premiere < avantTrig_) { // an edge before the pretrigger is full is ignored
        jamais_ = true;
        return;
    }
    ecritRegistres(registres, regTrigExterne, 4,
                   static_cast<uint32_t>(premiere * ticksPeriode_ - front));
    declenche(premiere - avantTrig_, registres);
}

int32_t Course::lit(uint16_t* tampon, int32_t taille, double t, uint8_t* registres) {
    if (!avance(t, registres))
        return 0;
    const int64_t dus = motsDus(t);
    taille = std::clamp(taille, 0, tailleBloc);
    return perteMots_ > 0 ? litMotParMot(tampon, taille, dus) : litParBlocs(tampon, taille, dus);
}

// With lost words: each produced word is either delivered or dropped.
int32_t Course::litMotParMot(uint16_t* tampon, int32_t taille, int64_t dus) {
    int32_t n = 0;
    while (n < taille && produits_ < dus) {
        const int position = position_;
        const int64_t etape = debut_ + etape_;
        if (++position_ == nbSignaux_) {
            position_ = 0;
            ++etape_;
        }
        ++produits_;
        if (++avantPerte_ == perteMots_)
            avantPerte_ = 0;
        else
            tampon[n++] = mot(conversions_[position], position, etape);
    }
    return n;
}

// The fast path: the words of one signal over the read's time steps in one block (the
// signal's shape chosen once per block), the same words as mot() gives one by one.
int32_t Course::litParBlocs(uint16_t* tampon, int32_t taille, int64_t dus) {
    const int64_t m = std::min<int64_t>(taille, dus - produits_);
    if (m <= 0)
        return 0;
    const int64_t w0 = produits_;
    const int64_t w1 = w0 + m; // words w0 .. w1 − 1, word w = step w / nb, position w % nb
    const int64_t nb = nbSignaux_;
    double u[tailleBloc];
    for (int j = 0; j < nbSignaux_; ++j) {
        const int64_t premiere = (w0 + nb - 1 - j) / nb; // first step s with s·nb + j ≥ w0
        const int64_t derniere = (w1 - 1 - j) >= 0 ? (w1 - 1 - j) / nb : -1;
        const int n = static_cast<int>(derniere - premiere + 1);
        if (n <= 0)
            continue;
        const Conversion& c = conversions_[j];
        const int64_t a0 = debut_ + premiere;
        std::fill(u, u + n, 0.0);
        c.plus.accumule(a0, n, periode_, 1, u);
        if (c.differentiel)
            c.moins.accumule(a0, n, periode_, -1, u);
        uint16_t* sortie = tampon + (premiere * nb + j - w0);
        for (int k = 0; k < n; ++k) {
            const uint64_t h = hasard(a0 + k, j);
            sortie[k * nb] =
                motEchantillon(c.codeTension(u[k], simulateurs::pasDeBruit(h, bruit_)), h);
        }
    }
    produits_ = w1;
    etape_ = w1 / nb;
    position_ = static_cast<int>(w1 % nb);
    return static_cast<int32_t>(m);
}

void Course::vide(double t, uint8_t* registres) {
    if (!avance(t, registres))
        return;
    const int64_t dus = motsDus(t);
    if (produits_ >= dus)
        return;
    produits_ = dus;
    etape_ = dus / nbSignaux_;
    position_ = static_cast<int>(dus % nbSignaux_);
}

} // namespace sp5sim
