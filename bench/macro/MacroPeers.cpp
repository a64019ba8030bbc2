// The ten-million-pass loop "x := x + i" in the macro interpreter beside the
// same loop in Lua 5.4 and Python 3, in one run. Prints seconds (best of
// three; the peers' times include their start-up) and ratios. Checks that
// the macro's x equals what Lua and Python print, taken to the macro's 32-bit
// integers. Target: the loop in at most 1.5 s.
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "macro/PoorPascal.h"
#include "support/BenchVerdict.h"

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

// What a command prints on its first line, as a number; -1 when it fails.
long long Output(const std::string& command) {
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return -1;
  long long value = -1;
  if (std::fscanf(pipe, "%lld", &value) != 1) value = -1;
  return pclose(pipe) == 0 ? value : -1;
}

}  // namespace

int main(int argc, char** argv) {
  nuv::bench::TVerdict verdict("bench_macro_peers", argc, argv);
  const long long passes = verdict.Smoke() ? 100000 : 10000000;
  const std::string n = std::to_string(passes);
  nuv::TPoorPascal pp;
  pp.SetSourceText("var i, x: integer; begin x := 0; for i := 1 to " + n + " do x := x + i end.");
  double macro = -1;
  for (int k = 0; k < 3; ++k) {
    const auto start = TClock::now();
    pp.Execute();
    const double s = Seconds(start);
    if (macro < 0 || s < macro) macro = s;
  }
  const std::string luaLoop = "local x = 0 for i = 1, " + n + " do x = x + i end";
  const std::string pythonLoop = "x = 0\nfor i in range(1, " + n + " + 1):\n    x = x + i\n";
  const double lua = TimeChild({"lua5.4", "-e", luaLoop});
  const double python = TimeChild({"python3", "-c", pythonLoop});
  // The macro's integers are 32 bits wide and wrap; the peers' are not.
  auto wrap32 = [](long long v) { return static_cast<std::int32_t>(static_cast<std::uint32_t>(v)); };
  const std::int32_t x = pp.GetIntVar("x");
  const long long luaX = Output("lua5.4 -e '" + luaLoop + " print(x)'");
  verdict.Check(luaX >= 0 && wrap32(luaX) == x, "x equals Lua's");
  const long long pythonX = Output("python3 -c '" + pythonLoop + "print(x)'");
  verdict.Check(pythonX >= 0 && wrap32(pythonX) == x, "x equals Python's");
  verdict.Check(wrap32(passes * (passes + 1) / 2) == x, "x equals n(n+1)/2");
  std::printf("%lld passes of x := x + i (best of 3)\n", passes);
  std::printf("%-16s %10s %12s\n", "", "seconds", "vs macro");
  std::printf("%-16s %10.3f %12s\n", "nuv macro", macro, "1.00");
  auto row = [&](const char* name, double s) {
    if (s < 0) std::printf("%-16s %10s %12s\n", name, "n/a", "n/a");
    else std::printf("%-16s %10.3f %12.2f\n", name, s, s / macro);
  };
  row("Lua 5.4", lua);
  row("Python 3", python);
  verdict.Target("macro loop of " + n + " passes", nuv::bench::Time(macro),
                 python > 0 ? "Python " + nuv::bench::Time(python) : "n/a",
                 python > 0 ? nuv::bench::Ratio(python / macro) : "-", "at most 1.5 s", macro <= 1.5);
  return verdict.Finish();
}
