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

// Logs why the load, save or export of path did not happen: a WARN naming a
// failure, an INFO line for a stop the user asked for. doing is, for example,
// "Loading graphics from".
void LogNotDone(const char* doing, const char* path, const std::string& reason);

} // namespace fileio
