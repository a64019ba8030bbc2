// nuvtool convert: reads a .pk2, hierarchical text, OPML or Markdown document
// and writes the format that the output's extension names (.pk2, .opml, .md,
// .html, anything else hierarchical text).
#include <cstdio>

#include "base/FileIo.h"
#include "exchange/ExchangeDocument.h"
#include "outline/BinaryFormat.h"
#include "outline/DocumentState.h"
#include "outline/OutlineTree.h"
#include "outline/TextFormat.h"
#include "tool/NuvTool.h"

namespace nuv::tool {

namespace {

// Reads an OPML or Markdown input; the message names what stopped it.
int ReadExchange(const std::string& in, TExchangeFormat format, bool substitute, TOutlineTree& tree) {
  TExchangeReadOptions options;
  options.substitute = substitute;
  const TExchangeReadResult r = ReadExchangeDocument(in, format, options, tree);
  const std::string where = in + ":" + std::to_string(r.line);
  switch (r.status) {
    case TExchangeStatus::Ok:
      if (r.substituted) std::fprintf(stderr, "nuvtool: %s: \"%s\" and others replaced by \"〓\"\n", where.c_str(), r.detail.c_str());
      return 0;
    case TExchangeStatus::CannotRead: return Fail("cannot read " + in);
    case TExchangeStatus::Malformed: return Fail(where + ": not a valid OPML document: " + r.detail);
    case TExchangeStatus::Unencodable:
      return Fail(where + ": \"" + r.detail + "\" cannot be held in Shift JIS (--substitute replaces it)");
  }
  return 1;
}

int WriteExchange(const std::string& out, TExchangeFormat format, bool markdownBodies, const TOutlineTree& tree) {
  const TExchangeWriteResult r = WriteExchangeDocument(out, format, tree, markdownBodies);
  if (!r.ok) return Fail("cannot write " + out);
  if (r.controlPage)
    std::fprintf(stderr, "nuvtool: %s: control characters left out, first on page %d\n", out.c_str(),
                 r.controlPage->AbsoluteIndex() + 1);
  return 0;
}

int RunConvert(const std::vector<std::string>& argv) {
  TArgs args;
  if (!ParseArgs(argv, {"--no-data", "--compat", "--no-titles", "--markdown-bodies", "--substitute"}, {}, args))
    return 2;
  if (args.positional.size() != 2) {
    Fail("convert needs IN and OUT");
    return 2;
  }
  const std::string& in = args.positional[0];
  const std::string& out = args.positional[1];

  TFormatOptions readOptions;
  TOutlineTree tree;
  const TTreeNode* selected = nullptr;
  if (!FileExists(in)) return Fail("cannot read " + in + ": no such file");
  const TExchangeFormat inFormat = ExchangeFormatOf(in);
  if (HasBinaryExtension(in)) {
    const TBinaryReadResult r = ReadBinary(in, readOptions, tree);
    if (!r.ok) return FailFile("cannot read " + in, "not a valid .pk2 document");
    selected = tree.GetNodeAt(r.selectedIndex);
  } else if (inFormat == TExchangeFormat::Opml || inFormat == TExchangeFormat::Markdown) {
    if (const int rc = ReadExchange(in, inFormat, args.Has("--substitute"), tree)) return rc;
    selected = tree.GetFirstNode();
  } else {
    if (!ReadText(in, readOptions, tree)) return FailFile("cannot read " + in, "bad metadata line");
    selected = tree.GetFirstNode();
  }

  if (HasBinaryExtension(out)) {
    if (!WriteBinary(out, tree, selected)) return FailFile("cannot write " + out);
    return 0;
  }
  if (const TExchangeFormat outFormat = ExchangeFormatOf(out); outFormat != TExchangeFormat::None)
    return WriteExchange(out, outFormat, args.Has("--markdown-bodies"), tree);
  TFormatOptions writeOptions;
  writeOptions.TextSaveWithData = !args.Has("--no-data");
  writeOptions.PirkaCompatible = args.Has("--compat");
  switch (WriteText(out, tree, args.Has("--no-titles"), nullptr, writeOptions)) {
    case TTextWriteResult::Written: return 0;
    case TTextWriteResult::Empty: return Fail("nothing to write to " + out);
    case TTextWriteResult::Failed: break;
  }
  return FailFile("cannot write " + out);
}

}  // namespace

NUVTOOL_COMMAND(convert, "convert",
                "IN OUT [--no-data] [--compat] [--no-titles] [--markdown-bodies] [--substitute] "
                "(IN and OUT: .pk2, .opml, .md, .html (OUT only), else hierarchical text)",
                RunConvert);

}  // namespace nuv::tool
