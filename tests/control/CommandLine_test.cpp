// The command line of the real program, run as a child process without a
// display: conversions between every format, their exit status and their
// one line of error, no log file, --help and --version; and the parsing of
// the arguments.
#include "control/CommandLine.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct ConversionRun {
    int exitCode = -1;
    bool finished = false;
    QString out;
    QString err;
};

QByteArray ReadBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

const QByteArray kDxf = "  0\nSECTION\n  2\nENTITIES\n"
                        "  0\nLINE\n 10\n0\n 20\n0\n 11\n100\n 21\n50\n"
                        "  0\nCIRCLE\n 10\n70\n 20\n30\n 40\n20\n"
                        "  0\nHATCH\n 10\n0\n 20\n0\n 40\n5\n 50\n0\n 51\n90\n"
                        "  0\nENDSEC\n  0\nEOF\n";

// Runs the program in dir with no display at all.
ConversionRun RunProgram(const QString& dir, const QStringList& arguments)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "LUMEN7_TEST_WORKDIR"})
        environment.remove(QString::fromLatin1(name));
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(dir);
    process.start(QStringLiteral(LUMEN7_PROGRAM), arguments);
    ConversionRun run;
    run.finished = process.waitForFinished(60000);
    if (!run.finished)
        process.kill();
    run.exitCode = process.exitCode();
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

class CommandLine : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        WriteBytes(Path("in.dxf"), kDxf);
        // A log of an earlier run must survive a conversion.
        WriteBytes(Path("stdout.txt"), "earlier log\n");
    }

    QString Path(const char* name) const { return QDir(m_dir.path()).filePath(QString::fromUtf8(name)); }
    ConversionRun Lumen7(const QStringList& arguments) const { return RunProgram(m_dir.path(), arguments); }

    void ExpectLogUntouched() const { EXPECT_EQ(ReadBytes(Path("stdout.txt")), QByteArray("earlier log\n")); }

    QTemporaryDir m_dir;
};

} // namespace

TEST_F(CommandLine, ExportConvertsIntoEveryFormatWithoutDisplayOrLog)
{
    for (const char* output : {"out.dat", "out.dxf", "out.svg", "out.pdf", "out.png"}) {
        SCOPED_TRACE(output);
        const ConversionRun run = Lumen7({QStringLiteral("--export"), QStringLiteral("in.dxf"), QString::fromLatin1(output)});
        ASSERT_TRUE(run.finished);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_GT(QFileInfo(Path(output)).size(), 0);
        // The hatch is left out, and said so.
        EXPECT_EQ(run.err, QStringLiteral("lumen7: 'in.dxf': not converted: 1 HATCH\n"));
        EXPECT_TRUE(run.out.isEmpty());
    }
    ExpectLogUntouched();
    EXPECT_EQ(QImage(Path("out.png")).size(), QSize(1000, 545));
    EXPECT_TRUE(ReadBytes(Path("out.pdf")).startsWith("%PDF"));
    EXPECT_TRUE(ReadBytes(Path("out.svg")).contains("<svg"));

    // .dat to .dxf and back is the same to the byte.
    const ConversionRun toDxf = Lumen7({QStringLiteral("--export"), QStringLiteral("out.dat"), QStringLiteral("again.dxf")});
    const ConversionRun toDat = Lumen7({QStringLiteral("--export"), QStringLiteral("again.dxf"), QStringLiteral("again.dat")});
    EXPECT_EQ(toDxf.exitCode, 0);
    EXPECT_EQ(toDat.exitCode, 0);
    EXPECT_TRUE(toDxf.err.isEmpty() && toDat.err.isEmpty()) << toDxf.err.toStdString() << toDat.err.toStdString();
    EXPECT_EQ(ReadBytes(Path("again.dat")), ReadBytes(Path("out.dat")));
    EXPECT_FALSE(QFileInfo::exists(Path("nowhere/stdout.txt")));
}

TEST_F(CommandLine, AFailedConversionExitsWithOneLineNamingTheFileAndTheReason)
{
    WriteBytes(Path("truncated.dxf"), kDxf.left(kDxf.size() / 2));
    WriteBytes(Path("old.png"), "old picture");
    const struct {
        QStringList arguments;
        const char* line;
        int exitCode;
    } cases[] = {
        {{"--export", "missing.dxf", "out.dat"},
         "lumen7: cannot load 'missing.dxf': cannot open the file: No such file or directory", 1},
        {{"--export", "truncated.dxf", "out.dat"}, "lumen7: cannot load 'truncated.dxf': line ", 1},
        {{"--export", "in.dxf", "out.bmp"}, "lumen7: cannot write 'out.bmp': unknown file type", 2},
        {{"--export", "in.dxf", "no such folder/out.png"}, "lumen7: cannot write 'no such folder/out.png': ", 1},
        {{"--export", "in.dxf"}, "lumen7: --export needs an input and an output file", 2},
        {{"--export", "in.dxf", "--bogus", "out.dat"}, "lumen7: Unknown option 'bogus'.", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(QLatin1Char(' ')).toStdString());
        const ConversionRun run = Lumen7(c.arguments);
        ASSERT_TRUE(run.finished);
        EXPECT_EQ(run.exitCode, c.exitCode);
        EXPECT_TRUE(run.err.startsWith(QString::fromUtf8(c.line))) << run.err.toStdString();
        EXPECT_EQ(run.err.count(QLatin1Char('\n')), 1) << run.err.toStdString();
        EXPECT_TRUE(run.err.endsWith(QLatin1Char('\n')));
    }
    EXPECT_FALSE(QFileInfo::exists(Path("out.dat")));
    EXPECT_EQ(ReadBytes(Path("old.png")), QByteArray("old picture"));
    ExpectLogUntouched();
}

TEST_F(CommandLine, HelpAndVersionNeedNoDisplay)
{
    const ConversionRun help = Lumen7({QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains(QStringLiteral("--export"))) << help.out.toStdString();
    EXPECT_TRUE(help.out.contains(QStringLiteral("--version")));
    const ConversionRun version = Lumen7({QStringLiteral("--version")});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_TRUE(version.out.startsWith(QStringLiteral("lumen7 "))) << version.out.toStdString();
    EXPECT_TRUE(help.err.isEmpty() && version.err.isEmpty());
    ExpectLogUntouched();
}

TEST_F(CommandLine, WithoutADisplayTheProgramSaysSoInOneLineAndExitsWithTwo)
{
    const struct {
        QStringList arguments;
        const char* line;
    } cases[] = {
        {{}, "lumen7: cannot open a display; use --export to convert a drawing without one\n"},
        {{"in.dxf"}, "lumen7: opening a file needs a display; use --export to convert it\n"},
        {{"--bogus"}, "lumen7: Unknown option 'bogus'.\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(QLatin1Char(' ')).toStdString());
        const ConversionRun run = Lumen7(c.arguments);
        ASSERT_TRUE(run.finished);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_EQ(run.err, QString::fromUtf8(c.line));
    }
    ExpectLogUntouched();
}

TEST_F(CommandLine, AFileOfVeryManyUnknownKindsNamesTheTenMostFrequent)
{
    QByteArray dxf = "  0\nSECTION\n  2\nENTITIES\n  0\nLINE\n 10\n1e-400\n 20\n0\n 11\n1\n 21\n1\n";
    for (int i = 0; i < 100000; ++i)
        dxf += "  0\nTYPE" + QByteArray::number(i) + "\n" + (i < 10 ? "  0\nTYPE" + QByteArray::number(i) + "\n" : "");
    WriteBytes(Path("many.dxf"), dxf + "  0\nENDSEC\n  0\nEOF\n");
    const ConversionRun run = Lumen7({QStringLiteral("--export"), QStringLiteral("many.dxf"), QStringLiteral("out.dxf")});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err, QStringLiteral("lumen7: 'many.dxf': not converted: 2 TYPE0, 2 TYPE1, 2 TYPE2, 2 TYPE3, 2 TYPE4, "
                                      "2 TYPE5, 2 TYPE6, 2 TYPE7, 2 TYPE8, 2 TYPE9 and 99990 more kinds\n"));
    // The tiny coordinate underflowed to 0.
    EXPECT_TRUE(ReadBytes(Path("out.dxf")).contains("\nLINE\n  8\n")) << "the line was not converted";
}

TEST(CommandLineParse, ArgumentsNameWhatToDo)
{
    using Request = CCommandLine::Request;
    const struct {
        QStringList arguments;
        int what;
        const char* input;
        const char* output;
    } cases[] = {
        {{"lumen7"}, Request::RUN, "", ""},
        {{"lumen7", "plan.dxf"}, Request::OPEN, "plan.dxf", ""},
        {{"lumen7", "--", "-odd name.dat"}, Request::OPEN, "-odd name.dat", ""},
        {{"lumen7", "--export", "a.dat", "b.svg"}, Request::EXPORT, "a.dat", "b.svg"},
        {{"lumen7", "a.dat", "--export", "b.svg"}, Request::EXPORT, "a.dat", "b.svg"},
        {{"lumen7", "a.dat", "b.dat"}, Request::FAILED, "", ""},
        {{"lumen7", "--export", "a.dat", "b.dat", "c.dat"}, Request::FAILED, "", ""},
        {{"lumen7", "--frobnicate"}, Request::FAILED, "", ""},
        {{"lumen7", "-h"}, Request::HELP, "", ""},
        {{"lumen7", "-?"}, Request::HELP, "", ""},
        {{"lumen7", "--", "-?"}, Request::OPEN, "-?", ""},
        {{"lumen7", "--help-all"}, Request::HELP, "", ""},
        {{"lumen7", "-v"}, Request::VERSION, "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(QLatin1Char(' ')).toStdString());
        const Request request = CCommandLine::Parse(c.arguments);
        EXPECT_EQ(request.what, c.what) << request.text.toStdString();
        EXPECT_EQ(request.input, QString::fromUtf8(c.input));
        EXPECT_EQ(request.output, QString::fromUtf8(c.output));
    }
}
