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

int CDrawingExchange::Load(const char* path, IProgress* progress)
{
    m_strLastError.clear();
    m_skipped = CSkippedEntities();
    if (path != nullptr && exchange::FormatForOpening(path) == exchange::FORMAT_DXF)
        return LoadDxf(path, progress);
    const int slots = m_database.Load(path, progress);
    if (slots < 0)
        m_strLastError = m_database.GetLastError();
    return slots;
}

bool CDrawingExchange::Save(const char* path, exchange::FileFormat format, IProgress* progress)
{
    m_strLastError.clear();
    if (format == exchange::FORMAT_DXF)
        return SaveDxf(path, progress);
    if (format != exchange::FORMAT_DAT) {
        m_strLastError = "a drawing is saved as .dat or .dxf";
        return false;
    }
    const bool saved = m_database.Save(path, progress);
    if (!saved)
        m_strLastError = m_database.GetLastError();
    return saved;
}

int CDrawingExchange::LoadDxf(const char* path, IProgress* progress)
{
    std::vector<unsigned char> bytes;
    CDxfReader reader;
    bool ok = *path != '\0';
    if (!ok)
        m_strLastError = "no file name given";
    else
        ok = fileio::ReadWholeFile(path, bytes, m_strLastError);
    progress::CPart reading(progress, 0, 200);
    if (ok && !reader.Read(bytes, progress != nullptr ? &reading : nullptr)) {
        m_strLastError = reader.GetError();
        ok = false;
    }
    if (!ok) {
        fileio::LogNotDone("Loading graphics from", path, m_strLastError);
        return -1;
    }
    std::vector<unsigned char>().swap(bytes);
    const int slots = m_database.LoadRecords(path, reader.GetRecords(), progress);
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

bool CDrawingExchange::SaveDxf(const char* path, IProgress* progress)
{
    const char* shownPath = path != nullptr ? path : "";
    // The temporary file comes first, so a save that cannot succeed fails
    // before the objects report themselves.
    fileio::CFileReplacer file(shownPath);
    bool ok = file.Open(m_strLastError);
    std::vector<CGO_ObjectRecord> records;
    std::vector<unsigned char> bytes;
    progress::CPart recording(progress, 0, 250);
    progress::CPart formatting(progress, 250, 500);
    progress::CPart writing(progress, 750, 250);
    const auto part = [progress](progress::CPart& step) { return progress != nullptr ? &step : nullptr; };
    if (ok && !m_database.SaveRecords(records, part(recording))) {
        m_strLastError = m_database.GetLastError();
        ok = false;
    }
    CDxfWriter writer;
    if (ok && !writer.Write(records, bytes, part(formatting))) {
        m_strLastError = writer.GetError();
        ok = false;
    }
    if (ok)
        ok = file.Commit(bytes, m_strLastError, part(writing));
    if (!ok)
        fileio::LogNotDone("Saving graphics to", shownPath, m_strLastError);
    else
        file.WarnIfNotAtomic(shownPath);
    return ok;
}
