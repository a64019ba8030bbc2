// Runs a program's registered Google Benchmark functions (each only briefly
// in smoke mode) and hands back every run's real time per iteration, so the
// program can judge its targets after the usual console table.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace nuv::bench {

class TTimesReporter : public benchmark::ConsoleReporter {
 public:
  // No colour codes, so the "judge |" lines printed after the table start their lines.
  TTimesReporter() : ConsoleReporter(OO_Tabular) {}
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Iteration && !run.error_occurred) {
        Seconds[run.benchmark_name()] = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> Seconds;
};

// Seconds per iteration by benchmark name ("BM_Load/text10MB_wrap80").
inline std::map<std::string, double> RunBenchmarks(int argc, char** argv, bool smoke) {
  std::vector<char*> args(argv, argv + argc);
  std::string brief = "--benchmark_min_time=0.001";
  if (smoke) args.push_back(brief.data());
  int count = static_cast<int>(args.size());
  args.push_back(nullptr);
  benchmark::Initialize(&count, args.data());
  TTimesReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return reporter.Seconds;
}

}  // namespace nuv::bench
