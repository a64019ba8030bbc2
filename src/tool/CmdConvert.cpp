// nuvtool convert: reads a .pk2 or hierarchical text document and writes the
// format that the output's extension names.
#include "base/FileIo.h"
#include "outline/BinaryFormat.h"
#include "outline/DocumentState.h"
#include "outline/OutlineTree.h"
#include "outline/TextFormat.h"
#include "tool/NuvTool.h"

namespace nuv::tool {

namespace {

int RunConvert(const std::vector<std::string>& argv) {
  TArgs args;
  if (!ParseArgs(argv, {"--no-data", "--compat", "--no-titles"}, {}, args)) return 2;
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
  if (HasBinaryExtension(in)) {
    const TBinaryReadResult r = ReadBinary(in, readOptions, tree);
    if (!r.ok) return FailFile("cannot read " + in, "not a valid .pk2 document");
    selected = tree.GetNodeAt(r.selectedIndex);
  } else {
    if (!ReadText(in, readOptions, tree)) return FailFile("cannot read " + in, "bad metadata line");
    selected = tree.GetFirstNode();
  }

  if (HasBinaryExtension(out)) {
    if (!WriteBinary(out, tree, selected)) return FailFile("cannot write " + out);
    return 0;
  }
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

NUVTOOL_COMMAND(convert, "convert", "IN OUT [--no-data] [--compat] [--no-titles]", RunConvert);

}  // namespace nuv::tool
