#pragma once
// Saving the measurements: the texts and rules of the three save buttons, and writing a
// file so that a failure never destroys the previous one.
#include <QByteArray>
#include <QString>
#include <optional>

enum class TFormatFichier { Regressi, Texte, CSV };

// What the save dialog of a format shows and the extension the saved file gets.
struct TDialogueEnregistrement {
    QString titre;     // «Enregistrement au format Regressi Win»
    QString filtre;    // «Fichiers Regressi Windows (*.rw3)»
    QString extension; // «.rw3»
};
TDialogueEnregistrement dialogueEnregistrement(TFormatFichier format);

// The folder a save dialog opens in: the one last used for that kind of file while it still
// exists, else the user's documents folder, else the home folder (never the program's own
// folder, which a school computer does not let pupils write in).
QString dossierDialogue(const QString& dernierDossier, const QString& dossierDocuments);

// «Kirvane 001»: the counter with at least three digits.
QString nomFichierDefaut(int numAcqDef);

// In the file-name part of the chosen path (after the last "/" or "\"), everything from the
// first "." on is removed and the extension appended: «C:\Mesures\essai.v2.txt» with ".rw3"
// gives «C:\Mesures\essai.rw3».
QString cheminAvecExtension(const QString& chemin, const QString& extension);

// The question asked before replacing an existing file (Yes / No).
QString questionRemplacement(const QString& chemin);

// The information given when no sample lies between the green cursors.
QString messageAucuneValeur();

// Writes the bytes to a temporary file in the target's folder and renames it over the
// target once complete. Nothing on success; otherwise the French message to show, and the
// previous file, if any, is left as it was.
std::optional<QString> enregistrerOctets(const QString& chemin, const QByteArray& octets);
