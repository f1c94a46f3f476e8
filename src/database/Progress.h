// How far a long load, save or export has got, and the user's wish to stop
// it: readers and writers tell a reporter every few thousand records, and
// give up, touching nothing, when it says stop.
#pragma once

#include <cstdint>

class IProgress {
public:
    virtual ~IProgress() = default;
    // done of total units of the work's current part. False: stop now.
    virtual bool Report(std::uint64_t done, std::uint64_t total) = 0;
    // The work has gone past the point where stopping could still leave
    // everything as it was (a load replacing the drawing): it runs to its
    // end, and its reports only show how far it is.
    virtual void PastReturn() {}
};

namespace progress {

// The reason a stopped load or save gives, and its log line's wording.
constexpr const char* kCancelled = "cancelled";

// One part of a longer work: its reports fill the share [first, first +
// share) of the whole, counted in thousandths.
class CPart : public IProgress {
public:
    CPart(IProgress* whole, unsigned first, unsigned share) : m_pWhole(whole), m_nFirst(first), m_nShare(share) {}
    bool Report(std::uint64_t done, std::uint64_t total) override
    {
        const std::uint64_t part = total == 0 ? m_nShare : m_nShare * (done < total ? done : total) / total;
        m_bStopped = m_bStopped || (m_pWhole != nullptr && !m_pWhole->Report(m_nFirst + part, 1000));
        return !m_bStopped;
    }
    void PastReturn() override
    {
        if (m_pWhole != nullptr)
            m_pWhole->PastReturn();
    }
    // Whether a report of this part was answered with stop.
    bool IsStopped() const { return m_bStopped; }

private:
    IProgress* m_pWhole;
    unsigned m_nFirst;
    unsigned m_nShare;
    bool m_bStopped = false;
};

// Counts records and asks the reporter every kStride of them, cheap enough
// for a reader's innermost loop. Without a reporter nothing ever stops.
class CTicker {
public:
    static constexpr std::uint64_t kStride = 4096;

    CTicker(IProgress* reporter, std::uint64_t total) : m_pReporter(reporter), m_nTotal(total) {}
    // One more record done; false once the reporter said stop.
    bool Step() { return StepTo(m_nDone + 1); }
    // The same, with done units of total reached (a byte offset, say).
    bool StepTo(std::uint64_t done)
    {
        m_nDone = done;
        return ((++m_nSteps & (kStride - 1)) != 0 && !m_bStopped) || Ask();
    }
    // Asks at once, as at the end of a part.
    bool Ask()
    {
        if (!m_bStopped && m_pReporter != nullptr)
            m_bStopped = !m_pReporter->Report(m_nDone, m_nTotal);
        return !m_bStopped;
    }
    bool IsStopped() const { return m_bStopped; }

private:
    IProgress* m_pReporter;
    std::uint64_t m_nTotal;
    std::uint64_t m_nDone = 0;
    std::uint64_t m_nSteps = 0;
    bool m_bStopped = false;
};

} // namespace progress
