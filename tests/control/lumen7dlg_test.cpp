// End-to-end use of the control center: its buttons clicked and the mouse
// used in the real drawing window, checked through the drawing, the status
// line, the drawing window's mode and the log.
#include "control/lumen7dlg.h"

#include "control/ControlTestSupport.h"
#include "dialogs/DialogResult.h"
#include "geometry/GO_Circle.h"
#include "log/CFormat.h"
#include "support/LogTail.h"

#include <QAbstractButton>
#include <QFileInfo>

#include <fstream>
#include <functional>

using namespace controltest;

namespace {

const QString kIdle = QStringLiteral("CAD Control Center");
const QString kSecondPoint = QString::fromUtf8("Aktion: 2. Punkt wählen | Menü: mittlere Maustaste");
const QString kSelectObject = QString::fromUtf8("Aktion: Objekt auswählen | Menü: mittlere Maustaste");
const QString kDrag = QString::fromUtf8("Aktion: Verschieben bei gedrückter Maustaste | Menü: mittlere Maustaste");
const QString kEnterData = QString::fromUtf8("Bitte geben Sie die gewünschten Daten ein.");

std::string Debug(const char* format, double x, double y) { return "[DEBUG] " + StringFormatC(format, x, y); }

class ControlCenter : public ::testing::Test {
protected:
    void SetUp() override
    {
        Dlg()->Open();
        ASSERT_TRUE(Dlg()->HasDrawingWindow()) << "no OpenGL for the drawing window";
        ASSERT_TRUE(QTest::qWaitForWindowExposed(View()));
        EndAnyAction();
        Db()->Clear();
        View()->Render();
        // World points must fall on pixel corners, or the logged coordinates
        // would carry rounding.
        CGO_Point probe;
        View()->WindowToWorld(PixelFor(10, 20).x(), PixelFor(10, 20).y(), &probe);
        ASSERT_EQ(probe.GetX(), 10.0f);
        ASSERT_EQ(probe.GetY(), 20.0f);
        log.Restart();
    }

    void TearDown() override
    {
        Dlg()->SetFileChooser(nullptr);
        EndAnyAction();
    }

    // The middle button ends every action; its dialog, if any, is cancelled.
    static void ExpectIdle()
    {
        EXPECT_EQ(Dlg()->GetAction(), ACTION_IDLE);
        EXPECT_EQ(Dlg()->GetStatusText(), kIdle);
        EXPECT_EQ(View()->GetMode(), MODE_IDLE);
    }

    static void ExpectState(int action, const QString& status, int mode)
    {
        EXPECT_EQ(Dlg()->GetAction(), action);
        EXPECT_EQ(Dlg()->GetStatusText(), status);
        EXPECT_EQ(View()->GetMode(), mode);
    }

    static void ButtonThenClick(int button, float x, float y)
    {
        ClickButton(button);
        ClickWorld(x, y);
    }

    testsupport::LogTail log;
};

TEST_F(ControlCenter, EachOperationButtonStartsItsActionWhateverWasUnderWay)
{
    const struct {
        int button, action, mode;
        const char* status;
    } cases[] = {
        {CCadDlg::IDC_DRAW_LINE, ACTION_LINE_START, MODE_POINT, "Aktion: 1. Punkt wählen | Menü: mittlere Maustaste"},
        {CCadDlg::IDC_DRAW_CIRCLE, ACTION_CIRCLE_CENTER, MODE_POINT,
         "Aktion: Mittelpunkt wählen | Menü: mittlere Maustaste"},
        {CCadDlg::IDC_DELETE_OBJECT, ACTION_DELETE_PICK, MODE_PICK, nullptr},
        {CCadDlg::IDC_MOVE_OBJECT, ACTION_MOVE_PICK, MODE_PICK, nullptr},
        {CCadDlg::IDC_ROTATE_OBJECT, ACTION_ROTATE_PICK, MODE_PICK, nullptr},
        {CCadDlg::IDC_SCALE_OBJECT, ACTION_SCALE_PICK, MODE_PICK, nullptr},
        {CCadDlg::IDC_FLIP_OBJECT, ACTION_FLIP_PICK, MODE_PICK, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.button);
        ClickButton(c.button);
        ExpectState(c.action, c.status ? QString::fromUtf8(c.status) : kSelectObject, c.mode);
    }
    EXPECT_TRUE(log.Lines().empty());
}

TEST_F(ControlCenter, LineAndCircleByTwoClicks)
{
    ClickButton(CCadDlg::IDC_DRAW_LINE);
    ClickWorld(10, 20);
    ExpectState(ACTION_LINE_END, kSecondPoint, MODE_POINT);
    EXPECT_EQ(View()->GetBand(), BAND_LINE);
    ClickWorld(30, 40);
    ExpectIdle();

    ClickButton(CCadDlg::IDC_DRAW_CIRCLE);
    ClickWorld(-10, -20);
    ExpectState(ACTION_CIRCLE_POINT, QString::fromUtf8("Aktion: Radius wählen | Menü: mittlere Maustaste"),
                MODE_POINT);
    ClickWorld(20, 20);
    ExpectIdle();

    const std::vector<std::string> steps = {
        Debug("Mouse Event: Line start point located at (%4.1f, %4.1f).", 10, 20),
        Debug("Mouse Event: Line end point located at (%4.1f, %4.1f). Drawing line...", 30, 40),
        Debug("Mouse Event: Circle center located at (%4.1f, %4.1f).", -10, -20),
        Debug("Mouse Event: Circle peripheral point located at (%4.1f, %4.1f). Drawing circle...", 20, 20),
    };
    std::vector<std::string> seen;
    for (const std::string& line : log.Lines())
        if (line.find("Mouse Event") != std::string::npos)
            seen.push_back(line);
    EXPECT_EQ(seen, steps);

    const auto objects = Objects();
    ASSERT_EQ(objects.size(), 2u);
    ExpectLine(objects[0], 10, 20, 30, 40);
    auto* circle = dynamic_cast<const CGO_Circle*>(objects[1]);
    ASSERT_NE(circle, nullptr);
    EXPECT_EQ(circle->GetCenter().GetX(), -10.0f);
    EXPECT_EQ(circle->GetCenter().GetY(), -20.0f);
    EXPECT_FLOAT_EQ(circle->GetRadius(), 50.0f);
}

TEST_F(ControlCenter, CircleButtonAbandonsAStartedLine)
{
    ClickButton(CCadDlg::IDC_DRAW_LINE);
    ClickWorld(10, 20);
    ClickButton(CCadDlg::IDC_DRAW_CIRCLE);
    EXPECT_EQ(View()->GetBand(), BAND_NONE);
    ClickWorld(30, 40);
    EXPECT_TRUE(log.Contains(Debug("Mouse Event: Circle center located at (%4.1f, %4.1f).", 30, 40)));
    EXPECT_EQ(Dlg()->GetAction(), ACTION_CIRCLE_POINT);
    EXPECT_TRUE(Objects().empty());
}

TEST_F(ControlCenter, RightClickDropsTheBandButKeepsTheAction)
{
    ClickButton(CCadDlg::IDC_DRAW_LINE);
    ClickWorld(10, 20);
    Click(PixelFor(50, 50), Qt::RightButton);
    ExpectState(ACTION_LINE_END, kSecondPoint, MODE_IDLE);
    EXPECT_EQ(View()->GetBand(), BAND_NONE);
    // The left button now reports nothing.
    ClickWorld(30, 40);
    EXPECT_EQ(Dlg()->GetAction(), ACTION_LINE_END);
    EXPECT_TRUE(Objects().empty());
}

TEST_F(ControlCenter, DeleteByPickRemovesAtOnce)
{
    AddLine(10, 20, 30, 40);
    AddLine(-100, -100, -50, -50);
    ButtonThenClick(CCadDlg::IDC_DELETE_OBJECT, 20, 30);
    ExpectIdle();
    EXPECT_TRUE(log.Contains("[DEBUG] Object #0 picked!"));
    const auto objects = Objects();
    ASSERT_EQ(objects.size(), 1u);
    EXPECT_EQ(objects[0]->GetId(), 1);
}

TEST_F(ControlCenter, ZeroLengthDragKeepsTheMoveAndTheNextDragMoves)
{
    AddLine(10, 20, 30, 40);
    ButtonThenClick(CCadDlg::IDC_MOVE_OBJECT, 20, 30);
    ExpectState(ACTION_MOVE_DRAG, kDrag, MODE_DRAG);

    log.Restart();
    Click(PixelFor(20, 30));
    EXPECT_EQ(log.Lines(), std::vector<std::string>{"[DEBUG] Object #0 found in database."});
    // The drawing window must wait for the drag that the status text asks for.
    ExpectState(ACTION_MOVE_DRAG, kDrag, MODE_DRAG);
    ExpectLine(Objects()[0], 10, 20, 30, 40);

    DragWorld(20, 30, 60, 90);
    ExpectIdle();
    EXPECT_TRUE(log.Contains(Debug("Mouse Event: Moving picked object #0 by vector (%4.1f, %4.1f).", 40, 60)));
    ExpectLine(Objects()[0], 50, 80, 70, 100);
}

TEST_F(ControlCenter, MirrorAtALineThroughTwoClickedPoints)
{
    AddLine(10, 20, 30, 40);
    ButtonThenClick(CCadDlg::IDC_FLIP_OBJECT, 20, 30);
    ExpectState(ACTION_FLIP_START, QString::fromUtf8("Aktion: Spiegelgerade zeichnen | Menü: mittlere Maustaste"),
                MODE_POINT);
    ClickWorld(0, -100);
    ExpectState(ACTION_FLIP_END, kSecondPoint, MODE_POINT);
    ClickWorld(0, 100);
    ExpectIdle();
    EXPECT_TRUE(log.Contains(Debug("Mouse Event: End point for flip straight set: (%4.1f, %4.1f). Flipping...", 0, 100)));
    ExpectLine(Objects()[0], -10, 20, -30, 40);
}

TEST_F(ControlCenter, RotateAndScaleTakeAPickThenABasePoint)
{
    const struct {
        int button, baseAction, dialogAction;
        const char* logFormat;
    } cases[] = {
        {CCadDlg::IDC_ROTATE_OBJECT, ACTION_ROTATE_BASE, ACTION_ROTATE_DIALOG,
         "Mouse Event: Base point for rotation located at (%4.1f, %4.1f)."},
        {CCadDlg::IDC_SCALE_OBJECT, ACTION_SCALE_BASE, ACTION_SCALE_DIALOG,
         "Mouse Event: Base point for scaling located at (%4.1f, %4.1f)."},
    };
    AddLine(10, 20, 30, 40);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.logFormat);
        ButtonThenClick(c.button, 20, 30);
        ExpectState(c.baseAction, QString::fromUtf8("Aktion: Basispunkt lokalisieren | Menü: mittlere Maustaste"),
                    MODE_POINT);
        ModalCloser closer;
        ClickWorld(-40, 60);
        EXPECT_TRUE(log.Contains(Debug(c.logFormat, -40, 60)));
        // The dialog opens in its own step with the prompt; cancelled, it
        // changes nothing.
        ASSERT_EQ(closer.Seen().size(), 1u);
        EXPECT_EQ(closer.Seen()[0].action, c.dialogAction);
        EXPECT_EQ(closer.Seen()[0].status, kEnterData);
        ExpectIdle();
        ExpectLine(Objects()[0], 10, 20, 30, 40);
    }
}

TEST_F(ControlCenter, DragOrSecondMirrorPointOfAVanishedObjectChangesNothing)
{
    for (bool mirror : {false, true}) {
        SCOPED_TRACE(mirror ? "mirror" : "move");
        Db()->Clear();
        AddLine(10, 20, 30, 40);
        ButtonThenClick(mirror ? CCadDlg::IDC_FLIP_OBJECT : CCadDlg::IDC_MOVE_OBJECT, 20, 30);
        if (mirror)
            ClickWorld(0, -100);
        Db()->RemoveById(0);
        AddLine(100, 100, 200, 100);  // id 1 must stay where it is
        log.Restart();
        if (mirror)
            ClickWorld(0, 100);
        else
            DragWorld(20, 30, 60, 90);
        ExpectIdle();
        EXPECT_TRUE(log.Contains("[WARN] Object #0 was not found in database."));
        EXPECT_EQ(log.Lines().back(), "[DEBUG] Drawn all display lists.");
        ASSERT_EQ(Objects().size(), 1u);
        ExpectLine(Objects()[0], 100, 100, 200, 100);
    }
}

TEST_F(ControlCenter, PointInAnActionThatTakesNoneShowsIllegalOperation)
{
    for (int button : {0, int(CCadDlg::IDC_DELETE_OBJECT), int(CCadDlg::IDC_FLIP_OBJECT)}) {
        SCOPED_TRACE(button);
        if (button != 0)
            ClickButton(button);
        View()->SetMode(MODE_POINT);
        log.Restart();
        ModalCloser closer;
        ClickWorld(10, 20);
        ASSERT_EQ(closer.Seen().size(), 1u);
        EXPECT_EQ(closer.Seen()[0].text, QStringLiteral("Illegal operation!"));
        EXPECT_EQ(closer.Seen()[0].icon, QMessageBox::Critical);
        ExpectIdle();
        // The handler logs nothing; the window system may repaint the drawing
        // once the box is gone, which logs its display lists.
        for (const std::string& line : log.Lines())
            EXPECT_NE(line.find("display list"), std::string::npos) << line;
    }
}

TEST_F(ControlCenter, BeendenEscapeAndCloseBoxAllEndWithCancel)
{
    const std::function<void()> ways[] = {
        [] { ClickButton(CCadDlg::IDC_QUIT); },
        [] { QTest::keyClick(Dlg(), Qt::Key_Escape); },
        [] { Dlg()->close(); },
    };
    for (const auto& way : ways) {
        QTimer::singleShot(50, way);
        QTimer::singleShot(10000, [] { Dlg()->done(0); });  // never hang
        EXPECT_EQ(Dlg()->DoModal(), RESULT_CANCEL);
        EXPECT_FALSE(Dlg()->isVisible());
    }
}

// ---------------------------------------------------------------------------
// "Speichern" and "Laden", with the file dialog replaced

class ControlCenterFiles : public ControlCenter {
protected:
    void ChooseAlways(const QString& path)
    {
        Dlg()->SetFileChooser([this, path](bool save) {
            statuses << QStringLiteral("%1:%2").arg(save ? "save" : "load", Dlg()->GetStatusText());
            return path;
        });
    }

    static QString Here(const char* name) { return QFileInfo(QString::fromUtf8(name)).absoluteFilePath(); }

    QStringList statuses;
};

TEST_F(ControlCenterFiles, SaveThenLoadRestoresTheDrawing)
{
    AddLine(10, 20, 30, 40);
    auto* circle = new CGO_Circle();
    circle->SetCenterAndRadius(CGO_Point(-50, -60), 25);
    Db()->Add(circle);
    // A German name with a blank must reach the file system intact.
    const QString path = Here("Zeichnung ä.dat");
    ChooseAlways(path);
    ClickButton(CCadDlg::IDC_SAVE);
    ASSERT_TRUE(QFileInfo::exists(path));

    Db()->Clear();
    AddLine(0, 0, 1, 1);
    log.Restart();
    {
        QuestionAnswerer discard(QStringLiteral("Verwerfen"));
        ClickButton(CCadDlg::IDC_LOAD);
        EXPECT_FALSE(discard.Question().isEmpty()) << "the unsaved line went without a question";
    }
    EXPECT_EQ(statuses, (QStringList{"save:Speichere Grafik...", "load:Lade Grafik..."}));
    EXPECT_EQ(Dlg()->GetStatusText(), kIdle);
    EXPECT_TRUE(log.Contains("[INFO] Loading graphics from file '" + path.toStdString() + "'..."));
    EXPECT_EQ(log.Lines().back(), "[DEBUG] Drawn all display lists.");

    const auto objects = Objects();
    ASSERT_EQ(objects.size(), 2u);
    ExpectLine(objects[0], 10, 20, 30, 40);
    auto* loaded = dynamic_cast<const CGO_Circle*>(objects[1]);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->GetId(), 1);
    EXPECT_FLOAT_EQ(loaded->GetRadius(), 25.0f);
}

TEST_F(ControlCenterFiles, FailedSaveOrLoadKeepsTheDrawingAndSaysWhy)
{
    const QString garbage = Here("garbage.dat");
    std::ofstream(garbage.toStdString(), std::ios::binary) << "this is no drawing";
    const struct {
        int button;
        QString path;
        const char* text;
    } cases[] = {
        // The reasons in German, whatever the log says in English.
        {CCadDlg::IDC_LOAD, Here("missing.dat"),
         "Die Datei '%1' konnte nicht geladen werden: die Datei lässt sich nicht öffnen: Datei oder Ordner nicht "
         "gefunden"},
        {CCadDlg::IDC_LOAD, garbage, "Die Datei '%1' konnte nicht geladen werden: der Inhalt ist fehlerhaft ("},
        {CCadDlg::IDC_SAVE, Here("no such folder/drawing.dat"),
         "Die Datei '%1' konnte nicht gespeichert werden: im Ordner lässt sich keine temporäre Datei anlegen: Datei "
         "oder Ordner nicht gefunden"},
    };
    AddLine(10, 20, 30, 40);
    // Saved, so that loading asks no question.
    ChooseAlways(Here("saved.dat"));
    ClickButton(CCadDlg::IDC_SAVE);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        ChooseAlways(c.path);
        log.Restart();
        ModalCloser closer;
        ClickButton(c.button);
        ASSERT_EQ(closer.Seen().size(), 1u);
        const QString lead = QString::fromUtf8(c.text).arg(c.path);
        EXPECT_TRUE(closer.Seen()[0].text.startsWith(lead)) << closer.Seen()[0].text.toStdString();
        EXPECT_GE(closer.Seen()[0].text.size(), lead.size()) << "no reason given";
        EXPECT_EQ(closer.Seen()[0].icon, QMessageBox::Critical);
        EXPECT_TRUE(log.Contains("' failed: ")) << "the database logs why";
        EXPECT_EQ(Dlg()->GetStatusText(), kIdle);
        ASSERT_EQ(Objects().size(), 1u);
        ExpectLine(Objects()[0], 10, 20, 30, 40);
    }
}

TEST_F(ControlCenterFiles, LoadEndsActionsThatHoldAPickAndKeepsTheOthers)
{
    const QString path = Here("one line.dat");
    AddLine(100, 100, 200, 100);
    ChooseAlways(path);
    ClickButton(CCadDlg::IDC_SAVE);

    const struct {
        const char* name;
        std::function<void()> start;
        bool holdsPick;
    } cases[] = {
        {"move", [] { ButtonThenClick(CCadDlg::IDC_MOVE_OBJECT, 20, 30); }, true},
        {"rotate", [] { ButtonThenClick(CCadDlg::IDC_ROTATE_OBJECT, 20, 30); }, true},
        {"scale", [] { ButtonThenClick(CCadDlg::IDC_SCALE_OBJECT, 20, 30); }, true},
        {"mirror", [] { ButtonThenClick(CCadDlg::IDC_FLIP_OBJECT, 20, 30); }, true},
        {"mirror, first point", [] { ButtonThenClick(CCadDlg::IDC_FLIP_OBJECT, 20, 30); ClickWorld(0, -100); }, true},
        {"move, nothing picked yet", [] { ClickButton(CCadDlg::IDC_MOVE_OBJECT); }, false},
        {"line, start point set", [] { ButtonThenClick(CCadDlg::IDC_DRAW_LINE, -10, -20); }, false},
    };
    QuestionAnswerer discard(QStringLiteral("Verwerfen"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Db()->Clear();
        AddLine(10, 20, 30, 40);
        c.start();
        const int action = Dlg()->GetAction();
        const int mode = View()->GetMode();
        ClickButton(CCadDlg::IDC_LOAD);
        if (c.holdsPick) {
            ExpectIdle();
        } else {
            EXPECT_EQ(Dlg()->GetAction(), action);
            EXPECT_EQ(View()->GetMode(), mode);
        }
        ASSERT_EQ(Objects().size(), 1u);
        ExpectLine(Objects()[0], 100, 100, 200, 100);
        EndAnyAction();
    }

    // A line started before the load is finished after it, next to the loaded one.
    ButtonThenClick(CCadDlg::IDC_DRAW_LINE, -10, -20);
    ClickButton(CCadDlg::IDC_LOAD);
    ClickWorld(-30, -40);
    ASSERT_EQ(Objects().size(), 2u);
    ExpectLine(Objects()[1], -10, -20, -30, -40);
}

} // namespace

TEST_F(ControlCenterFiles, QuittingAChangedDrawingAsksWhetherToSaveItFirst)
{
    const QString path = Here("before quitting.dat");
    ChooseAlways(path);
    const struct {
        const char* answer;
        bool ends;
        bool saves;
    } cases[] = {
        {"Abbrechen", false, false},
        {"Verwerfen", true, false},
        {"Speichern", true, true},
    };
    const std::function<void()> ways[] = {
        [] { ClickButton(CCadDlg::IDC_QUIT); },
        [] { QTest::keyClick(Dlg(), Qt::Key_Escape); },
        [] { View()->close(); },
    };
    for (const auto& way : ways) {
        for (const auto& c : cases) {
            SCOPED_TRACE(c.answer);
            QFile::remove(path);
            AddLine(10, 20, 30, 40 + Objects().size());
            QuestionAnswerer answerer(QString::fromUtf8(c.answer));
            EXPECT_EQ(TryToQuit(way), c.ends);
            EXPECT_TRUE(answerer.Question().contains(QStringLiteral("geändert"))) << answerer.Question().toStdString();
            EXPECT_EQ(QFileInfo::exists(path), c.saves);
            EXPECT_TRUE(View()->isVisible()) << "the drawing window closed on its own";
        }
    }
}

TEST_F(ControlCenterFiles, QuittingAsksNothingWhenNothingWouldBeLost)
{
    ChooseAlways(Here("saved.dat"));
    const std::function<void()> prepare[] = {
        [] {},                                                        // empty drawing
        [] { AddLine(1, 2, 3, 4); Db()->RemoveById(Objects()[0]->GetId()); },  // emptied again
        [] { AddLine(1, 2, 3, 4); ClickButton(CCadDlg::IDC_SAVE); },           // saved
        [] { ClickButton(CCadDlg::IDC_LOAD); },                                // just loaded
    };
    for (const auto& step : prepare) {
        step();
        QuestionAnswerer answerer(QStringLiteral("Abbrechen"));
        EXPECT_TRUE(TryToQuit([] { ClickButton(CCadDlg::IDC_QUIT); }));
        EXPECT_TRUE(answerer.Question().isEmpty()) << answerer.Question().toStdString();
    }
}

TEST_F(ControlCenterFiles, LoadingOverAChangedDrawingAsksFirst)
{
    const QString other = Here("other.dat");
    AddLine(100, 100, 200, 100);
    ChooseAlways(other);
    ClickButton(CCadDlg::IDC_SAVE);
    Db()->Clear();

    const struct {
        const char* answer;
        float loadedX1;  // x1 of the line the drawing holds afterwards
    } cases[] = {
        {"Abbrechen", 10},   // nothing loaded
        {"Verwerfen", 100},  // the other drawing
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer);
        Db()->Clear();
        AddLine(10, 20, 30, 40);
        QuestionAnswerer answerer(QString::fromUtf8(c.answer));
        ClickButton(CCadDlg::IDC_LOAD);
        EXPECT_TRUE(answerer.Question().contains(QStringLiteral("geändert")));
        ASSERT_EQ(Objects().size(), 1u);
        EXPECT_EQ(dynamic_cast<const CGO_Line*>(Objects()[0])->GetP1().GetX(), c.loadedX1);
        EXPECT_EQ(Dlg()->GetStatusText(), kIdle);
    }

    // "Speichern" saves the changed drawing before the load replaces it.
    Db()->Clear();
    AddLine(10, 20, 30, 40);
    const QString changed = Here("changed.dat");
    Dlg()->SetFileChooser([&](bool save) { return save ? changed : other; });
    QuestionAnswerer answerer(QStringLiteral("Speichern"));
    ClickButton(CCadDlg::IDC_LOAD);
    EXPECT_TRUE(QFileInfo::exists(changed));
    ASSERT_EQ(Objects().size(), 1u);
    EXPECT_EQ(dynamic_cast<const CGO_Line*>(Objects()[0])->GetP1().GetX(), 100.0f);
}
