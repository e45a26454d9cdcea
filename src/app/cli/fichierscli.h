#pragma once
// The files of the command-line tool: their folders checked before anything is acquired,
// then each written with the program's writer, or sent to the standard output for «-».
#include "optionscli.h"

#include <QString>
#include <cstdio>

class TConsoleCli;
struct TInstantaneExport;

// Empty when every file asked for can be written; otherwise the French message of the
// first that cannot: a directory in its place, a folder that does not exist or refuses
// a new file.
QString verifierFichiers(const TOptionsCli& options);

// Writes the files asked for; false when one could not be written (the message is on the
// console). sortie: the standard output, for «-».
bool enregistrerFichiers(const TOptionsCli& options, const TInstantaneExport& e,
                         TConsoleCli& console, std::FILE* sortie = stdout);
