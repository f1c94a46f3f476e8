#include "view/CommandKeys.h"

#include "view/CadMessages.h"
#include "view/FileKeys.h"

namespace {

unsigned SelectionCommandForKey(int key, Qt::KeyboardModifiers relevant)
{
    if (key == Qt::Key_Delete && relevant == Qt::NoModifier)
        return CAD_COMMAND_DELETE;
    if (relevant != Qt::ControlModifier)
        return 0;
    switch (key) {
    case Qt::Key_A:
        return CAD_COMMAND_SELECT_ALL;
    case Qt::Key_C:
        return CAD_COMMAND_COPY;
    case Qt::Key_X:
        return CAD_COMMAND_CUT;
    case Qt::Key_V:
        return CAD_COMMAND_PASTE;
    case Qt::Key_D:
        return CAD_COMMAND_DUPLICATE;
    default:
        return 0;
    }
}

} // namespace

unsigned CadCommandForKey(int key, Qt::KeyboardModifiers modifiers)
{
    // Keypad and other modifiers do not change which command a key gives.
    const Qt::KeyboardModifiers relevant = modifiers & (Qt::ControlModifier | Qt::ShiftModifier);
    if (const unsigned fileCommand = FileCommandForKey(key, relevant))
        return fileCommand;
    if (key == Qt::Key_Z && relevant == Qt::ControlModifier)
        return CAD_COMMAND_UNDO;
    if ((key == Qt::Key_Y && relevant == Qt::ControlModifier) ||
        (key == Qt::Key_Z && relevant == (Qt::ControlModifier | Qt::ShiftModifier)))
        return CAD_COMMAND_REDO;
    if (key == Qt::Key_Escape && relevant == Qt::NoModifier)
        return CAD_COMMAND_CANCEL;
    if ((key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) && relevant == Qt::NoModifier)
        return CAD_COMMAND_ENTER;
    return SelectionCommandForKey(key, relevant);
}
