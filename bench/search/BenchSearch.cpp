// Find-all and replace-all over the generated 10,000-page, 50 MB document,
// beside GNU grep and sed on its hierarchical-text export in the same run.
//
// Targets: find-all within 2 times `LC_ALL=C grep -c` for plain and class
// patterns and within 3 times for fuzzy; replace-all across the document
// faster than sed on the export. Each find row checks the pages found against
// a count made independently (a plain byte search of titles and bodies, or
// grep's own count of matching lines where each page holds at most one). The
// replace-all row checks the document it leaves, written out again, against
// sed's output byte for byte, and the replace in the bodies' bytes against the
// replace through the editor's rows, page by page, for several kinds of
// pattern (in --smoke on the small document).
//
// usage: bench_search [--smoke] [folder=/tmp]
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "base/Codec.h"
#include "base/FileIo.h"
#include "base/Sjis.h"
#include "outline/NodeData.h"
#include "outline/TextFormat.h"
#include "search/BodyReplace.h"
#include "search/EditorMatcher.h"
#include "search/FindRange.h"
#include "search/PageFind.h"
#include "support/BenchDocument.h"
#include "support/BenchVerdict.h"

namespace {

using namespace nuv;

std::string Sj(std::string_view utf8) { return SjisFromLiteral(utf8); }

// Pages whose title or body holds the bytes at a character boundary.
long CountPagesHolding(const TOutlineTree& tree, const std::string& needle) {
  long n = 0;
  for (const TTreeNode* p = tree.GetFirstNode(); p; p = p->GetNext())
    if (FindAtBoundary(p->Text(), needle) != std::string::npos ||
        (p->Data() && FindAtBoundary(p->Data()->Body(), needle) != std::string::npos))
      ++n;
  return n;
}

long ReadCount(const std::string& path) {
  std::string out;
  ReadWholeFile(path, out);
  return std::strtol(out.c_str(), nullptr, 10);
}

// Replace-all over every body of the tree in the bodies' bytes, as the
// window does it in pages not shown; returns the number of replacements.
long ReplaceInBodies(TOutlineTree& tree, TEditorMatcher& matcher, const std::string& replacement) {
  TBodyReplacer replacer(matcher.Editor(), replacement);
  long count = 0;
  for (TTreeNode* p = tree.GetFirstNode(); p; p = p->GetNext()) {
    if (!p->Data()) continue;
    count += replacer.Replace(p->Data()->Body(), true);
    if (replacer.Changed()) p->Data()->MutableBody().swap(replacer.Body());
  }
  return count;
}

// The same through the editor's rows, page by page.
long ReplaceInRows(TOutlineTree& tree, TEditorMatcher& matcher, const std::string& replacement) {
  long count = 0;
  for (TTreeNode* p = tree.GetFirstNode(); p; p = p->GetNext()) {
    if (!p->Data()) continue;
    TBodyReplace r = ReplaceAllInEditor(matcher.Editor(), p->Data()->Body(), replacement, true);
    count += r.count;
    if (r.changed) p->Data()->SetBody(std::move(r.body));
  }
  return count;
}

// The replacements of both paths over every page, or -1 when the two differ
// in a page's count or bytes.
long PathsAgree(const TOutlineTree& tree, const std::string& pattern, TExSearchOptions options,
                const std::string& replacement) {
  TEditorMatcher bytes, rows;
  bytes.SetQuery(pattern, options);
  rows.SetQuery(pattern, options);
  long count = 0;
  for (const TTreeNode* p = tree.GetFirstNode(); p; p = p->GetNext()) {
    const std::string& body = p->Data()->Body();
    const TBodyReplace a = ReplaceAllInBody(bytes.Editor(), body, replacement, true);
    const TBodyReplace b = ReplaceAllInEditor(rows.Editor(), body, replacement, true);
    if (a.count != b.count || a.changed != b.changed || a.body != b.body) return -1;
    count += a.count;
  }
  return count;
}

}  // namespace

int main(int argc, char** argv) {
  bench::TVerdict verdict("bench_search", argc, argv);
  const bool smoke = verdict.Smoke();
  const std::string folder = argc > 1 ? argv[1] : "/tmp";
  const int roots = smoke ? 20 : 1000;
  TOutlineTree tree;
  bench::BuildLargeDocument(tree, roots);
  const std::string exported = folder + "/nuv-bench-search.txt";
  if (WriteText(exported, tree, false, nullptr, TFormatOptions()) != TTextWriteResult::Written) {
    std::fprintf(stderr, "cannot write %s\n", exported.c_str());
    return 1;
  }
  const std::string countPath = folder + "/nuv-bench-search.count";
  const std::string patternPath = folder + "/nuv-bench-search.pattern";
  const std::string sedPath = folder + "/nuv-bench-search.sed";
  const std::string replacedPath = folder + "/nuv-bench-search.replaced";
  const int rounds = smoke ? 1 : 3;
  auto best = [&](auto&& run) {
    return bench::Best(rounds, [&] {
      const bench::TStopwatch watch;
      run();
      return watch.Seconds();
    });
  };
  std::printf("%zu pages, %s\n", static_cast<std::size_t>(tree.Count()), exported.c_str());

  const std::vector<TTreeNode*> pages = AllPages(tree);
  // A title that occurs once, so every other page is searched to its end; a
  // class that matches a tenth of the titles; a fuzzy word that is nowhere,
  // with grep given the same variants spelt out.
  const std::string last = std::to_string(roots - 1) + ".8";
  const std::string decade = (smoke ? "1" : "9") + std::string("[0-9]\\.8");
  const struct {
    const char* name;
    std::string pattern;
    TExSearchOptions options;
    std::string grepPattern;  // an extended pattern in Shift JIS bytes
    long expected;            // -1: grep's line count is the page count
    double times;             // the target: at most this many times grep's time
  } finds[] = {
      {"find-all plain", last, SearchOption(soMatchCase), last, CountPagesHolding(tree, last), 2},
      {"find-all class", decade, SearchOption(soRegexp), decade, -1, 2},
      {"find-all fuzzy", Sj("ぷろぐらむ"), SearchOption(soRegexp) | SearchOption(soFuzzy),
       Sj("(ぷ|プ|ﾌﾟ)(ろ|ロ|ﾛ)(ぐ|グ|ｸﾞ)(ら|ラ|ﾗ)(む|ム|ﾑ)"), 0, 3},
  };
  for (const auto& f : finds) {
    TEditorMatcher matcher;
    matcher.SetQuery(f.pattern, f.options);
    TFindAllResult result;
    const double ours = best([&] { result = FindAll(pages, matcher, std::string()); });
    WriteFileAtomic(patternPath, f.grepPattern + "\n");
    const double peer = best([&] {
      bench::TimeCommand("LC_ALL=C grep -cE -f " + patternPath + " " + exported + " > " + countPath + " || true");
    });
    const long expected = f.expected >= 0 ? f.expected : ReadCount(countPath);
    verdict.Check(static_cast<long>(result.pages.size()) == expected,
                  std::string(f.name) + ": " + std::to_string(result.pages.size()) + " pages, independently " +
                      std::to_string(expected));
    verdict.Target(std::string(f.name) + " vs grep -c", bench::Time(ours), bench::Time(peer), bench::Ratio(peer / ours),
                   "within " + std::to_string(static_cast<int>(f.times)) + "x grep", ours <= f.times * peer);
  }

  // Replace in the bodies' bytes against the replace through the editor's
  // rows, page by page: plain with and without case, whole words, a regular
  // expression with anchors, one across a line break, fuzzy kana.
  if (smoke) {
    const struct {
      std::string pattern;
      TExSearchOptions options;
      std::string replacement;
    } kinds[] = {
        {"outline", SearchOption(soMatchCase), "OUTLINE"},
        {"AN OUTLINE", 0, "x\\r\\ny"},
        {"it", SearchOption(soMatchCase) | SearchOption(soWholeWord), ""},
        {"^An|grows\\.$|[0-9]+", SearchOption(soRegexp), "#"},
        {"grows\\.\\r\\n" + Sj("表示"), SearchOption(soRegexp), "|"},
        {Sj("あうとらいん"), SearchOption(soRegexp) | SearchOption(soFuzzy), Sj("概要")},
    };
    for (const auto& k : kinds) {
      const long count = PathsAgree(tree, k.pattern, k.options, k.replacement);
      verdict.Check(count > 0, "replace in bytes = replace in rows, " + std::to_string(count) + " hits of " +
                                   Cp932ToUtf8(k.pattern));
    }
  }

  // Replace-all of a frequent word in every body, beside sed on the export.
  const std::string word = "outline", upper = "OUTLINE";
  const long expectedHits = [&] {
    long n = 0;
    for (const TTreeNode* p = tree.GetFirstNode(); p; p = p->GetNext())
      for (std::size_t at = 0; p->Data() && (at = FindAtBoundary(p->Data()->Body(), word, at)) != std::string::npos;
           at += word.size())
        ++n;
    return n;
  }();
  TEditorMatcher matcher;
  matcher.SetQuery(word, SearchOption(soMatchCase));
  using TReplaceEverywhere = long (*)(TOutlineTree&, TEditorMatcher&, const std::string&);
  auto timeReplace = [&](TReplaceEverywhere replace, long& count, std::unique_ptr<TOutlineTree>& result) {
    return bench::Best(rounds, [&] {
      result = std::make_unique<TOutlineTree>();
      bench::BuildLargeDocument(*result, roots);
      const bench::TStopwatch watch;
      count = replace(*result, matcher, upper);
      return watch.Seconds();
    });
  };
  long bytesCount = 0, rowsCount = 0;
  std::unique_ptr<TOutlineTree> byBytes, byRows;
  const double ours = timeReplace(&ReplaceInBodies, bytesCount, byBytes);
  const double rows = timeReplace(&ReplaceInRows, rowsCount, byRows);
  const double peer = best([&] {
    bench::TimeCommand("LC_ALL=C sed 's/" + word + "/" + upper + "/g' " + exported + " > " + sedPath);
  });
  verdict.Check(bytesCount == expectedHits && rowsCount == expectedHits,
                "replacements " + std::to_string(bytesCount) + " and " + std::to_string(rowsCount) +
                    " through the rows, independently " + std::to_string(expectedHits));
  std::string sedOut, ourOut;
  const bool written = WriteText(replacedPath, *byBytes, false, nullptr, TFormatOptions()) == TTextWriteResult::Written;
  ReadWholeFile(sedPath, sedOut);
  ReadWholeFile(replacedPath, ourOut);
  verdict.Check(written && !sedOut.empty() && ourOut == sedOut, "the replaced document written out = sed's output");
  bool same = true;
  for (const TTreeNode *a = byBytes->GetFirstNode(), *b = byRows->GetFirstNode(); a && b; a = a->GetNext(), b = b->GetNext())
    same = same && a->Data()->Body() == b->Data()->Body();
  verdict.Check(same, "every body replaced in bytes = replaced through the rows");
  std::printf("replace-all through the editor's rows: %s\n", bench::Time(rows).c_str());
  verdict.Target("replace-all \"" + word + "\" vs sed", bench::Time(ours), bench::Time(peer), bench::Ratio(peer / ours),
                 "faster than sed", ours < peer);
  for (const std::string& f : {exported, countPath, patternPath, sedPath, replacedPath}) std::remove(f.c_str());
  return verdict.Finish();
}
