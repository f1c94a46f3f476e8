// QPrinter and QPrintDialog around CDrawingPainter.
#include "output/DrawingPrint.h"

#include "output/DrawingExport.h"
#include "output/DrawingPainter.h"
#include "output/PaperScaleChoice.h"
#include "exchange/ExportArea.h"
#include "log/Logger.h"

#include <QPageLayout>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

namespace {

constexpr double kMillimetresPerInch = 25.4;

CPaperScale s_chosenScale;

} // namespace

CPaperScale CDrawingPrint::ChosenScale()
{
    return s_chosenScale;
}

void CDrawingPrint::SetUp(QPrinter& printer, const CGO_Database& database, const WorldCoordinates& visible)
{
    const WorldCoordinates area = exchange::ExportArea(database, visible);
    printer.setPageOrientation(area.xMax - area.xMin > area.yMax - area.yMin ? QPageLayout::Landscape
                                                                             : QPageLayout::Portrait);
}

bool CDrawingPrint::Ask(QPrinter& printer, const CGO_Database& database, const WorldCoordinates& visible)
{
    QPrintDialog dialog(&printer);
    dialog.setWindowModality(Qt::ApplicationModal);
    // The page the warning measures is the printer's as the dialog opens.
    auto* tab = new CPaperScaleChoice(false, [&printer, &database, &visible](const CPaperScale& paper) {
        return CutsOff(printer, database, visible, paper);
    });
    tab->setWindowTitle(QString::fromUtf8("Maßstab"));
    tab->SetChosen(s_chosenScale);
    dialog.setOptionTabs({tab});
    if (dialog.exec() != QDialog::Accepted)
        return false;
    s_chosenScale = tab->Chosen();
    return true;
}

WorldCoordinates CDrawingPrint::PageArea(const QPrinter& printer, const CGO_Database& database,
                                         const WorldCoordinates& visible, const CPaperScale& paper)
{
    const WorldCoordinates area = exchange::ExportArea(database, visible);
    if (paper.FitsToPage())
        return area;
    const QRectF millimetres = printer.pageLayout().paintRect(QPageLayout::Millimeter);
    return exchange::ScaledArea(area, millimetres.width(), millimetres.height(), paper.ratio);
}

bool CDrawingPrint::CutsOff(const QPrinter& printer, const CGO_Database& database, const WorldCoordinates& visible,
                            const CPaperScale& paper)
{
    return !paper.FitsToPage() && exchange::ReachesBeyond(database, PageArea(printer, database, visible, paper));
}

bool CDrawingPrint::PrintOn(QPrinter& printer, const CGO_Database& database, const WorldCoordinates& visible,
                            const CPaperScale& paper, bool* cutOff, IProgress* progress)
{
    if (cutOff != nullptr)
        *cutOff = false;
    LogInfo("Printing graphics...");
    QPainter painter;
    if (!painter.begin(&printer)) {
        LogWarn("Printing graphics failed: the printer cannot be used.");
        return false;
    }
    // The painter's origin is the corner of the printable area.
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    const double pen = CDrawingExport::PAGE_PEN_MM * printer.resolution() / kMillimetresPerInch;
    const WorldCoordinates area = PageArea(printer, database, visible, paper);
    if (!paper.FitsToPage()) {
        if (cutOff != nullptr)
            *cutOff = exchange::ReachesBeyond(database, area);
        painter.setClipRect(QRectF(0, 0, page.width(), page.height()));
    }
    if (!CDrawingPainter::Paint(painter, database, area, QRectF(0, 0, page.width(), page.height()), pen, progress)) {
        printer.abort();
        painter.end();
        LogInfo("Printing graphics cancelled.");
        return false;
    }
    // The pages reach the printer (or the file) only when the painter ends.
    if (!painter.end()) {
        LogWarn("Printing graphics failed: the printer did not take the pages.");
        return false;
    }
    LogInfo("Graphics printed.");
    return true;
}
