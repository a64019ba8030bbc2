// Starts an external tool or the external editor from an argument vector
// and waits for it in an event loop that sleeps: the window keeps answering,
// and the program uses no processor time while it waits.
#pragma once

#include <sys/types.h>

#include <QObject>
#include <memory>
#include <string>
#include <vector>

class QEventLoop;
class QSocketNotifier;
class QTimer;

namespace nuv {

class TToolProcess : public QObject {
  Q_OBJECT

 public:
  explicit TToolProcess(QObject* parent = nullptr);
  // A program still running is left running (it may be the user's editor
  // with unsaved work) and reaped when it ends. Not to be deleted while its
  // Wait runs: Abandon, then deleteLater.
  ~TToolProcess() override;

  // Starts argv (native strings; argv[0] searched in PATH when it has no
  // "/"), standard input from /dev/null. False, with the system's reason in
  // `error`, when it cannot be started.
  bool Start(const std::vector<std::string>& argv, std::string& error);
  // Runs a nested event loop until the program ends or Abandon is called;
  // true when it ended.
  bool Wait();
  // Ends a wait without ending the program (the window closes, another
  // document opens).
  void Abandon();
  bool Running() const { return m_pid > 0; }
  // The exit code once ended; 128 + the signal when it was killed.
  int ExitCode() const { return m_exitCode; }
  pid_t Pid() const { return m_pid; }

 signals:
  void Finished();

 private:
  void CheckEnded();
  void StopWatching();

  pid_t m_pid = 0;
  int m_pidFd = -1;
  int m_exitCode = -1;
  std::unique_ptr<QSocketNotifier> m_notifier;
  std::unique_ptr<QTimer> m_poll;  // only where the kernel has no process descriptors
  QEventLoop* m_loop = nullptr;
};

}  // namespace nuv
