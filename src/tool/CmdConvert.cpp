// nuvtool convert: reads a .pk2 or hierarchical text document and writes the
// format that the output's extension names, in the encoding asked for.
#include "base/FileIo.h"
#include "base/TextEncoding.h"
#include "outline/BinaryFormat.h"
#include "outline/DocumentState.h"
#include "outline/EncodedText.h"
#include "outline/OutlineTree.h"
#include "outline/TextFormat.h"
#include "outline/TextSaveCheck.h"
#include "tool/NuvTool.h"

namespace nuv::tool {

namespace {

int RunConvert(const std::vector<std::string>& argv) {
  TArgs args;
  if (!ParseArgs(argv, {"--no-data", "--compat", "--no-titles", "--substitute"}, {"--encoding"}, args))
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
  const TSubstitution substitution = args.Has("--substitute") ? TSubstitution::Substitute : TSubstitution::Refuse;
  if (!ReadDocument(in, tree, file, substitution, true)) return 1;
  if (HasBinaryExtension(out)) return WriteDocument(out, tree, file) ? 0 : 1;
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
                "IN OUT [--no-data] [--compat] [--no-titles] [--encoding utf-8|shift_jis] [--substitute]", RunConvert);

}  // namespace nuv::tool
