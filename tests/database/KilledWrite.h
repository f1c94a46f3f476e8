// Writes killed half-way, for the tests that a kill at any moment leaves
// whole files: a child process runs the write and is killed after a delay.
#pragma once

#include "database/DatabaseTestUtil.h"
#include "database/GO_Database.h"
#include "log/Logger.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <functional>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace dbtest {

// Every name in a folder, hidden ones included, sorted.
inline std::vector<std::string> Entries(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Only warnings are logged while it lives: a large drawing would otherwise
// write a line per object.
class QuietLog {
public:
    QuietLog() : m_nLevel(CLogger::GetInstance()->GetLevel()) { CLogger::GetInstance()->SetLevel(CLogger::LEVEL_WARN); }
    ~QuietLog() { CLogger::GetInstance()->SetLevel(m_nLevel); }

private:
    int m_nLevel;
};

// A drawing of some megabytes.
inline void FillLargeDrawing(CGO_Database& db)
{
    for (int i = 0; i < 250000; ++i)
        db.Add(MakeLine(static_cast<float>(i), 1, 2, static_cast<float>(-i)));
}

// Forks a child that announces itself through a pipe and then runs save;
// after the announcement the child is killed once delay has passed. Returns
// whether the save was still running when the signal came.
inline bool KillDuringSave(const std::function<bool()>& save, std::chrono::microseconds delay)
{
    int announce[2];
    if (::pipe(announce) != 0)
        return false;
    CLogger::GetInstance()->Flush();
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(announce[0]);
        const char ready = 'r';
        (void)::write(announce[1], &ready, 1);
        ::_exit(save() ? 0 : 1);
    }
    ::close(announce[1]);
    char ready = 0;
    (void)::read(announce[0], &ready, 1);
    ::close(announce[0]);
    std::this_thread::sleep_for(delay);
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFSIGNALED(status);
}

} // namespace dbtest
