// The mouse layer on the real window: world points from mouse positions,
// picking, point and drag results, the feedback drawn over the picture and
// the messages the receiver gets.
#include "view/OpenGLMouse.h"

#include "view/ViewTestSupport.h"

#include <cmath>
#include <string>

using viewtest::CountPixels;
using viewtest::IsBlack;
using viewtest::IsBlue;
using viewtest::IsWhite;

namespace {

class ViewMouse : public viewtest::ViewFixture {
protected:
    // Every blue pixel lies on the segment between two world points, and
    // nothing but white, black and blue is in the picture.
    void ExpectBandOnlyAlong(const QImage& image, CGO_Point from, CGO_Point to)
    {
        const QPointF a = DevicePointOf(from.x, from.y);
        const QPointF b = DevicePointOf(to.x, to.y);
        const QPointF ab = b - a;
        const double length2 = QPointF::dotProduct(ab, ab);
        int blue = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QRgb c = image.pixel(x, y);
                ASSERT_TRUE(IsWhite(c) || IsBlack(c) || IsBlue(c)) << "pixel " << x << "," << y;
                if (!IsBlue(c))
                    continue;
                ++blue;
                const QPointF p(x + 0.5, y + 0.5);
                const double t = std::clamp(QPointF::dotProduct(p - a, ab) / length2, 0.0, 1.0);
                const QPointF d = p - (a + t * ab);
                ASSERT_LE(std::hypot(d.x(), d.y()), 1.5) << "blue pixel " << x << "," << y << " off the band";
            }
        }
        // A one-pixel line lights about one pixel per step along its longer axis.
        EXPECT_GE(blue, std::max(std::abs(ab.x()), std::abs(ab.y())) - 2);
    }

    void ExpectLastMessage(unsigned message, std::uintptr_t wParam = 0)
    {
        ASSERT_FALSE(receiver.received.empty());
        const viewtest::Received& last = receiver.received.back();
        EXPECT_EQ(last.message, message);
        EXPECT_EQ(last.wParam, wParam);
        // The result is complete before the receiver hears of it.
        EXPECT_EQ(last.mode, MODE_IDLE);
        EXPECT_EQ(last.band, BAND_NONE);
    }
};

void ExpectPoint(const CGO_Point& p, float x, float y)
{
    EXPECT_FLOAT_EQ(p.GetX(), x);
    EXPECT_FLOAT_EQ(p.GetY(), y);
}

struct WindowPointCase {
    QPoint pixel;
    float x, y;
};

TEST_F(ViewMouse, WindowToWorldUsesTheSquareViewportAndFlipsY)
{
    SetClientSize(600, 400);
    const WindowPointCase cases[] = {
        {{0, 399}, -500.0f, -500.0f},
        {{399, 0}, 497.5f, 497.5f},
        {{500, 200}, 750.0f, -2.5f},  // right of the square: outside the range
        {{200, 199}, 0.0f, 0.0f},
    };
    for (const WindowPointCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.pixel.x() << "," << c.pixel.y());
        CGO_Point p;
        view.WindowToWorld(c.pixel.x(), c.pixel.y(), &p);
        ExpectPoint(p, c.x, c.y);

        // The same pixel clicked in point mode reports the same point.
        view.SetMode(MODE_POINT);
        Click(Qt::LeftButton, c.pixel);
        ExpectLastMessage(WM_CAD_POINT_SET);
        ExpectPoint(view.GetPoint(), c.x, c.y);
    }
}

TEST_F(ViewMouse, PickOfOverlappingObjectsReportsTheLowestId)
{
    for (int id = 0; id < 8; ++id) {
        if (id == 3)
            AddLine(100, -200, 100, 200);
        else if (id == 7)
            AddCircle(0, 100, 100);  // passes through (100, 100)
        else
            AddLine(-450, -450 + 10.0f * id, -300, -450 + 10.0f * id);
    }
    view.Render();
    view.SetMode(MODE_PICK);
    EXPECT_EQ(view.GetPickedId(), -100);
    Click(Qt::LeftButton, PixelOf(100, 100));
    ASSERT_NO_FATAL_FAILURE(ExpectLastMessage(WM_CAD_OBJECT_PICKED, 103));
    EXPECT_EQ(receiver.received.back().pickedId, 3);
    EXPECT_EQ(view.GetPickedId(), 3);

    // A new pick forgets the old one.
    view.SetMode(MODE_PICK);
    EXPECT_EQ(view.GetPickedId(), -100);
}

TEST_F(ViewMouse, PickWithMoreObjectsUnderTheCursorThanTheOldBufferHeldStillHits)
{
    // Forty lines through one point: ten hit records more than a buffer of
    // 100 entries can hold.
    for (int i = 0; i < 40; ++i) {
        const double a = i * 3.14159265 / 40;
        AddLine(-100 - 80 * std::cos(a), -100 - 80 * std::sin(a), -100 + 80 * std::cos(a), -100 + 80 * std::sin(a));
    }
    view.Render();
    view.SetMode(MODE_PICK);
    Click(Qt::LeftButton, PixelOf(-100, -100));
    ExpectLastMessage(WM_CAD_OBJECT_PICKED, 100);
    EXPECT_EQ(view.GetPickedId(), 0);
}

TEST_F(ViewMouse, ClickInsideACircleMissesAndStaysInPickMode)
{
    AddCircle(0, 0, 200);
    view.Render();
    view.SetMode(MODE_PICK);
    Click(Qt::LeftButton, PixelOf(0, 0));
    EXPECT_TRUE(receiver.received.empty());
    EXPECT_EQ(view.GetMode(), MODE_PICK);
    EXPECT_EQ(view.GetPickedId(), -100);

    // The next press tries again, on the outline this time.
    Click(Qt::LeftButton, PixelOf(200, 0));
    ExpectLastMessage(WM_CAD_OBJECT_PICKED, 100);
}

TEST_F(ViewMouse, PressOnAnObjectPicksItWhereverTheReleaseIs)
{
    AddLine(0, -300, 0, 300);
    view.Render();
    view.SetMode(MODE_PICK);
    Press(Qt::LeftButton, PixelOf(0, 0));
    Release(Qt::LeftButton, PixelOf(300, 300));
    ExpectLastMessage(WM_CAD_OBJECT_PICKED, 100);
    EXPECT_EQ(view.GetPickedId(), 0);
}

TEST_F(ViewMouse, PointModeReportsThePressPointNotTheRelease)
{
    AddLine(-200, 0, 200, 0);
    view.Render();
    const QImage scene = view.GrabFramebuffer();
    view.SetMode(MODE_POINT);
    Press(Qt::LeftButton, PixelOf(-100, 50));
    Release(Qt::LeftButton, PixelOf(200, -200));
    ExpectLastMessage(WM_CAD_POINT_SET);
    ExpectPoint(view.GetPoint(), -100, 50);
    EXPECT_EQ(view.GetMode(), MODE_IDLE);
    // Without a band shape nothing is drawn.
    EXPECT_EQ(view.GrabFramebuffer(), scene);
}

TEST_F(ViewMouse, RubberBandFollowsTheMouseInBlueAndLeavesNoTrace)
{
    AddLine(0, -400, 0, 400);
    view.Render();
    const QImage scene = view.GrabFramebuffer();
    const CGO_Point anchor(-300, -200);
    // Feedback is drawn over the kept scene; it never redraws the drawing,
    // which would cost a full render per mouse move.
    const int renders = view.renders;

    for (const std::string ending : {"release", "right click"}) {
        SCOPED_TRACE(ending);
        receiver.received.clear();
        view.SetMode(MODE_POINT, anchor, BAND_LINE);

        Move(PixelOf(300, 200));
        ExpectBandOnlyAlong(view.GrabFramebuffer(), anchor, CGO_Point(300, 200));
        // The old band goes as the new one follows the cursor.
        Move(PixelOf(250, -350));
        ExpectBandOnlyAlong(view.GrabFramebuffer(), anchor, CGO_Point(250, -350));

        if (ending == "release") {
            Click(Qt::LeftButton, PixelOf(250, -350));
            ExpectLastMessage(WM_CAD_POINT_SET);
            ExpectPoint(view.GetPoint(), 250, -350);
        } else {
            Press(Qt::RightButton, PixelOf(250, -350));
            Release(Qt::RightButton, PixelOf(250, -350));
            EXPECT_TRUE(receiver.received.empty());
        }
        EXPECT_EQ(view.GetMode(), MODE_IDLE);
        EXPECT_EQ(view.GetBand(), BAND_NONE);
        // No band pixel left, and the black line it crossed is whole.
        EXPECT_EQ(view.GrabFramebuffer(), scene);
        // Moves in idle draw nothing.
        Move(PixelOf(100, 100));
        EXPECT_EQ(view.GrabFramebuffer(), scene);
    }
    EXPECT_EQ(view.renders, renders);
}

TEST_F(ViewMouse, RedrawWhileABandIsShownLeavesNoTraceOfIt)
{
    AddLine(0, -400, 0, 400);
    view.Render();
    const QImage scene = view.GrabFramebuffer();
    const CGO_Point anchor(-300, -200);
    view.SetMode(MODE_POINT, anchor, BAND_LINE);
    Move(PixelOf(300, 200));

    // A paint (or the receiver) redraws the scene under the band.
    view.Render();
    EXPECT_EQ(view.GrabFramebuffer(), scene);
    Move(PixelOf(-100, 300));
    ExpectBandOnlyAlong(view.GrabFramebuffer(), anchor, CGO_Point(-100, 300));
    Click(Qt::LeftButton, PixelOf(-100, 300));
    EXPECT_EQ(view.GrabFramebuffer(), scene);
}

struct DragCase {
    const char* name;
    CGO_Point to;
};

TEST_F(ViewMouse, DragReportsTheVectorFromPressToReleaseAndLeavesNoTrace)
{
    AddLine(15, -100, 15, 100);  // crossed by the drag line
    view.Render();
    const QImage scene = view.GrabFramebuffer();

    const DragCase cases[] = {{"moved", CGO_Point(30, 40)}, {"not moved", CGO_Point(0, 0)}};
    for (const DragCase& c : cases) {
        SCOPED_TRACE(c.name);
        view.SetMode(MODE_DRAG);
        Press(Qt::LeftButton, PixelOf(0, 0));
        EXPECT_EQ(view.GrabFramebuffer(), scene);
        if (c.to.x != 0 || c.to.y != 0) {
            Move(PixelOf(c.to.x, c.to.y));
            ExpectBandOnlyAlong(view.GrabFramebuffer(), CGO_Point(0, 0), c.to);
        }
        Release(Qt::LeftButton, PixelOf(c.to.x, c.to.y));
        ExpectLastMessage(WM_CAD_DRAG_DONE);
        EXPECT_FLOAT_EQ(view.GetVector().GetX(), c.to.x);
        EXPECT_FLOAT_EQ(view.GetVector().GetY(), c.to.y);
        ExpectPoint(view.GetPoint(), 0, 0);
        EXPECT_EQ(view.GrabFramebuffer(), scene);
    }
}

TEST_F(ViewMouse, RightClickDuringADragRemovesTheDragLineAndSendsNothing)
{
    AddLine(15, -100, 15, 100);
    view.Render();
    const QImage scene = view.GrabFramebuffer();
    view.SetMode(MODE_DRAG);
    Press(Qt::LeftButton, PixelOf(0, 0));
    Move(PixelOf(100, 100));
    ASSERT_GT(CountPixels(view.GrabFramebuffer(), IsBlue), 0);

    Press(Qt::RightButton, PixelOf(100, 100));
    EXPECT_EQ(view.GrabFramebuffer(), scene);
    EXPECT_EQ(view.GetMode(), MODE_IDLE);
    Release(Qt::RightButton, PixelOf(100, 100));
    Release(Qt::LeftButton, PixelOf(100, 100));
    EXPECT_TRUE(receiver.received.empty());
    EXPECT_EQ(view.GrabFramebuffer(), scene);
}

TEST_F(ViewMouse, MiddleButtonSendsTheMenuClickInEveryMode)
{
    AddLine(-200, 0, 200, 0);
    view.Render();
    const QImage scene = view.GrabFramebuffer();
    struct ModeCase {
        const char* name;
        int mode;
        int band;
    };
    const ModeCase cases[] = {{"idle", MODE_IDLE, BAND_NONE},
                              {"pick", MODE_PICK, BAND_NONE},
                              {"point", MODE_POINT, BAND_NONE},
                              {"point with band", MODE_POINT, BAND_LINE},
                              {"drag", MODE_DRAG, BAND_NONE}};
    for (const ModeCase& c : cases) {
        SCOPED_TRACE(c.name);
        receiver.received.clear();
        view.SetMode(c.mode, CGO_Point(-100, -100), c.band);
        Move(PixelOf(100, 200));
        // The press may still become a pan; only the release makes it a click.
        Press(Qt::MiddleButton, PixelOf(100, 200));
        EXPECT_EQ(view.GetMode(), c.mode);
        EXPECT_TRUE(receiver.received.empty());
        Release(Qt::MiddleButton, PixelOf(100, 200));
        ASSERT_EQ(receiver.received.size(), 1u);
        ExpectLastMessage(WM_CAD_MENU_CLICK);
        // A band on screen went before the dialog opened over it.
        EXPECT_EQ(view.GrabFramebuffer(), scene);
    }
}

TEST_F(ViewMouse, CrosshairShowsOutsideIdleOnly)
{
    EXPECT_NE(view.cursor().shape(), Qt::CrossCursor);
    view.SetMode(MODE_POINT);
    EXPECT_EQ(view.cursor().shape(), Qt::CrossCursor);
    Click(Qt::LeftButton, PixelOf(50, 50));
    EXPECT_NE(view.cursor().shape(), Qt::CrossCursor);

    view.SetMode(MODE_PICK);
    EXPECT_EQ(view.cursor().shape(), Qt::CrossCursor);
    Press(Qt::RightButton, PixelOf(50, 50));
    Release(Qt::RightButton, PixelOf(50, 50));
    EXPECT_NE(view.cursor().shape(), Qt::CrossCursor);
}

} // namespace
