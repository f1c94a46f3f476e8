// "Stutzen" and "Versetzen" with the mouse and "Eingabe": the drawing after
// the clicks, one undo step each, both tools kept for the next object, and
// the refusals in the status line.
#include "control/ControlTestSupport.h"
#include "geometry/GO_Arc.h"
#include "support/LogTail.h"

#include <QLineEdit>

#include <cmath>

using namespace controltest;

namespace {

class ModifyActions : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(StartFresh()); }
    void TearDown() override
    {
        Entry()->clear();
        QTest::keyClick(View(), Qt::Key_Escape);
    }
};

} // namespace

TEST_F(ModifyActions, TrimmingACircleCrossedByALineLeavesTheArcOnTheOtherSide)
{
    AddCircle(0, 0, 100);
    AddLine(-200, 0, 200, 0);
    const int loner = AddLine(300, 300, 400, 300)->GetId(); // crosses nothing
    testsupport::LogTail log;
    ClickButton(CCadDlg::IDC_TRIM);
    ClickWorld(0, 100);
    ASSERT_EQ(Objects().size(), 3u);
    auto* arc = dynamic_cast<const CGO_Arc*>(Objects().back());
    ASSERT_NE(arc, nullptr);
    EXPECT_GT(arc->GetId(), loner);
    EXPECT_TRUE(log.Contains("trimmed into 1 piece(s).") && log.Contains("New arc created"));
    // The lower half stays: from 180 degrees counter-clockwise to 360.
    EXPECT_FLOAT_EQ(arc->GetRadius(), 100.0f);
    EXPECT_NEAR(arc->GetStartAngle(), 180.0f, 1e-3);
    EXPECT_NEAR(std::fmod(arc->GetEndAngle() + 360.0f, 360.0f), 0.0f, 1e-3);
    // The tool stays for the next piece; one that crosses nothing stays.
    ClickWorld(350, 300);
    EXPECT_EQ(Objects().size(), 3u);
    EXPECT_EQ(Dlg()->GetAction(), ACTION_TRIM_NEXT);
    EXPECT_TRUE(Dlg()->GetStatusText().startsWith(QString::fromUtf8("Das Objekt schneidet kein anderes")));
    ClickButton(CCadDlg::IDC_UNDO);
    EXPECT_NE(dynamic_cast<const CGO_Circle*>(Objects()[0]), nullptr);
    EXPECT_FALSE(Dlg()->GetControl(CCadDlg::IDC_UNDO)->isEnabled());
}

TEST_F(ModifyActions, OffsetByATypedDistanceOrThroughAPoint)
{
    AddLine(0, 0, 200, 0);
    ClickButton(CCadDlg::IDC_OFFSET);
    // Without a distance the copy runs through the point given.
    ClickWorld(100, 0);
    Type("60,40");
    ASSERT_EQ(Objects().size(), 2u);
    ExpectLine(Objects()[1], 0, 40, 200, 40);
    // Digits typed in the drawing window while a pick is wanted go to "Eingabe".
    QTest::keyClick(View(), Qt::Key_2);
    EXPECT_EQ(Entry()->text(), QStringLiteral("2"));
    Type("20");
    EXPECT_TRUE(Dlg()->GetStatusText().endsWith(QStringLiteral("Abstand: 20")));
    for (int copy = 0; copy < 2; ++copy) {
        ClickWorld(100, 0);
        ClickWorld(100, -70);
        ASSERT_EQ(Objects().size(), 3u + copy);
        ExpectLine(Objects().back(), 0, -20, 200, -20);
    }
    for (size_t left : {3u, 2u, 1u}) {
        ClickButton(CCadDlg::IDC_UNDO);
        EXPECT_EQ(Objects().size(), left);
    }
}

TEST_F(ModifyActions, ACopyWithoutRadiusIsRefusedAndLeavesNoStep)
{
    AddCircle(0, 0, 30);
    const char* const radius = "Nicht versetzt: der Radius der Kopie wäre 0 oder kleiner.";
    const struct {
        const char* distance; // empty: through the point
        const char* side;
        const char* status;
    } cases[] = {
        {"50", "5,0", radius}, {"", "0,0", radius}, {"", "30,0", "Nicht versetzt: der Punkt liegt auf dem Objekt."}};
    for (const auto& refused : cases) {
        ClickButton(CCadDlg::IDC_OFFSET);
        if (*refused.distance != '\0')
            Type(refused.distance);
        ClickWorld(-30, 0);
        Type(refused.side);
        EXPECT_EQ(Objects().size(), 1u);
        EXPECT_EQ(Dlg()->GetStatusText(), QString::fromUtf8(refused.status));
        EXPECT_FALSE(Dlg()->GetControl(CCadDlg::IDC_UNDO)->isEnabled());
    }
    Type("-5");
    EXPECT_EQ(Dlg()->GetStatusText(), QString::fromUtf8("Der Abstand muss größer als 0 sein."));
}
