// Log read-back for tests.
#include "support/LogTail.h"

#include "log/Logger.h"

#include <fstream>
#include <regex>
#include <sstream>

namespace testsupport {

namespace {

long CurrentLogSize()
{
    CLogger::GetInstance()->Flush();
    std::ifstream in("stdout.txt", std::ios::binary | std::ios::ate);
    return in ? static_cast<long>(in.tellg()) : 0;
}

} // namespace

bool StripTimestamp(const std::string& raw, std::string& out)
{
    static const std::regex shape(R"(^(\[[A-Z]+\]) +(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d) - (.*)$)");
    std::smatch match;
    if (!std::regex_match(raw, match, shape))
        return false;
    out = match[1].str() + " " + match[3].str();
    return true;
}

LogTail::LogTail() { Restart(); }

void LogTail::Restart() { m_offset = CurrentLogSize(); }

std::vector<std::string> LogTail::Lines() const
{
    CLogger::GetInstance()->Flush();
    std::ifstream in("stdout.txt", std::ios::binary);
    in.seekg(m_offset);
    std::vector<std::string> lines;
    std::string raw;
    while (std::getline(in, raw)) {
        std::string line;
        lines.push_back(StripTimestamp(raw, line) ? line : "<malformed> " + raw);
    }
    return lines;
}

std::vector<std::string> LogTail::Messages() const
{
    std::vector<std::string> messages;
    for (const std::string& line : Lines())
        messages.push_back(line.substr(line.find(' ') + 1));
    return messages;
}

bool LogTail::Contains(const std::string& text) const
{
    for (const std::string& line : Lines()) {
        if (line.find(text) != std::string::npos)
            return true;
    }
    return false;
}

} // namespace testsupport
