// The control center's actions: the step each operation is at. The operation
// dialogs compare these values to know what the mouse has given already, so
// they are fixed.
#pragma once

enum {
    ACTION_IDLE = 0,
    ACTION_DELETE_PICK = 1,
    ACTION_LINE_START = 10,
    ACTION_LINE_END = 11,
    ACTION_CIRCLE_CENTER = 20,
    ACTION_CIRCLE_POINT = 21,
    ACTION_MOVE_PICK = 30,
    ACTION_MOVE_DRAG = 31,
    ACTION_ROTATE_PICK = 50,
    ACTION_ROTATE_BASE = 51,
    ACTION_ROTATE_DIALOG = 52,
    ACTION_SCALE_PICK = 60,
    ACTION_SCALE_BASE = 61,
    ACTION_SCALE_DIALOG = 62,
    ACTION_FLIP_PICK = 70,
    ACTION_FLIP_START = 71,
    ACTION_FLIP_END = 72,
    // Paste: the copied objects follow the cursor until a click places them.
    ACTION_PASTE_PLACE = 95,
    ACTION_ARC_CENTER = 80,
    ACTION_ARC_START = 81,
    ACTION_ARC_END = 82,
    // "Linienzug": the first point, then each next point draws a line from
    // the last one.
    ACTION_POLYLINE_START = 100,
    ACTION_POLYLINE_NEXT = 101,
    // "Messen": two points, nothing changes.
    ACTION_MEASURE_START = 110,
    ACTION_MEASURE_END = 111,
    // Trim: each click on a piece cuts it away; the tool stays for the next.
    ACTION_TRIM_PICK = 120,
    ACTION_TRIM_NEXT = 121,
    // Offset: without a typed distance the copy runs through a clicked point;
    // with one, it lies that far away on the side clicked.
    ACTION_OFFSET_PICK_THROUGH = 130,
    ACTION_OFFSET_THROUGH = 131,
    ACTION_OFFSET_PICK = 132,
    ACTION_OFFSET_SIDE = 133,
};
