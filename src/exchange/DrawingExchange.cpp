// The load and save paths of both drawing formats. A DXF file is read and
// checked whole before the database replaces the drawing with its records.
#include "exchange/DrawingExchange.h"

#include "database/FileIO.h"
#include "database/FileReplacer.h"
#include "database/GO_Database.h"
#include "exchange/DxfReader.h"
#include "exchange/DxfWriter.h"
#include "log/Logger.h"

#include <vector>

int CDrawingExchange::Load(const char* path)
{
    m_strLastError.clear();
    m_skipped = CSkippedEntities();
    if (path != nullptr && exchange::FormatForOpening(path) == exchange::FORMAT_DXF)
        return LoadDxf(path);
    const int slots = m_database.Load(path);
    if (slots < 0)
        m_strLastError = m_database.GetLastError();
    return slots;
}

bool CDrawingExchange::Save(const char* path, exchange::FileFormat format)
{
    m_strLastError.clear();
    if (format == exchange::FORMAT_DXF)
        return SaveDxf(path);
    if (format != exchange::FORMAT_DAT) {
        m_strLastError = "a drawing is saved as .dat or .dxf";
        return false;
    }
    const bool saved = m_database.Save(path);
    if (!saved)
        m_strLastError = m_database.GetLastError();
    return saved;
}

int CDrawingExchange::LoadDxf(const char* path)
{
    std::vector<unsigned char> bytes;
    CDxfReader reader;
    bool ok = *path != '\0';
    if (!ok)
        m_strLastError = "no file name given";
    else
        ok = fileio::ReadWholeFile(path, bytes, m_strLastError);
    if (ok && !reader.Read(bytes)) {
        m_strLastError = reader.GetError();
        ok = false;
    }
    if (!ok) {
        LogWarn("Loading graphics from file '%s' failed: %s", path, m_strLastError.c_str());
        return -1;
    }
    std::vector<unsigned char>().swap(bytes);
    const int slots = m_database.LoadRecords(path, reader.GetRecords());
    if (slots < 0) {
        m_strLastError = m_database.GetLastError();
        return -1;
    }
    m_skipped = reader.GetSkipped();
    if (!m_skipped.IsEmpty())
        LogWarn("Entities of file '%s' not loaded: %s; layers, colours and line types are not kept", path,
                m_skipped.Describe().c_str());
    return slots;
}

bool CDrawingExchange::SaveDxf(const char* path)
{
    const char* shownPath = path != nullptr ? path : "";
    // The temporary file comes first, so a save that cannot succeed fails
    // before the objects report themselves.
    fileio::CFileReplacer file(shownPath);
    bool ok = file.Open(m_strLastError);
    std::vector<CGO_ObjectRecord> records;
    std::vector<unsigned char> bytes;
    if (ok && !m_database.SaveRecords(records)) {
        m_strLastError = m_database.GetLastError();
        ok = false;
    }
    CDxfWriter writer;
    if (ok && !writer.Write(records, bytes)) {
        m_strLastError = writer.GetError();
        ok = false;
    }
    if (ok)
        ok = file.Commit(bytes, m_strLastError);
    if (!ok)
        LogWarn("Saving graphics to file '%s' failed: %s", shownPath, m_strLastError.c_str());
    else
        file.WarnIfNotAtomic(shownPath);
    return ok;
}
