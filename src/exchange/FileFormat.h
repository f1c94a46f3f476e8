// The file types lumen7 reads and writes, told apart by their extension, and
// the name a file chosen with a type filter is saved under.
#pragma once

#include <string>

namespace exchange {

enum FileFormat {
    FORMAT_UNKNOWN = 0,
    FORMAT_DAT,  // the program's own drawing file
    FORMAT_DXF,
    FORMAT_SVG,
    FORMAT_PDF,
    FORMAT_PNG,
};

// The format the extension of path names (case does not matter), or
// FORMAT_UNKNOWN.
FileFormat FormatOfPath(const std::string& path);

// The format a drawing file is opened as: DXF by its extension, everything
// else as the program's own file, as loading always did.
FileFormat FormatForOpening(const std::string& path);

// The extension of a format without the dot ("dxf"); empty for unknown.
const char* ExtensionOf(FileFormat format);

// True for the formats a drawing can be loaded from and saved to again.
bool IsDrawingFormat(FileFormat format);
// True for the pictures that export writes.
bool IsPictureFormat(FileFormat format);

// The path a file chosen with the type filter of format is written to: its
// own extension decides when it names a format the filter belongs with
// (drawings for a save, pictures for an export); otherwise the filter's
// extension is appended.
std::string PathForFilter(const std::string& path, FileFormat filterFormat);

} // namespace exchange
