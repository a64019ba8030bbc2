// What the macro language needs of the program around it: the message loop,
// dialogs, starting processes and the desktop's open. The window implements
// these over Qt; nuvtool and the tests have their own.
#pragma once

#include <string>
#include <vector>

#include "base/CommandLine.h"

namespace nuv {

class IMacroMessageLoop {
 public:
  virtual ~IMacroMessageLoop() = default;
  // Handles pending window messages (a pause or abort may take effect).
  virtual void ProcessMessages() = 0;
  // Waits up to `ms` milliseconds; may return early when events arrive.
  virtual void Wait(int ms) = 0;
};

// MessageBox flags and results: the values macros pass and compare, kept as
// our own numbers (they are those of the Windows message box).
constexpr int kMbOk = 0x0000;
constexpr int kMbOkCancel = 0x0001;
constexpr int kMbAbortRetryIgnore = 0x0002;
constexpr int kMbYesNoCancel = 0x0003;
constexpr int kMbYesNo = 0x0004;
constexpr int kMbRetryCancel = 0x0005;
constexpr int kMbButtonMask = 0x000F;
constexpr int kMbIconHand = 0x0010;
constexpr int kMbIconQuestion = 0x0020;
constexpr int kMbIconExclamation = 0x0030;
constexpr int kMbIconAsterisk = 0x0040;
constexpr int kMbIconMask = 0x00F0;
constexpr int kMbDefButton2 = 0x0100;
constexpr int kMbDefButton3 = 0x0200;
constexpr int kMbDefButtonMask = 0x0F00;

constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;
constexpr int kIdAbort = 3;
constexpr int kIdRetry = 4;
constexpr int kIdIgnore = 5;
constexpr int kIdYes = 6;
constexpr int kIdNo = 7;

// The results of the buttons a flag set shows, in order (OK alone for an unknown set).
std::vector<int> MessageBoxButtons(int flags);
// The result of the default button of a flag set.
int MessageBoxDefaultResult(int flags);

enum class TInputBoxResult {
  Ok,
  Cancelled,
  Unavailable,  // no one can answer (a headless run at the end of its input)
};

class IMacroDialogs {
 public:
  virtual ~IMacroDialogs() = default;
  // A modal input box; `value` holds the default and receives the answer.
  virtual TInputBoxResult InputBox(const std::string& caption, const std::string& prompt, std::string& value) = 0;
  // A modal message box with the buttons and icon of `flags`; returns the pressed button's result.
  virtual int MessageBox(const std::string& text, const std::string& caption, int flags) = 0;
};

// Starts processes from an argument vector (never through a shell).
class IProcessStarter {
 public:
  virtual ~IProcessStarter() = default;
  // Starts argv[0] (searched in PATH when it has no "/"); Shift JIS arguments.
  // Returns a handle above 0, or 0 when the process cannot be started.
  virtual long Start(const std::vector<std::string>& argv) = 0;
  // True when the process has ended; its exit code is then in exitCode.
  virtual bool Poll(long handle, int& exitCode) = 0;
  // The caller no longer waits; the process is reaped when it ends.
  virtual void Release(long handle) = 0;
};

// The desktop's open: a document or URL with its associated program.
class IDesktopOpen {
 public:
  virtual ~IDesktopOpen() = default;
  // Opens `path` with the parameters `params`; returns a code above 32 on
  // success, else one of kShell* below.
  virtual int Open(const std::string& path, const std::string& params) = 0;
};

constexpr int kShellOk = 42;
constexpr int kShellFileNotFound = 2;
constexpr int kShellNoAssociation = 31;

}  // namespace nuv
