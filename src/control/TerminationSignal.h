// Ends the program normally when it is asked to terminate (Ctrl+C in the
// terminal, SIGTERM at logout), so the buffered log still reaches the file.
#pragma once

#include <functional>

// Calls end on the GUI thread when SIGINT or SIGTERM arrives.
void EndOnTerminationSignal(std::function<void()> end);
