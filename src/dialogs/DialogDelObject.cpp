// Deleting by id. An id that names no object removes nothing; the database
// says so in the log and the dialog still confirms.
#include "dialogs/DialogDelObject.h"

#include "dialogs/DialogResult.h"
#include "edit/Editor.h"
#include "log/Logger.h"

CDialogDelObject::CDialogDelObject(IDialogHost& host)
    : COperationDialog(131, host), m_editObjectId(BindField(1016))
{
    ConnectButton(1, &CDialogDelObject::OnButtonOk);
}

void CDialogDelObject::OnButtonOk()
{
    int id = -1;
    ReadInt(m_editObjectId, id);
    LogDebug("Dialog 'CDialogDelObject' is trying to remove object #%i...", id);
    GetEditor().Delete({id});
    done(RESULT_OK);
}
