// Whole-file reading for drawing files, with failures reported as a reason
// text, never by throwing.
#pragma once

#include <string>
#include <vector>

namespace fileio {

// Reads the complete regular file at path into bytes. Pipes and devices are
// refused without waiting for a writer. On failure returns false with the
// reason in error and leaves bytes empty.
bool ReadWholeFile(const char* path, std::vector<unsigned char>& bytes, std::string& error);

// The C library's text for an errno value, in English whatever the locale.
const char* EnglishErrorText(int error);

// "what: text of error", the form of every reason these functions give.
std::string ErrnoReason(const char* what, int error);

} // namespace fileio
