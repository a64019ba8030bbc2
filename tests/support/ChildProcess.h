// Runs a program as a real child process and collects its exit code and output.
#pragma once

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

namespace nuv::test {

struct TProcessResult {
  int exitCode = -1;
  std::string out;  // standard output and, with stderrToo, standard error
};

// `command` is run by /bin/sh; tests build it from fixed parts and temporary paths.
inline TProcessResult RunCommand(const std::string& command, bool stderrToo = false) {
  TProcessResult result;
  FILE* pipe = ::popen((command + (stderrToo ? " 2>&1" : "")).c_str(), "r");
  if (!pipe) return result;
  std::array<char, 4096> buffer{};
  std::size_t n;
  while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) result.out.append(buffer.data(), n);
  const int status = ::pclose(pipe);
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

}  // namespace nuv::test
