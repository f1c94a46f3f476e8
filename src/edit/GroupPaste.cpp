// Pasting: new objects from records, moved into place before they are added,
// all under one journal.
#include "edit/GroupPaste.h"

#include "database/GO_Database.h"
#include "database/GO_RecordArchive.h"
#include "edit/EditJournal.h"
#include "geometry/GO_GeoObject.h"
#include "log/Logger.h"

#include <memory>

namespace {

// A bare object of the record's kind, moved by offset, checked quietly
// before any id is taken.
bool WouldBeFinite(const CGO_ObjectRecord& record, CGO_Vector offset)
{
    std::unique_ptr<CGO_GeoObject> probe(record.runtimeClass->RestoreObject(0));
    if (!probe)
        return false;
    CRecordArchive archive = CRecordArchive::Loading(record);
    probe->LoadRecord(archive);
    const int level = CLogger::GetInstance()->GetLevel();
    CLogger::GetInstance()->SetLevel(0);
    probe->Move(offset);
    CLogger::GetInstance()->SetLevel(level);
    return !probe->LastTransformRefused();
}

} // namespace

CEditOutcome PasteRecords(CGO_Database& database, IEditStepSink* sink, const std::vector<CGO_ObjectRecord>& records,
                          CGO_Vector offset)
{
    CEditOutcome outcome;
    for (const CGO_ObjectRecord& record : records) {
        if (record.runtimeClass == nullptr || !WouldBeFinite(record, offset)) {
            LogWarn("Paste refused: an object would not be finite at the place chosen.");
            outcome.refused = 1;
            return outcome;
        }
    }
    CEditJournal journal(database);
    journal.Begin(EDIT_PASTE);
    for (const CGO_ObjectRecord& record : records) {
        CGO_GeoObject* object = record.runtimeClass->CreateObject();
        CRecordArchive archive = CRecordArchive::Loading(record);
        object->LoadRecord(archive);
        object->Move(offset);
        database.Add(object);
        outcome.created.push_back(object->GetId());
    }
    std::unique_ptr<CEditStep> step = journal.End();
    if (step && sink != nullptr)
        sink->PushStep(std::move(step));
    return outcome;
}

std::vector<CGO_Primitive> OutlineOfRecords(const std::vector<CGO_ObjectRecord>& records)
{
    std::vector<CGO_Primitive> primitives;
    for (const CGO_ObjectRecord& record : records) {
        if (record.runtimeClass == nullptr)
            continue;
        std::unique_ptr<CGO_GeoObject> probe(record.runtimeClass->RestoreObject(0));
        if (!probe)
            continue;
        CRecordArchive archive = CRecordArchive::Loading(record);
        probe->LoadRecord(archive);
        CGO_Outline outline;
        probe->GetOutline(outline);
        primitives.insert(primitives.end(), outline.begin(), outline.end());
    }
    return primitives;
}
