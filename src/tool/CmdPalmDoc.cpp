// nuvtool palmdoc and medoc: Palm DOC files from text and back, and a
// document's pages as a MeDoc.
#include <charconv>

#include "base/Codec.h"
#include "base/FileIo.h"
#include "exchange/ExportNames.h"
#include "exchange/MeDoc.h"
#include "exchange/PalmDocFile.h"
#include "outline/BinaryFormat.h"
#include "outline/DocumentState.h"
#include "outline/OutlineTree.h"
#include "outline/TextFormat.h"
#include "tool/NuvTool.h"

namespace nuv::tool {

namespace {

// The message for a failed conversion from `in` to `out`.
int FailConversion(TPalmDocResult r, const std::string& in, const std::string& out) {
  switch (r) {
    case TPalmDocResult::Ok: return 0;
    case TPalmDocResult::NotTextDoc: return Fail(in + " is not a Palm DOC text (type TEXt, creator REAd)");
    case TPalmDocResult::OpenFailed:
      return FailFile(FileExists(in) ? "cannot create " + out : "cannot read " + in);
    case TPalmDocResult::Damaged: return Fail(in + " is damaged: its records do not hold together");
    case TPalmDocResult::TooLarge:
      return Fail(in + " is too large: a Palm DOC holds at most " + std::to_string(kPalmMaxTextBytes) + " bytes");
    case TPalmDocResult::WriteFailed: return FailFile("cannot write " + out, "nothing was written");
  }
  return Fail("conversion failed");
}

int RunPalmDoc(const std::vector<std::string>& argv) {
  TArgs args;
  if (!ParseArgs(argv, {"--binary", "--no-compress"}, {"--title"}, args)) return 2;
  if (args.positional.size() != 3 || (args.positional[0] != "encode" && args.positional[0] != "decode")) {
    Fail("palmdoc needs encode IN.txt OUT.pdb or decode IN.pdb OUT.txt");
    return 2;
  }
  const bool decode = args.positional[0] == "decode";
  const std::string& in = args.positional[1];
  const std::string& out = args.positional[2];
  if (decode && (args.Has("--title") || args.Has("--no-compress"))) {
    Fail("decode takes no --title or --no-compress");
    return 2;
  }
  if (!FileExists(in)) return Fail("cannot read " + in + ": no such file");

  std::string title = DatabaseNameFromPath(in);
  if (args.Has("--title")) {
    const auto sjis = Utf8ToCp932(args.Value("--title"));
    if (!sjis) return Fail("the title has characters Shift JIS cannot hold");
    title = *sjis;
  }
  const TPalmDocResult r = decode ? ConvertPalmDoc(in, out, {}, true, args.Has("--binary"), true)
                                  : ConvertPalmDoc(out, in, title, false, args.Has("--binary"), !args.Has("--no-compress"));
  return FailConversion(r, in, out);
}

int RunMeDoc(const std::vector<std::string>& argv) {
  TArgs args;
  if (!ParseArgs(argv, {"--following"}, {}, args)) return 2;
  if (args.positional.size() != 2 && args.positional.size() != 3) {
    Fail("medoc needs DOC OUT.pdb [PAGE]");
    return 2;
  }
  const std::string& in = args.positional[0];
  const std::string& out = args.positional[1];
  int page = 0;
  if (args.positional.size() == 3) {
    const std::string& s = args.positional[2];
    const auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), page);
    if (ec != std::errc() || ptr != s.data() + s.size() || page < 1) {
      Fail("PAGE must be a page number from 1");
      return 2;
    }
  }

  TFormatOptions options;
  TOutlineTree tree;
  if (!FileExists(in)) return Fail("cannot read " + in + ": no such file");
  if (HasBinaryExtension(in)) {
    if (!ReadBinary(in, options, tree).ok) return FailFile("cannot read " + in, "not a valid .pk2 document");
  } else if (!ReadText(in, options, tree)) {
    return FailFile("cannot read " + in, "bad metadata line");
  }

  const TTreeNode* start = nullptr;
  TMeDocScope scope = TMeDocScope::FromPage;
  if (page > 0) {
    start = tree.GetNodeAt(page - 1);
    if (!start) return Fail(in + " has " + std::to_string(tree.Count()) + " pages, no page " + std::to_string(page));
    if (!args.Has("--following")) scope = TMeDocScope::Subtree;
  }
  return FailConversion(WriteMeDoc(out, tree, start, scope, DatabaseNameFromPath(out)), in, out);
}

}  // namespace

NUVTOOL_COMMAND(palmdoc, "palmdoc",
                "encode IN.txt OUT.pdb [--title T] [--binary] [--no-compress] | decode IN.pdb OUT.txt [--binary]",
                RunPalmDoc);
NUVTOOL_COMMAND(medoc, "medoc", "DOC OUT.pdb [PAGE] [--following]", RunMeDoc);

}  // namespace nuv::tool
