// The first pass over an ASCII DXF file: checks the group structure of the
// whole file (code and value lines in pairs, sections, the EOF marker), counts
// what the drawing cannot hold, and hands on the model space's lines and
// circles, each checked for the values it needs, as a small DXF text of their
// own. The DXF library decodes only that text: it has no error reporting of
// its own, and some inputs make it allocate without limit, read
// uninitialised memory or loop for ever (see CDxfReader).
#pragma once

#include "database/Progress.h"

#include "exchange/DxfEntity.h"
#include "exchange/SkippedEntities.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class CDxfScanner {
public:
    // Walks the whole file. False, with the reason in GetError(), when it is
    // not a complete ASCII DXF file, or progress::kCancelled when the
    // reporter (told the bytes walked so far) says stop.
    bool Scan(const unsigned char* data, std::size_t size, IProgress* progress = nullptr);

    const std::string& GetError() const { return m_strError; }
    // The LINE and CIRCLE entities of the model space, in file order, as the
    // ENTITIES section of a DXF file that holds nothing else.
    const std::string& GetImportText() const { return m_strImport; }
    // For each of those entities, the line of the file its type stands on.
    const std::vector<int>& GetImportLines() const { return m_importLines; }
    // For each of those, its place among all imported model space entities.
    const std::vector<int>& GetImportOrdinals() const { return m_importOrdinals; }
    // The model space's polylines with their vertices, block references and
    // ellipses, kept whole, in file order.
    const std::vector<CDxfEntity>& GetKeptEntities() const { return m_keptEntities; }
    // Every block definition by name, with all its entities.
    const CDxfBlocks& GetBlocks() const { return m_blocks; }
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
    void BeginBlockEntity(const Group& group);
    void CaptureBlockGroup(const Group& group);
    bool Fail(int line, const std::string& reason);

    const unsigned char* m_data = nullptr;
    std::size_t m_size = 0;
    std::size_t m_pos = 0;
    int m_nLine = 0;
    progress::CTicker m_ticker{nullptr, 0};

    // The entity being read in the ENTITIES section.
    enum { KIND_OTHER, KIND_LINE, KIND_CIRCLE, KIND_ARC, KIND_KEPT };
    bool m_bInEntity = false;
    std::string m_strType;
    int m_nKind = KIND_OTHER;
    int m_nEntityLine = 0;
    bool m_bPaperSpace = false;
    bool m_bInControlGroup = false;
    unsigned m_nCodesSeen = 0;
    std::string m_strPairs;

    CDxfEntity m_kept;
    int m_nOrdinal = 0;

    // The block definition being read in the BLOCKS section.
    bool m_bInBlock = false;
    CDxfBlock m_block;
    std::vector<CDxfGroup>* m_pBlockGroups = nullptr;
    bool m_bBlockControlGroup = false;

    std::vector<int> m_importOrdinals;
    std::vector<CDxfEntity> m_keptEntities;
    CDxfBlocks m_blocks;
    std::string m_strImport;
    std::vector<int> m_importLines;
    CSkippedEntities m_skipped;
    std::string m_strError;
};
