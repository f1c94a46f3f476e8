// Loading and saving a drawing in the format its file's name gives: the
// program's own files through the database as always, DXF through the DXF
// reader and writer, with the same log lines and the same rules (a failed
// load keeps the drawing, a failed save keeps the old file).
#pragma once

#include "exchange/FileFormat.h"
#include "exchange/SkippedEntities.h"

#include <string>

class CGO_Database;
class IProgress;

class CDrawingExchange {
public:
    explicit CDrawingExchange(CGO_Database& database) : m_database(database) {}

    // Replaces the drawing by the file's (a DXF file by its extension, any
    // other as a drawing file). Returns the number of slots, or -1 with the
    // drawing untouched and the reason in GetLastError(). The reporter hears
    // how far it is, and may stop it until the old drawing is cleared.
    int Load(const char* path, IProgress* progress = nullptr);
    // Writes the drawing as format (FORMAT_DAT or FORMAT_DXF). False, with
    // the file as it was and the reason in GetLastError(), on failure and
    // when the reporter stops it (the reason is then progress::kCancelled).
    bool Save(const char* path, exchange::FileFormat format, IProgress* progress = nullptr);

    const std::string& GetLastError() const { return m_strLastError; }
    // What the last load of a DXF file left out.
    const CSkippedEntities& GetSkipped() const { return m_skipped; }

private:
    int LoadDxf(const char* path, IProgress* progress);
    bool SaveDxf(const char* path, IProgress* progress);

    CGO_Database& m_database;
    std::string m_strLastError;
    CSkippedEntities m_skipped;
};
