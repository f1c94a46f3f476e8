// The tens digit of an action names its operation; so does the step.
#include "control/ActionEditKind.h"

#include "control/lumen7dlg.h"

EditKind EditKindOfAction(int action)
{
    switch (action) {
    case ACTION_LINE_START:
    case ACTION_LINE_END:
        return EDIT_CREATE_LINE;
    case ACTION_CIRCLE_CENTER:
    case ACTION_CIRCLE_POINT:
        return EDIT_CREATE_CIRCLE;
    case ACTION_DELETE_PICK:
        return EDIT_DELETE;
    case ACTION_MOVE_PICK:
    case ACTION_MOVE_DRAG:
        return EDIT_MOVE;
    case ACTION_ROTATE_PICK:
    case ACTION_ROTATE_BASE:
    case ACTION_ROTATE_DIALOG:
        return EDIT_ROTATE;
    case ACTION_SCALE_PICK:
    case ACTION_SCALE_BASE:
    case ACTION_SCALE_DIALOG:
        return EDIT_SCALE;
    default:
        // The mirror dialog names its own kind when it is not this one.
        return EDIT_FLIP_ON_STRAIGHT;
    }
}
