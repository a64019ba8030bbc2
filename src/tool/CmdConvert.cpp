// nuvtool convert: reads a .pk2, hierarchical text, OPML or Markdown document
// and writes the format that the output's extension names (.pk2, .opml, .md,
// .html, anything else hierarchical text), text in the encoding asked for.
#include <cstdio>

#include "base/FileIo.h"
#include "base/TextEncoding.h"
#include "exchange/ExchangeDocument.h"
#include "outline/BinaryFormat.h"
#include "outline/DocumentState.h"
#include "outline/EncodedText.h"
#include "outline/OutlineTree.h"
#include "outline/TextFormat.h"
#include "outline/TextSaveCheck.h"
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
                 tree.AbsoluteIndexOf(r.controlPage) + 1);
  return 0;
}

int RunConvert(const std::vector<std::string>& argv) {
  TArgs args;
  if (!ParseArgs(argv, {"--no-data", "--compat", "--no-titles", "--markdown-bodies", "--substitute"}, {"--encoding"},
                 args))
    return 2;
  if (args.positional.size() != 2) {
    Fail("convert needs IN and OUT");
    return 2;
  }
  const std::string& in = args.positional[0];
  const std::string& out = args.positional[1];
  // Shift JIS stays the default for new files; a binary document is always Shift JIS.
  TTextEncoding encoding = TTextEncoding::ShiftJis;
  if (args.Has("--encoding")) {
    const auto chosen = SaveEncodingFromName(args.Value("--encoding"));
    if (!chosen) {
      Fail("--encoding takes utf-8 or shift_jis");
      return 2;
    }
    if (HasBinaryExtension(out)) {
      Fail("--encoding applies to text output only; a .pk2 document is Shift JIS");
      return 2;
    }
    encoding = *chosen;
  }

  TOutlineTree tree;
  TDocumentFile file;
  const TExchangeFormat inFormat = ExchangeFormatOf(in);
  if (inFormat == TExchangeFormat::Opml || inFormat == TExchangeFormat::Markdown) {
    if (!FileExists(in)) return Fail("cannot read " + in + ": no such file");
    if (const int rc = ReadExchange(in, inFormat, args.Has("--substitute"), tree)) return rc;
    file.selected = tree.GetFirstNode();
  } else {
    const TSubstitution substitution = args.Has("--substitute") ? TSubstitution::Substitute : TSubstitution::Refuse;
    if (!ReadDocument(in, tree, file, substitution, true)) return 1;
  }
  if (HasBinaryExtension(out)) return WriteDocument(out, tree, file) ? 0 : 1;
  if (const TExchangeFormat outFormat = ExchangeFormatOf(out); outFormat != TExchangeFormat::None)
    return WriteExchange(out, outFormat, args.Has("--markdown-bodies"), tree);
  TFormatOptions writeOptions;
  writeOptions.TextSaveWithData = !args.Has("--no-data");
  writeOptions.PirkaCompatible = args.Has("--compat");
  const bool noTitles = args.Has("--no-titles");
  switch (WriteEncodedText(out, tree, noTitles, nullptr, writeOptions, SaveAsForm(file.form, encoding))) {
    case TTextWriteResult::Written: {
      // The file is written as asked (other programs read the format as it
      // is); what will read back differently is said once per kind.
      const TTextSaveCheck check = CheckTextSave(tree, noTitles, nullptr, writeOptions);
      for (int kind = 0; kind < kTextRiskCount; ++kind)
        if (check.risks[kind].count)
          Warn(TextSaveWarningLine(static_cast<TTextRisk>(kind), check.risks[kind]));
      return 0;
    }
    case TTextWriteResult::Empty: return Fail("nothing to write to " + out);
    case TTextWriteResult::TooLarge: return Fail("cannot write " + out + ": " + kTooLargeForText);
    case TTextWriteResult::Failed: break;
  }
  return FailFile("cannot write " + out);
}

}  // namespace

NUVTOOL_COMMAND(convert, "convert",
                "IN OUT [--no-data] [--compat] [--no-titles] [--encoding utf-8|shift_jis] [--markdown-bodies] "
                "[--substitute] (IN and OUT: .pk2, .opml, .md, .html (OUT only), else hierarchical text)",
                RunConvert);

}  // namespace nuv::tool
