// Every test process works in a temporary directory of its own, so the log
// "stdout.txt" and any drawing files never touch the source tree.
#pragma once

#include <string>

namespace testsupport {

// Changes into LUMEN7_TEST_WORKDIR when set (child processes of a test use the
// parent's directory), otherwise into a fresh temporary directory. Returns it.
std::string EnterTestWorkDir();

// The directory of the shipped test fixtures (small .dat files).
std::string FixturePath(const std::string& name);

} // namespace testsupport
