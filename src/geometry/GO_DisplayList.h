// Compiling one object's display list: the old list goes, the new one is
// opened, and on Mesa it is closed with a padding that keeps compiling many
// small lists in linear time. Lines and circles compile through this.
#pragma once

class CGO_DisplayList {
public:
    // Deletes the list if it exists and opens it anew in GL_COMPILE mode.
    static void Begin(int list);
    // Closes the list opened by Begin. The commands between must be one
    // glBegin ... glEnd primitive and nothing else, the shape the padding
    // is sized for.
    static void End();

    // Whether lists compiled in the current context are padded, that is
    // whether the context is Mesa's. Asked once per context.
    static bool PadsCurrentContext();
};
