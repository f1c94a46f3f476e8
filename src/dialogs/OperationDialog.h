// The frame every operation dialog shares: built from its template, fields
// and buttons found by control id, number fields read and pre-filled, and a
// modal run that ends with RESULT_OK or RESULT_CANCEL.
#pragma once

#include <QDialog>
#include <QHash>
#include <QPushButton>

class CEditor;
struct CEditOutcome;
class IDialogHost;
class QLineEdit;

class COperationDialog : public QDialog {
    Q_OBJECT
public:
    // Fills in what the current action already knows, then runs the dialog
    // modally. Returns RESULT_OK or RESULT_CANCEL.
    int DoModal();

    // The toolkit's own confirm and cancel (Escape, the close box) end the run
    // with the program's result codes.
    void accept() override;
    void reject() override;

protected:
    // Enter in a field presses the OK of the group the field is in, so the
    // OK that fires always belongs to what is being typed.
    void keyPressEvent(QKeyEvent* event) override;
    // Builds the window from dialog template templateId; no parent window.
    COperationDialog(int templateId, IDialogHost& host);

    // Runs before the dialog shows; pre-fills fields. Fields start empty.
    virtual void OnInitDialog() {}
    // Where typing starts; the first field unless OnInitDialog says otherwise
    // (once the id and base point are filled in, the angle is what is left).
    void SetInitialFocus(QLineEdit* field) { m_pInitialFocus = field; }

    // "Abbrechen": ends with RESULT_CANCEL; nothing is read, logged or changed.
    void OnButtonCancel();

    // The template's edit field or push button with this id. A template that
    // lacks a control the dialog needs is a build fault and aborts.
    QLineEdit* BindField(int id);
    QPushButton* GetButton(int id);

    template <class Dialog>
    void ConnectButton(int id, void (Dialog::*handler)())
    {
        connect(GetButton(id), &QPushButton::clicked, static_cast<Dialog*>(this), handler);
    }

    // Reading leaves value untouched when the field holds no readable number.
    static void ReadFloat(const QLineEdit* field, float& value);
    static void ReadInt(const QLineEdit* field, int& value);
    static void WriteCoordinate(QLineEdit* field, float value);
    static void WriteObjectId(QLineEdit* field, int id);

    IDialogHost* Host() const { return &m_host; }
    CEditor& GetEditor() const;

    // Ends a transform: with Cancel when the object was missing or its
    // result would not have been finite (nothing changed), else with OK.
    void FinishTransform(const CEditOutcome& outcome);
    // Ends a creation with OK; a creation refused because its values are not
    // finite says so and leaves the dialog open for correction.
    void FinishCreation(const CEditOutcome& outcome);

private:
    // The enabled push button inside the group box around field, if any.
    QPushButton* GroupButtonOf(const QWidget* field) const;
    [[noreturn]] void MissingControl(int id, const char* kind) const;
    // Over the control center, so the drawing stays in sight.
    void PlaceOverHost();

    IDialogHost& m_host;
    int m_nTemplate;
    QHash<int, QWidget*> m_controls;
    QLineEdit* m_pFirstField = nullptr;
    QLineEdit* m_pInitialFocus = nullptr;
};
