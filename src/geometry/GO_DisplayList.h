// Compiling one object's display list: the old list goes, the new one is
// opened, and on Mesa it is closed with a padding that keeps compiling many
// small lists in linear time. Lines and circles compile through this.
#pragma once

class CGO_DisplayList {
public:
    // Deletes the list if it exists and opens it anew in GL_COMPILE mode.
    static void Begin(int list);
    // What a list holds between Begin and End; the padding is sized for it.
    enum class EContent {
        // One glBegin ... glEnd primitive and nothing else.
        Primitive,
        // A placement of a shared list: glPushMatrix, glTranslatef,
        // glScalef, glCallList, glPopMatrix, in this order and nothing else.
        Placement,
    };
    // Closes the list opened by Begin.
    static void End(EContent content = EContent::Primitive);

    // Whether lists compiled in the current context are padded, that is
    // whether the context is Mesa's. Asked once per context.
    static bool PadsCurrentContext();
};
