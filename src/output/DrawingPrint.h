// Printing the drawing: the platform's print dialog, then the same picture as
// the exported ones, fitted to the printable area of the page.
#pragma once

#include "view/scene/ViewRange.h"

#include <functional>

class CGO_Database;
class QPrinter;

class CDrawingPrint {
public:
    // Lets the user choose the printer and its settings; false when cancelled.
    using PrintDialog = std::function<bool(QPrinter& printer)>;

    // Turns the page to suit the drawing, before the user is asked.
    static void SetUp(QPrinter& printer, const CGO_Database& database, const WorldCoordinates& visible);
    // The platform's print dialog.
    static bool Ask(QPrinter& printer);
    // Prints on a printer that is set up already; false when the printer
    // cannot be used.
    static bool PrintOn(QPrinter& printer, const CGO_Database& database, const WorldCoordinates& visible);
};
