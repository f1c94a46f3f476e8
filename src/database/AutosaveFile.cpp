// Autosave files go through the same replacement and the same checks as the
// user's drawings.
#include "database/AutosaveFile.h"

#include "database/FileIO.h"
#include "database/FileReplacer.h"
#include "database/GO_ArchiveReader.h"

#include <cstdint>

namespace autosave {

bool WriteFile(const std::string& path, const std::vector<unsigned char>& bytes, std::string& error)
{
    fileio::CFileReplacer file(path.c_str());
    file.SetNewFileMode(0600);
    if (!file.Open(error))
        return false;
    if (file.IsInPlace()) {
        error = "the autosave folder takes no new files";
        return false;
    }
    return file.Commit(bytes, error);
}

bool CheckDrawingFile(const std::string& path, std::string& error)
{
    std::vector<unsigned char> bytes;
    if (!fileio::ReadWholeFile(path.c_str(), bytes, error))
        return false;
    CGO_ArchiveReader checker(bytes.data(), bytes.size());
    std::uint32_t count = 0;
    if (!checker.CheckAll(count)) {
        error = checker.GetError();
        return false;
    }
    return true;
}

} // namespace autosave
