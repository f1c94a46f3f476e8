// "Linienzug", "Messen", Enter repeating the last operation, and a value
// typed where rotate wants its angle, driven as a user would.
#include "control/ControlTestSupport.h"
#include "support/LogTail.h"

#include <QLineEdit>

using namespace controltest;

namespace {

QLineEdit* Entry() { return qobject_cast<QLineEdit*>(Dlg()->GetControl(CCadDlg::IDC_ENTRY)); }

void Type(const char* text)
{
    Entry()->setText(QString::fromUtf8(text));
    QTest::keyClick(Entry(), Qt::Key_Return);
}

class ChainActions : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(StartFresh()); }
    void TearDown() override
    {
        Entry()->clear();
        EndAnyAction();
    }
};

TEST_F(ChainActions, EachLineIsOneStepAndTheRightButtonOrEnterEndsTheChain)
{
    ClickButton(CCadDlg::IDC_DRAW_POLYLINE);
    Type("0,0");
    Click(PixelFor(0, 0), Qt::RightButton);
    EXPECT_EQ(Dlg()->GetAction(), ACTION_IDLE);
    EXPECT_TRUE(Objects().empty());
    ClickButton(CCadDlg::IDC_DRAW_POLYLINE);
    Type("0,0");
    Type("@10,0");
    Type("<90");
    ClickWorld(50, 30); // only its distance along 90° counts
    QTest::keyClick(View(), Qt::Key_Return);
    EXPECT_EQ(Dlg()->GetAction(), ACTION_IDLE);
    ASSERT_EQ(Objects().size(), 2u);
    ExpectLine(Objects()[0], 0, 0, 10, 0);
    auto* up = dynamic_cast<const CGO_Line*>(Objects()[1]);
    EXPECT_EQ(up->GetP2().GetX(), 10);
    EXPECT_NEAR(up->GetP2().GetY(), 30, 2);
    ASSERT_TRUE(Dlg()->GetHistory()->Undo());
    EXPECT_EQ(Objects().size(), 1u);
}

TEST_F(ChainActions, MeasuringShowsAndLogsAndChangesNothing)
{
    testsupport::LogTail log;
    ClickButton(CCadDlg::IDC_MEASURE);
    Type("0,0");
    Type("@200,100");
    EXPECT_EQ(Dlg()->GetStatusText(), QString::fromUtf8("Abstand: 223.61  Winkel: 26.6°  Δx: 200.00  Δy: 100.00"));
    EXPECT_TRUE(log.Contains("[INFO] Measured from (0, 0) to (200, 100): distance 223.606798"));
    EXPECT_TRUE(Objects().empty());
    EXPECT_EQ(Dlg()->GetHistory()->StepCount(), 0);
    EXPECT_EQ(Dlg()->GetAction(), ACTION_IDLE);
}

TEST_F(ChainActions, EnterOrSpaceWithNothingUnderWayRepeatsTheLastOperation)
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

TEST_F(ChainActions, RotateRefusesTheAngleBeforeTheBasePointAndItsDialogTakesIt)
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
    QTimer::singleShot(5000, [] { // never left hanging by a dialog that took no keys
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            dialog->reject();
    });
    Type("0,0");
    ExpectLine(Objects()[0], 0, 0, 0, 100);
}

} // namespace
