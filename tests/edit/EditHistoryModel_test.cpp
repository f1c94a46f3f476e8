// Long random sequences of creating, deleting, transforming, undoing and
// redoing, checked after every step against a reference model that knows
// nothing of the journal: it diffs whole drawings, slot by slot and bit for
// bit, and replays those diffs itself.
#include "database/GO_Database.h"
#include "edit/EditJournal.h"
#include "geometry/GO_Circle.h"
#include "geometry/GO_Line.h"
#include "geometry/GO_RuntimeClass.h"
#include "log/Logger.h"
#include "support/HeadlessGL.h"

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <vector>

namespace {

// What one slot holds, as the model sees it.
struct Entry {
    int id;
    const CGO_RuntimeClass* runtimeClass;
    CGO_ObjectState state;

    bool operator==(const Entry& other) const
    {
        return id == other.id && runtimeClass == other.runtimeClass && state == other.state;
    }
    bool operator!=(const Entry& other) const { return !(*this == other); }
};
using Drawing = std::vector<std::optional<Entry>>;

Drawing Read(const CGO_Database& db)
{
    Drawing drawing(static_cast<std::size_t>(db.GetSize()));
    for (int slot = 0; slot < db.GetSize(); ++slot) {
        if (const CGO_GeoObject* object = db.GetAt(slot))
            drawing[static_cast<std::size_t>(slot)] = Entry{object->GetId(), object->GetRuntimeClass(), object->SaveState()};
    }
    return drawing;
}

// The first slot where the database and the model differ, or -1: cheap
// enough to run after every one of 100k steps.
int FirstDifference(const CGO_Database& db, const Drawing& model)
{
    if (static_cast<std::size_t>(db.GetSize()) != model.size())
        return 0;
    for (int slot = 0; slot < db.GetSize(); ++slot) {
        const CGO_GeoObject* object = db.GetAt(slot);
        const std::optional<Entry>& entry = model[static_cast<std::size_t>(slot)];
        if ((object != nullptr) != entry.has_value())
            return slot;
        if (object != nullptr &&
            !(Entry{object->GetId(), object->GetRuntimeClass(), object->SaveState()} == *entry))
            return slot;
    }
    return -1;
}

void ExpectSame(const Drawing& actual, const Drawing& expected)
{
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t slot = 0; slot < actual.size(); ++slot) {
        ASSERT_EQ(actual[slot].has_value(), expected[slot].has_value()) << "slot " << slot;
        if (!actual[slot])
            continue;
        ASSERT_EQ(actual[slot]->id, expected[slot]->id) << "slot " << slot;
        ASSERT_EQ(actual[slot]->runtimeClass, expected[slot]->runtimeClass) << "slot " << slot;
        ASSERT_EQ(actual[slot]->state.values.size(), expected[slot]->state.values.size()) << "slot " << slot;
        for (std::size_t i = 0; i < actual[slot]->state.values.size(); ++i) {
            std::uint32_t a = 0, e = 0;
            std::memcpy(&a, &actual[slot]->state.values[i], 4);
            std::memcpy(&e, &expected[slot]->state.values[i], 4);
            ASSERT_EQ(a, e) << "slot " << slot << ", value " << i;
        }
    }
}

// The model's own record of a step: every slot whose content differs.
struct SlotDiff {
    std::size_t slot;
    std::optional<Entry> before, after;
};
using ModelStep = std::vector<SlotDiff>;

ModelStep Diff(const Drawing& before, const Drawing& after)
{
    ModelStep step;
    for (std::size_t slot = 0; slot < after.size(); ++slot) {
        const std::optional<Entry> old = slot < before.size() ? before[slot] : std::nullopt;
        if (old != after[slot])
            step.push_back({slot, old, after[slot]});
    }
    return step;
}

void Replay(Drawing& drawing, const ModelStep& step, bool undo)
{
    for (const SlotDiff& diff : step) {
        if (drawing.size() <= diff.slot)
            drawing.resize(diff.slot + 1);
        drawing[diff.slot] = undo ? diff.before : diff.after;
    }
}

// The history the program keeps, reduced to what the model needs: a list of
// steps and how many of them are done; a new step drops the undone ones.
template <class Step>
struct Stack {
    std::vector<Step> steps;
    std::size_t done = 0;
    void Push(Step step)
    {
        steps.resize(done);
        steps.push_back(std::move(step));
        ++done;
    }
};

class Sequence {
public:
    explicit Sequence(unsigned number) : m_random(number) {}

    void Run(int steps, const std::function<void()>& afterEachStep = {})
    {
        for (int i = 0; i < steps; ++i) {
            Step();
            if (FirstDifference(m_db, m_model) >= 0) {
                ExpectSame(Read(m_db), m_model);
                FAIL() << "step " << i;
            }
            ASSERT_EQ(m_history.done, m_modelHistory.done);
            if (afterEachStep)
                afterEachStep();
            if (::testing::Test::HasFatalFailure())
                return;
        }
    }

    void UndoAllThenRedoAll()
    {
        // The last steps of the run may be undone: the final drawing is the
        // one with every step done.
        while (m_history.done < m_history.steps.size())
            Redo();
        const Drawing final = m_model;
        while (m_history.done > 0)
            Undo();
        for (const std::optional<Entry>& slot : Read(m_db))
            ASSERT_FALSE(slot.has_value()) << "undoing everything must give the empty drawing";
        while (m_history.done < m_history.steps.size())
            Redo();
        ExpectSame(Read(m_db), final);
    }

    CGO_Database& Db() { return m_db; }
    const std::vector<int>& CreatedIds() const { return m_createdIds; }

private:
    int Uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_random); }
    float Coordinate() { return std::uniform_real_distribution<float>(-100.0f, 100.0f)(m_random); }

    void Step()
    {
        const int choice = Uniform(0, 99);
        if (choice < 14)
            Undo();
        else if (choice < 22)
            Redo();
        else
            Operate(choice);
    }

    void Undo()
    {
        if (m_history.done == 0)
            return;
        --m_history.done;
        ASSERT_TRUE(m_history.steps[m_history.done]->Undo(m_db));
        --m_modelHistory.done;
        Replay(m_model, m_modelHistory.steps[m_modelHistory.done], true);
    }

    void Redo()
    {
        if (m_history.done == m_history.steps.size())
            return;
        ASSERT_TRUE(m_history.steps[m_history.done]->Redo(m_db));
        ++m_history.done;
        Replay(m_model, m_modelHistory.steps[m_modelHistory.done], false);
        ++m_modelHistory.done;
    }

    // One user operation through the paths the program takes: a new object
    // through Add, everything else through Find or RemoveById.
    void Operate(int choice)
    {
        const int id = RandomLiveId();
        EditKind kind = id < 0 || choice < 45 ? (choice % 2 ? EDIT_CREATE_LINE : EDIT_CREATE_CIRCLE) : EDIT_MOVE;
        m_journal.Begin(kind);
        if (kind == EDIT_CREATE_LINE || kind == EDIT_CREATE_CIRCLE)
            Create(kind);
        else if (choice < 55)
            m_db.RemoveById(id);
        else
            Transform(*m_db.Find(id), choice);
        std::unique_ptr<CEditStep> step = m_journal.End();

        // The model diffs the whole drawing, not just the slot it expects.
        const Drawing now = Read(m_db);
        ModelStep diff = Diff(m_model, now);
        // A step exactly when the drawing changed, and then the same change.
        ASSERT_EQ(step != nullptr, !diff.empty());
        m_model = now;
        if (step) {
            m_history.Push(std::move(step));
            m_modelHistory.Push(std::move(diff));
        }
    }

    void Create(EditKind kind)
    {
        CGO_GeoObject* object = nullptr;
        if (kind == EDIT_CREATE_LINE) {
            auto* line = new CGO_Line;
            line->SetPoints(CGO_Point(Coordinate(), Coordinate()), CGO_Point(Coordinate(), Coordinate()));
            object = line;
        } else {
            auto* circle = new CGO_Circle;
            if (Uniform(0, 1))
                circle->SetCenterAndPoint(CGO_Point(Coordinate(), Coordinate()), CGO_Point(Coordinate(), Coordinate()));
            else
                circle->SetCenterAndRadius(CGO_Point(Coordinate(), Coordinate()), Coordinate());
            object = circle;
        }
        // Ids are never handed out twice, undo or not.
        for (int earlier : m_createdIds)
            ASSERT_LT(earlier, object->GetId());
        m_createdIds.push_back(object->GetId());
        m_db.Add(object);
    }

    void Transform(CGO_GeoObject& object, int choice)
    {
        const CGO_Point p(Coordinate(), Coordinate());
        const CGO_Point q(Coordinate(), Coordinate());
        switch (choice % 9) {
        case 0: object.Move(CGO_Vector(Coordinate(), Coordinate())); break;
        case 1: object.Rotate(Coordinate()); break;
        case 2: object.RotateAbout(p, Coordinate()); break;
        case 3: object.Scale(Coordinate() / 30.0f); break;
        case 4: object.ScaleAbout(p, Coordinate() / 30.0f); break;
        case 5: object.FlipHorizontal(); break;
        case 6: object.FlipVertical(); break;
        case 7: object.FlipOnOrigin(); break;
        // Now and then a mirror line through two equal points: no change.
        default: object.FlipOnStraight(p, Uniform(0, 9) ? q : p); break;
        }
        object.GenerateDisplayList();
    }

    int RandomLiveId()
    {
        std::vector<int> live;
        for (const std::optional<Entry>& slot : m_model)
            if (slot)
                live.push_back(slot->id);
        return live.empty() ? -1 : live[static_cast<std::size_t>(Uniform(0, static_cast<int>(live.size()) - 1))];
    }

    std::mt19937 m_random;
    CGO_Database m_db;
    CEditJournal m_journal{m_db};
    Drawing m_model;
    Stack<std::unique_ptr<CEditStep>> m_history;
    Stack<ModelStep> m_modelHistory;
    std::vector<int> m_createdIds;
};

// The log would grow by gigabytes; warnings (a refused undo) still show.
class QuietLog {
public:
    QuietLog() : m_level(CLogger::GetInstance()->GetLevel()) { CLogger::GetInstance()->SetLevel(CLogger::LEVEL_WARN); }
    ~QuietLog() { CLogger::GetInstance()->SetLevel(m_level); }

private:
    int m_level;
};

} // namespace

TEST(EditHistoryModel, RandomSequencesMatchTheModelAfterEveryStep)
{
    QuietLog quiet;
    // 100k steps in all; shorter sequences keep the slot count, and with it
    // the whole-drawing comparison after every step, small.
    for (unsigned number = 1; number <= 20; ++number) {
        SCOPED_TRACE(number);
        CGO_GeoObject::ResetIdFactory();
        Sequence sequence(number);
        sequence.Run(5000);
        sequence.UndoAllThenRedoAll();
        if (HasFatalFailure())
            return;
    }
}

TEST(EditHistoryModel, EveryLiveObjectHasItsListAndNoRemovedOneKeepsOne)
{
    testsupport::HeadlessGL gl;
    ASSERT_TRUE(gl.IsValid());
    QuietLog quiet;
    CGO_GeoObject::ResetIdFactory();
    Sequence sequence(99);
    sequence.Run(3000, [&] {
        std::vector<bool> live(static_cast<std::size_t>(CGO_GeoObject::PeekNextId()), false);
        for (int slot = 0; slot < sequence.Db().GetSize(); ++slot)
            if (const CGO_GeoObject* object = sequence.Db().GetAt(slot))
                live[static_cast<std::size_t>(object->GetId())] = true;
        for (int id : sequence.CreatedIds())
            ASSERT_EQ(glIsList(static_cast<GLuint>(id + 100)) == GL_TRUE, live[static_cast<std::size_t>(id)]) << "#" << id;
    });
}
