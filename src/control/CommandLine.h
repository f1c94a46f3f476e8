// The command line: no arguments start the program as always, a file name
// starts it with that drawing loaded, and --export converts a drawing into
// another format without windows, display or log.
#pragma once

#include "output/PaperScale.h"
#include <QString>
#include <QStringList>

class CCommandLine {
public:
    // What the arguments ask for.
    struct Request {
        enum { RUN, OPEN, EXPORT, HELP, VERSION, FAILED } what = RUN;
        QString input;   // the file to open, or to convert
        QString output;  // the file to convert into
        CPaperScale paper; // how a PDF goes onto its page
        QString text;    // the help text, or why the arguments are wrong
    };

    // The whole program for main().
    static int Run(int argc, char** argv);

    // Reads the arguments (the program's name first).
    static Request Parse(const QStringList& arguments);
    // Converts input into output by output's extension. Returns the exit
    // status; a failure leaves one line naming the file and the reason in
    // message, a success may leave a note on what was not converted.
    static int Convert(const QString& input, const QString& output, QString& message,
                       const CPaperScale& paper = CPaperScale());

    // The one line on stderr when the program needs a display and has none.
    static QString NoDisplayLine(const Request& request);

private:
    static bool NeedsNoDisplay(int argc, char** argv);
    static int RunWithoutWindows(int argc, char** argv);
};
