// Run-time class support for drawing objects, and the facts about each kind
// of object that the rest of the program reads without knowing the kind: the
// drawing-file reader looks a class up by the name stored in the file and
// creates a default object of it; undo brings an object back under its id;
// messages name the values of its record and the kind itself.
#pragma once

#include <array>
#include <string_view>

class CGO_GeoObject;

struct CGO_RuntimeClass {
    // The longest data record of any kind, in floats.
    static constexpr int kMaxRecordFloats = 6;

    const char* m_lpszClassName;
    unsigned m_wSchema;
    int m_nRecordFloats; // size of the data record, in floats
    CGO_GeoObject* (*m_pfnCreateObject)();
    // Creates the object under an id it had before (undo, redo); null for a
    // class whose objects have no id.
    CGO_GeoObject* (*m_pfnRestoreObject)(int id);
    // The values of the data record as messages about a file name them.
    std::array<const char*, kMaxRecordFloats> m_fieldNames;
    // The kind as the status bar names it ("Linie").
    const char* m_lpszDisplayName;

    CGO_GeoObject* CreateObject() const { return m_pfnCreateObject(); }
    CGO_GeoObject* RestoreObject(int id) const { return m_pfnRestoreObject ? m_pfnRestoreObject(id) : nullptr; }
    // "x1", or "value 5" past the named ones.
    const char* FieldName(int field) const;

    // The class registered under name, or nullptr.
    static const CGO_RuntimeClass* FromName(std::string_view name);
};
