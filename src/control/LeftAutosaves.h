// Autosaves that instances no longer running left behind: found in lumen7's
// folder, claimed under their own locks (so that two instances starting at
// once never offer the same one), and, once dealt with, removed or set aside.
#pragma once

#include <QDateTime>
#include <QString>

#include <memory>
#include <vector>

class QLockFile;

struct CLeftAutosave {
    QString stem;
    QDateTime written;
    // The drawing's own file, or empty for a drawing that had none.
    QString origin;
    std::shared_ptr<QLockFile> lock;

    QString DrawingPath() const;
};

namespace leftautosaves {

// Every autosave but ownStem's whose instance no longer runs, newest first,
// each locked until it goes. Locks left without an autosave are cleared.
std::vector<CLeftAutosave> Claim(const QString& ownStem);
// Renames the autosave's files so that they are never offered again, the
// drawing to "<stem><suffix>"; returns that file's path, or an empty string
// when the rename failed (then it stays where it was).
QString SetAside(CLeftAutosave& left, const QString& drawingSuffix, const QString& originSuffix);
// Removes the autosave's files and lets go of its lock.
void Remove(CLeftAutosave& left);

} // namespace leftautosaves
