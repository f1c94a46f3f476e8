// The log's words for the kinds of steps.
#include "edit/EditKind.h"

const char* EditVerb(EditKind kind)
{
    switch (kind) {
    case EDIT_CREATE_LINE:
    case EDIT_CREATE_CIRCLE:
    case EDIT_CREATE_ARC:
        return "created";
    case EDIT_DELETE:
        return "deleted";
    case EDIT_MOVE:
        return "moved";
    case EDIT_ROTATE:
        return "rotated";
    case EDIT_SCALE:
        return "scaled";
    case EDIT_FLIP_HORIZONTAL:
        return "flipped horizontal";
    case EDIT_FLIP_VERTICAL:
        return "flipped vertical";
    case EDIT_FLIP_ON_ORIGIN:
        return "flipped on origin of ordinates";
    case EDIT_FLIP_ON_STRAIGHT:
        return "flipped on straight";
    case EDIT_PASTE:
        return "pasted";
    case EDIT_TRIM:
        return "trimmed";
    case EDIT_OFFSET:
        return "offset";
    }
    return "changed";
}
