#include "fichekirvanemixte.h"
#include "fichekirvanemixtetitre.h"
#include "formats.h"
#include "instanceunique.h"
#include "systeme.h"
#include "traductions.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kirvane"));
    QApplication::setOrganizationName(QStringLiteral("Kirvane"));
    // A second start ends silently: the first copy keeps the unit.
    TInstanceUnique instance;
    if (!instance.essayer())
        return 0;
    installerTraductionsFrancaises(app);
    // Numbers shown to the user take the regional decimal separator, captured once.
    capturerSeparateurDecimal();

    const QString version = versionProgramme();
    TFicheKirvaneMixteTitre titre(QStringLiteral("Kirvane - ") + version);
    titre.setVersion(version);
    titre.show();
    titre.repaint();

    TFicheKirvaneMixte fiche(demarrageStandard(&titre));
    fiche.show();
    // The title window stays above the main window while it fades out.
    titre.raise();
    fiche.finInitialisation();
    // For measuring the start and for scripted checks: quit once the window is shown.
    if (qEnvironmentVariableIsSet("KIRVANE_QUITTER_APRES_DEMARRAGE")) {
        fiche.peutFermer = true; // no question: nothing was measured
        QTimer::singleShot(0, &app, [] { QCoreApplication::quit(); });
    }
    return QApplication::exec();
}
