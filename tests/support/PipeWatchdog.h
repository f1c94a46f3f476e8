// For tests that hand a named pipe to code that must not wait on it: if a
// reader still waits after a grace period, the watchdog opens the writing end
// and closes it again, so the reader gets an end of file and the test fails
// instead of hanging.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <fcntl.h>
#include <mutex>
#include <string>
#include <thread>
#include <unistd.h>

namespace testsupport {

class PipeWatchdog {
public:
    explicit PipeWatchdog(std::string path, std::chrono::milliseconds grace = std::chrono::seconds(3))
        : m_strPath(std::move(path)), m_thread([this, grace] { Watch(grace); })
    {
    }

    ~PipeWatchdog()
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_bStopped = true;
        }
        m_wake.notify_all();
        m_thread.join();
    }

    // True when some reader had to be set free.
    bool Fired() const { return m_bFired; }

    PipeWatchdog(const PipeWatchdog&) = delete;
    PipeWatchdog& operator=(const PipeWatchdog&) = delete;

private:
    void Watch(std::chrono::milliseconds grace)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        if (m_wake.wait_for(lock, grace, [this] { return m_bStopped; }))
            return;
        // Opening without blocking succeeds only while a reader is there.
        while (!m_bStopped) {
            const int fd = ::open(m_strPath.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            if (fd >= 0) {
                m_bFired = true;
                ::close(fd);
            }
            m_wake.wait_for(lock, std::chrono::milliseconds(10), [this] { return m_bStopped; });
        }
    }

    std::string m_strPath;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_bStopped = false;
    std::atomic<bool> m_bFired{false};
    std::thread m_thread;
};

} // namespace testsupport
