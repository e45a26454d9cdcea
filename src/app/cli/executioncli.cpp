#include "executioncli.h"

#include "centralesstandard.h"
#include "consolecli.h"
#include "fichierscli.h"
#include "formats.h"
#include "instantaneexport.h"
#include "moteuracquisition.h"
#include "programmationcli.h"
#include "reglagesacq.h"
#include "sp5.h"
#include "systeme.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cstdio>
#include <exception>

namespace {

void ecrireSortie(std::FILE* f, const QString& texte) {
    const QByteArray o = texte.toLocal8Bit();
    std::fwrite(o.constData(), 1, static_cast<std::size_t>(o.size()), f);
    std::fflush(f);
}

int acquerirEtEnregistrer(const TOptionsCli& o, TGestionnaireCentrales& g, TConsoleCli& console) {
    TCentrale& u = *g.SP5;
    // As the window does on activation: the unit reset, then the default settings.
    try {
        u.Reset();
    } catch (const std::exception& e) {
        console.ecrire(QString::fromLocal8Bit(e.what()));
        return SORTIE_ECHEC;
    }
    TSeriesMesurees series;
    series.RAZ(u);
    TMoteurAcquisition moteur(&u, series, console);
    console.moteur = &moteur;
    TReglagesAcq reglages(console);
    u.setDurees(reglages.DureeTotaleDFT, reglages.NbPtsDFT, false);
    reglages.setCentrale(&u);
    reglages.setSeries(&series);
    reglages.prepareCBTemporels();
    reglages.reglagesDefautMI();
    reglages.prepareComposants();
    if (o.trames > 0) {
        // Before the trigger: in permanent mode the first trigger item reads "aucune".
        reglages.setModePermanent(true);
        moteur.clicModePermanent(true);
    }

    QStringList ajustements;
    const QString refus = programmerCli(reglages, o, &ajustements);
    if (!refus.isEmpty()) {
        console.ecrire(refus);
        return SORTIE_ECHEC;
    }
    for (const QString& ligne : ajustements)
        console.ecrire(ligne);
    moteur.pretrigActif = reglages.pretrigActif;
    moteur.indexCBPretrig = reglages.etat.indexPretrig;
    moteur.modeBalayage = reglages.modeBalayage;
    console.tramesVoulues = o.trames;
    console.attenteMax = o.attenteMax;
    console.preparerBarre(u.dureeTotale0X * std::max(1, o.trames));

    if (!TConsoleCli::interrompu())
        moteur.BAcquisitionClick();
    console.moteur = nullptr;
    // Interrupted before the acquisition or after it: still no file.
    if (TConsoleCli::interrompu() && !console.abandon) {
        console.ecrire(QStringLiteral("Acquisition interrompue : aucun fichier n'est écrit."));
        return SORTIE_ECHEC;
    }
    if (console.echec || console.validees == 0) {
        if (!console.echec)
            console.ecrire(QStringLiteral("L'acquisition n'a pas abouti."));
        return SORTIE_ECHEC;
    }

    // The green cursors at the start and at the end of the acquisition.
    TContexteExport contexte;
    contexte.t0 = 0.0f;
    contexte.tFin = u.dureeTotaleAX;
    contexte.separateurCSV = o.csvVirgule ? ',' : '.';
    const TInstantaneExport e = instantaneExport(series, u, contexte);
    return enregistrerFichiers(o, e, console) ? SORTIE_OK : SORTIE_ECHEC;
}

} // namespace

int typeCentraleChoisi(const TGestionnaireCentrales& g, int demande, QString& erreur) {
    erreur.clear();
    if (demande != 0) {
        for (const TCentraleInsPre& c : g.centrales)
            if (c.typecentrale == demande)
                return demande;
        erreur = QStringLiteral("Centrale ") + nomLongCentrale(demande) +
                 QStringLiteral(" non installée sur cet ordinateur");
        return 0;
    }
    if (g.centrales.empty()) {
        erreur = QString::fromUtf8(AUCUNE_CENTRALE);
        return 0;
    }
    // As the window: with simulators only, the first of them (the simulated SP5).
    if (const int t = typeActifSansQuestion(g))
        return t;
    for (const TCentraleInsPre& c : g.centrales)
        if (c.presente)
            return c.typecentrale;
    return g.centrales.front().typecentrale;
}

int executerCli(const QStringList& arguments) {
    // Values are read and written the French way whatever the system's language, so that a
    // script gives the same settings everywhere: «1,5 V» and «2.10-3 s» as the help shows,
    // and what the tool writes reads back the same.
    setSeparateurDecimal(u',');
    const TAnalyseCli analyse = analyserOptions(arguments);
    if (!analyse.erreur.isEmpty()) {
        ecrireSortie(stderr,
                     analyse.erreur + QStringLiteral("\nPour l'aide : kirvane-cli --help\n"));
        return SORTIE_OPTIONS;
    }
    const TOptionsCli& o = analyse.options;
    if (o.aide) {
        ecrireSortie(stdout, texteAideCli());
        return SORTIE_OK;
    }
    // A file that cannot be written is told now, not after a long acquisition.
    if (!o.lister) {
        if (const QString erreur = verifierFichiers(o); !erreur.isEmpty()) {
            ecrireSortie(stderr, erreur + QLatin1Char('\n'));
            return SORTIE_OPTIONS;
        }
    }

    TConsoleCli console;
    TConsoleCli::intercepterInterruption();
    TGestionnaireCentrales g(fabriqueCentralesStandard());
    g.detectionCentrales(cheminsCentralesStandard(), console);
    if (o.lister) {
        ecrireSortie(stdout, console.lignesDetection.join(QLatin1Char('\n')) + QLatin1Char('\n'));
        return SORTIE_OK;
    }
    QString erreur;
    const int type = typeCentraleChoisi(g, o.typeCentrale, erreur);
    if (type == 0) {
        console.ecrire(erreur);
        return SORTIE_ECHEC;
    }
    g.setCentraleActive(type, false, console);
    if (!g.SP5) {
        console.ecrire(QStringLiteral("Centrale ") + nomLongCentrale(type) +
                       QStringLiteral(" non installée sur cet ordinateur"));
        return SORTIE_ECHEC;
    }
    if (!g.SP5Presente) {
        console.ecrire(g.textePresence());
        return SORTIE_ECHEC;
    }
    return acquerirEtEnregistrer(o, g, console);
}
