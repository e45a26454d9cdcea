#pragma once
// Which link reaches a V6 for a library place: the D2XX library at that path (FTDI's own,
// the maker's file on Windows, or our simulator), or libftdi1 for a real unit on Linux.
#include "transport.h"

#include <QString>
#include <memory>

// True when the file name of chemin is the simulator's ("V6SIM.DLL" or "libv6sim.so",
// letters compared without case).
bool estBibliothequeSimulateurV6(const QString& chemin);

// The place that stands for libftdi1 in the list of the V6's places (not a file).
QString placeLibftdiV6();
// The program was built with libftdi1 (declared with the libftdi1 link too).
bool libftdiDisponible();

struct TCreationTransportV6 {
    std::unique_ptr<TTransportOctets> transport; // nullptr: the V6 is not installed there
    QString erreur;                              // a loading error to show (French)
};

// The link for a place; never throws. Through libftdi1 a link is made only when a
// "Sysam-V6" device is plugged in, so that the simulator is offered otherwise.
TCreationTransportV6 creerTransportV6(const QString& chemin);
