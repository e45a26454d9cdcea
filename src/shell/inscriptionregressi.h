#pragma once
// Regressi keeps a list of acquisition programs (values "0" to "5" of its key
// "Software\Regressi\Acquisition"); the program adds itself to the first free place.
#include <QString>

class QSettings;

// Adds cheminProgramme to the list held by reglages (opened on Regressi's key), unless it
// is already there or all six places are taken. Returns true when it wrote.
bool inscrireAupresDeRegressi(QSettings& reglages, const QString& cheminProgramme);

// On Windows: the current user's key, only when it exists (it is never created).
// Elsewhere Regressi does not run natively: nothing is done.
void inscrireAupresDeRegressi(const QString& cheminProgramme);
