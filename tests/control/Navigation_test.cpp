// Navigation as part of the program: zooming in the middle of an operation,
// the coordinate pane of the status bar, "Alles zeigen", and the range dialog
// after a zoom.
#include "control/lumen7dlg.h"

#include "control/ControlTestSupport.h"
#include "dialogs/DialogDriver.h"

#include <QWheelEvent>

using namespace controltest;

namespace {

void Wheel(QPoint at, int angle)
{
    QWheelEvent event(QPointF(at), View()->mapToGlobal(QPointF(at)), QPoint(), QPoint(0, angle), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QGuiApplication::sendEvent(View(), &event);
}

class Navigation : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(StartFresh()); }
};

} // namespace

TEST_F(Navigation, ZoomingDuringALineKeepsTheStartAndTheEndLandsWhereClicked)
{
    ClickButton(CCadDlg::IDC_DRAW_LINE);
    ClickWorld(10, 20);
    Wheel(PixelFor(100, 100), 360);
    Wheel(PixelFor(100, 100), -120);
    EXPECT_EQ(Dlg()->GetAction(), ACTION_LINE_END);
    EXPECT_EQ(View()->GetMode(), MODE_POINT);
    const QPoint end(123, 234);
    CGO_Point expected;
    View()->WindowToWorld(end.x(), end.y(), &expected);
    Click(end);
    ASSERT_EQ(Objects().size(), 1u);
    ExpectLine(Objects()[0], 10, 20, expected.GetX(), expected.GetY());
}

TEST_F(Navigation, TheCoordinatePaneShowsTheCursorInWorldUnitsAndGoesBlankOutside)
{
    QTest::mouseMove(View(), PixelFor(10, 20));
    EXPECT_EQ(Dlg()->GetCoordinateText(), QStringLiteral("X: 10.00  Y: 20.00"));
    QTest::mouseMove(View(), PixelFor(-250.5f, 0));
    EXPECT_EQ(Dlg()->GetCoordinateText(), QStringLiteral("X: -250.00  Y: 0.00"));
    QEvent leave(QEvent::Leave);
    QGuiApplication::sendEvent(View(), &leave);
    EXPECT_TRUE(Dlg()->GetCoordinateText().isEmpty());
    // The status text stays in the first pane.
    EXPECT_EQ(Dlg()->GetStatusText(), QStringLiteral("CAD Control Center"));
}

TEST_F(Navigation, ShowAllFitsTheDrawingAndTheRangeDialogShowsWhatIsInView)
{
    AddLine(100, 100, 300, 120);
    AddLine(100, 100, 200, 80);
    ClickButton(CCadDlg::IDC_SHOW_ALL);
    const WorldCoordinates fitted = View()->GetGraphics()->GetWorldCoordinates();
    EXPECT_NEAR(fitted.xMin, 90, 1e-3);
    EXPECT_NEAR(fitted.xMax, 310, 1e-3);
    EXPECT_NEAR(fitted.yMin + fitted.yMax, 200, 1e-3);
    EXPECT_EQ(View()->title(), QStringLiteral("CAD-Programm (90.0, 310.0 | -10.0, 210.0)"));
    QMap<int, QString> shown;
    dialogtest::RunModal(
        [] {
            ClickButton(CCadDlg::IDC_CHANGE_WC);
            return 0;
        },
        [&](QDialog* dialog) {
            shown = dialogtest::FieldTexts(dialog);
            dialogtest::Click(dialog, 2);
        });
    EXPECT_EQ(shown.value(1030), QStringLiteral("90.00"));
    EXPECT_EQ(shown.value(1033), QStringLiteral("210.00"));

    // An empty drawing goes back to the default range.
    Db()->Clear();
    ClickButton(CCadDlg::IDC_SHOW_ALL);
    EXPECT_EQ(View()->GetGraphics()->GetWorldCoordinates().xMin, -500.0);
}
