// Helpers for the picture tests: the test drawing, running the renderers
// that turn SVG and PDF into pixels (rsvg-convert, pdftoppm), and pixel
// probes at the places where the objects must appear.
#pragma once

#include "database/GO_Database.h"
#include "output/DrawingPainter.h"
#include "exchange/ExportArea.h"
#include "geometry/GO_Circle.h"
#include "geometry/GO_Line.h"

#include <QImage>
#include <QOpenGLContext>
#include <QPageLayout>
#include <QPageSize>
#include <QProcess>

#include <gtest/gtest.h>

namespace exguitest {

// A sloping line, a horizontal line along the bottom and a circle: extents
// 0..100 by 0..50, so a picture of it is wider than high and its upper and
// lower halves differ.
inline void FillTestDrawing(CGO_Database& db)
{
    // A database of its own must not compile its display lists into the
    // control center's context.
    if (QOpenGLContext* context = QOpenGLContext::currentContext())
        context->doneCurrent();
    const float lines[][4] = {{0, 0, 100, 50}, {0, 0, 100, 0}};
    for (const auto& l : lines) {
        auto* line = new CGO_Line;
        line->SetPoints(CGO_Point(l[0], l[1]), CGO_Point(l[2], l[3]));
        db.Add(line);
    }
    auto* circle = new CGO_Circle;
    circle->SetCenterAndRadius(CGO_Point(70, 30), 20);
    db.Add(circle);
}

// Runs a renderer; true when it ended well.
inline bool RunTool(const QString& program, const QStringList& arguments, QString* output = nullptr)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(60000)) {
        process.kill();
        return false;
    }
    if (output != nullptr)
        *output = QString::fromLocal8Bit(process.readAll());
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

// The first page of a PDF file as pixels at dpi.
inline QImage RenderPdf(const QString& pdf, int dpi)
{
    if (!RunTool(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"), QString::number(dpi),
                                              QStringLiteral("-singlefile"), pdf, QStringLiteral("rendered_pdf")}))
        return QImage();
    return QImage(QStringLiteral("rendered_pdf.png"));
}

// At its own size in mm, or widthPixels wide.
inline QImage RenderSvg(const QString& svg, int widthPixels = 0)
{
    QStringList arguments = {svg, QStringLiteral("-o"), QStringLiteral("rendered_svg.png")};
    if (widthPixels > 0)
        arguments << QStringLiteral("-w") << QString::number(widthPixels);
    if (!RunTool(QStringLiteral("rsvg-convert"), arguments))
        return QImage();
    return QImage(QStringLiteral("rendered_svg.png"));
}

// The printable area of a page in the pixels of a rendering at dpi.
inline QRectF PaintRectAt(const QPageLayout& layout, int dpi)
{
    const QRectF points = layout.paintRect(QPageLayout::Point);
    const double scale = dpi / 72.0;
    return QRectF(points.x() * scale, points.y() * scale, points.width() * scale, points.height() * scale);
}

inline int Darkest(const QImage& image, QPointF at, int radius)
{
    int darkest = 255;
    for (int dy = -radius; dy <= radius; ++dy) {
        for (int dx = -radius; dx <= radius; ++dx) {
            const QPoint p(static_cast<int>(at.x()) + dx, static_cast<int>(at.y()) + dy);
            if (image.valid(p))
                darkest = std::min(darkest, qGray(image.pixel(p)));
        }
    }
    return darkest;
}

// The test drawing, as a picture of target within image: every object where
// it belongs with y upwards, and white where there is none.
inline void ExpectTestDrawing(const QImage& image, const QRectF& target, int tolerance)
{
    ASSERT_FALSE(image.isNull());
    const WorldCoordinates area{-5, 105, -5, 55};
    const auto at = [&](double x, double y) { return CDrawingPainter::Map(area, target, x, y); };
    const struct {
        double x, y;
    } dark[] = {{10, 5}, {50, 25}, {90, 45}, {30, 0}, {100, 0}, {70, 50}, {70, 10}, {90, 30}, {50, 30}};
    for (const auto& p : dark)
        EXPECT_LT(Darkest(image, at(p.x, p.y), tolerance), 128) << "no line at (" << p.x << ", " << p.y << ")";
    // Mirrored at the middle these would be dark: y must point upwards.
    const struct {
        double x, y;
    } white[] = {{10, 45}, {90, 5}, {70, 30}, {30, 40}, {-3, 25}, {103, 25}, {50, -4}, {50, 54}};
    for (const auto& p : white)
        EXPECT_GT(Darkest(image, at(p.x, p.y), tolerance), 200) << "ink at (" << p.x << ", " << p.y << ")";
}

// The number of dark pixels in the column through a world point: a thin
// line crosses it in a few.
inline int DarkRun(const QImage& image, QPointF at, int reach)
{
    int run = 0;
    for (int dy = -reach; dy <= reach; ++dy) {
        const QPoint p(static_cast<int>(at.x()), static_cast<int>(at.y()) + dy);
        if (image.valid(p) && qGray(image.pixel(p)) < 160)
            ++run;
    }
    return run;
}

} // namespace exguitest
