// The dialogs' way into the program: everything goes through the control
// center, its drawing window and the window's scene.
#include "dialogs/DialogHost.h"

#include "control/lumen7dlg.h"

namespace {

class CControlCenterHost : public IDialogHost {
public:
    int GetAction() override { return CCadDlg::GetInstance()->GetAction(); }
    CGO_Point GetPoint() override { return CCadDlg::GetInstance()->GetView()->GetPoint(); }
    int GetPickedId() override { return CCadDlg::GetInstance()->GetView()->GetPickedId(); }
    CGraphics* GetGraphics() override { return CCadDlg::GetInstance()->GetView()->GetGraphics(); }
    void SetCaption(const QString& caption) override { CCadDlg::GetInstance()->GetView()->setTitle(caption); }
    void NameStep(EditKind kind) override { CCadDlg::GetInstance()->GetHistory()->NameStep(kind); }
    QRect PlacementArea() override
    {
        CCadDlg* center = CCadDlg::GetInstance();
        return center->isVisible() ? center->frameGeometry() : QRect();
    }
};

IDialogHost* s_pHost = nullptr;

} // namespace

IDialogHost* GetDialogHost()
{
    static CControlCenterHost controlCenter;
    return s_pHost ? s_pHost : &controlCenter;
}

void SetDialogHost(IDialogHost* host)
{
    s_pHost = host;
}
