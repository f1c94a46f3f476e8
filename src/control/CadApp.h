// The application object: starts the control center, waits until it ends and
// logs the end of the program.
#pragma once

class CCadApp {
public:
    CCadApp() = default;

    // Runs the whole program inside the QApplication that main() created.
    // Returns false: no application event loop follows.
    bool InitInstance();

    CCadApp(const CCadApp&) = delete;
    CCadApp& operator=(const CCadApp&) = delete;
};

// The one application object.
extern CCadApp theApp;
