// The dialogs as the control center opens them: the middle button in every
// action, the rotate and scale actions after their base point, and the
// world-range button, with the real drawing window and mouse.
#include "control/ControlTestSupport.h"
#include "dialogs/DialogDriver.h"

#include "dialogs/DialogResult.h"
#include "support/LogTail.h"

#include <QScreen>

#include <string>

namespace {

using controltest::ClickButton;
using controltest::ClickWorld;
using controltest::Db;
using controltest::Dlg;
using controltest::ExpectLine;
using controltest::ModalCloser;
using controltest::Objects;
using controltest::PixelFor;
using controltest::View;
using testsupport::LogTail;

const char kRendered[] = "[DEBUG] Drawn all display lists.";

std::string LastLine(const LogTail& log)
{
    const auto lines = log.Lines();
    return lines.empty() ? std::string() : lines.back();
}

void MiddleClick()
{
    controltest::Click(PixelFor(0, 0), Qt::MiddleButton);
}

// Puts every operation dialog at the bottom right of the screen before it
// appears. A dialog over the drawing window would make it repaint when the
// dialog closes, and that repaint could not be told apart from the control
// center's redraw after a confirmed dialog.
class DialogsAside : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* dialog = qobject_cast<QDialog*>(watched);
        if (event->type() == QEvent::Show && dialog && dialog != Dlg() && dialog->isWindow()) {
            const QRect screen = dialog->screen()->availableGeometry();
            dialog->move(screen.right() - dialog->frameGeometry().width() - 10,
                         screen.bottom() - dialog->frameGeometry().height() - 10);
        }
        return false;
    }
};

class DialogWiring : public ::testing::Test {
protected:
    void SetUp() override
    {
        qApp->installEventFilter(&m_aside);
        Dlg()->Open();
        ASSERT_TRUE(Dlg()->HasDrawingWindow()) << "no OpenGL for the drawing window";
        ASSERT_TRUE(QTest::qWaitForWindowExposed(View()));
        EndAnyAction();
        Db()->Clear();
        View()->Render();
        // Let the windows' first paints pass, so that every later redraw
        // comes from what the test does.
        QTest::qWait(200);
        // Clicked points must be exact world points for the filled-in texts.
        CGO_Point probe;
        View()->WindowToWorld(PixelFor(10, 20).x(), PixelFor(10, 20).y(), &probe);
        ASSERT_EQ(probe.GetX(), 10.0f);
        ASSERT_EQ(probe.GetY(), 20.0f);
    }

    void TearDown() override
    {
        qApp->removeEventFilter(&m_aside);
        EndAnyAction();
        View()->GetGraphics()->SetWorldCoordinates(-500, 500, -500, 500);
        View()->setTitle(QStringLiteral("CAD-Programm (-500, 500 | -500, 500)"));
    }

    static void EndAnyAction()
    {
        ModalCloser closer;
        if (Dlg()->GetAction() != ACTION_IDLE)
            MiddleClick();
    }

    DialogsAside m_aside;
};

// Each operation, begun with the mouse, ends in its own dialog on the middle
// button, showing what the mouse gave so far; cancelled, nothing is redrawn
// and the action ends.
TEST_F(DialogWiring, MiddleButtonOpensTheActionsDialogFilledIn)
{
    const int id = controltest::AddLine(-100, 0, 100, 0)->GetId();
    const QString idText = QString::number(id);
    const struct {
        int button;
        bool pick;  // click the line first; otherwise click (10, 20)
        int clicks;
        const char* className;
        QMap<int, QString> filled;
    } cases[] = {
        {CCadDlg::IDC_DELETE_OBJECT, false, 0, "CDialogDelObject", {}},
        {CCadDlg::IDC_DRAW_LINE, false, 0, "CDialogDrawLine", {}},
        {CCadDlg::IDC_DRAW_LINE, false, 1, "CDialogDrawLine", {{1017, "10.00"}, {1019, "20.00"}}},
        {CCadDlg::IDC_DRAW_CIRCLE, false, 1, "CDialogDrawCircle",
         {{1002, "10.00"}, {1003, "10.00"}, {1012, "20.00"}, {1015, "20.00"}}},
        {CCadDlg::IDC_MOVE_OBJECT, true, 1, "CDialogMoveObject", {{1016, idText}}},
        {CCadDlg::IDC_ROTATE_OBJECT, false, 0, "CDialogRotateObject", {}},
        {CCadDlg::IDC_ROTATE_OBJECT, true, 1, "CDialogRotateObject", {{1016, idText}}},
        {CCadDlg::IDC_SCALE_OBJECT, true, 1, "CDialogScaleObject", {{1016, idText}}},
        {CCadDlg::IDC_FLIP_OBJECT, true, 1, "CDialogFlipObject", {{1016, idText}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.className) + " after " + std::to_string(c.clicks) + " clicks");
        ClickButton(c.button);
        if (c.clicks == 1)
            c.pick ? ClickWorld(0, 0) : ClickWorld(10, 20);
        LogTail log;
        QString className;
        QMap<int, QString> texts;
        dialogtest::RunModal(
            [] {
                MiddleClick();
                return 0;
            },
            [&](QDialog* dialog) {
                className = QString::fromLatin1(dialog->metaObject()->className());
                texts = dialogtest::FieldTexts(dialog);
                QTest::keyClick(dialog, Qt::Key_Escape);
            });
        EXPECT_EQ(className, QString::fromLatin1(c.className));
        for (auto it = texts.begin(); it != texts.end(); ++it)
            EXPECT_EQ(it.value(), c.filled.value(it.key())) << "field " << it.key();
        EXPECT_FALSE(log.Contains(kRendered));
        EXPECT_EQ(Dlg()->GetAction(), ACTION_IDLE);
    }
    ExpectLine(Objects().at(0), -100, 0, 100, 0);
}

TEST_F(DialogWiring, LineStartedWithTheMouseIsFinishedByTyping)
{
    ClickButton(CCadDlg::IDC_DRAW_LINE);
    ClickWorld(10, 20);
    LogTail log;
    dialogtest::RunModal(
        [] {
            MiddleClick();
            return 0;
        },
        [](QDialog* dialog) {
            dialogtest::SetField(dialog, 1018, "30");
            dialogtest::SetField(dialog, 1020, "40");
            dialogtest::Click(dialog, 1);
        });
    ASSERT_EQ(Objects().size(), 1u);
    ExpectLine(Objects()[0], 10, 20, 30, 40);
    EXPECT_EQ(LastLine(log), kRendered);
    EXPECT_EQ(Dlg()->GetAction(), ACTION_IDLE);
    EXPECT_EQ(Dlg()->GetStatusText(), QStringLiteral("CAD Control Center"));
}

// After the pick and the base point the dialog opens by itself, showing both;
// the user types only the angle or the factor.
TEST_F(DialogWiring, RotateAndScaleBegunWithTheMouseEndInTheirDialogs)
{
    const struct {
        int button;
        int field;
        const char* value;
        float x2, y2;  // where (30, 40) goes, about the base point (10, 20)
    } cases[] = {
        {CCadDlg::IDC_ROTATE_OBJECT, 1024, "90", -10, 40},
        {CCadDlg::IDC_SCALE_OBJECT, 1027, "2", 50, 60},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        Db()->Clear();
        const int id = controltest::AddLine(10, 20, 30, 40)->GetId();
        ClickButton(c.button);
        ClickWorld(20, 30);
        LogTail log;
        QMap<int, QString> shown;
        dialogtest::RunModal(
            [] {
                ClickWorld(10, 20);
                return 0;
            },
            [&](QDialog* dialog) {
                shown = dialogtest::FieldTexts(dialog);
                dialogtest::SetField(dialog, c.field, QString::fromLatin1(c.value));
                dialogtest::Click(dialog, 1);
            });
        EXPECT_EQ(shown.value(1016), QString::number(id));
        EXPECT_EQ(shown.value(1025), "10.00");
        EXPECT_EQ(shown.value(1026), "20.00");
        ExpectLine(Objects().at(0), 10, 20, c.x2, c.y2);
        EXPECT_EQ(LastLine(log), kRendered);
        EXPECT_EQ(Dlg()->GetAction(), ACTION_IDLE);
    }
}

// Runs the world-range dialog from its button: types texts, then clicks
// button (0: Escape). Returns what the dialog showed when it opened.
QMap<int, QString> WorldRangeDialog(const QMap<int, QString>& texts, int button)
{
    QMap<int, QString> shown;
    dialogtest::RunModal(
        [] {
            ClickButton(CCadDlg::IDC_CHANGE_WC);
            return 0;
        },
        [&](QDialog* dialog) {
            shown = dialogtest::FieldTexts(dialog);
            for (auto it = texts.begin(); it != texts.end(); ++it)
                dialogtest::SetField(dialog, it.key(), it.value());
            if (button == 0)
                QTest::keyClick(dialog, Qt::Key_Escape);
            else
                dialogtest::Click(dialog, button);
        });
    return shown;
}

// The caption names the range in effect: it changes when a range is taken,
// and stays when one is rejected or the dialog is cancelled (no redraw then).
TEST_F(DialogWiring, WorldRangeButtonChangesRangeAndCaptionTogether)
{
    const QString initial = View()->title();
    LogTail log;
    WorldRangeDialog({{1030, "1"}}, 0);
    EXPECT_FALSE(log.Contains(kRendered));
    EXPECT_EQ(View()->title(), initial);

    const QMap<int, QString> shown = WorldRangeDialog({}, 1);
    EXPECT_EQ(shown, (QMap<int, QString>{{1030, "-500.00"}, {1031, "500.00"}, {1032, "-500.00"}, {1033, "500.00"}}));
    EXPECT_EQ(View()->title(), QStringLiteral("CAD-Programm (-500.0, 500.0 | -500.0, 500.0)"));
    EXPECT_TRUE(log.Contains("[DEBUG] Dialog 'CDialogChangeWC' is trying to change world coordinates to "
                             "X(-500.0, 500.0), Y(-500.0, 500.0)..."));
    EXPECT_EQ(LastLine(log), kRendered);

    WorldRangeDialog({{1030, "100"}, {1031, "50"}}, 1);
    EXPECT_EQ(View()->title(), QStringLiteral("CAD-Programm (-500.0, 500.0 | -500.0, 500.0)"));
    EXPECT_EQ(View()->GetGraphics()->GetWorldCoordinates().xMin, -500.0);

    WorldRangeDialog({{1030, "-100"}, {1031, "100"}, {1032, "-50"}, {1033, "50"}}, 1);
    EXPECT_EQ(View()->title(), QStringLiteral("CAD-Programm (-100.0, 100.0 | -50.0, 50.0)"));
    EXPECT_EQ(View()->GetGraphics()->GetWorldCoordinates().yMax, 50.0);
}

} // namespace
