#include "view/CommandKeys.h"

#include "view/CadMessages.h"
#include "view/FileKeys.h"

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
    return 0;
}
