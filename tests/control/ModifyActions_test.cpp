// "Stutzen" and "Versetzen" with the mouse and "Eingabe": what the drawing
// holds after the clicks, that each change is one undo step, that both tools
// stay chosen for the next object, and the refusals in the status line.
#include "control/ControlTestSupport.h"
#include "geometry/GO_Arc.h"
#include "support/LogTail.h"

#include <QLineEdit>

#include <cmath>

using namespace controltest;

namespace {

QLineEdit* Entry() { return qobject_cast<QLineEdit*>(Dlg()->GetControl(CCadDlg::IDC_ENTRY)); }

void Type(const char* text)
{
    Entry()->setText(QString::fromUtf8(text));
    QTest::keyClick(Entry(), Qt::Key_Return);
}

bool UndoEnabled() { return Dlg()->GetControl(CCadDlg::IDC_UNDO)->isEnabled(); }

class ModifyActions : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(StartFresh()); }
    void TearDown() override
    {
        Entry()->clear();
        QTest::keyClick(View(), Qt::Key_Escape);
        EndAnyAction();
    }
};

} // namespace

TEST_F(ModifyActions, TrimmingACircleCrossedByALineLeavesTheArcOnTheOtherSide)
{
    AddCircle(0, 0, 100);
    const int circle = Objects()[0]->GetId();
    AddLine(-200, 0, 200, 0);
    const int loner = AddLine(300, 300, 400, 300)->GetId(); // crosses nothing
    testsupport::LogTail log;
    ClickButton(CCadDlg::IDC_TRIM);
    ClickWorld(0, 100);
    EXPECT_TRUE(log.Contains("Object #" + std::to_string(circle) + " trimmed into 1 piece(s)."));
    ASSERT_EQ(Objects().size(), 3u);
    auto* arc = dynamic_cast<const CGO_Arc*>(Objects().back());
    ASSERT_NE(arc, nullptr);
    EXPECT_GT(arc->GetId(), loner);
    EXPECT_TRUE(log.Contains("New arc created: object id #" + std::to_string(arc->GetId())));
    EXPECT_FLOAT_EQ(arc->GetRadius(), 100.0f);
    // The lower half stays: from 180 degrees counter-clockwise to 360.
    EXPECT_NEAR(arc->GetStartAngle(), 180.0f, 1e-3);
    EXPECT_NEAR(std::fmod(arc->GetEndAngle() + 360.0f, 360.0f), 0.0f, 1e-3);
    // The tool stays for the next piece; one that crosses nothing stays.
    EXPECT_EQ(Dlg()->GetAction(), ACTION_TRIM_NEXT);
    ClickWorld(350, 300);
    EXPECT_EQ(Objects().size(), 3u);
    EXPECT_EQ(Dlg()->GetAction(), ACTION_TRIM_NEXT);
    EXPECT_TRUE(Dlg()->GetStatusText().startsWith(QString::fromUtf8("Das Objekt schneidet kein anderes")));

    ClickButton(CCadDlg::IDC_UNDO);
    ASSERT_EQ(Objects().size(), 3u);
    EXPECT_NE(dynamic_cast<const CGO_Circle*>(Objects()[0]), nullptr);
    EXPECT_FALSE(UndoEnabled());
}

TEST_F(ModifyActions, OffsetByATypedDistanceOrThroughAPoint)
{
    AddLine(0, 0, 200, 0);
    ClickButton(CCadDlg::IDC_OFFSET);
    EXPECT_EQ(Dlg()->GetAction(), ACTION_OFFSET_PICK_THROUGH);
    // Without a distance the copy runs through the point clicked.
    ClickWorld(100, 0);
    EXPECT_EQ(Dlg()->GetAction(), ACTION_OFFSET_THROUGH);
    Type("60,40");
    ASSERT_EQ(Objects().size(), 2u);
    ExpectLine(Objects()[1], 0, 40, 200, 40);

    // Digits typed in the drawing window while a pick is wanted go to "Eingabe".
    QTest::keyClick(View(), Qt::Key_2);
    EXPECT_EQ(Entry()->text(), QStringLiteral("2"));
    Type("20");
    EXPECT_EQ(Dlg()->GetAction(), ACTION_OFFSET_PICK);
    EXPECT_TRUE(Dlg()->GetStatusText().endsWith(QStringLiteral("Abstand: 20")));
    for (int copy = 0; copy < 2; ++copy) {
        ClickWorld(100, 0);
        EXPECT_EQ(Dlg()->GetAction(), ACTION_OFFSET_SIDE);
        ClickWorld(100, -70);
        EXPECT_EQ(Dlg()->GetAction(), ACTION_OFFSET_PICK);
    }
    ASSERT_EQ(Objects().size(), 4u);
    ExpectLine(Objects()[2], 0, -20, 200, -20);
    ExpectLine(Objects()[3], 0, -20, 200, -20);

    ClickButton(CCadDlg::IDC_UNDO);
    ClickButton(CCadDlg::IDC_UNDO);
    ASSERT_EQ(Objects().size(), 2u);
    ClickButton(CCadDlg::IDC_UNDO);
    EXPECT_EQ(Objects().size(), 1u);
}

TEST_F(ModifyActions, ACopyWithoutRadiusIsRefusedAndLeavesNoStep)
{
    AddCircle(0, 0, 30);
    const struct {
        const char* distance; // empty: through the point
        float sideX, sideY;
        const char* status;
    } cases[] = {
        {"50", 5, 0, "Nicht versetzt: der Radius der Kopie wäre 0 oder kleiner."},
        {"", 0, 0, "Nicht versetzt: der Radius der Kopie wäre 0 oder kleiner."},
        {"", 30, 0, "Nicht versetzt: der Punkt liegt auf dem Objekt."},
    };
    for (const auto& refused : cases) {
        ClickButton(CCadDlg::IDC_OFFSET);
        if (*refused.distance != '\0')
            Type(refused.distance);
        ClickWorld(-30, 0);
        Type(QStringLiteral("%1,%2").arg(refused.sideX).arg(refused.sideY).toUtf8().constData());
        EXPECT_EQ(Objects().size(), 1u);
        EXPECT_EQ(Dlg()->GetStatusText(), QString::fromUtf8(refused.status));
        EXPECT_FALSE(UndoEnabled());
    }
    // A distance of 0 or less is no distance.
    Type("-5");
    EXPECT_EQ(Entry()->text(), QStringLiteral("-5"));
    EXPECT_EQ(Dlg()->GetStatusText(), QString::fromUtf8("Der Abstand muss größer als 0 sein."));
}
