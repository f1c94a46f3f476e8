// The messages the drawing window sends to the control center, and the
// interface through which it sends them synchronously.
#pragma once

#include <cstdint>

enum : unsigned {
    WM_CAD_OBJECT_PICKED = 2025,  // wParam: selection name (id + 100)
    WM_CAD_POINT_SET = 2026,
    WM_CAD_DRAG_DONE = 2028,
    WM_CAD_MENU_CLICK = 2030,
};

class ICadMessageReceiver {
public:
    virtual ~ICadMessageReceiver() = default;
    // Handles the message completely, including any redraw, before returning.
    virtual long SendCadMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) = 0;
};
