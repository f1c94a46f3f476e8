// Printing the drawing: the platform's print dialog, then the same picture as
// the exported ones, fitted to the printable area of the page.
#pragma once

#include "output/PaperScale.h"
#include "view/scene/ViewRange.h"

#include <functional>

class CGO_Database;
class IProgress;
class QPrinter;

class CDrawingPrint {
public:
    // Lets the user choose the printer and its settings; false when cancelled.
    using PrintDialog = std::function<bool(QPrinter& printer)>;

    // Turns the page to suit the drawing, before the user is asked.
    static void SetUp(QPrinter& printer, const CGO_Database& database, const WorldCoordinates& visible);
    // The platform's print dialog, with a tab for the scale ("Maßstab");
    // the scale chosen there is kept for ChosenScale.
    // The tab warns while the drawing would be cut off at the scale chosen.
    static bool Ask(QPrinter& printer, const CGO_Database& database, const WorldCoordinates& visible);
    static CPaperScale ChosenScale();
    // What the printer's page shows at paper, and whether the drawing
    // reaches beyond it.
    static WorldCoordinates PageArea(const QPrinter& printer, const CGO_Database& database,
                                     const WorldCoordinates& visible, const CPaperScale& paper);
    static bool CutsOff(const QPrinter& printer, const CGO_Database& database, const WorldCoordinates& visible,
                        const CPaperScale& paper);
    // Prints on a printer that is set up already; false when the printer
    // cannot be used. At a ratio the drawing is centred on the page, and
    // cutOff tells whether part of it lies beyond the page. A reporter that
    // says stop aborts the print job; false then as well.
    static bool PrintOn(QPrinter& printer, const CGO_Database& database, const WorldCoordinates& visible,
                        const CPaperScale& paper = CPaperScale(), bool* cutOff = nullptr,
                        IProgress* progress = nullptr);
};
