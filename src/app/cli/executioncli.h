#pragma once
// One run of the command-line tool: detection of the units as the program does it, choice
// and activation of one, its programming, one acquisition (or frames of permanent mode) with
// the program's engine, and the files written with the program's writers.
#include "gestionnairecentrales.h"

#include <QString>
#include <QStringList>

// Exit statuses.
enum : int { SORTIE_OK = 0, SORTIE_ECHEC = 1, SORTIE_OPTIONS = 2 };

// The kind to make active: the requested one when detection found it installed, else
// (nothing requested) the one the program would choose: the only managed unit, or with
// several the first that answered (the window asks the user). 0 with the French message
// when there is none.
int typeCentraleChoisi(const TGestionnaireCentrales& g, int demande, QString& erreur);

// Runs the tool on its arguments (the program's name left out); returns the exit status.
int executerCli(const QStringList& arguments);
