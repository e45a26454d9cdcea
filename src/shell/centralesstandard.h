#pragma once
// The drivers of the units and the places of their libraries as the program starts them,
// shared by the window and the command-line tool.
#include "gestionnairecentrales.h"

// Message when no unit is installed at all.
inline constexpr const char* AUCUNE_CENTRALE =
    "Aucune centrale \n\r- SYSAM SP5\n\r- SYSAM V6\n\r- SYSAM CAMPUS \n\rn'est installée sur "
    "cet ordinateur.\n\r\n\r\"Kirvane\" ne peut pas fonctionner.";

// TSP5 for the SP5 family; the V6 and CAMPUS drivers are not there yet (not installed).
TFabriqueCentrale fabriqueCentralesStandard();
// The maker's folders first, then the simulator shipped beside the executable.
TCheminsCentrales cheminsCentralesStandard();
