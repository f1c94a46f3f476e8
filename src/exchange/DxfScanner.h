// The first pass over an ASCII DXF file: checks the group structure of the
// whole file (code and value lines in pairs, sections, the EOF marker), counts
// what the drawing cannot hold, and hands on the model space's lines and
// circles, each checked for the values it needs, as a small DXF text of their
// own. The DXF library decodes only that text: it has no error reporting of
// its own, and some inputs make it allocate without limit, read
// uninitialised memory or loop for ever (see CDxfReader).
#pragma once

#include "exchange/SkippedEntities.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class CDxfScanner {
public:
    // Walks the whole file. False, with the reason in GetError(), when it is
    // not a complete ASCII DXF file.
    bool Scan(const unsigned char* data, std::size_t size);

    const std::string& GetError() const { return m_strError; }
    // The LINE and CIRCLE entities of the model space, in file order, as the
    // ENTITIES section of a DXF file that holds nothing else.
    const std::string& GetImportText() const { return m_strImport; }
    // For each of those entities, the line of the file its type stands on.
    const std::vector<int>& GetImportLines() const { return m_importLines; }
    const CSkippedEntities& GetSkipped() const { return m_skipped; }

private:
    struct Group {
        int code;
        std::string_view value; // without the line end
        int line;               // of the code
    };
    bool NextGroup(Group& group);
    bool NextLine(std::string_view& line);
    bool ReadSectionName(std::string_view& name);
    bool ScanSection(std::string_view name);
    bool BeginEntity(const Group& group);
    bool AddToEntity(const Group& group);
    bool EndEntity();
    bool Fail(int line, const std::string& reason);

    const unsigned char* m_data = nullptr;
    std::size_t m_size = 0;
    std::size_t m_pos = 0;
    int m_nLine = 0;

    // The entity being read in the ENTITIES section.
    enum { KIND_OTHER, KIND_LINE, KIND_CIRCLE, KIND_ARC };
    bool m_bInEntity = false;
    std::string m_strType;
    int m_nKind = KIND_OTHER;
    int m_nEntityLine = 0;
    bool m_bPaperSpace = false;
    bool m_bInControlGroup = false;
    unsigned m_nCodesSeen = 0;
    std::string m_strPairs;

    std::string m_strImport;
    std::vector<int> m_importLines;
    CSkippedEntities m_skipped;
    std::string m_strError;
};
