// The unit's firmware (echo, commands, framed replies, calibration, runs) and the serial
// line from the unit to the bridge.
#include "unite.h"

#include "bruit.h"

#include <algorithm>
#include <cmath>

namespace v6sim {

namespace {

using namespace d2xx;

constexpr uint64_t graineMesures = 0x4D45535552455344ull;
constexpr uint8_t ESC = 27;
// A command left unfinished this long is forgotten: the next byte starts a new one.
constexpr auto oubliCommande = std::chrono::milliseconds(500);

simulateurs::ParametresSignal signal(simulateurs::Forme forme, double amplitude, double frequence,
                                     double offset, double parametre = 0) {
    return {forme, amplitude, frequence, offset, parametre};
}

bool hexMajuscule(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
}

// The value of n upper-case hexadecimal digits, or −1.
int32_t lireHex(const char* p, int n) {
    int32_t v = 0;
    for (int k = 0; k < n; ++k) {
        if (!hexMajuscule(p[k]))
            return -1;
        v = v * 16 + (p[k] <= '9' ? p[k] - '0' : p[k] - 'A' + 10);
    }
    return v;
}

void ecrireHex(char* p, int n, uint32_t v) {
    for (int k = n - 1; k >= 0; --k, v >>= 4)
        p[k] = "0123456789ABCDEF"[v & 0xF];
}

// The input of an input code ("0", "2", "4"), or −1.
int entreeDuCode(char c) {
    return c == '0' ? 0 : c == '2' ? 1 : c == '4' ? 2 : -1;
}

} // namespace

ReglagesSimulation reglagesParDefaut() {
    using simulateurs::Forme;
    ReglagesSimulation r;
    r.signaux[0] = signal(Forme::Sinus, 5, 100, 0);
    r.signaux[1] = signal(Forme::Carre, 2, 50, 0);
    r.signaux[2] = signal(Forme::Charge, 4.5, 10, 0, 0.01);
    return r;
}

void UniteV6::reinitialiser() {
    reglages_ = reglagesParDefaut();
    for (int e = 0; e < nbEntrees; ++e)
        signaux_[e] = simulateurs::Signal(reglages_.signaux[e]);
    horloge_.reinitialiser();
    journal_.clear();
    recus_ = 0;
    mesures_ = 0;
    ouvert_ = false;
    poignee_ = nullptr;
    poigneeMorte_ = nullptr;
    ouvertures_ = 0;
    echosAvantPerte_ = octetsAvantPerte_ = reponsesAvantDefaut_ = 0;
    ligneLibre_ = entreeLibre_ = 0;
    miseSousTension();
}

void UniteV6::miseSousTension() {
    programmation_ = Programmation();
    etat_ = Etat::Repos;
    longueur_ = 0;
    sortie_.vider();
    reception_.vider();
    ligneLibre_ = entreeLibre_ = horloge_.maintenant();
}

// --- The line ---

// The unit sends its framed bytes first, then the samples of a run; each byte leaves when
// it exists and the previous one has gone, and reaches the host's queue 8 µs later.
void UniteV6::avance(double t) {
    if (etat_ == Etat::AttenteDeclenchement && course_.cherche(t))
        rapportDeclenchement();
    const bool retenue = flux_ == FT_FLOW_RTS_CTS;
    for (;;) {
        const bool echantillon = sortie_.vide();
        if (echantillon && (etat_ != Etat::Flux || octetFlux_ >= course_.octetsFlux()))
            break;
        const double produit = echantillon ? course_.tempsOctet(octetFlux_) : sortie_.tempsTete();
        const double arrivee = std::max(produit, ligneLibre_) + tempsOctet;
        if (arrivee > t)
            break;
        if (retenue && reception_.plein()) { // the host holds the unit back
            ligneLibre_ = std::max(ligneLibre_, t);
            break;
        }
        uint8_t octet = 0;
        if (echantillon) {
            octet = course_.octet(octetFlux_++);
            if (reglages_.perteOctets > 0 && ++octetsAvantPerte_ >= reglages_.perteOctets) {
                octetsAvantPerte_ = 0;
                continue;
            }
        } else {
            octet = sortie_.tete();
            sortie_.retire();
        }
        ligneLibre_ = arrivee;
        reception_.ajoute(octet); // lost when the queue is full
    }
    if (etat_ == Etat::Flux && octetFlux_ >= course_.octetsFlux() && sortie_.vide())
        etat_ = Etat::Repos;
}

// --- The firmware ---

void UniteV6::recoit(uint8_t octet, double t) {
    ++recus_;
    bool echo = true;
    if (reglages_.echoPerdu > 0 && ++echosAvantPerte_ >= reglages_.echoPerdu) {
        echosAvantPerte_ = 0;
        echo = false;
    }
    const double tEcho = t + reglages_.retardEcho;
    if (etat_ != Etat::Repos) {
        recoitEnCourse(octet, t, tEcho, echo);
        return;
    }
    if (echo)
        emet(octet, tEcho);
    const auto maintenant = std::chrono::steady_clock::now();
    if (longueur_ > 0 && maintenant - dernierCaractere_ > oubliCommande)
        longueur_ = 0;
    dernierCaractere_ = maintenant;
    if (octet == ESC) {
        longueur_ = 0;
        return;
    }
    if (longueur_ == 0) {
        switch (octet) {
        case 'F':
        case 'G':
            demarre(octet == 'F', t);
            return;
        case '0':
            emetCalibrage(tEcho);
            return;
        case 'I':
        case '2':
            longueurAttendue_ = 1;
            break;
        case 'A':
            longueurAttendue_ = 2;
            break;
        case 'P':
        case 'N':
        case 'O':
            longueurAttendue_ = 5;
            break;
        case 'E':
            longueurAttendue_ = 8;
            break;
        case 'V':
            longueurAttendue_ = 11;
            break;
        default: // not an order: echoed and forgotten
            return;
        }
    }
    commande_[longueur_++] = static_cast<char>(octet);
    if (longueur_ == longueurAttendue_) {
        longueur_ = 0;
        executeCommande(tEcho);
    }
}

// During a run the unit heeds only ESC (stop) and, once the trigger is reported on the fast
// timebase, "D" (send the data); while it sends samples it echoes nothing else.
void UniteV6::recoitEnCourse(uint8_t octet, double t, double tEcho, bool echo) {
    if (octet == ESC) {
        avance(t);
        etat_ = Etat::Repos;
        longueur_ = 0;
        if (echo)
            emet(ESC, tEcho);
        return;
    }
    if (etat_ == Etat::Flux)
        return;
    if (echo)
        emet(octet, tEcho);
    if (octet == 'D' && etat_ == Etat::AttenteD) {
        emet(':', tEcho);
        etat_ = Etat::Flux;
        octetFlux_ = 0;
    }
}

void UniteV6::demarre(bool rapide, double t) {
    ParametresCourse pc;
    pc.signaux = signaux_;
    pc.coefficients = &coefficientsV6();
    pc.bruit = reglages_.bruit;
    pc.declenchementAbsent = reglages_.declenchementAbsent;
    pc.frontExterne = reglages_.frontExterne;
    pc.octetsPieges = reglages_.octetsPieges;
    course_.demarre(programmation_, rapide, pc, t);
    rapide_ = rapide;
    etat_ = Etat::AttenteDeclenchement;
    if (course_.declenchee())
        rapportDeclenchement();
}

// ":" + the count of time steps to come (4 hex digits) + "@" LF CR, when the trigger
// step is converted; on the slow timebase the samples follow at once after a ":".
void UniteV6::rapportDeclenchement() {
    const double t = course_.tempsDeclenchement();
    char texte[4];
    ecrireHex(texte, 4, static_cast<uint32_t>(course_.etapesEnvoyees()));
    emet(':', t);
    emetTexte({texte, 4}, t);
    emetTexte("@\n\r", t);
    if (rapide_) {
        etat_ = Etat::AttenteD;
    } else {
        emet(':', t);
        etat_ = Etat::Flux;
        octetFlux_ = 0;
    }
}

void UniteV6::emetTexte(std::string_view texte, double t) {
    for (const char c : texte)
        emet(static_cast<uint8_t>(c), t);
}

void UniteV6::emetReponse(std::string_view texte, double t) {
    int32_t defaut = SIMV6_REPONSE_NORMALE;
    if (reglages_.periodeDefaut > 0 && ++reponsesAvantDefaut_ >= reglages_.periodeDefaut) {
        reponsesAvantDefaut_ = 0;
        defaut = reglages_.defautReponse;
    }
    if (defaut != SIMV6_SANS_DEUX_POINTS)
        emet(':', t);
    if (defaut != SIMV6_REPONSE_VIDE)
        emetTexte(texte, t);
    if (defaut != SIMV6_SANS_AROBASE)
        emet('@', t);
    if (defaut != SIMV6_SANS_LF)
        emet('\n', t);
    if (defaut != SIMV6_SANS_CR)
        emet('\r', t);
}

void UniteV6::emetCalibrage(double t) {
    uint8_t record[tailleCalibrage];
    ecritCalibrage(record, coefficientsV6());
    const int n = reglages_.calibrageInterrompu < 0
                      ? tailleCalibrage
                      : std::min(reglages_.calibrageInterrompu, tailleCalibrage);
    emet(':', t);
    for (int k = 0; k < n; ++k)
        emet(record[k], t);
    if (n == tailleCalibrage)
        emetTexte("@\n\r", t);
}

void UniteV6::executeCommande(double t) {
    emetReponse(reponseCommande(t), t);
}

// The reply text of the finished command; empty when the command is refused.
std::string_view UniteV6::reponseCommande(double t) {
    const char* c = commande_;
    Programmation& p = programmation_;
    switch (c[0]) {
    case 'I':
        return "OK";
    case '2':
        return numeroSerie;
    case 'V': {
        Programmation n = p;
        n.nbEntrees = 0;
        for (int k = 1; k < 11; k += 2)
            if (c[k] != '0')
                return {};
        for (int k = 2; k < 11; k += 2) {
            if (c[k] == 'F' || c[k] == '8') // none, or the output
                continue;
            const int e = entreeDuCode(c[k]);
            if (e < 0 ||
                std::find(n.entrees, n.entrees + n.nbEntrees, e) != n.entrees + n.nbEntrees)
                return {};
            n.entrees[n.nbEntrees++] = e;
        }
        p = n;
        return "OK";
    }
    case 'P':
    case 'N':
    case 'O': {
        const int32_t v = lireHex(c + 1, 4);
        if (v < 0 || (c[0] == 'N' && v == 0))
            return {};
        (c[0] == 'P' ? p.valeurP : c[0] == 'N' ? p.valeurN : p.valeurO) = static_cast<uint16_t>(v);
        return "OK";
    }
    case 'E': {
        const int32_t seuil = lireHex(c + 4, 3);
        if (lireHex(c + 1, 3) < 0 || seuil < 0)
            return {};
        switch (c[1]) {
        case '0':
            p.mode = ModeDeclenchement::Manuel;
            return "OK";
        case '1':
            p.mode = ModeDeclenchement::Externe;
            return "OK";
        case '2':
        case '3': {
            const int e = entreeDuCode(c[7]);
            if (e < 0)
                return {};
            p.mode = ModeDeclenchement::Seuil;
            p.montant = c[1] == '2';
            p.seuil = seuil;
            p.entreeTrig = e;
            return "OK";
        }
        default:
            return {};
        }
    }
    case 'A': {
        const int e = entreeDuCode(c[1]);
        if (e < 0)
            return {};
        const uint64_t h = simulateurs::melange(graineMesures ^ (++mesures_ * 16 + e));
        const int32_t code = codeTension(signaux_[e](t), e, coefficientsV6(),
                                         simulateurs::pasDeBruit(h, reglages_.bruit));
        ecrireHex(reponse_, 3, static_cast<uint32_t>(code));
        return {reponse_, 3};
    }
    default:
        return {};
    }
}

// --- Simulation settings ---

void UniteV6::setSignal(int entree, const simulateurs::ParametresSignal& p) {
    if (entree < 0 || entree >= nbEntrees || !simulateurs::signalValide(p))
        return;
    reglages_.signaux[entree] = p;
    signaux_[entree] = simulateurs::Signal(p);
}

void UniteV6::setBruit(int32_t pas) {
    reglages_.bruit = std::clamp(pas, 0, bruitMax);
}

void UniteV6::setAcceleration(double facteur) {
    horloge_.setAcceleration(facteur);
    reglages_.acceleration = horloge_.acceleration();
}

void UniteV6::setDebranche(bool debranche) {
    if (debranche && !reglages_.debranche) {
        if (ouvert_)
            poigneeMorte_ = poignee_;
        ouvert_ = false;
        poignee_ = nullptr;
    }
    if (debranche != reglages_.debranche)
        miseSousTension();
    reglages_.debranche = debranche;
}

void UniteV6::setFrontExterne(double t) {
    if (!std::isnan(t))
        reglages_.frontExterne = t < 0 ? -1 : t;
}

void UniteV6::setPerteOctets(int32_t n) {
    reglages_.perteOctets = n > 0 ? n : 0;
    octetsAvantPerte_ = 0;
}

void UniteV6::setEchoPerdu(int32_t n) {
    reglages_.echoPerdu = n > 0 ? n : 0;
    echosAvantPerte_ = 0;
}

void UniteV6::setRetardEcho(double secondes) {
    if (std::isfinite(secondes))
        reglages_.retardEcho = std::clamp(secondes, 0.0, 3600.0);
}

void UniteV6::setDefautReponse(int32_t defaut, int32_t n) {
    const bool connu = defaut >= SIMV6_REPONSE_NORMALE && defaut <= SIMV6_REPONSE_VIDE;
    reglages_.defautReponse = connu ? defaut : SIMV6_REPONSE_NORMALE;
    reglages_.periodeDefaut = connu && defaut != SIMV6_REPONSE_NORMALE && n > 0 ? n : 0;
    reponsesAvantDefaut_ = 0;
}

double UniteV6::tension(int entree, double t) const {
    if (entree < 0 || entree >= nbEntrees || !std::isfinite(t))
        return 0;
    return signaux_[entree](t);
}

} // namespace v6sim
