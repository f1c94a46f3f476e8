// Placing copied objects into the drawing as one step: each record becomes a
// new object with a fresh id, moved by an offset, and the whole group is
// refused, with nothing made, when one of them would not be finite there.
#pragma once

#include "database/GO_ObjectRecord.h"
#include "edit/Editor.h"
#include "geometry/GO_Outline.h"
#include "geometry/GO_Vector.h"

#include <vector>

CEditOutcome PasteRecords(CGO_Database& database, IEditStepSink* sink, const std::vector<CGO_ObjectRecord>& records,
                          CGO_Vector offset);

// What the records draw, for the preview that follows the cursor.
std::vector<CGO_Primitive> OutlineOfRecords(const std::vector<CGO_ObjectRecord>& records);
