// The log of redraws and picks over emptied slots: a single missing display
// list keeps its own line, a run of them gives one line, in drawing order,
// and a million of them leave the log small.
#include "view/scene/Graphics.h"

#include "database/DatabaseTestUtil.h"
#include "log/Logger.h"
#include "support/LogTail.h"
#include "view/ViewTestSupport.h"

#include <algorithm>
#include <fstream>
#include <string>

using testsupport::LogTail;

namespace {

using ViewMissingLists = viewtest::ViewFixture;

long LogSize()
{
    CLogger::GetInstance()->Flush();
    std::ifstream in("stdout.txt", std::ios::binary | std::ios::ate);
    return static_cast<long>(in.tellg());
}

std::vector<std::string> OnlyDrawingLines(const std::vector<std::string>& lines)
{
    std::vector<std::string> drawing;
    std::copy_if(lines.begin(), lines.end(), std::back_inserter(drawing), [](const std::string& line) {
        return line.find("isplay list") != std::string::npos || line.find("Drawn all") != std::string::npos;
    });
    return drawing;
}

} // namespace

TEST_F(ViewMissingLists, EachRunOfMissingListsGivesOneLineInDrawingOrder)
{
    const struct {
        const char* pattern; // 'x' an object, '.' an emptied slot
        std::vector<std::string> lines;
    } cases[] = {
        {"x.x...x..",
         {"[DEBUG] Drawing display list #0...", "[DEBUG] Display list #1 not found!",
          "[DEBUG] Drawing display list #2...", "[DEBUG] Display lists #3 to #5 not found!",
          "[DEBUG] Drawing display list #6...", "[DEBUG] Display lists #7 to #8 not found!",
          "[DEBUG] Drawn all display lists."}},
        {"..x.",
         {"[DEBUG] Display lists #0 to #1 not found!", "[DEBUG] Drawing display list #2...",
          "[DEBUG] Display list #3 not found!", "[DEBUG] Drawn all display lists."}},
        {".", {"[DEBUG] Display list #0 not found!", "[DEBUG] Drawn all display lists."}},
        {"xx", {"[DEBUG] Drawing display list #0...", "[DEBUG] Drawing display list #1...",
                "[DEBUG] Drawn all display lists."}},
    };
    CGO_Database* database = view.GetGraphics()->GetDatabase();
    // Clearing keeps the slots; loading a drawing without any replaces them.
    dbtest::WriteFile("no slots.dat", {0x00, 0x00});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pattern);
        ASSERT_EQ(database->Load("no slots.dat"), 0);
        const std::string pattern = c.pattern;
        // Every line crosses (0, 0), so a pick there hits the first one.
        for (std::size_t slot = 0; slot < pattern.size(); ++slot)
            AddLine(-100, -100 + static_cast<float>(slot), 100, 100 - static_cast<float>(slot));
        for (std::size_t slot = 0; slot < pattern.size(); ++slot) {
            if (pattern[slot] == '.')
                database->RemoveAt(static_cast<int>(slot));
        }
        LogTail tail;
        view.Render();
        EXPECT_EQ(tail.Lines(), c.lines);

        // Picking draws through the same walk, in selection mode.
        view.SetMode(MODE_PICK);
        tail.Restart();
        Click(Qt::LeftButton, PixelOf(0, 0));
        EXPECT_EQ(OnlyDrawingLines(tail.Lines()), c.lines);
        const std::size_t first = pattern.find('x');
        if (first != std::string::npos) {
            ASSERT_FALSE(receiver.received.empty());
            EXPECT_EQ(receiver.received.back().pickedId, static_cast<int>(first));
        }
        view.SetMode(MODE_IDLE);
    }
}

TEST_F(ViewMissingLists, AMillionEmptySlotsLogLessThanAMegabyte)
{
    const int kSlots = 1000000;
    dbtest::FileBuilder file;
    file.U16(0xFFFF).U32(kSlots + 1);
    for (int slot = 0; slot < kSlots; ++slot)
        file.U16(0);
    file.NewClass("CGO_Line").Line(-100, 0, 100, 0);
    dbtest::WriteFile("million.dat", file.Get());

    const long before = LogSize();
    ASSERT_EQ(view.GetGraphics()->Load("million.dat"), kSlots + 1);
    LogTail tail;
    view.Render();
    // The loaded line has id 0 and list 100: slot 0 draws it, and every
    // slot from there on names a list that does not exist.
    EXPECT_EQ(tail.Lines(), (std::vector<std::string>{"[DEBUG] Drawing display list #0...",
                                                      "[DEBUG] Display lists #1 to #1000000 not found!",
                                                      "[DEBUG] Drawn all display lists."}));
    view.SetMode(MODE_PICK);
    Click(Qt::LeftButton, PixelOf(0, 0));
    ASSERT_FALSE(receiver.received.empty());
    EXPECT_EQ(receiver.received.back().pickedId, 0);
    EXPECT_LT(LogSize() - before, 1 << 20) << "loading, drawing and one pick";
}
