// Typing coordinates and values into "Eingabe" and into the drawing window:
// the drawing holds exactly what was typed, bad entries keep the field, and
// Escape in the control center ends an operation instead of the program.
// "Linienzug", "Messen", the repeat of the last operation and rotate's angle
// are driven from the keyboard as well.
#include "control/ControlTestSupport.h"
#include "support/LogTail.h"

#include <QFileInfo>
#include <QLineEdit>

#include <cmath>

using namespace controltest;

namespace {

class TypedEntry : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(StartFresh()); }
    void TearDown() override
    {
        Entry()->clear();
        EndAnyAction();
    }
};

TEST_F(TypedEntry, LinesAndCirclesTakeExactlyTheTypedCoordinates)
{
    const struct { float x1, y1, x2, y2; const char* start; const char* end; } lines[] = {
        {0, 0, 200, 0, "0,0", "@200,0"},
        {200, 0, 200, 100, "200,0", "@0,100"},
        {-12.5f, 300, 37.5f, 300, "-12.5,3e2", "@50<0"},
        {10, 10, 10, 40, "10,10", "@30<90"},
    };
    for (const auto& line : lines) {
        ClickButton(CCadDlg::IDC_DRAW_LINE);
        Type(line.start);
        Type(line.end);
        ASSERT_FALSE(Objects().empty());
        auto* made = dynamic_cast<const CGO_Line*>(Objects().back());
        ASSERT_NE(made, nullptr) << line.end;
        EXPECT_EQ(made->GetP1().GetX(), line.x1);
        EXPECT_EQ(made->GetP1().GetY(), line.y1);
        EXPECT_EQ(made->GetP2().GetX(), line.x2);
        EXPECT_EQ(made->GetP2().GetY(), line.y2);
        EXPECT_FALSE(std::signbit(made->GetP2().GetY())) << line.end;
    }
    ClickButton(CCadDlg::IDC_DRAW_CIRCLE);
    Type("20,20");
    Type("8");
    auto* circle = dynamic_cast<const CGO_Circle*>(Objects().back());
    ASSERT_NE(circle, nullptr);
    EXPECT_EQ(circle->GetCenter().GetX(), 20);
    EXPECT_EQ(circle->GetPeripheralPoint().GetX(), 28);
    EXPECT_EQ(circle->GetPeripheralPoint().GetY(), 20);
    EXPECT_EQ(Dlg()->GetAction(), ACTION_IDLE);
}

TEST_F(TypedEntry, ThePlateWithFiveHolesSavesExactlyTheTypedCoordinates)
{
    ClickButton(CCadDlg::IDC_DRAW_POLYLINE);
    for (const char* corner : {"0,0", "@200,0", "@0,100", "@-200,0"})
        Type(corner);
    ClickWorld(1, 1); // near the first point, snapping off: it closes the chain
    EXPECT_EQ(Dlg()->GetAction(), ACTION_IDLE);
    EXPECT_EQ(Dlg()->GetHistory()->StepCount(), 4); // one step per line
    const float holes[][2] = {{20, 20}, {180, 20}, {180, 80}, {20, 80}, {100, 50}};
    for (const auto& hole : holes) {
        ClickButton(CCadDlg::IDC_DRAW_CIRCLE);
        Type(QStringLiteral("%1,%2").arg(hole[0]).arg(hole[1]).toUtf8().constData());
        Type("8");
    }
    const QString path = QFileInfo(QStringLiteral("plate.dat")).absoluteFilePath();
    Dlg()->SetFileChooser([path](bool) { return path; });
    ClickButton(CCadDlg::IDC_SAVE);
    Dlg()->SetFileChooser(nullptr);
    Dlg()->LoadFile(path);
    const auto objects = Objects();
    ASSERT_EQ(objects.size(), 9u);
    const float corners[][2] = {{0, 0}, {200, 0}, {200, 100}, {0, 100}, {0, 0}};
    for (int i = 0; i < 4; ++i) {
        auto* line = dynamic_cast<const CGO_Line*>(objects[i]);
        ASSERT_NE(line, nullptr);
        EXPECT_EQ(line->GetP1().GetX(), corners[i][0]);
        EXPECT_EQ(line->GetP1().GetY(), corners[i][1]);
        EXPECT_EQ(line->GetP2().GetX(), corners[i + 1][0]);
        EXPECT_EQ(line->GetP2().GetY(), corners[i + 1][1]);
        EXPECT_FALSE(std::signbit(line->GetP2().GetX()) || std::signbit(line->GetP2().GetY()));
    }
    for (int i = 0; i < 5; ++i) {
        auto* circle = dynamic_cast<const CGO_Circle*>(objects[4 + i]);
        ASSERT_NE(circle, nullptr);
        EXPECT_EQ(circle->GetCenter().GetX(), holes[i][0]);
        EXPECT_EQ(circle->GetCenter().GetY(), holes[i][1]);
        EXPECT_EQ(circle->GetRadius(), 8.0f);
    }
}

TEST_F(TypedEntry, BadEntriesAreRefusedAndKeptForCorrection)
{
    ClickButton(CCadDlg::IDC_DRAW_CIRCLE);
    for (const char* bad : {"1,,2", "abc", "1e99,0", "-3"}) {
        testsupport::LogTail log;
        Type(bad);
        EXPECT_EQ(Entry()->text(), QString::fromUtf8(bad));
        EXPECT_TRUE(log.Contains("[WARN]")) << bad;
        EXPECT_TRUE(log.Contains(bad)) << bad;
        EXPECT_NE(Dlg()->GetStatusText(), QStringLiteral("CAD Control Center"));
    }
    EXPECT_TRUE(Objects().empty());
    Entry()->clear();
    Type("5,5");
    Type("8");   // a radius right after a refused one is still taken
    EXPECT_EQ(Objects().size(), 1u);
    // With nothing under way a typed point goes nowhere.
    Type("5,5");
    EXPECT_EQ(Objects().size(), 1u);
    EXPECT_EQ(Dlg()->GetAction(), ACTION_IDLE);
}

TEST_F(TypedEntry, KeysInTheDrawingWindowFillTheFieldWhileAPointIsWanted)
{
    ClickButton(CCadDlg::IDC_DRAW_LINE);
    const WorldCoordinates before = View()->GetGraphics()->GetWorldCoordinates();
    for (char key : std::string("-5,0"))
        QTest::keyClick(View(), key);
    EXPECT_EQ(Entry()->text(), QStringLiteral("-5,0"));
    EXPECT_EQ(View()->GetGraphics()->GetWorldCoordinates().xMin, before.xMin); // no zoom
}

TEST_F(TypedEntry, EscapeInTheControlCenterEndsTheOperationAndNotTheProgram)
{
    ClickButton(CCadDlg::IDC_DRAW_LINE);
    Type("1,1");
    Entry()->setFocus();
    QTest::keyClick(Entry(), Qt::Key_Escape);
    EXPECT_EQ(Dlg()->GetAction(), ACTION_IDLE);
    EXPECT_TRUE(Dlg()->isVisible());
    EXPECT_TRUE(Objects().empty());
}

TEST_F(TypedEntry, EachLineIsOneStepAndTheRightButtonOrEnterEndsTheChain)
{
    ClickButton(CCadDlg::IDC_DRAW_POLYLINE);
    Type("0,0");
    Click(PixelFor(0, 0), Qt::RightButton);
    EXPECT_EQ(Dlg()->GetAction(), ACTION_IDLE);
    EXPECT_TRUE(Objects().empty());
    ClickButton(CCadDlg::IDC_DRAW_POLYLINE);
    for (const char* corner : {"0,0", "@10,0", "@0,10", "0,0"}) // typing the first point closes
        Type(corner);
    EXPECT_EQ(Dlg()->GetAction(), ACTION_IDLE);
    ClickButton(CCadDlg::IDC_DRAW_POLYLINE);
    for (const char* entry : {"0,0", "@10,0", "<90"})
        Type(entry);
    ClickWorld(50, 30); // only its distance along 90° counts
    QTest::keyClick(View(), Qt::Key_Return);
    EXPECT_EQ(Dlg()->GetAction(), ACTION_IDLE);
    ASSERT_EQ(Objects().size(), 5u);
    auto* up = dynamic_cast<const CGO_Line*>(Objects()[4]);
    EXPECT_EQ(up->GetP2().GetX(), 10);
    EXPECT_NEAR(up->GetP2().GetY(), 30, 2);
    ASSERT_TRUE(Dlg()->GetHistory()->Undo());
    EXPECT_EQ(Objects().size(), 4u);
}

TEST_F(TypedEntry, MeasuringShowsAndLogsAndChangesNothing)
{
    testsupport::LogTail log;
    ClickButton(CCadDlg::IDC_MEASURE);
    Type("0,0");
    Type("@200,100");
    EXPECT_EQ(Dlg()->GetStatusText(), QString::fromUtf8("Abstand: 223.61  Winkel: 26.6°  Δx: 200.00  Δy: 100.00"));
    EXPECT_TRUE(log.Contains("[INFO] Measured from (0, 0) to (200, 100): distance 223.606798"));
    EXPECT_TRUE(Objects().empty() && Dlg()->GetHistory()->StepCount() == 0);
}

TEST_F(TypedEntry, EnterOrSpaceWithNothingUnderWayRepeatsTheLastOperation)
{
    const struct { int button; int key; int firstAction; } rows[] = {
        {CCadDlg::IDC_DRAW_CIRCLE, Qt::Key_Return, ACTION_CIRCLE_CENTER},
        {CCadDlg::IDC_MEASURE, Qt::Key_Space, ACTION_MEASURE_START},
        {CCadDlg::IDC_DRAW_POLYLINE, Qt::Key_Enter, ACTION_POLYLINE_START},
    };
    for (const auto& row : rows) {
        ClickButton(row.button);
        Type("5,5");
        QTest::keyClick(View(), Qt::Key(row.key)); // under way: no restart (a chain ends)
        EXPECT_NE(Dlg()->GetAction(), row.firstAction) << row.button;
        QTest::keyClick(View(), Qt::Key_Escape);
        QTest::keyClick(View(), Qt::Key(row.key));
        EXPECT_EQ(Dlg()->GetAction(), row.firstAction) << row.button;
        QTest::keyClick(View(), Qt::Key_Escape);
        Type(""); // an empty "Eingabe" as well
        EXPECT_EQ(Dlg()->GetAction(), row.firstAction) << row.button;
    }
    EXPECT_TRUE(Objects().empty());
}

TEST_F(TypedEntry, RotateRefusesTheAngleBeforeTheBasePointAndItsDialogTakesIt)
{
    AddLine(0, 0, 100, 0);
    ClickButton(CCadDlg::IDC_ROTATE_OBJECT);
    ClickWorld(50, 0);
    Type("90");
    EXPECT_TRUE(Dlg()->GetStatusText().contains(QStringLiteral("Winkel")));
    QTimer typist;
    QObject::connect(&typist, &QTimer::timeout, [&typist] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (dialog == nullptr || dialog->focusWidget() == nullptr)
            return;
        typist.stop();
        QTest::keyClicks(dialog->focusWidget(), QStringLiteral("90"));
        QTest::keyClick(dialog->focusWidget(), Qt::Key_Return);
    });
    typist.start(20);
    Type("0,0");
    ExpectLine(Objects()[0], 0, 0, 0, 100);
}

} // namespace
