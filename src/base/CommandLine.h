// Splitting a command line into an argument vector, never through a shell.
#pragma once

#include <string>
#include <vector>

namespace nuv {

// Splits a command line into arguments: blanks separate, double quotes group
// (and are removed), "" inside quotes is one quote. Nothing is expanded.
std::vector<std::string> SplitCommandLine(const std::string& commandLine);

}  // namespace nuv
