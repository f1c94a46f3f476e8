// The object base: id factory, class registry and the base behaviour of the
// virtual operations (a bare object stores nothing and draws nothing).
#include "geometry/GO_GeoObject.h"

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

const CGO_RuntimeClass kGeoObjectClass{"CGO_GeoObject", 0, 0, &CreateGeoObject, nullptr};

} // namespace

const CGO_RuntimeClass CGO_Line::s_runtimeClass{"CGO_Line", 0, 4, &CreateLine, &RestoreLine};
const CGO_RuntimeClass CGO_Circle::s_runtimeClass{"CGO_Circle", 0, 3, &CreateCircle, &RestoreCircle};

const CGO_RuntimeClass* CGO_RuntimeClass::FromName(std::string_view name)
{
    static const CGO_RuntimeClass* const classes[] = {
        &kGeoObjectClass, &CGO_Line::s_runtimeClass, &CGO_Circle::s_runtimeClass};
    for (const CGO_RuntimeClass* runtimeClass : classes) {
        if (name == runtimeClass->m_lpszClassName)
            return runtimeClass;
    }
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
CGO_ObjectState CGO_GeoObject::SaveState() const { return {}; }
void CGO_GeoObject::RestoreState(const CGO_ObjectState&) {}

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
