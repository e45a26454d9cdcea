// The three save buttons of the tool bar: the measurements between the green markers go to a
// Regressi file, a text table or a CSV table chosen in the save dialog.
#include "enregistrement.h"
#include "fichekirvanemixte.h"
#include "fichierregressi.h"
#include "fichierstexte.h"
#include "graphefiche.h"
#include "instantaneexport.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <optional>

namespace {

std::optional<TFormatFichier> formatDuBouton(TBoutonOutil bouton) {
    switch (bouton) {
    case TBoutonOutil::SBenregistrerRW3:
        return TFormatFichier::Regressi;
    case TBoutonOutil::SBenregistrerTXT:
        return TFormatFichier::Texte;
    case TBoutonOutil::SBEnregistrerCSV:
        return TFormatFichier::CSV;
    default:
        return std::nullopt;
    }
}

std::optional<QByteArray> contenu(TFormatFichier format, const TInstantaneExport& e) {
    switch (format) {
    case TFormatFichier::Texte:
        return fichierTXT(e);
    case TFormatFichier::CSV:
        return fichierCSV(e);
    case TFormatFichier::Regressi:
        break;
    }
    return fichierRegressi(e);
}

// The hourglass while the file is built and written, back to normal on every way out.
class TSablier {
public:
    TSablier() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TSablier() { QGuiApplication::restoreOverrideCursor(); }
    TSablier(const TSablier&) = delete;
    TSablier& operator=(const TSablier&) = delete;
};

} // namespace

bool TFicheKirvaneMixte::enregistrer(TBoutonOutil bouton) {
    const std::optional<TFormatFichier> format = formatDuBouton(bouton);
    if (!format || !centrales.SP5 || !graphe || series.nbVoiesMesurees <= 0)
        return false;

    // The snapshot is taken before any dialog: what is written is what was on screen when
    // the button was pressed.
    const TContexteExport contexte{graphe->ecran.g.t0, graphe->ecran.curseurs.tFin,
                                   reglages.OptionCouleursRegressi,
                                   reglages.optionSeparateurCSV == 1 ? ',' : '.'};
    const TInstantaneExport e = instantaneExport(series, *centrales.SP5, contexte);
    // The writer's own selection decides, so the message and the file never disagree
    // (a right marker before the left one leaves no sample either).
    const bool avecValeurs = *format == TFormatFichier::Regressi ? selectionRegressi(e).has_value()
                                                                 : selectionTableaux(e).has_value();
    if (!avecValeurs) {
        demarrage_.boites->informer(this, messageAucuneValeur());
        return false;
    }

    series.numAcqDef += 1;
    const TDialogueEnregistrement d = dialogueEnregistrement(*format);
    QString& dernierDossier = reglages.dossiersEnregistrement[static_cast<int>(*format)];
    const QString choisi = demarrage_.boites->nomFichierEnregistrement(
        this, d.titre, d.filtre,
        QDir(dossierDialogue(dernierDossier, demarrage_.dossierDocuments))
            .filePath(nomFichierDefaut(series.numAcqDef)));
    if (choisi.isEmpty())
        return false; // abandoned: the counter keeps its new value
    const QString chemin = cheminAvecExtension(choisi, d.extension);

    if (QFileInfo::exists(chemin) &&
        demarrage_.boites->demander(this, questionRemplacement(QDir::toNativeSeparators(chemin)),
                                    false) != TReponse::Oui) {
        series.numAcqDef -= 1;
        return false;
    }

    std::optional<QString> erreur;
    {
        TSablier sablier;
        const std::optional<QByteArray> octets = contenu(*format, e);
        if (!octets)
            return false; // cannot happen: the selection was checked above
        erreur = enregistrerOctets(chemin, *octets);
    }
    if (erreur) {
        // The measurements stay unsaved: closing the window will still offer to save them.
        demarrage_.boites->avertir(this, *erreur);
        return false;
    }
    series.enregistrerX = false;
    // The next dialog of this kind opens where this file went.
    dernierDossier = QFileInfo(chemin).absolutePath();
    return true;
}
