// QPrinter and QPrintDialog around CDrawingPainter.
#include "output/DrawingPrint.h"

#include "output/DrawingExport.h"
#include "output/DrawingPainter.h"
#include "exchange/ExportArea.h"
#include "log/Logger.h"

#include <QPageLayout>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

namespace {

constexpr double kMillimetresPerInch = 25.4;

} // namespace

void CDrawingPrint::SetUp(QPrinter& printer, const CGO_Database& database, const WorldCoordinates& visible)
{
    const WorldCoordinates area = exchange::ExportArea(database, visible);
    printer.setPageOrientation(area.xMax - area.xMin > area.yMax - area.yMin ? QPageLayout::Landscape
                                                                             : QPageLayout::Portrait);
}

bool CDrawingPrint::Ask(QPrinter& printer)
{
    QPrintDialog dialog(&printer);
    dialog.setWindowModality(Qt::ApplicationModal);
    return dialog.exec() == QDialog::Accepted;
}

bool CDrawingPrint::PrintOn(QPrinter& printer, const CGO_Database& database, const WorldCoordinates& visible)
{
    LogInfo("Printing graphics...");
    QPainter painter;
    if (!painter.begin(&printer)) {
        LogWarn("Printing graphics failed: the printer cannot be used.");
        return false;
    }
    // The painter's origin is the corner of the printable area.
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    const double pen = CDrawingExport::PAGE_PEN_MM * printer.resolution() / kMillimetresPerInch;
    CDrawingPainter::Paint(painter, database, exchange::ExportArea(database, visible),
                           QRectF(0, 0, page.width(), page.height()), pen);
    // The pages reach the printer (or the file) only when the painter ends.
    if (!painter.end()) {
        LogWarn("Printing graphics failed: the printer did not take the pages.");
        return false;
    }
    LogInfo("Graphics printed.");
    return true;
}
