// A large generated document for the benchmarks: 10,000 pages holding about
// 50 MB of Japanese and English text, and a small stopwatch.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/Codec.h"
#include "outline/OutlineTree.h"

namespace nuv::bench {

inline void BuildLargeDocument(TOutlineTree& tree, int roots = 1000, int childrenPerRoot = 9,
                               std::size_t bodyBytes = 5000) {
  const std::string lines[] = {
      SjisFromLiteral("アウトラインプロセッサで長い文章を書くときは、まず見出しを並べます。"),
      SjisFromLiteral("日本語の禁則処理では「、」や「。」が行頭に来ないように折り返します。"),
      "An outline keeps the structure of a long text visible while it grows.",
      SjisFromLiteral("表示・ソース・予定表のように二バイト目が 0x5C の文字も含めます。"),
  };
  int n = 0;
  auto body = [&] {
    std::string text;
    text.reserve(bodyBytes + 100);
    while (text.size() < bodyBytes) {
      text += lines[static_cast<std::size_t>(n++) % 4];
      text += "\r\n";
    }
    return text;
  };
  for (int r = 0; r < roots; ++r) {
    TTreeNode* root = tree.AddChild(nullptr, SjisFromLiteral("章 ") + std::to_string(r));
    tree.EnsureData(root).SetBody(body());
    for (int c = 0; c < childrenPerRoot; ++c) {
      TTreeNode* child = tree.AddChild(root, SjisFromLiteral("節 ") + std::to_string(r) + "." + std::to_string(c));
      tree.EnsureData(child).SetBody(body());
      tree.SetImageIndex(child, c % 7);
    }
    tree.Expand(root);
  }
}

class TStopwatch {
 public:
  TStopwatch() : m_start(std::chrono::steady_clock::now()) {}
  double Seconds() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - m_start).count();
  }

 private:
  std::chrono::steady_clock::time_point m_start;
};

// The shortest of `runs` timings that f returns.
inline double Best(int runs, const auto& f) {
  double best = 1e9;
  for (int i = 0; i < runs; ++i) best = std::min(best, f());
  return best;
}

// Runs a shell command and returns its wall time in seconds.
inline double TimeCommand(const std::string& command) {
  const TStopwatch watch;
  if (std::system(command.c_str()) != 0) {
    std::fprintf(stderr, "failed: %s\n", command.c_str());
    std::exit(1);
  }
  return watch.Seconds();
}

}  // namespace nuv::bench
