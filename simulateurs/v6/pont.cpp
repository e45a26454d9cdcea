// The USB-serial bridge as the D2XX functions see it: opening by description, handles,
// port settings, the host's queues, and the journal of the calls that set them.
#include "unite.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <thread>

namespace v6sim {

namespace {

using namespace d2xx;

// Bounds a read's wait when no read time-out was set.
constexpr uint32_t attenteLectureMax = 5000;

// Handles are addresses in this table: a closed handle never matches the open one.
char jetons[64];

} // namespace

void UniteV6::note(const std::string& texte) {
    // Bounded: a test that never empties it cannot make it grow without end.
    if (journal_.size() > 1 << 16)
        journal_.erase(0, journal_.size() / 2);
    journal_ += texte;
    journal_ += ';';
}

FT_STATUS UniteV6::controle(FT_HANDLE h) const {
    if (h != nullptr && h == poigneeMorte_)
        return FT_IO_ERROR;
    if (!ouvert_ || h == nullptr || h != poignee_)
        return FT_INVALID_HANDLE;
    return FT_OK;
}

bool UniteV6::liaisonConforme() const {
    return std::abs(static_cast<double>(baud_) - baudUnite) <= 0.03 * baudUnite &&
           bits_ == FT_BITS_8 && stop_ == FT_STOP_BITS_1 && parite_ == FT_PARITY_NONE;
}

// --- D2XX ---

FT_STATUS UniteV6::ouvrir(void* arg, DWORD flags, FT_HANDLE* h) {
    std::string description = "?";
    if (flags == FT_OPEN_BY_DESCRIPTION && arg != nullptr) {
        const char* texte = static_cast<const char*>(arg);
        description.assign(texte, strnlen(texte, 64));
    }
    note("FT_OpenEx(" + description + "," + std::to_string(flags) + ")");
    if (h == nullptr)
        return FT_INVALID_PARAMETER;
    *h = nullptr;
    if (reglages_.debranche || flags != FT_OPEN_BY_DESCRIPTION || description != descriptionV6)
        return FT_DEVICE_NOT_FOUND;
    if (ouvert_)
        return FT_DEVICE_NOT_OPENED; // already in use
    ouvert_ = true;
    poignee_ = &jetons[++ouvertures_ % sizeof jetons];
    baud_ = 9600;
    bits_ = FT_BITS_8;
    stop_ = FT_STOP_BITS_1;
    parite_ = FT_PARITY_NONE;
    flux_ = FT_FLOW_NONE;
    delaiLecture_ = 0;
    avance(horloge_.maintenant());
    reception_.vider();
    *h = poignee_;
    return FT_OK;
}

FT_STATUS UniteV6::fermer(FT_HANDLE h) {
    note("FT_Close");
    if (h != nullptr && h == poigneeMorte_) {
        poigneeMorte_ = nullptr;
        return FT_OK;
    }
    if (const FT_STATUS s = controle(h))
        return s;
    ouvert_ = false;
    poignee_ = nullptr;
    return FT_OK;
}

FT_STATUS UniteV6::lire(FT_HANDLE h, void* tampon, DWORD n, DWORD* lus) {
    if (const FT_STATUS s = controle(h))
        return s;
    if (lus == nullptr || (tampon == nullptr && n > 0))
        return FT_INVALID_PARAMETER;
    *lus = 0;
    const uint32_t delai = delaiLecture_ == 0 ? attenteLectureMax : delaiLecture_;
    const auto debut = std::chrono::steady_clock::now();
    for (;;) {
        avance(horloge_.maintenant());
        if (reception_.taille() >= n ||
            std::chrono::steady_clock::now() - debut >= std::chrono::milliseconds(delai))
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    *lus = static_cast<DWORD>(reception_.extrait(static_cast<uint8_t*>(tampon), n));
    return FT_OK;
}

FT_STATUS UniteV6::ecrire(FT_HANDLE h, const void* tampon, DWORD n, DWORD* ecrits) {
    if (const FT_STATUS s = controle(h))
        return s;
    if (ecrits == nullptr || (tampon == nullptr && n > 0))
        return FT_INVALID_PARAMETER;
    const double maintenant = horloge_.maintenant();
    avance(maintenant);
    const auto* octets = static_cast<const uint8_t*>(tampon);
    for (DWORD k = 0; k < n; ++k) {
        entreeLibre_ = std::max(maintenant, entreeLibre_) + tempsOctet;
        // At another speed or framing the unit hears only noise.
        if (liaisonConforme())
            recoit(octets[k], entreeLibre_);
    }
    *ecrits = n;
    return FT_OK;
}

FT_STATUS UniteV6::setBaudRate(FT_HANDLE h, ULONG baud) {
    note("FT_SetBaudRate(" + std::to_string(baud) + ")");
    if (const FT_STATUS s = controle(h))
        return s;
    if (baud == 0)
        return FT_INVALID_PARAMETER;
    baud_ = baud;
    return FT_OK;
}

FT_STATUS UniteV6::setDataCharacteristics(FT_HANDLE h, UCHAR bits, UCHAR stop, UCHAR parite) {
    note("FT_SetDataCharacteristics(" + std::to_string(bits) + "," + std::to_string(stop) + "," +
         std::to_string(parite) + ")");
    if (const FT_STATUS s = controle(h))
        return s;
    bits_ = bits;
    stop_ = stop;
    parite_ = parite;
    return FT_OK;
}

FT_STATUS UniteV6::setFlowControl(FT_HANDLE h, USHORT flux, UCHAR xon, UCHAR xoff) {
    char texte[64];
    std::snprintf(texte, sizeof texte, "FT_SetFlowControl(0x%04X,0x%02X,0x%02X)", flux, xon, xoff);
    note(texte);
    if (const FT_STATUS s = controle(h))
        return s;
    flux_ = flux;
    return FT_OK;
}

FT_STATUS UniteV6::setRts(FT_HANDLE h) {
    note("FT_SetRts");
    return controle(h);
}

FT_STATUS UniteV6::setChars(FT_HANDLE h, UCHAR e, UCHAR ea, UCHAR r, UCHAR ra) {
    note("FT_SetChars(" + std::to_string(e) + "," + std::to_string(ea) + "," + std::to_string(r) +
         "," + std::to_string(ra) + ")");
    return controle(h);
}

FT_STATUS UniteV6::purger(FT_HANDLE h, ULONG masque) {
    note("FT_Purge(" + std::to_string(masque) + ")");
    if (const FT_STATUS s = controle(h))
        return s;
    if (masque & FT_PURGE_RX) {
        avance(horloge_.maintenant());
        reception_.vider();
    }
    return FT_OK;
}

FT_STATUS UniteV6::setTimeouts(FT_HANDLE h, ULONG lecture, ULONG ecriture) {
    note("FT_SetTimeouts(" + std::to_string(lecture) + "," + std::to_string(ecriture) + ")");
    if (const FT_STATUS s = controle(h))
        return s;
    delaiLecture_ = std::min<ULONG>(lecture, attenteLectureMax);
    return FT_OK;
}

FT_STATUS UniteV6::enAttente(FT_HANDLE h, DWORD* n) {
    if (const FT_STATUS s = controle(h))
        return s;
    if (n == nullptr)
        return FT_INVALID_PARAMETER;
    avance(horloge_.maintenant());
    *n = static_cast<DWORD>(reception_.taille());
    return FT_OK;
}

} // namespace v6sim
