// Replacing drawing files: unnamed and named temporary files, permissions and
// owners kept, symbolic links followed to their final file, read-only
// folders written in place, and saves killed half-way that leave either the
// old or the new file and nothing else.
#include "database/DatabaseTestUtil.h"
#include "database/KilledWrite.h"
#include "database/FileReplacer.h"
#include "database/GO_Database.h"
#include "log/Logger.h"
#include "support/LogTail.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace dbtest;
using fileio::CFileReplacer;
using testsupport::LogTail;
namespace fs = std::filesystem;

namespace {

bool HasUnnamedTemporaries(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

struct stat StatOf(const std::string& path)
{
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info;
}

// Owner and group that differ from the process's, where it may set them.
bool GiveAway(const std::string& path)
{
    return ::geteuid() == 0 && ::chown(path.c_str(), 65534, 65534) == 0;
}

void MakeFolder(const std::string& path)
{
    fs::remove_all(path);
    fs::create_directories(path);
}

// Runs body in a child process and returns its exit status (or 128 + the
// signal). A root parent runs the child as "nobody", for whom permissions
// hold as they do for any user; the log of the child goes into the same
// file as the parent's.
int RunUnprivileged(const std::function<int()>& body)
{
    const passwd* nobody = ::getpwnam("nobody");
    const uid_t uid = nobody != nullptr ? nobody->pw_uid : 65534;
    const gid_t gid = nobody != nullptr ? nobody->pw_gid : 65534;
    CLogger::GetInstance()->Flush();
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setgid(gid) != 0 || ::setuid(uid) != 0))
            ::_exit(100);
        const int status = body();
        CLogger::GetInstance()->Flush();
        ::_exit(status);
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// A folder under the system's temporary folder that any user can reach: the
// test's working directory is private to its owner.
class SharedFolder {
public:
    SharedFolder()
    {
        std::string pattern = (fs::temp_directory_path() / "lumen7-shared-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr && ::chmod(pattern.c_str(), 0755) == 0)
            m_strPath = pattern;
    }
    ~SharedFolder()
    {
        if (m_strPath.empty())
            return;
        std::error_code ignored;
        for (const auto& entry : fs::recursive_directory_iterator(m_strPath, ignored))
            fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(m_strPath, ignored);
    }
    const std::string& Path() const { return m_strPath; }

private:
    std::string m_strPath;
};

} // namespace

TEST(FileReplacer, BothKindsOfTemporaryFileReplaceTheWholeFileAndKeepItsAttributes)
{
    const bool unnamedAvailable = HasUnnamedTemporaries(".");
    const Bytes contents(100000, 0x5A);
    for (int kind : {CFileReplacer::TEMP_UNNAMED, CFileReplacer::TEMP_NAMED}) {
        SCOPED_TRACE(kind == CFileReplacer::TEMP_UNNAMED ? "unnamed" : "named");
        MakeFolder("kinds");
        WriteFile("kinds/drawing.dat", Bytes(10, 0x01));
        ASSERT_EQ(::chmod("kinds/drawing.dat", 0604), 0);
        const bool givenAway = GiveAway("kinds/drawing.dat");

        CFileReplacer replacer("kinds/drawing.dat", kind);
        std::string error;
        ASSERT_TRUE(replacer.Open(error)) << error;
        const bool unnamed = kind == CFileReplacer::TEMP_UNNAMED && unnamedAvailable;
        EXPECT_EQ(replacer.IsUnnamed(), unnamed);
        EXPECT_FALSE(replacer.IsInPlace());
        // While the contents are written, only a named temporary file shows.
        const std::vector<std::string> during = Entries("kinds");
        if (unnamed) {
            EXPECT_EQ(during, std::vector<std::string>{"drawing.dat"});
        } else {
            ASSERT_EQ(during.size(), 2u);
            EXPECT_EQ(during[0].rfind(".lumen7-save.", 0), 0u) << during[0];
        }
        EXPECT_EQ(ReadFile("kinds/drawing.dat"), Bytes(10, 0x01));

        ASSERT_TRUE(replacer.Commit(contents, error)) << error;
        EXPECT_EQ(Entries("kinds"), std::vector<std::string>{"drawing.dat"});
        EXPECT_EQ(ReadFile("kinds/drawing.dat"), contents);
        const struct stat info = StatOf("kinds/drawing.dat");
        EXPECT_EQ(info.st_mode & 07777, 0604u);
        if (givenAway) {
            EXPECT_EQ(info.st_uid, 65534u);
            EXPECT_EQ(info.st_gid, 65534u);
        }
    }
}

TEST(FileReplacer, NamesUpToTheFileSystemsLimitAreSavedWithBothKinds)
{
    MakeFolder("long");
    for (int kind : {CFileReplacer::TEMP_UNNAMED, CFileReplacer::TEMP_NAMED}) {
        for (std::size_t length : {1u, 200u, 247u, 248u, 255u}) {
            SCOPED_TRACE(std::to_string(kind) + " " + std::to_string(length));
            const std::string path = "long/" + std::string(length, 'n');
            for (bool exists : {false, true}) {
                CFileReplacer replacer(path.c_str(), kind);
                std::string error;
                ASSERT_TRUE(replacer.Open(error) && replacer.Commit(Bytes(3, exists ? 2 : 1), error)) << error;
                EXPECT_EQ(ReadFile(path), Bytes(3, exists ? 2 : 1));
            }
            EXPECT_EQ(Entries("long"), std::vector<std::string>{std::string(length, 'n')});
            ASSERT_EQ(::unlink(path.c_str()), 0);
        }
    }
}

TEST(FileReplacer, AnAbandonedReplacementLeavesTheOldFileAndNothingElse)
{
    for (int kind : {CFileReplacer::TEMP_UNNAMED, CFileReplacer::TEMP_NAMED}) {
        MakeFolder("abandoned");
        WriteFile("abandoned/drawing.dat", Bytes(10, 0x01));
        {
            CFileReplacer replacer("abandoned/drawing.dat", kind);
            std::string error;
            ASSERT_TRUE(replacer.Open(error)) << error;
        }
        EXPECT_EQ(Entries("abandoned"), std::vector<std::string>{"drawing.dat"});
        EXPECT_EQ(ReadFile("abandoned/drawing.dat"), Bytes(10, 0x01));
    }
}

TEST(FileReplacer, SymbolicLinksAreFollowedToTheFileTheyName)
{
    const Bytes old(10, 0x01);
    const struct {
        const char* name;
        std::vector<std::pair<const char*, const char*>> links; // link, what it points to
        const char* saved;                                     // the path given to Save
        const char* written;                                   // the file that must change
    } cases[] = {
        {"relative link", {{"links/drawing.dat", "../data/real.dat"}}, "links/drawing.dat", "data/real.dat"},
        {"absolute link", {{"links/drawing.dat", "@/data/real.dat"}}, "links/drawing.dat", "data/real.dat"},
        {"chain of links",
         {{"links/first.dat", "second.dat"}, {"links/second.dat", "../data/third.dat"},
          {"data/third.dat", "real.dat"}},
         "links/first.dat",
         "data/real.dat"},
        {"dangling link", {{"links/new.dat", "../data/created.dat"}}, "links/new.dat", "data/created.dat"},
    };
    const std::string here = fs::current_path().string();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MakeFolder("links");
        MakeFolder("data");
        WriteFile("data/real.dat", old);
        ASSERT_EQ(::chmod("data/real.dat", 0640), 0);
        const bool givenAway = GiveAway("data/real.dat");
        for (const auto& [link, target] : c.links) {
            const std::string to = target[0] == '@' ? here + (target + 1) : target;
            ASSERT_EQ(::symlink(to.c_str(), link), 0) << link;
        }

        CGO_Database db;
        db.Add(MakeLine(1, 2, 3, 4));
        ASSERT_TRUE(db.Save(c.saved)) << db.GetLastError();
        ASSERT_TRUE(db.Save("expected.dat"));
        EXPECT_EQ(ReadFile(c.written), ReadFile("expected.dat"));
        for (const auto& [link, target] : c.links) {
            const std::string to = target[0] == '@' ? here + (target + 1) : target;
            EXPECT_TRUE(fs::is_symlink(link)) << link << " was replaced";
            EXPECT_EQ(fs::read_symlink(link).string(), to);
        }
        if (std::string(c.written) == "data/real.dat") {
            const struct stat info = StatOf(c.written);
            EXPECT_EQ(info.st_mode & 07777, 0640u);
            if (givenAway) {
                EXPECT_EQ(info.st_uid, 65534u);
            }
        } else {
            EXPECT_EQ(ReadFile("data/real.dat"), old);
        }
        EXPECT_EQ(CGO_Database().Load(c.saved), 1) << "the link loads the saved drawing";
        fs::remove("expected.dat");
    }
}

TEST(FileReplacer, LinkLoopsAndLinksToFoldersAreRefused)
{
    MakeFolder("loops");
    ASSERT_EQ(::symlink("b.dat", "loops/a.dat"), 0);
    ASSERT_EQ(::symlink("a.dat", "loops/b.dat"), 0);
    ASSERT_EQ(::symlink(".", "loops/folder.dat"), 0);
    const struct {
        const char* path;
        const char* reason;
    } cases[] = {
        {"loops/a.dat", "cannot follow the symbolic link: Too many levels of symbolic links"},
        {"loops/folder.dat", "cannot replace the file: Is a directory"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        CGO_Database db;
        EXPECT_FALSE(db.Save(c.path));
        EXPECT_EQ(db.GetLastError(), c.reason);
    }
    EXPECT_EQ(Entries("loops"), (std::vector<std::string>{"a.dat", "b.dat", "folder.dat"}));
}

TEST(FileReplacer, ReadOnlyFolderIsWrittenInPlaceWhereTheFileAllowsIt)
{
    SharedFolder shared;
    ASSERT_FALSE(shared.Path().empty());
    const std::string folder = shared.Path() + "/read-only";
    const std::string writable = folder + "/writable.dat";
    const std::string readOnly = folder + "/read-only.dat";
    const std::string missing = folder + "/missing.dat";
    fs::create_directory(folder);
    WriteFile(writable, Bytes(1000, 0x01));
    WriteFile(readOnly, Bytes(10, 0x02));
    ASSERT_EQ(::chmod(writable.c_str(), 0666), 0);
    ASSERT_EQ(::chmod(readOnly.c_str(), 0444), 0);
    ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);

    CGO_Database db;
    db.Add(MakeLine(1, 2, 3, 4));
    db.Add(MakeCircle(5, 6, 7));
    ASSERT_TRUE(db.Save("expected.dat"));
    const struct {
        const char* name;
        std::string path;
        int status;
        std::string logLine;
    } cases[] = {
        {"writable file", writable, 0,
         "[WARN] Saving graphics to file '" + writable +
             "' was not atomic: its folder is not writable, so '" + writable + "' was overwritten in place."},
        {"read-only file", readOnly, 1,
         "[WARN] Saving graphics to file '" + readOnly + "' failed: cannot write the file: Permission denied"},
        {"no file yet", missing, 1,
         "[WARN] Saving graphics to file '" + missing +
             "' failed: cannot create a temporary file in the folder: Permission denied"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        LogTail tail;
        EXPECT_EQ(RunUnprivileged([&] { return db.Save(c.path.c_str()) ? 0 : 1; }), c.status);
        ASSERT_FALSE(tail.Lines().empty());
        EXPECT_EQ(tail.Lines().back(), c.logLine);
    }
    EXPECT_EQ(ReadFile(writable), ReadFile("expected.dat"));
    EXPECT_EQ(StatOf(writable).st_mode & 07777, 0666u);
    EXPECT_EQ(ReadFile(readOnly), Bytes(10, 0x02));
    EXPECT_EQ(Entries(folder), (std::vector<std::string>{"read-only.dat", "writable.dat"}));
}

// ---------------------------------------------------------------------------
// Saves killed half-way

TEST(FileReplacer, KilledSaveLeavesTheOldOrTheNewFile)
{
    QuietLog quiet;
    CGO_Database db;
    FillLargeDrawing(db);
    MakeFolder("killed");
    const std::string target = "killed/drawing.dat";
    ASSERT_TRUE(db.Save(target.c_str())) << db.GetLastError();
    const Bytes fresh = ReadFile(target);
    const Bytes old = FileBuilder().U16(1).U16(0).Get();
    ASSERT_GT(fresh.size(), 4000000u);

    const bool unnamedAvailable = HasUnnamedTemporaries("killed");
    for (int kind : {CFileReplacer::TEMP_NAMED, CFileReplacer::TEMP_UNNAMED}) {
        const bool unnamed = kind == CFileReplacer::TEMP_UNNAMED;
        SCOPED_TRACE(unnamed ? "unnamed" : "named");
        if (unnamed && !unnamedAvailable)
            GTEST_SKIP() << "this file system has no unnamed temporary files; only the named kind was tested";
        // The unnamed kind goes through the database's own save.
        const auto save = [&] {
            if (unnamed)
                return db.Save(target.c_str());
            CFileReplacer replacer(target.c_str(), kind);
            std::string error;
            return replacer.Open(error) && replacer.Commit(fresh, error);
        };
        const auto start = std::chrono::steady_clock::now();
        ASSERT_TRUE(save());
        const auto duration =
            std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);

        // The kills are spread over the time one save took here; whenever a
        // save was over before its kill came, the delays shrink, since the
        // machine may be faster or slower from one round to the next.
        const int kWanted = 8;
        int killedDuringSave = 0;
        double scale = 1.0;
        for (int round = 0; round < 5 * kWanted && killedDuringSave < kWanted; ++round) {
            SCOPED_TRACE(round);
            MakeFolder("killed");
            WriteFile(target, old);
            const auto delay = std::chrono::duration_cast<std::chrono::microseconds>(duration * scale *
                                                                                    ((round * 7) % 10) / 10.0);
            if (KillDuringSave(save, delay))
                ++killedDuringSave;
            else
                scale /= 2;
            const Bytes left = ReadFile(target);
            EXPECT_TRUE(left == old || left == fresh) << "a file of " << left.size() << " bytes";
            std::vector<std::string> debris = Entries("killed");
            debris.erase(std::remove(debris.begin(), debris.end(), "drawing.dat"), debris.end());
            if (unnamed) {
                EXPECT_TRUE(debris.empty()) << debris.size() << " files left, the first " << debris[0];
            } else {
                for (const std::string& name : debris)
                    EXPECT_EQ(name.rfind(".lumen7-save.", 0), 0u) << name;
            }
        }
        EXPECT_EQ(killedDuringSave, kWanted) << "the kills came too late to test anything";
    }
}
