// Pictures of the drawing checked by real renderers: the SVG through
// rsvg-convert, the PDF (exported or printed) through pdftoppm, the PNG as it
// is. Each must show the objects where they belong, y upwards, in thin black
// lines, and SVG and PDF must be vectors.
#include "output/DrawingExport.h"
#include "output/DrawingPrint.h"
#include "output/OutputTestUtil.h"

#include <QFile>
#include <QFileInfo>
#include <QPrinter>

using namespace exguitest;

namespace {

const WorldCoordinates kVisible{-500, 500, -500, 500};

QString ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

class DrawingExport : public ::testing::Test {
protected:
    void SetUp() override { FillTestDrawing(m_db); }

    void Export(const QString& path, exchange::FileFormat format)
    {
        CDrawingExport picture;
        ASSERT_TRUE(picture.Write(m_db, kVisible, path, format)) << picture.GetLastError().toStdString();
    }

    CGO_Database m_db;
};

} // namespace

TEST_F(DrawingExport, PngShowsTheObjectsInThinLines)
{
    Export(QStringLiteral("drawing.png"), exchange::FORMAT_PNG);
    const QImage image(QStringLiteral("drawing.png"));
    ASSERT_EQ(image.size(), QSize(1000, 545));
    const QRectF target(0, 0, 1000, 545);
    ExpectTestDrawing(image, target, 2);
    const QPointF bottom = CDrawingPainter::Map({-5, 105, -5, 55}, target, 30, 0);
    EXPECT_GE(DarkRun(image, bottom, 10), 1);
    EXPECT_LE(DarkRun(image, bottom, 10), 3);
}

TEST_F(DrawingExport, SvgIsVectorsThatRsvgRendersInPlace)
{
    Export(QStringLiteral("drawing.svg"), exchange::FORMAT_SVG);
    const QString svg = ReadAll(QStringLiteral("drawing.svg"));
    EXPECT_TRUE(svg.contains(QStringLiteral("<polyline")) || svg.contains(QStringLiteral("<line")));
    EXPECT_TRUE(svg.contains(QStringLiteral("<circle")) || svg.contains(QStringLiteral("<ellipse")));
    EXPECT_FALSE(svg.contains(QStringLiteral("<image")));
    EXPECT_TRUE(svg.contains(QStringLiteral("viewBox=\"0 0 1000 545\""))) << svg.left(400).toStdString();

    // The file gives its size in mm, one drawing unit a millimetre.
    EXPECT_TRUE(svg.contains(QStringLiteral("<svg width=\"110mm\" height=\"60mm\""))) << svg.left(200).toStdString();
    const QImage image = RenderSvg(QStringLiteral("drawing.svg"), 1000);
    ASSERT_EQ(image.width(), 1000);
    ASSERT_NEAR(image.height(), 545, 1);
    ExpectTestDrawing(image, QRectF(0, 0, 1000, 545), 2);
    EXPECT_LE(DarkRun(image, CDrawingPainter::Map({-5, 105, -5, 55}, QRectF(0, 0, 1000, 545), 30, 0), 10), 3);
}

TEST_F(DrawingExport, PdfIsALandscapePageOfVectorsThatPopplerRendersInPlace)
{
    Export(QStringLiteral("drawing.pdf"), exchange::FORMAT_PDF);
    QString images;
    ASSERT_TRUE(RunTool(QStringLiteral("pdfimages"), {QStringLiteral("-list"), QStringLiteral("drawing.pdf")}, &images));
    // Only the two header lines of the list: no raster image in the file.
    EXPECT_EQ(images.trimmed().split(QLatin1Char('\n')).size(), 2) << images.toStdString();

    const int dpi = 100;
    const QImage page = RenderPdf(QStringLiteral("drawing.pdf"), dpi);
    ASSERT_FALSE(page.isNull());
    EXPECT_GT(page.width(), page.height());
    const double margin = CDrawingExport::PAGE_MARGIN_MM;
    const QPageLayout layout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(margin, margin, margin, margin),
                             QPageLayout::Millimeter);
    const QRectF target = PaintRectAt(layout, dpi);
    ExpectTestDrawing(page, target, 2);
    // 0.25 mm at 100 dpi is one pixel.
    EXPECT_LE(DarkRun(page, CDrawingPainter::Map({-5, 105, -5, 55}, target, 30, 0), 10), 3);
}

TEST_F(DrawingExport, PrintingFitsTheSamePictureToThePage)
{
    QPrinter printer(QPrinter::HighResolution);
    CDrawingPrint::SetUp(printer, m_db, kVisible);
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QStringLiteral("printed.pdf"));
    ASSERT_TRUE(CDrawingPrint::PrintOn(printer, m_db, kVisible));

    const int dpi = 100;
    const QImage page = RenderPdf(QStringLiteral("printed.pdf"), dpi);
    ASSERT_FALSE(page.isNull());
    ExpectTestDrawing(page, PaintRectAt(printer.pageLayout(), dpi), 2);
}

TEST_F(DrawingExport, AnEmptyDrawingShowsTheVisibleRangeAndAFailureKeepsTheOldFile)
{
    CGO_Database empty;
    CDrawingExport picture;
    ASSERT_TRUE(picture.Write(empty, {0, 10, 0, 20}, QStringLiteral("empty.png"), exchange::FORMAT_PNG));
    const QImage image(QStringLiteral("empty.png"));
    EXPECT_EQ(image.size(), QSize(500, 1000));
    EXPECT_EQ(image.pixel(250, 500), qRgb(255, 255, 255));

    EXPECT_FALSE(picture.Write(m_db, kVisible, QStringLiteral("no such folder/x.png"), exchange::FORMAT_PNG));
    EXPECT_FALSE(picture.GetLastError().isEmpty());
    EXPECT_FALSE(picture.Write(m_db, kVisible, QStringLiteral("empty.png"), exchange::FORMAT_DXF));
    EXPECT_EQ(QImage(QStringLiteral("empty.png")).size(), QSize(500, 1000)) << "the old file was lost";
}
