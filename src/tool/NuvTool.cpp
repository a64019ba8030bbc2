// nuvtool: the core's functions on the command line, for scripts, tests and benchmarks.
#include "tool/NuvTool.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <exception>

#include "base/Codec.h"
#include "base/Error.h"
#include "base/FileIo.h"
#include "base/ProgramFolder.h"
#include "outline/BinaryFormat.h"
#include "outline/DocumentState.h"
#include "outline/OutlineTree.h"
#include "outline/TextFormat.h"

namespace nuv::tool {

namespace {
std::vector<TToolCommand>& Commands() {
  static std::vector<TToolCommand> commands;
  return commands;
}

void PrintUsage(FILE* out) {
  std::fprintf(out, "usage: nuvtool COMMAND [ARGS]\n\ncommands:\n");
  auto commands = Commands();
  std::sort(commands.begin(), commands.end(),
            [](const TToolCommand& a, const TToolCommand& b) { return std::strcmp(a.name, b.name) < 0; });
  for (const auto& c : commands) std::fprintf(out, "  %s %s\n", c.name, c.usage);
}
}  // namespace

bool RegisterCommand(const TToolCommand& command) {
  Commands().push_back(command);
  return true;
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "nuvtool: %s\n", message.c_str());
  return 1;
}

int FailFile(const std::string& message, const std::string& otherwise) {
  const std::string reason = FileErrorText(LastFileError());
  if (!reason.empty()) return Fail(message + ": " + reason);
  return Fail(otherwise.empty() ? message : message + ": " + otherwise);
}

bool TArgs::Has(const std::string& flag) const {
  return std::any_of(flags.begin(), flags.end(), [&](const auto& f) { return f.first == flag; });
}

std::string TArgs::Value(const std::string& flag, const std::string& def) const {
  for (const auto& f : flags)
    if (f.first == flag) return f.second;
  return def;
}

bool ParseArgs(const std::vector<std::string>& args, const std::vector<std::string>& known,
               const std::vector<std::string>& valued, TArgs& out) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool isValued = std::find(valued.begin(), valued.end(), a) != valued.end();
    if (!isValued && (a.rfind("--", 0) != 0 || a == "--")) {
      out.positional.push_back(a);
      continue;
    }
    if (isValued) {
      if (i + 1 >= args.size()) {
        Fail("option " + a + " needs a value");
        return false;
      }
      out.flags.emplace_back(a, args[++i]);
    } else if (std::find(known.begin(), known.end(), a) != known.end()) {
      out.flags.emplace_back(a, std::string());
    } else {
      Fail("unknown option " + a);
      return false;
    }
  }
  return true;
}

bool ReadDocument(const std::string& path, TOutlineTree& tree, TDocumentFile& file) {
  if (!FileExists(path)) return Fail("cannot read " + path + ": no such file"), false;
  file = TDocumentFile{};
  if (HasBinaryExtension(path)) {
    const TBinaryReadResult r = ReadBinary(path, TFormatOptions{}, tree);
    if (!r.ok) return FailFile("cannot read " + path, "not a valid .pk2 document"), false;
    file.selected = tree.GetNodeAt(r.selectedIndex);
    return true;
  }
  if (!ReadText(path, TFormatOptions{}, tree)) return FailFile("cannot read " + path, "bad metadata line"), false;
  file.selected = tree.GetFirstNode();
  std::string bytes;
  ReadWholeFile(path, bytes);
  file.textWithData = bytes.find("\n##nuv##,") != std::string::npos;
  return true;
}

bool WriteDocument(const std::string& path, const TOutlineTree& tree, const TDocumentFile& file) {
  bool written;
  if (HasBinaryExtension(path)) {
    written = WriteBinary(path, tree, file.selected);
  } else {
    TFormatOptions options;
    options.TextSaveWithData = file.textWithData;
    written = WriteText(path, tree, false, nullptr, options) != TTextWriteResult::Failed;
  }
  if (!written) FailFile("cannot write " + path);
  return written;
}

}  // namespace nuv::tool

int main(int argc, char** argv) {
  using namespace nuv::tool;
  nuv::SetExecutablePath(argv[0]);
  if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "help") == 0) {
    PrintUsage(argc < 2 ? stderr : stdout);
    return argc < 2 ? 2 : 0;
  }
  for (const auto& command : Commands()) {
    if (std::strcmp(command.name, argv[1]) != 0) continue;
    try {
      return command.run(std::vector<std::string>(argv + 2, argv + argc));
    } catch (const nuv::ENuvError& e) {
      return Fail(nuv::Cp932ToUtf8(e.Message()));
    } catch (const std::exception& e) {
      return Fail(e.what());
    }
  }
  Fail(std::string("unknown command ") + argv[1]);
  PrintUsage(stderr);
  return 2;
}
