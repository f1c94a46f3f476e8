// Whole runs of the program, each in a fresh child process of this test
// binary (the logger and the control center exist once per process): the
// start-up order of the log, the last line after "Beenden", a start
// without usable OpenGL, and a start with a file to load.
#include "control/CadApp.h"

#include "control/Autosave.h"
#include "control/AutosaveFolder.h"
#include "control/CurrentDocument.h"
#include "exchange/DrawingExchange.h"

#include "control/ControlTestSupport.h"
#include "log/Logger.h"
#include "snap/SnapTypes.h"
#include "support/LogTail.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <csignal>
#include <functional>
#include <memory>
#include <fstream>
#include <optional>
#include <iostream>
#include <iterator>

using namespace controltest;

namespace {

const char* const kChildVariable = "LUMEN7_CONTROL_CHILD";

bool IsChild(const char* scenario)
{
    return qgetenv(kChildVariable) == scenario;
}

struct ChildRun {
    int exitCode = -1;
    bool finished = false;
    QString output;
    std::vector<std::string> log;
};

// Runs one child test of this binary in its own working directory and reads
// back the log it left there.
ChildRun RunChild(const char* scenario, const char* testName, const QProcessEnvironment& extra = {},
                  const QString& folder = QString())
{
    ChildRun run;
    QTemporaryDir temporary;
    if (!temporary.isValid())
        return run;
    // Two runs that share a folder share their settings too: a restart.
    const QDir dir(folder.isEmpty() ? temporary.path() : folder);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(kChildVariable), QString::fromLatin1(scenario));
    environment.insert(QStringLiteral("LUMEN7_TEST_WORKDIR"), dir.path());
    for (const QString& key : extra.keys())
        environment.insert(key, extra.value(key));

    QProcess child;
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=ProgramRun.%1").arg(QString::fromLatin1(testName))});
    run.finished = child.waitForFinished(60000);
    if (!run.finished)
        child.kill();
    run.exitCode = child.exitCode();
    run.output = QString::fromLocal8Bit(child.readAll());

    std::ifstream in(dir.filePath(QStringLiteral("stdout.txt")).toStdString());
    std::string raw;
    while (std::getline(in, raw)) {
        std::string line;
        run.log.push_back(testsupport::StripTimestamp(raw, line) ? line : "<malformed> " + raw);
    }
    return run;
}

// ---------------------------------------------------------------------------
// Child sides: they do nothing unless started by the tests further down.

TEST(ProgramRun, ChildStartsAndQuits)
{
    if (!IsChild("startup"))
        GTEST_SKIP() << "runs only as a child process of ProgramRun.StartUpLogOrderAndLastLine";
    QTimer::singleShot(300, [] { ClickButton(CCadDlg::IDC_QUIT); });
    EXPECT_FALSE(theApp.InitInstance());
}

TEST(ProgramRun, ChildWithoutOpenGL)
{
    if (!IsChild("nogl"))
        GTEST_SKIP() << "runs only as a child process of ProgramRun.MissingOpenGLIsReportedAndTheProgramGoesOn";
    ModalCloser closer;
    Dlg()->Open();
    ASSERT_FALSE(Dlg()->HasDrawingWindow());
    ASSERT_EQ(closer.Seen().size(), 1u);
    EXPECT_EQ(closer.Seen()[0].icon, QMessageBox::Critical);
    EXPECT_TRUE(closer.Seen()[0].text.contains(QStringLiteral("Zeichenfenster"))) << closer.Seen()[0].text.toStdString();

    // Everything that does not need the picture still works.
    ClickButton(CCadDlg::IDC_DRAW_LINE);
    EXPECT_EQ(Dlg()->GetAction(), ACTION_LINE_START);
    const QString path = QDir::current().absoluteFilePath(QStringLiteral("empty.dat"));
    Dlg()->SetFileChooser([path](bool) { return path; });
    ClickButton(CCadDlg::IDC_SAVE);
    ClickButton(CCadDlg::IDC_LOAD);
    EXPECT_EQ(closer.Seen().size(), 1u) << "save and load of an empty drawing must succeed";
    QTimer::singleShot(100, [] { ClickButton(CCadDlg::IDC_QUIT); });
    EXPECT_FALSE(theApp.InitInstance());
}

TEST(ProgramRun, ChildTerminatedWithADialogOpen)
{
    if (!IsChild("sigterm"))
        GTEST_SKIP() << "runs only as a child process of ProgramRun.TerminationSignalEndsNormallyAndKeepsTheLog";
    // The world-range dialog is open (its modal loop runs inside the click)
    // when the signal arrives.
    QTimer::singleShot(200, [] { ClickButton(CCadDlg::IDC_CHANGE_WC); });
    QTimer::singleShot(600, [] { std::raise(SIGTERM); });
    EXPECT_FALSE(theApp.InitInstance());
}

TEST(ProgramRun, ChildTerminatedWhileBusy)
{
    if (!IsChild("sigterm-busy"))
        GTEST_SKIP() << "runs only as a child process of ProgramRun.TerminationSignalEndsABusyProgram";
    // The GUI thread never returns to its event loop, as in a long load.
    QTimer::singleShot(300, [] {
        std::raise(SIGTERM);
        QElapsedTimer busy;
        busy.start();
        while (busy.elapsed() < 30000) {
        }
    });
    theApp.InitInstance();
}

// Waits until done() or ten seconds have passed, then ends the program.
void QuitWhen(std::function<bool()> done)
{
    auto* poll = new QTimer;
    auto started = std::make_shared<QElapsedTimer>();
    started->start();
    QObject::connect(poll, &QTimer::timeout, [poll, started, done] {
        if (!done() && started->elapsed() < 10000)
            return;
        poll->stop();
        poll->deleteLater();
        ClickButton(CCadDlg::IDC_QUIT);
    });
    poll->start(50);
}

TEST(ProgramRun, ChildSwitchesSnapsOn)
{
    if (!IsChild("snapset"))
        GTEST_SKIP() << "runs only as a child process of ProgramRun.SnapSwitchesAreKeptForTheNextRun";
    QTimer::singleShot(300, [] {
        ClickButton(CCadDlg::IDC_SNAP_ENDPOINT);
        ClickButton(CCadDlg::IDC_SNAP_GRID);
        ClickButton(CCadDlg::IDC_QUIT);
    });
    EXPECT_FALSE(theApp.InitInstance());
}

TEST(ProgramRun, ChildFindsTheSnapsOn)
{
    if (!IsChild("snapread"))
        GTEST_SKIP() << "runs only as a child process of ProgramRun.SnapSwitchesAreKeptForTheNextRun";
    unsigned kinds = 0;
    bool endpointChecked = false;
    bool centerChecked = true;
    QTimer::singleShot(300, [&] {
        kinds = View()->GetSnapKinds();
        endpointChecked = qobject_cast<QAbstractButton*>(Dlg()->GetControl(CCadDlg::IDC_SNAP_ENDPOINT))->isChecked();
        centerChecked = qobject_cast<QAbstractButton*>(Dlg()->GetControl(CCadDlg::IDC_SNAP_CENTER))->isChecked();
        ClickButton(CCadDlg::IDC_QUIT);
    });
    EXPECT_FALSE(theApp.InitInstance());
    EXPECT_EQ(kinds, SNAP_ENDPOINT | SNAP_GRID);
    EXPECT_TRUE(endpointChecked);
    EXPECT_FALSE(centerChecked);
    EXPECT_TRUE(View()->GetGraphics()->IsGridShown());
}

TEST(ProgramRun, ChildReadsItsOwnLogWhileRunning)
{
    if (!IsChild("livelog"))
        GTEST_SKIP() << "runs only as a child process of ProgramRun.TheLogCanBeReadWhileTheProgramRuns";
    std::string seen;
    QTimer::singleShot(1800, [&] {
        std::ifstream in("stdout.txt");
        seen.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        ClickButton(CCadDlg::IDC_QUIT);
    });
    EXPECT_FALSE(theApp.InitInstance());
    EXPECT_NE(seen.find("Logger initialized."), std::string::npos) << "the log was still in its buffer";
    EXPECT_NE(seen.find("Initializing graphics..."), std::string::npos);
}

TEST(ProgramRun, ChildStartsWithAFile)
{
    if (!IsChild("startfile"))
        GTEST_SKIP() << "runs only as a child process of ProgramRun.AFileNamedAtTheStartIsLoadedOnceTheWindowsAreUp";
    std::ofstream("start.dxf") << "  0\nSECTION\n  2\nENTITIES\n  0\nLINE\n 10\n1\n 20\n2\n 11\n3\n 21\n4\n"
                                  "  0\nCIRCLE\n 10\n0\n 20\n0\n 40\n5\n  0\nENDSEC\n  0\nEOF\n";
    QuitWhen([] { return Db()->GetSize() == 2; });
    EXPECT_FALSE(theApp.InitInstance(QStringLiteral("start.dxf")));
    EXPECT_EQ(Db()->GetSize(), 2);
}

TEST(ProgramRun, ChildStartsWithABrokenFile)
{
    if (!IsChild("brokenfile"))
        GTEST_SKIP() << "runs only as a child process of ProgramRun.AFileThatCannotBeLoadedAtTheStartIsReported";
    std::ofstream("broken.dat") << "no drawing";
    ModalCloser closer;
    QuitWhen([&closer] { return !closer.Seen().empty(); });
    EXPECT_FALSE(theApp.InitInstance(QStringLiteral("broken.dat")));
    ASSERT_EQ(closer.Seen().size(), 1u);
    EXPECT_EQ(closer.Seen()[0].icon, QMessageBox::Critical);
    EXPECT_TRUE(closer.Seen()[0].text.startsWith(QStringLiteral("Die Datei 'broken.dat' konnte nicht geladen werden")));
    EXPECT_EQ(Db()->GetSize(), 0);
}

TEST(ProgramRun, ChildAutosavesAndIsKilled)
{
    if (!IsChild("autosavekill"))
        GTEST_SKIP() << "runs only as a child process of ProgramRun.ADrawingKilledWithUnsavedChangesIsRecovered";
    std::ofstream("plate.dxf") << "  0\nSECTION\n  2\nENTITIES\n  0\nLINE\n 10\n1\n 20\n2\n 11\n3\n 21\n4\n"
                                  "  0\nTEXT\n 10\n0\n 20\n0\n 40\n1\n  1\nabc\n  0\nENDSEC\n  0\nEOF\n";
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [] {
        if (Db()->GetSize() != 1)
            return;
        for (int i = 0; i < 3; ++i)
            Dlg()->GetEditor().CreateLine(CGO_Point(i, 0), CGO_Point(i, 10));
        Dlg()->GetAutosave()->WriteNow();
        Dlg()->GetAutosave()->Wait();
        CLogger::GetInstance()->Flush();
        std::raise(SIGKILL);
    });
    poll->start(50);
    theApp.InitInstance(QStringLiteral("plate.dxf"));
    ADD_FAILURE() << "the start file never came";
}

TEST(ProgramRun, ChildRecoversTheDrawing)
{
    if (!IsChild("autosaverecover"))
        GTEST_SKIP() << "runs only as a child process of ProgramRun.ADrawingKilledWithUnsavedChangesIsRecovered";
    std::optional<QuestionAnswerer> answerer;
    answerer.emplace(QStringLiteral("Wiederherstellen"));
    QString recoveryQuestion;
    QString restoredPane;
    QString savedPane;
    QuitWhen([&] {
        if (Db()->GetCount() != 4)
            return false;
        recoveryQuestion = answerer->Question();
        restoredPane = Dlg()->GetDocument()->PaneText();
        // The file still holds the TEXT the drawing never took in.
        answerer.emplace(QString::fromUtf8("Überschreiben"));
        Dlg()->OnSaveToCurrentFile();
        EXPECT_EQ(answerer->Question(), QString::fromUtf8("plate.dxf enthielt 1 Element, das lumen7 nicht übernommen "
                                                          "hat (1 TEXT). Beim Überschreiben geht es verloren."));
        savedPane = Dlg()->GetDocument()->PaneText();
        return true;
    });
    EXPECT_FALSE(theApp.InitInstance());
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^Eine nicht gespeicherte Zeichnung von \\d\\d:\\d\\d wurde gefunden\\. "
                                                  "Wiederherstellen\\?$"))
                    .match(recoveryQuestion)
                    .hasMatch())
        << recoveryQuestion.toStdString();
    EXPECT_EQ(restoredPane, QStringLiteral("plate.dxf *"));
    EXPECT_EQ(savedPane, QStringLiteral("plate.dxf"));
    EXPECT_TRUE(QDir(autosavefolder::Path()).entryList({QStringLiteral("*.dat")}).isEmpty());
}

// ---------------------------------------------------------------------------
// Parent sides

TEST(ProgramRun, StartUpLogOrderAndLastLine)
{
    const ChildRun run = RunChild("startup", "ChildStartsAndQuits");
    ASSERT_TRUE(run.finished) << run.output.toStdString();
    ASSERT_EQ(run.exitCode, 0) << run.output.toStdString();
    ASSERT_GE(run.log.size(), 4u) << run.output.toStdString();
    EXPECT_EQ(run.log[0], "[INFO] Logger initialized.");
    EXPECT_EQ(run.log[1], "[INFO] Initializing graphics...");
    EXPECT_EQ(run.log[2], "[DEBUG] Drawn all display lists.");
    EXPECT_EQ(run.log.back(), "[INFO] Program terminated.");
}

TEST(ProgramRun, MissingOpenGLIsReportedAndTheProgramGoesOn)
{
    QProcessEnvironment noOpenGL;
    // The X11 platform then offers no OpenGL contexts at all.
    noOpenGL.insert(QStringLiteral("QT_XCB_GL_INTEGRATION"), QStringLiteral("none"));
    const ChildRun run = RunChild("nogl", "ChildWithoutOpenGL", noOpenGL);
    ASSERT_TRUE(run.finished) << run.output.toStdString();
    EXPECT_EQ(run.exitCode, 0) << run.output.toStdString();
    ASSERT_FALSE(run.log.empty());
    EXPECT_EQ(run.log[0], "[INFO] Logger initialized.");
    EXPECT_NE(std::find(run.log.begin(), run.log.end(),
                        "[WARN] The drawing window could not be created: no usable OpenGL context."),
              run.log.end());
    EXPECT_NE(std::find(run.log.begin(), run.log.end(), "[INFO] Initializing graphics..."), run.log.end());
    EXPECT_EQ(run.log.back(), "[INFO] Program terminated.");
}

TEST(ProgramRun, TerminationSignalEndsNormallyAndKeepsTheLog)
{
    const ChildRun run = RunChild("sigterm", "ChildTerminatedWithADialogOpen");
    ASSERT_TRUE(run.finished) << run.output.toStdString();
    EXPECT_EQ(run.exitCode, 0) << run.output.toStdString();
    ASSERT_FALSE(run.log.empty()) << "the buffered log was lost";
    EXPECT_EQ(run.log[0], "[INFO] Logger initialized.");
    EXPECT_EQ(run.log.back(), "[INFO] Program terminated.");
}

TEST(ProgramRun, TerminationSignalEndsABusyProgram)
{
    QElapsedTimer clock;
    clock.start();
    const ChildRun run = RunChild("sigterm-busy", "ChildTerminatedWhileBusy");
    ASSERT_TRUE(run.finished) << run.output.toStdString();
    EXPECT_EQ(run.exitCode, 128 + SIGTERM) << run.output.toStdString();
    EXPECT_LT(clock.elapsed(), 20000) << "the busy program outlived the signal";
}

TEST(ProgramRun, SnapSwitchesAreKeptForTheNextRun)
{
    QTemporaryDir shared;
    ASSERT_TRUE(shared.isValid());
    const ChildRun first = RunChild("snapset", "ChildSwitchesSnapsOn", {}, shared.path());
    ASSERT_TRUE(first.finished && first.exitCode == 0) << first.output.toStdString();
    const ChildRun second = RunChild("snapread", "ChildFindsTheSnapsOn", {}, shared.path());
    ASSERT_TRUE(second.finished) << second.output.toStdString();
    EXPECT_EQ(second.exitCode, 0) << second.output.toStdString();
}

TEST(ProgramRun, TheLogCanBeReadWhileTheProgramRuns)
{
    const ChildRun run = RunChild("livelog", "ChildReadsItsOwnLogWhileRunning");
    ASSERT_TRUE(run.finished) << run.output.toStdString();
    EXPECT_EQ(run.exitCode, 0) << run.output.toStdString();
}

TEST(ProgramRun, AFileNamedAtTheStartIsLoadedOnceTheWindowsAreUp)
{
    const ChildRun run = RunChild("startfile", "ChildStartsWithAFile");
    ASSERT_TRUE(run.finished) << run.output.toStdString();
    ASSERT_EQ(run.exitCode, 0) << run.output.toStdString();
    const auto at = [&run](const std::string& line) {
        return std::find(run.log.begin(), run.log.end(), line) - run.log.begin();
    };
    const auto loaded = at("[INFO] 2 graphics loaded. Drawing...");
    EXPECT_LT(at("[INFO] Initializing graphics..."), at("[INFO] Loading graphics from file 'start.dxf'..."));
    EXPECT_LT(loaded, static_cast<long>(run.log.size())) << run.output.toStdString();
    EXPECT_EQ(run.log.back(), "[INFO] Program terminated.");
}

TEST(ProgramRun, AFileThatCannotBeLoadedAtTheStartIsReported)
{
    const ChildRun run = RunChild("brokenfile", "ChildStartsWithABrokenFile");
    ASSERT_TRUE(run.finished) << run.output.toStdString();
    EXPECT_EQ(run.exitCode, 0) << run.output.toStdString();
    EXPECT_NE(std::find_if(run.log.begin(), run.log.end(),
                           [](const std::string& line) {
                               return line.rfind("[WARN] Loading graphics from file 'broken.dat' failed: ", 0) == 0;
                           }),
              run.log.end());
    EXPECT_EQ(run.log.back(), "[INFO] Program terminated.");
}

} // namespace

TEST(ProgramRun, ADrawingKilledWithUnsavedChangesIsRecovered)
{
    QTemporaryDir shared;
    ASSERT_TRUE(shared.isValid());
    const auto has = [](const ChildRun& run, const std::string& start) {
        return std::any_of(run.log.begin(), run.log.end(),
                           [&start](const std::string& line) { return line.rfind(start, 0) == 0; });
    };
    const ChildRun killed = RunChild("autosavekill", "ChildAutosavesAndIsKilled", {}, shared.path());
    ASSERT_TRUE(killed.finished) << killed.output.toStdString();
    ASSERT_TRUE(has(killed, "[INFO] Autosave written: ")) << killed.output.toStdString();
    const ChildRun recovered = RunChild("autosaverecover", "ChildRecoversTheDrawing", {}, shared.path());
    ASSERT_TRUE(recovered.finished) << recovered.output.toStdString();
    EXPECT_EQ(recovered.exitCode, 0) << recovered.output.toStdString();
    EXPECT_TRUE(has(recovered, "[INFO] Autosave recovered: "));
    EXPECT_EQ(recovered.log.back(), "[INFO] Program terminated.");
    // Ctrl+S wrote the recovered drawing into its own file.
    CGO_Database saved;
    EXPECT_EQ(CDrawingExchange(saved).Load(QDir(shared.path()).filePath(QStringLiteral("plate.dxf")).toUtf8().constData()), 4);
}
