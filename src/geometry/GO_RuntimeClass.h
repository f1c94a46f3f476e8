// Run-time class support for drawing objects: the drawing-file reader looks a
// class up by the name stored in the file and creates a default object of it.
#pragma once

#include <string_view>

class CGO_GeoObject;

struct CGO_RuntimeClass {
    const char* m_lpszClassName;
    unsigned m_wSchema;
    int m_nRecordFloats;              // size of the data record, in floats
    CGO_GeoObject* (*m_pfnCreateObject)();
    // Creates the object under an id it had before (undo, redo); null for a
    // class whose objects have no id.
    CGO_GeoObject* (*m_pfnRestoreObject)(int id);

    CGO_GeoObject* CreateObject() const { return m_pfnCreateObject(); }
    CGO_GeoObject* RestoreObject(int id) const { return m_pfnRestoreObject ? m_pfnRestoreObject(id) : nullptr; }

    // The class registered under name, or nullptr.
    static const CGO_RuntimeClass* FromName(std::string_view name);
};
