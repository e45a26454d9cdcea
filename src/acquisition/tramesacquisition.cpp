// The two kinds of frames of permanent mode and the commit of an acquisition.
#include "moteuracquisition.h"

#include <algorithm>

void TMoteurAcquisition::acquisitionTrameRapide() {
    // A fast frame is stored into work columns and copied into the store only once it is
    // complete: an interrupted frame never mixes with the previous one.
    pt0Trame = 0;
    preparerColonnes(TGenreLecture::TrameRapide);
    vue_.debutTrameRapide();
    armer(TGenreLecture::TrameRapide);
    boucleLecture(TGenreLecture::TrameRapide);
    if (SP5->trameTerminee && dernierEcrit_ >= 0) {
        const int m = series_.nbVoiesMesurees;
        for (int i = 0; i < nbS_; ++i) {
            auto& col = series_.tv2[m + i];
            const int64_t n =
                std::min<int64_t>(dernierEcrit_ + 1, static_cast<int64_t>(col.size()));
            std::copy(trameRapide_[i].begin(), trameRapide_[i].begin() + n, col.begin());
        }
    }
    traiterValeursDirectes(TGenreLecture::TrameRapide);
    vue_.finTrameRapide();
}

void TMoteurAcquisition::acquisitionTrameLente() {
    const int64_t nbPts = std::max<int64_t>(0, SP5->nbPts0X);
    pt0Trame = trameX * nbPts;
    preparerColonnes(TGenreLecture::TrameLente);
    if (optionEffaceTrame) {
        // Only the columns of the running acquisition: appended series stay.
        for (std::size_t s = series_.nbVoiesMesurees; s < series_.tv2.size(); ++s)
            std::fill(series_.tv2[s].begin(), series_.tv2[s].end(), 0.0f);
    }
    armer(TGenreLecture::TrameLente);
    boucleLecture(TGenreLecture::TrameLente);
    // Nothing of an older frame survives after the last value written: the rest of the
    // frame (the whole frame when nothing came) is set to 0.
    const int64_t debut = pt0Trame + dernierEcrit_ + 1;
    const int64_t fin = std::min(pt0Trame + nbPts, limiteIndex_);
    for (int i = 0; i < nbS_; ++i)
        if (debut < fin)
            std::fill(colonnes_[i] + debut, colonnes_[i] + fin, 0.0f);
    if (modeDoubleTrameX && trameX >= 0 && trameX <= 1)
        demiComplete_[trameX] = SP5->trameTerminee;
}

void TMoteurAcquisition::choisirDemiTrame() {
    // The committed frame is the latest complete one: the half being filled when its frame
    // completed, else the other half when it holds a complete frame, else the partial
    // frame being filled (its unread part is 0).
    const int64_t nbPts = std::max<int64_t>(0, SP5->nbPts0X);
    int moitie = std::clamp(trameX, 0, 1);
    if (!demiComplete_[moitie] && demiComplete_[1 - moitie])
        moitie = 1 - moitie;
    if (moitie == 1)
        series_.recopierDerniereTrame(nbPts);
}

void TMoteurAcquisition::sortieNormaleMS() {
    valider(false);
}

void TMoteurAcquisition::SortieNormaleMP() {
    valider(true);
}

void TMoteurAcquisition::valider(bool permanente) {
    TCentrale& c = *SP5;
    if (!permanente) {
        setModeGeneral(MODE_MESURES);
    }
    c.getNbPtsPretrig();
    if (c.nbPtsPretrig > 2)
        vue_.dessinerPretrig();
    vue_.effacerValeursDirectes();
    vue_.legendeBoutonAcquisition(QStringLiteral("Démarrer l'acquisition"));
    if (permanente) {
        if (modeDoubleTrameX)
            choisirDemiTrame();
        // The extremes describe the committed frame, not every frame of the run.
        for (std::size_t s = series_.nbVoiesMesurees; s < series_.voiesMesurees.size(); ++s) {
            series_.voiesMesurees[s].max = -120.0f;
            series_.voiesMesurees[s].min = 120.0f;
        }
    }
    const QString compteur =
        series_.valider(c, permanente ? TTypeValidation::Permanente : TTypeValidation::Simple,
                        vue_.contexteValidation());
    vue_.afficherMessage(compteur);
    setModeGeneral(permanente ? MODE_PERMANENT_ARRETE : MODE_MESURES);
    c.idxPretrig = indexCBPretrig;
    vue_.acquisitionValidee(permanente);
    if (permanente || !bloqueTimerAcqDirecte)
        vue_.timerAcqDirecte(true);
    if (typeSortieMP == SORTIE_DEBRANCHEMENT || typeSortieMP == SORTIE_DONNEES_MANQUANTES) {
        const TSortieMP code = typeSortieMP;
        typeSortieMP = SORTIE_AUCUNE;
        vue_.avertir(code == SORTIE_DEBRANCHEMENT ? texteDebranchement : texteDonneesManquantes);
    }
}
