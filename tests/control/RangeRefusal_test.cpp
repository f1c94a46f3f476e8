// World ranges typed into the dialog, tiny, huge and ordinary, and objects
// drawn in them with the mouse and the creation dialogs: a range the view
// cannot show is refused with a reason, and whatever is drawn can be saved.
#include "control/ControlTestSupport.h"
#include "exchange/DrawingExchange.h"
#include "support/TestWorkDir.h"

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

#include <random>

using namespace controltest;

namespace {

QLineEdit* Field(QDialog* dialog, int id)
{
    return dialog->findChild<QLineEdit*>(QStringLiteral("control%1").arg(id));
}

void Press(QDialog* dialog, int id)
{
    if (auto* button = dialog->findChild<QPushButton*>(QStringLiteral("control%1").arg(id)))
        QTest::mouseClick(button, Qt::LeftButton);
    else
        dialog->reject();
}

// Answers every modal window while it lives: the world-range dialog gets the
// range, a creation dialog the values and its OK button (and is cancelled
// when it is still open after that), message boxes are confirmed.
class DialogFiller {
public:
    DialogFiller()
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { Fill(); });
        m_timer.start(10);
    }
    QStringList values;  // in the order of the fields below
    int okButton = 1;

private:
    void Fill()
    {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr || !dialog->isVisible())
            return;
        if (qobject_cast<QMessageBox*>(dialog) != nullptr || dialog == m_pLast) {
            dialog->reject();
            return;
        }
        m_pLast = dialog;
        int next = 0;
        for (int id : {1030, 1031, 1032, 1033, 1017, 1019, 1018, 1020, 1002, 1012, 1013, 1014, 1003, 1015, 1016}) {
            if (QLineEdit* field = Field(dialog, id); field != nullptr && next < values.size())
                field->setText(values[next++]);
        }
        // Clicked after this slot has returned: a message box the click opens
        // must find the timer free to confirm it.
        const int button = Field(dialog, 1030) != nullptr ? 1 : okButton;
        QTimer::singleShot(0, dialog, [dialog, button] { Press(dialog, button); });
    }

    QTimer m_timer;
    QDialog* m_pLast = nullptr;
};

void TypeRange(const QStringList& edges)
{
    DialogFiller filler;
    filler.values = edges;
    ClickButton(CCadDlg::IDC_CHANGE_WC);
}

class RangeRefusal : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(StartFresh()); }
    void TearDown() override
    {
        EndAnyAction();
        View()->TakeWorldCoordinates(viewrange::kDefaultRange);
    }
};

} // namespace

TEST_F(RangeRefusal, TheDialogTakesOnlyRangesTheViewCanShowAndSaysWhyNot)
{
    const struct {
        QStringList edges;
        const char* caption;  // null: refused
        const char* reason;   // the status line's start when refused
    } cases[] = {
        {{"-100", "100", "-50", "50"}, "CAD-Programm (-100.0, 100.0 | -50.0, 50.0)", nullptr},
        {{"0", "0.01", "0", "0.01"}, "CAD-Programm (0.00, 0.01 | 0.00, 0.01)", nullptr},
        {{"0", "1e-40", "0", "1e-40"}, nullptr, "Der Bereich wurde nicht übernommen: er ist zu klein"},
        {{"1e5", "100001", "0", "1"}, nullptr, "Der Bereich wurde nicht übernommen: er ist zu klein"},
        {{"-3e38", "3e38", "-3e38", "3e38"}, nullptr, "Der Bereich wurde nicht übernommen: er ist größer"},
        {{"0", "1e9", "0", "1"}, nullptr, "Der Bereich wurde nicht übernommen: er ist größer"},
        // Reversed: refused as always, with the usual status text.
        {{"10", "5", "0", "1"}, nullptr, "CAD Control Center"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.edges.join(QLatin1Char(' ')).toStdString());
        View()->TakeWorldCoordinates({-10, 10, -20, 20});
        View()->setTitle(QStringLiteral("before"));
        TypeRange(c.edges);
        const WorldCoordinates range = View()->GetGraphics()->GetWorldCoordinates();
        if (c.caption != nullptr) {
            EXPECT_EQ(View()->title(), QString::fromUtf8(c.caption));
            EXPECT_EQ(range.xMax, c.edges[1].toFloat());
        } else {
            EXPECT_EQ(View()->title(), QStringLiteral("before"));
            EXPECT_EQ(range.xMin, -10.0);
            EXPECT_EQ(range.yMax, 20.0);
            EXPECT_TRUE(Dlg()->GetStatusText().startsWith(QString::fromUtf8(c.reason)))
                << Dlg()->GetStatusText().toStdString();
        }
    }
}

// Random ranges, then lines and circles by clicks and by the dialogs with
// values up to the float limit: nothing stored is infinite or NaN, and both
// drawing formats save what was drawn.
TEST_F(RangeRefusal, RandomRangesAndCreationsLeaveOnlyObjectsThatSave)
{
    std::mt19937 random(20);
    const auto pick = [&](const std::vector<const char*>& from) {
        return QString::fromLatin1(from[std::uniform_int_distribution<std::size_t>(0, from.size() - 1)(random)]);
    };
    const std::vector<const char*> edges = {"0", "1e-40", "1e-45", "-1e-30", "3e38", "-3e38", "1e6", "1000001",
                                            "-500", "500", "0.01", "1e8", "-2e7"};
    const std::vector<const char*> values = {"0", "1", "-250", "3e38", "-3e38", "1e-44", "3.4e38", "1e20"};
    const auto randomPixel = [&] {
        return QPoint(std::uniform_int_distribution<int>(0, View()->width() - 1)(random),
                      std::uniform_int_distribution<int>(0, View()->height() - 1)(random));
    };
    for (int round = 0; round < 40; ++round) {
        TypeRange({pick(edges), pick(edges), pick(edges), pick(edges)});
        const bool line = random() % 2 == 0;
        ClickButton(line ? CCadDlg::IDC_DRAW_LINE : CCadDlg::IDC_DRAW_CIRCLE);
        Click(randomPixel());
        if (random() % 2 == 0) {
            Click(randomPixel());
        } else {
            DialogFiller filler;
            for (int i = 0; i < 7; ++i)
                filler.values << pick(values);
            filler.okButton = line ? 1 : (random() % 2 == 0 ? 3 : 1021);
            Click(randomPixel(), Qt::MiddleButton);
        }
        EndAnyAction();
    }
    for (const CGO_GeoObject* object : Objects()) {
        for (float value : object->SaveState().values)
            ASSERT_TRUE(std::isfinite(value)) << "object #" << object->GetId();
    }
    const std::string dir = testsupport::MakeScratchDir("lumen7-ranges");
    CDrawingExchange files(*Db());
    EXPECT_TRUE(files.Save((dir + "/random.dat").c_str(), exchange::FORMAT_DAT)) << files.GetLastError();
    EXPECT_TRUE(files.Save((dir + "/random.dxf").c_str(), exchange::FORMAT_DXF)) << files.GetLastError();
    EXPECT_FALSE(Objects().empty());
}
