#pragma once
// The simulated V6 behind its USB-serial bridge: the device as the D2XX functions see it
// (handles, port settings, queues), the serial line between bridge and unit (1 250 000
// baud, 8 µs a byte each way), and the unit's firmware (echo, commands, framed replies,
// calibration record, runs). Everything is computed when a function is called, from the
// simulated clock: nothing runs in the background.
#include "anneau.h"
#include "calibrage.h"
#include "course.h"
#include "d2xx.h"
#include "horloge.h"
#include "signal_simule.h"
#include "v6sim.h"

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

namespace v6sim {

constexpr char descriptionV6[] = "Sysam-V6";
constexpr uint32_t baudUnite = 1250000;
// One byte on the line: start bit, 8 data bits, stop bit.
constexpr double tempsOctet = 10.0 / baudUnite;

struct ReglagesSimulation {
    simulateurs::ParametresSignal signaux[nbEntrees];
    int32_t bruit = 1;
    double acceleration = 1;
    bool debranche = false;
    bool declenchementAbsent = false;
    double frontExterne = -1;
    int32_t perteOctets = 0;
    int32_t echoPerdu = 0;
    double retardEcho = 0;
    int32_t defautReponse = 0;
    int32_t periodeDefaut = 0;
    int32_t calibrageInterrompu = -1;
    bool octetsPieges = false;
};

// The defaults that the README lists.
ReglagesSimulation reglagesParDefaut();

class UniteV6 {
public:
    static constexpr int32_t bruitMax = codeMax;
    // Bytes the host's receive queue holds; beyond, RTS/CTS holds the unit back (without
    // flow control the bytes are lost).
    static constexpr std::size_t capaciteReception = 1 << 16;

    UniteV6() { reinitialiser(); }

    // --- D2XX ---
    d2xx::FT_STATUS ouvrir(void* arg, d2xx::DWORD flags, d2xx::FT_HANDLE* h);
    d2xx::FT_STATUS fermer(d2xx::FT_HANDLE h);
    d2xx::FT_STATUS lire(d2xx::FT_HANDLE h, void* tampon, d2xx::DWORD n, d2xx::DWORD* lus);
    d2xx::FT_STATUS ecrire(d2xx::FT_HANDLE h, const void* tampon, d2xx::DWORD n,
                           d2xx::DWORD* ecrits);
    d2xx::FT_STATUS setBaudRate(d2xx::FT_HANDLE h, d2xx::ULONG baud);
    d2xx::FT_STATUS setDataCharacteristics(d2xx::FT_HANDLE h, d2xx::UCHAR bits, d2xx::UCHAR stop,
                                           d2xx::UCHAR parite);
    d2xx::FT_STATUS setFlowControl(d2xx::FT_HANDLE h, d2xx::USHORT flux, d2xx::UCHAR xon,
                                   d2xx::UCHAR xoff);
    d2xx::FT_STATUS setRts(d2xx::FT_HANDLE h);
    d2xx::FT_STATUS setChars(d2xx::FT_HANDLE h, d2xx::UCHAR e, d2xx::UCHAR ea, d2xx::UCHAR r,
                             d2xx::UCHAR ra);
    d2xx::FT_STATUS purger(d2xx::FT_HANDLE h, d2xx::ULONG masque);
    d2xx::FT_STATUS setTimeouts(d2xx::FT_HANDLE h, d2xx::ULONG lecture, d2xx::ULONG ecriture);
    d2xx::FT_STATUS enAttente(d2xx::FT_HANDLE h, d2xx::DWORD* n);

    // --- Simulation settings; a bad value is ignored, never an error ---
    void reinitialiser();
    void setSignal(int entree, const simulateurs::ParametresSignal& p);
    void setBruit(int32_t pas);
    void setAcceleration(double facteur);
    void setDebranche(bool debranche);
    void setDeclenchementAbsent(bool absent) { reglages_.declenchementAbsent = absent; }
    void setFrontExterne(double t);
    void setPerteOctets(int32_t n);
    void setEchoPerdu(int32_t n);
    void setRetardEcho(double secondes);
    void setDefautReponse(int32_t defaut, int32_t n);
    void setCalibrageInterrompu(int32_t octets) {
        reglages_.calibrageInterrompu = octets < 0 ? -1 : octets;
    }
    void setOctetsPieges(bool pieges) { reglages_.octetsPieges = pieges; }
    double tension(int entree, double t) const;
    const std::string& journal() const { return journal_; }
    void viderJournal() { journal_.clear(); }
    int64_t octetsRecus() const { return recus_; }
    int32_t configure(std::string_view texte);

private:
    enum class Etat { Repos, AttenteDeclenchement, AttenteD, Flux };

    // The status of a call on h: FT_OK when it is the open handle.
    d2xx::FT_STATUS controle(d2xx::FT_HANDLE h) const;
    void note(const std::string& texte);
    void miseSousTension();
    bool liaisonConforme() const;
    // Brings the unit and the line up to simulated time t.
    void avance(double t);
    void recoit(uint8_t octet, double t);
    void recoitEnCourse(uint8_t octet, double t, double tEcho, bool echo);
    void executeCommande(double t);
    void emet(uint8_t octet, double t) { sortie_.ajoute(octet, t); }
    void emetTexte(std::string_view texte, double t);
    void emetReponse(std::string_view texte, double t);
    void emetCalibrage(double t);
    void demarre(bool rapide, double t);
    void rapportDeclenchement();
    std::string_view reponseCommande(double t);

    ReglagesSimulation reglages_;
    simulateurs::Signal signaux_[nbEntrees];
    simulateurs::HorlogeSimulee horloge_;
    std::string journal_;
    int64_t recus_ = 0;
    uint64_t mesures_ = 0;

    // Device.
    bool ouvert_ = false;
    d2xx::FT_HANDLE poignee_ = nullptr;
    d2xx::FT_HANDLE poigneeMorte_ = nullptr; // open when the unit was unplugged
    uint32_t ouvertures_ = 0;
    uint32_t baud_ = 9600;
    uint8_t bits_ = 8, stop_ = 0, parite_ = 0;
    uint16_t flux_ = d2xx::FT_FLOW_NONE;
    uint32_t delaiLecture_ = 0;

    // Line.
    Anneau<1 << 12> sortie_; // bytes the unit has to send, with the time each was made
    Anneau<capaciteReception> reception_;
    double ligneLibre_ = 0;  // unit → host: when the last byte sent arrived
    double entreeLibre_ = 0; // host → unit: the same
    int64_t echosAvantPerte_ = 0;
    int64_t octetsAvantPerte_ = 0;
    int64_t reponsesAvantDefaut_ = 0;

    // Firmware.
    Etat etat_ = Etat::Repos;
    char commande_[16] = {};
    int longueur_ = 0;
    int longueurAttendue_ = 0;
    std::chrono::steady_clock::time_point dernierCaractere_;
    Programmation programmation_;
    Course course_;
    bool rapide_ = true;
    int64_t octetFlux_ = 0;
    char reponse_[16] = {};
};

} // namespace v6sim
