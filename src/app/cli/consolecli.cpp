#include "consolecli.h"

#include "couleurs.h"

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

// Ctrl+C during an acquisition: the loop stops the unit at its next turn and the tool ends
// without files, instead of being killed with the unit still armed.
volatile std::sig_atomic_t interruption = 0;
extern "C" void surInterruption(int) {
    interruption = 1;
}
} // namespace

void TConsoleCli::intercepterInterruption() {
    interruption = 0;
    std::signal(SIGINT, surInterruption);
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
    // The status line repeats itself between frames: each text once in a row.
    const QString t = texte.trimmed();
    if (t.isEmpty() || t == dernierMessage_)
        return;
    dernierMessage_ = t;
    ecrire(t);
}

void TConsoleCli::afficherAttenteLongue() {
    if (attenteSignalee_)
        return;
    attenteSignalee_ = true;
    ecrire(QStringLiteral("Le déclenchement se fait attendre..."));
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
}

void TConsoleCli::dessinerLot(const TLotAcquisition& lot) {
    if (moteur == nullptr || moteur->SP5 == nullptr || lot.dernier < lot.premier)
        return;
    const int64_t n = moteur->SP5->nbPts0X;
    if (n > 0)
        partTrame_ = static_cast<double>(lot.dernier - lot.pt0Trame + 1) / static_cast<double>(n);
}

void TConsoleCli::compterTrames() {
    if (moteur == nullptr || moteur->SP5 == nullptr || moteur->MODEGENERAL != 5)
        return;
    // trameTerminee stays set from the end of a frame to the arming of the next one, and
    // the engine lets the events through in between: each complete frame is seen once.
    if (moteur->SP5->trameTerminee) {
        if (!trameComptee_) {
            trameComptee_ = true;
            ++tramesCompletes;
            partTrame_ = 0.0;
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

void TConsoleCli::traiterMessages() {
    QCoreApplication::processEvents();
    if (interruption != 0 && moteur != nullptr &&
        (moteur->MODEGENERAL == 3 || moteur->MODEGENERAL == 5)) {
        interruption = 0;
        signalerEchec(QStringLiteral("Acquisition interrompue : aucun fichier n'est écrit."));
        moteur->BAcquisitionClick();
        if (moteur->MODEGENERAL == 5) // a stop in fast frames ends at the next frame
            moteur->stop = true;
        return;
    }
    compterTrames();
    if (barreVoulue_ && moteur != nullptr && (moteur->MODEGENERAL == 3 || moteur->MODEGENERAL == 5))
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
