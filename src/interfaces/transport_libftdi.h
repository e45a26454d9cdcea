#pragma once
// The byte link over libftdi1, for a real V6 on a Linux machine without FTDI's own library:
// the FTDI devices (vendor 0x0403, FTDI's usual product numbers) are enumerated and the one
// whose USB description is "Sysam-V6" is opened (libftdi1 detaches the kernel's serial
// driver itself), with the port settings of the D2XX link. The device is shared by every
// transport of the process, as with D2XX: the last holder out closes it.
#include "transport.h"

#include <memory>

// True when the program was built with libftdi1.
bool libftdiDisponible();
// A transport over libftdi1; nullptr when the program was built without it.
std::unique_ptr<TTransportOctets> creerTransportLibftdi();
