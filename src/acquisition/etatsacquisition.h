#pragma once
#include <QString>

// What the program is doing (MODEGENERAL, owned by the acquisition engine and read by the
// window, the graph, the live values and the command-line tool) and why a permanent frame
// or an acquisition ended early (typeSortieMP). Unscoped so that the values keep the
// numbers the loops and the settings rules have always used.

// Values of MODEGENERAL.
enum TModeGeneral : int {
    MODE_VIERGE = 0,            // nothing acquired since start or RAZ
    MODE_REGLAGES_MODIFIES = 1, // settings changed, nothing acquired
    MODE_MESURES = 2,           // single-acquisition measurements, idle
    MODE_ACQ_SIMPLE = 3,        // single acquisition running
    MODE_PERMANENT_ARRETE = 4,  // permanent acquisition stopped
    MODE_ACQ_PERMANENTE = 5,    // permanent acquisition running
    MODE_MESURES_ECRAN = 6,     // on-screen measurement panel open
    MODE_TRANSFERT_EXCEL = 7,   // transfer to Excel running
    MODE_TRANSFERT_CALC = 8,    // transfer to OpenOffice/LibreOffice Calc
};

// A single or a permanent acquisition is running: the unit is being read.
constexpr bool acquisitionEnCours(TModeGeneral mode) {
    return mode == MODE_ACQ_SIMPLE || mode == MODE_ACQ_PERMANENTE;
}

// Values of typeSortieMP. Codes 2 to 12 are settings changed during permanent mode, applied
// between two frames; the others end the acquisition.
enum TSortieMP : int {
    SORTIE_AUCUNE = 0,
    SORTIE_ARRET = 1, // stop or "Mode permanent" unchecked in slow frames, quit question
    MP_VOIE_ACTIVE = 2,
    MP_CALIBRE = 3,
    MP_NB_POINTS = 4,
    MP_DUREE_TOTALE = 5,
    MP_MODE_DIFF = 6,
    MP_TYPE_DECL = 7,
    MP_SEUIL = 8,
    MP_SENS_DECL = 9,
    MP_VOIE_SYNCHRO = 10,
    MP_PRETRIG = 11,
    MP_ACQ_PRECEDENTE = 12,
    SORTIE_DEBRANCHEMENT = 13,      // the unit no longer answers
    SORTIE_ARRET_RAPIDE = 14,       // stop or "Mode permanent" unchecked in fast frames
    SORTIE_QUITTER = 15,            // quit button during permanent mode
    SORTIE_DONNEES_MANQUANTES = 16, // the unit answers but stopped sending values still due
};

// A settings change of permanent mode, applied between two frames.
constexpr bool changementReglage(int code) {
    return code >= MP_VOIE_ACTIVE && code <= MP_ACQ_PRECEDENTE;
}

// The values of a setting changed while an acquisition runs, as the settings panel gives
// them (the MP fields of the engine).
struct TReglagesMP {
    int MPEntree = 0;
    int MPCalibre = 0;
    bool MPVoieActive = false;
    bool MPModeDiff = false;
    int MPTypeDecl = 0;
    int MPSensDecl = 0;
    int MPVoieSynchro = 0;
    int MPPretrig = 0;
    QString MPDureeTotale; // seconds, as typed
    QString MPNbPts;
    QString MPUSeuil; // volts, as typed

    bool operator==(const TReglagesMP&) const = default;
};

// One change made while an acquisition runs: its exit code and the values it carries.
// The settings rules hand it to the engine, which keeps it until the end of the running
// frame and gives it back to the rules to apply.
struct TReglageEnAttente : TReglagesMP {
    TSortieMP code = SORTIE_AUCUNE; // typeSortieMP

    bool operator==(const TReglageEnAttente&) const = default;
};
