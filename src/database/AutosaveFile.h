// The files of an autosave: a drawing file like any other, replaced as a
// whole, private to the user, and checked before it is offered back.
#pragma once

#include <string>
#include <vector>

namespace autosave {

// Replaces the file at path by bytes as a whole or not at all; a new file is
// readable and writable by the user alone. A file that could only be
// overwritten in place is refused: a kill in the middle would break it.
bool WriteFile(const std::string& path, const std::vector<unsigned char>& bytes, std::string& error);

// Reads the drawing file at path and checks every record, without building
// any object; false with the reason when it could not be loaded.
bool CheckDrawingFile(const std::string& path, std::string& error);

} // namespace autosave
