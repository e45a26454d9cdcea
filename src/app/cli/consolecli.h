#pragma once
// The command-line tool's stand-in for the main window: what the unit manager, the settings
// and the acquisition engine ask a window to show goes to standard error, nothing is drawn,
// and processing the pending events is QCoreApplication::processEvents. In permanent mode it
// presses Stop once the requested number of complete frames has been read.
#include "gestionnairecentrales.h"
#include "moteuracquisition.h"
#include "reglagesacq.h"
#include "vueacquisition.h"

#include <QElapsedTimer>
#include <QSet>
#include <QString>
#include <QStringList>
#include <cstdio>

class TConsoleCli : public TVueAcquisition, public TVueCentrales, public TRecepteurReglages {
public:
    // sortie: where messages and the progress bar go (standard error).
    explicit TConsoleCli(std::FILE* sortie = stderr);
    ~TConsoleCli() override;

    // Wired once the engine exists.
    TMoteurAcquisition* moteur = nullptr;
    // Permanent mode: Stop is pressed once this many complete frames were read (0: none).
    int tramesVoulues = 0;
    // Longest wait for a trigger, in seconds (0: none); checked each time the engine lets
    // the events through, at least once a second while it waits.
    double attenteMax = 0.0;
    // From now on Ctrl+C, SIGTERM and SIGHUP stop the acquisition cleanly (the unit is
    // stopped, no file).
    static void intercepterInterruption();
    // One of those arrived (before, during or after the acquisition).
    static bool interrompu();
    // The acquisition was given up (interruption or trigger wait too long): no file.
    bool abandon = false;
    int tramesCompletes = 0;
    // Detection lines, in the order the title window shows them.
    QStringList lignesDetection;
    // A warning, a missing unit or an error was reported: the run failed.
    bool echec = false;
    int validees = 0;

    // The progress bar is drawn when the output is a terminal and the acquisition is
    // expected to last more than a second.
    void preparerBarre(double dureeAttendue);
    // Writes a message on its own line (the bar, if shown, is cleared first).
    void ecrire(const QString& texte);

    // TVueCentrales
    void ajouterLigneDemarrage(const QString& ligne) override { lignesDetection << ligne; }
    void afficherErreurChargement(const QString& texte) override { ecrire(texte); }
    void traiterMessages() override;

    // TRecepteurReglages
    TModeGeneral etatFenetre() const override { return moteur ? moteur->MODEGENERAL : MODE_VIERGE; }
    bool premiereAcq() const override { return moteur ? moteur->premiereAcq : true; }
    // Nothing changes the settings while the tool acquires.
    void reglageEnAttente(const TReglageEnAttente&) override {}

    // TVueAcquisition
    void modeGeneralChange(TModeGeneral) override {}
    void afficherMessage(const QString& texte) override;
    void legendeBoutonAcquisition(const QString&) override {}
    void valeurDirecte(int, double) override {}
    void effacerValeursDirectes() override {}
    void afficherModePermanent(bool) override {}
    void debutAcquisition(bool) override;
    void preparerAxeTemps() override {}
    void setModeDessinVM() override {}
    void redessiner(bool) override {}
    void dessinerPretrig() override {}
    void dessinerLot(const TLotAcquisition& lot) override;
    void debutTrameRapide() override {}
    void finTrameRapide() override {}
    void rafraichir() override {}
    void afficherAttenteLongue() override;
    void masquerAttenteLongue() override {}
    void informer(const QString& texte) override { signalerEchec(texte); }
    void avertir(const QString& texte) override { signalerEchec(texte); }
    void messageSimple(const QString& texte) override { signalerEchec(texte); }
    void timerAcqDirecte(bool) override {}
    void timerPresence(bool) override {}
    TContexteValidation contexteValidation() override;
    void acquisitionValidee(bool) override { ++validees; }
    void acquisitionTerminee() override { effacerBarre(); }
    void quitter() override {}

    // The bar's text for a share of the work done (0..1): «[######------]  50 %».
    static QString texteBarre(double part, int largeur = 30);
    // The unit's texts use "\n\r" and "\r\n" as line ends: one "\n" on a console.
    static QString texteConsole(const QString& texte);

private:
    void signalerEchec(const QString& texte);
    // Stops the running acquisition as Stop does, the unit stopped, and nothing committed
    // is written.
    void abandonner(const QString& texte);
    bool attenteTropLongue();
    void compterTrames();
    void ligneTrame();
    void dessinerBarre();
    void effacerBarre();
    void ecrireBrut(const QString& texte);

    std::FILE* sortie_;
    bool barreVoulue_ = false;
    bool barreAffichee_ = false;
    bool trameComptee_ = false;
    bool arretDemande_ = false;
    bool attenteSignalee_ = false;
    double partTrame_ = 0.0;
    QString dernierMessage_;
    QElapsedTimer dernierDessin_;
    QElapsedTimer attente_;    // since the unit was armed for the trigger
    QElapsedTimer ligneTrame_; // since the last progress line of permanent mode
    QSet<QString> dejaDits_;   // status texts told in this permanent run
};
