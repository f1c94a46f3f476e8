// Counts of the entities a DXF load left out, and their one-line summary.
#include "exchange/SkippedEntities.h"

#include <algorithm>

int CSkippedEntities::Count(const std::string& type) const
{
    const auto found = m_counts.find(type);
    return found == m_counts.end() ? 0 : found->second;
}

int CSkippedEntities::Total() const
{
    int total = m_nPaperSpace;
    for (const auto& entry : m_counts)
        total += entry.second;
    return total;
}

std::vector<std::pair<std::string, int>> CSkippedEntities::MostFrequent(std::size_t limit) const
{
    if (m_counts.size() <= limit)
        return ByType();
    std::vector<std::map<std::string, int>::const_iterator> kinds;
    kinds.reserve(m_counts.size());
    for (auto it = m_counts.begin(); it != m_counts.end(); ++it)
        kinds.push_back(it);
    // The map's order is the name's, so a stable choice by count keeps ties
    // in name order.
    std::nth_element(kinds.begin(), kinds.begin() + static_cast<std::ptrdiff_t>(limit), kinds.end(),
                     [](const auto& a, const auto& b) {
                         return a->second != b->second ? a->second > b->second : a->first < b->first;
                     });
    kinds.resize(limit);
    std::sort(kinds.begin(), kinds.end(), [](const auto& a, const auto& b) { return a->first < b->first; });
    std::vector<std::pair<std::string, int>> named;
    for (const auto& kind : kinds)
        named.emplace_back(kind->first, kind->second);
    return named;
}

std::size_t CSkippedEntities::KindsLeftOut(std::size_t limit) const
{
    return m_counts.size() > limit ? m_counts.size() - limit : 0;
}

std::string CSkippedEntities::Describe() const
{
    std::string text;
    for (const auto& entry : MostFrequent()) {
        if (!text.empty())
            text += ", ";
        text += std::to_string(entry.second) + " " + entry.first;
    }
    if (KindsLeftOut() > 0)
        text += " and " + std::to_string(KindsLeftOut()) + " more kinds";
    if (m_nPaperSpace > 0) {
        if (!text.empty())
            text += "; ";
        text += std::to_string(m_nPaperSpace) + " on paper space";
    }
    return text;
}
