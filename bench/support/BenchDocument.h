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

// `pages` pages under sqrt(pages) expanded root pages, each with a body of
// about 76 bytes: a million pages hold about 80 MB of text. Returns the text
// bytes (titles and bodies).
inline std::size_t BuildManyPageDocument(TOutlineTree& tree, int pages) {
  int roots = 1;
  while (roots * roots < pages) ++roots;
  const std::string body = "An outline of a long text keeps each part on a page of its own.\r\n0123456789\r\n";
  std::size_t text = 0;
  TTreeNode* root = nullptr;
  for (int i = 0; i < pages; ++i) {
    TTreeNode* page = i % roots == 0 ? (root = tree.AddChild(nullptr, "Part " + std::to_string(i / roots)))
                                     : tree.AddChild(root, "Page " + std::to_string(i));
    tree.EnsureData(page).SetBody(body);
    if (page == root) tree.Expand(page);
    text += page->Text().size() + body.size();
  }
  return text;
}

// True when both trees hold the same pages in the same order: level, title and body.
inline bool SamePages(const TOutlineTree& a, const TOutlineTree& b) {
  if (a.Count() != b.Count()) return false;
  TLevelWalk levelsA, levelsB;
  for (int i = 0; i < a.Count(); ++i) {
    const TTreeNode* x = a.GetNodeAt(i);
    const TTreeNode* y = b.GetNodeAt(i);
    const std::string& bodyX = x->Data() ? x->Data()->Body() : std::string();
    const std::string& bodyY = y->Data() ? y->Data()->Body() : std::string();
    if (levelsA.LevelOf(x) != levelsB.LevelOf(y) || x->Text() != y->Text() || bodyX != bodyY) return false;
  }
  return true;
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

// The shortest of `runs` timings that f returns, in seconds.
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
