#include "control/UnsavedChangesQuestion.h"

#include <QMessageBox>
#include <QPushButton>

UnsavedChangesAnswer AskAboutUnsavedChanges(QWidget* parent)
{
    QMessageBox box(QMessageBox::Warning, QStringLiteral("lumen7"),
                    QString::fromUtf8("Die Zeichnung wurde seit dem letzten Speichern geändert.\n"
                                      "Sollen die Änderungen gespeichert werden?"),
                    QMessageBox::NoButton, parent);
    QPushButton* save = box.addButton(QString::fromUtf8("Speichern"), QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton(QString::fromUtf8("Verwerfen"), QMessageBox::DestructiveRole);
    QPushButton* cancel = box.addButton(QString::fromUtf8("Abbrechen"), QMessageBox::RejectRole);
    box.setDefaultButton(save);
    box.setEscapeButton(cancel);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
    if (box.clickedButton() == save)
        return UnsavedChangesAnswer::Save;
    if (box.clickedButton() == discard)
        return UnsavedChangesAnswer::Discard;
    return UnsavedChangesAnswer::Cancel;
}
