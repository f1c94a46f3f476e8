// Fuzz target for the clipboard's record reader: any text is either refused
// with a reason and no result, or read into records of known kinds with
// finite values that encode back to text reading to the very same records.
// A paste of what was read then adds exactly that many objects.
#include "database/GO_Database.h"
#include "edit/GroupPaste.h"
#include "exchange/ClipboardRecord.h"
#include "log/Logger.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

[[noreturn]] void Die(const char* what)
{
    std::fprintf(stderr, "clipboard fuzz: %s\n", what);
    std::abort();
}

bool SameRecords(const CClipboardContent& a, const CClipboardContent& b)
{
    if (a.records.size() != b.records.size() || std::memcmp(&a.reference, &b.reference, sizeof a.reference) != 0)
        return false;
    for (std::size_t i = 0; i < a.records.size(); ++i) {
        if (a.records[i].runtimeClass != b.records[i].runtimeClass ||
            std::memcmp(a.records[i].values.data(), b.records[i].values.data(), sizeof(float) * a.records[i].values.size()) != 0)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    CLogger::GetInstance()->SetLevel(0);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    CClipboardContent content;
    std::string error;
    if (!clipboard::Decode(text, content, error)) {
        if (error.empty() || !content.records.empty())
            Die("a refused record gave no reason or a result");
        return 0;
    }
    for (const CGO_ObjectRecord& record : content.records) {
        if (record.runtimeClass == nullptr)
            Die("a record of no kind was accepted");
        for (int i = 0; i < record.runtimeClass->m_nRecordFloats; ++i)
            if (!std::isfinite(record.values[static_cast<std::size_t>(i)]))
                Die("a value that is not finite was accepted");
    }
    CClipboardContent again;
    if (!clipboard::Decode(clipboard::Encode(content), again, error) || !SameRecords(content, again))
        Die("an accepted record does not encode back to itself");
    // Ids from 0 for every input, as after a load; the database's look-up
    // table grows with them.
    CGO_GeoObject::ResetIdFactory();
    CGO_Database db;
    const CEditOutcome outcome = PasteRecords(db, nullptr, content.records, CGO_Vector(0, 0));
    if (outcome.refused == 0 && db.GetCount() != static_cast<int>(content.records.size()))
        Die("a paste did not add every record");
    if (outcome.refused != 0 && db.GetCount() != 0)
        Die("a refused paste changed the drawing");
    return 0;
}
