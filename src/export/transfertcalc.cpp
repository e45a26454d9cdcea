#include "transfertcalc.h"

#include "fichierregressi.h"
#include "fichierstexte.h"
#include "formats.h"
#include "lettres.h"
#include "transfertregressi.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <vector>

namespace {

// Curves of one transfer, at most.
constexpr int NB_COURBES_MAX_CALC = 500;

// The value a paste of the 6-significant-digit text would give: the cells hold what the
// files show.
double valeurG6(float x) {
    char texte[tailleTexteAscii];
    const int longueur = texteG6Ascii(x, '.', texte);
    double v = std::numeric_limits<double>::quiet_NaN();
    std::from_chars(texte, texte + longueur, v);
    return v;
}

} // namespace

TModeCalc modeTransfertCalc(bool premiereConnexion, int option, bool classeurVivant) {
    if (premiereConnexion)
        return TModeCalc::NouveauClasseur;
    switch (option) {
    case OPTION_TOO_NOUVELLE_FEUILLE:
        return classeurVivant ? TModeCalc::NouvelleFeuille : TModeCalc::NouveauClasseur;
    case OPTION_TOO_DEMANDER:
        return classeurVivant ? TModeCalc::Demander : TModeCalc::NouveauClasseur;
    default:
        return TModeCalc::NouveauClasseur;
    }
}

QString nomFeuilleLibre(const QString& nom, const QStringList& feuilles) {
    const auto prise = [&](const QString& candidat) {
        return std::any_of(feuilles.begin(), feuilles.end(), [&](const QString& f) {
            return f.compare(candidat, Qt::CaseInsensitive) == 0;
        });
    };
    QString candidat = nom;
    // Ends: the sheets are finitely many.
    for (int k = 0; prise(candidat); ++k)
        candidat = nom + lettresSerie(k);
    return candidat;
}

QList<QStringList> lignesEnteteCalc(const TInstantaneExport& e, TSelection s, int n) {
    QStringList noms{QStringLiteral("t")};
    QStringList unites{QStringLiteral("s")};
    for (int j = 0; j < n; ++j) {
        noms << corrigeEnteteReg(e.series[j].sEnteteVM);
        unites << QStringLiteral("V");
    }
    const QString points =
        QString::number(s.nbLignes()) + QString::fromUtf8(" points répartis sur ") +
        texteDuree(e.tFin - static_cast<double>(e.t0), e.separateur) + QStringLiteral("   ") +
        QString::number(n) +
        (n < 2 ? QString::fromUtf8(" série mesurée ") : QString::fromUtf8(" séries mesurées "));
    return {{texteMesuresRealisees(e, e.heureAcq)}, {points}, noms, unites};
}

QString messageConnexionCalc() {
    return QString::fromUtf8("Connexion à OpenOffice/LibreOffice...");
}
QString messageCalcIntrouvable() {
    return QString::fromUtf8("Impossible de se connecter à OpenOffice/LibreOffice. Le logiciel "
                             "n'est sans doute pas installé sur cet ordinateur ");
}
QString messageCalcIntrouvableReconnexion() {
    return QString::fromUtf8("Impossible de se connecter à LibreOffice/OpenOffice. Le logiciel "
                             "n'est sans doute pas installé sur cet ordinateur ");
}
QString messageErreurCreationCalc() {
    return QString::fromUtf8("Une erreur est survenue au cours du transfert des valeurs. "
                             "\r\nImpossible de continuer, veuillez recommencer toute "
                             "l'opération. ");
}
QString messageTransfertCalcEnCours() {
    return QStringLiteral("Transfert vers OpenOffice.org Calc en cours...");
}
QString messageTransfertCalcTermine() {
    return QString::fromUtf8("Transfert vers OO/LO terminé. ");
}
QString messageErreurTransfertCalc() {
    return QString::fromUtf8("L'application OpenOffice.org Calc n'a pas été trouvée.  \n\r"
                             "Impossible de passer directement à OpenOffice.org Calc.");
}

// One transfer, shared by the window's thread and the worker (never at the same time).
struct TTransfertCalc::TTravail {
    TInstantaneExport e;
    TSelection s;
    int n = 0;
    int option = 0;
    std::function<void(TIssueTransfertCalc)> fini;
    bool premiere = false;
    bool connecte = false;
    bool vivant = false;
    TModeCalc mode = TModeCalc::NouveauClasseur;
    QString nomFeuille;
    TIssueTransfertCalc issue = TIssueTransfertCalc::Erreur;
    std::optional<TErreurCalc> erreurEntete;
};

TTransfertCalc::TTransfertCalc(std::unique_ptr<TCalc> calc, TExecuteurCalc& executeur,
                               TFenetreCalc& fenetre)
    : calc(std::move(calc)), executeur(executeur), fenetre(fenetre) {}

TTransfertCalc::~TTransfertCalc() = default;

void TTransfertCalc::TransfertOOCalcPP(TInstantaneExport e, int optionTransfertOOo,
                                       std::function<void(TIssueTransfertCalc)> fini) {
    const auto rendre = [&](TIssueTransfertCalc issue) {
        if (fini)
            fini(issue);
    };
    if (enCours_)
        return rendre(TIssueTransfertCalc::EnCours);
    if (!aATransfertDirectOOCalcDisponible)
        return rendre(TIssueTransfertCalc::Indisponible);
    // Checked on the committed series before anything is shown or written.
    const std::optional<TSelection> s = selectionTableaux(e);
    if (!s) {
        fenetre.message(messageAucuneValeurTransfert(), TGenreMessageCalc::Information);
        return rendre(TIssueTransfertCalc::AucuneValeur);
    }
    auto t = std::make_shared<TTravail>();
    t->n = std::min(static_cast<int>(e.series.size()), NB_COURBES_MAX_CALC);
    t->e = std::move(e);
    t->s = *s;
    t->option = optionTransfertOOo;
    t->fini = std::move(fini);
    t->premiere = !connecte;

    enCours_ = true;
    fenetre.debutTransfert();
    fenetre.afficherMessage(messageConnexionCalc());
    executeur.executer(
        [this, t] {
            try {
                if (t->premiere) {
                    t->connecte = calc->connecter();
                } else {
                    // A closed office is reached again, with a new workbook.
                    t->vivant = calc->classeurVivant();
                    t->connecte = t->vivant || calc->connecter();
                }
            } catch (const TErreurCalc&) {
                t->connecte = false;
            }
        },
        [this, t] { apresConnexion(t); });
}

void TTransfertCalc::apresConnexion(std::shared_ptr<TTravail> t) {
    if (!t->connecte) {
        fenetre.message(t->premiere ? messageCalcIntrouvable()
                                    : messageCalcIntrouvableReconnexion(),
                        TGenreMessageCalc::Information);
        aATransfertDirectOOCalcDisponible = false;
        fenetre.desactiverBouton();
        return terminer(*t, TIssueTransfertCalc::SansConnexion);
    }
    connecte = true;
    t->mode = modeTransfertCalc(t->premiere, t->option, t->vivant);
    if (t->mode == TModeCalc::Demander) {
        const std::optional<TModeCalc> choix = fenetre.choisirMode();
        if (!choix || *choix == TModeCalc::Demander)
            return terminer(*t, TIssueTransfertCalc::Abandonne);
        t->mode = *choix;
    }
    ++numTransfertOOO_CC;
    t->nomFeuille = t->mode == TModeCalc::NouveauClasseur
                        ? nomFeuilleTransfert
                        : nomFeuilleTransfert + QString::number(numTransfertOOO_CC);
    executeur.executer(
        [this, t] { ecrire(*t); },
        [this, t] {
            if (t->issue == TIssueTransfertCalc::ErreurCreation)
                fenetre.message(messageErreurCreationCalc(), TGenreMessageCalc::Information);
            if (t->erreurEntete)
                fenetre.message(t->erreurEntete->texte + u'\n' + t->erreurEntete->genre,
                                TGenreMessageCalc::Simple);
            if (t->issue == TIssueTransfertCalc::Erreur)
                fenetre.message(messageErreurTransfertCalc(), TGenreMessageCalc::Avertissement);
            terminer(*t, t->issue);
        });
}

// On the worker thread.
void TTransfertCalc::ecrire(TTravail& t) {
    try {
        if (t.mode == TModeCalc::NouveauClasseur) {
            calc->nouveauClasseur(t.nomFeuille);
        } else {
            t.nomFeuille = nomFeuilleLibre(t.nomFeuille, calc->nomsFeuilles());
            calc->nouvelleFeuille(t.nomFeuille);
        }
    } catch (const TErreurCalc&) {
        t.issue = TIssueTransfertCalc::ErreurCreation;
        return;
    }
    executeur.versFenetre([this] {
        fenetre.afficherMessage(messageTransfertCalcEnCours());
        fenetre.progression(0);
        fenetre.masquerPresence(true);
    });
    const int n = t.n;
    const int64_t K = t.s.nbLignes();
    try {
        calc->suspendreAffichage(true);
        for (const char* titre : {"$A$1:$G$1", "$A$2:$G$2"}) {
            calc->fusionner(QLatin1StringView(titre));
            calc->alignement(QLatin1StringView(titre), ALIGNEMENT_GAUCHE_CALC);
        }
        // Texts as cell values: whatever a name holds («;», «"») stays a name.
        try {
            const QList<QStringList> entete = lignesEnteteCalc(t.e, t.s, n);
            for (int l = 0; l < entete.size(); ++l)
                calc->ecrireTextes(l + 1, entete[l]);
        } catch (const TErreurCalc& x) {
            t.erreurEntete = x;
        }

        const int colonnes = n + 1;
        const int64_t lignesParBloc = std::max(1, CELLULES_PAR_BLOC_CALC / colonnes);
        std::vector<double> bloc(static_cast<size_t>(std::min(lignesParBloc, K) * colonnes));
        int pourcent = 0;
        for (int64_t premier = 0; premier < K; premier += lignesParBloc) {
            const int64_t nb = std::min(lignesParBloc, K - premier);
            double* v = bloc.data();
            for (int64_t r = 0; r < nb; ++r) {
                const int64_t i = t.s.i0 + premier + r;
                *v++ = valeurG6(tempsTableau(t.e, t.s.i0, i));
                for (int j = 0; j < n; ++j)
                    *v++ = valeurG6(t.e.series[j].valeurs[i]);
            }
            calc->ecrireNombres(static_cast<int>(5 + premier), static_cast<int>(nb), colonnes,
                                bloc.data());
            // Progress by rows written, whatever the first row.
            const int p = static_cast<int>(std::lround(100.0 * (premier + nb) / K));
            if (p != pourcent) {
                pourcent = p;
                executeur.versFenetre([this, p] { fenetre.progression(p); });
            }
        }

        const QString C = lettresColonne(n);
        calc->couleurFond(QStringLiteral("$A$1:$A$2"), COULEUR_TITRE_CALC);
        calc->gras(QStringLiteral("$A$1:$A$2"));
        const QString entetes = QStringLiteral("$A$3:$") + C + QStringLiteral("4");
        calc->gras(entetes);
        calc->couleurFond(entetes, COULEUR_ENTETE_CALC);
        calc->alignement(entetes, ALIGNEMENT_CENTRE_CALC);
        const QString donnees = QStringLiteral("A5:") + C + QString::number(K + 4);
        calc->formatNombres(donnees);
        calc->alignement(donnees, ALIGNEMENT_CENTRE_CALC);
        calc->selectionner(u'$' + lettresColonne(n + 1) + u'5');
        t.issue = TIssueTransfertCalc::Transfere;
    } catch (const TErreurCalc&) {
        t.issue = TIssueTransfertCalc::Erreur;
    }
    // The workbook shown again in every case.
    try {
        calc->suspendreAffichage(false);
    } catch (const TErreurCalc&) {
    }
}

void TTransfertCalc::terminer(TTravail& t, TIssueTransfertCalc issue) {
    fenetre.finTransfert();
    enCours_ = false;
    if (t.fini)
        t.fini(issue);
}
