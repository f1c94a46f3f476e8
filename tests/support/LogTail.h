// Reads back what the logger wrote to "stdout.txt" since a given moment, with
// the timestamps removed, so tests can compare exact lines and their order.
#pragma once

#include <string>
#include <vector>

namespace testsupport {

class LogTail {
public:
    // Remembers the current end of the log.
    LogTail();

    // Lines written since construction (or the last Restart) as
    // "[LEVEL] message", for example "[INFO] New line created: object id #0".
    std::vector<std::string> Lines() const;
    // The message parts only.
    std::vector<std::string> Messages() const;
    // True when some line since construction contains text.
    bool Contains(const std::string& text) const;
    void Restart();

private:
    long m_offset = 0;
};

// Splits one raw log line "[TAG]  YYYY-MM-DD hh:mm:ss - message" into
// "[TAG] message"; returns false when the line does not have that shape.
bool StripTimestamp(const std::string& raw, std::string& out);

} // namespace testsupport
