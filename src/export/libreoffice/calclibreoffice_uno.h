#pragma once
// The UNO side of the Calc transfer's office, for the tests that read the workbook back.
#include "calclibreoffice.h"

#include <com/sun/star/frame/XDesktop2.hpp>
#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>

#include <QString>
#include <rtl/ustring.hxx>

namespace unocalc {
namespace css = com::sun::star;
using rtl::OUString;

OUString versOU(const QString& s);
QString versQ(const OUString& s);

// The local UNO context, made once per process.
css::uno::Reference<css::uno::XComponentContext> contexteLocal();
// The office's component context on a pipe; empty when nothing answers.
css::uno::Reference<css::uno::XComponentContext> resoudre(const QString& tube);
} // namespace unocalc

class TCalcLibreOffice : public TCalc {
public:
    explicit TCalcLibreOffice(TOptionsLibreOffice options);
    ~TCalcLibreOffice() override;

    bool connecter() override;
    bool classeurVivant() override;
    void nouveauClasseur(const QString& nomFeuille) override;
    QStringList nomsFeuilles() override;
    void nouvelleFeuille(const QString& nom) override;
    void suspendreAffichage(bool suspendre) override;
    void ecrireTextes(int ligne, const QStringList& textes) override;
    void ecrireNombres(int ligne, int nbLignes, int nbColonnes, const double* valeurs) override;
    void fusionner(const QString& plage) override;
    void alignement(const QString& plage, int alignement) override;
    void couleurFond(const QString& plage, int couleur) override;
    void gras(const QString& plage) override;
    void formatNombres(const QString& plage) override;
    void selectionner(const QString& cellule) override;

    // What the transfers write into.
    unocalc::css::uno::Reference<unocalc::css::frame::XDesktop2> desktop() const {
        return OOoDesktop;
    }
    unocalc::css::uno::Reference<unocalc::css::sheet::XSpreadsheetDocument> classeur() const {
        return OOoClTP;
    }
    unocalc::css::uno::Reference<unocalc::css::sheet::XSpreadsheet> feuille() const {
        return feuille_;
    }

private:
    void proprietes(const QString& plage, const char* nom, const unocalc::css::uno::Any& valeur);

    TOptionsLibreOffice options;
    QString tube;
    unocalc::css::uno::Reference<unocalc::css::frame::XDesktop2> OOoDesktop;
    unocalc::css::uno::Reference<unocalc::css::sheet::XSpreadsheetDocument> OOoClTP;
    unocalc::css::uno::Reference<unocalc::css::sheet::XSpreadsheet> feuille_;
    bool affichageSuspendu = false;
};
