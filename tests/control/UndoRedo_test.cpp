// Undo and redo as a user reaches them: the buttons with their states and
// names, the keys in either window, every operation by mouse and by dialog,
// undo in the middle of an operation, and the history around loading,
// saving and quitting.
#include "control/lumen7dlg.h"

#include "control/ControlTestSupport.h"
#include "dialogs/DialogDriver.h"
#include "dialogs/DialogResult.h"
#include "support/LogTail.h"

#include <QAbstractButton>
#include <QFileInfo>

using namespace controltest;

namespace {

const QString kIdle = QStringLiteral("CAD Control Center");

struct Saved {
    int id;
    CGO_ObjectState state;
    bool operator==(const Saved& other) const { return id == other.id && state == other.state; }
};

// The drawing slot by slot, exactly; empty slots as id -1.
std::vector<Saved> Drawing()
{
    std::vector<Saved> drawing;
    for (int slot = 0; slot < Db()->GetSize(); ++slot) {
        const CGO_GeoObject* object = Db()->GetAt(slot);
        drawing.push_back(object ? Saved{object->GetId(), object->SaveState()} : Saved{-1, {}});
    }
    return drawing;
}

QAbstractButton* Button(int id) { return qobject_cast<QAbstractButton*>(Dlg()->GetControl(id)); }

void PressKey(QWindow* window, Qt::Key key, Qt::KeyboardModifiers modifiers) { QTest::keyClick(window, key, modifiers); }

void PressKeyInControlCenter(Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    Dlg()->activateWindow();
    QApplication::setActiveWindow(Dlg());
    QTest::keyClick(Dlg(), key, modifiers);
}

// Runs a dialog that the control center opens from the drawing window, types
// into it and presses one of its buttons.
void InDialog(const std::function<void()> open, const QMap<int, QString>& fields, int button)
{
    dialogtest::RunModal(
        [&] {
            open();
            return 0;
        },
        [&](QDialog* dialog) {
            for (auto it = fields.begin(); it != fields.end(); ++it)
                dialogtest::SetField(dialog, it.key(), it.value());
            dialogtest::Click(dialog, button);
        });
}

class UndoRedo : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(StartFresh());
    }
    void TearDown() override
    {
        Dlg()->SetFileChooser(nullptr);
        EndAnyAction();
    }
    static void DrawLineByMouse(float x1, float y1, float x2, float y2)
    {
        ClickButton(CCadDlg::IDC_DRAW_LINE);
        ClickWorld(x1, y1);
        ClickWorld(x2, y2);
    }
    static void ExpectButtons(const char* undoTip, const char* redoTip)
    {
        EXPECT_EQ(Button(CCadDlg::IDC_UNDO)->isEnabled(), QString::fromUtf8(undoTip).contains(':'));
        EXPECT_EQ(Button(CCadDlg::IDC_UNDO)->toolTip(), QString::fromUtf8(undoTip));
        EXPECT_EQ(Button(CCadDlg::IDC_REDO)->isEnabled(), QString::fromUtf8(redoTip).contains(':'));
        EXPECT_EQ(Button(CCadDlg::IDC_REDO)->toolTip(), QString::fromUtf8(redoTip));
    }
    static void ExpectIdle()
    {
        EXPECT_EQ(Dlg()->GetAction(), ACTION_IDLE);
        EXPECT_EQ(Dlg()->GetStatusText(), kIdle);
        EXPECT_EQ(View()->GetMode(), MODE_IDLE);
        EXPECT_EQ(View()->GetBand(), BAND_NONE);
    }
};

} // namespace

TEST_F(UndoRedo, KeysInBothWindowsAndButtonsStepThroughTheHistory)
{
    ExpectButtons("Rückgängig", "Wiederholen");
    DrawLineByMouse(10, 20, 30, 40);
    const auto drawn = Drawing();
    ExpectButtons("Rückgängig: Linie erstellen", "Wiederholen");

    testsupport::LogTail log;
    PressKey(View(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Db()->GetAt(0), nullptr);
    EXPECT_TRUE(log.Contains("[INFO] Undo: line #0 created."));
    ExpectButtons("Rückgängig", "Wiederholen: Linie erstellen");

    PressKeyInControlCenter(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Drawing(), drawn);
    EXPECT_TRUE(log.Contains("[INFO] Redo: line #0 created."));
    PressKeyInControlCenter(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Db()->GetAt(0), nullptr);
    PressKey(View(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Drawing(), drawn);
    PressKey(View(), Qt::Key_Z, Qt::ControlModifier);
    PressKeyInControlCenter(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Drawing(), drawn);

    ClickButton(CCadDlg::IDC_UNDO);
    EXPECT_EQ(Db()->GetAt(0), nullptr);
    ClickButton(CCadDlg::IDC_REDO);
    EXPECT_EQ(Drawing(), drawn);
    ExpectButtons("Rückgängig: Linie erstellen", "Wiederholen");
    // With nothing more to redo, the keys change nothing.
    PressKey(View(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Drawing(), drawn);
}

TEST_F(UndoRedo, EveryOperationByMouseOrDialogIsOneStepNamedAfterIt)
{
    const auto middleClick = [] { Click(PixelFor(0, 0), Qt::MiddleButton); };
    const struct {
        const char* name;
        std::function<void()> operation;
    } cases[] = {
        {"Linie erstellen", [] { DrawLineByMouse(-50, -50, 60, 70); }},
        {"Linie erstellen",
         [&] {
             ClickButton(CCadDlg::IDC_DRAW_LINE);
             InDialog(middleClick, {{1017, "1"}, {1019, "2"}, {1018, "3"}, {1020, "4"}}, 1);
         }},
        {"Kreis erstellen",
         [] {
             ClickButton(CCadDlg::IDC_DRAW_CIRCLE);
             ClickWorld(-100, -100);
             ClickWorld(-100, -80);
         }},
        {"Objekt löschen", [] { ClickButton(CCadDlg::IDC_DELETE_OBJECT); ClickWorld(20, 30); }},
        {"Objekt verschieben",
         [] {
             ClickButton(CCadDlg::IDC_MOVE_OBJECT);
             ClickWorld(20, 30);
             DragWorld(0, 0, 40, -20);
         }},
        {"Objekt drehen",
         [] {
             ClickButton(CCadDlg::IDC_ROTATE_OBJECT);
             ClickWorld(20, 30);
             InDialog([] { ClickWorld(10, 20); }, {{1024, "30"}}, 1);
         }},
        {"Objekt skalieren",
         [] {
             ClickButton(CCadDlg::IDC_SCALE_OBJECT);
             ClickWorld(20, 30);
             InDialog([] { ClickWorld(10, 20); }, {{1027, "3"}}, 1);
         }},
        {"An Gerade spiegeln",
         [] {
             ClickButton(CCadDlg::IDC_FLIP_OBJECT);
             ClickWorld(20, 30);
             ClickWorld(0, 0);
             ClickWorld(100, 10);
         }},
        {"Horizontal spiegeln",
         [&] {
             ClickButton(CCadDlg::IDC_FLIP_OBJECT);
             ClickWorld(20, 30);
             InDialog(middleClick, {}, 1029);
         }},
        {"Vertikal spiegeln", [&] { ClickButton(CCadDlg::IDC_FLIP_OBJECT); InDialog(middleClick, {{1016, "0"}}, 1028); }},
        {"Am Ursprung spiegeln",
         [&] {
             ClickButton(CCadDlg::IDC_FLIP_OBJECT);
             InDialog(middleClick, {{1016, "0"}}, 1031);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        AddLine(10, 20, 30, 40);  // #0, put there directly: no step of its own
        const auto before = Drawing();
        c.operation();
        const auto after = Drawing();
        ASSERT_NE(after, before);
        ExpectButtons((std::string("Rückgängig: ") + c.name).c_str(), "Wiederholen");
        EXPECT_EQ(Dlg()->GetHistory()->StepCount(), 1);

        ClickButton(CCadDlg::IDC_UNDO);
        // Exactly as before, and the slot of a new object empty at the end.
        std::vector<Saved> undone = Drawing();
        undone.resize(before.size());
        EXPECT_EQ(undone, before);
        ExpectButtons("Rückgängig", (std::string("Wiederholen: ") + c.name).c_str());
        ClickButton(CCadDlg::IDC_REDO);
        EXPECT_EQ(Drawing(), after);
    }
}

TEST_F(UndoRedo, UndoEndsTheOperationUnderWayAndNothingRefersToTheVanishedObject)
{
    const struct {
        const char* what;
        std::function<void()> start;
        std::function<void()> finish;
    } cases[] = {
        {"line under way", [] { ClickButton(CCadDlg::IDC_DRAW_LINE); ClickWorld(-50, 50); },
         [] { ClickWorld(50, 50); }},
        {"drag in progress",
         [] {
             ClickButton(CCadDlg::IDC_MOVE_OBJECT);
             ClickWorld(20, 30);
             QTest::mousePress(View(), Qt::LeftButton, Qt::NoModifier, PixelFor(20, 30));
             QTest::mouseMove(View(), PixelFor(60, 30));
         },
         [] { QTest::mouseRelease(View(), Qt::LeftButton, Qt::NoModifier, PixelFor(60, 30)); }},
        {"pick held for a rotation", [] { ClickButton(CCadDlg::IDC_ROTATE_OBJECT); ClickWorld(20, 30); },
         [] { ClickWorld(0, 0); }},
        {"first mirror point held",
         [] {
             ClickButton(CCadDlg::IDC_FLIP_OBJECT);
             ClickWorld(20, 30);
             ClickWorld(0, 0);
         },
         [] { ClickWorld(0, 100); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        DrawLineByMouse(10, 20, 30, 40);
        c.start();
        PressKey(View(), Qt::Key_Z, Qt::ControlModifier);
        ExpectIdle();
        EXPECT_EQ(Db()->GetAt(0), nullptr) << "the line was not undone";
        ModalCloser closer;
        c.finish();
        EXPECT_TRUE(closer.Seen().empty()) << "a window opened after the operation had ended";
        EXPECT_TRUE(Objects().empty());
        ExpectButtons("Rückgängig", "Wiederholen: Linie erstellen");
    }
}

TEST_F(UndoRedo, EscapeInTheDrawingWindowEndsTheOperationWithoutChangingAnything)
{
    DrawLineByMouse(10, 20, 30, 40);
    ClickButton(CCadDlg::IDC_DRAW_LINE);
    ClickWorld(-50, 50);
    EXPECT_EQ(View()->GetBand(), BAND_LINE);
    PressKey(View(), Qt::Key_Escape, Qt::NoModifier);
    ExpectIdle();
    EXPECT_EQ(Objects().size(), 1u);
    EXPECT_EQ(Dlg()->GetHistory()->StepCount(), 1);
}

class UndoRedoFiles : public UndoRedo {
protected:
    static QString Here(const char* name) { return QFileInfo(QString::fromUtf8(name)).absoluteFilePath(); }
};

TEST_F(UndoRedoFiles, ALoadStartsANewHistory)
{
    const QString path = Here("history.dat");
    Dlg()->SetFileChooser([path](bool) { return path; });
    DrawLineByMouse(10, 20, 30, 40);
    ClickButton(CCadDlg::IDC_SAVE);
    DrawLineByMouse(-10, -20, -30, -40);
    {
        QuestionAnswerer discard(QStringLiteral("Verwerfen"));
        ClickButton(CCadDlg::IDC_LOAD);
    }
    ExpectButtons("Rückgängig", "Wiederholen");
    const auto loaded = Drawing();
    PressKey(View(), Qt::Key_Z, Qt::ControlModifier);
    ClickButton(CCadDlg::IDC_UNDO);
    EXPECT_EQ(Drawing(), loaded);
}

TEST_F(UndoRedoFiles, UndoingBackToTheSavedDrawingLeavesNothingToAskOnQuitting)
{
    const QString path = Here("saved point.dat");
    Dlg()->SetFileChooser([path](bool) { return path; });
    DrawLineByMouse(10, 20, 30, 40);
    DrawLineByMouse(10, -20, 30, -40);
    ClickButton(CCadDlg::IDC_SAVE);
    DrawLineByMouse(-10, -20, -30, -40);
    ClickButton(CCadDlg::IDC_UNDO);
    {
        QuestionAnswerer answerer(QStringLiteral("Abbrechen"));
        EXPECT_TRUE(TryToQuit([] { ClickButton(CCadDlg::IDC_QUIT); }));
        EXPECT_TRUE(answerer.Question().isEmpty()) << answerer.Question().toStdString();
    }
    // One step further back the drawing differs from the saved one again
    // and still holds a line that would be lost.
    ClickButton(CCadDlg::IDC_UNDO);
    QuestionAnswerer answerer(QStringLiteral("Abbrechen"));
    EXPECT_FALSE(TryToQuit([] { ClickButton(CCadDlg::IDC_QUIT); }));
    EXPECT_FALSE(answerer.Question().isEmpty());
}
