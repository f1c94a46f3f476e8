// The object base: id factory, class registry and the base behaviour of the
// virtual operations (a bare object stores nothing and draws nothing).
#include "geometry/GO_GeoObject.h"

#include "geometry/GO_Arc.h"
#include "geometry/GO_Archive.h"
#include "geometry/GO_Circle.h"
#include "geometry/GO_Line.h"
#include "geometry/GO_RuntimeClass.h"
#include "log/Logger.h"

#include <ostream>

int CGO_GeoObject::s_nNextId = 0;

namespace {

CGO_GeoObject* CreateGeoObject() { return new CGO_GeoObject; }
CGO_GeoObject* CreateLine() { return new CGO_Line; }
CGO_GeoObject* CreateCircle() { return new CGO_Circle; }
CGO_GeoObject* RestoreLine(int id) { return CGO_Line::Restore(id); }
CGO_GeoObject* RestoreCircle(int id) { return CGO_Circle::Restore(id); }
CGO_GeoObject* CreateArc() { return new CGO_Arc; }
CGO_GeoObject* RestoreArc(int id) { return CGO_Arc::Restore(id); }

const CGO_RuntimeClass kGeoObjectClass{"CGO_GeoObject", 0, 0, &CreateGeoObject, nullptr, {}, "Objekt"};

} // namespace

// Every kind of object, once: a new kind is one more line here.
const CGO_RuntimeClass CGO_Line::s_runtimeClass{
    "CGO_Line", 0, 4, &CreateLine, &RestoreLine, {"x1", "y1", "x2", "y2"}, "Linie"};
const CGO_RuntimeClass CGO_Circle::s_runtimeClass{
    "CGO_Circle", 0, 3, &CreateCircle, &RestoreCircle, {"x", "y", "r"}, "Kreis"};
const CGO_RuntimeClass CGO_Arc::s_runtimeClass{
    "CGO_Arc", 0, 5, &CreateArc, &RestoreArc, {"x", "y", "r", "start", "end"}, "Bogen"};

const CGO_RuntimeClass* CGO_RuntimeClass::FromName(std::string_view name)
{
    static const CGO_RuntimeClass* const classes[] = {
        &kGeoObjectClass, &CGO_Line::s_runtimeClass, &CGO_Circle::s_runtimeClass, &CGO_Arc::s_runtimeClass};
    for (const CGO_RuntimeClass* runtimeClass : classes) {
        if (name == runtimeClass->m_lpszClassName)
            return runtimeClass;
    }
    return nullptr;
}

const char* CGO_RuntimeClass::FieldName(int field) const
{
    if (field >= 0 && field < kMaxRecordFloats && m_fieldNames[static_cast<std::size_t>(field)] != nullptr)
        return m_fieldNames[static_cast<std::size_t>(field)];
    return nullptr;
}

const CGO_RuntimeClass* CGO_GeoObject::GetRuntimeClass() const { return &kGeoObjectClass; }

void CGO_GeoObject::Serialize(CGO_Archive&) {}

void CGO_GeoObject::AssertValid() const {}

void CGO_GeoObject::Dump(std::ostream& out) const
{
    out << GetRuntimeClass()->m_lpszClassName << " #" << m_nId << " (display list " << m_nDisplayList << ")\n";
}

void CGO_GeoObject::DeleteDisplayList()
{
    LogDebug("Geo object #%i removed.", m_nId);
}

void CGO_GeoObject::GenerateDisplayList() {}
void CGO_GeoObject::Move(const CGO_Vector&) {}
void CGO_GeoObject::Rotate(float) {}
void CGO_GeoObject::RotateAbout(CGO_Point, float) {}
void CGO_GeoObject::Scale(float) {}
void CGO_GeoObject::ScaleAbout(CGO_Point, float) {}
void CGO_GeoObject::FlipHorizontal() {}
void CGO_GeoObject::FlipVertical() {}
void CGO_GeoObject::FlipOnOrigin() {}
void CGO_GeoObject::FlipOnStraight(CGO_Point, CGO_Point) {}

CGO_GeoObject::CGO_GeoObject(RestoredId restored)
    : m_nId(restored.id), m_nDisplayList(restored.id + DISPLAY_LIST_OFFSET)
{
}

bool CGO_GeoObject::GetBounds(CGO_Box&) const { return false; }
void CGO_GeoObject::GetOutline(CGO_Outline&) const {}
void CGO_GeoObject::StoreRecord(CGO_Archive&) const {}
void CGO_GeoObject::LoadRecord(CGO_Archive&) {}
void CGO_GeoObject::StoreExtraState(CGO_Archive&) const {}
void CGO_GeoObject::LoadExtraState(CGO_Archive&) {}

void CGO_GeoObject::GetSnapPoints(CGO_SnapPoints& points) const
{
    CGO_Outline outline;
    GetOutline(outline);
    points.AddOutlinePoints(outline);
}

namespace {

// The archive over a state's floats.
class CStateArchive : public CGO_Archive {
public:
    explicit CStateArchive(CGO_ObjectState& state) : m_state(state), m_bStoring(true) {}
    explicit CStateArchive(const CGO_ObjectState& state) : m_state(const_cast<CGO_ObjectState&>(state)) {}

    bool IsStoring() const override { return m_bStoring; }
    void WriteFloat(float value) override { m_state.values.push_back(value); }
    float ReadFloat() override { return m_nNext < m_state.values.size() ? m_state.values[m_nNext++] : 0.0f; }

private:
    CGO_ObjectState& m_state;
    bool m_bStoring = false;
    std::size_t m_nNext = 0;
};

} // namespace

CGO_ObjectState CGO_GeoObject::SaveState() const
{
    CGO_ObjectState state;
    CStateArchive archive(state);
    StoreRecord(archive);
    StoreExtraState(archive);
    return state;
}

void CGO_GeoObject::RestoreState(const CGO_ObjectState& state)
{
    CStateArchive archive(state);
    LoadRecord(archive);
    LoadExtraState(archive);
}

void CGO_GeoObject::ResetIdFactory()
{
    s_nNextId = 0;
    LogDebug("GeoObject id factory resetted.");
}

void CGO_GeoObject::AssignNextId()
{
    m_nId = s_nNextId;
    m_nDisplayList = m_nId + DISPLAY_LIST_OFFSET;
}

bool CGO_GeoObject::AcceptTransform(bool resultFinite, const char* className, const char* operation)
{
    m_bTransformRefused = !resultFinite;
    if (m_bTransformRefused)
        LogWarn("%s #%i not %s: the result would not be finite.", className, m_nId, operation);
    return resultFinite;
}

void CGO_GeoObject::AdvanceIdFactory()
{
    ++s_nNextId;
}
