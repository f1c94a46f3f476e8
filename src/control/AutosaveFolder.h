// lumen7's own folder for autosaves and file locks, under the user's state
// folder ($XDG_STATE_HOME/lumen7, else ~/.local/state/lumen7), private to the
// user, and the names of the files in it.
#pragma once

#include <QString>

namespace autosavefolder {

// The folder's path, whether it exists or not.
QString Path();
// Creates the folder where it is missing and makes it the user's alone
// (0700). False, with the reason in English, when that fails.
bool Prepare(QString& error);

// An autosave's files share a stem, "autosave-<pid>-<stamp>": the drawing
// (.dat), the path of the drawing's own file (.origin) and the lock of the
// instance writing them (.lock).
QString DrawingPath(const QString& stem);
QString OriginPath(const QString& stem);
QString LockPath(const QString& stem);
// A new stem, unique to this process and moment.
QString NewStem();
// The stem of an autosave's drawing file name, or an empty string for any
// other file (one set aside, a lock, a temporary file).
QString StemOfFile(const QString& fileName);

} // namespace autosavefolder
