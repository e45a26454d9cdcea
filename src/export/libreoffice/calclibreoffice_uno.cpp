#include "calclibreoffice_uno.h"

#include <com/sun/star/awt/FontWeight.hpp>
#include <com/sun/star/awt/XTopWindow.hpp>
#include <com/sun/star/awt/XWindow.hpp>
#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/bridge/UnoUrlResolver.hpp>
#include <com/sun/star/connection/NoConnectException.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/container/XNamed.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/frame/XComponentLoader.hpp>
#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/frame/XFrame.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/sheet/XCellRangeData.hpp>
#include <com/sun/star/sheet/XSpreadsheetView.hpp>
#include <com/sun/star/sheet/XSpreadsheets.hpp>
#include <com/sun/star/table/CellHoriJustify.hpp>
#include <com/sun/star/table/XCellRange.hpp>
#include <com/sun/star/util/NumberFormat.hpp>
#include <com/sun/star/util/XMergeable.hpp>
#include <com/sun/star/util/XNumberFormatTypes.hpp>
#include <com/sun/star/util/XNumberFormatsSupplier.hpp>
#include <com/sun/star/view/XSelectionSupplier.hpp>
#include <cppuhelper/bootstrap.hxx>
#include <cppuhelper/exc_hlp.hxx>
#include <rtl/bootstrap.hxx>

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <cmath>
#include <mutex>

using namespace unocalc;
using css::uno::Any;
using css::uno::Reference;
using css::uno::Sequence;
using css::uno::UNO_QUERY;
using css::uno::UNO_QUERY_THROW;
using rtl::OUString;

namespace {

// Pause between two attempts to reach a starting office.
constexpr int PAUSE_CONNEXION_MS = 100;

// The office's own error, as the transfer reports it: its message and its type.
TErreurCalc erreurCourante() {
    const Any e = cppu::getCaughtException();
    css::uno::Exception x;
    e >>= x;
    return {versQ(x.Message), versQ(e.getValueTypeName())};
}

// Runs f, every error of the office becoming a TErreurCalc.
template <class F> auto appel(F&& f) -> decltype(f()) {
    try {
        return f();
    } catch (const css::uno::Exception&) {
        throw erreurCourante();
    }
}

// The office's program when none is given.
QString sofficeParDefaut() {
    const QString trouve = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    return trouve.isEmpty() ? QStringLiteral(KIRVANE_LO_PROGRAMME "/soffice") : trouve;
}

} // namespace

namespace unocalc {

OUString versOU(const QString& s) {
    return OUString(reinterpret_cast<const sal_Unicode*>(s.utf16()),
                    static_cast<sal_Int32>(s.size()));
}

QString versQ(const OUString& s) {
    return QString(reinterpret_cast<const QChar*>(s.getStr()), s.getLength());
}

Reference<css::uno::XComponentContext> contexteLocal() {
    // Made once: the UNO runtime of the process is bootstrapped once.
    static std::mutex verrou;
    static Reference<css::uno::XComponentContext> contexte;
    std::lock_guard garde(verrou);
    if (!contexte.is()) {
        try {
            rtl::Bootstrap::set(OUString("URE_BOOTSTRAP"),
                                versOU(QStringLiteral("vnd.sun.star.pathname:" KIRVANE_LO_PROGRAMME
                                                      "/fundamentalrc")));
            contexte = cppu::defaultBootstrap_InitialComponentContext();
        } catch (const css::uno::Exception&) {
            contexte.clear();
        }
    }
    return contexte;
}

Reference<css::uno::XComponentContext> resoudre(const QString& tube) {
    const Reference<css::uno::XComponentContext> local = contexteLocal();
    if (!local.is())
        return {};
    try {
        const Reference<css::bridge::XUnoUrlResolver> resolveur =
            css::bridge::UnoUrlResolver::create(local);
        const Reference<css::uno::XInterface> distant =
            resolveur->resolve(versOU(QStringLiteral("uno:pipe,name=") + tube +
                                      QStringLiteral(";urp;StarOffice.ComponentContext")));
        return Reference<css::uno::XComponentContext>(distant, UNO_QUERY);
    } catch (const css::uno::Exception&) {
        return {};
    }
}

} // namespace unocalc

TCalcLibreOffice::TCalcLibreOffice(TOptionsLibreOffice o) : options(std::move(o)) {
    tube = options.tube.isEmpty() ? tubeParDefaut() : options.tube;
    if (options.soffice.isEmpty())
        options.soffice = sofficeParDefaut();
}

TCalcLibreOffice::~TCalcLibreOffice() = default;

bool TCalcLibreOffice::connecter() {
    try {
        if (OOoDesktop.is()) {
            OOoDesktop->getComponents(); // answers while the office runs
            return true;
        }
    } catch (const css::uno::Exception&) {
        // The office was closed: reached again below.
    }
    OOoDesktop.clear();
    OOoClTP.clear();
    feuille_.clear();

    Reference<css::uno::XComponentContext> distant = resoudre(tube);
    if (!distant.is() && options.lancer) {
        if (!QFileInfo(options.soffice).isExecutable())
            return false;
        // Detached: the office stays open for the user after the program ends.
        if (!QProcess::startDetached(options.soffice, argumentsSoffice(options, tube)))
            return false;
    }
    const QDeadlineTimer limite(options.lancer || !distant.is() ? options.attenteMs : 0);
    while (!distant.is() && !limite.hasExpired()) {
        QThread::msleep(PAUSE_CONNEXION_MS);
        distant = resoudre(tube);
    }
    if (!distant.is())
        return false;
    try {
        OOoDesktop = css::frame::Desktop::create(distant);
    } catch (const css::uno::Exception&) {
        return false;
    }
    return true;
}

bool TCalcLibreOffice::classeurVivant() {
    if (!OOoClTP.is())
        return false;
    try {
        const Reference<css::container::XIndexAccess> feuilles(OOoClTP->getSheets(),
                                                               UNO_QUERY_THROW);
        const sal_Int32 n = feuilles->getCount();
        return n > 0 && feuilles->getByIndex(n - 1).hasValue();
    } catch (const css::uno::Exception&) {
        return false;
    }
}

void TCalcLibreOffice::nouveauClasseur(const QString& nomFeuille) {
    appel([&] {
        const Reference<css::frame::XComponentLoader> chargeur(OOoDesktop, UNO_QUERY_THROW);
        const Reference<css::lang::XComponent> document = chargeur->loadComponentFromURL(
            OUString("private:factory/scalc"), OUString("_blank"), 0, {});
        const Reference<css::sheet::XSpreadsheetDocument> classeur(document, UNO_QUERY_THROW);
        const Reference<css::sheet::XSpreadsheets> feuilles = classeur->getSheets();
        const Reference<css::container::XIndexAccess> index(feuilles, UNO_QUERY_THROW);
        for (sal_Int32 k = index->getCount() - 1; k >= 1; --k) {
            const Reference<css::container::XNamed> f(index->getByIndex(k), UNO_QUERY_THROW);
            feuilles->removeByName(f->getName());
        }
        const Reference<css::container::XNamed> premiere(index->getByIndex(0), UNO_QUERY_THROW);
        premiere->setName(versOU(nomFeuille));
        OOoClTP = classeur;
        feuille_.set(premiere, UNO_QUERY_THROW);
        affichageSuspendu = false;
    });
}

QStringList TCalcLibreOffice::nomsFeuilles() {
    return appel([&] {
        QStringList noms;
        const Sequence<OUString> n = OOoClTP->getSheets()->getElementNames();
        for (const OUString& s : n)
            noms << versQ(s);
        return noms;
    });
}

void TCalcLibreOffice::nouvelleFeuille(const QString& nom) {
    appel([&] {
        const Reference<css::sheet::XSpreadsheets> feuilles = OOoClTP->getSheets();
        const Reference<css::container::XIndexAccess> index(feuilles, UNO_QUERY_THROW);
        feuilles->insertNewByName(versOU(nom), static_cast<sal_Int16>(index->getCount()));
        feuille_.set(feuilles->getByName(versOU(nom)), UNO_QUERY_THROW);
        const Reference<css::frame::XModel> modele(OOoClTP, UNO_QUERY_THROW);
        const Reference<css::sheet::XSpreadsheetView> vue(modele->getCurrentController(),
                                                          UNO_QUERY);
        if (vue.is())
            vue->setActiveSheet(feuille_);
    });
}

void TCalcLibreOffice::suspendreAffichage(bool suspendre) {
    appel([&] {
        const Reference<css::frame::XModel> modele(OOoClTP, UNO_QUERY_THROW);
        if (suspendre && !affichageSuspendu) {
            // Calc does not redraw for every block written.
            modele->lockControllers();
            affichageSuspendu = true;
        } else if (!suspendre && affichageSuspendu) {
            modele->unlockControllers();
            affichageSuspendu = false;
            // The workbook's window in front, as the user expects after the transfer.
            const Reference<css::frame::XController> controleur = modele->getCurrentController();
            if (controleur.is() && controleur->getFrame().is()) {
                const Reference<css::frame::XFrame> cadre = controleur->getFrame();
                const Reference<css::awt::XWindow> fenetre = cadre->getContainerWindow();
                if (fenetre.is())
                    fenetre->setVisible(true);
                const Reference<css::awt::XTopWindow> dessus(fenetre, UNO_QUERY);
                if (dessus.is())
                    dessus->toFront();
                OOoDesktop->setActiveFrame(cadre);
            }
        }
    });
}

void TCalcLibreOffice::ecrireTextes(int ligne, const QStringList& textes) {
    if (textes.isEmpty())
        return;
    appel([&] {
        Sequence<Any> rang(static_cast<sal_Int32>(textes.size()));
        Any* a = rang.getArray();
        for (const QString& t : textes)
            *a++ <<= versOU(t);
        const Reference<css::sheet::XCellRangeData> plage(
            feuille_->getCellRangeByPosition(0, ligne - 1,
                                             static_cast<sal_Int32>(textes.size()) - 1, ligne - 1),
            UNO_QUERY_THROW);
        plage->setDataArray(Sequence<Sequence<Any>>(&rang, 1));
    });
}

void TCalcLibreOffice::ecrireNombres(int ligne, int nbLignes, int nbColonnes,
                                     const double* valeurs) {
    if (nbLignes <= 0 || nbColonnes <= 0)
        return;
    appel([&] {
        Sequence<Sequence<Any>> donnees(nbLignes);
        Sequence<Any>* rangs = donnees.getArray();
        for (int r = 0; r < nbLignes; ++r) {
            rangs[r].realloc(nbColonnes);
            Any* a = rangs[r].getArray();
            for (int c = 0; c < nbColonnes; ++c, ++valeurs) {
                if (std::isfinite(*valeurs))
                    a[c] <<= *valeurs;
                else
                    a[c] <<= OUString();
            }
        }
        const Reference<css::sheet::XCellRangeData> plage(
            feuille_->getCellRangeByPosition(0, ligne - 1, nbColonnes - 1, ligne - 2 + nbLignes),
            UNO_QUERY_THROW);
        plage->setDataArray(donnees);
    });
}

void TCalcLibreOffice::fusionner(const QString& plage) {
    appel([&] {
        const Reference<css::util::XMergeable> m(feuille_->getCellRangeByName(versOU(plage)),
                                                 UNO_QUERY_THROW);
        m->merge(true);
    });
}

void TCalcLibreOffice::proprietes(const QString& plage, const char* nom, const Any& valeur) {
    appel([&] {
        const Reference<css::beans::XPropertySet> p(feuille_->getCellRangeByName(versOU(plage)),
                                                    UNO_QUERY_THROW);
        p->setPropertyValue(OUString::createFromAscii(nom), valeur);
    });
}

void TCalcLibreOffice::alignement(const QString& plage, int a) {
    proprietes(plage, "HoriJustify", Any(static_cast<css::table::CellHoriJustify>(a)));
}

void TCalcLibreOffice::couleurFond(const QString& plage, int couleur) {
    proprietes(plage, "CellBackColor", Any(static_cast<sal_Int32>(couleur)));
}

void TCalcLibreOffice::gras(const QString& plage) {
    proprietes(plage, "CharWeight", Any(css::awt::FontWeight::BOLD));
}

void TCalcLibreOffice::formatNombres(const QString& plage) {
    const sal_Int32 cle = appel([&] {
        const Reference<css::util::XNumberFormatsSupplier> formats(OOoClTP, UNO_QUERY_THROW);
        const Reference<css::util::XNumberFormatTypes> types(formats->getNumberFormats(),
                                                             UNO_QUERY_THROW);
        return types->getStandardFormat(css::util::NumberFormat::NUMBER, css::lang::Locale());
    });
    proprietes(plage, "NumberFormat", Any(cle));
}

void TCalcLibreOffice::selectionner(const QString& cellule) {
    appel([&] {
        const Reference<css::frame::XModel> modele(OOoClTP, UNO_QUERY_THROW);
        const Reference<css::view::XSelectionSupplier> selection(modele->getCurrentController(),
                                                                 UNO_QUERY);
        if (selection.is())
            selection->select(Any(feuille_->getCellRangeByName(versOU(cellule))));
    });
}

std::unique_ptr<TCalc> calcLibreOffice(const TOptionsLibreOffice& options) {
    return std::make_unique<TCalcLibreOffice>(options);
}

bool calcLibreOfficeDisponible() {
    return true;
}
