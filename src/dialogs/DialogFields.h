// The dialogs' number fields as text: what is read from a field and how
// pre-filled values are written. Numbers always use the decimal point,
// whatever the user's locale says.
#pragma once

#include <QString>

// Only this many leading characters of a field are read; the rest is ignored.
constexpr int FIELD_READ_LENGTH = 7;

// Reads the decimal number that starts the field's first seven characters
// (leading blanks skipped, anything after the number ignored). Returns false
// and leaves value as it was when no finite number can be read there.
bool ReadFloatField(const QString& text, float& value);

// The same for a whole number, such as an object id.
bool ReadIntField(const QString& text, int& value);

// A coordinate as the dialogs pre-fill it ("%4.2f").
QString FormatCoordinate(float value);

// An object id as the dialogs pre-fill it ("%d").
QString FormatObjectId(int id);
