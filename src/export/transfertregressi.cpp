#include "transfertregressi.h"

#include "enregistrement.h"
#include "fichierregressi.h"
#include "systeme.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

// The hourglass for the writing and the launch, switched off on every way out.
class TSablierTransfert {
public:
    explicit TSablierTransfert(TDialoguesRegressi& d) : d(d) { d.sablier(true); }
    ~TSablierTransfert() { relacher(); }
    // Before a dialog: the user must see the normal pointer.
    void relacher() {
        if (actif)
            d.sablier(false);
        actif = false;
    }
    TSablierTransfert(const TSablierTransfert&) = delete;
    TSablierTransfert& operator=(const TSablierTransfert&) = delete;

private:
    TDialoguesRegressi& d;
    bool actif = true;
};

QString nomsDesCourbes(const TInstantaneExport& e) {
    QString noms;
    for (const TSerieExport& s : e.series)
        noms += s.sEnteteVM;
    return noms;
}

} // namespace

TModeTransfert modeTransfertRegressi(bool regressiEnCours, bool memesGrandeurs, int option,
                                     bool fichierInchange) {
    if (!regressiEnCours || !memesGrandeurs || !fichierInchange)
        return TModeTransfert::NouveauFichier;
    switch (option) {
    case OPTION_TR_NOUVELLE_PAGE:
        return TModeTransfert::NouvellePage;
    case OPTION_TR_DEMANDER:
        return TModeTransfert::Demander;
    default:
        return TModeTransfert::NouveauFichier;
    }
}

QString nomFichierTransfert(const QString& dossierDocuments, const QString& sdateAcqX,
                            int numFichierTR) {
    return dossierDocuments + u'/' + nfRegBase + sdateAcqX + u'-' + QString::number(numFichierTR) +
           QStringLiteral(".rw3");
}

QString dateModificationFichier(const QString& chemin) {
    const QFileInfo info(chemin);
    if (!info.exists())
        return QString();
    return info.lastModified().toUTC().toString(Qt::ISODateWithMs);
}

bool estExecutableRegressi(const QString& chemin) {
    return memeNomExecutable(chemin, NOM_EXECUTABLE_REGRESSI);
}

QString cheminOfficielRegressi(const QStringList& dossiersProgrammes) {
    for (const QString& programmes : dossiersProgrammes) {
        if (programmes.isEmpty())
            continue;
        const QDir dossier(programmes + QStringLiteral("/Evariste/Regressi"));
        // Without the CaseSensitive flag the name filter ignores case, as Windows does.
        const QStringList trouves =
            dossier.entryList({NOM_EXECUTABLE_REGRESSI}, QDir::Files | QDir::Readable);
        if (!trouves.isEmpty())
            return dossier.filePath(trouves.first());
    }
    return QString();
}

QStringList dossiersProgrammesRegressi() {
#ifdef Q_OS_WIN
    return {cheminDossierSpecial(TDossierSpecial::PROGRAMMES)};
#else
    QString prefixe = QString::fromLocal8Bit(qgetenv("WINEPREFIX"));
    if (prefixe.isEmpty())
        prefixe = QDir::homePath() + QStringLiteral("/.wine");
    return {prefixe + QStringLiteral("/drive_c/Program Files"),
            prefixe + QStringLiteral("/drive_c/Program Files (x86)")};
#endif
}

QString messageAucuneValeurTransfert() {
    return QString::fromUtf8("Il n'y a pas de valeurs dans l'intervalle de temps retenu entre "
                             "les deux curseurs verts ! \n\rLe transfert est donc inutile. ");
}

QString messageRegressiIntrouvable() {
    return QString::fromUtf8("Le programme REGRESSI n'a pas été trouvé. \n\rImpossible de "
                             "passer directement à REGRESSI. \n\rInstallez ou réinstallez "
                             "REGRESSI");
}

QString titreRechercheRegressi() {
    return QStringLiteral("Recherche du programme REGRESSI");
}

QString filtreRechercheRegressi() {
    // The file dialog compares without case where the system does not.
    return QStringLiteral("Regressi.exe (Regressi.exe regressi.exe REGRESSI.EXE)");
}

TCommandeLancement commandeRegressi(const QString& executable, const QString& fichier,
                                    const QString& dossierDocuments, bool sousWine,
                                    const QString& cheminWindowsFichier) {
    const QString dossier = QDir::toNativeSeparators(dossierDocuments);
    if (!sousWine)
        return {QDir::toNativeSeparators(executable), {QDir::toNativeSeparators(fichier)}, dossier};
    return {QStringLiteral("wine"), {executable, cheminWindowsFichier}, dossier};
}

QString cheminWindowsParDefaut(const QString& chemin) {
    QString windows = QDir::cleanPath(QFileInfo(chemin).absoluteFilePath());
    windows.replace(u'/', u'\\');
    return QStringLiteral("Z:") + windows;
}

// ---- The transfer ----

TTransfertRegressi::TTransfertRegressi(TServicesRegressi& services, TDialoguesRegressi& dialogues,
                                       bool sousWine)
    : services(services), dialogues(dialogues), sousWine(sousWine) {}

void TTransfertRegressi::localiser(TOptionsRegressi& options) {
    const QString officiel = services.cheminOfficielRegressi();
    cheminOfficielREGRESSI = QFileInfo::exists(officiel) ? officiel : QString();
    if (options.versionRegressiDefaut) {
        if (cheminOfficielREGRESSI.isEmpty())
            return;
        if (estExecutableRegressi(cheminOfficielREGRESSI)) {
            cheminRegressiUt = cheminOfficielREGRESSI;
        } else {
            cheminOfficielREGRESSI.clear();
            cheminRegressiUt.clear();
            options.versionRegressiDefaut = false;
        }
        return;
    }
    if (options.cheminREGRESSINonDefautX.isEmpty())
        return;
    if (QFileInfo::exists(options.cheminREGRESSINonDefautX) &&
        estExecutableRegressi(options.cheminREGRESSINonDefautX)) {
        cheminRegressiUt = options.cheminREGRESSINonDefautX;
    } else {
        options.cheminREGRESSINonDefautX.clear();
        cheminRegressiUt.clear();
    }
}

void TTransfertRegressi::appliquerPreferences(TOptionsRegressi& options) {
    const QString& choisi = options.cheminREGRESSINonDefautX;
    if (!options.versionRegressiDefaut && QFileInfo::exists(choisi) &&
        estExecutableRegressi(choisi)) {
        cheminRegressiUt = choisi;
        return;
    }
    cheminRegressiUt = cheminOfficielREGRESSI;
    options.versionRegressiDefaut = true;
}

bool TTransfertRegressi::fichierInchange() const {
    return !nfRegAC.isEmpty() && QFileInfo::exists(nfRegAC) &&
           dateModificationFichier(nfRegAC) == dateRegAC;
}

void TTransfertRegressi::reglerRegistre() {
    // Regressi must not offer to recover an earlier document, and must show the values
    // with their digits; only values that exist are changed, nothing is created.
    TRegistreRegressi& r = services.registre();
    const struct {
        const char* cle;
        const char* nom;
        const char* valeur;
    } valeurs[] = {{"Sauvegarde", "Arecuperer", "0"}, {"Format", "chiffres", "6"}};
    for (const auto& v : valeurs) {
        const QString cle = QLatin1String(v.cle), nom = QLatin1String(v.nom);
        if (r.lireTexte(cle, nom))
            r.ecrireTexte(cle, nom, QLatin1String(v.valeur));
    }
}

bool TTransfertRegressi::nouveauFichierTransfert(const TInstantaneExport& e,
                                                 const QString& sdateAcqX) {
    const std::optional<QByteArray> octets = fichierRegressi(e);
    if (!octets)
        return false;
    numFichierTR += 1;
    const QString chemin =
        nomFichierTransfert(services.dossierDocuments(), sdateAcqX, numFichierTR);
    if (const std::optional<QString> erreur = enregistrerOctets(chemin, *octets)) {
        dialogues.informer(*erreur);
        return false;
    }
    nfRegAC = chemin;
    dateRegAC = dateModificationFichier(nfRegAC);
    dialogues.noterASupprimer(nfRegAC);
    return true;
}

bool TTransfertRegressi::nouvellePage(const TInstantaneExport& e) {
    const std::optional<QByteArray> page = pageRegressi(e);
    if (!page)
        return false;
    QFile fichier(nfRegAC);
    if (!fichier.open(QIODevice::WriteOnly | QIODevice::Append)) {
        dialogues.informer(QStringLiteral("Impossible d'ajouter une page au fichier \"") +
                           QDir::toNativeSeparators(nfRegAC) +
                           QString::fromUtf8("\" : il est protégé en écriture."));
        return false;
    }
    const qint64 tailleAvant = fichier.size();
    if (fichier.write(*page) != page->size() || !fichier.flush()) {
        // A half-written page would spoil the whole document: the file is cut back.
        fichier.resize(tailleAvant);
        dialogues.informer(QStringLiteral("L'ajout d'une page au fichier \"") +
                           QDir::toNativeSeparators(nfRegAC) +
                           QString::fromUtf8("\" a échoué (disque plein ?)."));
        return false;
    }
    fichier.close();
    dateRegAC = dateModificationFichier(nfRegAC);
    return true;
}

bool TTransfertRegressi::demarrer(const QString& executable) {
    if (executable.isEmpty() || !estExecutableRegressi(executable))
        return false;
    const QString dossier = services.dossierDocuments();
    const QString windows = sousWine ? services.cheminWindows(nfRegAC) : QString();
    return services.lancer(commandeRegressi(executable, nfRegAC, dossier, sousWine, windows));
}

TIssueTransfert TTransfertRegressi::regressiIntrouvable(TOptionsRegressi& options) {
    options.cheminREGRESSINonDefautX.clear();
    cheminRegressiUt.clear();
    dialogues.informer(messageRegressiIntrouvable());
    return TIssueTransfert::RegressiAbsent;
}

TIssueTransfert TTransfertRegressi::lancerRegressi(TOptionsRegressi& options) {
    if (cheminRegressiUt.isEmpty()) {
        // No known Regressi: the user shows where it is.
        options.versionRegressiDefaut = false;
        const QString choisi = dialogues.chercherRegressi();
        if (choisi.isEmpty())
            return TIssueTransfert::Abandonne;
        options.cheminREGRESSINonDefautX = choisi;
        if (!demarrer(choisi))
            return regressiIntrouvable(options);
        cheminRegressiUt = choisi;
    } else if (!demarrer(cheminRegressiUt)) {
        return regressiIntrouvable(options);
    }
    premiereTentativeREG = false;
    return TIssueTransfert::Lance;
}

TIssueTransfert TTransfertRegressi::TransfertRegressiFichier(TInstantaneExport e,
                                                             const QString& sdateAcqX,
                                                             TOptionsRegressi& options) {
    // The same selection as the writer's, on the committed series: the message and the
    // file never disagree.
    if (!selectionRegressi(e)) {
        dialogues.informer(messageAucuneValeurTransfert());
        return TIssueTransfert::AucuneValeur;
    }
    const QString entete = nomsDesCourbes(e);
    const bool enCours = services.regressiEnCours();
    PremierLancementREG = !enCours;
    TModeTransfert mode = modeTransfertRegressi(enCours, entete == EnteteGrandeursREG,
                                                options.optionTransfertREGRESSI, fichierInchange());
    if (mode == TModeTransfert::Demander) {
        const std::optional<TModeTransfert> choix = dialogues.choisirMode();
        if (!choix || *choix == TModeTransfert::Demander)
            return TIssueTransfert::Abandonne;
        mode = *choix;
    }
    reglerRegistre();

    TSablierTransfert sablier(dialogues);
    e.maintenant = services.maintenant();
    // The file may have been deleted or saved by Regressi while the question was open: a
    // page is only added to the file as the program left it, otherwise a new file.
    const bool ecrit = (mode == TModeTransfert::NouvellePage && fichierInchange())
                           ? nouvellePage(e)
                           : nouveauFichierTransfert(e, sdateAcqX);
    if (!ecrit)
        return TIssueTransfert::EchecEcriture;
    EnteteGrandeursREG = entete;
    dialogues.traiterMessages();
    if (cheminRegressiUt.isEmpty())
        sablier.relacher();
    return lancerRegressi(options);
}

// ---- The real system ----

namespace {

class TRegistreRegressiSysteme : public TRegistreRegressi {
public:
    std::optional<QString> lireTexte(const QString& cle, const QString& nom) const override {
#ifdef Q_OS_WIN
        QSettings regressi(QStringLiteral("HKEY_CURRENT_USER\\Software\\Regressi"),
                           QSettings::NativeFormat);
        if (!regressi.childGroups().contains(cle, Qt::CaseInsensitive))
            return std::nullopt;
        regressi.beginGroup(cle);
        if (!regressi.contains(nom))
            return std::nullopt;
        return regressi.value(nom).toString();
#else
        // Regressi under Wine keeps its values in Wine's own registry, which is left alone.
        Q_UNUSED(cle);
        Q_UNUSED(nom);
        return std::nullopt;
#endif
    }
    void ecrireTexte(const QString& cle, const QString& nom, const QString& valeur) override {
#ifdef Q_OS_WIN
        QSettings regressi(QStringLiteral("HKEY_CURRENT_USER\\Software\\Regressi"),
                           QSettings::NativeFormat);
        regressi.beginGroup(cle);
        regressi.setValue(nom, valeur);
#else
        Q_UNUSED(cle);
        Q_UNUSED(nom);
        Q_UNUSED(valeur);
#endif
    }
};

// winepath answers within a few seconds even when it has to start Wine's server.
constexpr int ATTENTE_WINEPATH_MS = 5000;

} // namespace

TServicesRegressiSysteme::TServicesRegressiSysteme()
    : registre_(std::make_unique<TRegistreRegressiSysteme>()) {}

TServicesRegressiSysteme::~TServicesRegressiSysteme() = default;

QDateTime TServicesRegressiSysteme::maintenant() {
    return QDateTime::currentDateTime();
}

QString TServicesRegressiSysteme::dossierDocuments() {
    return cheminDossierSpecial(TDossierSpecial::DOCUMENTS);
}

bool TServicesRegressiSysteme::regressiEnCours() {
    return programmeEnCours(NOM_EXECUTABLE_REGRESSI);
}

bool TServicesRegressiSysteme::lancer(const TCommandeLancement& commande) {
    QProcess processus;
    processus.setProgram(commande.programme);
    processus.setArguments(commande.arguments);
    processus.setWorkingDirectory(commande.dossier);
#ifdef Q_OS_WIN
    processus.setCreateProcessArgumentsModifier([](QProcess::CreateProcessArguments* a) {
        a->startupInfo->dwFlags |= STARTF_USESHOWWINDOW;
        a->startupInfo->wShowWindow = SW_SHOWMAXIMIZED;
    });
#endif
    return processus.startDetached();
}

QString TServicesRegressiSysteme::cheminWindows(const QString& chemin) {
    QProcess winepath;
    winepath.start(QStringLiteral("winepath"), {QStringLiteral("-w"), chemin});
    if (winepath.waitForStarted(ATTENTE_WINEPATH_MS) &&
        winepath.waitForFinished(ATTENTE_WINEPATH_MS) &&
        winepath.exitStatus() == QProcess::NormalExit && winepath.exitCode() == 0) {
        const QString windows = QString::fromLocal8Bit(winepath.readAllStandardOutput()).trimmed();
        if (!windows.isEmpty())
            return windows;
    }
    if (winepath.state() != QProcess::NotRunning) {
        winepath.kill();
        winepath.waitForFinished(ATTENTE_WINEPATH_MS);
    }
    return cheminWindowsParDefaut(chemin);
}

TRegistreRegressi& TServicesRegressiSysteme::registre() {
    return *registre_;
}

QString TServicesRegressiSysteme::cheminOfficielRegressi() {
    return ::cheminOfficielRegressi(dossiersProgrammesRegressi());
}
