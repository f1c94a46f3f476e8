// What a step of the drawing's history did, for its log lines and its name
// in the program's menus and buttons.
#pragma once

enum EditKind : unsigned char {
    EDIT_CREATE_LINE,
    EDIT_CREATE_CIRCLE,
    EDIT_DELETE,
    EDIT_MOVE,
    EDIT_ROTATE,
    EDIT_SCALE,
    EDIT_FLIP_HORIZONTAL,
    EDIT_FLIP_VERTICAL,
    EDIT_FLIP_ON_ORIGIN,
    EDIT_FLIP_ON_STRAIGHT,
    EDIT_PASTE,
    EDIT_CREATE_ARC,
    EDIT_TRIM,
    EDIT_OFFSET,
};

// "created", "moved", "flipped horizontal", ...: how the log names the step.
const char* EditVerb(EditKind kind);
