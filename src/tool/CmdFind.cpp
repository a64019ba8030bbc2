// nuvtool find and replace: the outline-wide search of the window on a
// document file, with the editor's own search.
#include <cstdio>

#include "base/Codec.h"
#include "base/Error.h"
#include "editor/EditorEx.h"
#include "outline/NodeData.h"
#include "outline/OutlineTree.h"
#include "search/BodyReplace.h"
#include "search/EditorMatcher.h"
#include "search/FindRange.h"
#include "search/PageFind.h"
#include "tool/NuvTool.h"

namespace nuv::tool {

namespace {

const std::vector<std::string> kSearchFlags = {"--regex", "--fuzzy", "--ignore-case", "--whole-word"};

// The editor's option set for the command-line flags: a plain search is
// case-sensitive unless asked otherwise; fuzzy matching is a regular expression.
bool SearchOptionsOf(const TArgs& args, TExSearchOptions& options) {
  const bool regex = args.Has("--regex") || args.Has("--fuzzy");
  if (regex && args.Has("--ignore-case")) {
    Fail("--ignore-case applies to plain search only");
    return false;
  }
  options = 0;
  if (regex) options |= SearchOption(soRegexp);
  if (args.Has("--fuzzy")) options |= SearchOption(soFuzzy);
  if (!regex && !args.Has("--ignore-case")) options |= SearchOption(soMatchCase);
  if (args.Has("--whole-word")) options |= SearchOption(soWholeWord);
  return true;
}

// Compiles the pattern; false, with the engine's message printed, for a bad one.
bool SetQuery(TEditorMatcher& matcher, const std::string& pattern, TExSearchOptions options) {
  try {
    matcher.SetQuery(pattern, options);
    return true;
  } catch (const ENuvError& e) {
    Fail(Cp932ToUtf8(e.Message()));
    return false;
  }
}

std::string ArgToSjis(const std::string& utf8, bool& ok) {
  const auto sjis = Utf8ToCp932(utf8);
  ok = sjis.has_value();
  if (!ok) Fail("the text holds a character Shift JIS cannot represent: " + utf8);
  return sjis.value_or(std::string());
}

int RunFind(const std::vector<std::string>& argv) {
  TArgs args;
  if (!ParseArgs(argv, kSearchFlags, {}, args)) return 2;
  if (args.positional.size() != 2) return Fail("find needs DOC and PATTERN"), 2;
  TExSearchOptions options = 0;
  if (!SearchOptionsOf(args, options)) return 2;
  bool ok = true;
  const std::string pattern = ArgToSjis(args.positional[1], ok);
  if (!ok) return 2;
  TOutlineTree tree;
  TDocumentFile file;
  if (!ReadDocument(args.positional[0], tree, file)) return 2;

  TEditorMatcher matcher;
  if (!SetQuery(matcher, pattern, options)) return 2;
  bool found = false;
  int pageNumber = 0;
  for (TTreeNode* page = tree.GetFirstNode(); page; page = page->GetNext()) {
    ++pageNumber;
    auto print = [&](const TPageHit& hit) {
      found = true;
      std::printf("%d:%d:%zu:%zu\n", pageNumber, hit.line, hit.column + 1, hit.length);
    };
    ForEachHit(page->Text(), 0, matcher, print);
    const TSearchBody body = SearchBodyOf(*page, args.positional[0]);
    if (!body.readable) std::fprintf(stderr, "nuvtool: cannot read the linked file %s\n", body.linkPath.c_str());
    ForEachHit(body.text, 1, matcher, print);
  }
  return found ? 0 : 1;
}

int RunReplace(const std::vector<std::string>& argv) {
  TArgs args;
  std::vector<std::string> flags = kSearchFlags;
  if (!ParseArgs(argv, flags, {"-o"}, args)) return 2;
  if (args.positional.size() != 3) return Fail("replace needs DOC, PATTERN and REPLACEMENT"), 2;
  TExSearchOptions options = 0;
  if (!SearchOptionsOf(args, options)) return 2;
  bool ok = true;
  const std::string pattern = ArgToSjis(args.positional[1], ok);
  const std::string replacement = ok ? ArgToSjis(args.positional[2], ok) : std::string();
  if (!ok) return 2;
  const std::string& in = args.positional[0];
  TOutlineTree tree;
  TDocumentFile file;
  if (!ReadDocument(in, tree, file)) return 2;

  // Every body is replaced as the extended editor's replace all replaces a
  // page, in the body's bytes; titles stay.
  TEditorMatcher matcher;
  if (!SetQuery(matcher, pattern, options)) return 2;
  TBodyReplacer replacer(matcher.Editor(), replacement);
  int count = 0;
  for (TTreeNode* page = tree.GetFirstNode(); page; page = page->GetNext()) {
    TNodeData* data = page->Data();
    if (!data) continue;
    count += replacer.Replace(data->Body(), false);
    if (replacer.Changed()) data->MutableBody().swap(replacer.Body());
  }
  std::printf("%d\n", count);
  std::fflush(stdout);
  return WriteDocument(args.Value("-o", in), tree, file) ? 0 : 2;
}

}  // namespace

NUVTOOL_COMMAND(find, "find", "DOC PATTERN [--regex] [--fuzzy] [--ignore-case] [--whole-word]", RunFind);
NUVTOOL_COMMAND(replace, "replace", "DOC PATTERN REPLACEMENT [-o OUT] [--regex] [--fuzzy] [--ignore-case] [--whole-word]",
                RunReplace);

}  // namespace nuv::tool
