// What every benchmark program shares: the --smoke switch (a small input in
// seconds, results checked, no timing judged), result checks that fail the
// run, and each target printed as met or NOT MET on a "judge |" line that
// scripts/bench.sh collects into one table.
#pragma once

#include <cstdio>
#include <cstring>
#include <string>

namespace nuv::bench {

// One "judge |" line: the figure, nuv's value, the peer's (or "-"), the ratio
// (or "-"), the target in words, and whether nuv meets it; in smoke mode
// printed but not judged.
inline void Judge(const std::string& program, const std::string& figure, const std::string& ours,
                  const std::string& peer, const std::string& ratio, const std::string& target, bool met, bool smoke) {
  std::printf("judge | %s | %s | %s | %s | %s | %s | %s\n", program.c_str(), figure.c_str(), ours.c_str(), peer.c_str(),
              ratio.c_str(), target.c_str(), smoke ? "(smoke: not judged)" : (met ? "met" : "NOT MET"));
}

class TVerdict {
 public:
  // Takes --smoke out of the arguments, so the rest parse as before.
  TVerdict(const char* program, int& argc, char** argv) : m_program(program) {
    int out = 1;
    for (int i = 1; i < argc; ++i) {
      if (std::strcmp(argv[i], "--smoke") == 0) {
        m_smoke = true;
      } else {
        argv[out++] = argv[i];
      }
    }
    argc = out;
    argv[argc] = nullptr;
  }

  bool Smoke() const { return m_smoke; }

  // A result compared with the peer's or with an independently computed
  // value: a mismatch fails the run.
  void Check(bool ok, const std::string& what) {
    std::printf("check %-60s %s\n", what.c_str(), ok ? "ok" : "MISMATCH");
    if (!ok) m_failed = true;
  }

  // A timing target, as Judge prints it.
  void Target(const std::string& figure, const std::string& ours, const std::string& peer, const std::string& ratio,
              const std::string& target, bool met) {
    Judge(m_program, figure, ours, peer, ratio, target, met, m_smoke);
  }

  // The exit code: 1 when a check failed. Timing never fails the run.
  int Finish() const {
    if (m_failed) std::printf("%s: a result check failed\n", m_program.c_str());
    return m_failed ? 1 : 0;
  }

 private:
  std::string m_program;
  bool m_smoke = false;
  bool m_failed = false;
};

// Seconds in a readable unit: "1.234 s", "5.678 ms", "9.10 us".
inline std::string Time(double seconds) {
  char b[32];
  if (seconds >= 0.1) {
    std::snprintf(b, sizeof b, "%.3f s", seconds);
  } else if (seconds >= 1e-4) {
    std::snprintf(b, sizeof b, "%.3f ms", seconds * 1e3);
  } else {
    std::snprintf(b, sizeof b, "%.2f us", seconds * 1e6);
  }
  return b;
}

inline std::string Ratio(double x) {
  char b[32];
  std::snprintf(b, sizeof b, "%.2fx", x);
  return b;
}

}  // namespace nuv::bench
