// What a DXF load left out: the number of entities of every type that the
// drawing cannot hold, and of the entities on paper space layouts.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

class CSkippedEntities {
public:
    void Add(const std::string& type) { ++m_counts[type]; }
    void AddPaperSpace() { ++m_nPaperSpace; }

    bool IsEmpty() const { return m_counts.empty() && m_nPaperSpace == 0; }
    // Type and count, ordered by type name.
    std::vector<std::pair<std::string, int>> ByType() const { return {m_counts.begin(), m_counts.end()}; }
    // The kinds a summary names: the limit most frequent ones (ties go to the
    // name first in order), listed by type name; KindsLeftOut tells how many
    // more there are.
    std::vector<std::pair<std::string, int>> MostFrequent(std::size_t limit = kNamedKinds) const;
    std::size_t KindsLeftOut(std::size_t limit = kNamedKinds) const;
    int Count(const std::string& type) const;
    int PaperSpace() const { return m_nPaperSpace; }
    int Total() const;

    // A summary names this many kinds at the most, so a file of a million
    // kinds still gives one short line and a message box that fits.
    static constexpr std::size_t kNamedKinds = 10;

    // "2 ARC, 1 TEXT; 3 on paper space", for the log and the command line;
    // beyond the named kinds "..., and 5 more kinds".
    std::string Describe() const;

    bool operator==(const CSkippedEntities& other) const
    {
        return m_counts == other.m_counts && m_nPaperSpace == other.m_nPaperSpace;
    }

private:
    std::map<std::string, int> m_counts;
    int m_nPaperSpace = 0;
};
