// The drawing window itself: where and how it opens, the square viewport,
// and the drawing buffer that follows the window's size.
#include "view/CadView.h"

#include "view/ViewTestSupport.h"

#include <QGuiApplication>

#include <functional>

#include <GL/gl.h>

using viewtest::IsBlack;

namespace {

using ViewWindow = viewtest::ViewFixture;

TEST(ViewWindowCreate, OpensAtTheTopLeftWithItsCaptionWithoutTakingFocus)
{
    QWindow active;
    active.setGeometry(530, 10, 100, 100);
    active.show();
    active.requestActivate();
    if (!QTest::qWaitForWindowActive(&active))
        GTEST_SKIP() << "the display activates no window";

    CCadView view;
    ASSERT_TRUE(view.Create("CAD-Programm (-500, 500 | -500, 500)", 0, 0, 500, 540));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    QTest::qWait(50);

    EXPECT_EQ(view.title(), QString("CAD-Programm (-500, 500 | -500, 500)"));
    EXPECT_EQ(view.framePosition(), QPoint(0, 0));
    EXPECT_EQ(view.size(), QSize(500, 540));
    // Other processes on the display may move the focus elsewhere, but never
    // to the drawing window.
    EXPECT_NE(QGuiApplication::focusWindow(), &view);
    EXPECT_FALSE(view.isActive());
    EXPECT_EQ(view.GetMode(), MODE_IDLE);
    EXPECT_EQ(view.GetPickedId(), -100);
}

struct ViewportCase {
    int width, height, side;
};

TEST_F(ViewWindow, ViewportIsTheLargestSquareAtTheLowerLeft)
{
    const ViewportCase cases[] = {{600, 400, 400}, {300, 500, 300}, {400, 400, 400}};
    for (const ViewportCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
        SetClientSize(c.width, c.height);
        ASSERT_TRUE(view.MakeCurrent());
        GLint viewport[4] = {-1, -1, -1, -1};
        glGetIntegerv(GL_VIEWPORT, viewport);
        const int side = static_cast<int>(std::lround(c.side * Ratio()));
        EXPECT_EQ(viewport[0], 0);
        EXPECT_EQ(viewport[1], 0);
        EXPECT_EQ(viewport[2], side);
        EXPECT_EQ(viewport[3], side);
        const QImage image = view.GrabFramebuffer();
        EXPECT_EQ(image.size(), QSize(view.BufferWidth(), view.BufferHeight()));
        EXPECT_EQ(image.size(), (QSizeF(c.width, c.height) * Ratio()).toSize());
    }
}

TEST_F(ViewWindow, ResizeKeepsThePictureAfterTheNextPaint)
{
    AddLine(-250, 0, 250, 0);
    view.Render();
    // The buffer is replaced; the paint that follows a resize draws it again.
    view.resize(500, 300);
    Settle();
    const QImage image = view.GrabFramebuffer();
    EXPECT_EQ(image.size(), (QSizeF(500, 300) * Ratio()).toSize());
    EXPECT_GT(viewtest::CountPixels(image, IsBlack), 0);
}

// A paint that finds the picture current shows the drawing buffer again
// (a window uncovered or shown again); anything the picture shows that
// changed has the next paint draw it.
TEST_F(ViewWindow, APaintDrawsOnlyWhatChangedSinceTheLastRender)
{
    AddLine(-250, 0, 250, 0);
    view.Render();
    const int before = view.renders;
    view.hide();
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    view.requestUpdate();
    Settle();
    EXPECT_EQ(view.renders, before) << "an unchanged drawing was drawn again";
    EXPECT_GT(viewtest::CountPixels(view.GrabFramebuffer(), IsBlack), 0);

    CGraphics* graphics = view.GetGraphics();
    const struct {
        const char* change;
        std::function<void()> make;
    } changes[] = {
        {"an object added", [this] { AddLine(-250, 100, 250, 100); }},
        {"the range", [graphics] { graphics->SetWorldCoordinates(-400, 400, -400, 400); }},
        {"the grid", [graphics] { graphics->SetGridShown(true); }},
        {"an object removed", [graphics] { graphics->GetDatabase()->RemoveById(0); }},
    };
    for (const auto& c : changes) {
        SCOPED_TRACE(c.change);
        view.Render();
        const int rendered = view.renders;
        c.make();
        view.requestUpdate();
        Settle();
        EXPECT_EQ(view.renders, rendered + 1);
    }
    graphics->SetGridShown(false);
}

} // namespace
