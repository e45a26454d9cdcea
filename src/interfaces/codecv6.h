#pragma once
// TCodecV6: the byte protocol of the SYSAM V6, apart from its link. Commands are text
// ("P" + 4 upper-case hex digits …), replies are framed ":" text "@" LF CR, the
// calibration record is 128 little-endian bytes, samples are 12-bit codes in two bytes,
// low byte first. Everything here is a pure function of its arguments.
#include "codec.h"

#include <QString>
#include <array>
#include <cstdint>
#include <span>
#include <string>

// The calibration record of the unit, decoded from its 128 bytes.
struct TCalibrageV6 {
    static constexpr int taille = 128;

    std::array<float, 4> AmpliCan{};  // input i: volts per code
    std::array<float, 4> OffsetCan{}; // input i: volts at code 0
    float AmpliDac = 0.0f;
    float OffsetDac = 0.0f;
    uint16_t ReglageZeroDAc = 0;
    uint32_t ST_NS = 0;
    uint8_t ST_OK = 0;
    QString NumeroSerie;     // 16 8-bit characters, up to the first NUL
    QString DateCalibration; // likewise

    static TCalibrageV6 decoder(std::span<const uint8_t, taille> octets);
    // Gain and offset of input i are usable: both finite, the gain not zero.
    bool entreeValide(int i) const;

    bool operator==(const TCalibrageV6&) const = default;
};

class TCodecV6 final : public TCodecCentrale {
public:
    static constexpr uint8_t ESC = 27;
    static constexpr uint8_t LF = 10;
    static constexpr uint8_t CR = 13;
    // Longest reply text taken: a longer one is a broken frame, never a reason to read on.
    static constexpr std::size_t longueurMaxReponse = 256;
    // Nominal conversion of the ±25 V range before any record: 50 V over 4096 codes.
    static constexpr double gainNominal = 50.0 / 4096.0;
    static constexpr double offsetNominal = -25.0;
    // Hidden points the unit acquires before the pretrigger in threshold mode.
    static constexpr int pretrigCacheSeuil = 4;
    // Largest per-input period of the fast timebase: its 16-bit counter counts 50 ns steps
    // up to 65536.
    static constexpr double dtMaxRapide = 65536.0 / 2e7;
    // Largest period of the slow timebase: "P" carries (ms - 1) on 16 bits.
    static constexpr double dtMaxLent = 65.536;

    // --- Commands, each the text the unit receives ---
    // "P" + 4 hex digits, from the value the timebase gives; never outside 0..0xFFFF.
    static std::string hex4(int64_t valeur);
    // Value of the timebase field: fast round(65536 - dt / n × 2e7), slow round(dt ms - 1),
    // limited to 0..0xFFFF.
    static int64_t valeurTempsEch(int modeAcq, double dt0X, int nbVoiesES);
    static std::string commandeTempsEch(int modeAcq, double dt0X, int nbVoiesES);
    // "V0F0F0F0F0F" with the code of each active input (0, 2, 4) in positions 2, 4, 6, 8;
    // all "F" when the inputs are not announced.
    static std::string commandeVoies(std::span<const int> voiesActives, bool annoncer);
    static std::string commandeNbPoints(int64_t nbPts0X, int pretrigCache);
    // Manual "E0000000"; threshold "E" + ("2" rising | "3" falling) + "02" + 3 hex digits
    // of the code (or "800" when the unit is absent) + the trigger input's code; external
    // "E1020000".
    static std::string commandeSynchro(int modeDecl, bool montant, int codeSeuil, int voie,
                                       bool presente);
    static std::string commandePretrig(int64_t nbPtsPretrig, int pretrigCache);
    // "A" + decimal(2 × input).
    static std::string commandeMesure(int voie);

    // Hidden pretrigger points for a trigger mode.
    static int pretrigCache(int modeDecl) { return modeDecl == 1 || modeDecl == 2 ? 4 : 0; }
    // Points before the trigger that the unit is asked for in a trigger mode.
    static int64_t nbPtsPretrigPour(int modeDecl, float tauxPretrig, int64_t nbPts0X);
    // Raw code of a voltage on an input with gain ca and offset cb, limited to 0..4095.
    static int codeTension(double ca, double cb, double U);

    // The settings of c as the five commands V, P, N, E, O, in the order they are sent.
    std::vector<std::vector<uint8_t>> commandesProgrammation(const TCentrale& c) const override;
    // Bytes up to ":" are skipped (echoes, stale bytes); then the text up to "@", then LF
    // and CR. Anything else after "@", or a text over longueurMaxReponse, is Invalide.
    TReponseCodec reponse(std::span<const uint8_t> octets) const override;
    // A record of 128 bytes whose three inputs are usable fills a1, b1, ca, cb and
    // numeroSerie of c; otherwise c is left as it is and the result is false.
    bool calibrage(std::span<const uint8_t> enregistrement, TCentrale& c) const override;
    // Pairs of bytes, low first, into code × 16; a trailing odd byte is not consumed.
    std::size_t echantillons(std::span<const uint8_t> octets, std::span<uint16_t> mots,
                             std::size_t& consommes) const override;

    // A reply text read as a hexadecimal number; false when it is not one.
    static bool lireHex(const std::string& texte, int& valeur);
};
