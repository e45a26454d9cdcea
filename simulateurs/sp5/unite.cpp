#include "unite.h"

#include "conversion.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace sp5sim {

namespace {

constexpr uint64_t graineMesures = 0x4D45535552455344ull;

simulateurs::ParametresSignal signal(simulateurs::Forme forme, double amplitude, double frequence,
                                     double offset, double parametre = 0) {
    return {forme, amplitude, frequence, offset, parametre};
}

} // namespace

ReglagesSimulation reglagesParDefaut() {
    using simulateurs::Forme;
    ReglagesSimulation r;
    r.signaux[0] = signal(Forme::Sinus, 5, 100, 0);
    r.signaux[1] = signal(Forme::Carre, 2, 50, 0);
    r.signaux[2] = signal(Forme::Triangle, 8, 20, 0);
    r.signaux[3] = signal(Forme::Charge, 4.5, 10, 0, 0.01);
    r.signaux[4] = signal(Forme::Sinus, 0.15, 1000, 0);
    r.signaux[5] = signal(Forme::Constante, 0, 0, 1.5);
    r.signaux[6] = signal(Forme::DentScie, 3, 10, 0);
    r.signaux[7] = signal(Forme::Constante, 0, 0, 0);
    return r;
}

void UniteSP5::reinitialiser() {
    reglages_ = reglagesParDefaut();
    for (int e = 0; e < nbEntrees; ++e)
        signaux_[e] = simulateurs::Signal(reglages_.signaux[e]);
    horloge_.reinitialiser();
    mesures_ = 0;
    miseSousTension();
}

void UniteSP5::miseSousTension() {
    std::memset(registres_, 0, sizeof registres_);
    course_.abandonne();
    tailleTransfert_ = tailleTransfertMax;
}

void UniteSP5::reset() {
    if (!present())
        return;
    course_.abandonne();
    registres_[regControle] = 0;
}

uint8_t UniteSP5::lireRegistre(uint8_t adr) {
    if (!present())
        return 0xFF;
    if (adr >= regCapteurs && adr < regCapteurs + nbCanaux)
        return 0; // no sensor on any socket
    course_.avance(horloge_.maintenant(), registres_);
    return registres_[adr];
}

void UniteSP5::ecrireRegistre(uint8_t adr, uint8_t valeur) {
    if (!present())
        return;
    const uint8_t avant = registres_[adr];
    registres_[adr] = valeur;
    if (adr != regControle)
        return;
    const bool monte = !(avant & bitMarche) && (valeur & bitMarche);
    const bool descend = (avant & bitMarche) && !(valeur & bitMarche);
    if (monte && (valeur & bitMesureDirecte)) {
        mesureDirecte();
    } else if (monte) {
        std::memset(registres_ + regMotPreTrig, 0, regTrigExterne + 4 - regMotPreTrig);
        course_.arme(registres_, parametresCourse(), horloge_.maintenant());
    } else if (descend) {
        course_.arrete(horloge_.maintenant());
    }
}

ParametresCourse UniteSP5::parametresCourse() const {
    ParametresCourse p;
    p.signaux = signaux_;
    p.coefficients = &coefficientsSP5();
    p.bruit = reglages_.bruit;
    p.perteMots = reglages_.perteMots;
    p.declenchementAbsent = reglages_.declenchementAbsent;
    p.frontExterne = reglages_.frontExterne;
    return p;
}

// Every input sampled once, at the present simulated time, on its programmed range; a
// differential channel gives the difference on its first input's registers.
void UniteSP5::mesureDirecte() {
    const double t = horloge_.maintenant();
    const uint32_t motGain = static_cast<uint32_t>(valeurRegistres(registres_, regGain, 3));
    const uint8_t modeDiff = registres_[regModeDiff];
    ++mesures_;
    for (int e = 0; e < nbEntrees; ++e) {
        const bool diff = e < nbCanaux && ((modeDiff >> e) & 1);
        const Conversion c =
            prepareConversion(e, diff, calibreEntree(motGain, e), signaux_, coefficientsSP5());
        const uint64_t h = simulateurs::melange(graineMesures ^ (mesures_ * 16 + e));
        const uint16_t mot =
            motEchantillon(c.code(t, simulateurs::pasDeBruit(h, reglages_.bruit)), h);
        ecritRegistres(registres_, regMesureDirecte + 2 * e, 2, mot);
    }
}

void UniteSP5::recupereCalibration(uint8_t* record) const {
    if (record)
        ecritCalibrage(record, coefficientsSP5(), reglages_.gainNul);
}

int32_t UniteSP5::lireFifo(uint16_t* tampon) {
    if (!tampon || !present())
        return 0;
    return course_.lit(tampon, tailleTransfert_, horloge_.maintenant(), registres_);
}

void UniteSP5::viderFifo() {
    if (present())
        course_.vide(horloge_.maintenant(), registres_);
}

int32_t UniteSP5::tailleTransfertFifo(int32_t taille) {
    tailleTransfert_ = std::clamp(taille, 1, tailleTransfertMax);
    return tailleTransfert_;
}

void UniteSP5::setSignal(int entree, const simulateurs::ParametresSignal& p) {
    if (entree < 0 || entree >= nbEntrees || !simulateurs::signalValide(p))
        return;
    reglages_.signaux[entree] = p;
    signaux_[entree] = simulateurs::Signal(p);
}

void UniteSP5::setBruit(int32_t pas) {
    reglages_.bruit = std::clamp(pas, 0, bruitMax);
}

void UniteSP5::setAcceleration(double facteur) {
    horloge_.setAcceleration(facteur);
    reglages_.acceleration = horloge_.acceleration();
}

void UniteSP5::setDebranche(bool debranche) {
    if (reglages_.debranche && !debranche)
        miseSousTension();
    if (debranche)
        course_.abandonne();
    reglages_.debranche = debranche;
}

void UniteSP5::setFrontExterne(double t) {
    if (!std::isnan(t))
        reglages_.frontExterne = t < 0 ? -1 : t;
}

double UniteSP5::tension(int entree, double t) const {
    if (entree < 0 || entree >= nbEntrees || !std::isfinite(t))
        return 0;
    return signaux_[entree](t);
}

} // namespace sp5sim
