// Whole-file reading and all-or-nothing file replacement for drawing files.
// Both report failures as a reason text, never by throwing.
#pragma once

#include <string>
#include <vector>

namespace fileio {

// Reads the complete file at path into bytes. On failure returns false with
// the reason in error and leaves bytes empty.
bool ReadWholeFile(const char* path, std::vector<unsigned char>& bytes, std::string& error);

// Replaces a file as a whole or not at all: the new contents go into a
// temporary file next to the target, are flushed to the disk, and only then
// renamed over the target. Until Commit succeeds the target is untouched, and
// the temporary file never outlives the object.
class CFileReplacer {
public:
    explicit CFileReplacer(const char* path) : m_strPath(path) {}
    ~CFileReplacer();

    // Checks the target and creates the temporary file, so that a save that
    // cannot succeed fails before any work is done.
    bool Open(std::string& error);
    bool Commit(const std::vector<unsigned char>& bytes, std::string& error);

    CFileReplacer(const CFileReplacer&) = delete;
    CFileReplacer& operator=(const CFileReplacer&) = delete;

private:
    void Discard();

    std::string m_strPath;
    std::string m_strTemp;
    int m_fd = -1;
};

} // namespace fileio
