// Wall-clock timing of the editor benchmarks that run beside Qt peers.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace nuv::bench {

inline double Seconds(const std::function<void()>& f) {
  const auto start = std::chrono::steady_clock::now();
  f();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Median of `runs` timings of `step`, each preceded by an untimed `prepare`.
inline double Median(int runs, const std::function<void()>& prepare, const std::function<void()>& step) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    prepare();
    times.push_back(Seconds(step));
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

// Best of `runs` timings, each preceded by an untimed `prepare`.
inline double Best(int runs, const std::function<void()>& prepare, const std::function<void()>& step) {
  double best = 1e9;
  for (int i = 0; i < runs; ++i) {
    prepare();
    best = std::min(best, Seconds(step));
  }
  return best;
}

}  // namespace nuv::bench
