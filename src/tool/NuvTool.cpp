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
#include "outline/EncodedText.h"

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
    if (a.rfind("--", 0) != 0 || a == "--") {
      out.positional.push_back(a);
      continue;
    }
    if (std::find(valued.begin(), valued.end(), a) != valued.end()) {
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

std::string ReadTextDocument(const std::string& path, const TFormatOptions& options, TSubstitution substitution,
                             bool offerSubstitute, TOutlineTree& tree, TTextForm& form) {
  const TTextRead read = ReadEncodedText(path, options, substitution, tree);
  form = read.form;
  switch (read.result) {
    case TTextFileResult::Ok: return std::string();
    case TTextFileResult::Unmappable:
      return "cannot read " + path + ": " + DescribeUnmappable(read.unmappable) +
             (offerSubstitute ? "; --substitute replaces each with \"\xE3\x80\x93\"" : "");
    case TTextFileResult::ReadFailed: break;
  }
  return FileExists(path) ? "cannot read " + path + ": bad metadata line" : "cannot read " + path;
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
