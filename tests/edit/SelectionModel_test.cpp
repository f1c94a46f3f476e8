// Long random sequences of selecting, transforming the selection as a group,
// cutting, pasting, undoing and redoing, checked after every step: the
// selection names live objects only, and exactly those the model selected;
// a refused group transform changes nothing; a paste takes fresh ids.
#include "database/GO_Database.h"
#include "edit/Editor.h"
#include "edit/GroupPaste.h"
#include "edit/Selection.h"
#include "exchange/ClipboardRecord.h"
#include "log/Logger.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

namespace {

struct StepStack : IEditStepSink {
    std::vector<std::unique_ptr<CEditStep>> steps;
    std::size_t done = 0;
    void PushStep(std::unique_ptr<CEditStep> step) override
    {
        steps.resize(done);
        steps.push_back(std::move(step));
        ++done;
    }
};

std::vector<CGO_ObjectState> States(const CGO_Database& db)
{
    std::vector<CGO_ObjectState> states;
    for (int slot = 0; slot < db.GetSize(); ++slot)
        states.push_back(db.GetAt(slot) ? db.GetAt(slot)->SaveState() : CGO_ObjectState());
    return states;
}

class GroupEditRun {
public:
    explicit GroupEditRun(unsigned runNumber) : m_random(runNumber) {}

    void Step()
    {
        const int choice = Uniform(0, 99);
        if (choice < 20)
            Create();
        else if (choice < 35)
            SelectSome();
        else if (choice < 50)
            TransformSelection(choice);
        else if (choice < 58)
            CutAndPaste();
        else if (choice < 63)
            m_editor.Delete(m_selection.Ids());
        else if (choice < 80)
            Undo();
        else if (choice < 92)
            Redo();
        else if (choice < 93)
            Clear();
        else
            Toggle();
        Check();
    }

private:
    int Uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_random); }
    float Coordinate() { return std::uniform_real_distribution<float>(-100.0f, 100.0f)(m_random); }

    void Create()
    {
        if (Uniform(0, 1))
            m_editor.CreateLine(CGO_Point(Coordinate(), Coordinate()), CGO_Point(Coordinate(), Coordinate()));
        else
            m_editor.CreateCircle(CGO_Point(Coordinate(), Coordinate()), std::abs(Coordinate()) + 1.0f);
        m_nHighestId = CGO_GeoObject::PeekNextId() - 1;
    }

    std::vector<int> Live() const
    {
        std::vector<int> ids;
        for (int slot = 0; slot < m_db.GetSize(); ++slot)
            if (m_db.GetAt(slot))
                ids.push_back(m_db.GetAt(slot)->GetId());
        std::sort(ids.begin(), ids.end());
        return ids;
    }

    void SelectSome()
    {
        std::vector<int> chosen;
        for (int id : Live())
            if (Uniform(0, 2) == 0)
                chosen.push_back(id);
        if (Uniform(0, 9) == 0)
            chosen.push_back(m_nHighestId + 5); // no such object
        m_selection.Set(chosen);
        m_model = std::set<int>(chosen.begin(), chosen.end());
    }

    void Toggle()
    {
        const std::vector<int> live = Live();
        if (live.empty())
            return;
        const int id = live[static_cast<std::size_t>(Uniform(0, static_cast<int>(live.size()) - 1))];
        m_selection.Toggle(id);
        if (!m_model.erase(id))
            m_model.insert(id);
    }

    void TransformSelection(int choice)
    {
        const std::vector<CGO_ObjectState> before = States(m_db);
        const std::size_t steps = m_history.done;
        // Now and then a factor that no object survives.
        const bool overflow = choice % 5 == 0;
        const CTransform transform = overflow ? CTransform::Scale(3e38f)
                                              : CTransform::RotateAbout(CGO_Point(Coordinate(), Coordinate()), Coordinate());
        const CEditOutcome outcome = m_editor.Transform(m_selection.Ids(), transform);
        if (outcome.refused > 0) {
            ASSERT_TRUE(States(m_db) == before) << "a refused group changed";
            ASSERT_EQ(m_history.done, steps);
        }
    }

    void CutAndPaste()
    {
        const std::vector<int> ids = m_selection.Ids();
        const CClipboardContent content = clipboard::Collect(m_db, ids);
        CClipboardContent decoded;
        std::string error;
        ASSERT_TRUE(clipboard::Decode(clipboard::Encode(content), decoded, error)) << error;
        if (Uniform(0, 1))
            m_editor.Delete(ids);
        const std::vector<int> live = Live();
        const CEditOutcome outcome =
            PasteRecords(m_db, &m_history, decoded.records, CGO_Vector(Coordinate(), Coordinate()));
        for (int id : outcome.created) {
            ASSERT_GT(id, m_nHighestId) << "a pasted object took an id handed out before";
            ASSERT_FALSE(std::binary_search(live.begin(), live.end(), id));
            m_nHighestId = id;
        }
        m_selection.Set(outcome.created);
        m_model = std::set<int>(outcome.created.begin(), outcome.created.end());
    }

    // As a load does: a new drawing, ids from 0, a new history.
    void Clear()
    {
        m_db.Clear();
        m_history.steps.clear();
        m_history.done = 0;
        m_nHighestId = -1;
    }

    void Undo()
    {
        if (m_history.done == 0)
            return;
        if (!m_history.steps[m_history.done - 1]->Undo(m_db)) {
            m_history.steps.clear();
            m_history.done = 0;
            return;
        }
        --m_history.done;
    }

    void Redo()
    {
        if (m_history.done == m_history.steps.size())
            return;
        if (!m_history.steps[m_history.done]->Redo(m_db)) {
            m_history.steps.clear();
            m_history.done = 0;
            return;
        }
        ++m_history.done;
    }

    void Check()
    {
        // The model: what was last chosen, less what is gone since. Ids come
        // back only through undo and redo, and never name another object.
        const std::vector<int> live = Live();
        const std::vector<int> selected = m_selection.Ids();
        for (int id : selected)
            ASSERT_TRUE(std::binary_search(live.begin(), live.end(), id)) << "#" << id << " is selected but gone";
        ASSERT_TRUE(std::is_sorted(selected.begin(), selected.end()));
        ASSERT_EQ(std::adjacent_find(selected.begin(), selected.end()), selected.end());
        ASSERT_EQ(static_cast<int>(selected.size()), m_selection.Count());
        for (auto it = m_model.begin(); it != m_model.end();)
            it = std::binary_search(live.begin(), live.end(), *it) ? std::next(it) : m_model.erase(it);
        ASSERT_EQ(selected, std::vector<int>(m_model.begin(), m_model.end()));
    }

    std::mt19937 m_random;
    CGO_Database m_db;
    StepStack m_history;
    CEditor m_editor{m_db, &m_history};
    CSelection m_selection{m_db};
    std::set<int> m_model;
    int m_nHighestId = -1;
};

} // namespace

TEST(SelectionModel, RandomGroupEditsNeverLeaveTheSelectionNamingAGoneObject)
{
    const int level = CLogger::GetInstance()->GetLevel();
    CLogger::GetInstance()->SetLevel(0);
    for (unsigned runNumber = 1; runNumber <= 4; ++runNumber) {
        SCOPED_TRACE(runNumber);
        CGO_GeoObject::ResetIdFactory();
        GroupEditRun run(runNumber);
        for (int i = 0; i < 3000 && !::testing::Test::HasFatalFailure(); ++i)
            run.Step();
    }
    CLogger::GetInstance()->SetLevel(level);
}
