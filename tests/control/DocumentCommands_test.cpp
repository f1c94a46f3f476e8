// The file keys in both windows, the current file's pane, and the view after
// "Laden" of a drawing that lies outside the world range.
#include "control/ControlTestSupport.h"
#include "control/CurrentDocument.h"

#include <QFileInfo>

using namespace controltest;

namespace {

class DocumentCommands : public ::testing::Test {
protected:
    void SetUp() override
    {
        Dlg()->Open();
        ASSERT_TRUE(Dlg()->HasDrawingWindow());
        View()->MakeCurrent();
        Db()->Clear();
        Dlg()->OnNew();
        View()->Navigator().SetRange({-500, 500, -500, 500});
        Dlg()->SetFileChooser([this](int purpose) {
            ++chosen;
            return purpose == 0 ? openPath : savePath;
        });
    }
    void TearDown() override
    {
        Dlg()->SetFileChooser(nullptr);
        View()->Navigator().SetRange({-500, 500, -500, 500});
    }

    void Key(int key, Qt::KeyboardModifiers modifiers) { QTest::keyClick(View(), Qt::Key(key), modifiers); }
    QString Pane() const { return Dlg()->GetDocument()->PaneText(); }

    int chosen = 0;
    QString openPath;
    QString savePath = QStringLiteral("document.dat");
};

} // namespace

TEST_F(DocumentCommands, CtrlSSavesToTheCurrentFileWithoutAskingAndCtrlNStartsAnew)
{
    Dlg()->GetEditor().CreateLine(CGO_Point(0, 0), CGO_Point(10, 10));
    EXPECT_EQ(Pane(), QStringLiteral("Unbenannt *"));
    // Without a file yet, Ctrl+S asks like "Speichern".
    Key(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(chosen, 1);
    EXPECT_EQ(Pane(), QStringLiteral("document.dat"));
    EXPECT_EQ(Dlg()->GetDocument()->PaneToolTip(), QFileInfo(savePath).absoluteFilePath());

    Dlg()->GetEditor().CreateCircle(CGO_Point(0, 0), 5.0f);
    EXPECT_EQ(Pane(), QStringLiteral("document.dat *"));
    Key(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(chosen, 1) << "Ctrl+S asked for a name although the drawing has a file";
    EXPECT_EQ(Pane(), QStringLiteral("document.dat"));
    // Ctrl+Shift+S always asks.
    savePath = QStringLiteral("copy.dat");
    Key(Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(chosen, 2);
    EXPECT_EQ(Pane(), QStringLiteral("copy.dat"));

    // Saved: Ctrl+N in the control center asks nothing and leaves an empty
    // drawing without a file.
    Dlg()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Dlg()));
    QTest::keyClick(Dlg(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(Db()->GetCount(), 0);
    EXPECT_EQ(Pane(), QStringLiteral("Unbenannt"));

    // Ctrl+O loads what Ctrl+S wrote: both objects.
    openPath = QStringLiteral("document.dat");
    Key(Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(Db()->GetCount(), 2);
    EXPECT_EQ(Pane(), QStringLiteral("document.dat"));
}

TEST_F(DocumentCommands, NewAsksFirstWhenThereAreUnsavedChanges)
{
    Dlg()->GetEditor().CreateLine(CGO_Point(0, 0), CGO_Point(10, 10));
    ModalCloser closer;  // rejects the question: the drawing stays
    ClickButton(CCadDlg::IDC_NEW);
    ASSERT_EQ(closer.Seen().size(), 1u);
    EXPECT_EQ(Db()->GetCount(), 1);
}

TEST_F(DocumentCommands, ALoadOutsideTheRangeFitsAndSaysSo)
{
    Dlg()->GetEditor().CreateLine(CGO_Point(4900, 0), CGO_Point(5100, 20));
    Key(Qt::Key_S, Qt::ControlModifier);
    Db()->Clear();
    openPath = savePath;
    Key(Qt::Key_O, Qt::ControlModifier);
    const WorldCoordinates range = View()->GetGraphics()->GetWorldCoordinates();
    EXPECT_LE(range.xMin, 4900);
    EXPECT_GE(range.xMax, 5100);
    EXPECT_TRUE(Dlg()->GetStatusText().startsWith(QString::fromUtf8("Von der geladenen Zeichnung")));

    // Partly visible: the range is kept.
    View()->Navigator().SetRange({4000, 5000, -500, 500});
    ClickButton(CCadDlg::IDC_LOAD);
    EXPECT_EQ(View()->GetGraphics()->GetWorldCoordinates().xMin, 4000);
    EXPECT_EQ(Dlg()->GetStatusText(), QStringLiteral("CAD Control Center"));
}
