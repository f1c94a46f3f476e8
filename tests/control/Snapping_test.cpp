// Snapping as a user draws with it: exact corners by mouse alone, a circle on
// a crossing, a move from one end point onto another, Shift for orthogonal
// lines, the marker and the status pane, the grid, and with every switch off
// the clicks of old.
#include "control/lumen7dlg.h"

#include "control/ControlTestSupport.h"
#include "database/GO_Database.h"
#include "geometry/GO_Circle.h"
#include "snap/SnapTypes.h"
#include "support/LogTail.h"

#include <QAbstractButton>
#include <QFileInfo>

#include <cstring>

using namespace controltest;

namespace {

std::uint32_t Bits(float value)
{
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// A pixel a few logical pixels away from the one a world point maps to.
QPoint Near(float x, float y, int dx, int dy) { return PixelFor(x, y) + QPoint(dx, dy); }

class Snapping : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(StartFresh());
        SwitchSnaps(SNAP_NONE);
    }
    void TearDown() override { SwitchSnaps(SNAP_NONE); }

    // Clicks the switches until exactly these kinds are on.
    static void SwitchSnaps(unsigned kinds)
    {
        const int ids[] = {CCadDlg::IDC_SNAP_ENDPOINT,  CCadDlg::IDC_SNAP_MIDPOINT,     CCadDlg::IDC_SNAP_CENTER,
                           CCadDlg::IDC_SNAP_QUADRANT, CCadDlg::IDC_SNAP_INTERSECTION, CCadDlg::IDC_SNAP_GRID};
        for (int i = 0; i < 6; ++i) {
            auto* button = qobject_cast<QAbstractButton*>(Dlg()->GetControl(ids[i]));
            ASSERT_NE(button, nullptr);
            ASSERT_TRUE(button->isCheckable());
            if (button->isChecked() != ((kinds & (1u << i)) != 0))
                QTest::mouseClick(button, Qt::LeftButton);
        }
        ASSERT_EQ(View()->GetSnapKinds(), kinds);
    }

    static const CGO_Line& LineAt(int i) { return *dynamic_cast<const CGO_Line*>(Objects().at(static_cast<std::size_t>(i))); }
};

} // namespace

TEST_F(Snapping, FourLinesDrawnByMouseCloseARectangleWithEqualCornerFloats)
{
    SwitchSnaps(SNAP_ENDPOINT);
    testsupport::LogTail log;
    const QPoint corners[] = {Near(-200, -100, 0, 0), Near(210, -90, 0, 0), Near(200, 150, 0, 0), Near(-190, 140, 0, 0)};
    for (int i = 0; i < 4; ++i) {
        ClickButton(CCadDlg::IDC_DRAW_LINE);
        // Each line starts a few pixels off the end of the one before.
        Click(i == 0 ? corners[0] : corners[i] + QPoint(3, -2));
        Click(i == 3 ? corners[0] + QPoint(-4, 3) : corners[i + 1]);
    }
    ASSERT_EQ(Objects().size(), 4u);
    for (int i = 0; i < 4; ++i) {
        const CGO_Point end = LineAt(i).GetP2();
        const CGO_Point next = LineAt((i + 1) % 4).GetP1();
        EXPECT_EQ(Bits(end.x), Bits(next.x)) << "corner " << i;
        EXPECT_EQ(Bits(end.y), Bits(next.y)) << "corner " << i;
    }
    EXPECT_TRUE(log.Contains("[DEBUG] Snapped to endpoint at ("));

    // The saved file holds the same floats at every corner.
    const QString path = QFileInfo(QStringLiteral("rectangle.dat")).absoluteFilePath();
    Dlg()->SetFileChooser([path](int) { return path; });
    ClickButton(CCadDlg::IDC_SAVE);
    Dlg()->SetFileChooser(nullptr);
    // The database keeps the empty slots earlier tests left; the file does too.
    CGO_Database loaded;
    ASSERT_GE(loaded.Load(QFile::encodeName(path).constData()), 4);
    std::vector<const CGO_Line*> lines;
    for (int slot = 0; slot < loaded.GetSize(); ++slot) {
        if (const auto* line = dynamic_cast<const CGO_Line*>(loaded.GetAt(slot)))
            lines.push_back(line);
    }
    ASSERT_EQ(lines.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        const CGO_Line* line = lines[static_cast<std::size_t>(i)];
        const CGO_Line* next = lines[static_cast<std::size_t>((i + 1) % 4)];
        EXPECT_EQ(Bits(line->GetP2().x), Bits(next->GetP1().x));
        EXPECT_EQ(Bits(line->GetP2().y), Bits(next->GetP1().y));
    }
}

TEST_F(Snapping, ACircleIsCentredOnTheCrossingOfTwoLines)
{
    AddLine(-150, -50, 150, 40);
    AddLine(-30, -200, 60, 180);
    SwitchSnaps(SNAP_INTERSECTION);
    // Where the two lines cross, in double.
    const double t = ((-30.0 + 150.0) * 380.0 - (-200.0 + 50.0) * 90.0) / (300.0 * 380.0 - 90.0 * 90.0);
    const double x = -150 + t * 300, y = -50 + t * 90;
    ClickButton(CCadDlg::IDC_DRAW_CIRCLE);
    Click(Near(static_cast<float>(x), static_cast<float>(y), 4, 3));
    ClickWorld(300, 300);
    ASSERT_EQ(Objects().size(), 3u);
    const auto* circle = dynamic_cast<const CGO_Circle*>(Objects()[2]);
    ASSERT_NE(circle, nullptr);
    EXPECT_NEAR(circle->GetCenter().x, x, 1e-4);
    EXPECT_NEAR(circle->GetCenter().y, y, 1e-4);
}

TEST_F(Snapping, AMoveDragGoesExactlyFromOneEndPointToAnother)
{
    AddLine(0, 0, 50, 0);
    AddLine(100, 100, 150, 120);
    SwitchSnaps(SNAP_ENDPOINT);
    ClickButton(CCadDlg::IDC_MOVE_OBJECT);
    ClickWorld(25, 0);
    ASSERT_EQ(Dlg()->GetAction(), ACTION_MOVE_DRAG);
    QTest::mousePress(View(), Qt::LeftButton, Qt::NoModifier, Near(50, 0, 3, 2));
    QTest::mouseMove(View(), Near(100, 100, -2, -3));
    QTest::mouseRelease(View(), Qt::LeftButton, Qt::NoModifier, Near(100, 100, -2, -3));
    const CGO_Line& moved = LineAt(0);
    EXPECT_EQ(moved.GetP2().x, 100.0f);
    EXPECT_EQ(moved.GetP2().y, 100.0f);
    EXPECT_EQ(moved.GetP1().x, 50.0f);
    EXPECT_EQ(moved.GetP1().y, 100.0f);
}

TEST_F(Snapping, ShiftKeepsTheSecondPointHorizontalOrVerticalAndCombinesWithSnapping)
{
    const struct {
        QPoint end;
        float x2, y2;
    } cases[] = {
        {PixelFor(200, 36), 200, 20},   // nearer the horizontal
        {PixelFor(30, 300), 10, 300},   // nearer the vertical
    };
    for (const auto& c : cases) {
        ClickButton(CCadDlg::IDC_DRAW_LINE);
        ClickWorld(10, 20);
        QTest::mouseMove(View(), c.end);
        QTest::mousePress(View(), Qt::LeftButton, Qt::ShiftModifier, c.end);
        QTest::mouseRelease(View(), Qt::LeftButton, Qt::ShiftModifier, c.end);
        ExpectLine(Objects().back(), 10, 20, c.x2, c.y2);
    }
    // The snapped point is what is projected: the end of the vertical line,
    // (10, 300), lies straight above the new start.
    SwitchSnaps(SNAP_ENDPOINT);
    ClickButton(CCadDlg::IDC_DRAW_LINE);
    ClickWorld(10, -100);
    const QPoint nearEnd = Near(10, 300, 4, 3);
    QTest::mousePress(View(), Qt::LeftButton, Qt::ShiftModifier, nearEnd);
    QTest::mouseRelease(View(), Qt::LeftButton, Qt::ShiftModifier, nearEnd);
    ExpectLine(Objects().back(), 10, -100, 10, 300);
}

TEST_F(Snapping, WithEverySwitchOffAClickGivesItsPixelAndNothingIsLoggedOfSnapping)
{
    AddLine(0, 0, 50, 0);
    testsupport::LogTail log;
    ClickButton(CCadDlg::IDC_DRAW_LINE);
    const QPoint nearEnd = Near(50, 0, 2, -1);
    Click(nearEnd);
    ClickWorld(-100, -100);
    CGO_Point pixel;
    View()->WindowToWorld(nearEnd.x(), nearEnd.y(), &pixel);
    ExpectLine(Objects().back(), pixel.x, pixel.y, -100, -100);
    EXPECT_FALSE(log.Contains("Snapped"));
}

TEST_F(Snapping, TheStatusPaneNamesTheSnapPointAndTheObjectUnderTheCursor)
{
    AddLine(0, 0, 50, 0);
    AddCircle(-200, -200, 40);
    SwitchSnaps(SNAP_ENDPOINT | SNAP_CENTER);
    ClickButton(CCadDlg::IDC_DRAW_LINE);
    QTest::mouseMove(View(), Near(50, 0, 2, 0));
    EXPECT_EQ(Dlg()->GetCoordinateText(), QString::fromUtf8("X: 50.00  Y: 0.00  Endpunkt  #0 Linie"));
    QTest::mouseMove(View(), Near(-200, -200, 3, 3));
    EXPECT_EQ(Dlg()->GetCoordinateText(), QString::fromUtf8("X: -200.00  Y: -200.00  Zentrum"));
    // Over the circle's outline, far from its centre.
    QTest::mouseMove(View(), PixelFor(-200, -160));
    EXPECT_TRUE(Dlg()->GetCoordinateText().endsWith(QString::fromUtf8("#1 Kreis")))
        << Dlg()->GetCoordinateText().toStdString();
}

TEST_F(Snapping, TheGridLiesBeneathTheObjectsAndThePointsSnapToIt)
{
    AddLine(-500, 10, 500, 10);
    SwitchSnaps(SNAP_GRID);
    const QImage image = View()->GrabFramebuffer();
    const auto grey = [](QRgb c) { return qRed(c) == qGreen(c) && qGreen(c) == qBlue(c) && qRed(c) > 150 && qRed(c) < 250; };
    // At 2 world units per pixel the cells are 50 units: 25 pixels.
    const double ratio = View()->devicePixelRatio();
    const int side = std::min(View()->BufferWidth(), View()->BufferHeight());
    const auto greyInColumn = [&](double worldX) {
        const int column = static_cast<int>(std::lround((worldX + 500.0) / 1000.0 * side));
        int most = 0;
        for (int c = column - 1; c <= column; ++c) {
            int count = 0;
            for (int y = image.height() - side; y < image.height(); ++y)
                count += grey(image.pixel(c, y)) ? 1 : 0;
            most = std::max(most, count);
        }
        return most;
    };
    EXPECT_GT(greyInColumn(50), side / 2);
    EXPECT_GT(greyInColumn(-450), side / 2);
    // Between two vertical lines only the horizontal ones cross a column.
    EXPECT_LE(greyInColumn(25), 21);
    // The object is drawn over the grid.
    const int row = image.height() - static_cast<int>(std::lround(510.0 / 1000.0 * side));
    int black = 0;
    for (int x = 0; x < side; ++x)
        for (int y = row - 1; y <= row; ++y)
            black += IsBlackPixel(image.pixel(x, y)) ? 1 : 0;
    EXPECT_GE(black, side - 2);
    (void)ratio;

    ClickButton(CCadDlg::IDC_DRAW_LINE);
    Click(Near(100, -150, 3, -4));
    ClickWorld(305, 245);
    ExpectLine(Objects().back(), 100, -150, 300, 250);
    // Off again: no grid in the picture.
    SwitchSnaps(SNAP_NONE);
    EXPECT_NE(View()->GrabFramebuffer(), image);
}
