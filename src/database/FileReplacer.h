// All-or-nothing replacement of drawing files, with failures reported as a
// reason text, never by throwing.
#pragma once

#include "database/Progress.h"

#include <string>
#include <sys/types.h>
#include <vector>

namespace fileio {

// Replaces a file as a whole or not at all. The path may be a symbolic link
// (or a chain of them): the file it finally names is written, and the links
// stay. The new contents go into a temporary file in that file's folder, are
// flushed to the disk, and only then renamed over it, with its permissions,
// owner and group. Until Commit succeeds the target is untouched.
//
// Where the file system offers unnamed temporary files, the temporary file
// gets a name only once it is complete, just before the rename, so a process
// killed while saving leaves nothing behind. Otherwise it is a hidden file
// next to the target, removed again on every failure.
//
// When the folder takes no new file but the file itself may be written, the
// file is overwritten in place instead; such a save is not atomic, and
// IsInPlace() says so.
class CFileReplacer {
public:
    enum {
        TEMP_UNNAMED, // unnamed where the file system supports it, else named
        TEMP_NAMED,   // always a hidden named file next to the target
    };

    explicit CFileReplacer(const char* path, int nTempKind = TEMP_UNNAMED);
    ~CFileReplacer();

    // The permissions a file that does not exist yet is created with; by
    // default what the umask leaves of 0666. An existing file keeps its own.
    void SetNewFileMode(mode_t mode) { m_nNewFileMode = mode; }

    // Checks the target and creates the temporary file, so that a save that
    // cannot succeed fails before any work is done.
    bool Open(std::string& error);
    // Writes the bytes and puts them in the target's place. A reporter that
    // says stop before the rename leaves the target untouched and no
    // temporary file behind; error is then progress::kCancelled.
    bool Commit(const std::vector<unsigned char>& bytes, std::string& error, IProgress* progress = nullptr);

    // After Open: the file that is written, with symbolic links followed.
    const std::string& GetTarget() const { return m_strTarget; }
    bool IsInPlace() const { return m_nMethod == METHOD_IN_PLACE; }
    // After a Commit that wrote the file in place: says so in the log, since
    // a crash in the middle of such a save would have left a broken file.
    void WarnIfNotAtomic(const char* shownPath) const;
    bool IsUnnamed() const { return m_nMethod == METHOD_UNNAMED; }

    CFileReplacer(const CFileReplacer&) = delete;
    CFileReplacer& operator=(const CFileReplacer&) = delete;

private:
    enum { METHOD_NONE, METHOD_UNNAMED, METHOD_NAMED, METHOD_IN_PLACE };

    bool CheckTarget(std::string& error);
    bool OpenUnnamed();
    bool OpenNamed(std::string& error);
    bool OpenInPlace(std::string& error);
    bool WriteTemporary(const std::vector<unsigned char>& bytes, std::string& error, IProgress* progress);
    bool LinkUnnamed(std::string& error);
    bool CommitInPlace(const std::vector<unsigned char>& bytes, std::string& error);
    void Discard();

    std::string m_strPath;
    int m_nTempKind;
    std::string m_strTarget;
    std::string m_strTemp;
    int m_fd = -1;
    int m_nMethod = METHOD_NONE;
    bool m_bTargetExists = false;
    mode_t m_nMode = 0;
    mode_t m_nNewFileMode = 0;
    uid_t m_nOwner = 0;
    gid_t m_nGroup = 0;
};

} // namespace fileio
