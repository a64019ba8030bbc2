// Processes without a shell: posix_spawnp with the argument vector converted
// to UTF-8, exit codes by waitpid without blocking.
#include "macro/PosixProcesses.h"

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>

#include "base/Codec.h"

extern char** environ;

namespace nuv {

TPosixProcessStarter::~TPosixProcessStarter() {
  // Children still running are left to finish on their own.
  for (pid_t pid : m_running) m_released.push_back(pid);
  ReapReleased();
}

long TPosixProcessStarter::Start(const std::vector<std::string>& argv) {
  ReapReleased();
  if (argv.empty() || argv[0].empty()) return 0;
  std::vector<std::string> utf8;
  utf8.reserve(argv.size());
  for (const std::string& a : argv) utf8.push_back(Cp932ToUtf8(a));
  std::vector<char*> args;
  for (std::string& a : utf8) args.push_back(a.data());
  args.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawnp(&pid, args[0], nullptr, nullptr, args.data(), environ) != 0) return 0;
  m_running.push_back(pid);
  return static_cast<long>(pid);
}

bool TPosixProcessStarter::Poll(long handle, int& exitCode) {
  const pid_t pid = static_cast<pid_t>(handle);
  const auto it = std::find(m_running.begin(), m_running.end(), pid);
  if (it == m_running.end()) return true;
  int status = 0;
  const pid_t r = waitpid(pid, &status, WNOHANG);
  if (r == 0) return false;
  m_running.erase(it);
  if (r < 0) {
    exitCode = -1;
  } else if (WIFEXITED(status)) {
    exitCode = WEXITSTATUS(status);
  } else if (WIFSIGNALED(status)) {
    exitCode = 128 + WTERMSIG(status);
  }
  return true;
}

void TPosixProcessStarter::Release(long handle) {
  const auto it = std::find(m_running.begin(), m_running.end(), static_cast<pid_t>(handle));
  if (it == m_running.end()) return;
  m_released.push_back(*it);
  m_running.erase(it);
  ReapReleased();
}

void TPosixProcessStarter::ReapReleased() {
  std::erase_if(m_released, [](pid_t pid) {
    int status = 0;
    return waitpid(pid, &status, WNOHANG) != 0;
  });
}

int TXdgDesktopOpen::Open(const std::string& path, const std::string& params) {
  const bool isUrl = path.find("://") != std::string::npos || path.rfind("mailto:", 0) == 0;
  std::vector<std::string> argv;
  if (!isUrl) {
    const std::string native = Cp932ToUtf8(path);
    struct stat st {};
    if (stat(native.c_str(), &st) != 0) return kShellFileNotFound;
    if (S_ISREG(st.st_mode) && access(native.c_str(), X_OK) == 0) {
      argv.push_back(path.find('/') == std::string::npos ? "./" + path : path);
      for (auto& a : SplitCommandLine(params)) argv.push_back(std::move(a));
    }
  }
  if (argv.empty()) argv = {"xdg-open", path};
  const long handle = m_processes.Start(argv);
  if (handle == 0) return kShellNoAssociation;
  m_processes.Release(handle);
  return kShellOk;
}

}  // namespace nuv
