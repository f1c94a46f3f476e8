// Stopping a save or a load at every report it makes: the target file stays
// byte for byte, no temporary file is left, and the drawing stays as it was.
#include "database/DatabaseTestUtil.h"
#include "database/DrawingSnapshot.h"
#include "database/FileReplacer.h"
#include "database/GO_Database.h"
#include "database/Progress.h"
#include "exchange/DrawingExchange.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

using namespace dbtest;
namespace fs = std::filesystem;

namespace {

// Says stop at its report number nStopAt (from 0), and counts the reports.
class CStopAt : public IProgress {
public:
    explicit CStopAt(int nStopAt) : m_nStopAt(nStopAt) {}
    bool Report(std::uint64_t, std::uint64_t) override { return m_bPastReturn || m_nReports++ != m_nStopAt; }
    void PastReturn() override { m_bPastReturn = true; }
    bool Stopped() const { return m_nReports > m_nStopAt; }

private:
    int m_nStopAt;
    int m_nReports = 0;
    bool m_bPastReturn = false;
};

std::vector<std::string> Entries(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Enough objects for several reports of each step.
void FillDrawing(CGO_Database& db, int objects)
{
    db.Clear();
    for (int i = 0; i < objects; ++i)
        db.Add(i % 2 == 0 ? static_cast<CGO_GeoObject*>(MakeLine(i, 0, i, 1)) : MakeCircle(i, 2, 0.5f));
}

struct SaveCase {
    const char* name;
    exchange::FileFormat format;
};

} // namespace

TEST(ProgressCancel, StoppedSaveAtAnyReportKeepsTheOldFileAndLeavesNoTemporaryFile)
{
    const SaveCase cases[] = {{"drawing.dat", exchange::FORMAT_DAT}, {"drawing.dxf", exchange::FORMAT_DXF}};
    CGO_Database db;
    FillDrawing(db, 9000);
    for (const SaveCase& test : cases) {
        fs::remove_all("stop");
        fs::create_directory("stop");
        const std::string path = std::string("stop/") + test.name;
        const Bytes old(333, 0x5A);
        WriteFile(path, old);
        bool saved = false;
        for (int stopAt = 0; !saved && stopAt < 100; ++stopAt) {
            CStopAt progress(stopAt);
            CDrawingExchange files(db);
            saved = files.Save(path.c_str(), test.format, &progress);
            if (saved) {
                EXPECT_FALSE(progress.Stopped()) << test.name;
                EXPECT_NE(ReadFile(path), old) << test.name;
                break;
            }
            EXPECT_TRUE(progress.Stopped()) << test.name << " at report " << stopAt;
            EXPECT_EQ(files.GetLastError(), progress::kCancelled);
            EXPECT_EQ(ReadFile(path), old) << test.name << " at report " << stopAt;
            EXPECT_EQ(Entries("stop"), std::vector<std::string>{test.name}) << test.name << " at report " << stopAt;
        }
        EXPECT_TRUE(saved) << test.name;
    }
}

TEST(ProgressCancel, StoppedCommitOfANamedTemporaryFileRemovesIt)
{
    fs::remove_all("named");
    fs::create_directory("named");
    const Bytes old(10, 0x01);
    WriteFile("named/drawing.dat", old);
    const Bytes bytes(3 << 20, 0x02);
    for (int stopAt = 0; stopAt < 3; ++stopAt) {
        fileio::CFileReplacer file("named/drawing.dat", fileio::CFileReplacer::TEMP_NAMED);
        std::string error;
        ASSERT_TRUE(file.Open(error)) << error;
        CStopAt progress(stopAt);
        EXPECT_FALSE(file.Commit(bytes, error, &progress));
        EXPECT_EQ(error, progress::kCancelled);
        EXPECT_EQ(ReadFile("named/drawing.dat"), old);
        EXPECT_EQ(Entries("named"), std::vector<std::string>{"drawing.dat"}) << "at report " << stopAt;
    }
}

TEST(ProgressCancel, LoadStoppedBeforeTheDrawingIsReplacedKeepsTheDrawing)
{
    CGO_Database db;
    FillDrawing(db, 9000);
    for (const char* name : {"big.dat", "big.dxf"}) {
        CDrawingExchange(db).Save(name, exchange::FormatOfPath(name));
        FillDrawing(db, 7);
        db.RemoveById(3);
        const CDrawingSnapshot before = CDrawingSnapshot::Take(db);
        int stopAt = 0;
        for (;; ++stopAt) {
            CStopAt progress(stopAt);
            CDrawingExchange files(db);
            if (files.Load(name, &progress) >= 0) {
                EXPECT_FALSE(progress.Stopped()) << name;
                break;
            }
            EXPECT_EQ(files.GetLastError(), progress::kCancelled) << name;
            EXPECT_EQ(CDrawingSnapshot::Take(db), before) << name << " at report " << stopAt;
            EXPECT_EQ(db.GetCount(), 6);
        }
        EXPECT_GE(stopAt, 1) << name << " could not be stopped at all";
        EXPECT_EQ(db.GetCount(), 9000) << name;
    }
}
