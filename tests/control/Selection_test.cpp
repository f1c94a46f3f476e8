// Selecting and acting on the selection as a user does it in the drawing
// window: clicks, Shift+clicks, window and crossing rectangles, the Delete
// key, the operation buttons, the clipboard and the context menu.
#include "control/ControlTestSupport.h"
#include "edit/Selection.h"
#include "exchange/ClipboardRecord.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>
#include <QProcess>
#include <QTemporaryDir>

using namespace controltest;

namespace {

CSelection* Sel() { return View()->GetSelection(); }
std::vector<int> Selected() { return Sel()->Ids(); }

void ShiftClickWorld(float x, float y)
{
    QTest::mousePress(View(), Qt::LeftButton, Qt::ShiftModifier, PixelFor(x, y));
    QTest::mouseRelease(View(), Qt::LeftButton, Qt::ShiftModifier, PixelFor(x, y));
}

void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) { QTest::keyClick(View(), key, modifiers); }

class Selection : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(StartFresh());
        AddLine(-100, 0, 100, 0);  // #0
        AddCircle(200, 200, 50);   // #1
        AddLine(-300, -300, -250, -250); // #2
    }
    void TearDown() override { EndAnyAction(); }
};

} // namespace

TEST_F(Selection, ClickSelectsOneShiftClickTogglesEmptyClickClears)
{
    ClickWorld(0, 0);
    EXPECT_EQ(Selected(), std::vector<int>({0}));
    EXPECT_EQ(Dlg()->GetStatusText(), QString::fromUtf8("1 Objekt ausgewählt"));
    ClickWorld(250, 200);
    EXPECT_EQ(Selected(), std::vector<int>({1}));
    ShiftClickWorld(0, 0);
    EXPECT_EQ(Selected(), std::vector<int>({0, 1}));
    EXPECT_EQ(Dlg()->GetStatusText(), QString::fromUtf8("2 Objekte ausgewählt"));
    ShiftClickWorld(250, 200);
    EXPECT_EQ(Selected(), std::vector<int>({0}));
    ClickWorld(0, 300);
    EXPECT_TRUE(Selected().empty());
    EXPECT_EQ(Dlg()->GetStatusText(), QStringLiteral("CAD Control Center"));
}

TEST_F(Selection, WindowTakesWhatLiesInsideCrossingWhatItsOutlineTouches)
{
    // Left to right around the first line and half the circle.
    DragWorld(-150, -50, 220, 300);
    EXPECT_EQ(Selected(), std::vector<int>({0}));
    // Right to left over the same area touches the circle too.
    DragWorld(220, 300, -150, -50);
    EXPECT_EQ(Selected(), std::vector<int>({0, 1}));
    // Inside the circle its box is met but not its outline.
    DragWorld(210, 210, 190, 190);
    EXPECT_TRUE(Selected().empty());
    // Shift adds.
    ClickWorld(0, 0);
    QTest::mousePress(View(), Qt::LeftButton, Qt::ShiftModifier, PixelFor(-350, -350));
    QTest::mouseMove(View(), PixelFor(-200, -200));
    QTest::mouseRelease(View(), Qt::LeftButton, Qt::ShiftModifier, PixelFor(-200, -200));
    EXPECT_EQ(Selected(), std::vector<int>({0, 2}));
    Key(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(Selected(), std::vector<int>({0, 1, 2}));
    Key(Qt::Key_Escape);
    EXPECT_TRUE(Selected().empty());
}

TEST_F(Selection, SelectedObjectsAreDrawnInTheirOwnColour)
{
    const auto orangePixels = [] {
        const QImage picture = View()->GrabFramebuffer();
        int count = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x) {
                const QRgb c = picture.pixel(x, y);
                count += qRed(c) > 200 && qGreen(c) > 60 && qGreen(c) < 160 && qBlue(c) < 60;
            }
        return count;
    };
    EXPECT_EQ(orangePixels(), 0);
    ClickWorld(0, 0);
    // The 200 units of the line cover a hundred pixels and more.
    EXPECT_GT(orangePixels(), 80);
    Key(Qt::Key_Escape);
    EXPECT_EQ(orangePixels(), 0);
    // An object picked for an operation is marked while its base point is awaited.
    ClickButton(CCadDlg::IDC_ROTATE_OBJECT);
    ClickWorld(0, 0);
    EXPECT_EQ(Dlg()->GetAction(), ACTION_ROTATE_BASE);
    EXPECT_GT(orangePixels(), 80);
    Key(Qt::Key_Escape);
    EXPECT_EQ(orangePixels(), 0);
}

TEST_F(Selection, DeleteKeyRemovesAllInOneStepAndUndoBringsThemBackSelected)
{
    Key(Qt::Key_A, Qt::ControlModifier);
    Key(Qt::Key_Delete);
    EXPECT_EQ(Db()->GetCount(), 0);
    EXPECT_TRUE(Selected().empty());
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Db()->GetCount(), 3);
    EXPECT_EQ(Selected(), std::vector<int>({0, 1, 2}));
    EXPECT_EQ(Dlg()->GetStatusText(), QString::fromUtf8("3 Objekte ausgewählt"));
    Key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Db()->GetCount(), 0);
    EXPECT_TRUE(Selected().empty());
}

TEST_F(Selection, MoveAndMirrorButtonsActOnTheWholeSelectionWithoutAPick)
{
    Sel()->Set({0, 2});
    ClickButton(CCadDlg::IDC_MOVE_OBJECT);
    EXPECT_EQ(Dlg()->GetAction(), ACTION_MOVE_DRAG);
    DragWorld(400, 400, 410, 390);
    const CGO_Vector v = View()->GetVector();
    EXPECT_GT(v.GetX(), 5.0f);
    ExpectLine(Db()->Lookup(0), -100 + v.GetX(), v.GetY(), 100 + v.GetX(), v.GetY());
    ExpectLine(Db()->Lookup(2), -300 + v.GetX(), -300 + v.GetY(), -250 + v.GetX(), -250 + v.GetY());
    EXPECT_EQ(Dlg()->GetAction(), ACTION_IDLE);
    Key(Qt::Key_Z, Qt::ControlModifier);
    ExpectLine(Db()->Lookup(0), -100, 0, 100, 0);
    ExpectLine(Db()->Lookup(2), -300, -300, -250, -250);

    ClickButton(CCadDlg::IDC_FLIP_OBJECT);
    ClickWorld(-400, 100);
    ClickWorld(400, 100);
    const float mirrorY = dynamic_cast<const CGO_Line*>(Db()->Lookup(0))->GetP1().GetY() / 2;
    EXPECT_NEAR(mirrorY, 100, 3);
    ExpectLine(Db()->Lookup(0), -100, 2 * mirrorY, 100, 2 * mirrorY);
    ExpectLine(Db()->Lookup(2), -300, 2 * mirrorY + 300, -250, 2 * mirrorY + 250);
    Key(Qt::Key_Z, Qt::ControlModifier);
    ExpectLine(Db()->Lookup(2), -300, -300, -250, -250);
}

TEST_F(Selection, CopyThenPasteFollowsTheCursorAndPlacesFreshObjects)
{
    Sel()->Set({0});
    Key(Qt::Key_C, Qt::ControlModifier);
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(data->hasFormat(QString::fromLatin1(clipboard::kMimeType)));
    EXPECT_TRUE(data->text().contains(QStringLiteral("LINE")));
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Dlg()->GetAction(), ACTION_PASTE_PLACE);
    ClickWorld(0, 100);
    ASSERT_EQ(Db()->GetCount(), 4);
    const auto* pasted = dynamic_cast<const CGO_Line*>(Db()->Lookup(3));
    ASSERT_NE(pasted, nullptr);
    EXPECT_NEAR(pasted->GetP1().GetX(), 0, 3);
    EXPECT_NEAR(pasted->GetP1().GetY(), 100, 3);
    EXPECT_FLOAT_EQ(pasted->GetP2().GetX() - pasted->GetP1().GetX(), 200);
    EXPECT_EQ(Selected(), std::vector<int>({3}));
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Db()->GetCount(), 3);
    EXPECT_EQ(Selected(), std::vector<int>({0}));

    Key(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(Db()->GetCount(), 2);
    Key(Qt::Key_D, Qt::ControlModifier); // nothing selected: nothing happens
    EXPECT_EQ(Db()->GetCount(), 2);
}

TEST_F(Selection, ForeignOrDamagedClipboardIsRefusedWithoutTouchingTheDrawing)
{
    QGuiApplication::clipboard()->setText(QStringLiteral("just some words"));
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Dlg()->GetAction(), ACTION_IDLE);
    EXPECT_EQ(Dlg()->GetStatusText(), QString::fromUtf8("Die Zwischenablage enthält keine lumen7-Objekte."));
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(clipboard::kMimeType), QByteArray("lumen7 objects 1\nreference 0"));
    QGuiApplication::clipboard()->setMimeData(data);
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Dlg()->GetAction(), ACTION_IDLE);
    EXPECT_EQ(Db()->GetCount(), 3);
}

TEST_F(Selection, RightClickOnASelectedObjectOffersTheContextMenu)
{
    ClickWorld(0, 0);
    QString chosen;
    QTimer::singleShot(100, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr)
            return;
        for (QAction* action : menu->actions())
            chosen += action->text() + QLatin1Char(' ');
        menu->actions().front()->trigger();
        menu->close();
    });
    Click(PixelFor(0, 0), Qt::RightButton);
    EXPECT_EQ(chosen, QString::fromUtf8("Löschen Verschieben Drehen Skalieren Spiegeln Kopieren Ausschneiden Einfügen "));
    EXPECT_EQ(Db()->GetCount(), 2);
}

TEST_F(Selection, AGroupMoveOneObjectWouldNotSurviveLeavesTheWholeGroup)
{
    View()->TakeWorldCoordinates({-3.2e38, 3.2e38, -3.2e38, 3.2e38});
    AddLine(3.0e38f, 0, 3.1e38f, 0); // #3
    Sel()->Set({0, 3});
    ClickButton(CCadDlg::IDC_MOVE_OBJECT);
    const QPoint from = PixelFor(0, 0);
    QTest::mousePress(View(), Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(View(), from + QPoint(100, 0));
    QTest::mouseRelease(View(), Qt::LeftButton, Qt::NoModifier, from + QPoint(100, 0));
    ExpectLine(Db()->Lookup(0), -100, 0, 100, 0);
    ExpectLine(Db()->Lookup(3), 3.0e38f, 0, 3.1e38f, 0);
    EXPECT_TRUE(Dlg()->GetStatusText().startsWith(QString::fromUtf8("Die Auswahl wurde nicht verändert")));
    EXPECT_EQ(Dlg()->GetHistory()->StepCount(), 0);
}

// The child side of the test below: copies one line and keeps the clipboard
// served until the parent has pasted or ten seconds have passed.
TEST(SelectionChild, CopiesALineAndServesTheClipboard)
{
    if (qgetenv("LUMEN7_SELECTION_CHILD") != "copy")
        GTEST_SKIP() << "runs only as a child process of Selection.CopyInOneProcessPastesInAnother";
    ASSERT_NO_FATAL_FAILURE(StartFresh());
    AddLine(1.0f / 3.0f, 2, 7, 1e-3f);
    Sel()->Set({0});
    Key(Qt::Key_C, Qt::ControlModifier);
    bool taken = false;
    QObject::connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, [&] { taken = true; });
    for (int i = 0; i < 100 && !taken; ++i)
        QTest::qWait(100);
}

TEST_F(Selection, CopyInOneProcessPastesInAnother)
{
    QGuiApplication::clipboard()->clear();
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LUMEN7_SELECTION_CHILD"), QStringLiteral("copy"));
    environment.insert(QStringLiteral("LUMEN7_TEST_WORKDIR"), folder.path());
    QProcess child;
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=SelectionChild.CopiesALineAndServesTheClipboard")});
    const QString type = QString::fromLatin1(clipboard::kMimeType);
    for (int i = 0; i < 100; ++i) {
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        if (data != nullptr && data->hasFormat(type))
            break;
        QTest::qWait(100);
    }
    Key(Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(Dlg()->GetAction(), ACTION_PASTE_PLACE) << Dlg()->GetStatusText().toStdString();
    ClickWorld(0, 0);
    ASSERT_EQ(Db()->GetCount(), 4);
    const auto* pasted = dynamic_cast<const CGO_Line*>(Db()->Lookup(3));
    ASSERT_NE(pasted, nullptr);
    EXPECT_NEAR(pasted->GetP2().GetX() - pasted->GetP1().GetX(), 7 - 1.0f / 3.0f, 1e-5);
    QGuiApplication::clipboard()->setText(QStringLiteral("done"));
    EXPECT_TRUE(child.waitForFinished(15000));
    EXPECT_EQ(child.exitCode(), 0);
}
