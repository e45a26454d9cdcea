#include "traductions.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTranslator>

bool installerTraductionsFrancaises(QApplication& application) {
    auto* traducteur = new QTranslator(&application);
    const QString dossier = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!traducteur->load(QStringLiteral("qtbase_fr"), dossier)) {
        delete traducteur;
        return false;
    }
    QApplication::installTranslator(traducteur);
    return true;
}

std::unique_ptr<QMessageBox> creerQuestionOuiNonAnnuler(QWidget* parent, const QString& titre,
                                                        const QString& texte) {
    auto boite = std::make_unique<QMessageBox>(
        QMessageBox::Question, titre, texte,
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
    boite->button(QMessageBox::Yes)->setText(QStringLiteral("Oui"));
    boite->button(QMessageBox::No)->setText(QStringLiteral("Non"));
    boite->button(QMessageBox::Cancel)->setText(QStringLiteral("Annuler"));
    boite->setDefaultButton(QMessageBox::Yes);
    boite->setEscapeButton(QMessageBox::Cancel);
    return boite;
}

ReponseOuiNonAnnuler questionOuiNonAnnuler(QWidget* parent, const QString& titre,
                                           const QString& texte) {
    auto boite = creerQuestionOuiNonAnnuler(parent, titre, texte);
    switch (boite->exec()) {
    case QMessageBox::Yes:
        return ReponseOuiNonAnnuler::oui;
    case QMessageBox::No:
        return ReponseOuiNonAnnuler::non;
    default:
        return ReponseOuiNonAnnuler::annuler;
    }
}
