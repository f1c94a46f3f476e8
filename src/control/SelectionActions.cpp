// The selection in the control center: clicks and rectangles in the drawing
// window with nothing under way, the keys that act on the selection, the
// context menu, and the operation buttons acting on the whole selection as
// one step of the edit layer.
#include "control/lumen7dlg.h"

#include "control/OperationTable.h"
#include "edit/Selection.h"
#include "log/Logger.h"

#include <QMenu>

namespace {

QString SelectedText(int count)
{
    return count == 1 ? QString::fromUtf8("1 Objekt ausgewählt")
                      : QString::fromUtf8("%1 Objekte ausgewählt").arg(count);
}

} // namespace

QString CCadDlg::IdleText()
{
    const int count = m_view.GetSelection()->Count();
    return count > 0 ? SelectedText(count) : m_szIdle;
}

std::vector<int> CCadDlg::TargetsOf(int id)
{
    if (!m_groupIds.empty() && id == m_groupIds.front())
        return m_groupIds;
    return {id};
}

std::vector<int> CCadDlg::ActionTargets()
{
    if (!m_groupIds.empty())
        return m_groupIds;
    return {m_view.GetPickedId()};
}

void CCadDlg::ShowGroupLists()
{
    // The picked object stays marked while the operation works on it.
    m_view.SetWorkedOnId(m_groupIds.empty() && ActionHoldsPick(m_nAction) ? m_view.GetPickedId() : -1);
    if (m_groupIds.empty())
        return;
    std::vector<int> lists;
    lists.reserve(m_groupIds.size());
    for (int id : m_groupIds)
        lists.push_back(id + CGO_GeoObject::DISPLAY_LIST_OFFSET);
    m_view.SetGroupLists(std::move(lists));
}

void CCadDlg::ReportGroupRefusal(const CEditOutcome& outcome)
{
    if (outcome.refused > 0)
        SetStatusText(QString::fromUtf8("Die Auswahl wurde nicht verändert: für %1 Objekt(e) wäre das Ergebnis keine "
                                        "endliche Zahl.")
                          .arg(outcome.refused));
}

long CCadDlg::OnSelectClick(std::uintptr_t name, std::intptr_t flags)
{
    if (m_nAction != ACTION_IDLE)
        return 0;
    CSelection* selection = m_view.GetSelection();
    const int before = selection->Count();
    const unsigned revision = selection->Revision();
    const int id = name != 0 ? static_cast<int>(name) - CGO_GeoObject::DISPLAY_LIST_OFFSET : -1;
    if ((flags & SELECT_SHIFT) != 0) {
        if (id >= 0)
            selection->Toggle(id);
    } else if (id >= 0) {
        selection->Set({id});
    } else {
        selection->Clear();
    }
    if (selection->Revision() == revision || (before == 0 && selection->Count() == 0))
        return 0;
    LogDebug("Objects selected: %i.", selection->Count());
    SetStatusText(IdleText());
    Render();
    return 0;
}

long CCadDlg::OnSelectRect(std::intptr_t flags)
{
    if (m_nAction != ACTION_IDLE)
        return 0;
    CSelection* selection = m_view.GetSelection();
    const bool window = (flags & SELECT_WINDOW) != 0;
    const std::vector<int> ids = ObjectsInRectangle(m_view.GetGraphics()->GetIndex(), m_view.GetSelectionBox(), window);
    if ((flags & SELECT_SHIFT) != 0) {
        for (int id : ids)
            selection->Add(id);
    } else {
        selection->Set(ids);
    }
    LogDebug("Objects selected: %i.", selection->Count());
    SetStatusText(IdleText());
    Render();
    return 0;
}

bool CCadDlg::StartGroupOperation(int button)
{
    m_groupIds.clear();
    const COperation* operation = OperationOfButton(button);
    if (operation == nullptr || !operation->needsPick || !operation->takesSelection)
        return false;
    std::vector<int> ids = m_view.GetSelection()->Ids();
    if (ids.empty())
        return false;
    if (button == IDC_DELETE_OBJECT) {
        m_groupIds = std::move(ids);
        DeleteSelection();
        return true;
    }
    // The step after the pick, for all of them at once.
    m_groupIds = std::move(ids);
    EnterStep(operation->firstAction + 1);
    Render();
    return true;
}

void CCadDlg::DeleteSelection()
{
    const std::vector<int> ids = m_view.GetSelection()->Ids();
    if (ids.empty())
        return;
    m_editor.Delete(ids);
    EndAction();
    Render();
}

long CCadDlg::OnSelectionCommand(std::uintptr_t command)
{
    const bool idle = m_nAction == ACTION_IDLE;
    switch (command) {
    case CAD_COMMAND_SELECT_ALL:
        if (!idle)
            return 0;
        m_view.GetSelection()->SelectAll();
        LogDebug("Objects selected: %i.", m_view.GetSelection()->Count());
        SetStatusText(IdleText());
        Render();
        break;
    case CAD_COMMAND_DELETE:
        if (idle)
            DeleteSelection();
        break;
    case CAD_COMMAND_COPY:
        CopySelection();
        break;
    case CAD_COMMAND_CUT:
        if (idle)
            CutSelection();
        break;
    case CAD_COMMAND_PASTE:
        if (idle)
            BeginPaste();
        break;
    case CAD_COMMAND_DUPLICATE:
        if (idle)
            DuplicateSelection();
        break;
    default:
        break;
    }
    return 0;
}

long CCadDlg::OnContextMenu(std::uintptr_t name)
{
    const int id = name != 0 ? static_cast<int>(name) - CGO_GeoObject::DISPLAY_LIST_OFFSET : -1;
    if (m_nAction != ACTION_IDLE || id < 0 || !m_view.GetSelection()->Contains(id))
        return 0;
    QMenu menu;
    menu.setObjectName(QStringLiteral("selectionMenu"));
    const struct {
        const char* text;
        std::function<void()> run;
    } entries[] = {
        {"Löschen", [this] { StartOperation(IDC_DELETE_OBJECT); }},
        {"Verschieben", [this] { StartOperation(IDC_MOVE_OBJECT); }},
        {"Drehen", [this] { StartOperation(IDC_ROTATE_OBJECT); }},
        {"Skalieren", [this] { StartOperation(IDC_SCALE_OBJECT); }},
        {"Spiegeln", [this] { StartOperation(IDC_FLIP_OBJECT); }},
        {"Kopieren", [this] { CopySelection(); }},
        {"Ausschneiden", [this] { CutSelection(); }},
        {"Einfügen", [this] { BeginPaste(); }},
    };
    for (const auto& entry : entries)
        connect(menu.addAction(QString::fromUtf8(entry.text)), &QAction::triggered, this, entry.run);
    menu.exec(m_view.mapToGlobal(m_view.GetContextPixel()));
    return 0;
}
