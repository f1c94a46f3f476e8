// Stopping a save or a load at every report it makes: the target file stays
// byte for byte, no temporary file is left, and the drawing stays as it was.
#include "database/DatabaseTestUtil.h"
#include "database/DrawingSnapshot.h"
#include "database/FileReplacer.h"
#include "database/GO_Database.h"
#include "database/Progress.h"
#include "exchange/DrawingExchange.h"

#include <gtest/gtest.h>

#include <iterator>
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

long Entries(const char* folder) { return std::distance(fs::directory_iterator(folder), fs::directory_iterator()); }

void FillDrawing(CGO_Database& db, int objects)
{
    db.Clear();
    for (int i = 0; i < objects; ++i)
        db.Add(i % 2 == 0 ? static_cast<CGO_GeoObject*>(MakeLine(i, 0, i, 1)) : MakeCircle(i, 2, 0.5f));
}

} // namespace

TEST(ProgressCancel, StoppedSaveAtAnyReportKeepsTheOldFileAndLeavesNoTemporaryFile)
{
    CGO_Database db;
    FillDrawing(db, 9000);
    for (const char* name : {"drawing.dat", "drawing.dxf"}) {
        fs::remove_all("stop");
        fs::create_directory("stop");
        const std::string path = std::string("stop/") + name;
        const Bytes old(333, 0x5A);
        WriteFile(path, old);
        int stopAt = 0;
        for (;; ++stopAt) {
            CStopAt progress(stopAt);
            CDrawingExchange files(db);
            if (files.Save(path.c_str(), exchange::FormatOfPath(name), &progress)) {
                EXPECT_FALSE(progress.Stopped() || ReadFile(path) == old) << name;
                break;
            }
            EXPECT_EQ(files.GetLastError(), progress::kCancelled) << name << " at report " << stopAt;
            EXPECT_EQ(ReadFile(path), old) << name << " at report " << stopAt;
            EXPECT_EQ(Entries("stop"), 1) << name << " at report " << stopAt;
        }
        EXPECT_GE(stopAt, 3) << name;
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
        EXPECT_TRUE(!file.Commit(bytes, error, &progress) && error == progress::kCancelled);
        EXPECT_EQ(ReadFile("named/drawing.dat"), old);
        EXPECT_EQ(Entries("named"), 1) << "at report " << stopAt;
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
            if (files.Load(name, &progress) >= 0)
                break;
            EXPECT_EQ(files.GetLastError(), progress::kCancelled) << name;
            EXPECT_TRUE(CDrawingSnapshot::Take(db) == before && db.GetCount() == 6) << name << " at report " << stopAt;
        }
        EXPECT_GE(stopAt, 1) << name << " could not be stopped at all";
        EXPECT_EQ(db.GetCount(), 9000) << name;
    }
}
