// nuvtool convert: reads a .pk2 or hierarchical text document and writes the
// format that the output's extension names, in the encoding asked for.
#include "base/FileIo.h"
#include "base/TextEncoding.h"
#include "outline/BinaryFormat.h"
#include "outline/DocumentState.h"
#include "outline/EncodedText.h"
#include "outline/OutlineTree.h"
#include "outline/TextFormat.h"
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
  const TTreeNode* selected = file.selected;

  if (HasBinaryExtension(out)) {
    if (!WriteBinary(out, tree, selected)) return FailFile("cannot write " + out);
    return 0;
  }
  TFormatOptions writeOptions;
  writeOptions.TextSaveWithData = !args.Has("--no-data");
  writeOptions.PirkaCompatible = args.Has("--compat");
  switch (WriteEncodedText(out, tree, args.Has("--no-titles"), nullptr, writeOptions, SaveAsForm(file.form, encoding))) {
    case TTextWriteResult::Written: return 0;
    case TTextWriteResult::Empty: return Fail("nothing to write to " + out);
    case TTextWriteResult::Failed: break;
  }
  return FailFile("cannot write " + out);
}

}  // namespace

NUVTOOL_COMMAND(convert, "convert",
                "IN OUT [--no-data] [--compat] [--no-titles] [--encoding utf-8|shift_jis] [--substitute]", RunConvert);

}  // namespace nuv::tool
