// Zoom, pan and fit on the real drawing window: the point under the cursor
// stays under it, the middle button pans or clicks, keys move the view, a
// burst of wheel events is drawn once, and the band follows the cursor.
#include "view/ViewNavigator.h"

#include "support/LogTail.h"
#include "view/ViewTestSupport.h"

#include <QGuiApplication>
#include <QStyleHints>
#include <QWheelEvent>

using viewtest::IsBlue;

namespace {

class ViewNavigation : public viewtest::ViewFixture {
protected:
    void Wheel(QPointF at, int angle)
    {
        QWheelEvent event(at, view.mapToGlobal(at), QPoint(), QPoint(0, angle), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QGuiApplication::sendEvent(&view, &event);
    }
    CGO_Point WorldAt(QPoint pixel)
    {
        CGO_Point p;
        view.WindowToWorld(pixel.x(), pixel.y(), &p);
        return p;
    }
    WorldCoordinates Range() { return view.GetGraphics()->GetWorldCoordinates(); }
    double Pixel() { return (Range().xMax - Range().xMin) / Side() * Ratio(); }
    // Lets the redraws that navigation asked for happen.
    void Redraw()
    {
        view.holdPaints = false;
        QTest::qWait(50);
        QCoreApplication::processEvents();
        view.holdPaints = true;
    }
};

} // namespace

TEST_F(ViewNavigation, WheelZoomsAboutTheCursorInWholeAndFractionalNotches)
{
    const QPoint cursor = PixelOf(120, -230);
    const CGO_Point under = WorldAt(cursor);
    testsupport::LogTail log;
    for (const int angle : {120, 120, 60, 240, -120, 30, -360, -90}) {
        SCOPED_TRACE(angle);
        const double before = Range().xMax - Range().xMin;
        Wheel(QPointF(cursor) + QPointF(0.5, 0.5), angle);
        EXPECT_NEAR((Range().xMax - Range().xMin) * std::pow(1.25, angle / 120.0), before, before * 1e-5);
        const CGO_Point now = WorldAt(cursor);
        EXPECT_NEAR(now.GetX(), under.GetX(), Pixel());
        EXPECT_NEAR(now.GetY(), under.GetY(), Pixel());
        EXPECT_EQ(view.title().toStdString(), viewrange::Caption(Range()));
    }
    EXPECT_TRUE(log.Contains("[DEBUG] World coordinates are now X("));
}

TEST_F(ViewNavigation, MiddleDragPansWithoutAClickAndAShortOneStaysAClick)
{
    view.SetMode(MODE_POINT, CGO_Point(0, 0), BAND_LINE);
    const QPoint from = PixelOf(0, 0);
    const WorldCoordinates before = Range();
    Press(Qt::MiddleButton, from);
    QTest::mouseMove(&view, from + QPoint(30, -20));
    QTest::mouseMove(&view, from + QPoint(60, -40));
    Release(Qt::MiddleButton, from + QPoint(60, -40));
    EXPECT_TRUE(receiver.received.empty()) << "a pan is no menu click";
    EXPECT_EQ(view.GetMode(), MODE_POINT) << "the point mode survives the pan";
    // The drawing followed the cursor: 60 pixels right, 40 up.
    EXPECT_NEAR(Range().xMin, before.xMin - 60 * Pixel(), 1e-3);
    EXPECT_NEAR(Range().yMin, before.yMin - 40 * Pixel(), 1e-3);

    const int tolerance = QGuiApplication::styleHints()->startDragDistance();
    Press(Qt::MiddleButton, from);
    QTest::mouseMove(&view, from + QPoint(tolerance / 2, 0));
    Release(Qt::MiddleButton, from + QPoint(tolerance / 2, 0));
    ASSERT_EQ(receiver.received.size(), 1u);
    EXPECT_EQ(receiver.received[0].message, static_cast<unsigned>(WM_CAD_MENU_CLICK));
}

TEST_F(ViewNavigation, ArrowsPanByATenthPlusAndMinusZoomAboutTheCentreHomeFits)
{
    const WorldCoordinates start = Range();
    const struct {
        Qt::Key key;
        double dx, dy, zoom;
    } cases[] = {
        {Qt::Key_Right, 100, 0, 1}, {Qt::Key_Up, 0, 100, 1},      {Qt::Key_Left, -100, 0, 1},
        {Qt::Key_Down, 0, -100, 1}, {Qt::Key_Plus, 0, 0, 1.25},   {Qt::Key_Minus, 0, 0, 1 / 1.25},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        const WorldCoordinates before = Range();
        const double span = before.xMax - before.xMin;
        QTest::keyClick(&view, c.key);
        const WorldCoordinates after = Range();
        EXPECT_NEAR(after.xMin + after.xMax, before.xMin + before.xMax + 2 * c.dx * span / 1000, 1e-3);
        EXPECT_NEAR(after.yMin + after.yMax, before.yMin + before.yMax + 2 * c.dy * span / 1000, 1e-3);
        EXPECT_NEAR((after.xMax - after.xMin) * c.zoom, span, 1e-3);
    }
    EXPECT_NEAR(Range().xMin, start.xMin, 1e-3);

    AddLine(100, 100, 300, 120);
    QTest::keyClick(&view, Qt::Key_Home);
    EXPECT_NEAR(Range().xMin, 90, 1e-3);
    EXPECT_NEAR(Range().xMax, 310, 1e-3);
    EXPECT_NEAR(Range().yMin, 0, 1e-3);
    EXPECT_NEAR(Range().yMax, 220, 1e-3);
}

TEST_F(ViewNavigation, ABurstOfWheelEventsIsDrawnOnceAtTheLastRange)
{
    for (int i = 0; i < 200; ++i)
        AddCircle(static_cast<float>(i * 4 - 400), 0, 30);
    view.Render();
    const int renders = view.renders;
    view.holdPaints = false;
    for (int i = 0; i < 100; ++i)
        Wheel(QPointF(PixelOf(50, 50)), i % 3 == 0 ? -120 : 120);
    QTest::qWait(100);
    QCoreApplication::processEvents();
    view.holdPaints = true;
    EXPECT_GE(view.renders - renders, 1);
    EXPECT_LE(view.renders - renders, 2);
    // The picture is that of the range in effect.
    const QImage drawn = view.GrabFramebuffer();
    view.Render();
    EXPECT_EQ(drawn, view.GrabFramebuffer());
}

TEST_F(ViewNavigation, TheBandKeepsItsAnchorInTheWorldAndFollowsTheCursorAfterAZoom)
{
    const CGO_Point anchor(-100, -100);
    view.SetMode(MODE_POINT, anchor, BAND_LINE);
    const QPoint cursor = PixelOf(200, 100);
    Move(cursor);
    Wheel(QPointF(cursor), -240);
    Redraw();
    const QImage image = view.GrabFramebuffer();
    // Blue at the anchor's new place and at the cursor, nowhere near the old anchor.
    const auto device = [&](const CGO_Point& p) {
        const WorldCoordinates r = Range();
        return QPoint(static_cast<int>((p.x - r.xMin) / (r.xMax - r.xMin) * Side()),
                      static_cast<int>(view.BufferHeight() - (p.y - r.yMin) / (r.yMax - r.yMin) * Side()));
    };
    const auto blueNear = [&](QPoint at) {
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx)
                if (image.rect().contains(at + QPoint(dx, dy)) && IsBlue(image.pixel(at + QPoint(dx, dy))))
                    return true;
        return false;
    };
    EXPECT_TRUE(blueNear(device(anchor)));
    EXPECT_TRUE(blueNear(QPoint(static_cast<int>(cursor.x() * Ratio()), static_cast<int>(cursor.y() * Ratio()))));
    // The click still gives the point under the cursor in the new view.
    Click(Qt::LeftButton, cursor);
    ASSERT_EQ(receiver.received.size(), 1u);
    const CGO_Point clicked = view.GetPoint();
    EXPECT_NEAR(clicked.x, WorldAt(cursor).x, 1e-3);
    EXPECT_NEAR(clicked.y, WorldAt(cursor).y, 1e-3);
}
