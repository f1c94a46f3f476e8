// The process-wide logger: levelled, timestamped lines in "stdout.txt" in the
// working directory, truncated at every start.
#pragma once

#include <cstdio>

class CLogger {
public:
    enum {
        LEVEL_FATAL = 1,
        LEVEL_WARN = 2,
        LEVEL_INFO = 4,
        LEVEL_DEBUG = 8,
        LEVEL_ALL = 16,
    };

    // Opens the log on first use. When the file cannot be opened the process
    // ends with exit status -1 after one line on standard error.
    static CLogger* GetInstance();
    // Switches logging off for the whole run, before the first use: no file
    // is created or truncated, and nothing is written. Returns false, and
    // changes nothing, when the log is in use already.
    static bool SwitchOff();

    void SetLevel(int level) { m_nLevel = level; }
    int GetLevel() const { return m_nLevel; }
    bool IsEnabled(int level) const { return m_pStream != nullptr && m_nLevel >= level; }

    // Each writes one finished message; the message is never a format string.
    void Fatal(const char* message);
    void Warn(const char* message);
    void Info(const char* message);
    void Debug(const char* message);

    // Writes the current local time as "YYYY-MM-DD hh:mm:ss" into buffer (80 chars).
    void FormatTimestamp(char* buffer);

    // Pushes buffered lines into the file. The program never needs this (the
    // runtime flushes at exit); tests use it to read the log back.
    void Flush();

private:
    explicit CLogger(std::FILE* stream);
    void Write(int level, const char* tag, const char* message);

    std::FILE* m_pStream; // null when logging is switched off
    int m_nLevel;
    long m_nCachedSecond;
    char m_szCachedTime[80];
};

// printf-style helpers: they format in the C locale, so numbers always carry a
// decimal point, and skip the formatting entirely when the level is filtered.
void LogFatal(const char* format, ...) __attribute__((format(printf, 1, 2)));
void LogWarn(const char* format, ...) __attribute__((format(printf, 1, 2)));
void LogInfo(const char* format, ...) __attribute__((format(printf, 1, 2)));
void LogDebug(const char* format, ...) __attribute__((format(printf, 1, 2)));
