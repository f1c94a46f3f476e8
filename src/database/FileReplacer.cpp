// Saving through a temporary file so that neither a failed save nor a killed
// process destroys the drawing that was there before: unnamed temporary files
// where the file system has them, hidden named ones elsewhere.
#include "database/FileReplacer.h"

#include "log/Logger.h"

#include "database/FileIO.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <limits.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace fileio {

namespace {

// The kernel's own limit for a chain of symbolic links.
constexpr int kMaxLinkHops = 40;
constexpr int kMaxNameAttempts = 100;
// Between two chunks of a write the user may stop the save.
constexpr std::size_t kWriteChunk = std::size_t(1) << 20;

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The stem of a temporary file's name beside the target: hidden, and as
// long whatever the target is called, so that a target name at the file
// system's limit still leaves room for it.
std::string TemporaryStem(const std::string& target)
{
    return FolderOf(target) + "/.lumen7-save.";
}

bool WriteAll(int fd, const unsigned char* data, std::size_t size, std::string& error)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            error = ErrnoReason("cannot write the file", errno);
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

mode_t CreationMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// The file a path finally names: each symbolic link is replaced by what it
// points to, relative to the link's own folder, until the path is no link.
// A dangling link gives the path of the file it would name.
bool FollowLinks(const std::string& path, std::string& target, std::string& error)
{
    target = path;
    for (int hop = 0; hop <= kMaxLinkHops; ++hop) {
        struct stat info {};
        // Any other trouble with the path shows when the file is opened.
        if (::lstat(target.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return true;
        std::string link(PATH_MAX, '\0');
        const ssize_t length = ::readlink(target.c_str(), link.data(), link.size());
        if (length < 0 || static_cast<std::size_t>(length) >= link.size()) {
            error = ErrnoReason("cannot read the symbolic link", length < 0 ? errno : ENAMETOOLONG);
            return false;
        }
        link.resize(static_cast<std::size_t>(length));
        target = !link.empty() && link[0] == '/' ? link : FolderOf(target) + "/" + link;
    }
    error = ErrnoReason("cannot follow the symbolic link", ELOOP);
    return false;
}

// The name under which /proc reaches an open file; linkat gives an unnamed
// file its name through it.
std::string ProcPath(int fd)
{
    return "/proc/self/fd/" + std::to_string(fd);
}

std::string RandomSuffix()
{
    static const char kChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    static std::mt19937 generator{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kChars - 2);
    std::string suffix(6, ' ');
    for (char& c : suffix)
        c = kChars[pick(generator)];
    return suffix;
}

// The rename is durable only once the folder itself is on the disk. The file
// is complete either way, so a folder that cannot be flushed is no failure.
void SyncFolder(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

CFileReplacer::CFileReplacer(const char* path, int nTempKind) : m_strPath(path), m_nTempKind(nTempKind) {}

CFileReplacer::~CFileReplacer()
{
    Discard();
}

void CFileReplacer::Discard()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    // Never the target itself: an in-place save has no temporary file.
    if (!m_strTemp.empty())
        ::unlink(m_strTemp.c_str());
    m_strTemp.clear();
}

bool CFileReplacer::Open(std::string& error)
{
    Discard();
    m_nMethod = METHOD_NONE;
    if (m_strPath.empty() || m_strPath.back() == '/') {
        error = "no file name given";
        return false;
    }
    if (!CheckTarget(error))
        return false;
    if (m_nTempKind == TEMP_UNNAMED && OpenUnnamed())
        return true;
    return OpenNamed(error);
}

bool CFileReplacer::CheckTarget(std::string& error)
{
    if (!FollowLinks(m_strPath, m_strTarget, error))
        return false;
    if (m_strTarget.back() == '/') {
        error = ErrnoReason("cannot replace the file", EISDIR);
        return false;
    }
    struct stat existing {};
    m_bTargetExists = ::stat(m_strTarget.c_str(), &existing) == 0;
    if (!m_bTargetExists) {
        m_nMode = m_nNewFileMode != 0 ? m_nNewFileMode : CreationMode();
        return true;
    }
    if (S_ISDIR(existing.st_mode)) {
        error = ErrnoReason("cannot replace the file", EISDIR);
        return false;
    }
    // A pipe, a device or a socket is not a drawing to replace, and writing
    // into a pipe would wait for a reader.
    if (!S_ISREG(existing.st_mode)) {
        error = "cannot replace the file: not a regular file";
        return false;
    }
    // Renaming would replace a file the user may not write to.
    if (::access(m_strTarget.c_str(), W_OK) != 0) {
        error = ErrnoReason("cannot write the file", errno);
        return false;
    }
    m_nMode = existing.st_mode & 07777;
    m_nOwner = existing.st_uid;
    m_nGroup = existing.st_gid;
    return true;
}

bool CFileReplacer::OpenUnnamed()
{
#ifdef O_TMPFILE
    // Fails on file systems without unnamed files; the named method is next.
    const int fd = ::open(FolderOf(m_strTarget).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    // Without /proc the file could never be given a name.
    if (::access(ProcPath(fd).c_str(), F_OK) != 0) {
        ::close(fd);
        return false;
    }
    m_fd = fd;
    m_nMethod = METHOD_UNNAMED;
    return true;
#else
    return false;
#endif
}

bool CFileReplacer::OpenNamed(std::string& error)
{
    // The temporary file lives in the target's folder: rename is atomic only
    // within one file system.
    std::string temp = TemporaryStem(m_strTarget) + "XXXXXX";
    m_fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (m_fd >= 0) {
        m_strTemp = temp;
        m_nMethod = METHOD_NAMED;
        return true;
    }
    const int reason = errno;
    if ((reason == EACCES || reason == EPERM) && m_bTargetExists)
        return OpenInPlace(error);
    error = ErrnoReason("cannot create a temporary file in the folder", reason);
    return false;
}

bool CFileReplacer::OpenInPlace(std::string& error)
{
    m_fd = ::open(m_strTarget.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (m_fd < 0) {
        error = ErrnoReason("cannot write the file", errno);
        return false;
    }
    // The file may have been swapped for something else since it was checked.
    struct stat info {};
    if (::fstat(m_fd, &info) != 0 || !S_ISREG(info.st_mode) ||
        ::fcntl(m_fd, F_SETFL, ::fcntl(m_fd, F_GETFL) & ~O_NONBLOCK) != 0) {
        error = "cannot replace the file: not a regular file";
        Discard();
        return false;
    }
    m_nMethod = METHOD_IN_PLACE;
    return true;
}

bool CFileReplacer::WriteTemporary(const std::vector<unsigned char>& bytes, std::string& error,
                                   IProgress* progress)
{
    for (std::size_t done = 0; done < bytes.size();) {
        const std::size_t chunk = std::min(kWriteChunk, bytes.size() - done);
        if (!WriteAll(m_fd, bytes.data() + done, chunk, error))
            return false;
        done += chunk;
        if (progress != nullptr && !progress->Report(done, bytes.size())) {
            error = progress::kCancelled;
            return false;
        }
    }
    if (m_bTargetExists) {
        // Only a privileged process may give a file away; anyone may keep
        // one of their own groups. Neither failing stops the save. Before
        // fchmod, because a change of owner clears the set-id bits.
        if (::fchown(m_fd, m_nOwner, m_nGroup) != 0)
            (void)::fchown(m_fd, static_cast<uid_t>(-1), m_nGroup);
    }
    if (::fchmod(m_fd, m_nMode) != 0) {
        error = ErrnoReason("cannot set the file's permissions", errno);
        return false;
    }
    if (::fsync(m_fd) != 0) {
        error = ErrnoReason("cannot flush the file to the disk", errno);
        return false;
    }
    return true;
}

bool CFileReplacer::LinkUnnamed(std::string& error)
{
    // linkat cannot replace a file, so the complete file gets a fresh name
    // first and is renamed over the target after that.
    const std::string stem = TemporaryStem(m_strTarget);
    for (int attempt = 0; attempt < kMaxNameAttempts; ++attempt) {
        const std::string name = stem + RandomSuffix();
        if (::linkat(AT_FDCWD, ProcPath(m_fd).c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            m_strTemp = name;
            return true;
        }
        if (errno != EEXIST)
            break;
    }
    error = ErrnoReason("cannot give the temporary file a name", errno);
    return false;
}

bool CFileReplacer::CommitInPlace(const std::vector<unsigned char>& bytes, std::string& error)
{
    if (::ftruncate(m_fd, 0) != 0) {
        error = ErrnoReason("cannot truncate the file", errno);
        return false;
    }
    bool ok = WriteAll(m_fd, bytes.data(), bytes.size(), error);
    if (ok && ::fsync(m_fd) != 0) {
        error = ErrnoReason("cannot flush the file to the disk", errno);
        ok = false;
    }
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0 && ok) {
        error = ErrnoReason("cannot close the file", errno);
        ok = false;
    }
    if (!ok)
        error += "; the file was being overwritten in place and may be incomplete";
    return ok;
}

bool CFileReplacer::Commit(const std::vector<unsigned char>& bytes, std::string& error, IProgress* progress)
{
    if (m_fd < 0) {
        error = "the file was not opened";
        return false;
    }
    if (m_nMethod == METHOD_IN_PLACE) {
        // Stopping an overwrite half-way would leave half a file: the last
        // chance to stop is before it begins.
        if (progress != nullptr && !progress->Report(0, bytes.size())) {
            error = progress::kCancelled;
            Discard();
            return false;
        }
        if (progress != nullptr)
            progress->PastReturn();
        return CommitInPlace(bytes, error);
    }
    bool ok = WriteTemporary(bytes, error, progress);
    if (ok && m_nMethod == METHOD_UNNAMED)
        ok = LinkUnnamed(error);
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0 && ok) {
        error = ErrnoReason("cannot close the file", errno);
        ok = false;
    }
    if (ok && ::rename(m_strTemp.c_str(), m_strTarget.c_str()) != 0) {
        error = ErrnoReason("cannot replace the file", errno);
        ok = false;
    }
    if (!ok) {
        Discard();
        return false;
    }
    m_strTemp.clear();
    SyncFolder(FolderOf(m_strTarget));
    return true;
}

void CFileReplacer::WarnIfNotAtomic(const char* shownPath) const
{
    if (IsInPlace())
        LogWarn("Saving graphics to file '%s' was not atomic: its folder is not writable, so '%s' was "
                "overwritten in place.",
                shownPath, m_strTarget.c_str());
}

} // namespace fileio
