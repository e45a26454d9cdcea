#include "centralesstandard.h"

#include "systeme.h"

#include <QCoreApplication>

TFabriqueCentrale fabriqueCentralesStandard() {
    return [](int famille, const QString& chemin) {
        const TFamille* f = familleParNumero(famille);
        return f && f->creer ? f->creer(chemin) : TCreationCentrale{};
    };
}

TDossiersCentrales dossiersCentralesStandard() {
    TDossiersCentrales d;
    d.programme = QCoreApplication::applicationDirPath();
    d.windows = cheminDossierSpecial(TDossierSpecial::WINDOWS);
    d.bibliothequesRelatif = QStringLiteral(KIRVANE_BIBLIOTHEQUES_RELATIF);
    return d;
}

TCheminsCentrales cheminsCentrales(const TDossiersCentrales& dossiers) {
    TCheminsCentrales c;
    for (const TFamille& f : famillesCentrales())
        c[f.famille] = f.places(dossiers);
    return c;
}

TCheminsCentrales cheminsCentralesStandard() {
    return cheminsCentrales(dossiersCentralesStandard());
}
