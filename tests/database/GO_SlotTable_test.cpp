// The slot table against a plain vector of owned objects: random appends,
// puts, removals, growth and shrinking must leave both the same.
#include "database/GO_Database.h"
#include "database/GO_SlotTable.h"
#include "geometry/GO_Line.h"
#include "support/TestWorkDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <malloc.h>
#include <random>
#include <unistd.h>

namespace {

TEST(GO_SlotTable, BehavesAsAVectorOfSlotsUnderRandomEdits)
{
    std::mt19937 random(7);
    CGO_SlotTable table;
    std::vector<const CGO_GeoObject*> model;
    auto check = [&] {
        ASSERT_EQ(table.size(), model.size());
        std::size_t occupied = 0;
        for (std::size_t slot = 0; slot < model.size(); ++slot) {
            ASSERT_EQ(table.get(slot), model[slot]) << "slot " << slot;
            occupied += model[slot] != nullptr ? 1 : 0;
        }
        EXPECT_EQ(table.get(model.size()), nullptr);
        EXPECT_EQ(table.occupied(), occupied);
    };
    for (int step = 0; step < 3000; ++step) {
        const int choice = static_cast<int>(random() % 10);
        if (choice < 4) {
            CGO_GeoObject* object = choice == 0 ? nullptr : new CGO_Line;
            table.push_back(CGO_SlotTable::Owned(object));
            model.push_back(object);
        } else if (choice < 7 && !model.empty()) {
            const std::size_t slot = random() % model.size();
            CGO_GeoObject* object = choice == 4 ? nullptr : new CGO_Line;
            CGO_SlotTable::Owned previous = table.exchange(slot, CGO_SlotTable::Owned(object));
            EXPECT_EQ(previous.get(), model[slot]);
            model[slot] = object;
        } else if (choice == 7) {
            // Long runs of empty slots, across several blocks.
            const std::size_t count = model.size() + random() % 5000;
            table.resize(count);
            model.resize(count, nullptr);
        } else if (choice == 8 && !model.empty()) {
            const std::size_t count = random() % model.size();
            table.resize(count);
            model.resize(count);
        }
        if (step % 100 == 0)
            check();
    }
    check();
    table.clear();
    EXPECT_EQ(table.size(), 0u);
    EXPECT_EQ(table.get(0), nullptr);
}

// Resident memory of this process, in bytes.
std::size_t ResidentBytes()
{
    std::ifstream statm("/proc/self/statm");
    std::size_t pages = 0;
    std::size_t resident = 0;
    statm >> pages >> resident;
    return resident * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
}

TEST(GO_SlotTable, ALoadedRunOfEmptySlotsCostsFarLessThanItsFile)
{
#ifdef __SANITIZE_ADDRESS__
    GTEST_SKIP() << "the address sanitizer keeps freed memory in quarantine";
#endif
    constexpr std::uint32_t kSlots = 10000000; // 20 MB of empty-slot tags
    const std::string path = testsupport::MakeScratchDir("slots") + "/empty.dat";
    {
        std::ofstream out(path, std::ios::binary);
        const unsigned char header[6] = {0xFF, 0xFF, kSlots & 0xFF, (kSlots >> 8) & 0xFF, (kSlots >> 16) & 0xFF,
                                         (kSlots >> 24) & 0xFF};
        out.write(reinterpret_cast<const char*>(header), sizeof header);
        const std::vector<char> tags(50000, 0); // divides the 20 MB
        for (std::size_t written = 0; written < 2 * std::size_t(kSlots); written += tags.size())
            out.write(tags.data(), static_cast<std::streamsize>(tags.size()));
    }
    CGO_Database database;
    const std::size_t before = ResidentBytes();
    ASSERT_EQ(database.Load(path.c_str()), static_cast<int>(kSlots));
    // The file's bytes, read whole and freed again, may stay with the heap.
    malloc_trim(0);
    const std::size_t grown = ResidentBytes() > before ? ResidentBytes() - before : 0;
    // One pointer per slot would be 80 MB.
    EXPECT_LT(grown, std::size_t(8) << 20);
    EXPECT_EQ(database.GetAt(static_cast<int>(kSlots) - 1), nullptr);
}

} // namespace
