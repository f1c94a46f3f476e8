// The messages the drawing window sends to the control center, and the
// interface through which it sends them synchronously.
#pragma once

#include <cstdint>

enum : unsigned {
    WM_CAD_OBJECT_PICKED = 2025,  // wParam: selection name (id + 100)
    WM_CAD_POINT_SET = 2026,
    WM_CAD_DRAG_DONE = 2028,
    WM_CAD_MENU_CLICK = 2030,
    WM_CAD_COMMAND = 2040,        // wParam: one of the CAD_COMMAND_ values, from a key
    // With no mode under way: a click (wParam: selection name or 0), a
    // selection rectangle (GetSelectionBox) and a right click (wParam: the
    // name under the cursor or 0). lParam: SELECT_ flags.
    WM_CAD_SELECT_CLICK = 2041,
    WM_CAD_SELECT_RECT = 2042,
    WM_CAD_CONTEXT_MENU = 2043,
};

enum : unsigned {
    SELECT_SHIFT = 1,   // add to the selection (Shift held)
    SELECT_WINDOW = 2,  // the rectangle was drawn left to right
};

// What a key in the drawing window asks of the control center.
enum : unsigned {
    CAD_COMMAND_UNDO = 1,
    CAD_COMMAND_REDO = 2,
    CAD_COMMAND_CANCEL = 3,       // Escape: end the operation under way
    CAD_COMMAND_SELECT_ALL = 4,   // Ctrl+A
    CAD_COMMAND_DELETE = 5,       // Delete
    CAD_COMMAND_COPY = 6,         // Ctrl+C
    CAD_COMMAND_CUT = 7,          // Ctrl+X
    CAD_COMMAND_PASTE = 8,        // Ctrl+V
    CAD_COMMAND_DUPLICATE = 9,    // Ctrl+D
    CAD_COMMAND_ENTER = 10,       // Enter or Space: repeat the last operation, end a chain
    // The file keys (view/FileKeys.h).
    CAD_COMMAND_OPEN = 30,        // Ctrl+O: "Laden"
    CAD_COMMAND_SAVE = 31,        // Ctrl+S: save to the current file
    CAD_COMMAND_SAVE_AS = 32,     // Ctrl+Shift+S: "Speichern", which asks
    CAD_COMMAND_PRINT = 33,       // Ctrl+P: "Drucken…"
    CAD_COMMAND_NEW = 34,         // Ctrl+N: a new, empty drawing
};

class ICadMessageReceiver {
public:
    virtual ~ICadMessageReceiver() = default;
    // Handles the message completely, including any redraw, before returning.
    virtual long SendCadMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) = 0;
};
