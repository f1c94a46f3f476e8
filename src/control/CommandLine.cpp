// Parsing with QCommandLineParser, and the conversion that runs on Qt's
// offscreen platform: with no window and no GL context, the objects' GL calls
// are no-ops and the log is switched off before its first use.
#include "control/CommandLine.h"

#include "control/CadApp.h"
#include "database/GO_Database.h"
#include "exchange/DrawingExchange.h"
#include "output/DrawingExport.h"
#include "exchange/FileFormat.h"
#include "log/Logger.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QGuiApplication>

#include <cstdio>
#include <cstring>
#include <unistd.h>

#ifndef LUMEN7_VERSION
#define LUMEN7_VERSION "0"
#endif

namespace {

enum { EXIT_CONVERSION_FAILED = 1, EXIT_USAGE = 2 };

const char* const kExportOption = "export";
const char* const kScaleOption = "scale";
const char* const kPageOption = "page";

void SetUpParser(QCommandLineParser& parser)
{
    parser.setApplicationDescription(QStringLiteral("lumen7, a 2D drawing program for lines and circles."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption(QCommandLineOption(
        QString::fromLatin1(kExportOption),
        QStringLiteral("Convert IN (.dat or .dxf) into OUT (.dat, .dxf, .svg, .pdf or .png, by its extension) "
                       "without opening a window, and exit.")));
    parser.addOption(QCommandLineOption(QString::fromLatin1(kScaleOption),
                                        QStringLiteral("With --export to .pdf: \"fit\" (the default) or a ratio "
                                                       "such as 1:1, 1:2 or 2:1, where one drawing unit is 1 mm."),
                                        QStringLiteral("ratio")));
    parser.addOption(QCommandLineOption(QString::fromLatin1(kPageOption),
                                        QStringLiteral("With --export to .pdf: the page size, A4 (the default), "
                                                       "A3, A2, A1, A0, A5, Letter or Legal."),
                                        QStringLiteral("size")));
    parser.addPositionalArgument(QStringLiteral("file"),
                                 QStringLiteral("The drawing to start with (.dat or .dxf); with --export: IN OUT."),
                                 QStringLiteral("[file | IN OUT]"));
}

// A conversion speaks for itself: Qt's notes about the platform it runs on
// (a missing runtime directory, say) would only bury its one line.
void KeepQtQuiet(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

void PrintLine(std::FILE* stream, const QString& text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fprintf(stream, "%s\n", bytes.constData());
}

QString Quoted(const QString& path)
{
    return QStringLiteral("'%1'").arg(path);
}

// "-?" asks for help as "-h" does (Qt knows it only on Windows).
QStringList WithHelpAliases(QStringList arguments)
{
    for (int i = 1; i < arguments.size() && arguments[i] != QStringLiteral("--"); ++i) {
        if (arguments[i] == QStringLiteral("-?"))
            arguments[i] = QStringLiteral("-h");
    }
    return arguments;
}

// While the application object connects to the display: the line to print
// if that fails, and Qt's notes, shown only if it succeeds.
QByteArray g_noDisplayLine;
QStringList g_startNotes;

// Qt ends the program with SIGABRT and its plugin text when no platform can
// be initialised; the program says so itself, in one line, instead.
void ExitWithoutDisplay(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type != QtFatalMsg) {
        g_startNotes.append(message);
        return;
    }
    [[maybe_unused]] const ssize_t written = write(STDERR_FILENO, g_noDisplayLine.constData(), g_noDisplayLine.size());
    _exit(EXIT_USAGE);
}

} // namespace

CCommandLine::Request CCommandLine::Parse(const QStringList& givenArguments)
{
    const QStringList arguments = WithHelpAliases(givenArguments);
    QCoreApplication::setApplicationName(QStringLiteral("lumen7"));
    QCoreApplication::setApplicationVersion(QStringLiteral(LUMEN7_VERSION));
    QCommandLineParser parser;
    SetUpParser(parser);
    Request request;
    if (!parser.parse(arguments)) {
        request.what = Request::FAILED;
        request.text = parser.errorText();
        return request;
    }
    if (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all"))) {
        request.what = Request::HELP;
        request.text = parser.helpText();
        return request;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        request.what = Request::VERSION;
        request.text = QStringLiteral("lumen7 %1").arg(QStringLiteral(LUMEN7_VERSION));
        return request;
    }
    const QStringList files = parser.positionalArguments();
    if (parser.isSet(QString::fromLatin1(kExportOption))) {
        if (files.size() != 2) {
            request.what = Request::FAILED;
            request.text = QStringLiteral("--export needs an input and an output file");
            return request;
        }
        request.what = Request::EXPORT;
        request.input = files[0];
        request.output = files[1];
        const QString scale = parser.value(QString::fromLatin1(kScaleOption));
        if (!scale.isEmpty() && !CPaperScale::ParseRatio(scale, request.paper.ratio)) {
            request.what = Request::FAILED;
            request.text = QStringLiteral("--scale takes \"fit\" or a ratio such as 1:1, not '%1'").arg(scale);
        }
        const QString page = parser.value(QString::fromLatin1(kPageOption));
        if (!page.isEmpty() && !CPaperScale::ParsePage(page, request.paper.page)) {
            request.what = Request::FAILED;
            request.text = QStringLiteral("--page takes A0 to A5, Letter or Legal, not '%1'").arg(page);
        }
        return request;
    }
    if (files.size() > 1) {
        request.what = Request::FAILED;
        request.text = QStringLiteral("only one file can be opened at the start");
        return request;
    }
    if (files.size() == 1) {
        request.what = Request::OPEN;
        request.input = files[0];
    }
    return request;
}

int CCommandLine::Convert(const QString& input, const QString& output, QString& message, const CPaperScale& paper)
{
    message.clear();
    const exchange::FileFormat format = exchange::FormatOfPath(QFile::encodeName(output).toStdString());
    if (format == exchange::FORMAT_UNKNOWN) {
        message = QStringLiteral("lumen7: cannot write %1: unknown file type (use .dat, .dxf, .svg, .pdf or .png)")
                      .arg(Quoted(output));
        return EXIT_USAGE;
    }
    CGO_Database database;
    CDrawingExchange files(database);
    if (files.Load(QFile::encodeName(input).constData()) < 0) {
        message = QStringLiteral("lumen7: cannot load %1: %2")
                      .arg(Quoted(input), QString::fromStdString(files.GetLastError()));
        return EXIT_CONVERSION_FAILED;
    }
    const CSkippedEntities skipped = files.GetSkipped();
    QString error;
    if (exchange::IsDrawingFormat(format)) {
        if (!files.Save(QFile::encodeName(output).constData(), format))
            error = QString::fromStdString(files.GetLastError());
    } else {
        // An empty drawing shows the range a new drawing window shows.
        CDrawingExport picture;
        picture.SetPaper(paper);
        if (!picture.Write(database, viewrange::kDefaultRange, output, format))
            error = picture.GetLastError();
        else if (picture.WasCutOff())
            message = QStringLiteral("lumen7: %1: the drawing does not fit on the page at this scale; "
                                     "what lies beyond it is cut off")
                          .arg(Quoted(output));
    }
    if (!error.isEmpty()) {
        message = QStringLiteral("lumen7: cannot write %1: %2").arg(Quoted(output), error);
        return EXIT_CONVERSION_FAILED;
    }
    if (!skipped.IsEmpty()) {
        if (!message.isEmpty())
            message += QLatin1Char('\n');
        message += QStringLiteral("lumen7: %1: not converted: %2")
                      .arg(Quoted(input), QString::fromStdString(skipped.Describe()));
    }
    return 0;
}

bool CCommandLine::NeedsNoDisplay(int argc, char** argv)
{
    static const char* const headless[] = {"--export", "--help", "-h", "-?", "--help-all", "--version", "-v"};
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0)
            return false;
        for (const char* option : headless) {
            if (std::strcmp(argv[i], option) == 0)
                return true;
        }
    }
    return false;
}

int CCommandLine::RunWithoutWindows(int argc, char** argv)
{
    // Before anything could log: a conversion writes no "stdout.txt".
    CLogger::SwitchOff();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(KeepQtQuiet);
    QGuiApplication application(argc, argv);
    const Request request = Parse(QGuiApplication::arguments());
    switch (request.what) {
    case Request::HELP:
    case Request::VERSION:
        PrintLine(stdout, request.text.trimmed());
        return 0;
    case Request::EXPORT: {
        QString message;
        const int status = Convert(request.input, request.output, message, request.paper);
        if (!message.isEmpty())
            PrintLine(stderr, message);
        return status;
    }
    case Request::FAILED:
        PrintLine(stderr, QStringLiteral("lumen7: %1").arg(request.text));
        return EXIT_USAGE;
    default:
        PrintLine(stderr, NoDisplayLine(request));
        return EXIT_USAGE;
    }
}

QString CCommandLine::NoDisplayLine(const Request& request)
{
    switch (request.what) {
    case Request::FAILED: return QStringLiteral("lumen7: %1").arg(request.text);
    case Request::OPEN: return QStringLiteral("lumen7: opening a file needs a display; use --export to convert it");
    default: return QStringLiteral("lumen7: cannot open a display; use --export to convert a drawing without one");
    }
}

int CCommandLine::Run(int argc, char** argv)
{
    if (NeedsNoDisplay(argc, argv))
        return RunWithoutWindows(argc, argv);
    QStringList given;
    for (int i = 0; i < argc; ++i)
        given.append(QString::fromLocal8Bit(argv[i]));
    g_noDisplayLine = (NoDisplayLine(Parse(given)) + QLatin1Char('\n')).toLocal8Bit();
    const QtMessageHandler previous = qInstallMessageHandler(ExitWithoutDisplay);
    QApplication application(argc, argv);
    qInstallMessageHandler(previous);
    for (const QString& note : std::as_const(g_startNotes))
        PrintLine(stderr, note);
    g_startNotes.clear();
    const Request request = Parse(QApplication::arguments());
    if (request.what == Request::FAILED) {
        PrintLine(stderr, QStringLiteral("lumen7: %1").arg(request.text));
        return EXIT_USAGE;
    }
    theApp.InitInstance(request.input);
    return 0;
}
