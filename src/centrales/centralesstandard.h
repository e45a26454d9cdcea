#pragma once
// The drivers of the units and the places of their libraries as the program starts them,
// read from the table of families; shared by the window and the command-line tool.
#include "gestionnairecentrales.h"

// Message when no unit is installed at all.
inline constexpr const char* AUCUNE_CENTRALE =
    "Aucune centrale \n\r- SYSAM SP5\n\r- SYSAM V6\n\r- SYSAM CAMPUS \n\rn'est installée sur "
    "cet ordinateur.\n\r\n\r\"Kirvane\" ne peut pas fonctionner.";

// Each family's driver; a family without one is not installed.
TFabriqueCentrale fabriqueCentralesStandard();
// The folders of this run: the executable's, the Windows folder, the private library folder.
TDossiersCentrales dossiersCentralesStandard();
// Every family's places in these folders: the maker's first, then the simulator shipped
// with the program.
TCheminsCentrales cheminsCentrales(const TDossiersCentrales& dossiers);
TCheminsCentrales cheminsCentralesStandard();
