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
};

// What a key in the drawing window asks of the control center.
enum : unsigned {
    CAD_COMMAND_UNDO = 1,
    CAD_COMMAND_REDO = 2,
    CAD_COMMAND_CANCEL = 3,       // Escape: end the operation under way
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
