// The edit operations. Each records itself through a journal of its own, so
// a step holds exactly what its operation changed.
#include "edit/Editor.h"

#include "database/GO_Database.h"
#include "edit/EditJournal.h"
#include "geometry/GO_Arc.h"
#include "geometry/GO_Circle.h"
#include "geometry/GO_Line.h"
#include "geometry/GO_RuntimeClass.h"
#include "log/Logger.h"

#include <cmath>

namespace {

// Logging switched off for the lifetime of the scope.
class CQuietLog {
public:
    CQuietLog() : m_nLevel(CLogger::GetInstance()->GetLevel()) { CLogger::GetInstance()->SetLevel(0); }
    ~CQuietLog() { CLogger::GetInstance()->SetLevel(m_nLevel); }
    CQuietLog(const CQuietLog&) = delete;
    CQuietLog& operator=(const CQuietLog&) = delete;

private:
    int m_nLevel;
};

CEditOutcome Refuse(const char* kind, const char* why)
{
    LogWarn("%s not created: %s.", kind, why);
    CEditOutcome refused;
    refused.refused = 1;
    return refused;
}

} // namespace

CEditOutcome CEditor::CreateLine(CGO_Point p1, CGO_Point p2, const BeforeAdd& beforeAdd)
{
    if (!p1.IsFinite() || !p2.IsFinite()) {
        return Refuse("Line", "an end point is not finite");
    }
    auto* line = new CGO_Line();
    line->SetPoints(p1, p2);
    return Add(line, EDIT_CREATE_LINE, beforeAdd);
}

CEditOutcome CEditor::CreateCircle(CGO_Point center, CGO_Point onCircle, const BeforeAdd& beforeAdd)
{
    // The radius the circle would measure from the two points.
    if (!center.IsFinite() || !onCircle.IsFinite() || !std::isfinite(CGO_Vector::Distance(center, onCircle))) {
        return Refuse("Circle", "its centre, its point or its radius is not finite");
    }
    auto* circle = new CGO_Circle();
    circle->SetCenterAndPoint(center, onCircle);
    return Add(circle, EDIT_CREATE_CIRCLE, beforeAdd);
}

CEditOutcome CEditor::CreateCircle(CGO_Point center, float radius, const BeforeAdd& beforeAdd)
{
    if (!center.IsFinite() || !std::isfinite(radius)) {
        return Refuse("Circle", "its centre or its radius is not finite");
    }
    auto* circle = new CGO_Circle();
    circle->SetCenterAndRadius(center, radius);
    return Add(circle, EDIT_CREATE_CIRCLE, beforeAdd);
}

CEditOutcome CEditor::CreateArc(CGO_Point center, float radius, float startDegrees, float endDegrees,
                               const BeforeAdd& beforeAdd)
{
    if (!center.IsFinite() || !std::isfinite(radius) || !std::isfinite(startDegrees) || !std::isfinite(endDegrees)) {
        return Refuse("Arc", "its centre, its radius or an angle is not finite");
    }
    auto* arc = new CGO_Arc();
    arc->SetArc(center, radius, startDegrees, endDegrees);
    return Add(arc, EDIT_CREATE_ARC, beforeAdd);
}

CEditOutcome CEditor::Add(CGO_GeoObject* object, EditKind kind, const BeforeAdd& beforeAdd)
{
    CEditJournal journal(m_database);
    journal.Begin(kind);
    if (beforeAdd)
        beforeAdd(*object);
    m_database.Add(object);
    CEditOutcome outcome;
    outcome.created.push_back(object->GetId());
    Push(journal.End());
    return outcome;
}

CEditOutcome CEditor::Delete(const std::vector<int>& ids)
{
    CEditJournal journal(m_database);
    journal.Begin(EDIT_DELETE);
    CEditOutcome outcome;
    for (int id : ids) {
        // The look-up inside logs a missing id.
        (m_database.Lookup(id) != nullptr ? outcome.found : outcome.missing) += 1;
        m_database.RemoveById(id);
    }
    Push(journal.End());
    return outcome;
}

CEditOutcome CEditor::Transform(const std::vector<int>& ids, const CTransform& transform, const Proceed& proceed)
{
    CEditJournal journal(m_database);
    journal.Begin(transform.GetKind());
    CEditOutcome outcome;
    std::vector<CGO_GeoObject*> objects;
    objects.reserve(ids.size());
    for (int id : ids) {
        if (CGO_GeoObject* object = m_database.Find(id))
            objects.push_back(object);
        else
            ++outcome.missing;
    }
    outcome.found = static_cast<int>(objects.size());
    if (objects.empty() || (proceed && !proceed())) {
        outcome.held = !objects.empty();
        return outcome;
    }
    if (objects.size() > 1) {
        const std::vector<CGO_GeoObject*> refused = WouldRefuse(objects, transform);
        if (!refused.empty()) {
            // Each refuses in its own words and stays as it is; so do the rest.
            for (CGO_GeoObject* object : refused)
                transform.ApplyTo(*object);
            outcome.refused = static_cast<int>(refused.size());
            return outcome;
        }
    }
    for (CGO_GeoObject* object : objects) {
        transform.ApplyTo(*object);
        if (object->LastTransformRefused())
            ++outcome.refused;
        else
            object->GenerateDisplayList();
    }
    Push(journal.End());
    return outcome;
}

std::vector<CGO_GeoObject*> CEditor::WouldRefuse(const std::vector<CGO_GeoObject*>& objects,
                                                 const CTransform& transform) const
{
    std::vector<CGO_GeoObject*> refused;
    CQuietLog quiet;
    for (CGO_GeoObject* object : objects) {
        // A copy under the same id, which builds no display list.
        std::unique_ptr<CGO_GeoObject> copy(object->GetRuntimeClass()->RestoreObject(object->GetId()));
        if (!copy)
            continue;
        copy->RestoreState(object->SaveState());
        transform.ApplyTo(*copy);
        if (copy->LastTransformRefused())
            refused.push_back(object);
    }
    return refused;
}

CEditOutcome CEditor::Refused(const char* operation, const char* why)
{
    LogWarn("%s refused: %s.", operation, why);
    CEditOutcome refused;
    refused.found = 1;
    refused.refused = 1;
    refused.reason = why;
    return refused;
}

void CEditor::Push(std::unique_ptr<CEditStep> step)
{
    if (step && m_pSink != nullptr)
        m_pSink->PushStep(std::move(step));
}
