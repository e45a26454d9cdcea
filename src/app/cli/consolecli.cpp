#include "consolecli.h"

#include "couleurs.h"
#include "formats.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QLocale>
#include <algorithm>
#include <cmath>
#include <csignal>

#if defined(Q_OS_WIN)
#include <io.h>
#define KIRVANE_ISATTY _isatty
#define KIRVANE_FILENO _fileno
#else
#include <unistd.h>
#define KIRVANE_ISATTY isatty
#define KIRVANE_FILENO fileno
#endif

namespace {
// A bar redrawn more often than this only costs time in the read loop.
constexpr int intervalleBarreMs = 100;
// At most one progress line a second in permanent mode.
constexpr int intervalleLigneTrameMs = 1000;

// Ctrl+C, SIGTERM (a script's kill) or SIGHUP (the terminal closed) during an acquisition:
// the loop stops the unit at its next turn and the tool ends without files, instead of
// being killed with the unit still armed. A second signal of the same kind ends the tool
// at once, should the stop itself hang.
volatile std::sig_atomic_t interruption = 0;
extern "C" void surInterruption(int signal) {
    interruption = 1;
    std::signal(signal, SIG_DFL);
}

const int signauxInterruption[] = {SIGINT, SIGTERM,
#if defined(SIGHUP)
                                   SIGHUP
#endif
};
} // namespace

void TConsoleCli::intercepterInterruption() {
    interruption = 0;
    for (const int s : signauxInterruption)
        std::signal(s, surInterruption);
}

bool TConsoleCli::interrompu() {
    return interruption != 0;
}

TConsoleCli::TConsoleCli(std::FILE* sortie) : sortie_(sortie) {}

TConsoleCli::~TConsoleCli() {
    effacerBarre();
}

QString TConsoleCli::texteConsole(const QString& texte) {
    QString t = texte;
    t.replace(QLatin1String("\n\r"), QLatin1String("\n"));
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return t;
}

QString TConsoleCli::texteBarre(double part, int largeur) {
    part = std::isfinite(part) ? std::clamp(part, 0.0, 1.0) : 0.0;
    const int pleins = static_cast<int>(std::floor(part * largeur));
    const int pourcent = static_cast<int>(std::floor(part * 100.0));
    return QLatin1Char('[') + QString(pleins, QLatin1Char('#')) +
           QString(largeur - pleins, QLatin1Char('-')) + QStringLiteral("] ") +
           QString::number(pourcent).rightJustified(3) + QStringLiteral(" %");
}

void TConsoleCli::ecrireBrut(const QString& texte) {
    const QByteArray octets = texte.toLocal8Bit();
    std::fwrite(octets.constData(), 1, static_cast<std::size_t>(octets.size()), sortie_);
    std::fflush(sortie_);
}

void TConsoleCli::ecrire(const QString& texte) {
    effacerBarre();
    QString t = texteConsole(texte);
    while (t.endsWith(QLatin1Char('\n')))
        t.chop(1);
    ecrireBrut(t + QLatin1Char('\n'));
}

void TConsoleCli::signalerEchec(const QString& texte) {
    echec = true;
    ecrire(texte);
}

void TConsoleCli::afficherMessage(const QString& texte) {
    // Once given up, the engine's own account («1 série acquise») would contradict it.
    if (abandon)
        return;
    // The status line repeats itself: each text once in a row, and in permanent mode each
    // text once in the run (the frame lines tell the progress).
    const QString t = texte.trimmed();
    if (t.isEmpty() || t == dernierMessage_ || (tramesVoulues > 0 && dejaDits_.contains(t)))
        return;
    dernierMessage_ = t;
    if (tramesVoulues > 0)
        dejaDits_.insert(t);
    ecrire(t);
}

void TConsoleCli::afficherAttenteLongue() {
    if (attenteSignalee_)
        return;
    attenteSignalee_ = true;
    ecrire(QStringLiteral("Le déclenchement se fait attendre... (Ctrl+C pour abandonner)"));
}

void TConsoleCli::preparerBarre(double dureeAttendue) {
    barreVoulue_ = dureeAttendue > 1.0 && KIRVANE_ISATTY(KIRVANE_FILENO(sortie_)) != 0;
}

void TConsoleCli::debutAcquisition(bool) {
    partTrame_ = 0.0;
    tramesCompletes = 0;
    trameComptee_ = false;
    arretDemande_ = false;
    dernierDessin_.invalidate();
    attente_.start();
    ligneTrame_.invalidate();
}

void TConsoleCli::dessinerLot(const TLotAcquisition& lot) {
    if (moteur == nullptr || moteur->SP5 == nullptr || lot.dernier < lot.premier)
        return;
    const int64_t n = moteur->SP5->nbPts0X;
    if (n > 0)
        partTrame_ = static_cast<double>(lot.dernier - lot.pt0Trame + 1) / static_cast<double>(n);
}

void TConsoleCli::compterTrames() {
    if (moteur == nullptr || moteur->SP5 == nullptr || moteur->MODEGENERAL != MODE_ACQ_PERMANENTE)
        return;
    // trameTerminee stays set from the end of a frame to the arming of the next one, and
    // the engine lets the events through in between: each complete frame is seen once.
    if (moteur->SP5->trameTerminee) {
        if (!trameComptee_) {
            trameComptee_ = true;
            ++tramesCompletes;
            partTrame_ = 0.0;
            ligneTrame();
        }
    } else {
        trameComptee_ = false;
    }
    if (tramesVoulues > 0 && tramesCompletes >= tramesVoulues && !arretDemande_) {
        // Stop as the user would: the engine commits the last complete frame.
        arretDemande_ = true;
        moteur->BAcquisitionClick();
    }
}

void TConsoleCli::abandonner(const QString& texte) {
    abandon = true;
    signalerEchec(texte);
    moteur->BAcquisitionClick();
    if (moteur->MODEGENERAL == MODE_ACQ_PERMANENTE) // a stop in fast frames ends at the next frame
        moteur->stop = true;
}

bool TConsoleCli::attenteTropLongue() {
    if (attenteMax <= 0.0 || moteur->SP5 == nullptr)
        return false;
    // Restarted while values flow, so it counts from the arming of the current frame.
    if (!moteur->SP5->attenteDeclenchement) {
        attente_.start();
        return false;
    }
    return attente_.isValid() && static_cast<double>(attente_.elapsed()) >= attenteMax * 1000.0;
}

void TConsoleCli::ligneTrame() {
    // The bar already tells it; a script's log gets a line, not one per frame of 10 ms.
    if (barreVoulue_ || (ligneTrame_.isValid() && ligneTrame_.elapsed() < intervalleLigneTrameMs))
        return;
    ligneTrame_.start();
    QString t = QStringLiteral("Trame ") + QString::number(tramesCompletes);
    if (tramesVoulues > 0)
        t += QLatin1Char('/') + QString::number(tramesVoulues);
    ecrire(t + QStringLiteral(" acquise"));
}

void TConsoleCli::traiterMessages() {
    QCoreApplication::processEvents();
    if (moteur != nullptr && !abandon && acquisitionEnCours(moteur->MODEGENERAL)) {
        if (interruption != 0) {
            abandonner(QStringLiteral("Acquisition interrompue : aucun fichier n'est écrit."));
            return;
        }
        if (attenteTropLongue()) {
            abandonner(QStringLiteral("Pas de déclenchement en ") +
                       texteG6(static_cast<float>(attenteMax)) +
                       QStringLiteral(" s : acquisition abandonnée, aucun fichier n'est écrit."));
            return;
        }
    }
    compterTrames();
    if (barreVoulue_ && moteur != nullptr && acquisitionEnCours(moteur->MODEGENERAL))
        dessinerBarre();
}

void TConsoleCli::dessinerBarre() {
    if (dernierDessin_.isValid() && dernierDessin_.elapsed() < intervalleBarreMs)
        return;
    dernierDessin_.start();
    const int total = std::max(1, tramesVoulues);
    const double part = (std::min(tramesCompletes, total) + std::clamp(partTrame_, 0.0, 1.0)) /
                        static_cast<double>(total);
    ecrireBrut(QLatin1Char('\r') + texteBarre(part));
    barreAffichee_ = true;
}

void TConsoleCli::effacerBarre() {
    if (!barreAffichee_)
        return;
    barreAffichee_ = false;
    ecrireBrut(QLatin1Char('\r') + QString(texteBarre(1.0).size(), QLatin1Char(' ')) +
               QLatin1Char('\r'));
}

TContexteValidation TConsoleCli::contexteValidation() {
    TContexteValidation c;
    c.clsVX = clsV0;
    c.maintenant = QDateTime::currentDateTime();
    c.locale = QLocale();
    return c;
}
