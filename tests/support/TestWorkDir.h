// Every test process works in a temporary directory of its own, so the log
// "stdout.txt" and any drawing files never touch the source tree, and removes
// it when it ends.
#pragma once

#include <string>

namespace testsupport {

// Changes into LUMEN7_TEST_WORKDIR when set (child processes of a test use the
// parent's directory, which stays), otherwise into a fresh temporary
// directory that is removed when the process exits. Returns it.
std::string EnterTestWorkDir();

// Tells the clean-up how the tests went: the directory of a failed run is
// kept when LUMEN7_KEEP_FAILED_TEST_DIRS is set, to look at what was left.
void NoteTestResult(int result);

// A temporary directory of the test's own, outside the working directory,
// removed with everything in it when the process exits.
std::string MakeScratchDir(const char* prefix);

// The directory of the shipped test fixtures (small .dat files).
std::string FixturePath(const std::string& name);

} // namespace testsupport
