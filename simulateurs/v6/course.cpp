#include "course.h"

#include <algorithm>
#include <cmath>

namespace v6sim {

namespace {

// Same seed for every run: two runs with the same settings deliver the same bytes.
constexpr uint64_t graineCourse = 0x56365F53494D554Cull;
constexpr double frontAutomatique = 0.01;
// Codes whose low byte is ESC, ':' and '@'.
constexpr int32_t codesPieges[3] = {0x01B, 0x13A, 0x240};

} // namespace

void Course::demarre(const Programmation& p, bool rapide, const ParametresCourse& pc, double t0) {
    *this = Course();
    p_ = p;
    pc_ = pc;
    t0_ = t0;
    nb_ = std::max(p.nbEntrees, 1);
    if (rapide) {
        const double parEntree = std::max((65536.0 - p.valeurP) * 50e-9, periodeEntreeMin);
        dt_ = parEntree * nb_;
    } else {
        dt_ = (p.valeurP + 1.0) * 1e-3;
    }
    etapes_ = p.nbEntrees > 0 ? p.valeurN : 0;
    avant_ = p.mode == ModeDeclenchement::Manuel ? 0 : p.valeurO;
    etapeCherchee_ = std::max<int64_t>(avant_, 1);
    frontExterne_ =
        pc.frontExterne >= 0 ? pc.frontExterne : std::max(frontAutomatique, avant_ * dt_);
    if (p.mode == ModeDeclenchement::Manuel) {
        declenchee_ = true;
        etapeDecl_ = 0;
        premiere_ = 0;
    }
}

int32_t Course::code(int e, int64_t s) const {
    if (e < 0 || e >= nbEntrees)
        return 0;
    const uint64_t h = simulateurs::melange(graineCourse ^ (static_cast<uint64_t>(s) * 16 + e));
    return codeTension(pc_.signaux[e](static_cast<double>(s) * dt_), e, *pc_.coefficients,
                       simulateurs::pasDeBruit(h, pc_.bruit));
}

bool Course::cherche(double t) {
    if (declenchee_ || pc_.declenchementAbsent)
        return declenchee_;
    if (p_.mode == ModeDeclenchement::Externe) {
        if (t - t0_ < frontExterne_)
            return false;
        // The first step at or after the edge, once the pretrigger steps exist.
        const int64_t s = static_cast<int64_t>(std::ceil(frontExterne_ / dt_ - 1e-9));
        etapeDecl_ = std::max(s, avant_);
    } else {
        const int64_t limite = etapeCherchee_ + rechercheMaxParAppel;
        for (; etapeCherchee_ < limite && tempsEtape(etapeCherchee_) <= t; ++etapeCherchee_) {
            const int32_t avant = code(p_.entreeTrig, etapeCherchee_ - 1);
            const int32_t apres = code(p_.entreeTrig, etapeCherchee_);
            const bool franchi = p_.montant ? (avant < p_.seuil && apres >= p_.seuil)
                                            : (avant > p_.seuil && apres <= p_.seuil);
            if (franchi)
                break;
        }
        if (etapeCherchee_ >= limite || tempsEtape(etapeCherchee_) > t)
            return false;
        etapeDecl_ = etapeCherchee_;
    }
    declenchee_ = true;
    premiere_ = etapeDecl_ - avant_;
    return true;
}

uint8_t Course::octet(int64_t j) {
    const int64_t valeur = j / 2;
    if ((j & 1) == 0) {
        const int64_t s = premiere_ + valeur / nb_;
        const int k = static_cast<int>(valeur % nb_);
        codeCourant_ = pc_.octetsPieges ? codesPieges[(valeur) % 3] : code(p_.entrees[k], s);
        return static_cast<uint8_t>(codeCourant_ & 0xFF);
    }
    return static_cast<uint8_t>(codeCourant_ >> 8);
}

} // namespace v6sim
