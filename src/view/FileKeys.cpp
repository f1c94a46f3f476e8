#include "view/FileKeys.h"

#include "view/CadMessages.h"

#include <QKeySequence>
#include <QString>

const std::vector<CFileKey>& FileKeys()
{
    static const std::vector<CFileKey> keys = {
        {"Ctrl+O", CAD_COMMAND_OPEN},   {"Ctrl+S", CAD_COMMAND_SAVE}, {"Ctrl+Shift+S", CAD_COMMAND_SAVE_AS},
        {"Ctrl+P", CAD_COMMAND_PRINT}, {"Ctrl+N", CAD_COMMAND_NEW},
    };
    return keys;
}

unsigned FileCommandForKey(int key, Qt::KeyboardModifiers modifiers)
{
    const QKeyCombination pressed(modifiers & (Qt::ControlModifier | Qt::ShiftModifier), Qt::Key(key));
    for (const CFileKey& entry : FileKeys()) {
        if (QKeySequence(QString::fromLatin1(entry.keys))[0] == pressed)
            return entry.command;
    }
    return 0;
}
