#pragma once
// The protocol of a byte-protocol unit, apart from its link: commands out, replies,
// calibration and samples in. A codec is pure (no link, no clock, no state beyond the
// bytes it was given), so that it is tested byte for byte without any device; the driver
// moves its bytes through a TTransportOctets and keeps the time-outs.
#include "centrale.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// What a reply assembled from received bytes has become.
enum class TEtatReponse {
    Incomplete, // more bytes are needed
    Complete,   // texte holds the reply
    Invalide,   // a byte broke the framing: the reply is lost
};

struct TReponseCodec {
    TEtatReponse etat = TEtatReponse::Incomplete;
    std::string texte;
    std::size_t consommes = 0; // bytes of the input used
};

class TCodecCentrale {
public:
    virtual ~TCodecCentrale() = default;

    // The commands that program the unit for the settings of c, in the order they are
    // sent, each as the bytes of one command.
    virtual std::vector<std::vector<uint8_t>> commandesProgrammation(const TCentrale& c) const = 0;
    // One reply read from the bytes received so far.
    virtual TReponseCodec reponse(std::span<const uint8_t> octets) const = 0;
    // The unit's calibration record decoded into the shared coefficients of c; false when
    // the record is malformed (then c is left unchanged).
    virtual bool calibrage(std::span<const uint8_t> enregistrement, TCentrale& c) const = 0;
    // Sample bytes into FIFO words (12-bit code in bits 15..4); returns the words written,
    // at most mots.size(); the bytes used are reported in consommes (an odd trailing byte
    // waits for its pair).
    virtual std::size_t echantillons(std::span<const uint8_t> octets, std::span<uint16_t> mots,
                                     std::size_t& consommes) const = 0;
};
