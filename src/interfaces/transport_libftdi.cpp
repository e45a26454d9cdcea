#include "transport_libftdi.h"

#if defined(KIRVANE_AVEC_LIBFTDI)

#include <ftdi.h>

#include <algorithm>
#include <array>
#include <cstdint>

namespace {

constexpr int vendeurFTDI = 0x0403;
// FT232R/FT245R, FT2232, FT4232H, FT232H, FT230X: the bridges FTDI sells under its own
// vendor number.
constexpr int produitsFTDI[] = {0x6001, 0x6010, 0x6011, 0x6014, 0x6015};
constexpr char descriptionV6[] = "Sysam-V6";
constexpr int baud = 1250000;
// The chip hands over what it holds after this many ms: an echo comes back quickly.
constexpr unsigned char latenceMs = 2;
// One bulk read: the chip answers within its latency, so this bounds a poll of a chip that
// no longer answers at all.
constexpr int delaiLectureMs = 100;
constexpr int delaiEcritureMs = 1000;

// The device shared by the transports of the process; everything runs on the
// user-interface thread.
struct TLienFtdi {
    ftdi_context* contexte = nullptr;
    bool ouvert = false;
    int detenteurs = 0;
    int demandeurs = 0;
    // What the chip handed over and no one has read yet.
    std::array<uint8_t, 1 << 16> tampon{};
    std::size_t debut = 0;
    std::size_t fin = 0;

    void fermer() {
        if (ouvert)
            ftdi_usb_close(contexte);
        ouvert = false;
        debut = fin = 0;
    }
    void liberer() {
        fermer();
        if (contexte)
            ftdi_free(contexte);
        contexte = nullptr;
    }
};

TLienFtdi& lien() {
    static TLienFtdi l;
    return l;
}

class TTransportLibftdi : public TTransportOctets {
public:
    TTransportLibftdi() { ++lien().detenteurs; }
    ~TTransportLibftdi() override {
        fermer();
        if (--lien().detenteurs == 0)
            lien().liberer();
    }

    bool ouvrir() override {
        TLienFtdi& l = lien();
        l.fermer();
        if (!l.contexte)
            l.contexte = ftdi_new(); // nullptr when USB cannot be used at all
        if (!l.contexte)
            return false;
        bool trouve = false;
        for (const int produit : produitsFTDI)
            if (ftdi_usb_open_desc(l.contexte, vendeurFTDI, produit, descriptionV6, nullptr) == 0) {
                trouve = true;
                break;
            }
        if (!trouve)
            return false;
        l.ouvert = true;
        ftdi_context* c = l.contexte;
        c->usb_read_timeout = delaiLectureMs;
        c->usb_write_timeout = delaiEcritureMs;
        const bool regle = ftdi_set_baudrate(c, baud) == 0 &&
                           ftdi_set_line_property(c, BITS_8, STOP_BIT_1, NONE) == 0 &&
                           ftdi_setflowctrl(c, SIO_RTS_CTS_HS) == 0 &&
                           ftdi_set_latency_timer(c, latenceMs) == 0 && ftdi_setrts(c, 1) == 0 &&
                           ftdi_tciflush(c) == 0 && ftdi_tcoflush(c) == 0;
        if (!regle) {
            l.fermer();
            return false;
        }
        if (!demandeur_) {
            demandeur_ = true;
            ++l.demandeurs;
        }
        erreurLien_ = false;
        return true;
    }

    void fermer() override {
        if (!demandeur_)
            return;
        demandeur_ = false;
        if (--lien().demandeurs == 0)
            lien().fermer();
    }

    bool ouvert() const override { return lien().ouvert; }

    bool ecrire(const uint8_t* octets, std::size_t n) override {
        TLienFtdi& l = lien();
        if (!l.ouvert)
            return false;
        while (n > 0) {
            const int k = static_cast<int>(std::min<std::size_t>(n, 1024));
            const int r = ftdi_write_data(l.contexte, octets, k);
            if (r < 0) {
                perdu();
                return false;
            }
            if (r == 0)
                return false;
            octets += r;
            n -= static_cast<std::size_t>(r);
        }
        return true;
    }

    // libftdi1 has no queue count: what the chip holds is fetched into the shared buffer.
    std::size_t enAttente() override {
        TLienFtdi& l = lien();
        if (!l.ouvert)
            return 0;
        if (l.debut == l.fin)
            l.debut = l.fin = 0;
        const std::size_t place = l.tampon.size() - l.fin;
        if (place > 0) {
            const int r = ftdi_read_data(l.contexte, l.tampon.data() + l.fin,
                                         static_cast<int>(std::min<std::size_t>(place, 4096)));
            if (r < 0)
                perdu();
            else
                l.fin += static_cast<std::size_t>(r);
        }
        return l.fin - l.debut;
    }

    std::size_t lire(uint8_t* octets, std::size_t n) override {
        TLienFtdi& l = lien();
        if (octets == nullptr || n == 0 || !l.ouvert)
            return 0;
        if (l.fin - l.debut < n)
            enAttente();
        const std::size_t k = std::min(n, l.fin - l.debut);
        std::copy_n(l.tampon.data() + l.debut, k, octets);
        l.debut += k;
        return k;
    }

    void purger() override {
        TLienFtdi& l = lien();
        if (!l.ouvert)
            return;
        l.debut = l.fin = 0;
        if (ftdi_tciflush(l.contexte) < 0 || ftdi_tcoflush(l.contexte) < 0)
            perdu();
    }

    bool erreurLien() const override { return erreurLien_; }

private:
    // A USB error: the device is gone (unplugged); closed for every holder.
    void perdu() {
        erreurLien_ = true;
        lien().fermer();
    }

    bool demandeur_ = false;
    bool erreurLien_ = false;
};

} // namespace

bool libftdiDisponible() {
    return true;
}

std::unique_ptr<TTransportOctets> creerTransportLibftdi() {
    return std::make_unique<TTransportLibftdi>();
}

#else

bool libftdiDisponible() {
    return false;
}

std::unique_ptr<TTransportOctets> creerTransportLibftdi() {
    return nullptr;
}

#endif
