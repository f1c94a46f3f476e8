// QPrinter and QPrintDialog around CDrawingPainter.
#include "output/DrawingPrint.h"

#include "output/DrawingExport.h"
#include "output/DrawingPainter.h"
#include "exchange/ExportArea.h"
#include "log/Logger.h"

#include <QComboBox>
#include <QFormLayout>
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

bool CDrawingPrint::Ask(QPrinter& printer)
{
    QPrintDialog dialog(&printer);
    dialog.setWindowModality(Qt::ApplicationModal);
    auto* tab = new QWidget;
    tab->setWindowTitle(QString::fromUtf8("Maßstab"));
    auto* choice = new QComboBox(tab);
    choice->addItems(CPaperScale::Choices());
    auto* form = new QFormLayout(tab);
    form->addRow(QString::fromUtf8("Maßstab (1 Einheit = 1 mm bei 1:1):"), choice);
    dialog.setOptionTabs({tab});
    if (dialog.exec() != QDialog::Accepted)
        return false;
    CPaperScale chosen;
    CPaperScale::ParseRatio(choice->currentText(), chosen.ratio);
    s_chosenScale = chosen;
    return true;
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
    WorldCoordinates area = exchange::ExportArea(database, visible);
    if (!paper.FitsToPage()) {
        const QRectF millimetres = printer.pageLayout().paintRect(QPageLayout::Millimeter);
        area = exchange::ScaledArea(area, millimetres.width(), millimetres.height(), paper.ratio);
        CGO_Box extents;
        if (cutOff != nullptr && exchange::DrawingExtents(database, extents))
            *cutOff = extents.xMin < area.xMin || extents.xMax > area.xMax || extents.yMin < area.yMin ||
                      extents.yMax > area.yMax;
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
