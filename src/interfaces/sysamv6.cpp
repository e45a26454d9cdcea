// TSYSAMV6: construction, the link primitives, presence, calibration and labels.
#include "sysamv6.h"

#include "arrondis.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

namespace {

class THorlogeSysteme final : public THorlogeV6 {
public:
    int64_t maintenantMs() override {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }
    void dormirUs(int us) override { std::this_thread::sleep_for(std::chrono::microseconds(us)); }
};

const char* const nomsCalibres[4] = {"-25/+25 V", "-10/+10 V", "-5/+5 V", "-1/+1 V"};
const char* const largeursCalibres[4] = {" +10.0 ", " +5.00 ", " +1.00 ", " +0.200 "};

const char* const texteITe =
    "Intervalle de temps entre deux points de mesures : \n\rvous ne pouvez pas le modifier. "
    "\n\r- Lorsque la durée totale est supérieure ou égale à 1s, \n\ril s'agit d'un multiple "
    "entier de 1 ms. \n\r- Lorsque la durée totale est inférieure à 1s, il s'agit \n\rd'un "
    "multiple entier de 10 µs X le nombre de voies activées.";

// A waiting byte is polled this often: an echo comes back within tens of microseconds on
// the 1.25 Mbaud link, and a command of 30 bytes, each waiting for its echo, must not take
// 30 ms; a tenth of a millisecond still lets the core sleep.
constexpr int pasAttenteUs = 100;

} // namespace

THorlogeV6& horlogeSysteme() {
    static THorlogeSysteme h;
    return h;
}

TSYSAMV6::TSYSAMV6(std::unique_ptr<TTransportOctets> transport, int logiUti1, int typeCentrale1,
                   THorlogeV6* horloge)
    : TCentrale(logiUti1), horloge_(horloge ? horloge : &horlogeSysteme()) {
    initialiser(std::move(transport), logiUti1, typeCentrale1);
}

TSYSAMV6::~TSYSAMV6() {
    if (transport_)
        transport_->fermer();
}

void TSYSAMV6::initialiser(std::unique_ptr<TTransportOctets> transport, int logiUti1,
                           int typeCentrale1) {
    if (transport_)
        transport_->fermer();
    initialiserBase(logiUti1);
    static_cast<TDonneesV6&>(*this) = TDonneesV6{};
    transport_ = std::move(transport);
    typeCentrale = typeCentrale1;
    nomCentrale = nomLongCentrale(typeCentrale);
    preparerGeometrie();
    calibrageNominal();

    CentraleInstallee = transport_ != nullptr;
    if (CentraleInstallee && Open_V6()) {
        CentralePresente = Presente();
        if (CentralePresente) {
            Send_V6("I");
            bool ok = false;
            const std::string serie = Send_V6("2", &ok);
            if (ok && !serie.empty())
                numeroSerie = QString::fromLatin1(serie.data(), static_cast<int>(serie.size()));
        }
    } else {
        CentralePresente = false;
        numeroSerie = QStringLiteral("V6Absente");
    }
    appliquerReglagesDefaut();
}

void TSYSAMV6::liberer(bool libererDLL) {
    if (libererDLL && transport_) {
        if (demarree)
            arreteAcq();
        transport_->fermer();
        transport_.reset();
        CentraleInstallee = false;
    }
    TCentrale::liberer(libererDLL);
}

void TSYSAMV6::preparerGeometrie() {
    nbEAU = 3;
    nbCanaux_ = 3;
    nbCanauxUt = 3;
    nbCalEA = 1;
    nbCalCap = 0;
    nbCalEAKirvane = 4;
    calibresEAStandard = {25.0f, 10.0f, 5.0f, 1.0f};
    calibresDispo = {25.0f, -1.0f, -1.0f, -1.0f, -1.0f, -1.0f, -1.0f, -1.0f};
    ChxModeDiff = 2;
    canauxDiff.assign(3, true);
    ResoCANPts = 4096;
    ResoCNAPts = 4096;
    ResoCAN = 1.0f / 4096.0f;
    ResoCNA = 1.0f / 4096.0f;
    ResoCANdB = static_cast<float>(20.0 * std::log10(1.0 / 4096.0));
    ResoCNAdB = ResoCANdB;
    TeCAN = 1e-5;
    TeCNA = 1e-5;
    tSkipAcq = 1e-5;
    FeAcq = 1.0 / tSkipAcq;
    tSkipAcqPerfMax = 0.0f;
    tRemanence = 0.0;
    NbPtsFifo = 256;
    nbPtsFifoMin = 1;
    nbPtsMax01 = 32768;
    nbPtsMin01 = 11;
    nbPts0XMax = 30001;
    nbPtsR = 1002;
    taRAMAcqMax = 50001;
    dureeMin = 1e-6;
    idxDureeTotaleMinKirvane = 0;
    idxDureeTotaleMaxKirvane = 29;
    idxNbPointsMinKirvane = 0;
    idxNbPointsMaxKirvane = 10;
    synchroExterneDispo = false;
    pretrigDispo = true;
    LaCentraleGereDesCapteurs = false;
    detectionCapteurPdtAcqPossible = false;
    tAttenteMaxDecl = 0.5f;
    ITeHINT = QString::fromUtf8(texteITe);
    capteurs.assign(4, 0);
    ACapteurs.assign(4, 0);

    sCalibres.clear();
    twCals.clear();
    for (int r = 0; r < 4; ++r) {
        sCalibres.push_back(QString::fromUtf8(nomsCalibres[r]));
        twCals.push_back(QString::fromLatin1(largeursCalibres[r]));
    }
    sEntrees.clear();
    GBCanauxCaption.clear();
    for (int i = 0; i < nbEAU; ++i) {
        sEntrees.push_back(QStringLiteral("EA") + QString::number(i + 1));
        GBCanauxCaption.push_back(QStringLiteral("EA ") + QString::number(i + 1));
    }
    VoiesX.assign(nbEAU, TVoie());
    for (int i = 0; i < nbEAU; ++i) {
        TVoie& v = VoiesX[i];
        for (int r = 0; r < 4; ++r) {
            v.calsVoieR[r] = calibresEAStandard[r];
            v.CalsVoie[r] = arrondi(calibresEAStandard[r]);
        }
        v.calibreR = v.calsVoieR[0];
        v.nbGUCapX = 1;
        v.gUt = 0;
        v.sensConv = 1;
        capteurTensionDefaut(v.cap, QString(), QStringLiteral("u[") + QString::number(i + 1) + ']',
                             25.0f, 2.0f * 25.0f / 4000.0f);
    }
    a1.assign(nbEAU, std::vector<double>(nbCalEA + 2, TCodecV6::gainNominal));
    b1.assign(nbEAU, std::vector<double>(nbCalEA + 2, TCodecV6::offsetNominal));
    b1diff.assign(nbEAU, std::vector<double>(nbCalEA + 2, TCodecV6::offsetNominal));
    VoiesActivesX.assign(nbEAU, -1);
    VoiesActivesSignaux.assign(nbEAU, -1);
    idxTraitKirvane.assign(nbEAU, 0);
    IntitulesVoies.assign(nbEAU, QString());
    IntitulesVoiesCapteurs.assign(nbCanauxUt, {});
}

void TSYSAMV6::calibrageNominal() {
    // Until a valid record is read the unit converts with its nominal ±25 V scale, never
    // with a zero gain.
    for (int i = 0; i < nbEAU; ++i) {
        VoiesX[i].ca = {static_cast<float>(TCodecV6::gainNominal),
                        static_cast<float>(TCodecV6::gainNominal)};
        VoiesX[i].cb = {static_cast<float>(TCodecV6::offsetNominal),
                        static_cast<float>(TCodecV6::offsetNominal)};
        a1[i][0] = TCodecV6::gainNominal;
        b1[i][0] = TCodecV6::offsetNominal;
    }
}

void TSYSAMV6::appliquerReglagesDefaut() {
    VoiesX[0].active = true;
    reconstruireListes();
    determine_tSkipAcquisition();
    modeDecl = 0;
    pretrigCache = 0;
    setDurees(0.1, 1001, false);
    setPretrig(0, false);
    // Programs the unit once when it answers.
    setVoieSynchro(0, CentralePresente);
}

// --- Link primitives ---

bool TSYSAMV6::lienOuvert() const {
    return transport_ && transport_->ouvert();
}

bool TSYSAMV6::Open_V6() {
    if (!transport_)
        return false;
    const bool ok = transport_->ouvrir();
    if (ok)
        transport_->purger();
    return ok;
}

bool TSYSAMV6::EcrireNOctets(const uint8_t* octets, std::size_t n) {
    if (!lienOuvert())
        return false;
    for (std::size_t k = 0; k < n; k += 1024) {
        const std::size_t bloc = std::min<std::size_t>(1024, n - k);
        if (transport_->ecrire(octets + k, bloc))
            continue;
        // One re-open and one retry: a unit re-plugged meanwhile takes the bytes.
        if (!Open_V6() || !transport_->ecrire(octets + k, bloc))
            return false;
    }
    return true;
}

bool TSYSAMV6::EcrireUnCaractere(uint8_t c) {
    return EcrireNOctets(&c, 1);
}

bool TSYSAMV6::LireUnOctet(uint8_t& o) {
    if (!lienOuvert() || transport_->enAttente() == 0)
        return false;
    return transport_->lire(&o, 1) == 1;
}

bool TSYSAMV6::LireUnCaractereTimeOut(uint8_t& c, int delaiMs) {
    const int64_t debut = horloge_->maintenantMs();
    for (;;) {
        if (!lienOuvert())
            return false; // a closed link never answers: no waiting for it
        if (LireUnOctet(c))
            return true;
        if (horloge_->maintenantMs() - debut >= delaiMs)
            return false;
        horloge_->dormirUs(pasAttenteUs);
    }
}

bool TSYSAMV6::AttendreUnCaractereTimeOut(uint8_t c, int delaiMs) {
    const int64_t debut = horloge_->maintenantMs();
    uint8_t lu = 0;
    for (;;) {
        const int64_t reste = delaiMs - (horloge_->maintenantMs() - debut);
        if (reste < 0 || !LireUnCaractereTimeOut(lu, static_cast<int>(reste)))
            return false;
        if (lu == c)
            return true;
    }
}

void TSYSAMV6::attendreSilenceEtPurger() {
    if (!lienOuvert())
        return;
    // Sample bytes may still be on their way: wait until 2 ms pass without one (the unit
    // sends one every 8 µs while it streams; at most 100 ms), then drop everything.
    const int64_t debut = horloge_->maintenantMs();
    int64_t dernier = debut;
    while (horloge_->maintenantMs() - dernier < 2 && horloge_->maintenantMs() - debut < 100) {
        if (transport_->enAttente() > 0) {
            transport_->lire(tampon_.data(), tampon_.size());
            dernier = horloge_->maintenantMs();
        }
        horloge_->dormirUs(pasAttenteUs);
    }
    transport_->purger();
}

std::string TSYSAMV6::Send_V6(const std::string& texte, bool* ok) {
    if (ok)
        *ok = false;
    if (!lienOuvert())
        return {};
    for (char ch : texte) {
        const auto c = static_cast<uint8_t>(ch);
        if (!EcrireUnCaractere(c) || !AttendreUnCaractereTimeOut(c, delaiOctet))
            return {};
    }
    // The framed reply, each byte within its time-out, its length capped by the codec.
    std::array<uint8_t, TCodecV6::longueurMaxReponse + 8> recu{};
    std::size_t n = 0;
    if (!AttendreUnCaractereTimeOut(':', delaiOctet))
        return {};
    recu[n++] = ':';
    for (;;) {
        uint8_t o = 0;
        if (!LireUnCaractereTimeOut(o, delaiOctet))
            return {};
        recu[n++] = o;
        const TReponseCodec r = codec_.reponse(std::span<const uint8_t>(recu.data(), n));
        if (r.etat == TEtatReponse::Invalide)
            return {};
        if (r.etat == TEtatReponse::Complete) {
            if (ok)
                *ok = true;
            return r.texte;
        }
        if (n == recu.size())
            return {};
    }
}

// --- Presence and calibration ---

bool TSYSAMV6::Presente() {
    if (demarree) // an acquisition runs: re-opening the device would break it
        return CentralePresente = !lienPerdu && lienOuvert();
    CentralePresente = false;
    if (Open_V6() && EcrireUnCaractere(ESC) && AttendreUnCaractereTimeOut(ESC, delaiPresence)) {
        attendreSilenceEtPurger();
        CentralePresente = true;
        lienPerdu = false;
        V6TrouveeAuMoinsUneFois = true;
        // Read once: the presence poll runs every second, and a unit plugged back is read
        // again by whoever sees it come back.
        if (!calibrageLu)
            RecupereCalibration();
    }
    return CentralePresente;
}

int TSYSAMV6::presentePendantAcq() {
    if (!transport_)
        return -1;
    return lienPerdu || !transport_->ouvert() ? -1 : 1;
}

void TSYSAMV6::RecupereCalibration() {
    if (!lienOuvert() || demarree)
        return;
    transport_->purger();
    std::array<uint8_t, TCalibrageV6::taille> rec{};
    if (!EcrireUnCaractere('0') || !AttendreUnCaractereTimeOut('0', delaiOctet) ||
        !AttendreUnCaractereTimeOut(':', delaiOctet))
        return;
    for (uint8_t& o : rec)
        if (!LireUnCaractereTimeOut(o, delaiOctet))
            return; // a stalled record keeps the previous coefficients
    uint8_t o = 0;
    if (!LireUnCaractereTimeOut(o, delaiOctet) || o != '@' ||
        !LireUnCaractereTimeOut(o, delaiOctet) || o != TCodecV6::LF ||
        !LireUnCaractereTimeOut(o, delaiOctet) || o != TCodecV6::CR)
        return;
    const TCalibrageV6 cal = TCalibrageV6::decoder(rec);
    for (int i = 0; i < nbEAU; ++i)
        if (!cal.entreeValide(i))
            return;
    CalibrageV6 = cal;
    calibrageLu = true;
    MAJCalibrage();
}

void TSYSAMV6::MAJCalibrage() {
    if (!calibrageLu)
        return;
    for (int i = 0; i < nbEAU; ++i) {
        a1[i][0] = CalibrageV6.AmpliCan[i];
        b1[i][0] = CalibrageV6.OffsetCan[i];
        VoiesX[i].ca = {CalibrageV6.AmpliCan[i], CalibrageV6.AmpliCan[i]};
        VoiesX[i].cb = {CalibrageV6.OffsetCan[i], CalibrageV6.OffsetCan[i]};
    }
    if (!CalibrageV6.NumeroSerie.isEmpty())
        numeroSerie = CalibrageV6.NumeroSerie;
    // The threshold code follows the new coefficients.
    if (voieSynchro >= 0 && voieSynchro < nbEAU)
        VNESeuilDecl = ValUx(voieSynchro, USeuilDecl);
}

void TSYSAMV6::Reset() {
    if (demarree)
        return;
    if (lienOuvert()) {
        transport_->purger();
        Send_V6("I");
    }
    ccV_VoiesAAcqMod = ccP_TempsEchMod = ccN_NbPointsMod = ccE_SynchroMod = ccO_PretrigMod = true;
}

// --- Labels ---

QString TSYSAMV6::getIntituleVoie(int numV) {
    return getCapEA(numV);
}

QString TSYSAMV6::getIntituleVoieSimplifie(int) {
    return {};
}

QString TSYSAMV6::getIntituleVoieTresSimplifie(int) {
    return {};
}

QString TSYSAMV6::GetCapU(int) {
    return QStringLiteral("u");
}

QString TSYSAMV6::GetCapUInd(int numV) {
    return QString::number(numV + 1);
}

QString TSYSAMV6::getCapEA(int numV) {
    return QStringLiteral("EA") + QString::number(numV + 1);
}

QString TSYSAMV6::getCapVM(int numV) {
    return QStringLiteral("u[") + GetCapUInd(numV) + QLatin1Char(']');
}
