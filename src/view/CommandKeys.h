// The keys of the drawing window that belong to the control center: undo,
// redo and cancel, sent on as CAD_COMMAND_* values.
#pragma once

#include <Qt>

// The command of the key with these modifiers, or 0 for a key of the
// drawing window's own.
unsigned CadCommandForKey(int key, Qt::KeyboardModifiers modifiers);
