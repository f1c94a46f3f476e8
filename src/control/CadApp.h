// The application object: starts the control center, waits until it ends and
// logs the end of the program.
#pragma once

#include <QString>

class CCadApp {
public:
    CCadApp() = default;

    // Runs the whole program inside the QApplication that main() created;
    // a start file is loaded as soon as the windows are up. Returns false:
    // no application event loop follows.
    bool InitInstance(const QString& startFile = QString());

    CCadApp(const CCadApp&) = delete;
    CCadApp& operator=(const CCadApp&) = delete;
};

// The one application object.
extern CCadApp theApp;
