#include "transfertexcel.h"

#include "arrondis.h"
#include "classeurexcel.h"
#include "fichierregressi.h"
#include "fichierstexte.h"
#include "formats.h"
#include "lettres.h"
#include "transfertregressi.h"

#include <algorithm>

namespace {

constexpr int MAX_COURBES_EXCEL = 500;

// Appends a number as the user's Excel reads it: texteG6 with the regional separator.
void ajouteNombre(QString& texte, float x, QChar separateur) {
    if (separateur.unicode() < 128) {
        char tampon[tailleTexteAscii];
        const int n = texteG6Ascii(x, static_cast<char>(separateur.unicode()), tampon);
        texte.append(QLatin1StringView(tampon, n));
    } else {
        texte.append(texteG6(x, separateur));
    }
}

} // namespace

int nbCourbesExcel(const TInstantaneExport& e) {
    return static_cast<int>(std::min<std::size_t>(MAX_COURBES_EXCEL, e.series.size()));
}

int64_t lignesParCollage(int nbSeries) {
    return std::max(MAX_COURBES_EXCEL / (std::max(nbSeries, 0) + 1) + 1, 1);
}

std::optional<TSelection> selectionExcel(const TInstantaneExport& e) {
    return selectionPremieresSeries(e, MAX_COURBES_EXCEL);
}

std::vector<QStringList> lignesEnTeteExcel(const TInstantaneExport& e, TSelection s) {
    const int n = nbCourbesExcel(e);
    QStringList noms{QStringLiteral("t")}, unites{QStringLiteral("s")};
    for (int j = 0; j < n; ++j) {
        noms << corrigeEnteteReg(e.series[j].sEnteteVM);
        unites << QStringLiteral("V");
    }
    return {{texteMesuresRealisees(e, e.heureAcq)},
            {textePointsRepartis(e, s.nbLignes(), n)},
            noms,
            unites};
}

float tempsExcel(const TInstantaneExport& e, TSelection s, int64_t i) {
    return tempsTableau(e, s.i0, i);
}

QString messageConnexionExcel() {
    return QString::fromUtf8("Connexion à Excel...");
}
QString messageTransfertExcel() {
    return QStringLiteral("Transfert vers Excel en cours...");
}
QString messageExcelTermine() {
    return QString::fromUtf8("Transfert vers EXCEL terminé ");
}
QString messageExcelAnnule() {
    return QString::fromUtf8("Transfert vers EXCEL annulé");
}
QString messageExcelInterrompu() {
    return QStringLiteral("Transfert vers EXCEL interrompu");
}
QString messageExcelIntrouvable() {
    return QString::fromUtf8("L'application Microsoft EXCEL n'a pas été trouvée.  \n\rImpossible "
                             "de passer directement à EXCEL.");
}
QString messageErreurExcel(const QString& description) {
    return QString::fromUtf8("EXCEL a signalé une erreur et le transfert s'est arrêté là :"
                             "\n\r") +
           description;
}

TTransfertExcel::TTransfertExcel(TSystemeExcel& systeme, TVueTransfertExcel& vue,
                                 TClasseursExcel* classeurs)
    : systeme(systeme), vue(vue), classeurs(classeurs) {}

std::optional<TModeExcel> TTransfertExcel::modeSelonOption(int option) {
    switch (option) {
    case OPTION_TE_NOUVELLE_FEUILLE:
        return TModeExcel::NouvelleFeuille;
    case OPTION_TE_DEMANDER: {
        // The user sees the normal pointer over the dialog.
        vue.sablier(false);
        const std::optional<TModeExcel> choix = vue.choisirMode();
        vue.sablier(true);
        return choix;
    }
    default:
        return TModeExcel::NouveauClasseur;
    }
}

TIssueExcel TTransfertExcel::TransfertExcelPP(const TInstantaneExport& e, int option,
                                              const QString& sdateAcqX,
                                              const QString& dossierDocuments) {
    // Caught on the sample indices, before anything is shown or written.
    const std::optional<TSelection> s = selectionExcel(e);
    if (!s) {
        vue.informer(messageAucuneValeurTransfert());
        return TIssueExcel::AucuneValeur;
    }
    vue.debutTransfert();
    vue.message(messageConnexionExcel());
    vue.sablier(true);

    std::unique_ptr<TExcel> excel;
    std::optional<TModeExcel> mode;
    std::optional<QString> erreur;
    bool annule = false;
    try {
        excel = systeme.excelActif();
        if (excel) {
            excel->setVisible(false);
            mode = modeSelonOption(option);
            annule = !mode;
            vue.redessiner();
        }
    } catch (const TErreurExcel& x) {
        // Without an object the error is "none running"; with one, Excel failed.
        if (excel)
            erreur = QString::fromUtf8(x.what());
    }
    if (!excel) {
        // No running Excel: a new one, which gets a new workbook whatever the option.
        try {
            excel = systeme.nouvelExcel();
            if (excel) {
                excel->setVisible(false);
                mode = TModeExcel::NouveauClasseur;
            }
        } catch (const TErreurExcel&) {
            excel.reset();
        }
    }
    if (!excel)
        return transfertClasseur(e, *s, option, sdateAcqX, dossierDocuments);

    bool feuille = false;
    if (mode && !erreur) {
        try {
            if (*mode == TModeExcel::NouveauClasseur) {
                excel->setSheetsInNewWorkbook(1);
                excel->ajouterClasseur();
            } else {
                excel->ajouterFeuille();
            }
            feuille = true;
            vue.message(messageTransfertExcel());
            vue.progression(0);
            vue.presenceVisible(false);
            remplirFeuille(*excel, e, *s);
            mettreEnForme(*excel, nbCourbesExcel(e));
        } catch (const TErreurExcel& x) {
            erreur = QString::fromUtf8(x.what());
        }
    }

    // The final steps all run, whatever Excel answers to each of them.
    auto essayer = [&](auto appel) {
        try {
            appel();
        } catch (const TErreurExcel& x) {
            if (!erreur)
                erreur = QString::fromUtf8(x.what());
        }
    };
    if (feuille)
        essayer([&] { excel->selectionner(QStringLiteral("A1")); });
    vue.message(annule   ? messageExcelAnnule()
                : erreur ? messageExcelInterrompu()
                         : messageExcelTermine());
    // Excel is shown and let go while the window still refuses to close.
    essayer([&] { excel->setWindowState(annule ? EXCEL_REDUIT : EXCEL_NORMAL); });
    essayer([&] { excel->setVisible(true); });
    excel.reset();
    finSansExcel();
    if (annule)
        vue.reprendreFocus();
    if (erreur) {
        vue.avertir(messageErreurExcel(*erreur));
        return TIssueExcel::ErreurExcel;
    }
    return annule ? TIssueExcel::Abandonne : TIssueExcel::Transfere;
}

void TTransfertExcel::remplirFeuille(TExcel& excel, const TInstantaneExport& e, TSelection s) {
    const int n = nbCourbesExcel(e);
    QString entete;
    for (const QStringList& ligne : lignesEnTeteExcel(e, s))
        entete += ligne.join(u'\t') + QStringLiteral("\r\n");
    systeme.pressePapiers(entete);
    excel.selectionner(QStringLiteral("A1"));
    excel.coller();

    const int64_t m = lignesParCollage(static_cast<int>(e.series.size()));
    const int64_t total = s.nbLignes();
    donneesPPEXCEL.clear();
    donneesPPEXCEL.reserve(static_cast<qsizetype>(std::min(m, total) * (n + 1) * 14));
    int64_t collees = 0, enAttente = 0;
    for (int64_t i = s.i0; i <= s.i1; ++i) {
        ajouteNombre(donneesPPEXCEL, tempsExcel(e, s, i), e.separateur);
        for (int j = 0; j < n; ++j) {
            donneesPPEXCEL.append(u'\t');
            ajouteNombre(donneesPPEXCEL, e.series[j].valeurs[i], e.separateur);
        }
        donneesPPEXCEL.append(QLatin1StringView("\r\n"));
        if (++enAttente < m && i < s.i1)
            continue;
        // The rows follow each other from row 5 on, without gap.
        systeme.pressePapiers(donneesPPEXCEL);
        systeme.attendre(ATTENTE_COLLAGE_MS);
        excel.selectionner(u'A' + QString::number(5 + collees));
        excel.coller();
        collees += enAttente;
        enAttente = 0;
        // The share of the rows sent: a selection of one row counts too.
        vue.progression(static_cast<int>(
            arrondi64(100.0 * static_cast<double>(collees) / static_cast<double>(total))));
        donneesPPEXCEL.resize(0);
    }
}

void TTransfertExcel::mettreEnForme(TExcel& excel, int n) {
    excel.fusionner(QStringLiteral("A1:F1"));
    excel.fusionner(QStringLiteral("A2:F2"));
    for (const char* cellule : {"A1", "A2"}) {
        excel.couleurFond(cellule, COULEUR_TITRE_EXCEL);
        excel.gras(cellule);
    }
    const QString c = lettresColonne(n);
    const QString plage = QStringLiteral("A3:") + c + u'4';
    excel.alignementHorizontal(plage, EXCEL_CENTRE);
    excel.gras(plage);
    const QString absolue = QStringLiteral("$A$3:$") + c + u'4';
    excel.couleurFond(absolue, COULEUR_EN_TETE_EXCEL);
    excel.alignementHorizontal(absolue, EXCEL_CENTRE);
    excel.gras(absolue);
    // The name's first letter stays as it is, the rest is lowered.
    for (int k = 1; k <= n; ++k)
        excel.indicesGras(lettresColonne(k) + u'3', 2, 100);
}

void TTransfertExcel::finSansExcel(bool sablierActif) {
    vue.finTransfert();
    vue.progression(0);
    vue.presenceVisible(true);
    if (sablierActif)
        vue.sablier(false);
}

TIssueExcel TTransfertExcel::transfertClasseur(const TInstantaneExport& e, TSelection s, int option,
                                               const QString& sdateAcqX,
                                               const QString& dossierDocuments) {
    if (classeurs == nullptr) {
        vue.sablier(false);
        vue.avertir(messageExcelIntrouvable());
        finSansExcel(false);
        return TIssueExcel::ExcelAbsent;
    }
    // A new sheet only goes into the last workbook while it can take one; otherwise a new
    // workbook, without asking.
    bool feuille = false;
    if (classeurs->feuillePossible()) {
        const std::optional<TModeExcel> mode = modeSelonOption(option);
        vue.redessiner();
        if (!mode) {
            vue.message(messageExcelAnnule());
            finSansExcel();
            vue.reprendreFocus();
            return TIssueExcel::Abandonne;
        }
        feuille = *mode == TModeExcel::NouvelleFeuille;
    }
    vue.message(messageTransfertExcel());
    vue.progression(0);
    vue.presenceVisible(false);
    if (const std::optional<QString> erreur =
            classeurs->ecrire(e, s, feuille, dossierDocuments, sdateAcqX)) {
        vue.message(messageExcelInterrompu());
        finSansExcel();
        vue.avertir(*erreur);
        return TIssueExcel::EchecClasseur;
    }
    vue.progression(100);
    vue.message(messageExcelTermine());
    finSansExcel();
    if (!classeurs->ouvrir())
        vue.informer(messageClasseurNonOuvert(classeurs->chemin));
    return TIssueExcel::Classeur;
}
