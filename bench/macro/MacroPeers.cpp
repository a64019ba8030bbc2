// The ten-million-pass loop "x := x + i" in the macro interpreter beside the
// same loop in Lua 5.4 and Python 3, in one run. Prints seconds (best of
// three; the peers' times include their start-up) and ratios.
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "macro/PoorPascal.h"

extern char** environ;

namespace {

using TClock = std::chrono::steady_clock;

double Seconds(TClock::time_point from) { return std::chrono::duration<double>(TClock::now() - from).count(); }

// Best of three runs of a child process; negative when it cannot be run.
double TimeChild(const std::vector<std::string>& argv) {
  double best = -1;
  for (int k = 0; k < 3; ++k) {
    std::vector<std::string> copy = argv;
    std::vector<char*> args;
    for (auto& a : copy) args.push_back(a.data());
    args.push_back(nullptr);
    const auto start = TClock::now();
    pid_t pid = 0;
    if (posix_spawnp(&pid, args[0], nullptr, nullptr, args.data(), environ) != 0) return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1;
    const double s = Seconds(start);
    if (best < 0 || s < best) best = s;
  }
  return best;
}

}  // namespace

int main() {
  nuv::TPoorPascal pp;
  pp.SetSourceText("var i, x: integer; begin x := 0; for i := 1 to 10000000 do x := x + i end.");
  double macro = -1;
  for (int k = 0; k < 3; ++k) {
    const auto start = TClock::now();
    pp.Execute();
    const double s = Seconds(start);
    if (macro < 0 || s < macro) macro = s;
  }
  const double lua = TimeChild({"lua5.4", "-e", "local x = 0 for i = 1, 10000000 do x = x + i end"});
  const double python = TimeChild({"python3", "-c", "x = 0\nfor i in range(1, 10000001):\n    x = x + i\n"});
  std::printf("10,000,000 passes of x := x + i (best of 3)\n");
  std::printf("%-16s %10s %12s\n", "", "seconds", "vs macro");
  std::printf("%-16s %10.3f %12s\n", "nuv macro", macro, "1.00");
  auto row = [&](const char* name, double s) {
    if (s < 0) std::printf("%-16s %10s %12s\n", name, "n/a", "n/a");
    else std::printf("%-16s %10.3f %12.2f\n", name, s, s / macro);
  };
  row("Lua 5.4", lua);
  row("Python 3", python);
  return 0;
}
