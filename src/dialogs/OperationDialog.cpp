// The shared frame of the operation dialogs.
#include "dialogs/OperationDialog.h"

#include "dialogs/DialogFields.h"
#include "dialogs/DialogHost.h"
#include "dialogs/DialogResult.h"
#include "dialogs/DialogTemplate.h"
#include "view/Graphics.h"

#include <QLineEdit>
#include <QPushButton>

#include <cstdio>
#include <cstdlib>

COperationDialog::COperationDialog(int templateId)
    : QDialog(nullptr), m_nTemplate(templateId)
{
    m_controls = BuildFromTemplate(this, DialogTemplate::Load(templateId));
    ConnectButton(2, &COperationDialog::OnButtonCancel);
}

int COperationDialog::DoModal()
{
    OnInitDialog();
    // Typing can start at once in the first number field.
    if (m_pFirstField)
        m_pFirstField->setFocus();
    return exec();
}

void COperationDialog::accept()
{
    done(RESULT_OK);
}

void COperationDialog::reject()
{
    done(RESULT_CANCEL);
}

void COperationDialog::OnButtonCancel()
{
    done(RESULT_CANCEL);
}

QLineEdit* COperationDialog::BindField(int id)
{
    auto* field = qobject_cast<QLineEdit*>(m_controls.value(id));
    if (!field)
        MissingControl(id, "edit field");
    if (!m_pFirstField)
        m_pFirstField = field;
    return field;
}

QPushButton* COperationDialog::GetButton(int id)
{
    auto* button = qobject_cast<QPushButton*>(m_controls.value(id));
    if (!button)
        MissingControl(id, "button");
    return button;
}

void COperationDialog::MissingControl(int id, const char* kind) const
{
    std::fprintf(stderr, "lumen7: dialog template %d has no %s with id %d\n", m_nTemplate, kind, id);
    std::abort();
}

void COperationDialog::ReadFloat(const QLineEdit* field, float& value)
{
    ReadFloatField(field->text(), value);
}

void COperationDialog::ReadInt(const QLineEdit* field, int& value)
{
    ReadIntField(field->text(), value);
}

void COperationDialog::WriteCoordinate(QLineEdit* field, float value)
{
    field->setText(FormatCoordinate(value));
}

void COperationDialog::WriteObjectId(QLineEdit* field, int id)
{
    field->setText(FormatObjectId(id));
}

IDialogHost* COperationDialog::Host()
{
    return GetDialogHost();
}

CGO_Database* COperationDialog::GetDatabase()
{
    return GetDialogHost()->GetGraphics()->GetDatabase();
}
