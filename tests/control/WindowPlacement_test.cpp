// Where the windows open: the rule on rectangles for screens of every size,
// and the real windows on the screen the tests run on (also 1024 x 768 and a
// HiDPI screen, see tests/CMakeLists.txt): the control center never covers
// the drawing window, and the dialogs open over the control center.
#include "control/WindowPlacement.h"

#include "control/ControlTestSupport.h"
#include "dialogs/DialogDriver.h"

#include <QScreen>

using namespace controltest;

TEST(WindowPlacement, TheControlCenterGoesRightOrBelowOrTheDrawingWindowMakesRoom)
{
    const QRect drawing(0, 0, 500, 570);
    const QSize control(520, 400);
    const struct {
        const char* what;
        QRect screen;
        bool right, below, shrunk;
    } cases[] = {
        {"1280 x 1024", {0, 0, 1280, 1024}, true, false, false},
        {"1920 x 1080", {0, 0, 1920, 1080}, true, false, false},
        {"narrow and tall", {0, 0, 900, 1200}, false, true, false},
        {"1024 x 768", {0, 0, 1024, 768}, true, false, true},
        {"800 x 600", {0, 0, 800, 600}, false, false, true},
        {"a panel on the left", {64, 0, 1216, 1024}, true, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QRect opened = drawing.translated(c.screen.topLeft());
        const CWindowLayout layout = PlaceWindows(c.screen, opened, control);
        const QRect placed(layout.controlFrame, control);
        EXPECT_FALSE(placed.intersects(layout.drawingFrame));
        EXPECT_TRUE(c.screen.contains(placed)) << placed.x() << "," << placed.y();
        EXPECT_TRUE(c.screen.contains(layout.drawingFrame));
        EXPECT_EQ(layout.drawingFrame != opened, c.shrunk);
        if (!c.shrunk) {
            EXPECT_EQ(placed.left() > layout.drawingFrame.right(), c.right);
            EXPECT_EQ(placed.top() > layout.drawingFrame.bottom(), c.below);
        }
        // What is left of the drawing is still worth having.
        EXPECT_GE(std::min(layout.drawingFrame.width(), layout.drawingFrame.height()), 200);
    }
}

TEST(WindowPlacement, TheRealWindowsDoNotOverlapAndDialogsOpenOverTheControlCenter)
{
    Dlg()->Open();
    ASSERT_TRUE(Dlg()->HasDrawingWindow());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(View()));
    QTest::qWait(100);
    const QRect screen = View()->screen()->availableGeometry();
    const QRect drawing = View()->frameGeometry();
    const QRect control = Dlg()->frameGeometry();
    EXPECT_FALSE(drawing.intersects(control)) << "drawing " << drawing.width() << "x" << drawing.height() << " at "
                                              << drawing.x() << "," << drawing.y() << ", control center at "
                                              << control.x() << "," << control.y();
    EXPECT_TRUE(screen.contains(control));
    EXPECT_TRUE(screen.contains(drawing));

    ClickButton(CCadDlg::IDC_ROTATE_OBJECT);
    QRect dialogFrame;
    dialogtest::RunModal(
        [] {
            Click(PixelFor(0, 0), Qt::MiddleButton);
            return 0;
        },
        [&](QDialog* dialog) {
            dialogFrame = dialog->frameGeometry();
            dialogtest::Click(dialog, 2);
        });
    EXPECT_TRUE(screen.contains(dialogFrame));
    // Over the control center where the screen leaves room, never over the
    // drawing then.
    if (screen.width() >= 1280) {
        EXPECT_FALSE(dialogFrame.intersects(drawing));
    }
    EXPECT_TRUE(dialogFrame.intersects(control));
}
