// "Laden" and "Speichern" with files that are not plain drawings: a named
// pipe is refused at once instead of freezing the program, and a symbolic
// link is saved through, not replaced.
#include "control/lumen7dlg.h"

#include "control/ControlTestSupport.h"
#include "database/DatabaseTestUtil.h"
#include "support/LogTail.h"
#include "support/PipeWatchdog.h"

#include <QFileInfo>

#include <algorithm>
#include <filesystem>
#include <sys/stat.h>

using namespace controltest;

namespace {

class ControlCenterSpecialFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        Dlg()->Open();
        ASSERT_TRUE(Dlg()->HasDrawingWindow()) << "no OpenGL for the drawing window";
        ASSERT_TRUE(QTest::qWaitForWindowExposed(View()));
        Db()->Clear();
        AddLine(10, 20, 30, 40);
        // Saved, so that loading asks no question first.
        Choose(Here("saved.dat"));
        ClickButton(CCadDlg::IDC_SAVE);
        ASSERT_TRUE(QFileInfo::exists(Here("saved.dat")));
    }

    void TearDown() override { Dlg()->SetFileChooser(nullptr); }

    static void Choose(const QString& path)
    {
        Dlg()->SetFileChooser([path](bool) { return path; });
    }

    static QString Here(const char* name) { return QFileInfo(QString::fromUtf8(name)).absoluteFilePath(); }

    static void ExpectTheLineOnly()
    {
        ASSERT_EQ(Objects().size(), 1u);
        ExpectLine(Objects()[0], 10, 20, 30, 40);
    }
};

} // namespace

TEST_F(ControlCenterSpecialFiles, NamedPipeIsRefusedAtOnceByLoadAndSave)
{
    const QString pipe = Here("pipe.dat");
    ASSERT_EQ(::mkfifo(pipe.toLocal8Bit().constData(), 0600), 0);
    const struct {
        int button;
        const char* text;
        const char* logLine;
    } cases[] = {
        {CCadDlg::IDC_LOAD, "Die Datei '%1' konnte nicht geladen werden: keine gewöhnliche Datei",
         "[WARN] Loading graphics from file '%1' failed: not a regular file"},
        {CCadDlg::IDC_SAVE, "Die Datei '%1' konnte nicht gespeichert werden: die Datei lässt sich nicht ersetzen: keine "
                            "gewöhnliche Datei",
         "[WARN] Saving graphics to file '%1' failed: cannot replace the file: not a regular file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.logLine);
        Choose(pipe);
        testsupport::LogTail log;
        testsupport::PipeWatchdog watchdog(pipe.toStdString());
        ModalCloser closer;
        ClickButton(c.button);
        EXPECT_FALSE(watchdog.Fired()) << "the program waited for the other end of the pipe";
        ASSERT_EQ(closer.Seen().size(), 1u);
        EXPECT_EQ(closer.Seen()[0].text, QString::fromUtf8(c.text).arg(pipe));
        EXPECT_EQ(closer.Seen()[0].icon, QMessageBox::Critical);
        EXPECT_TRUE(log.Contains(QString::fromUtf8(c.logLine).arg(pipe).toStdString()));
        EXPECT_EQ(Dlg()->GetStatusText(), QStringLiteral("CAD Control Center"));
        ExpectTheLineOnly();
        EXPECT_TRUE(std::filesystem::is_fifo(pipe.toStdString()));
    }
}

TEST_F(ControlCenterSpecialFiles, SavingThroughALinkWritesTheFileItNames)
{
    const QString link = Here("link.dat");
    ASSERT_EQ(::symlink("saved.dat", link.toLocal8Bit().constData()), 0);
    Db()->Clear();
    AddLine(1, 2, 3, 4);
    AddLine(5, 6, 7, 8);
    Choose(link);
    ModalCloser closer;
    ClickButton(CCadDlg::IDC_SAVE);
    EXPECT_TRUE(closer.Seen().empty());
    EXPECT_TRUE(QFileInfo(link).isSymLink());

    Choose(Here("direct.dat"));
    ClickButton(CCadDlg::IDC_SAVE);
    const dbtest::Bytes saved = dbtest::ReadFile("saved.dat");
    EXPECT_EQ(saved, dbtest::ReadFile("direct.dat"));
    const dbtest::Bytes lastLine = dbtest::FileBuilder().Line(5, 6, 7, 8).Get();
    ASSERT_GT(saved.size(), lastLine.size());
    EXPECT_TRUE(std::equal(lastLine.begin(), lastLine.end(), saved.end() - static_cast<std::ptrdiff_t>(lastLine.size())));
}
