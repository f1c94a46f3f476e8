// "Bogen zeichnen" with the mouse: the centre, the start point (radius and
// start angle), then a point in the direction of the end angle; the arc is
// one undo step.
#include "control/ControlTestSupport.h"
#include "control/lumen7dlg.h"
#include "geometry/GO_Arc.h"

#include <QLineEdit>

#include <gtest/gtest.h>

using namespace controltest;

TEST(DrawArc, ThreeClicksMakeAnArcCounterClockwiseFromTheStartPoint)
{
    ASSERT_NO_FATAL_FAILURE(StartFresh());
    ClickButton(CCadDlg::IDC_DRAW_ARC);
    EXPECT_EQ(Dlg()->GetAction(), ACTION_ARC_CENTER);
    ClickWorld(100, 100);
    EXPECT_EQ(View()->GetPreview(), PREVIEW_CIRCLE);
    ClickWorld(100, 200);
    EXPECT_EQ(Dlg()->GetAction(), ACTION_ARC_END);
    EXPECT_EQ(View()->GetPreview(), PREVIEW_ARC);
    EXPECT_EQ(Dlg()->GetStatusText(), QString::fromUtf8("Aktion: Endwinkel wählen | Menü: mittlere Maustaste"));
    ClickWorld(0, 100);
    EXPECT_EQ(Dlg()->GetAction(), ACTION_IDLE);

    const auto objects = Objects();
    ASSERT_EQ(objects.size(), 1u);
    const auto* arc = dynamic_cast<const CGO_Arc*>(objects[0]);
    ASSERT_NE(arc, nullptr);
    EXPECT_NEAR(arc->GetCenter().x, 100.0f, 1.0f);
    EXPECT_NEAR(arc->GetCenter().y, 100.0f, 1.0f);
    EXPECT_NEAR(arc->GetRadius(), 100.0f, 2.0f);
    EXPECT_NEAR(arc->GetStartAngle(), 90.0f, 1.0f);
    EXPECT_NEAR(arc->GetEndAngle(), 180.0f, 1.0f);

    ClickButton(CCadDlg::IDC_UNDO);
    EXPECT_TRUE(Objects().empty());
    ClickButton(CCadDlg::IDC_REDO);
    ASSERT_EQ(Objects().size(), 1u);
    EXPECT_NE(dynamic_cast<const CGO_Arc*>(Objects()[0]), nullptr);
}

TEST(DrawArc, TheMiddleButtonAfterTheStartPointFillsCentreRadiusAndStartAngle)
{
    ASSERT_NO_FATAL_FAILURE(StartFresh());
    auto* entry = qobject_cast<QLineEdit*>(Dlg()->GetControl(CCadDlg::IDC_ENTRY));
    ClickButton(CCadDlg::IDC_DRAW_ARC);
    for (const char* point : {"100,100", "100,-50"}) {
        entry->setText(QString::fromUtf8(point));
        QTest::keyClick(entry, Qt::Key_Return);
    }
    QStringList shown;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&shown] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            for (int id : {1002, 1012, 1016, 1003, 1015})
                shown << dialog->findChild<QLineEdit*>(QStringLiteral("control%1").arg(id))->text();
            dialog->reject();
        }
    });
    poll.start(20);
    Click(PixelFor(0, 0), Qt::MiddleButton);
    EXPECT_EQ(shown.join(QLatin1Char(' ')), QStringLiteral("100.00 100.00 150.00 -90.00 "));
}
