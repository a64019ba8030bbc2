// Process start and the desktop's open on Linux: posix_spawn with an argument
// vector (never a shell) and xdg-open for documents and URLs.
#pragma once

#include <sys/types.h>

#include <map>
#include <vector>

#include "macro/MacroPlatform.h"

namespace nuv {

class TPosixProcessStarter : public IProcessStarter {
 public:
  ~TPosixProcessStarter() override;
  long Start(const std::vector<std::string>& argv) override;
  bool Poll(long handle, int& exitCode) override;
  void Release(long handle) override;

 private:
  void ReapReleased();
  std::vector<pid_t> m_running;   // started and still awaited
  std::vector<pid_t> m_released;  // nobody waits; reaped when they end
};

// Opens a path: an executable file is started with the parameters; any other
// path or URL goes to xdg-open. A local path that does not exist gives
// kShellFileNotFound, a failed start kShellNoAssociation.
class TXdgDesktopOpen : public IDesktopOpen {
 public:
  explicit TXdgDesktopOpen(IProcessStarter& processes) : m_processes(processes) {}
  int Open(const std::string& path, const std::string& params) override;

 private:
  IProcessStarter& m_processes;
};

}  // namespace nuv
