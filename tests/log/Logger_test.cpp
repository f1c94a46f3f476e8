// The log file: line format, level filtering, truncation per run, locale
// independence and the exit status when the file cannot be opened.
#include "log/CFormat.h"
#include "log/Logger.h"
#include "support/LogTail.h"
#include "support/TestWorkDir.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

using testsupport::LogTail;

namespace {

std::string ReadRawLog()
{
    CLogger::GetInstance()->Flush();
    std::ifstream in("stdout.txt", std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

class LevelGuard {
public:
    LevelGuard() : m_level(CLogger::GetInstance()->GetLevel()) {}
    ~LevelGuard() { CLogger::GetInstance()->SetLevel(m_level); }

private:
    int m_level;
};

} // namespace

TEST(Logger, WritesTagTimestampAndMessageInOneColumn)
{
    LogTail tail;
    const auto before = ReadRawLog().size();
    CLogger* log = CLogger::GetInstance();
    log->Fatal("f");
    log->Warn("w");
    log->Info("i");
    log->Debug("d");
    const std::string written = ReadRawLog().substr(before);
    const std::regex shape(R"(\[FATAL\] \d{4}-\d\d-\d\d \d\d:\d\d:\d\d - f\n)"
                           R"(\[WARN\]  \d{4}-\d\d-\d\d \d\d:\d\d:\d\d - w\n)"
                           R"(\[INFO\]  \d{4}-\d\d-\d\d \d\d:\d\d:\d\d - i\n)"
                           R"(\[DEBUG\] \d{4}-\d\d-\d\d \d\d:\d\d:\d\d - d\n)");
    EXPECT_TRUE(std::regex_match(written, shape)) << written;
}

TEST(Logger, MessageIsNeverAFormatString)
{
    LogTail tail;
    CLogger::GetInstance()->Info("100% done, %s %n %d");
    CLogger::GetInstance()->Info("");
    EXPECT_EQ(tail.Lines(), (std::vector<std::string>{"[INFO] 100% done, %s %n %d", "[INFO] "}));
}

TEST(Logger, ThresholdFiltersLevels)
{
    LevelGuard guard;
    CLogger* log = CLogger::GetInstance();
    const struct {
        int threshold;
        std::vector<std::string> expected;
    } cases[] = {
        {0, {}},
        {1, {"[FATAL] x"}},
        {2, {"[FATAL] x", "[WARN] x"}},
        {4, {"[FATAL] x", "[WARN] x", "[INFO] x"}},
        {8, {"[FATAL] x", "[WARN] x", "[INFO] x", "[DEBUG] x"}},
        {16, {"[FATAL] x", "[WARN] x", "[INFO] x", "[DEBUG] x"}},
    };
    for (const auto& c : cases) {
        LogTail tail;
        log->SetLevel(c.threshold);
        log->Fatal("x");
        log->Warn("x");
        log->Info("x");
        log->Debug("x");
        EXPECT_EQ(tail.Lines(), c.expected) << "threshold " << c.threshold;
    }
}

TEST(Logger, NumbersKeepTheDecimalPointUnderAGermanLocale)
{
    const char* german = std::setlocale(LC_ALL, "de_DE.UTF-8");
    ASSERT_NE(german, nullptr) << "the de_DE.UTF-8 locale is not installed";
    char check[32];
    std::snprintf(check, sizeof check, "%4.1f", 2.5);
    ASSERT_STREQ(check, " 2,5") << "the locale did not switch the C library to commas";

    LogTail tail;
    LogInfo("Point at (%4.1f, %4.1f)", 2.5, -1234.5);
    float parsed = 0.0f;
    EXPECT_EQ(ScanC("-1234.56", "%f", &parsed), 1);
    std::setlocale(LC_ALL, "C");

    EXPECT_EQ(tail.Lines(), std::vector<std::string>{"[INFO] Point at ( 2.5, -1234.5)"});
    EXPECT_FLOAT_EQ(parsed, -1234.56f);
    EXPECT_EQ(StringFormatC("%4.2f", 12.5), "12.50");
}

// These need a process of their own, because the log is opened once per process.
class LoggerProcess : public ::testing::Test {
protected:
    void SetUp() override
    {
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        m_dir = testsupport::MakeScratchDir("lumen7-logger");
        ASSERT_FALSE(m_dir.empty());
        setenv("LUMEN7_TEST_WORKDIR", m_dir.c_str(), 1);
    }
    void TearDown() override { unsetenv("LUMEN7_TEST_WORKDIR"); }

    std::string m_dir;
};

TEST_F(LoggerProcess, SecondRunReplacesTheFirstRunsLog)
{
    EXPECT_EXIT((CLogger::GetInstance()->Info("first run"), std::exit(0)), ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT((CLogger::GetInstance()->Info("second run"), std::exit(0)), ::testing::ExitedWithCode(0), "");
    std::ifstream in(m_dir + "/stdout.txt");
    std::string line;
    std::vector<std::string> lines;
    while (std::getline(in, line)) {
        std::string stripped;
        ASSERT_TRUE(testsupport::StripTimestamp(line, stripped)) << line;
        lines.push_back(stripped);
    }
    EXPECT_EQ(lines, std::vector<std::string>{"[INFO] second run"});
}

TEST_F(LoggerProcess, UnopenableLogEndsWithStatusMinusOneAndSaysWhy)
{
    // A directory in the way makes the file unopenable even for root.
    ASSERT_EQ(mkdir((m_dir + "/stdout.txt").c_str(), 0755), 0);
    EXPECT_EXIT(CLogger::GetInstance(), ::testing::ExitedWithCode(255), "cannot open the log file 'stdout.txt'");
}

TEST_F(LoggerProcess, SwitchedOffBeforeItsFirstUseTheLogTouchesNoFile)
{
    std::ofstream(m_dir + "/stdout.txt") << "an earlier run\n";
    const auto run = [] {
        if (!CLogger::SwitchOff())
            std::exit(2);
        CLogger::GetInstance()->SetLevel(CLogger::LEVEL_DEBUG);
        CLogger::GetInstance()->Info("not written");
        LogWarn("nor this %d", 1);
        CLogger::GetInstance()->Flush();
        std::ifstream in("stdout.txt");
        std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::exit(all == "an earlier run\n" ? 0 : 1);
    };
    EXPECT_EXIT(run(), ::testing::ExitedWithCode(0), "");

    // Once in use, the log stays on.
    CLogger::GetInstance();
    EXPECT_FALSE(CLogger::SwitchOff());
    LogTail tail;
    LogInfo("still written");
    EXPECT_EQ(tail.Lines(), std::vector<std::string>{"[INFO] still written"});
}


TEST_F(LoggerProcess, ALinkAtTheLogIsFollowedOnlyWhenTheRunningUserOwnsIt)
{
    const struct {
        const char* name;
        bool strangers; // the link belongs to another user (needs root to set up)
        bool followed;
    } cases[] = {{"own", false, true}, {"stranger", true, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string target = m_dir + "/" + c.name + ".txt";
        const std::string log = m_dir + "/stdout.txt";
        std::ofstream(target) << "precious\n";
        ::unlink(log.c_str());
        ASSERT_EQ(symlink(target.c_str(), log.c_str()), 0);
        if (c.strangers && (geteuid() != 0 || lchown(log.c_str(), 65534, 65534) != 0))
            GTEST_SKIP() << "a link of another user needs root to make";
        if (c.followed) {
            EXPECT_EXIT((CLogger::GetInstance()->Info("through the link"), std::exit(0)), ::testing::ExitedWithCode(0),
                        "");
        } else {
            EXPECT_EXIT(CLogger::GetInstance(), ::testing::ExitedWithCode(255),
                        "cannot open the log file 'stdout.txt' for writing: it is a symbolic link that another user owns");
        }
        std::ifstream in(target);
        std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_EQ(all == "precious\n", !c.followed) << all;
    }
}
