#pragma once
// The byte link over the FTDI D2XX functions, from a library loaded at run time by
// absolute path (FTDI's own, or our V6 simulator, which exports the same functions). The
// library, its function table and the device handle are shared by every transport of the
// process made on the same file: one device, one handle, counted holders. Releasing one
// transport never closes the device or unloads the library under another; the last one
// out closes and unloads.
#include "d2xx.h"
#include "transport.h"

#include <QString>

struct TFonctionsD2XX {
    TFT_OpenEx FT_OpenEx = nullptr;
    TFT_Close FT_Close = nullptr;
    TFT_Read FT_Read = nullptr;
    TFT_Write FT_Write = nullptr;
    TFT_SetBaudRate FT_SetBaudRate = nullptr;
    TFT_SetDataCharacteristics FT_SetDataCharacteristics = nullptr;
    TFT_SetFlowControl FT_SetFlowControl = nullptr;
    TFT_SetRts FT_SetRts = nullptr;
    TFT_SetChars FT_SetChars = nullptr;
    TFT_Purge FT_Purge = nullptr;
    TFT_SetTimeouts FT_SetTimeouts = nullptr;
    TFT_GetQueueStatus FT_GetQueueStatus = nullptr;
};

class TLienD2XX;

class TTransportD2XX : public TTransportOctets {
public:
    // The USB description of the unit's bridge.
    static constexpr char descriptionV6[] = "Sysam-V6";
    static constexpr uint32_t baud = 1250000;
    // Largest block handed to one write call.
    static constexpr std::size_t blocEcriture = 1024;

    // Loads the library at cheminAbsolu (or joins the transports already on it) and resolves
    // its twelve functions; never throws.
    explicit TTransportD2XX(const QString& cheminAbsolu);
    ~TTransportD2XX() override;
    TTransportD2XX(const TTransportD2XX&) = delete;
    TTransportD2XX& operator=(const TTransportD2XX&) = delete;

    // The library is loaded and has every function.
    bool installe() const;
    // Empty when installed or when the file could not be loaded at all; otherwise the
    // French text of the first missing function ("Erreur lors du chargement de FT_…").
    QString erreurChargement() const;
    // Transports of the process sharing this one's library and device (this one included).
    int detenteurs() const;

    // Closes the shared device when open, opens the "Sysam-V6" device by description and
    // sets the port: 1 250 000 baud, 8 bits, 1 stop bit, no parity, RTS/CTS flow control
    // (XON 0x11, XOFF 0x13), no event or error character, time-outs 100 ms for reads and
    // 1000 ms for writes, RTS set, both buffers purged. Fails at once when the device is
    // not there.
    bool ouvrir() override;
    // This transport no longer needs the device: it is closed once no holder that opened
    // it still does.
    void fermer() override;
    bool ouvert() const override;
    bool ecrire(const uint8_t* octets, std::size_t n) override;
    std::size_t enAttente() override;
    std::size_t lire(uint8_t* octets, std::size_t n) override;
    void purger() override;
    // An I/O error or a dead handle closes the device (ouvert() becomes false).
    bool erreurLien() const override { return erreurLien_; }
    // Status of the last D2XX call that failed (FT_OK when none since the last ouvrir).
    d2xx::FT_STATUS dernierStatut() const { return dernierStatut_; }

private:
    // Notes a failed status; true when st is FT_OK.
    bool verifie(d2xx::FT_STATUS st);

    TLienD2XX* lien_ = nullptr;
    bool demandeur_ = false; // this transport opened the device and has not closed it
    bool erreurLien_ = false;
    d2xx::FT_STATUS dernierStatut_ = d2xx::FT_OK;
};
