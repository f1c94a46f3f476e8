// Copy, cut, paste and duplicate of the selection. The clipboard carries the
// objects' records under lumen7's own MIME type, exact to the bit, and the
// same objects as DXF text for other programs. A paste follows the cursor
// until a click places it.
#include "control/lumen7dlg.h"

#include "edit/GroupPaste.h"
#include "edit/Selection.h"
#include "exchange/ClipboardRecord.h"
#include "log/Logger.h"
#include "snap/GridSnap.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace {

const char* const TEXT_NOT_OURS = "Die Zwischenablage enthält keine lumen7-Objekte.";
const char* const TEXT_DAMAGED = "Die Objekte in der Zwischenablage sind beschädigt und werden nicht eingefügt.";
const char* const TEXT_PASTE_REFUSED =
    "Die Objekte wurden nicht eingefügt: ihre Koordinaten wären dort keine endlichen Zahlen.";

} // namespace

void CCadDlg::CopySelection()
{
    const std::vector<int> ids = m_view.GetSelection()->Ids();
    if (ids.empty())
        return;
    const CClipboardContent content = clipboard::Collect(*GetDatabase(), ids);
    auto* data = new QMimeData;
    const std::string records = clipboard::Encode(content);
    data->setData(QString::fromLatin1(clipboard::kMimeType), QByteArray(records.data(), static_cast<int>(records.size())));
    data->setText(QString::fromStdString(clipboard::DxfText(content)));
    QGuiApplication::clipboard()->setMimeData(data);
    LogDebug("Copied %i objects to the clipboard.", static_cast<int>(content.records.size()));
}

void CCadDlg::CutSelection()
{
    if (m_view.GetSelection()->Count() == 0)
        return;
    CopySelection();
    DeleteSelection();
}

void CCadDlg::BeginPaste()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    const QString type = QString::fromLatin1(clipboard::kMimeType);
    if (data == nullptr || !data->hasFormat(type)) {
        SetStatusText(QString::fromUtf8(TEXT_NOT_OURS));
        return;
    }
    const QByteArray bytes = data->data(type);
    auto content = std::make_shared<CClipboardContent>();
    std::string error;
    if (!clipboard::Decode(std::string(bytes.constData(), static_cast<std::size_t>(bytes.size())), *content, error)) {
        LogWarn("Clipboard refused: %s.", error.c_str());
        SetStatusText(QString::fromUtf8(TEXT_DAMAGED));
        return;
    }
    if (content->records.empty())
        return;
    m_pPaste = content;
    EnterStep(ACTION_PASTE_PLACE);
    m_view.SetPreview(PREVIEW_PASTE);
    m_view.SetPastePreview(OutlineOfRecords(m_pPaste->records), m_pPaste->reference);
}

void CCadDlg::PlacePaste(CGO_Point at)
{
    std::shared_ptr<CClipboardContent> content = std::move(m_pPaste);
    EndAction();
    if (!content)
        return;
    LogDebug("Mouse Event: Paste point located at (%4.1f, %4.1f).", static_cast<double>(at.x),
             static_cast<double>(at.y));
    const CGO_Vector offset(at.x - content->reference.x, at.y - content->reference.y);
    const CEditOutcome outcome = PasteRecords(*GetDatabase(), &m_history, content->records, offset);
    if (outcome.refused > 0) {
        SetStatusText(QString::fromUtf8(TEXT_PASTE_REFUSED));
        return;
    }
    m_view.GetSelection()->Set(outcome.created);
    m_history.NoteSelectionAfterLastStep();
    SetStatusText(IdleText());
    Render();
}

void CCadDlg::DuplicateSelection()
{
    const std::vector<int> ids = m_view.GetSelection()->Ids();
    if (ids.empty())
        return;
    // One grid cell where the grid is shown, ten pixels otherwise.
    const CPixelMapping mapping = m_view.PixelMapping();
    double dx = 10.0 * mapping.WorldPerPixelX();
    double dy = 10.0 * mapping.WorldPerPixelY();
    if (m_view.GetGraphics()->IsGridShown()) {
        dx = gridsnap::GridSpacing(mapping.WorldPerPixelX()).Value();
        dy = gridsnap::GridSpacing(mapping.WorldPerPixelY()).Value();
    }
    const CClipboardContent content = clipboard::Collect(*GetDatabase(), ids);
    const CEditOutcome outcome = PasteRecords(*GetDatabase(), &m_history, content.records,
                                              CGO_Vector(static_cast<float>(dx), static_cast<float>(-dy)));
    if (outcome.refused > 0) {
        SetStatusText(QString::fromUtf8(TEXT_PASTE_REFUSED));
        return;
    }
    m_view.GetSelection()->Set(outcome.created);
    m_history.NoteSelectionAfterLastStep();
    SetStatusText(IdleText());
    Render();
}
