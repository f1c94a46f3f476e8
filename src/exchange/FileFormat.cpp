// File types by extension, compared without regard to case.
#include "exchange/FileFormat.h"

#include <cctype>

namespace exchange {

namespace {

const struct {
    FileFormat format;
    const char* extension;
} kExtensions[] = {
    {FORMAT_DAT, "dat"}, {FORMAT_DXF, "dxf"}, {FORMAT_SVG, "svg"}, {FORMAT_PDF, "pdf"}, {FORMAT_PNG, "png"},
};

std::string LowerExtension(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    const std::size_t dot = path.rfind('.');
    // ".dxf" alone is a hidden file's name, not an extension.
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    if (dot == std::string::npos || dot <= nameStart)
        return std::string();
    std::string extension = path.substr(dot + 1);
    for (char& c : extension)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension;
}

bool SameGroup(FileFormat a, FileFormat b)
{
    return (IsDrawingFormat(a) && IsDrawingFormat(b)) || (IsPictureFormat(a) && IsPictureFormat(b));
}

} // namespace

FileFormat FormatOfPath(const std::string& path)
{
    const std::string extension = LowerExtension(path);
    for (const auto& entry : kExtensions) {
        if (extension == entry.extension)
            return entry.format;
    }
    return FORMAT_UNKNOWN;
}

FileFormat FormatForOpening(const std::string& path)
{
    return FormatOfPath(path) == FORMAT_DXF ? FORMAT_DXF : FORMAT_DAT;
}

const char* ExtensionOf(FileFormat format)
{
    for (const auto& entry : kExtensions) {
        if (entry.format == format)
            return entry.extension;
    }
    return "";
}

bool IsDrawingFormat(FileFormat format)
{
    return format == FORMAT_DAT || format == FORMAT_DXF;
}

bool IsPictureFormat(FileFormat format)
{
    return format == FORMAT_SVG || format == FORMAT_PDF || format == FORMAT_PNG;
}

std::string PathForFilter(const std::string& path, FileFormat filterFormat)
{
    const FileFormat own = FormatOfPath(path);
    if (path.empty() || filterFormat == FORMAT_UNKNOWN || (own != FORMAT_UNKNOWN && SameGroup(own, filterFormat)))
        return path;
    return path + "." + ExtensionOf(filterFormat);
}

} // namespace exchange
