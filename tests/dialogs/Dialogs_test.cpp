// The eight operation dialogs driven as a user would: fields typed, buttons
// clicked, Escape pressed. Each test checks what the dialog did to the
// drawing, the range and the caption, its result, and its log lines.
#include "dialogs/DialogDriver.h"

#include "dialogs/DialogResult.h"
#include "dialogs/DialogRunner.h"
#include "geometry/GO_Circle.h"
#include "geometry/GO_Line.h"
#include "log/CFormat.h"
#include "support/LogTail.h"

#include <QLineEdit>
#include <QtTest/QTest>

#include <clocale>
#include <string>
#include <vector>

namespace dialogtest {
namespace {

using testsupport::LogTail;
using Lines = std::vector<std::string>;

// How each dialog is reached from the control center, and its frame.
struct DialogCase {
    const char* className;
    int action;  // -1: the world-range button
    const char* caption;
    bool closeBox;
};

const DialogCase kDialogs[] = {
    {"CDialogChangeWC", -1, "CAD: Weltkoordinatenbereich ändern", true},
    {"CDialogDelObject", ACTION_DELETE_PICK, "CAD: Objekt löschen", false},
    {"CDialogDrawCircle", ACTION_CIRCLE_CENTER, "CAD: Kreis zeichnen", false},
    {"CDialogDrawLine", ACTION_LINE_START, "CAD: Linie zeichnen", true},
    {"CDialogMoveObject", ACTION_MOVE_PICK, "CAD: Objekt verschieben", true},
    {"CDialogRotateObject", ACTION_ROTATE_PICK, "CAD: Objekt drehen", true},
    {"CDialogScaleObject", ACTION_SCALE_PICK, "CAD: Objekt skalieren", true},
    {"CDialogFlipObject", ACTION_FLIP_PICK, "CAD: Objekt spiegeln", true},
};

void PrintTo(const DialogCase& dialog, std::ostream* out)
{
    *out << dialog.className;
}

int Open(const DialogCase& dialog)
{
    return dialog.action < 0 ? RunWorldCoordinatesDialog() : RunActionDialog(dialog.action);
}

std::function<int()> Action(int action)
{
    return [action] { return RunActionDialog(action); };
}

// Types texts into fields, then clicks a button.
std::function<void(QDialog*)> Type(const QMap<int, QString>& texts, int button)
{
    return [texts, button](QDialog* dialog) {
        for (auto it = texts.begin(); it != texts.end(); ++it)
            SetField(dialog, it.key(), it.value());
        Click(dialog, button);
    };
}

QString Id(int id)
{
    return QString::number(id);
}

class DialogsTest : public DialogTest {
protected:
    int AddLine(float x1, float y1, float x2, float y2)
    {
        auto* line = new CGO_Line();
        line->SetPoints(CGO_Point(x1, y1), CGO_Point(x2, y2));
        Database()->Add(line);
        return line->GetId();
    }

    void ExpectLine(int id, float x1, float y1, float x2, float y2)
    {
        const CGO_Line* line = Get<CGO_Line>(id);
        ASSERT_NE(line, nullptr) << "line #" << id << " is gone";
        EXPECT_NEAR(line->GetP1().GetX(), x1, 1e-4);
        EXPECT_NEAR(line->GetP1().GetY(), y1, 1e-4);
        EXPECT_NEAR(line->GetP2().GetX(), x2, 1e-4);
        EXPECT_NEAR(line->GetP2().GetY(), y2, 1e-4);
    }

    // The object the last dialog added.
    template <class Object>
    const Object* Newest()
    {
        const int size = Database()->GetSize();
        return size ? dynamic_cast<const Object*>(Database()->GetAt(size - 1)) : nullptr;
    }
};

// --- The frame: templates, opening, cancelling -----------------------------

class DialogFrameTest : public DialogsTest, public ::testing::WithParamInterface<DialogCase> {};

TEST_P(DialogFrameTest, OpensFromItsTemplate)
{
    const DialogCase& expected = GetParam();
    QString className, caption, cancelText;
    bool closeBox = false;
    RunModal([&] { return Open(expected); },
             [&](QDialog* dialog) {
                 className = QString::fromLatin1(dialog->metaObject()->className());
                 caption = dialog->windowTitle();
                 closeBox = dialog->windowFlags().testFlag(Qt::WindowCloseButtonHint);
                 cancelText = dialog->findChild<QPushButton*>(QStringLiteral("control2"))->text();
                 Click(dialog, 2);
             });
    EXPECT_EQ(className, QString::fromLatin1(expected.className));
    EXPECT_EQ(caption, QString::fromUtf8(expected.caption));
    EXPECT_EQ(closeBox, expected.closeBox);
    EXPECT_EQ(cancelText, QStringLiteral("Abbrechen"));
}

INSTANTIATE_TEST_SUITE_P(AllDialogs, DialogFrameTest, ::testing::ValuesIn(kDialogs),
                         [](const auto& info) { return std::string(info.param.className); });

enum CancelWay { CANCEL_ESCAPE, CANCEL_BUTTON, CANCEL_CLOSE };

class DialogCancelTest : public DialogsTest,
                         public ::testing::WithParamInterface<std::tuple<DialogCase, CancelWay>> {};

// Whatever is typed, cancelling reads, logs and changes nothing.
TEST_P(DialogCancelTest, CancelChangesNothingAndLogsNothing)
{
    const auto& [dialogCase, way] = GetParam();
    const int id = AddLine(10, 20, 30, 40);
    m_pHost->action = dialogCase.action;
    const QString caption = m_pHost->caption;
    LogTail log;

    const int result = RunModal([&] { return Open(dialogCase); },
                                [&](QDialog* dialog) {
                                    for (QLineEdit* field : dialog->findChildren<QLineEdit*>())
                                        field->setText(field->objectName() == "control1016" ? Id(id) : "7");
                                    if (way == CANCEL_ESCAPE)
                                        QTest::keyClick(dialog, Qt::Key_Escape);
                                    else if (way == CANCEL_BUTTON)
                                        Click(dialog, 2);
                                    else
                                        dialog->close();
                                });

    EXPECT_EQ(result, RESULT_CANCEL);
    EXPECT_EQ(log.Lines(), Lines{});
    EXPECT_EQ(Database()->GetSize(), 1);
    ExpectLine(id, 10, 20, 30, 40);
    const WorldCoordinates range = m_pHost->graphics.GetWorldCoordinates();
    EXPECT_EQ(range.xMin, -500.0);
    EXPECT_EQ(range.yMax, 500.0);
    EXPECT_EQ(m_pHost->caption, caption);
}

std::string CancelCaseName(const ::testing::TestParamInfo<std::tuple<DialogCase, CancelWay>>& info)
{
    static const char* const ways[] = {"Escape", "Abbrechen", "CloseBox"};
    return std::string(std::get<0>(info.param).className) + "_" + ways[std::get<1>(info.param)];
}

INSTANTIATE_TEST_SUITE_P(AllDialogs, DialogCancelTest,
                         ::testing::Combine(::testing::ValuesIn(kDialogs),
                                            ::testing::Values(CANCEL_ESCAPE, CANCEL_BUTTON, CANCEL_CLOSE)),
                         CancelCaseName);

// What a dialog finds filled in depends on how far the action got: the
// picked id is 7, the last click (12.5, -3).
struct PrefillCase {
    int action;
    const char* className;
    QMap<int, QString> filled;  // every other field is empty
};

const QString X = QStringLiteral("12.50");
const QString Y = QStringLiteral("-3.00");

const PrefillCase kPrefill[] = {
    {ACTION_DELETE_PICK, "CDialogDelObject", {}},
    {ACTION_LINE_START, "CDialogDrawLine", {}},
    {ACTION_LINE_END, "CDialogDrawLine", {{1017, X}, {1019, Y}}},
    {ACTION_CIRCLE_CENTER, "CDialogDrawCircle", {}},
    {ACTION_CIRCLE_POINT, "CDialogDrawCircle", {{1002, X}, {1012, Y}, {1003, X}, {1015, Y}}},
    {ACTION_MOVE_PICK, "CDialogMoveObject", {}},
    {ACTION_MOVE_DRAG, "CDialogMoveObject", {{1016, "7"}}},
    {ACTION_ROTATE_PICK, "CDialogRotateObject", {}},
    {ACTION_ROTATE_BASE, "CDialogRotateObject", {{1016, "7"}}},
    {ACTION_ROTATE_DIALOG, "CDialogRotateObject", {{1016, "7"}, {1025, X}, {1026, Y}}},
    {ACTION_SCALE_PICK, "CDialogScaleObject", {}},
    {ACTION_SCALE_BASE, "CDialogScaleObject", {{1016, "7"}}},
    {ACTION_SCALE_DIALOG, "CDialogScaleObject", {{1016, "7"}, {1025, X}, {1026, Y}}},
    {ACTION_FLIP_PICK, "CDialogFlipObject", {}},
    {ACTION_FLIP_START, "CDialogFlipObject", {{1016, "7"}}},
};

TEST_F(DialogsTest, EachActionOpensItsDialogFilledInFromTheMouse)
{
    m_pHost->point = CGO_Point(12.5f, -3.0f);
    m_pHost->pickedId = 7;
    for (const PrefillCase& c : kPrefill) {
        SCOPED_TRACE(c.action);
        m_pHost->action = c.action;
        QString className;
        QMap<int, QString> texts;
        RunModal(Action(c.action), [&](QDialog* dialog) {
            className = QString::fromLatin1(dialog->metaObject()->className());
            texts = FieldTexts(dialog);
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        EXPECT_EQ(className, QString::fromLatin1(c.className));
        for (auto it = texts.begin(); it != texts.end(); ++it)
            EXPECT_EQ(it.value(), c.filled.value(it.key())) << "field " << it.key();
    }
}

TEST_F(DialogsTest, ActionsWithoutDialogOpenNone)
{
    QTimer guard;
    QObject::connect(&guard, &QTimer::timeout, [] {
        if (QWidget* dialog = QApplication::activeModalWidget()) {
            ADD_FAILURE() << "a dialog opened";
            dialog->close();
        }
    });
    guard.start(20);
    for (int action : {int(ACTION_IDLE), int(ACTION_FLIP_END), 2, 40, 99}) {
        m_pHost->action = action;
        EXPECT_EQ(RunActionDialog(action), 0) << action;
    }
}

// --- Creating: line and circle ---------------------------------------------

// Empty fields read as the presets; an unreadable second point repeats the
// first, because both are read through the same variables.
TEST_F(DialogsTest, LineWithEmptyFieldsGoesFromOriginToOrigin)
{
    LogTail log;
    EXPECT_EQ(RunModal(Action(ACTION_LINE_START), Type({}, 1)), RESULT_OK);
    ASSERT_NE(Newest<CGO_Line>(), nullptr);
    ExpectLine(Newest<CGO_Line>()->GetId(), 0, 0, 0, 0);
    EXPECT_TRUE(log.Contains("[DEBUG] Dialog 'CDialogDrawLine' is trying to add line from P1( 0.0, 0.0) to "
                             "P2( 0.0, 0.0)..."));
}

TEST_F(DialogsTest, CircleFromCentreOnlyOrWithEmptyRadiusHasRadiusZero)
{
    const struct {
        QMap<int, QString> fields;
        int button;
        const char* log;
    } cases[] = {
        {{{1002, "3"}, {1012, "4"}, {1016, "9"}}, 3, "C( 3.0, 4.0) and P( 3.0, 4.0)..."},
        {{{1003, "3"}, {1015, "4"}, {1013, "9"}}, 1021, "C( 3.0, 4.0) and radius  0.0..."},
    };
    for (const auto& c : cases) {
        LogTail log;
        EXPECT_EQ(RunModal(Action(ACTION_CIRCLE_CENTER), Type(c.fields, c.button)), RESULT_OK);
        const CGO_Circle* circle = Newest<CGO_Circle>();
        ASSERT_NE(circle, nullptr);
        EXPECT_EQ(circle->GetCenter().GetX(), 3.0f);
        EXPECT_EQ(circle->GetCenter().GetY(), 4.0f);
        EXPECT_EQ(circle->GetRadius(), 0.0f);
        EXPECT_TRUE(log.Contains(std::string("[DEBUG] Dialog 'CDialogDrawCircle' is trying to add circle with ") +
                                 c.log));
    }
}

// The top-right "OK" is disabled: only the two groups' buttons confirm.
TEST_F(DialogsTest, CircleConfirmsOnlyThroughItsGroups)
{
    RunModal(Action(ACTION_CIRCLE_CENTER), [](QDialog* dialog) {
        for (int id : {1, 3, 1021}) {
            auto* button = dialog->findChild<QPushButton*>(QStringLiteral("control%1").arg(id));
            EXPECT_EQ(button->text(), "OK");
            EXPECT_EQ(button->isEnabled(), id != 1);
        }
        Click(dialog, 2);
    });
}

// Enter presses the OK of the field's own group, not the disabled top one.
TEST_F(DialogsTest, EnterInACircleFieldPressesItsGroupsOk)
{
    const struct { int focus; QMap<int, QString> fields; float radius; } cases[] = {
        {1016, {{1003, "3"}, {1015, "4"}, {1016, "8"}}, 8},
        {1013, {{1002, "3"}, {1012, "4"}, {1013, "3"}, {1014, "7"}}, 3},
    };
    for (const auto& c : cases) {
        const int result = RunModal(Action(ACTION_CIRCLE_CENTER), [&](QDialog* dialog) {
            for (auto it = c.fields.begin(); it != c.fields.end(); ++it)
                SetField(dialog, it.key(), it.value());
            auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("control%1").arg(c.focus));
            field->setFocus();
            QTest::keyClick(field, Qt::Key_Return);
        });
        EXPECT_EQ(result, RESULT_OK);
        ASSERT_NE(Newest<CGO_Circle>(), nullptr);
        EXPECT_EQ(Newest<CGO_Circle>()->GetRadius(), c.radius);
    }
}

// --- Delete -----------------------------------------------------------------

TEST_F(DialogsTest, DeleteWithEmptyFieldTriesIdMinusOneAndRemovesNothing)
{
    const int id = AddLine(1, 2, 3, 4);
    LogTail log;
    EXPECT_EQ(RunModal(Action(ACTION_DELETE_PICK), Type({}, 1)), RESULT_OK);
    EXPECT_EQ(log.Lines(), (Lines{"[DEBUG] Dialog 'CDialogDelObject' is trying to remove object #-1...",
                                  "[WARN] Illegal object id #-1!"}));
    ExpectLine(id, 1, 2, 3, 4);
}

// --- World range ------------------------------------------------------------

// A range that does not increase is refused, and the caption keeps naming the
// range the drawing still shows.
TEST_F(DialogsTest, WorldRangeDecreasingOnXIsRejectedWithRangeAndCaptionKept)
{
    m_pHost->graphics.SetWorldCoordinates(-10, 10, -20, 20);
    m_pHost->caption = QStringLiteral("CAD-Programm (-10.0, 10.0 | -20.0, 20.0)");
    LogTail log;
    const int result = RunModal(RunWorldCoordinatesDialog, Type({{1030, "100"}, {1031, "50"}}, 1));
    EXPECT_EQ(result, RESULT_OK);
    const WorldCoordinates range = m_pHost->graphics.GetWorldCoordinates();
    EXPECT_EQ(range.xMin, -10.0);
    EXPECT_EQ(range.xMax, 10.0);
    EXPECT_EQ(range.yMin, -20.0);
    EXPECT_EQ(range.yMax, 20.0);
    EXPECT_EQ(m_pHost->caption, QStringLiteral("CAD-Programm (-10.0, 10.0 | -20.0, 20.0)"));
    EXPECT_EQ(log.Lines(),
              (Lines{"[DEBUG] Dialog 'CDialogChangeWC' is trying to change world coordinates to X(100.0, 50.0), "
                     "Y(-20.0, 20.0)...",
                     "[WARN] World coordinates X(100.0, 50.0), Y(-20.0, 20.0) rejected: the range must increase "
                     "on both axes."}));
}

// --- Rotate and scale -------------------------------------------------------

// A base point of (0, 0), typed or left empty, means the origin: Rotate and
// Scale, not RotateAbout and ScaleAbout. An empty factor scales by 1.
TEST_F(DialogsTest, RotateAndScaleAboutOriginOrBasePoint)
{
    const struct {
        int action, field;
        const char* value;
        const char* baseY;
        float x1, y1, x2, y2;  // the line (10, 0)-(20, 0) afterwards
        const char* log;       // after "is trying to "
    } cases[] = {
        {ACTION_ROTATE_PICK, 1024, "90", "", 0, 10, 0, 20, "rotate object #%i by 90.0 degree..."},
        {ACTION_ROTATE_PICK, 1024, "90", "5", 5, 15, 5, 25, "rotate object #%i by 90.0 degree..."},
        {ACTION_SCALE_PICK, 1027, "", "", 10, 0, 20, 0, "scale object #%i by  1.0..."},
        {ACTION_SCALE_PICK, 1027, "2", "5", 20, -5, 40, -5, "scale object #%i by  2.0..."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.log) + " base y " + c.baseY);
        const int id = AddLine(10, 0, 20, 0);
        LogTail log;
        EXPECT_EQ(RunModal(Action(c.action), Type({{1016, Id(id)}, {c.field, c.value}, {1025, "0"}, {1026, c.baseY}}, 1)),
                  RESULT_OK);
        ExpectLine(id, c.x1, c.y1, c.x2, c.y2);
        const Lines lines = log.Lines();
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines.front(), StringFormatC((std::string("[DEBUG] Dialog '%s' is trying to ") + c.log).c_str(),
                                               c.action == ACTION_ROTATE_PICK ? "CDialogRotateObject"
                                                                              : "CDialogScaleObject",
                                               id));
        EXPECT_EQ(log.Contains("basepoint"), *c.baseY != 0);
        EXPECT_EQ(lines.back(), StringFormatC("[INFO] Display list #%i for line #%i generated.", id + 100, id));
    }
}

// --- Move -------------------------------------------------------------------

TEST_F(DialogsTest, MoveWithLettersForIdCancelsAfterIllegalIdWarning)
{
    const int id = AddLine(10, 20, 30, 40);
    LogTail log;
    EXPECT_EQ(RunModal(Action(ACTION_MOVE_PICK), Type({{1016, "abc"}, {1022, "5"}}, 1)), RESULT_CANCEL);
    EXPECT_EQ(log.Lines(), (Lines{"[DEBUG] Dialog 'CDialogMoveObject' is trying to move object #-1 by ( 5.0, 0.0)...",
                                  "[WARN] Illegal object id #-1!"}));
    ExpectLine(id, 10, 20, 30, 40);
}

// Only the first seven characters count ("-1234.56" reads as -1234.5) and a
// comma ends a number, also under a German locale; pre-filled fields and the
// log keep the decimal point there too.
TEST_F(DialogsTest, GermanLocaleKeepsDecimalPointsInFieldsAndLog)
{
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
        GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    const int id = AddLine(0, 0, 0, 0);
    m_pHost->action = ACTION_MOVE_DRAG;
    m_pHost->pickedId = id;
    LogTail log;
    QMap<int, QString> shown;
    const int result = RunModal(Action(ACTION_MOVE_DRAG), [&](QDialog* dialog) {
        SetField(dialog, 1022, "-1234.56");
        SetField(dialog, 1023, "2,5");
        Click(dialog, 1);
    });
    m_pHost->action = ACTION_LINE_END;
    m_pHost->point = CGO_Point(12.5f, -3.0f);
    RunModal(Action(ACTION_LINE_END), [&](QDialog* dialog) {
        shown = FieldTexts(dialog);
        Click(dialog, 2);
    });
    std::setlocale(LC_ALL, previous.c_str());

    EXPECT_EQ(result, RESULT_OK);
    ExpectLine(id, -1234.5f, 2, -1234.5f, 2);
    EXPECT_TRUE(log.Contains("[DEBUG] Dialog 'CDialogMoveObject' is trying to move object #" + std::to_string(id) +
                             " by (-1234.5, 2.0)..."));
    EXPECT_EQ(shown.value(1017), "12.50");
    EXPECT_EQ(shown.value(1019), "-3.00");
}

// --- Flip -------------------------------------------------------------------

struct FlipCase {
    int button;
    const char* text;
    const char* logTail;  // after "is trying to flip object #<id> "
    float x1, y1, x2, y2;  // the line (10, 20)-(30, 40) afterwards
};

const FlipCase kFlips[] = {
    {1029, "Horizontal", "horizontal...", 10, -20, 30, -40},
    {1028, "Vertikal", "vertical...", -10, 20, -30, 40},
    {1031, "am Ursprung", "on origin of ordinates...", -10, -20, -30, -40},
    {1030, "an Gerade", "on straight through P1( 0.0, 0.0), P2( 1.0, 1.0)...", 20, 10, 40, 30},
};

TEST_F(DialogsTest, EachFlipButtonAppliesItsMirror)
{
    for (const FlipCase& flip : kFlips) {
        SCOPED_TRACE(flip.text);
        const int id = AddLine(10, 20, 30, 40);
        LogTail log;
        QString text;
        const int result = RunModal(Action(ACTION_FLIP_PICK), [&](QDialog* dialog) {
            text = dialog->findChild<QPushButton*>(QStringLiteral("control%1").arg(flip.button))->text();
            SetField(dialog, 1016, Id(id));
            SetField(dialog, 1018, "1");
            SetField(dialog, 1020, "1");
            Click(dialog, flip.button);
        });
        EXPECT_EQ(result, RESULT_OK);
        EXPECT_EQ(text, QString::fromUtf8(flip.text));
        ExpectLine(id, flip.x1, flip.y1, flip.x2, flip.y2);
        const Lines lines = log.Lines();
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines.front(), "[DEBUG] Dialog 'CDialogFlipObject' is trying to flip object #" + std::to_string(id) +
                                     " " + flip.logTail);
        EXPECT_EQ(lines.back(), "[INFO] Display list #" + std::to_string(id + 100) + " for line #" +
                                    std::to_string(id) + " generated.");
    }
}

TEST_F(DialogsTest, FlipOkChangesNothing)
{
    const int id = AddLine(10, 20, 30, 40);
    LogTail log;
    EXPECT_EQ(RunModal(Action(ACTION_FLIP_PICK), Type({{1016, Id(id)}, {1017, "1"}, {1019, "1"}}, 1)), RESULT_OK);
    EXPECT_EQ(log.Lines(), Lines{});
    ExpectLine(id, 10, 20, 30, 40);
}

// Empty point fields give (0, 0) twice, which defines no line: the object
// stays where it is.
TEST_F(DialogsTest, FlipOnStraightWithEmptyPointsLeavesObject)
{
    const int id = AddLine(10, 20, 30, 40);
    LogTail log;
    EXPECT_EQ(RunModal(Action(ACTION_FLIP_PICK), Type({{1016, Id(id)}}, 1030)), RESULT_OK);
    ExpectLine(id, 10, 20, 30, 40);
    EXPECT_TRUE(log.Contains("[DEBUG] Dialog 'CDialogFlipObject' is trying to flip object #" + std::to_string(id) +
                             " on straight through P1( 0.0, 0.0), P2( 0.0, 0.0)..."));
}

TEST_F(DialogsTest, FlipOfUnknownObjectCancels)
{
    EXPECT_EQ(RunModal(Action(ACTION_FLIP_PICK), Type({}, 1029)), RESULT_CANCEL);
}

} // namespace
} // namespace dialogtest
