// The Calc transfer into a real LibreOffice, started without a window by the test, the office's
// calls on the transfer's worker thread; the workbooks are read back through UNO.
#include "calc_enregistreur.h"
#include "calclibreoffice.h"
#include "executeurcalc.h"
#include "exemple_export.h"
#include "office_essai.h"

#ifdef KIRVANE_CALC_UNO
#include "calclibreoffice_uno.h"

#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/container/XNamed.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/lang/DisposedException.hpp>
#include <com/sun/star/sheet/XCellRangeAddressable.hpp>
#include <com/sun/star/sheet/XSpreadsheetView.hpp>
#include <com/sun/star/table/CellContentType.hpp>
#include <com/sun/star/table/CellHoriJustify.hpp>
#include <com/sun/star/table/XCell.hpp>
#include <com/sun/star/text/XTextRange.hpp>
#include <com/sun/star/util/NumberFormat.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <com/sun/star/util/XMergeable.hpp>
#include <com/sun/star/util/XNumberFormatsSupplier.hpp>
#include <com/sun/star/view/XSelectionSupplier.hpp>
#endif

using namespace office_essai;

namespace {

TEST(LibreOfficeAbsent, MessageEtBoutonDesactive) {
    TOptionsLibreOffice o;
    o.soffice = QStringLiteral("/nulle/part/soffice");
    o.tube = QStringLiteral("kirvane_absent_%1").arg(QCoreApplication::applicationPid());
    o.attenteMs = 2000;
    FenetreEnregistreuse fenetre;
    TExecuteurCalcFil executeur;
    TTransfertCalc transfert(calcLibreOffice(o), executeur, fenetre);
    EXPECT_EQ(transfererEtAttendre(transfert, exempleExport(), OPTION_TOO_NOUVEAU_CLASSEUR, 20000),
              TIssueTransfertCalc::SansConnexion);
    EXPECT_EQ(fenetre.messages, QStringList{messageCalcIntrouvable()});
    EXPECT_TRUE(fenetre.boutonDesactive);
    EXPECT_EQ(fenetre.fins, 1);
    EXPECT_EQ(transfererEtAttendre(transfert, exempleExport(), OPTION_TOO_NOUVEAU_CLASSEUR, 20000),
              TIssueTransfertCalc::Indisponible);
}

#ifdef KIRVANE_CALC_UNO
namespace css = com::sun::star;
using css::uno::Reference;
using css::uno::UNO_QUERY_THROW;
using rtl::OUString;
using unocalc::versOU;
using unocalc::versQ;

// What the tests read back from a sheet.
struct Lecture {
    Reference<css::sheet::XSpreadsheet> feuille;
    Reference<css::sheet::XSpreadsheetDocument> classeur;

    Reference<css::table::XCell> cellule(const char* nom) const {
        return feuille->getCellRangeByName(OUString::createFromAscii(nom))->getCellByPosition(0, 0);
    }
    QString texte(const char* nom) const { return versQ(cellule(nom)->getFormula()); }
    bool estNombre(const char* nom) const {
        return cellule(nom)->getType() == css::table::CellContentType_VALUE;
    }
    double valeur(const char* nom) const { return cellule(nom)->getValue(); }
    template <class T> T propriete(const char* nom, const char* nomPropriete) const {
        const Reference<css::beans::XPropertySet> p(cellule(nom), UNO_QUERY_THROW);
        return p->getPropertyValue(OUString::createFromAscii(nomPropriete)).template get<T>();
    }
    // The text Calc shows in the cell.
    QString affiche(const char* nom) const {
        const Reference<css::text::XTextRange> t(cellule(nom), UNO_QUERY_THROW);
        return versQ(t->getString());
    }
    // The cell's format shows numbers: neither a date nor a time.
    bool formatNumerique(const char* nom) const {
        const Reference<css::util::XNumberFormatsSupplier> f(classeur, UNO_QUERY_THROW);
        const Reference<css::beans::XPropertySet> format(
            f->getNumberFormats()->getByKey(propriete<sal_Int32>(nom, "NumberFormat")));
        const sal_Int16 type = format->getPropertyValue(OUString("Type")).get<sal_Int16>();
        return (type & css::util::NumberFormat::NUMBER) != 0 &&
               (type & (css::util::NumberFormat::DATE | css::util::NumberFormat::TIME)) == 0;
    }
    bool fusionnee(const char* plage) const {
        const Reference<css::util::XMergeable> m(
            feuille->getCellRangeByName(OUString::createFromAscii(plage)), UNO_QUERY_THROW);
        return m->getIsMerged();
    }
};

class LibreOfficeReel : public testing::Test {
protected:
    static inline TOfficeEssai* office = nullptr;

    static void SetUpTestSuite() {
        office = new TOfficeEssai;
        if (!office->demarrer()) {
            delete office;
            office = nullptr;
        }
    }
    static void TearDownTestSuite() {
        if (!office)
            return;
        // Desktop::terminate: the office ends by itself; the group is killed after anyway.
        office->arreter([] {
            TCalcLibreOffice c(office->options);
            c.connecter();
            try {
                if (c.desktop().is())
                    c.desktop()->terminate();
            } catch (const css::uno::Exception&) {
            }
        });
        delete office;
        office = nullptr;
    }

    void SetUp() override {
        if (!office)
            GTEST_SKIP() << "LibreOffice n'est pas installé";
        auto c = std::make_unique<TCalcLibreOffice>(office->options);
        calc = c.get();
        transfert = std::make_unique<TTransfertCalc>(std::move(c), executeur, fenetre);
    }
    void TearDown() override {
        // Every workbook of the test closed.
        if (calc && calc->desktop().is()) {
            const auto composants = calc->desktop()->getComponents()->createEnumeration();
            while (composants->hasMoreElements()) {
                const Reference<css::util::XCloseable> c(composants->nextElement(),
                                                         css::uno::UNO_QUERY);
                if (c.is())
                    c->close(true);
            }
        }
    }

    QStringList feuilles() const {
        QStringList r;
        for (const OUString& n : calc->classeur()->getSheets()->getElementNames())
            r << versQ(n);
        return r;
    }
    // The sheet the workbook's view shows.
    QString feuilleActive() const {
        const Reference<css::frame::XModel> m(calc->classeur(), UNO_QUERY_THROW);
        const Reference<css::sheet::XSpreadsheetView> v(m->getCurrentController(), UNO_QUERY_THROW);
        const Reference<css::container::XNamed> n(v->getActiveSheet(), UNO_QUERY_THROW);
        return versQ(n->getName());
    }
    // The cell the cursor is left on, as (column, row) from 0.
    std::pair<int, int> curseur() const {
        const Reference<css::frame::XModel> m(calc->classeur(), UNO_QUERY_THROW);
        const Reference<css::view::XSelectionSupplier> s(m->getCurrentController(),
                                                         UNO_QUERY_THROW);
        const Reference<css::sheet::XCellRangeAddressable> a(s->getSelection(), UNO_QUERY_THROW);
        const css::table::CellRangeAddress r = a->getRangeAddress();
        return {r.StartColumn, r.StartRow};
    }
    Lecture lecture() const { return {calc->feuille(), calc->classeur()}; }

    FenetreEnregistreuse fenetre;
    TExecuteurCalcFil executeur;
    TCalcLibreOffice* calc = nullptr;
    std::unique_ptr<TTransfertCalc> transfert;
};

TInstantaneExport deuxCourbes1001() {
    TInstantaneExport e = exempleExport();
    e.series = {serieRampe(QStringLiteral("u;\"x\""), 1001, 0.01f),
                serieRampe(QStringLiteral("u[1]"), 1001, -0.002f)};
    e.dtAX = 2e-5;
    e.nbPtsAX = 1001;
    e.dureeTotaleAX = 0.02;
    e.t0 = 0.0f;
    e.tFin = 0.02;
    return e;
}

TEST_F(LibreOfficeReel, ExempleDansUnNouveauClasseurRelu) {
    ASSERT_EQ(transfererEtAttendre(*transfert, exempleExport(), OPTION_TOO_NOUVELLE_FEUILLE),
              TIssueTransfertCalc::Transfere)
        << fenetre.messages.join(u'\n').toStdString();
    EXPECT_TRUE(fenetre.messages.isEmpty());
    EXPECT_EQ(feuilles(), QStringList{"Transfert"});
    const Lecture l = lecture();
    EXPECT_EQ(l.texte("A1"), QString::fromUtf8("Mesures réalisées avec l'interface SYSAM SP5 le "
                                               "09/12/2026 à 10:15:00"));
    EXPECT_EQ(l.texte("A2"),
              QString::fromUtf8("5 points répartis sur 4,000 ms   2 séries mesurées "));
    const std::pair<const char*, const char*> textes[] = {
        {"A3", "t"}, {"B3", "u0_M"}, {"C3", "u1_5"}, {"A4", "s"}, {"B4", "V"}, {"C4", "V"}};
    for (const auto& [cellule, texte] : textes)
        EXPECT_EQ(l.texte(cellule), QString::fromUtf8(texte)) << cellule;
    const std::tuple<const char*, double> nombres[] = {{"A5", 0.0},   {"B5", 0.0},  {"C5", -0.25},
                                                       {"A6", 0.001}, {"B7", 1.0},  {"A9", 0.004},
                                                       {"B9", 2.0},   {"C9", -0.25}};
    for (const auto& [cellule, v] : nombres) {
        EXPECT_TRUE(l.estNombre(cellule)) << cellule;
        EXPECT_DOUBLE_EQ(l.valeur(cellule), v) << cellule;
    }
    EXPECT_EQ(l.texte("A10"), QString());
    // Title lines merged over A..G and left-aligned; A1:A2 light blue and bold; the header
    // light yellow, bold, centred; the data in format 61, centred; the cursor on D5.
    EXPECT_TRUE(l.fusionnee("A1:G1"));
    EXPECT_TRUE(l.fusionnee("A2:G2"));
    EXPECT_FALSE(l.fusionnee("A3:C3"));
    for (const char* c : {"A1", "A2"}) {
        EXPECT_EQ(l.propriete<sal_Int32>(c, "CellBackColor"), COULEUR_TITRE_CALC) << c;
        EXPECT_FLOAT_EQ(l.propriete<float>(c, "CharWeight"), 150.0f) << c;
        EXPECT_EQ(l.propriete<css::table::CellHoriJustify>(c, "HoriJustify"),
                  css::table::CellHoriJustify_LEFT)
            << c;
    }
    for (const char* c : {"A3", "C4"}) {
        EXPECT_EQ(l.propriete<sal_Int32>(c, "CellBackColor"), COULEUR_ENTETE_CALC) << c;
        EXPECT_FLOAT_EQ(l.propriete<float>(c, "CharWeight"), 150.0f) << c;
        EXPECT_EQ(l.propriete<css::table::CellHoriJustify>(c, "HoriJustify"),
                  css::table::CellHoriJustify_CENTER)
            << c;
    }
    EXPECT_FLOAT_EQ(l.propriete<float>("A5", "CharWeight"), 100.0f);
    for (const char* c : {"A5", "C9"}) {
        EXPECT_TRUE(l.formatNumerique(c)) << c;
        EXPECT_EQ(l.propriete<css::table::CellHoriJustify>(c, "HoriJustify"),
                  css::table::CellHoriJustify_CENTER)
            << c;
    }
    // Shown as the numbers they are, in the document's language.
    const std::pair<const char*, const char*> affiches[] = {
        {"A6", "0.001"}, {"B8", "1.5"}, {"C9", "-0.25"}, {"B9", "2"}};
    for (const auto& [cellule, texte] : affiches)
        EXPECT_EQ(l.affiche(cellule).replace(u',', u'.'), QLatin1StringView(texte)) << cellule;
    EXPECT_EQ(curseur(), std::make_pair(3, 4));
    EXPECT_EQ(fenetre.progressions.last(), 100);
    EXPECT_EQ(fenetre.messagesX.last(), messageTransfertCalcTermine());
}

TEST_F(LibreOfficeReel, FeuillesSuivantesPuisClasseurFerme) {
    ASSERT_EQ(transfererEtAttendre(*transfert, exempleExport(), OPTION_TOO_NOUVELLE_FEUILLE),
              TIssueTransfertCalc::Transfere);

    // Two curves × 1001 points into a new sheet of the same workbook.
    ASSERT_EQ(transfererEtAttendre(*transfert, deuxCourbes1001(), OPTION_TOO_NOUVELLE_FEUILLE),
              TIssueTransfertCalc::Transfere)
        << fenetre.messages.join(u'\n').toStdString();
    EXPECT_EQ(feuilles(), (QStringList{"Transfert", "Transfert2"}));
    EXPECT_EQ(feuilleActive(), QStringLiteral("Transfert2"));
    Lecture l = lecture();
    const TInstantaneExport e = deuxCourbes1001();
    EXPECT_EQ(l.texte("A2"), lignesEnteteCalc(e, TSelection{0, 1000}, 2)[1][0]);
    EXPECT_TRUE(l.texte("A2").startsWith(QString::fromUtf8("1001 points répartis sur ")));
    // A name with «;» and «"» is a plain text in its cell.
    EXPECT_EQ(l.texte("B3"), QStringLiteral("u;\"x\""));
    EXPECT_EQ(l.texte("C3"), QStringLiteral("u1"));
    for (const char* c : {"A1005", "B1005", "C1005"})
        EXPECT_TRUE(l.estNombre(c)) << c;
    EXPECT_DOUBLE_EQ(l.valeur("A1005"), 0.02);
    EXPECT_DOUBLE_EQ(l.valeur("B1005"), 10.0);
    EXPECT_DOUBLE_EQ(l.valeur("C1005"), -2.0);
    EXPECT_DOUBLE_EQ(l.valeur("B505"), 5.0);
    EXPECT_EQ(l.texte("A1006"), QString());
    EXPECT_TRUE(l.formatNumerique("C1005"));
    EXPECT_EQ(l.affiche("A1005").replace(u',', u'.'), QStringLiteral("0.02"));
    EXPECT_EQ(curseur(), std::make_pair(3, 4));

    // A sheet the user added takes the next name, whatever its case: another name is found.
    calc->classeur()->getSheets()->insertNewByName(versOU("TRANSFERT3"), 2);
    ASSERT_EQ(transfererEtAttendre(*transfert, exempleExport(), OPTION_TOO_NOUVELLE_FEUILLE),
              TIssueTransfertCalc::Transfere);
    EXPECT_EQ(feuilles(), (QStringList{"Transfert", "Transfert2", "TRANSFERT3", "Transfert3a"}));
    EXPECT_EQ(feuilleActive(), QStringLiteral("Transfert3a"));
    EXPECT_DOUBLE_EQ(lecture().valeur("B9"), 2.0);

    // The user closes the workbook: the next transfer opens a new one.
    const Reference<css::util::XCloseable> ferme(calc->classeur(), UNO_QUERY_THROW);
    ferme->close(true);
    ASSERT_EQ(transfererEtAttendre(*transfert, exempleExport(), OPTION_TOO_NOUVELLE_FEUILLE),
              TIssueTransfertCalc::Transfere);
    EXPECT_EQ(feuilles(), QStringList{"Transfert"});
    EXPECT_EQ(transfert->numTransfertOOO_CC, 4);
    EXPECT_TRUE(fenetre.messages.isEmpty()) << fenetre.messages.join(u'\n').toStdString();
}
#endif

} // namespace
