#include "classeurexcel.h"

#include "formats.h"
#include "lettres.h"
#include "transfertexcel.h"
#include "transfertregressi.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <charconv>
#include <clocale>
#include <string>

#ifdef KIRVANE_XLSXWRITER
#include <xlsxwriter.h>
#endif

QString nomClasseurTransfert(const QString& dossierDocuments, const QString& sdateAcqX,
                             int numero) {
    return dossierDocuments + u'/' + nfRegBase + sdateAcqX + u'-' + QString::number(numero) +
           QStringLiteral(".xlsx");
}

bool classeurOuvertAilleurs(const QString& chemin) {
    const QFileInfo info(chemin);
    const QDir dossier = info.dir();
    return QFileInfo::exists(
               dossier.filePath(QStringLiteral(".~lock.") + info.fileName() + u'#')) ||
           QFileInfo::exists(dossier.filePath(QStringLiteral("~$") + info.fileName()));
}

QString messageClasseurNonOuvert(const QString& chemin) {
    return QString::fromUtf8("Le classeur « ") + QDir::toNativeSeparators(chemin) +
           QString::fromUtf8(" » a été enregistré, mais aucun programme n'a pu l'ouvrir.\n\r"
                             "Ouvrez-le avec un tableur (LibreOffice Calc, par exemple).");
}

namespace {

QString messageEcritureImpossible(const QString& chemin) {
    return QString::fromUtf8("Le classeur « ") + QDir::toNativeSeparators(chemin) +
           QString::fromUtf8(" » n'a pas pu être enregistré.\n\rVérifiez que le dossier est "
                             "accessible en écriture et qu'il reste de la place sur le disque.");
}

} // namespace

#ifdef KIRVANE_XLSXWRITER

bool classeurExcelDisponible() {
    return true;
}

namespace {

// Colour value (red in the low byte) as the workbook writes it, 0xRRGGBB.
lxw_color_t rvb(TColor c) {
    return ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}

struct TFormats {
    lxw_format* titre;  // the two title lines
    lxw_format* entete; // names and units
    lxw_format* gras;   // first letter of a name
    lxw_format* indice; // the rest of it
};

TFormats creerFormats(lxw_workbook* classeur) {
    TFormats f{};
    f.titre = workbook_add_format(classeur);
    format_set_bold(f.titre);
    format_set_pattern(f.titre, LXW_PATTERN_SOLID);
    format_set_bg_color(f.titre, rvb(COULEUR_TITRE_EXCEL));
    f.entete = workbook_add_format(classeur);
    format_set_bold(f.entete);
    format_set_align(f.entete, LXW_ALIGN_CENTER);
    format_set_pattern(f.entete, LXW_PATTERN_SOLID);
    format_set_bg_color(f.entete, rvb(COULEUR_EN_TETE_EXCEL));
    f.gras = workbook_add_format(classeur);
    format_set_bold(f.gras);
    f.indice = workbook_add_format(classeur);
    format_set_bold(f.indice);
    format_set_font_script(f.indice, LXW_FONT_SUBSCRIPT);
    return f;
}

// A name of the third line: its first letter bold, the next hundred bold and lowered, as
// Excel's Characters(2, 100) does.
void ecrireNom(lxw_worksheet* feuille, int colonne, const QString& nom, const TFormats& f) {
    if (nom.size() < 2) {
        worksheet_write_string(feuille, 2, colonne, nom.toUtf8().constData(), f.entete);
        return;
    }
    const QByteArray premiere = nom.left(1).toUtf8(), reste = nom.mid(1, 100).toUtf8(),
                     fin = nom.mid(101).toUtf8();
    lxw_rich_string_tuple a{f.gras, const_cast<char*>(premiere.constData())};
    lxw_rich_string_tuple b{f.indice, const_cast<char*>(reste.constData())};
    lxw_rich_string_tuple c{f.gras, const_cast<char*>(fin.constData())};
    lxw_rich_string_tuple* fragments[] = {&a, &b, fin.isEmpty() ? nullptr : &c, nullptr};
    worksheet_write_rich_string(feuille, 2, colonne, fragments, f.entete);
}

// A number as the sheet shows it: the value of its texteG6 text.
double valeurAffichee(float x, int& longueur) {
    char tampon[tailleTexteAscii];
    longueur = texteG6Ascii(x, '.', tampon);
    double v = 0.0;
    std::from_chars(tampon, tampon + longueur, v);
    return v;
}

lxw_worksheet* ecrireFeuille(lxw_workbook* classeur, const TFeuilleClasseur& f, int numero,
                             const TFormats& formats) {
    const QByteArray nom = QStringLiteral("Feuil%1").arg(numero).toUtf8();
    lxw_worksheet* feuille = workbook_add_worksheet(classeur, nom.constData());
    const TInstantaneExport& e = f.e;
    const TSelection s = f.s;
    const int n = nbCourbesExcel(e);
    const std::vector<QStringList> lignes = lignesEnTeteExcel(e, s);
    for (int l = 0; l < 2; ++l)
        worksheet_merge_range(feuille, l, 0, l, 5, lignes[l].value(0).toUtf8().constData(),
                              formats.titre);
    // Widths in characters: the names, the units and every number of the column.
    std::vector<int> largeurs(static_cast<std::size_t>(n) + 1, 0);
    for (int k = 0; k <= n; ++k) {
        const QString nomK = lignes[2].value(k), unite = lignes[3].value(k);
        if (k == 0)
            worksheet_write_string(feuille, 2, 0, nomK.toUtf8().constData(), formats.entete);
        else
            ecrireNom(feuille, k, nomK, formats);
        worksheet_write_string(feuille, 3, k, unite.toUtf8().constData(), formats.entete);
        largeurs[k] = static_cast<int>(std::max(nomK.size(), unite.size()));
    }
    lxw_row_t ligne = 4;
    for (int64_t i = s.i0; i <= s.i1; ++i, ++ligne) {
        int longueur = 0;
        worksheet_write_number(feuille, ligne, 0, valeurAffichee(tempsExcel(e, s, i), longueur),
                               nullptr);
        largeurs[0] = std::max(largeurs[0], longueur);
        for (int j = 0; j < n; ++j) {
            worksheet_write_number(feuille, ligne, static_cast<lxw_col_t>(j + 1),
                                   valeurAffichee(e.series[j].valeurs[i], longueur), nullptr);
            largeurs[j + 1] = std::max(largeurs[j + 1], longueur);
        }
    }
    for (int k = 0; k <= n; ++k)
        worksheet_set_column(feuille, k, k, largeurs[k] + 2.0, nullptr);
    return feuille;
}

// The library writes its numbers with printf: under a French numeric locale (the program's
// own at run time) "0,5" would land in the XML and spoil the workbook. "C" while writing.
class TLocaleNumeriqueC {
public:
    TLocaleNumeriqueC() {
        if (const char* l = std::setlocale(LC_NUMERIC, nullptr))
            avant = l;
        std::setlocale(LC_NUMERIC, "C");
    }
    ~TLocaleNumeriqueC() { std::setlocale(LC_NUMERIC, avant.c_str()); }
    TLocaleNumeriqueC(const TLocaleNumeriqueC&) = delete;
    TLocaleNumeriqueC& operator=(const TLocaleNumeriqueC&) = delete;

private:
    std::string avant = "C";
};

} // namespace

std::optional<QString> ecrireClasseurExcel(const QString& chemin,
                                           const std::vector<TFeuilleClasseur>& feuilles) {
    // Written beside the target, then put in its place once complete.
    const QString provisoire = chemin + QStringLiteral(".ecriture");
    const QByteArray nomProvisoire = QFile::encodeName(provisoire);
    const TLocaleNumeriqueC localeC;
    // Not in constant-memory mode: its inline strings lose their subscripts in some readers.
    lxw_workbook* classeur = workbook_new(nomProvisoire.constData());
    if (classeur == nullptr)
        return messageEcritureImpossible(chemin);
    const TFormats formats = creerFormats(classeur);
    lxw_worksheet* derniere = nullptr;
    for (std::size_t k = 0; k < feuilles.size(); ++k)
        derniere = ecrireFeuille(classeur, feuilles[k], static_cast<int>(k) + 1, formats);
    // The sheet just added is the one shown.
    if (derniere != nullptr)
        worksheet_activate(derniere);
    if (workbook_close(classeur) != LXW_NO_ERROR) {
        QFile::remove(provisoire);
        return messageEcritureImpossible(chemin);
    }
    QFile::remove(chemin);
    if (!QFile::rename(provisoire, chemin)) {
        QFile::remove(provisoire);
        return messageEcritureImpossible(chemin);
    }
    return std::nullopt;
}

#else

bool classeurExcelDisponible() {
    return false;
}

std::optional<QString> ecrireClasseurExcel(const QString&, const std::vector<TFeuilleClasseur>&) {
    return messageExcelIntrouvable();
}

#endif

bool TClasseursExcel::feuillePossible() const {
    return !feuilles.empty() && !chemin.isEmpty() && QFileInfo::exists(chemin) &&
           dateModificationFichier(chemin) == date && !classeurOuvertAilleurs(chemin);
}

std::optional<QString> TClasseursExcel::ecrire(const TInstantaneExport& e, TSelection s,
                                               bool nouvelleFeuille,
                                               const QString& dossierDocuments,
                                               const QString& sdateAcqX) {
    if (nouvelleFeuille && feuillePossible()) {
        std::vector<TFeuilleClasseur> avecLaNouvelle = feuilles;
        avecLaNouvelle.push_back({e, s});
        if (std::optional<QString> erreur = ecrireClasseurExcel(chemin, avecLaNouvelle))
            return erreur;
        feuilles = std::move(avecLaNouvelle);
    } else {
        // Never over a file already there (one of an earlier run, kept by the user).
        QDir().mkpath(dossierDocuments);
        int numero = numClasseur + 1;
        while (QFileInfo::exists(nomClasseurTransfert(dossierDocuments, sdateAcqX, numero)))
            ++numero;
        const QString nouveau = nomClasseurTransfert(dossierDocuments, sdateAcqX, numero);
        std::vector<TFeuilleClasseur> une{{e, s}};
        if (std::optional<QString> erreur = ecrireClasseurExcel(nouveau, une))
            return erreur;
        numClasseur = numero;
        chemin = nouveau;
        feuilles = std::move(une);
    }
    date = dateModificationFichier(chemin);
    return std::nullopt;
}
