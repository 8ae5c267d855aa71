// Class-wide "pictures loaded" flags hold for the whole process, so a test
// that needs them clear runs itself again in a new process of its binary.
#pragma once

#include <string>
#include <vector>

namespace fresh_process {
// Runs the current test alone in a new process, with `extraEnv` added to the
// environment; returns its exit status (-1 when it could not run).
int RunThisTestAgain(const std::vector<std::string>& extraEnv);
}  // namespace fresh_process
