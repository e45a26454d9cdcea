#include "centrale.h"

#include <iterator>

namespace {
const char* const nomsLongs[] = {"SYSAM SP5",      "SYSAM V6", "SYSAM CAMPUS",
                                 "SIMULATION SP5", "AUDIO",    "SIMULATION V6"};
const char* const nomsCourts[] = {"Sysam SP5",      "Sysam V6", "Sysam Campus",
                                  "Simulation SP5", "Audio",    "Simulation V6"};
constexpr int nbTypes = static_cast<int>(std::size(nomsLongs));
} // namespace

QString nomLongCentrale(int typeCentrale) {
    if (typeCentrale < 1 || typeCentrale > nbTypes)
        return {};
    return QString::fromUtf8(nomsLongs[typeCentrale - 1]);
}

QString nomCourtCentrale(int typeCentrale) {
    if (typeCentrale < 1 || typeCentrale > nbTypes)
        return {};
    return QString::fromUtf8(nomsCourts[typeCentrale - 1]);
}

TVoie::TVoie() {
    CalsVoie.fill(-1);
    calsVoieR.fill(-1.0f);
    grCap.fill(&FcIdentite);
    FcUUp = &FcIdentite;
}

TCentrale::TCentrale(const QString& sDLL, int logiUti1) {
    initialiserBase(logiUti1);
}

TCentrale::TCentrale(int logiUti1) : TCentrale(QString(), logiUti1) {}

TCentrale::~TCentrale() = default;

void TCentrale::liberer(bool libererDLL) {
    libere_ = true;
}

void TCentrale::initialiserBase(int logiUti1) {
    // The aggregate's initialisers are the base constructor's values; a fresh
    // aggregate also brings a fresh stopwatch.
    static_cast<TDonneesCentrale&>(*this) = TDonneesCentrale{};
    LogiUtilisateur = logiUti1;
    libere_ = false;
}

void TCentrale::debutProcessus() {
    ++NbProcessus;
}

bool TCentrale::finProcessus() {
    if (NbProcessus <= 0) {
        NbProcessus = 0;
        return false;
    }
    --NbProcessus;
    return true;
}

int64_t TCentrale::ticksTotaux(int64_t nbPts, int64_t ndt, int64_t facteur) {
    return nbPts * ndt * facteur;
}

bool TCentrale::parametresTemporelsEgaux(int64_t facteurActuel, int64_t facteurPrecedent) const {
    // Without a memorised acquisition there is nothing to join.
    if (acqPerPrec.RTnbPts <= 0)
        return false;
    return nbPts0X == acqPerPrec.RTnbPts &&
           ticksTotaux(nbPts0X, ndt, facteurActuel) ==
               ticksTotaux(acqPerPrec.RTnbPts, acqPerPrec.RTndt, facteurPrecedent);
}

void TCentrale::enregistrerParametresTemporels(int modeTe) {
    acqPerPrec.RTmodeTe = modeTe;
    acqPerPrec.RTnbPts = nbPts0X;
    acqPerPrec.RTndt = ndt;
}
