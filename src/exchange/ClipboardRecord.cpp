// The clipboard's text: a header line, the reference point, one line per
// object with its class name, its value count and each value as the hex of
// its float bits, and an end line. Reading checks every piece.
#include "exchange/ClipboardRecord.h"

#include "database/GO_Database.h"
#include "database/GO_RecordArchive.h"
#include "exchange/DxfWriter.h"
#include "geometry/GO_GeoObject.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <sstream>

namespace clipboard {

const char* const kMimeType = "application/x-lumen7-objects";

namespace {

const char* const kHeader = "lumen7 objects 1";

std::string Hex(float value)
{
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    char text[9];
    std::snprintf(text, sizeof text, "%08x", static_cast<unsigned>(bits));
    return text;
}

bool ReadHex(std::istream& in, float& value)
{
    std::string word;
    if (!(in >> word) || word.size() != 8)
        return false;
    std::uint32_t bits = 0;
    for (char c : word) {
        int digit = 0;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else
            return false;
        bits = bits << 4 | static_cast<std::uint32_t>(digit);
    }
    std::memcpy(&value, &bits, sizeof value);
    return std::isfinite(value);
}

} // namespace

CClipboardContent Collect(const CGO_Database& database, const std::vector<int>& ids)
{
    CClipboardContent content;
    CGO_Box all;
    bool first = true;
    for (int id : ids) {
        const CGO_GeoObject* object = database.Lookup(id);
        if (object == nullptr)
            continue;
        CGO_ObjectRecord record;
        record.runtimeClass = object->GetRuntimeClass();
        CRecordArchive archive = CRecordArchive::Storing(record);
        object->StoreRecord(archive);
        content.records.push_back(record);
        CGO_Box box;
        if (object->GetBounds(box)) {
            if (first)
                all = box;
            else
                all.Include(box);
            first = false;
        }
    }
    content.reference = CGO_Point(static_cast<float>(all.xMin), static_cast<float>(all.yMin));
    return content;
}

std::string Encode(const CClipboardContent& content)
{
    std::string text = std::string(kHeader) + "\n";
    text += "reference " + Hex(content.reference.x) + " " + Hex(content.reference.y) + "\n";
    text += "count " + std::to_string(content.records.size()) + "\n";
    for (const CGO_ObjectRecord& record : content.records) {
        text += record.runtimeClass->m_lpszClassName;
        text += " " + std::to_string(record.runtimeClass->m_nRecordFloats);
        for (int i = 0; i < record.runtimeClass->m_nRecordFloats; ++i)
            text += " " + Hex(record.values[static_cast<std::size_t>(i)]);
        text += "\n";
    }
    return text + "end\n";
}

bool Decode(const std::string& text, CClipboardContent& out, std::string& error)
{
    std::istringstream in(text);
    std::string line;
    if (!std::getline(in, line) || line != kHeader) {
        error = "not lumen7 objects";
        return false;
    }
    CClipboardContent content;
    std::string word;
    std::size_t count = 0;
    if (!(in >> word) || word != "reference" || !ReadHex(in, content.reference.x) ||
        !ReadHex(in, content.reference.y)) {
        error = "no valid reference point";
        return false;
    }
    if (!(in >> word) || word != "count" || !(in >> count) || count > kMaxObjects) {
        error = "no valid object count";
        return false;
    }
    for (std::size_t i = 0; i < count; ++i) {
        CGO_ObjectRecord record;
        int values = 0;
        if (!(in >> word) || (record.runtimeClass = CGO_RuntimeClass::FromName(word)) == nullptr ||
            record.runtimeClass->m_pfnRestoreObject == nullptr) {
            error = "object " + std::to_string(i + 1) + " is of no known kind";
            return false;
        }
        if (!(in >> values) || values != record.runtimeClass->m_nRecordFloats) {
            error = "object " + std::to_string(i + 1) + " has the wrong number of values";
            return false;
        }
        for (int v = 0; v < values; ++v) {
            if (!ReadHex(in, record.values[static_cast<std::size_t>(v)])) {
                error = "object " + std::to_string(i + 1) + " has a value that is not a finite number";
                return false;
            }
        }
        content.records.push_back(record);
    }
    if (!(in >> word) || word != "end" || (in >> word)) {
        error = "the record does not end where it should";
        return false;
    }
    out = std::move(content);
    return true;
}

std::string DxfText(const CClipboardContent& content)
{
    CDxfWriter writer;
    std::vector<unsigned char> bytes;
    if (!writer.Write(content.records, bytes))
        return std::string();
    return std::string(bytes.begin(), bytes.end());
}

} // namespace clipboard
