// Loading and saving a drawing in the format its file's name gives: the
// program's own files through the database as always, DXF through the DXF
// reader and writer, with the same log lines and the same rules (a failed
// load keeps the drawing, a failed save keeps the old file).
#pragma once

#include "exchange/FileFormat.h"
#include "exchange/SkippedEntities.h"

#include <string>

class CGO_Database;

class CDrawingExchange {
public:
    explicit CDrawingExchange(CGO_Database& database) : m_database(database) {}

    // Replaces the drawing by the file's (a DXF file by its extension, any
    // other as a drawing file). Returns the number of slots, or -1 with the
    // drawing untouched and the reason in GetLastError().
    int Load(const char* path);
    // Writes the drawing as format (FORMAT_DAT or FORMAT_DXF). False, with
    // the file as it was and the reason in GetLastError(), on failure.
    bool Save(const char* path, exchange::FileFormat format);

    const std::string& GetLastError() const { return m_strLastError; }
    // What the last load of a DXF file left out.
    const CSkippedEntities& GetSkipped() const { return m_skipped; }

private:
    int LoadDxf(const char* path);
    bool SaveDxf(const char* path);

    CGO_Database& m_database;
    std::string m_strLastError;
    CSkippedEntities m_skipped;
};
