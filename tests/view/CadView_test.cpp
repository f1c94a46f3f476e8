// The drawing window itself: where and how it opens, the square viewport,
// and the drawing buffer that follows the window's size.
#include "view/CadView.h"

#include "view/ViewTestSupport.h"

#include <QGuiApplication>

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

} // namespace
