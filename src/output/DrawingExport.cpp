// SVG through QSvgGenerator, PDF through QPdfWriter (an A4 page turned to
// suit the drawing), PNG through QImage; rendered into memory first, so the
// file is replaced in one step.
#include "output/DrawingExport.h"

#include "database/FileIO.h"
#include "database/FileReplacer.h"
#include "output/DrawingPainter.h"
#include "exchange/ExportArea.h"
#include "log/Logger.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <string>
#include <vector>

namespace {

constexpr int kPdfResolution = 600;
constexpr double kMillimetresPerInch = 25.4;

QByteArray RenderSvg(const CGO_Database& database, const WorldCoordinates& area, IProgress* progress)
{
    const exchange::PictureSize size = exchange::PictureSizeFor(area, exchange::kPictureSide);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(QSize(size.width, size.height));
    svg.setViewBox(QRect(0, 0, size.width, size.height));
    // At the 96 dpi of a web page one picture pixel is one CSS pixel.
    svg.setResolution(96);
    svg.setTitle(QStringLiteral("lumen7"));
    QPainter painter(&svg);
    const QRectF target(0, 0, size.width, size.height);
    painter.fillRect(target, Qt::white);
    const bool painted = CDrawingPainter::Paint(painter, database, area, target, CDrawingExport::PICTURE_PEN, progress);
    painter.end();
    if (!painted)
        return QByteArray();
    // At 1:1 one drawing unit is one millimetre of the picture.
    const QString millimetres = QStringLiteral("<svg width=\"%1mm\" height=\"%2mm\"")
                             .arg(area.xMax - area.xMin, 0, 'g', 9)
                             .arg(area.yMax - area.yMin, 0, 'g', 9);
    const int open = bytes.indexOf("<svg width=");
    const int viewBox = open < 0 ? -1 : bytes.indexOf('\n', open);
    if (viewBox > open)
        bytes.replace(open, viewBox - open, millimetres.toUtf8());
    return bytes;
}

QByteArray RenderPng(const CGO_Database& database, const WorldCoordinates& area, IProgress* progress)
{
    const exchange::PictureSize size = exchange::PictureSizeFor(area, exchange::kPictureSide);
    QImage image(size.width, size.height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    const bool painted = CDrawingPainter::Paint(painter, database, area, QRectF(0, 0, size.width, size.height),
                                                CDrawingExport::PICTURE_PEN, progress);
    painter.end();
    QByteArray bytes;
    if (!painted)
        return bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        return QByteArray();
    return bytes;
}

QPageLayout PdfLayout(const WorldCoordinates& exported, const CPaperScale& paper)
{
    const bool wide = exported.xMax - exported.xMin > exported.yMax - exported.yMin;
    const double margin = CDrawingExport::PAGE_MARGIN_MM;
    return QPageLayout(QPageSize(paper.page), paper.OrientationFor(wide), QMarginsF(margin, margin, margin, margin),
                       QPageLayout::Millimeter);
}

// What the page shows: the exported area fitted, or at the ratio the
// printable area in mm centred on the drawing.
WorldCoordinates PdfPageArea(const WorldCoordinates& exported, const CPaperScale& paper)
{
    if (paper.FitsToPage())
        return exported;
    const QRectF printable = PdfLayout(exported, paper).paintRect(QPageLayout::Millimeter);
    return exchange::ScaledArea(exported, printable.width(), printable.height(), paper.ratio);
}

QByteArray RenderPdf(const CGO_Database& database, const WorldCoordinates& exported, const CPaperScale& paper,
                     bool& cutOff, IProgress* progress)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&buffer);
    pdf.setPageLayout(PdfLayout(exported, paper));
    pdf.setResolution(kPdfResolution);
    pdf.setCreator(QStringLiteral("lumen7"));
    pdf.setTitle(QStringLiteral("lumen7"));
    const WorldCoordinates area = PdfPageArea(exported, paper);
    cutOff = !paper.FitsToPage() && exchange::ReachesBeyond(database, area);
    QPainter painter(&pdf);
    const QRectF target(0, 0, pdf.width(), pdf.height());
    painter.setClipRect(target);
    const double pen = CDrawingExport::PAGE_PEN_MM * kPdfResolution / kMillimetresPerInch;
    const bool painted = CDrawingPainter::Paint(painter, database, area, target, pen, progress);
    painter.end();
    return painted ? bytes : QByteArray();
}

} // namespace

bool CDrawingExport::PdfCutsOff(const CGO_Database& database, const WorldCoordinates& visible,
                                const CPaperScale& paper)
{
    const WorldCoordinates exported = exchange::ExportArea(database, visible);
    return !paper.FitsToPage() && exchange::ReachesBeyond(database, PdfPageArea(exported, paper));
}

QByteArray CDrawingExport::Render(const CGO_Database& database, const WorldCoordinates& visible,
                                  exchange::FileFormat format, const CPaperScale& paper, bool* cutOff,
                                  IProgress* progress)
{
    const WorldCoordinates area = exchange::ExportArea(database, visible);
    bool cut = false;
    if (cutOff != nullptr)
        *cutOff = false;
    switch (format) {
    case exchange::FORMAT_SVG:
        return RenderSvg(database, area, progress);
    case exchange::FORMAT_PDF: {
        QByteArray bytes = RenderPdf(database, area, paper, cut, progress);
        if (cutOff != nullptr)
            *cutOff = cut;
        return bytes;
    }
    case exchange::FORMAT_PNG:
        return RenderPng(database, area, progress);
    default:
        return QByteArray();
    }
}

bool CDrawingExport::Write(const CGO_Database& database, const WorldCoordinates& visible, const QString& path,
                           exchange::FileFormat format, IProgress* progress)
{
    m_strLastError.clear();
    m_bCutOff = false;
    const QByteArray localPath = QFile::encodeName(path);
    std::string error;
    fileio::CFileReplacer file(localPath.constData());
    bool ok = file.Open(error);
    if (ok && !exchange::IsPictureFormat(format)) {
        error = "a picture is exported as .svg, .pdf or .png";
        ok = false;
    }
    progress::CPart painting(progress, 0, 800);
    progress::CPart writing(progress, 800, 200);
    if (ok) {
        const QByteArray bytes = Render(database, visible, format, m_paper, &m_bCutOff,
                                        progress != nullptr ? &painting : nullptr);
        if (bytes.isEmpty()) {
            error = painting.IsStopped() ? progress::kCancelled : "the picture could not be drawn";
            ok = false;
        } else {
            ok = file.Commit(std::vector<unsigned char>(bytes.begin(), bytes.end()), error,
                             progress != nullptr ? &writing : nullptr);
        }
    }
    if (!ok) {
        m_strLastError = QString::fromStdString(error);
        fileio::LogNotDone("Exporting graphics to", localPath.constData(), error);
        return false;
    }
    LogInfo("Graphics exported to file '%s'.", localPath.constData());
    if (m_bCutOff)
        LogWarn("The exported page cuts off part of the drawing at its scale.");
    return true;
}
