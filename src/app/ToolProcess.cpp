// Tool processes: posix_spawnp with an argument vector (never a shell), and a
// process descriptor whose readiness wakes the event loop when the program
// ends, so the wait neither spins nor polls.
#include "app/ToolProcess.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QEventLoop>
#include <QSocketNotifier>
#include <QTimer>
#include <cerrno>
#include <cstring>

extern char** environ;

namespace nuv {

namespace {

// Programs left running by a closed wait; reaped whenever a tool starts or ends.
std::vector<pid_t>& Abandoned() {
  static std::vector<pid_t> pids;
  return pids;
}

void ReapAbandoned() {
  std::erase_if(Abandoned(), [](pid_t pid) { return ::waitpid(pid, nullptr, WNOHANG) != 0; });
}

int ExitCodeOf(int status) { return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status); }

}  // namespace

TToolProcess::TToolProcess(QObject* parent) : QObject(parent) {}

TToolProcess::~TToolProcess() {
  if (m_loop) m_loop->quit();
  if (m_pid > 0) Abandoned().push_back(m_pid);
  StopWatching();
  ReapAbandoned();
}

bool TToolProcess::Start(const std::vector<std::string>& argv, std::string& error) {
  ReapAbandoned();
  if (m_pid > 0 || argv.empty() || argv[0].empty()) {
    error = std::strerror(argv.empty() || argv[0].empty() ? ENOENT : EBUSY);
    return false;
  }
  std::vector<std::string> copy = argv;
  std::vector<char*> args;
  for (std::string& a : copy) args.push_back(a.data());
  args.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  pid_t pid = 0;
  const int rc = ::posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) {
    error = std::strerror(rc);
    return false;
  }
  m_pid = pid;
  m_exitCode = -1;
  m_pidFd = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
  if (m_pidFd >= 0) {
    m_notifier = std::make_unique<QSocketNotifier>(m_pidFd, QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &TToolProcess::CheckEnded);
  } else {
    m_poll = std::make_unique<QTimer>();
    connect(m_poll.get(), &QTimer::timeout, this, &TToolProcess::CheckEnded);
    m_poll->start(100);
  }
  return true;
}

void TToolProcess::CheckEnded() {
  if (m_pid <= 0) return;
  int status = 0;
  const pid_t done = ::waitpid(m_pid, &status, WNOHANG);
  if (done == 0 || (done < 0 && errno == EINTR)) return;
  m_exitCode = done == m_pid ? ExitCodeOf(status) : -1;
  m_pid = 0;
  StopWatching();
  ReapAbandoned();
  if (m_loop) m_loop->quit();
  emit Finished();
}

void TToolProcess::StopWatching() {
  m_notifier.reset();
  m_poll.reset();
  if (m_pidFd >= 0) ::close(m_pidFd);
  m_pidFd = -1;
}

bool TToolProcess::Wait() {
  if (m_pid <= 0) return m_exitCode != -1;
  CheckEnded();
  if (m_pid <= 0) return true;
  QEventLoop loop;
  m_loop = &loop;
  loop.exec();
  m_loop = nullptr;
  return m_pid <= 0;
}

void TToolProcess::Abandon() {
  if (m_loop) m_loop->quit();
}

}  // namespace nuv
