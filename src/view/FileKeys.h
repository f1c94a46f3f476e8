// The file keys, the same in the control center and the drawing window:
// Ctrl+O, Ctrl+S, Ctrl+Shift+S, Ctrl+P and Ctrl+N.
#pragma once

#include <Qt>

#include <vector>

struct CFileKey {
    const char* keys;  // as QKeySequence reads it
    unsigned command;  // a CAD_COMMAND_ value
};

const std::vector<CFileKey>& FileKeys();

// The file command of the key with Ctrl and Shift as given, or 0.
unsigned FileCommandForKey(int key, Qt::KeyboardModifiers modifiers);
