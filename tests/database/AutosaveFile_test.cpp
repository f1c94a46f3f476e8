// Autosaves killed at any moment: the user's file is never touched, and the
// autosave is always the last complete one, never a part.
#include "database/AutosaveFile.h"
#include "database/DatabaseTestUtil.h"
#include "database/KilledWrite.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace dbtest;

TEST(AutosaveFile, KilledAutosaveLeavesTheUsersFileAndTheLastCompleteAutosave)
{
    QuietLog quiet;
    const std::string folder = "state/lumen7";
    std::filesystem::create_directories(folder);
    const std::string autosave = folder + "/autosave-1-a.dat";
    CGO_Database db;
    db.Add(MakeCircle(1, 2, 3));
    ASSERT_TRUE(db.Save("plate.dat"));
    const Bytes users = ReadFile("plate.dat");
    std::vector<unsigned char> old;
    std::string error;
    ASSERT_TRUE(db.Encode(old, error, true)) << error;
    FillLargeDrawing(db);

    // What an autosave does: the snapshot, then the write.
    const auto write = [&] {
        std::vector<unsigned char> bytes;
        std::string reason;
        return db.Encode(bytes, reason, true) && autosave::WriteFile(autosave, bytes, reason);
    };
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(write());
    const auto duration = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
    const Bytes fresh = ReadFile(autosave);
    struct stat info {};
    ASSERT_EQ(::stat(autosave.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u);
    EXPECT_TRUE(autosave::CheckDrawingFile(autosave, error)) << error;

    // As for saves: the delays shrink whenever the write was over first.
    const int kWanted = 6;
    int killedDuringWrite = 0;
    double scale = 1.0;
    for (int round = 0; round < 5 * kWanted && killedDuringWrite < kWanted; ++round) {
        SCOPED_TRACE(round);
        ASSERT_TRUE(autosave::WriteFile(autosave, old, error)) << error;
        const auto delay =
            std::chrono::duration_cast<std::chrono::microseconds>(duration * scale * ((round * 7) % 10) / 10.0);
        if (KillDuringSave(write, delay))
            ++killedDuringWrite;
        else
            scale /= 2;
        const Bytes left = ReadFile(autosave);
        EXPECT_TRUE(left == old || left == fresh) << "an autosave of " << left.size()
                                                                             << " bytes";
        EXPECT_EQ(ReadFile("plate.dat"), users);
        EXPECT_EQ(Entries(folder), std::vector<std::string>{"autosave-1-a.dat"});
    }
    EXPECT_EQ(killedDuringWrite, kWanted) << "the kills came too late to test anything";
}
