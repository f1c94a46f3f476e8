// POSIX file access for drawing files: read loops that survive short reads and
// signals, and saving through a temporary file so that a failed save never
// destroys the drawing that was there before.
#include "database/FileIO.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace fileio {

namespace {

constexpr std::size_t kReadChunk = 1 << 20;
// Far beyond any drawing this program can display (about 60 million lines),
// and a bound on what a wrong file can make it allocate.
constexpr std::uint64_t kMaxFileBytes = std::uint64_t(1) << 30;

std::string Reason(const char* what, int error)
{
    return std::string(what) + ": " + std::strerror(error);
}

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool WriteAll(int fd, const unsigned char* data, std::size_t size, std::string& error)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            error = Reason("cannot write the file", errno);
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

// The permissions the saved file should get: those of the file it replaces,
// or what creating it with fopen would have given.
mode_t TargetMode(const char* path)
{
    struct stat existing {};
    if (::stat(path, &existing) == 0)
        return existing.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

bool ReadWholeFile(const char* path, std::vector<unsigned char>& bytes, std::string& error)
{
    bytes.clear();
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = Reason("cannot open the file", errno);
        return false;
    }
    bool ok = true;
    try {
        struct stat info {};
        if (::fstat(fd, &info) != 0) {
            error = Reason("cannot read the file", errno);
            ok = false;
        } else if (!S_ISREG(info.st_mode)) {
            // A device or a pipe may never end.
            error = "not a regular file";
            ok = false;
        } else if (static_cast<std::uint64_t>(info.st_size) > kMaxFileBytes) {
            error = "the file is larger than 1 GiB";
            ok = false;
        }
        // One byte beyond the expected size lets the read that sees the end
        // of the file happen without growing the buffer.
        if (ok)
            bytes.resize(static_cast<std::size_t>(info.st_size) + 1);
        std::size_t size = 0;
        while (ok) {
            if (size == bytes.size()) {
                if (size > kMaxFileBytes) {
                    error = "the file is larger than 1 GiB";
                    ok = false;
                    break;
                }
                bytes.resize(size + std::max(kReadChunk, size / 2));
            }
            const ssize_t got = ::read(fd, bytes.data() + size, bytes.size() - size);
            if (got < 0) {
                if (errno == EINTR)
                    continue;
                error = Reason("cannot read the file", errno);
                ok = false;
                break;
            }
            if (got == 0)
                break;
            size += static_cast<std::size_t>(got);
        }
        bytes.resize(size);
    } catch (const std::bad_alloc&) {
        error = "the file does not fit into memory";
        ok = false;
    }
    ::close(fd);
    if (!ok)
        std::vector<unsigned char>().swap(bytes);
    return ok;
}

CFileReplacer::~CFileReplacer()
{
    Discard();
}

void CFileReplacer::Discard()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    if (!m_strTemp.empty())
        ::unlink(m_strTemp.c_str());
    m_strTemp.clear();
}

bool CFileReplacer::Open(std::string& error)
{
    Discard();
    const char* path = m_strPath.c_str();
    if (m_strPath.empty() || m_strPath.back() == '/') {
        error = "no file name given";
        return false;
    }
    struct stat existing {};
    if (::stat(path, &existing) == 0) {
        if (S_ISDIR(existing.st_mode)) {
            error = Reason("cannot replace the file", EISDIR);
            return false;
        }
        // Renaming would replace a file the user may not write to.
        if (::access(path, W_OK) != 0) {
            error = Reason("cannot write the file", errno);
            return false;
        }
    }
    // The temporary file lives in the target's folder: rename is atomic only
    // within one file system.
    std::string temp = FolderOf(m_strPath) + "/." + NameOf(m_strPath) + ".XXXXXX";
    m_fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (m_fd < 0) {
        error = Reason("cannot create a temporary file in the folder", errno);
        return false;
    }
    m_strTemp = temp;
    return true;
}

bool CFileReplacer::Commit(const std::vector<unsigned char>& bytes, std::string& error)
{
    if (m_fd < 0) {
        error = "the file was not opened";
        return false;
    }
    bool ok = WriteAll(m_fd, bytes.data(), bytes.size(), error);
    if (ok && ::fchmod(m_fd, TargetMode(m_strPath.c_str())) != 0) {
        error = Reason("cannot set the file's permissions", errno);
        ok = false;
    }
    if (ok && ::fsync(m_fd) != 0) {
        error = Reason("cannot flush the file to the disk", errno);
        ok = false;
    }
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0 && ok) {
        error = Reason("cannot close the file", errno);
        ok = false;
    }
    if (ok && ::rename(m_strTemp.c_str(), m_strPath.c_str()) != 0) {
        error = Reason("cannot replace the file", errno);
        ok = false;
    }
    if (ok)
        m_strTemp.clear();
    else
        Discard();
    return ok;
}

} // namespace fileio
