#include "transport_d2xx.h"

#include "bibliotheque.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <map>
#include <memory>

using namespace d2xx;

// The state of one library file, shared by its transports.
class TLienD2XX {
public:
    explicit TLienD2XX(const QString& chemin) {
        if (!bibliotheque.charger(chemin))
            return;
        TFonctionsD2XX& t = f;
        erreur = bibliotheque.resoudre({
            lienFonction("FT_OpenEx", t.FT_OpenEx),
            lienFonction("FT_Close", t.FT_Close),
            lienFonction("FT_Read", t.FT_Read),
            lienFonction("FT_Write", t.FT_Write),
            lienFonction("FT_SetBaudRate", t.FT_SetBaudRate),
            lienFonction("FT_SetDataCharacteristics", t.FT_SetDataCharacteristics),
            lienFonction("FT_SetFlowControl", t.FT_SetFlowControl),
            lienFonction("FT_SetRts", t.FT_SetRts),
            lienFonction("FT_SetChars", t.FT_SetChars),
            lienFonction("FT_Purge", t.FT_Purge),
            lienFonction("FT_SetTimeouts", t.FT_SetTimeouts),
            lienFonction("FT_GetQueueStatus", t.FT_GetQueueStatus),
        });
        // A library without every function is not used at all.
        if (!erreur.isEmpty())
            bibliotheque.liberer();
        installe = erreur.isEmpty();
    }
    ~TLienD2XX() {
        fermerPeripherique();
        bibliotheque.liberer();
    }

    void fermerPeripherique() {
        if (poignee != nullptr)
            f.FT_Close(poignee);
        poignee = nullptr;
    }

    TBibliotheque bibliotheque;
    TFonctionsD2XX f;
    bool installe = false;
    QString erreur;
    FT_HANDLE poignee = nullptr;
    int detenteurs = 0;
    int demandeurs = 0; // holders that opened the device and have not closed it
};

namespace {

// One link per library file; everything runs on the user-interface thread.
std::map<QString, std::unique_ptr<TLienD2XX>>& liens() {
    static std::map<QString, std::unique_ptr<TLienD2XX>> l;
    return l;
}

QString cle(const QString& chemin) {
    const QFileInfo info(chemin);
    return info.isAbsolute() ? QDir::cleanPath(info.absoluteFilePath()) : chemin;
}

} // namespace

TTransportD2XX::TTransportD2XX(const QString& cheminAbsolu) {
    auto& l = liens()[cle(cheminAbsolu)];
    if (!l)
        l = std::make_unique<TLienD2XX>(cheminAbsolu);
    lien_ = l.get();
    ++lien_->detenteurs;
}

TTransportD2XX::~TTransportD2XX() {
    fermer();
    if (--lien_->detenteurs > 0)
        return;
    for (auto it = liens().begin(); it != liens().end(); ++it)
        if (it->second.get() == lien_) {
            liens().erase(it);
            break;
        }
}

bool TTransportD2XX::installe() const {
    return lien_->installe;
}

QString TTransportD2XX::erreurChargement() const {
    return lien_->erreur;
}

int TTransportD2XX::detenteurs() const {
    return lien_->detenteurs;
}

bool TTransportD2XX::verifie(FT_STATUS st) {
    if (st == FT_OK)
        return true;
    dernierStatut_ = st;
    if (st == FT_IO_ERROR || st == FT_INVALID_HANDLE) {
        // The device is gone (unplugged): its handle is dead for every holder.
        erreurLien_ = true;
        lien_->fermerPeripherique();
    }
    return false;
}

bool TTransportD2XX::ouvrir() {
    if (!installe())
        return false;
    TLienD2XX& l = *lien_;
    const TFonctionsD2XX& f = l.f;
    l.fermerPeripherique();
    dernierStatut_ = FT_OK;
    char description[sizeof descriptionV6];
    std::copy(std::begin(descriptionV6), std::end(descriptionV6), description);
    FT_HANDLE h = nullptr;
    if (!verifie(f.FT_OpenEx(description, FT_OPEN_BY_DESCRIPTION, &h)) || h == nullptr)
        return false;
    l.poignee = h;
    const bool regle =
        verifie(f.FT_SetBaudRate(h, baud)) &&
        verifie(f.FT_SetDataCharacteristics(h, FT_BITS_8, FT_STOP_BITS_1, FT_PARITY_NONE)) &&
        verifie(f.FT_SetFlowControl(h, FT_FLOW_RTS_CTS, 0x11, 0x13)) &&
        verifie(f.FT_SetChars(h, 0, 0, 0, 0)) && verifie(f.FT_SetTimeouts(h, 100, 1000)) &&
        verifie(f.FT_SetRts(h)) && verifie(f.FT_Purge(h, FT_PURGE_RX)) &&
        verifie(f.FT_Purge(h, FT_PURGE_TX));
    if (!regle) {
        // A port that cannot be set would speak garbage: not an open device.
        l.fermerPeripherique();
        return false;
    }
    if (!demandeur_) {
        demandeur_ = true;
        ++l.demandeurs;
    }
    erreurLien_ = false;
    return true;
}

void TTransportD2XX::fermer() {
    if (!demandeur_)
        return;
    demandeur_ = false;
    if (--lien_->demandeurs == 0)
        lien_->fermerPeripherique();
}

bool TTransportD2XX::ouvert() const {
    return lien_->poignee != nullptr;
}

bool TTransportD2XX::ecrire(const uint8_t* octets, std::size_t n) {
    if (!ouvert())
        return false;
    uint8_t bloc[blocEcriture];
    while (n > 0) {
        const std::size_t k = std::min(n, blocEcriture);
        std::copy(octets, octets + k, bloc); // the function takes a non-const buffer
        DWORD ecrits = 0;
        if (!verifie(lien_->f.FT_Write(lien_->poignee, bloc, static_cast<DWORD>(k), &ecrits)))
            return false;
        if (ecrits != k) // the write time-out passed
            return false;
        octets += k;
        n -= k;
    }
    return true;
}

std::size_t TTransportD2XX::enAttente() {
    if (!ouvert())
        return 0;
    DWORD n = 0;
    if (!verifie(lien_->f.FT_GetQueueStatus(lien_->poignee, &n)))
        return 0;
    return n;
}

std::size_t TTransportD2XX::lire(uint8_t* octets, std::size_t n) {
    if (n == 0 || octets == nullptr)
        return 0;
    // Only what waits: the read then returns at once, whatever its time-out.
    const std::size_t k = std::min(n, enAttente());
    if (k == 0)
        return 0;
    DWORD lus = 0;
    if (!verifie(lien_->f.FT_Read(lien_->poignee, octets, static_cast<DWORD>(k), &lus)))
        return 0;
    return std::min<std::size_t>(lus, k);
}

void TTransportD2XX::purger() {
    if (!ouvert())
        return;
    if (verifie(lien_->f.FT_Purge(lien_->poignee, FT_PURGE_RX)))
        verifie(lien_->f.FT_Purge(lien_->poignee, FT_PURGE_TX));
}
