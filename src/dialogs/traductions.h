// French texts of Qt's own widgets (standard buttons, context menus) and the one question
// with three answers that the program asks.
#pragma once

#include <QString>
#include <memory>

class QApplication;
class QMessageBox;
class QWidget;

// Loads Qt's French translations (qtbase_fr) from Qt's translation folder. Returns false when
// they are not installed; the program's own message boxes set their button texts anyway.
bool installerTraductionsFrancaises(QApplication& application);

enum class ReponseOuiNonAnnuler { oui, non, annuler };

// The question box, with the texts "Oui", "Non", "Annuler" set on its buttons.
std::unique_ptr<QMessageBox> creerQuestionOuiNonAnnuler(QWidget* parent, const QString& titre,
                                                        const QString& texte);
// Asks the question modally; closing the box or Escape answers "Annuler".
ReponseOuiNonAnnuler questionOuiNonAnnuler(QWidget* parent, const QString& titre,
                                           const QString& texte);
