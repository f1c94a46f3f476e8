// The spatial index: building the levels from the drawing, following changes
// through the database's notifications, and answering rectangle queries.
#include "snap/SpatialIndex.h"

#include "database/GO_Database.h"
#include "geometry/GO_GeoObject.h"

#include <algorithm>
#include <cmath>

namespace {

enum : unsigned char {
    STATE_FILED = 1, // the slot's box as of the last build is in the grids
    STATE_NOTED = 2, // the slot changed since the last query
};

// The cell size is taken from this many boxes, spread over the slots.
constexpr std::size_t kSampleSize = 1024;
// Recent changes are kept beside the grids up to this many, or this share
// of the filed boxes, before everything is built anew.
constexpr std::size_t kMinRecent = 256;
constexpr std::size_t kRecentShare = 64;

bool HasNaN(const CGO_Box& box)
{
    return std::isnan(box.xMin) || std::isnan(box.yMin) || std::isnan(box.xMax) || std::isnan(box.yMax);
}

bool IsFinite(const CGO_Box& box)
{
    return std::isfinite(box.xMin) && std::isfinite(box.yMin) && std::isfinite(box.xMax) &&
           std::isfinite(box.yMax);
}

double Size(const CGO_Box& box)
{
    return std::max(box.Width(), box.Height());
}

double Median(std::vector<double>& values, double share)
{
    const std::size_t at = std::min(values.size() - 1, static_cast<std::size_t>(share * values.size()));
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(at), values.end());
    return values[at];
}

struct CGridChoice {
    double m_dFinestCell = 1.0;
    double m_dOriginX = 0.0;
    double m_dOriginY = 0.0;
};

// The finest cells are as large as the typical object, or as the typical
// distance between objects where they are sparser than they are large.
// Both come from quantiles of a sample, so a few far-off or huge objects do
// not change them.
CGridChoice ChooseGrid(const std::vector<CBucketGrid::CEntry>& entries)
{
    CGridChoice choice;
    std::vector<double> sizes, xs, ys;
    const std::size_t stride = std::max<std::size_t>(1, entries.size() / kSampleSize);
    std::size_t finite = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const CGO_Box& box = entries[i].m_box;
        if (!IsFinite(box))
            continue;
        if (finite++ % stride != 0)
            continue;
        sizes.push_back(Size(box));
        xs.push_back((box.xMin + box.xMax) / 2.0);
        ys.push_back((box.yMin + box.yMax) / 2.0);
    }
    if (sizes.empty())
        return choice;
    const double typicalSize = Median(sizes, 0.5);
    choice.m_dOriginX = Median(xs, 0.5);
    choice.m_dOriginY = Median(ys, 0.5);
    // About 64 % of the objects have their centres within the middle 80 %
    // of both axes.
    const double width = Median(xs, 0.9) - Median(xs, 0.1);
    const double height = Median(ys, 0.9) - Median(ys, 0.1);
    const double inner = 0.64 * static_cast<double>(finite);
    double spacing = 0.0;
    if (width > 0.0 && height > 0.0)
        spacing = std::sqrt(width * height / inner);
    else
        spacing = std::max(width, height) / (0.8 * static_cast<double>(finite));
    const double cell = std::max(typicalSize, spacing);
    // Everything at one point: any size will do.
    choice.m_dFinestCell = cell > 0.0 && std::isfinite(cell) ? cell : 1.0;
    return choice;
}

// The level whose cells are the smallest that still hold a box of size.
int LevelFor(double size, double finestCell)
{
    if (size <= finestCell)
        return 0;
    int exponent = 0;
    std::frexp(size / finestCell, &exponent);
    int level = std::max(0, exponent);
    while (std::ldexp(finestCell, level) < size)
        ++level;
    while (level > 0 && std::ldexp(finestCell, level - 1) >= size)
        --level;
    return level;
}

} // namespace

CSpatialIndex::CSpatialIndex(CGO_Database& db) : m_db(db)
{
    m_db.AddObserver(this);
}

CSpatialIndex::~CSpatialIndex()
{
    m_db.RemoveObserver(this);
}

void CSpatialIndex::OnSlotChanging(int slot)
{
    if (m_bRebuild || slot < 0)
        return;
    EnsureSlot(slot);
    unsigned char& state = m_state[static_cast<std::size_t>(slot)];
    if (state & STATE_NOTED)
        return;
    state |= STATE_NOTED;
    m_noted.push_back(slot);
    // So many changes at once are cheaper to take in by one build.
    if (m_noted.size() > RecentLimit())
        OnDrawingReplaced();
}

void CSpatialIndex::OnDrawingReplaced()
{
    m_bRebuild = true;
    m_noted.clear();
}

void CSpatialIndex::EnsureSlot(int slot)
{
    const std::size_t needed = static_cast<std::size_t>(slot) + 1;
    if (m_state.size() < needed) {
        m_state.resize(needed, 0);
        m_recentAt.resize(needed, -1);
    }
}

std::size_t CSpatialIndex::RecentLimit() const
{
    return std::max(kMinRecent, m_nFiled / kRecentShare);
}

void CSpatialIndex::Refresh()
{
    if (m_bRebuild) {
        Build();
        return;
    }
    if (m_noted.empty())
        return;
    for (int slot : m_noted) {
        unsigned char& state = m_state[static_cast<std::size_t>(slot)];
        if (state & STATE_FILED)
            ++m_nStale;
        state = 0;
        ReadSlot(slot);
    }
    m_noted.clear();
    if (m_recent.size() > RecentLimit())
        Build();
}

void CSpatialIndex::ReadSlot(int slot)
{
    const CGO_GeoObject* object = m_db.GetAt(slot);
    CGO_Box box;
    if (object == nullptr || !object->GetBounds(box) || HasNaN(box)) {
        DropRecent(slot);
        return;
    }
    int& at = m_recentAt[static_cast<std::size_t>(slot)];
    if (at >= 0) {
        m_recent[static_cast<std::size_t>(at)].m_box = box;
        return;
    }
    at = static_cast<int>(m_recent.size());
    m_recent.push_back({box, slot});
}

void CSpatialIndex::DropRecent(int slot)
{
    int& at = m_recentAt[static_cast<std::size_t>(slot)];
    if (at < 0)
        return;
    const CEntry last = m_recent.back();
    m_recent[static_cast<std::size_t>(at)] = last;
    m_recentAt[static_cast<std::size_t>(last.m_nSlot)] = at;
    m_recent.pop_back();
    at = -1;
}

void CSpatialIndex::Build()
{
    const int size = m_db.GetSize();
    m_state.assign(static_cast<std::size_t>(size), 0);
    m_recentAt.assign(static_cast<std::size_t>(size), -1);
    m_recent.clear();
    m_noted.clear();
    m_unbounded.clear();
    m_levels.clear();

    std::vector<CEntry> entries;
    entries.reserve(static_cast<std::size_t>(size));
    for (int slot = 0; slot < size; ++slot) {
        const CGO_GeoObject* object = m_db.GetAt(slot);
        CGO_Box box;
        if (object != nullptr && object->GetBounds(box) && !HasNaN(box)) {
            entries.push_back({box, slot});
            m_state[static_cast<std::size_t>(slot)] = STATE_FILED;
        }
    }
    m_nFiled = entries.size();
    m_nStale = 0;
    const CGridChoice choice = ChooseGrid(entries);
    m_dFinestCell = choice.m_dFinestCell;
    FileLevels(entries, choice.m_dFinestCell, choice.m_dOriginX, choice.m_dOriginY);
    m_bRebuild = false;
    ++m_nRebuilds;
}

void CSpatialIndex::FileLevels(std::vector<CEntry>& entries, double finestCell, double originX, double originY)
{
    std::vector<std::vector<CEntry>> byLevel;
    for (const CEntry& entry : entries) {
        if (!IsFinite(entry.m_box)) {
            m_unbounded.push_back(entry);
            continue;
        }
        const std::size_t level = static_cast<std::size_t>(LevelFor(Size(entry.m_box), finestCell));
        if (byLevel.size() <= level)
            byLevel.resize(level + 1);
        byLevel[level].push_back(entry);
    }
    // Each grid keeps its own copy; the gathered ones go first.
    std::vector<CEntry>().swap(entries);
    for (std::size_t level = 0; level < byLevel.size(); ++level) {
        if (byLevel[level].empty())
            continue;
        m_levels.emplace_back();
        m_levels.back().Build(std::ldexp(finestCell, static_cast<int>(level)), originX, originY, byLevel[level]);
        std::vector<CEntry>().swap(byLevel[level]);
    }
}

void CSpatialIndex::Query(const CGO_Box& rect, std::vector<int>& slots)
{
    slots.clear();
    Refresh();
    if (HasNaN(rect) || rect.xMin > rect.xMax || rect.yMin > rect.yMax)
        return;
    for (const CBucketGrid& level : m_levels)
        level.Query(rect, slots);
    for (const CEntry& entry : m_unbounded) {
        if (entry.m_box.Intersects(rect))
            slots.push_back(entry.m_nSlot);
    }
    // Boxes filed at the build of slots that changed since are out of date;
    // the slots' present boxes are among the recent ones.
    if (m_nStale > 0) {
        slots.erase(std::remove_if(slots.begin(), slots.end(),
                                   [this](int slot) {
                                       return !(m_state[static_cast<std::size_t>(slot)] & STATE_FILED);
                                   }),
                    slots.end());
    }
    for (const CEntry& entry : m_recent) {
        if (entry.m_box.Intersects(rect))
            slots.push_back(entry.m_nSlot);
    }
    std::sort(slots.begin(), slots.end());
}

CSpatialIndex::CStats CSpatialIndex::GetStats() const
{
    CStats stats;
    stats.m_nFiled = m_nFiled;
    stats.m_nRecent = m_recent.size();
    stats.m_nLevels = m_levels.size();
    stats.m_nRebuilds = m_nRebuilds;
    stats.m_dFinestCell = m_dFinestCell;
    std::size_t bytes = (m_unbounded.capacity() + m_recent.capacity()) * sizeof(CEntry) + m_state.capacity() +
                        m_recentAt.capacity() * sizeof(int) + m_noted.capacity() * sizeof(int);
    for (const CBucketGrid& level : m_levels)
        bytes += level.GetMemoryBytes();
    stats.m_nMemoryBytes = bytes;
    return stats;
}
