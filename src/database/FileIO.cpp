// POSIX reading of drawing files: read loops that survive short reads and
// signals, and a refusal of pipes and devices that never waits on them.
#include "database/FileIO.h"

#include "database/Progress.h"
#include "log/Logger.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <locale.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace fileio {

namespace {

constexpr std::size_t kReadChunk = 1 << 20;
// Far beyond any drawing this program can display (about 60 million lines),
// and a bound on what a wrong file can make it allocate.
constexpr std::uint64_t kMaxFileBytes = std::uint64_t(1) << 30;

} // namespace

const char* EnglishErrorText(int error)
{
    // The C library speaks the user's language once the program has set its
    // locale; reasons go into the English log, so they are taken in "C".
    static const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t(0));
    return c != locale_t(0) ? strerror_l(error, c) : std::strerror(error);
}

std::string ErrnoReason(const char* what, int error)
{
    return std::string(what) + ": " + EnglishErrorText(error);
}

bool ReadWholeFile(const char* path, std::vector<unsigned char>& bytes, std::string& error)
{
    bytes.clear();
    // Opening a pipe for reading would wait for a writer, maybe for ever:
    // nothing blocks until fstat has shown a regular file.
    const int fd = ::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = ErrnoReason("cannot open the file", errno);
        return false;
    }
    bool ok = true;
    try {
        struct stat info {};
        if (::fstat(fd, &info) != 0) {
            error = ErrnoReason("cannot read the file", errno);
            ok = false;
        } else if (!S_ISREG(info.st_mode)) {
            // A device or a pipe may never end.
            error = "not a regular file";
            ok = false;
        } else if (static_cast<std::uint64_t>(info.st_size) > kMaxFileBytes) {
            error = "the file is larger than 1 GiB";
            ok = false;
        } else if (::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
            error = ErrnoReason("cannot read the file", errno);
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
                error = ErrnoReason("cannot read the file", errno);
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

void LogNotDone(const char* doing, const char* path, const std::string& reason)
{
    if (reason == progress::kCancelled)
        LogInfo("%s file '%s' cancelled.", doing, path);
    else
        LogWarn("%s file '%s' failed: %s", doing, path, reason.c_str());
}

} // namespace fileio
