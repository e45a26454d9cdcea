#include "inscriptionregressi.h"

#include "lettres.h"

#include <QDir>
#include <QSettings>

bool inscrireAupresDeRegressi(QSettings& reglages, const QString& cheminProgramme) {
    const QString nous = majusculesAscii(cheminProgramme);
    for (int n = 0; n <= 5; ++n) {
        const QString nom = QString::number(n);
        const QVariant valeur = reglages.value(nom);
        const QString texte = valeur.typeId() == QMetaType::QString ? valeur.toString() : QString();
        if (!texte.isEmpty() && majusculesAscii(texte) == nous)
            return false;
        if (texte.isEmpty() && (!valeur.isValid() || valeur.typeId() == QMetaType::QString)) {
            reglages.setValue(nom, cheminProgramme);
            return true;
        }
    }
    return false;
}

void inscrireAupresDeRegressi(const QString& cheminProgramme) {
#ifdef Q_OS_WIN
    QSettings parent(QStringLiteral("HKEY_CURRENT_USER\\Software\\Regressi"),
                     QSettings::NativeFormat);
    if (!parent.childGroups().contains(QStringLiteral("Acquisition")))
        return;
    QSettings cle(QStringLiteral("HKEY_CURRENT_USER\\Software\\Regressi\\Acquisition"),
                  QSettings::NativeFormat);
    inscrireAupresDeRegressi(cle, QDir::toNativeSeparators(cheminProgramme));
#else
    (void)cheminProgramme;
#endif
}
