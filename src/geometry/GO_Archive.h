// The stream an object stores its data record into, or loads it from.
// The drawing-file writer and reader implement it.
#pragma once

class CGO_Archive {
public:
    virtual ~CGO_Archive() = default;

    virtual bool IsStoring() const = 0;
    bool IsLoading() const { return !IsStoring(); }

    // One 32-bit IEEE float, little-endian in the file.
    virtual void WriteFloat(float value) = 0;
    // Returns 0 and marks the archive failed when no float is left.
    virtual float ReadFloat() = 0;
};
