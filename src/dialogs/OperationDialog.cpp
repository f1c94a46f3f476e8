// The shared frame of the operation dialogs.
#include "dialogs/OperationDialog.h"

#include "dialogs/DialogFields.h"
#include "dialogs/DialogHost.h"
#include "dialogs/DialogResult.h"
#include "dialogs/DialogTemplate.h"
#include "edit/Editor.h"

#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

#include <algorithm>

#include <cstdio>
#include <cstdlib>

COperationDialog::COperationDialog(int templateId, IDialogHost& host)
    : QDialog(nullptr), m_host(host), m_nTemplate(templateId)
{
    m_controls = BuildFromTemplate(this, DialogTemplate::Load(templateId));
    ConnectButton(2, &COperationDialog::OnButtonCancel);
}

int COperationDialog::DoModal()
{
    m_pInitialFocus = m_pFirstField;
    OnInitDialog();
    // Typing can start at once in the first field still to be filled.
    if (m_pInitialFocus)
        m_pInitialFocus->setFocus();
    PlaceOverHost();
    return exec();
}

void COperationDialog::PlaceOverHost()
{
    const QRect area = Host()->PlacementArea();
    if (!area.isValid())
        return;
    QRect frame(QPoint(0, 0), sizeHint().expandedTo(size()));
    frame.moveCenter(area.center());
    // Within the screen the area is on, even where that means leaving it.
    if (const QScreen* screen = QGuiApplication::screenAt(area.center())) {
        const QRect available = screen->availableGeometry();
        frame.moveLeft(std::clamp(frame.left(), available.left(), std::max(available.left(), available.right() - frame.width())));
        frame.moveTop(std::clamp(frame.top(), available.top(), std::max(available.top(), available.bottom() - frame.height())));
    }
    move(frame.topLeft());
}

void COperationDialog::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && event->modifiers() == Qt::NoModifier) {
        if (QPushButton* button = GroupButtonOf(qobject_cast<QLineEdit*>(focusWidget()))) {
            event->accept();
            button->click();
            return;
        }
    }
    QDialog::keyPressEvent(event);
}

QPushButton* COperationDialog::GroupButtonOf(const QWidget* field) const
{
    if (field == nullptr)
        return nullptr;
    for (const QGroupBox* group : findChildren<QGroupBox*>()) {
        if (!group->geometry().contains(field->geometry().center()))
            continue;
        for (QPushButton* button : findChildren<QPushButton*>()) {
            if (button->isEnabled() && group->geometry().contains(button->geometry().center()))
                return button;
        }
    }
    return nullptr;
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

CEditor& COperationDialog::GetEditor() const
{
    return m_host.GetEditor();
}

void COperationDialog::FinishTransform(const CEditOutcome& outcome)
{
    done(outcome.Changed() ? RESULT_OK : RESULT_CANCEL);
}

void COperationDialog::FinishCreation(const CEditOutcome& outcome)
{
    if (outcome.refused == 0) {
        done(RESULT_OK);
        return;
    }
    QMessageBox box(QMessageBox::Warning, windowTitle(),
                    QString::fromUtf8("Das Objekt wurde nicht erstellt: seine Koordinaten oder sein Radius "
                                      "wären keine endlichen Zahlen."),
                    QMessageBox::Ok, this);
    box.exec();
}
