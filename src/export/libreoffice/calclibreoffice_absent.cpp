// Built without the LibreOffice SDK: no office ever answers.
#include "calclibreoffice.h"

namespace {
class TCalcAbsent : public TCalc {
public:
    bool connecter() override { return false; }
    bool classeurVivant() override { return false; }
    void nouveauClasseur(const QString&) override { throw erreur(); }
    QStringList nomsFeuilles() override { throw erreur(); }
    void nouvelleFeuille(const QString&) override { throw erreur(); }
    void suspendreAffichage(bool) override {}
    void ecrireTextes(int, const QStringList&) override { throw erreur(); }
    void ecrireNombres(int, int, int, const double*) override { throw erreur(); }
    void fusionner(const QString&) override { throw erreur(); }
    void alignement(const QString&, int) override { throw erreur(); }
    void couleurFond(const QString&, int) override { throw erreur(); }
    void gras(const QString&) override { throw erreur(); }
    void formatNombres(const QString&) override { throw erreur(); }
    void selectionner(const QString&) override { throw erreur(); }

private:
    static TErreurCalc erreur() {
        return {QStringLiteral("LibreOffice non pris en charge"), QString()};
    }
};
} // namespace

std::unique_ptr<TCalc> calcLibreOffice(const TOptionsLibreOffice&) {
    return std::make_unique<TCalcAbsent>();
}

bool calcLibreOfficeDisponible() {
    return false;
}
