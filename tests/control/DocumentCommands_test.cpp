// The file keys in both windows, the current file's pane, and the view after
// "Laden" of a drawing that lies outside the world range.
#include "control/ControlTestSupport.h"
#include "control/CurrentDocument.h"

#include <QDir>
#include <QFile>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>
#include <QKeySequence>
#include <QSettings>
#include <QShortcut>

#include <fstream>

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
    // (Its shortcut is triggered directly: activating a window is not
    // reliable while other test processes share the display.)
    QShortcut* ctrlN = nullptr;
    for (QShortcut* shortcut : Dlg()->findChildren<QShortcut*>())
        if (shortcut->key() == QKeySequence(Qt::CTRL | Qt::Key_N))
            ctrlN = shortcut;
    ASSERT_NE(ctrlN, nullptr);
    Q_EMIT ctrlN->activated();
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

namespace {

// Clicks the button with the given text in each message box that opens (or
// closes it when there is none) and keeps the boxes' texts.
class BoxAnswerer {
public:
    explicit BoxAnswerer(QString answer) : m_answer(std::move(answer))
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr)
                return;
            texts << box->text();
            for (QAbstractButton* button : box->buttons()) {
                if (button->text() == m_answer) {
                    button->click();
                    return;
                }
            }
            box->reject();
        });
        m_timer.start(20);
    }
    void Answer(const QString& answer) { m_answer = answer; }
    QStringList texts;

private:
    QString m_answer;
    QTimer m_timer;
};

qint64 SizeOf(const char* path) { return QFileInfo(QString::fromLatin1(path)).size(); }

} // namespace

TEST_F(DocumentCommands, SavingOverADxfWithSkippedEntitiesAsksFirst)
{
    std::ofstream("platte.dxf") << "  0\nSECTION\n  2\nENTITIES\n  0\nLINE\n 10\n1\n 20\n2\n 11\n3\n 21\n4\n"
                                   "  0\nTEXT\n 10\n0\n 20\n0\n 40\n1\n  1\nabc\n  0\nTEXT\n 10\n0\n 20\n0\n 40\n1\n  1\nx\n"
                                   "  0\nHATCH\n 10\n0\n 20\n0\n  0\nENDSEC\n  0\nEOF\n";
    const qint64 size = SizeOf("platte.dxf");
    openPath = QStringLiteral("platte.dxf");
    BoxAnswerer answerer(QString::fromUtf8("Abbrechen"));
    Key(Qt::Key_O, Qt::ControlModifier);
    ASSERT_EQ(Db()->GetCount(), 1);
    answerer.texts.clear();

    Key(Qt::Key_S, Qt::ControlModifier);
    ASSERT_EQ(answerer.texts.size(), 1);
    EXPECT_EQ(answerer.texts[0], QString::fromUtf8("platte.dxf enthielt 3 Elemente, die lumen7 nicht übernommen hat "
                                                   "(1 HATCH, 2 TEXT). Beim Überschreiben gehen sie verloren."));
    EXPECT_EQ(SizeOf("platte.dxf"), size) << "cancelled, yet the file changed";

    answerer.Answer(QString::fromUtf8("Unter neuem Namen speichern"));
    savePath = QStringLiteral("neu.dxf");
    Key(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(chosen, 2) << "no new name was asked for";
    EXPECT_EQ(SizeOf("platte.dxf"), size);
    EXPECT_EQ(Pane(), QStringLiteral("neu.dxf"));

    Key(Qt::Key_O, Qt::ControlModifier);
    answerer.Answer(QString::fromUtf8("Überschreiben"));
    answerer.texts.clear();
    Key(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(answerer.texts.size(), 1);
    EXPECT_NE(SizeOf("platte.dxf"), size) << "answered Überschreiben, yet the file was kept";
    // Overwritten once, the file holds nothing more to lose.
    Key(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(answerer.texts.size(), 1);
}

TEST_F(DocumentCommands, TheLastEightFilesAreKeptNewestFirst)
{
    Dlg()->GetEditor().CreateLine(CGO_Point(0, 0), CGO_Point(10, 10));
    for (int file = 0; file < 10; ++file) {
        savePath = QStringLiteral("recent%1.dat").arg(file);
        Key(Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    }
    const QStringList recent = QSettings(QStringLiteral("lumen7"), QStringLiteral("lumen7"))
                                   .value(QStringLiteral("recentFiles")).toStringList();
    ASSERT_EQ(recent.size(), 8);
    EXPECT_EQ(recent.front(), QFileInfo(QStringLiteral("recent9.dat")).absoluteFilePath());
    EXPECT_EQ(recent.back(), QFileInfo(QStringLiteral("recent2.dat")).absoluteFilePath());
}

namespace {

// Drops the file on the window as the desktop would, and says whether the
// window took it.
bool Drop(QObject* window, const QString& path)
{
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath())});
    QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &drop);
    return drop.isAccepted();
}

} // namespace

TEST_F(DocumentCommands, ADroppedDrawingOpensOnEitherWindowAndOtherFilesAreRefused)
{
    savePath = QStringLiteral("dropped.dat");
    QFile::remove(savePath);
    Dlg()->GetEditor().CreateLine(CGO_Point(0, 0), CGO_Point(1, 1));
    Dlg()->GetEditor().CreateCircle(CGO_Point(0, 0), 2.0f);
    Dlg()->GetEditor().CreateCircle(CGO_Point(0, 0), 3.0f);
    Key(Qt::Key_S, Qt::ControlModifier);
    ASSERT_EQ(Pane(), QStringLiteral("dropped.dat"));
    std::ofstream("notes.txt") << "no drawing";
    QDir().mkdir(QStringLiteral("folder.dat"));

    const struct {
        const char* name;
        QObject* window;
        const char* file;
        int count;         // objects afterwards
        const char* box;   // start of the message shown, or none
    } cases[] = {
        {"drawing on the drawing window", View(), "dropped.dat", 3, nullptr},
        {"drawing on the control center", Dlg(), "dropped.dat", 3, nullptr},
        {"other type", View(), "notes.txt", 0, "Die Datei 'notes.txt' kann nicht geöffnet werden"},
        {"folder named as a drawing", Dlg(), "folder.dat", 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Dlg()->OnNew();
        BoxAnswerer answerer(QStringLiteral("OK"));
        EXPECT_TRUE(Drop(c.window, QString::fromLatin1(c.file)));
        EXPECT_EQ(static_cast<int>(Objects().size()), c.count);
        if (c.box == nullptr) {
            EXPECT_TRUE(answerer.texts.isEmpty());
        } else {
            ASSERT_EQ(answerer.texts.size(), 1);
            EXPECT_TRUE(answerer.texts[0].startsWith(QString::fromUtf8(c.box))) << answerer.texts[0].toStdString();
        }
    }
}
