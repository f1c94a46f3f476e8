// Counts of the entities a DXF load left out, and their one-line summary.
#include "exchange/SkippedEntities.h"

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

std::string CSkippedEntities::Describe() const
{
    std::string text;
    for (const auto& entry : m_counts) {
        if (!text.empty())
            text += ", ";
        text += std::to_string(entry.second) + " " + entry.first;
    }
    if (m_nPaperSpace > 0) {
        if (!text.empty())
            text += "; ";
        text += std::to_string(m_nPaperSpace) + " on paper space";
    }
    return text;
}
