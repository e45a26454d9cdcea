// Excel driven through ActiveQt: the late-bound calls of Excel's object model, each
// checked; an exception raised by Excel becomes TErreurExcel with its description.
#include "systemeexcel.h"

#include <QAxObject>
#include <QClipboard>
#include <QEventLoop>
#include <QGuiApplication>
#include <QTimer>
#include <string>
#include <utility>

#include <ole2.h>
#include <windows.h>

namespace {

class TExcelAx : public TExcel {
public:
    explicit TExcelAx(std::unique_ptr<QAxObject> application) : app(std::move(application)) {
        QObject::connect(app.get(), &QAxObject::exception, app.get(),
                         [this](int, const QString&, const QString& description, const QString&) {
                             erreur = description.isEmpty() ? QStringLiteral("Erreur d'EXCEL")
                                                            : description;
                         });
    }

    void setVisible(bool visible) override { propriete(*app, "Visible", visible); }
    void setSheetsInNewWorkbook(int nombre) override {
        propriete(*app, "SheetsInNewWorkbook", nombre);
    }
    void ajouterClasseur() override {
        auto classeurs = sousObjet(*app, "Workbooks");
        appel(*classeurs, "Add()");
        feuille = sousObjet(*app, "ActiveSheet");
    }
    void ajouterFeuille() override {
        auto classeur = sousObjet(*app, "ActiveWorkbook");
        auto feuilles = sousObjet(*classeur, "Worksheets");
        feuille = sousObjet(*feuilles, "Add()");
    }
    void selectionner(const QString& cellule) override { appel(*plage(cellule), "Select()"); }
    void coller() override { appel(*feuilleActive(), "Paste()"); }
    void fusionner(const QString& p) override { appel(*plage(p), "Merge(QVariant)", false); }
    void couleurFond(const QString& p, TColor couleur) override {
        auto interieur = sousObjet(*plage(p), "Interior");
        propriete(*interieur, "Color", static_cast<int>(couleur));
    }
    void gras(const QString& p) override {
        auto police = sousObjet(*plage(p), "Font");
        propriete(*police, "Bold", true);
    }
    void alignementHorizontal(const QString& p, int alignement) override {
        propriete(*plage(p), "HorizontalAlignment", alignement);
    }
    void indicesGras(const QString& cellule, int debut, int longueur) override {
        auto r = plage(cellule);
        for (const char* nom : {"Subscript", "Bold"}) {
            auto caracteres = sousObjet(*r, "Characters(QVariant,QVariant)", debut, longueur);
            auto police = sousObjet(*caracteres, "Font");
            propriete(*police, nom, true);
        }
    }
    void setWindowState(int etat) override { propriete(*app, "WindowState", etat); }

private:
    // Raises the error Excel reported during the last call, if any.
    void verifier() {
        if (!erreur.isEmpty()) {
            const QString texte = std::exchange(erreur, QString());
            throw TErreurExcel(texte.toStdString());
        }
    }
    template <typename... A>
    std::unique_ptr<QAxObject> sousObjet(QAxObject& o, const char* nom, A... args) {
        std::unique_ptr<QAxObject> r(o.querySubObject(nom, QVariant(args)...));
        verifier();
        if (!r)
            throw TErreurExcel(std::string("EXCEL ne répond pas (") + nom + ")");
        return r;
    }
    template <typename... A> void appel(QAxObject& o, const char* nom, A... args) {
        o.dynamicCall(nom, QVariant(args)...);
        verifier();
    }
    void propriete(QAxObject& o, const char* nom, const QVariant& valeur) {
        if (!o.setProperty(nom, valeur))
            erreur = QStringLiteral("EXCEL refuse la propriété ") + QLatin1String(nom);
        verifier();
    }
    QAxObject* feuilleActive() {
        if (!feuille)
            throw TErreurExcel("Aucune feuille EXCEL");
        return feuille.get();
    }
    std::unique_ptr<QAxObject> plage(const QString& reference) {
        return sousObjet(*feuilleActive(), "Range(QVariant)", reference);
    }

    std::unique_ptr<QAxObject> app;
    std::unique_ptr<QAxObject> feuille;
    QString erreur;
};

class TSystemeExcelWindows : public TSystemeExcel {
public:
    TSystemeExcelWindows() { OleInitialize(nullptr); }

    std::unique_ptr<TExcel> excelActif() override {
        CLSID clsid;
        if (FAILED(CLSIDFromProgID(L"Excel.Application", &clsid)))
            return nullptr;
        IUnknown* inconnu = nullptr;
        if (FAILED(GetActiveObject(clsid, nullptr, &inconnu)) || inconnu == nullptr)
            return nullptr;
        // The wrapper holds its own reference.
        auto app = std::make_unique<QAxObject>(inconnu);
        inconnu->Release();
        if (app->isNull())
            return nullptr;
        return std::make_unique<TExcelAx>(std::move(app));
    }
    std::unique_ptr<TExcel> nouvelExcel() override {
        auto app = std::make_unique<QAxObject>();
        if (!app->setControl(QStringLiteral("Excel.Application")) || app->isNull())
            return nullptr;
        return std::make_unique<TExcelAx>(std::move(app));
    }
    void pressePapiers(const QString& texte) override {
        QGuiApplication::clipboard()->setText(texte);
    }
    void attendre(int millisecondes) override {
        // The window repaints meanwhile; clicks wait for the end of the transfer.
        QEventLoop boucle;
        QTimer::singleShot(millisecondes, &boucle, &QEventLoop::quit);
        boucle.exec(QEventLoop::ExcludeUserInputEvents);
    }
};

} // namespace

std::unique_ptr<TSystemeExcel> systemeExcelStandard() {
    return std::make_unique<TSystemeExcelWindows>();
}
