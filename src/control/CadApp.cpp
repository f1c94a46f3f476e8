// The application object and the program's start-up and shutdown order.
#include "control/CadApp.h"

#include "control/GermanTranslations.h"
#include "control/TerminationSignal.h"
#include "control/lumen7dlg.h"
#include "dialogs/DialogResult.h"
#include "log/Logger.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QTimer>

CCadApp theApp;

bool CCadApp::InitInstance(const QString& startFile)
{
    InstallGermanTranslations();
    // The control center initialises the logger, so nothing is logged before.
    CCadDlg* dialog = CCadDlg::GetInstance();
    // Every window of the program (message boxes and dialogs included) shows
    // the application icon.
    QGuiApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/lumen7.png")));
    // Asked to terminate, the program ends as after "Beenden", without a
    // question nobody may be there to answer; exit() also closes an operation
    // dialog or message box that is open.
    EndOnTerminationSignal([dialog] {
        dialog->Quit();
        QCoreApplication::exit(0);
    });
    // The file is loaded inside the modal run, once the windows are up, so a
    // message box about it has them behind it. A drawing a killed instance
    // left unsaved is offered first; restored, it takes the file's place.
    dialog->Open();
    QTimer::singleShot(0, dialog, [dialog, startFile] {
        if (!dialog->OfferRecovery() && !startFile.isEmpty())
            dialog->LoadStartFile(startFile);
    });
    // The log stays buffered for speed, but reaches the file within a second
    // whenever the program waits for the user: it can be read while lumen7
    // runs, and a crash loses at most the last second.
    QTimer flushLog;
    QObject::connect(&flushLog, &QTimer::timeout, [] { CLogger::GetInstance()->Flush(); });
    flushLog.start(1000);
    if (dialog->DoModal() == RESULT_CANCEL)
        LogInfo("Program terminated.");
    return false;
}
