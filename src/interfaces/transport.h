#pragma once
// The byte link of a unit spoken to with a byte protocol (the V6 over its USB-serial
// bridge): opening, writing, reading what waits, purging. Implementations: the D2XX
// library loaded at run time (the maker's file on Windows, FTDI's library on Linux, our
// simulator), libftdi1 for the real unit on Linux, a scripted link in tests. The protocol
// itself lives in a codec (codec.h) that never touches the link.
#include <cstddef>
#include <cstdint>

class TTransportOctets {
public:
    virtual ~TTransportOctets() = default;

    // Opens the device (closing it first when open) and sets its port; false when it is
    // not there. Never throws.
    virtual bool ouvrir() = 0;
    virtual void fermer() = 0;
    virtual bool ouvert() const = 0;
    // Writes n bytes; false when the link refused them.
    virtual bool ecrire(const uint8_t* octets, std::size_t n) = 0;
    // Bytes waiting in the receive queue, without waiting.
    virtual std::size_t enAttente() = 0;
    // Copies at most n waiting bytes into octets and returns how many; never waits.
    virtual std::size_t lire(uint8_t* octets, std::size_t n) = 0;
    // Discards what waits in both directions.
    virtual void purger() = 0;
    // True once a call has failed because the device is gone (unplugged: an I/O error or
    // a dead handle), as opposed to nothing having come yet; cleared by a successful
    // ouvrir. Such a failure also closes the link (ouvert() false): the driver reports the
    // unit lost on either.
    virtual bool erreurLien() const { return false; }
};
