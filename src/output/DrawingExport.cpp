// SVG through QSvgGenerator, PDF through QPdfWriter (an A4 page turned to
// suit the drawing), PNG through QImage; rendered into memory first, so the
// file is replaced in one step.
#include "output/DrawingExport.h"

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

QByteArray RenderSvg(const CGO_Database& database, const WorldCoordinates& area)
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
    CDrawingPainter::Paint(painter, database, area, target, CDrawingExport::PICTURE_PEN);
    painter.end();
    return bytes;
}

QByteArray RenderPng(const CGO_Database& database, const WorldCoordinates& area)
{
    const exchange::PictureSize size = exchange::PictureSizeFor(area, exchange::kPictureSide);
    QImage image(size.width, size.height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    CDrawingPainter::Paint(painter, database, area, QRectF(0, 0, size.width, size.height),
                           CDrawingExport::PICTURE_PEN);
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        return QByteArray();
    return bytes;
}

QByteArray RenderPdf(const CGO_Database& database, const WorldCoordinates& area)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&buffer);
    const bool wide = area.xMax - area.xMin > area.yMax - area.yMin;
    const double margin = CDrawingExport::PAGE_MARGIN_MM;
    pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), wide ? QPageLayout::Landscape : QPageLayout::Portrait,
                                  QMarginsF(margin, margin, margin, margin), QPageLayout::Millimeter));
    pdf.setResolution(kPdfResolution);
    pdf.setCreator(QStringLiteral("lumen7"));
    pdf.setTitle(QStringLiteral("lumen7"));
    QPainter painter(&pdf);
    const double pen = CDrawingExport::PAGE_PEN_MM * kPdfResolution / kMillimetresPerInch;
    CDrawingPainter::Paint(painter, database, area, QRectF(0, 0, pdf.width(), pdf.height()), pen);
    painter.end();
    return bytes;
}

} // namespace

QByteArray CDrawingExport::Render(const CGO_Database& database, const WorldCoordinates& visible,
                                  exchange::FileFormat format)
{
    const WorldCoordinates area = exchange::ExportArea(database, visible);
    switch (format) {
    case exchange::FORMAT_SVG:
        return RenderSvg(database, area);
    case exchange::FORMAT_PDF:
        return RenderPdf(database, area);
    case exchange::FORMAT_PNG:
        return RenderPng(database, area);
    default:
        return QByteArray();
    }
}

bool CDrawingExport::Write(const CGO_Database& database, const WorldCoordinates& visible, const QString& path,
                           exchange::FileFormat format)
{
    m_strLastError.clear();
    const QByteArray localPath = QFile::encodeName(path);
    std::string error;
    fileio::CFileReplacer file(localPath.constData());
    bool ok = file.Open(error);
    if (ok && !exchange::IsPictureFormat(format)) {
        error = "a picture is exported as .svg, .pdf or .png";
        ok = false;
    }
    if (ok) {
        const QByteArray bytes = Render(database, visible, format);
        if (bytes.isEmpty()) {
            error = "the picture could not be drawn";
            ok = false;
        } else {
            ok = file.Commit(std::vector<unsigned char>(bytes.begin(), bytes.end()), error);
        }
    }
    if (!ok) {
        m_strLastError = QString::fromStdString(error);
        LogWarn("Exporting graphics to file '%s' failed: %s", localPath.constData(), error.c_str());
        return false;
    }
    LogInfo("Graphics exported to file '%s'.", localPath.constData());
    return true;
}
