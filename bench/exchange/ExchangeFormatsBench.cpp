// Exports the 10,000-page, 50 MB document to OPML, Markdown and HTML and
// reads OPML and Markdown back, beside `cp` copying each output and `cmark`
// rendering the exported Markdown to HTML in the same run.
// An export is a durable write: the file is synced before it replaces the old
// one. So the peer is the same durable copy, `cp` followed by coreutils
// `sync FILE` (an fsync of the copy), not a copy left in the page cache.
// Targets: each export within 3 times that copy of its output; the HTML
// export within 2 times `cmark`. The HTML export with Markdown bodies runs the
// CommonMark renderer on every body, so it is judged against `cmark` only.
// --smoke: a small document; checks the round trips and the HTML's sections
// against the tree, and runs cmark once; judges no timing.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <unistd.h>
#include <filesystem>
#include <string>

#include "base/FileIo.h"
#include "exchange/ExchangeDocument.h"
#include "outline/OutlineTree.h"
#include "support/BenchDocument.h"
#include "support/BenchVerdict.h"

using namespace nuv;
using bench::Best;
using bench::TStopwatch;

namespace {

std::string TreeText(const TOutlineTree& tree) {
  std::string out;
  for (const TTreeNode* n = tree.GetFirstNode(); n; n = n->GetNext())
    out += std::to_string(n->Level()) + "|" + n->Text() + "|" + (n->Data() ? n->Data()->Body() : std::string()) + "\n";
  return out;
}

std::size_t Count(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (std::size_t i = text.find(what); i != std::string::npos; i = text.find(what, i + 1)) ++n;
  return n;
}

void Line(const char* what, double seconds, const char* peerName, double peer, double target) {
  const double ratio = seconds / peer;
  std::printf("%-30s %8.3f s   %-7s %7.3f s   ratio %5.2f   target %.0fx   %s\n", what, seconds, peerName, peer, ratio,
              target, ratio <= target ? "met" : "NOT MET");
  char limit[48];
  std::snprintf(limit, sizeof limit, "at most %.0fx the peer's time", target);
  nuv::bench::Judge("bench_exchange_formats", std::string(what) + " (peer: " + peerName + ")", nuv::bench::Time(seconds),
                    nuv::bench::Time(peer), nuv::bench::Ratio(peer / seconds), limit, ratio <= target, false);
}

}  // namespace

int main(int argc, char** argv) {
  const bool smoke = argc > 1 && std::strcmp(argv[1], "--smoke") == 0;
  const std::string dir = (std::filesystem::temp_directory_path() / ("nuv-bench-exchange-" + std::to_string(::getpid()))).string();
  std::filesystem::create_directories(dir);
  const std::string opml = dir + "/doc.opml", md = dir + "/doc.md", html = dir + "/doc.html", mdHtml = dir + "/doc-md.html",
                    copy = dir + "/copy", cmarkOut = dir + "/cmark.html";

  TOutlineTree tree;
  if (smoke)
    bench::BuildLargeDocument(tree, 10, 4, 2000);
  else
    bench::BuildLargeDocument(tree);
  const int runs = smoke ? 1 : 3;
  auto timeExport = [&](const std::string& path, TExchangeFormat format, bool markdownBodies) {
    return Best(runs, [&] {
      const TStopwatch w;
      if (!WriteExchangeDocument(path, format, tree, markdownBodies).ok) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        std::exit(1);
      }
      return w.Seconds();
    });
  };
  const double writeOpml = timeExport(opml, TExchangeFormat::Opml, false);
  const double writeMd = timeExport(md, TExchangeFormat::Markdown, false);
  const double writeHtml = timeExport(html, TExchangeFormat::Html, false);
  const double writeMdHtml = timeExport(mdHtml, TExchangeFormat::Html, true);
  auto copyTime = [&](const std::string& from) {
    return Best(runs, [&] { return bench::TimeCommand("cp '" + from + "' '" + copy + "' && sync '" + copy + "'"); });
  };
  const double cmark = Best(runs, [&] { return bench::TimeCommand("cmark '" + md + "' > '" + cmarkOut + "'"); });

  TOutlineTree opmlBack, mdBack;
  const double readOpml = Best(runs, [&] {
    opmlBack.Clear();
    const TStopwatch w;
    ReadExchangeDocument(opml, TExchangeFormat::Opml, TExchangeReadOptions{}, opmlBack);
    return w.Seconds();
  });
  const double readMd = Best(runs, [&] {
    mdBack.Clear();
    const TStopwatch w;
    ReadExchangeDocument(md, TExchangeFormat::Markdown, TExchangeReadOptions{}, mdBack);
    return w.Seconds();
  });

  // The results, checked at every size.
  const std::string original = TreeText(tree);
  std::string page;
  ReadWholeFile(html, page);
  const bool ok = TreeText(opmlBack) == original && TreeText(mdBack) == original &&
                  Count(page, "<section class=\"page\"") == static_cast<std::size_t>(tree.Count()) &&
                  Count(page, "<li><a href=\"#p") == static_cast<std::size_t>(tree.Count()) &&
                  std::filesystem::file_size(cmarkOut) > 0;
  std::printf("document: %d pages; OPML %.1f MB, Markdown %.1f MB, HTML %.1f MB, HTML with Markdown bodies %.1f MB\n",
              tree.Count(), std::filesystem::file_size(opml) / 1e6, std::filesystem::file_size(md) / 1e6,
              std::filesystem::file_size(html) / 1e6, std::filesystem::file_size(mdHtml) / 1e6);
  if (!ok) {
    std::fprintf(stderr, "MISMATCH: a round trip or the HTML sections differ from the document\n");
    std::filesystem::remove_all(dir);
    return 1;
  }
  if (smoke) {
    std::printf("smoke: round trips and HTML sections match\n");
    std::filesystem::remove_all(dir);
    return 0;
  }
  std::printf("peer: cp of each output followed by `sync FILE`, the same durable write as the export\n");
  Line("export OPML (synced)", writeOpml, "cp+sync", copyTime(opml), 3);
  Line("export Markdown (synced)", writeMd, "cp+sync", copyTime(md), 3);
  Line("export HTML (synced)", writeHtml, "cp+sync", copyTime(html), 3);
  const double copyMdHtml = copyTime(mdHtml);
  std::printf("%-30s %8.3f s   %-7s %7.3f s   ratio %5.2f   (renders every body: judged against cmark)\n",
              "export HTML, Markdown bodies", writeMdHtml, "cp+sync", copyMdHtml, writeMdHtml / copyMdHtml);
  Line("export HTML vs cmark", writeHtml, "cmark", cmark, 2);
  Line("export HTML, Markdown bodies", writeMdHtml, "cmark", cmark, 2);
  std::printf("%-30s %8.3f s\n%-30s %8.3f s\n%-30s %8.3f s\n", "read OPML", readOpml, "read Markdown", readMd,
              "cmark Markdown -> HTML", cmark);
  std::filesystem::remove_all(dir);
  return 0;
}
