// CLogger writes to its own buffered stream on "stdout.txt"; the C runtime
// flushes it when the process ends normally.
#include "log/Logger.h"

#include "log/CFormat.h"

#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <string>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char* const kLogFileName = "stdout.txt";

// Lines are only pushed out when this fills, or at exit.
char g_streamBuffer[1 << 16];

CLogger* g_instance = nullptr;
bool g_bSwitchedOff = false;

// Opens the log for writing as fopen(name, "w") would, but follows a
// symbolic link only when the running user owns it: a link someone else left
// in a shared folder must not make this program overwrite a file of ours.
// Returns null with errno set, or with why in refusal.
std::FILE* OpenLogFile(const char* name, std::string& refusal)
{
    struct stat link {};
    int flags = O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC;
    if (lstat(name, &link) == 0 && S_ISLNK(link.st_mode)) {
        if (link.st_uid != geteuid()) {
            refusal = "it is a symbolic link that another user owns";
            return nullptr;
        }
    } else {
        // Not a link when looked at: it must not become one meanwhile.
        flags |= O_NOFOLLOW;
    }
    const int fd = open(name, flags, 0666);
    if (fd < 0)
        return nullptr;
    std::FILE* stream = fdopen(fd, "w");
    if (stream == nullptr)
        close(fd);
    return stream;
}

} // namespace

CLogger* CLogger::GetInstance()
{
    if (g_instance != nullptr)
        return g_instance;
    if (g_bSwitchedOff) {
        g_instance = new CLogger(nullptr);
        return g_instance;
    }
    std::string refusal;
    std::FILE* stream = OpenLogFile(kLogFileName, refusal);
    if (stream == nullptr) {
        std::fprintf(stderr, "lumen7: cannot open the log file '%s' for writing: %s\n", kLogFileName,
                     refusal.empty() ? std::strerror(errno) : refusal.c_str());
        std::exit(-1);
    }
    std::setvbuf(stream, g_streamBuffer, _IOFBF, sizeof g_streamBuffer);
    g_instance = new CLogger(stream);
    return g_instance;
}

bool CLogger::SwitchOff()
{
    if (g_instance != nullptr)
        return false;
    g_bSwitchedOff = true;
    return true;
}

CLogger::CLogger(std::FILE* stream)
    : m_pStream(stream), m_nLevel(LEVEL_ALL), m_nCachedSecond(-1), m_szCachedTime{}
{
}

void CLogger::Fatal(const char* message) { Write(LEVEL_FATAL, "[FATAL] ", message); }
void CLogger::Warn(const char* message) { Write(LEVEL_WARN, "[WARN]  ", message); }
void CLogger::Info(const char* message) { Write(LEVEL_INFO, "[INFO]  ", message); }
void CLogger::Debug(const char* message) { Write(LEVEL_DEBUG, "[DEBUG] ", message); }

void CLogger::FormatTimestamp(char* buffer)
{
    // localtime_r does not re-read the time zone on every call as localtime
    // does, and the text is reused for every line within the same second.
    std::time_t now = std::time(nullptr);
    if (now != m_nCachedSecond) {
        std::tm local{};
        localtime_r(&now, &local);
        std::strftime(m_szCachedTime, sizeof m_szCachedTime, "%Y-%m-%d %H:%M:%S", &local);
        m_nCachedSecond = now;
    }
    std::memcpy(buffer, m_szCachedTime, sizeof m_szCachedTime);
}

void CLogger::Flush()
{
    if (m_pStream != nullptr)
        std::fflush(m_pStream);
}

void CLogger::Write(int level, const char* tag, const char* message)
{
    if (!IsEnabled(level))
        return;
    char timestamp[80];
    FormatTimestamp(timestamp);
    // Equivalent to fprintf("[TAG] %s - %s") followed by "\n", without
    // parsing a format string per line.
    std::fputs(tag, m_pStream);
    std::fputs(timestamp, m_pStream);
    std::fputs(" - ", m_pStream);
    std::fputs(message, m_pStream);
    std::fputc('\n', m_pStream);
}

namespace {

void LogFormatted(int level, void (CLogger::*write)(const char*), const char* format, va_list args)
{
    CLogger* logger = CLogger::GetInstance();
    if (!logger->IsEnabled(level))
        return;
    char buffer[1024];
    FormatC(buffer, sizeof buffer, format, args);
    (logger->*write)(buffer);
}

} // namespace

#define LUMEN7_DEFINE_LOG_FUNCTION(name, level, member)     \
    void name(const char* format, ...)                      \
    {                                                       \
        va_list args;                                       \
        va_start(args, format);                             \
        LogFormatted(level, &CLogger::member, format, args); \
        va_end(args);                                       \
    }

LUMEN7_DEFINE_LOG_FUNCTION(LogFatal, CLogger::LEVEL_FATAL, Fatal)
LUMEN7_DEFINE_LOG_FUNCTION(LogWarn, CLogger::LEVEL_WARN, Warn)
LUMEN7_DEFINE_LOG_FUNCTION(LogInfo, CLogger::LEVEL_INFO, Info)
LUMEN7_DEFINE_LOG_FUNCTION(LogDebug, CLogger::LEVEL_DEBUG, Debug)
