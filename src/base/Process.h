// Starting programs with an argument vector (never through a shell).
#pragma once

#include <string>
#include <vector>

namespace nuv {

// Runs a program found on PATH and waits for it; its exit code, or -1 when it
// could not be started or did not end within timeoutMs (it is then killed).
// Standard input is closed and the output goes where ours goes unless `quiet`.
int RunProgram(const std::vector<std::string>& argv, int timeoutMs = 10000, bool quiet = true);

}  // namespace nuv
