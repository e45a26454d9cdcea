#include "centralesstandard.h"

#include "sp5.h"
#include "systeme.h"

#include <QCoreApplication>
#include <QFileInfo>

TFabriqueCentrale fabriqueCentralesStandard() {
    return [](int famille, const QString& chemin) {
        TCreationCentrale r;
        if (famille == FAMILLE_SP5) {
            auto sp5 = std::make_unique<TSP5>(chemin, 1);
            r.erreur = sp5->erreurChargement;
            r.centrale = std::move(sp5);
        }
        return r;
    };
}

TCheminsCentrales cheminsCentralesStandard() {
    TCheminsCentrales c;
    const QString windows = cheminDossierSpecial(TDossierSpecial::WINDOWS);
    c.sp5 = cheminsBibliothequeSP5(QCoreApplication::applicationDirPath(), windows);
    c.ftdiPresent = !windows.isEmpty() && (QFileInfo::exists(windows + "/system32/FTD2XX-V6.dll") ||
                                           QFileInfo::exists(windows + "/SysWOW64/FTD2XX-V6.dll"));
    return c;
}
