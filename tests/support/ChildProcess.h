// Runs a program as a real child process for tests: an argument vector (no
// shell), standard input from a string, standard output and error captured.
#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <vector>

#include "support/TempDir.h"

extern char** environ;

namespace nuv::test {

struct TChildResult {
  int exitCode = -1;  // 128 + signal when the child was killed
  std::string out;
  std::string err;
};

// argv[0] is searched in PATH when it has no "/".
inline TChildResult RunChild(const std::vector<std::string>& argv, const std::string& input = std::string()) {
  TTempDir dir;
  const std::string in = dir.Write("stdin", input);
  const std::string out = dir.File("stdout"), err = dir.File("stderr");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, in.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  std::vector<std::string> copy = argv;
  std::vector<char*> args;
  for (std::string& a : copy) args.push_back(a.data());
  args.push_back(nullptr);
  TChildResult result;
  pid_t pid = 0;
  const int rc = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) return result;
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  result.out = dir.Read("stdout");
  result.err = dir.Read("stderr");
  return result;
}

// The exit code of a program; its standard output and error go to `logPath`
// when one is given, so a failing test can show them.
inline int RunProcess(const std::vector<std::string>& argv, const std::string& logPath = std::string()) {
  const TChildResult r = RunChild(argv);
  if (!logPath.empty()) WriteFileAtomic(logPath, r.out + r.err);
  return r.exitCode;
}

// Whether a program can be found in PATH.
inline bool HaveProgram(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::string dirs = path ? path : "";
  std::size_t start = 0;
  while (start <= dirs.size()) {
    std::size_t end = dirs.find(':', start);
    if (end == std::string::npos) end = dirs.size();
    const std::string candidate = dirs.substr(start, end - start) + "/" + name;
    if (::access(candidate.c_str(), X_OK) == 0) return true;
    start = end + 1;
  }
  return false;
}

}  // namespace nuv::test
