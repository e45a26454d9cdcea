#pragma once
// Excel, the clipboard and the window of the Excel transfer, played by a test: every call is
// written in one journal, in order, as Excel's object model names it; the clipboard texts
// are kept whole. A call named in `echec` raises Excel's error.
#include "transfertexcel.h"

#include <QList>
#include <QStringList>
#include <functional>

struct JournalExcel {
    QStringList appels;
    QStringList pressePapiers;   // every text put on the clipboard
    QString echec;               // the call that raises an error, as written in the journal
    int appelsHorsTransfert = 0; // Excel calls made while the window was not in state 7
    bool enTransfert = false;
    bool enregistrer = true;      // false in the bench: only the clipboard counts
    std::function<void()> espion; // called at every Excel call (the window tests look around)
};

class ExcelEssai : public TExcel {
public:
    explicit ExcelEssai(JournalExcel& j) : j(j) {}
    ~ExcelEssai() override { note(QStringLiteral("libere")); }

    void setVisible(bool v) override { appel(QStringLiteral("Visible %1").arg(v)); }
    void setSheetsInNewWorkbook(int n) override {
        appel(QStringLiteral("SheetsInNewWorkbook %1").arg(n));
    }
    void ajouterClasseur() override { appel(QStringLiteral("Workbooks.Add")); }
    void ajouterFeuille() override { appel(QStringLiteral("Worksheets.Add")); }
    void selectionner(const QString& c) override { appel(QStringLiteral("Select ") + c); }
    void coller() override { appel(QStringLiteral("Paste")); }
    void fusionner(const QString& p) override { appel(QStringLiteral("Merge ") + p); }
    void couleurFond(const QString& p, TColor c) override {
        appel(QStringLiteral("Color %1 %2").arg(p).arg(c));
    }
    void gras(const QString& p) override { appel(QStringLiteral("Bold ") + p); }
    void alignementHorizontal(const QString& p, int a) override {
        appel(QStringLiteral("HorizontalAlignment %1 %2").arg(p).arg(a));
    }
    void indicesGras(const QString& c, int d, int l) override {
        appel(QStringLiteral("Characters %1 %2 %3 Subscript Bold").arg(c).arg(d).arg(l));
    }
    void setWindowState(int e) override { appel(QStringLiteral("WindowState %1").arg(e)); }

private:
    void note(const QString& a) {
        if (j.enregistrer)
            j.appels << a;
    }
    void appel(const QString& a) {
        note(a);
        if (j.espion)
            j.espion();
        if (!j.enTransfert)
            ++j.appelsHorsTransfert;
        if (!j.echec.isEmpty() && a == j.echec)
            throw TErreurExcel("Erreur simulée");
    }
    JournalExcel& j;
};

class SystemeExcelEssai : public TSystemeExcel {
public:
    explicit SystemeExcelEssai(JournalExcel& j) : j(j) {}
    bool actif = true;   // an Excel runs
    bool creable = true; // a new one can be started
    std::unique_ptr<TExcel> excelActif() override {
        note(QStringLiteral("GetActiveObject"));
        return actif ? std::make_unique<ExcelEssai>(j) : nullptr;
    }
    std::unique_ptr<TExcel> nouvelExcel() override {
        note(QStringLiteral("CreateObject"));
        return creable ? std::make_unique<ExcelEssai>(j) : nullptr;
    }
    void pressePapiers(const QString& texte) override {
        note(QStringLiteral("Clipboard"));
        j.pressePapiers << texte;
    }
    void attendre(int ms) override { note(QStringLiteral("attendre %1").arg(ms)); }

private:
    void note(const QString& a) {
        if (j.enregistrer)
            j.appels << a;
    }
    JournalExcel& j;
};

class VueExcelEssai : public TVueTransfertExcel {
public:
    explicit VueExcelEssai(JournalExcel& j) : j(j) {}
    std::optional<TModeExcel> choix; // answer of the dialog; nothing: abandoned
    QStringList boites;              // information and warning texts
    QList<int> progressions;
    int sablierActif = 0;

    void debutTransfert() override {
        note(QStringLiteral("debutTransfert"));
        j.enTransfert = true;
    }
    void finTransfert() override {
        note(QStringLiteral("finTransfert"));
        j.enTransfert = false;
    }
    void message(const QString& t) override { note(QStringLiteral("message ") + t); }
    void progression(int p) override {
        note(QStringLiteral("progression %1").arg(p));
        progressions << p;
    }
    void presenceVisible(bool v) override { note(QStringLiteral("presence %1").arg(v)); }
    void sablier(bool a) override {
        note(QStringLiteral("sablier %1").arg(a));
        sablierActif += a ? 1 : -1;
    }
    std::optional<TModeExcel> choisirMode() override {
        note(QStringLiteral("choisirMode"));
        return choix;
    }
    void redessiner() override { note(QStringLiteral("redessiner")); }
    void reprendreFocus() override { note(QStringLiteral("reprendreFocus")); }
    void informer(const QString& t) override {
        note(QStringLiteral("informer"));
        boites << t;
    }
    void avertir(const QString& t) override {
        note(QStringLiteral("avertir"));
        boites << t;
    }

private:
    void note(const QString& a) {
        if (j.enregistrer)
            j.appels << a;
    }
    JournalExcel& j;
};
