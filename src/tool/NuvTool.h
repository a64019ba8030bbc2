// nuvtool's subcommand registry: each Cmd*.cpp file registers one command.
#pragma once

#include <string>
#include <vector>

#include "base/TextEncoding.h"

namespace nuv {
class TOutlineTree;
struct TFormatOptions;
}  // namespace nuv

namespace nuv::tool {

struct TToolCommand {
  const char* name;
  const char* usage;  // arguments after the name, for the help text
  int (*run)(const std::vector<std::string>& args);
};

bool RegisterCommand(const TToolCommand& command);

// Prints "nuvtool: <message>" on stderr and returns the failure exit code.
int Fail(const std::string& message);
// Splits arguments into flags (beginning with "--") and positional ones; a
// flag listed in `valued` takes the next argument as its value.
struct TArgs {
  std::vector<std::string> positional;
  std::vector<std::pair<std::string, std::string>> flags;
  bool Has(const std::string& flag) const;
  std::string Value(const std::string& flag, const std::string& def = std::string()) const;
};
// False (with a message printed) when an unknown flag is given.
bool ParseArgs(const std::vector<std::string>& args, const std::vector<std::string>& known,
               const std::vector<std::string>& valued, TArgs& out);

// Reads a hierarchical text document of any encoding into `tree`. Empty on
// success; else the reason (characters Shift JIS cannot hold, with the hint
// of `--substitute` when the command has it, or a bad metadata line).
std::string ReadTextDocument(const std::string& path, const TFormatOptions& options, TSubstitution substitution,
                             bool offerSubstitute, TOutlineTree& tree, TTextForm& form);

}  // namespace nuv::tool

#define NUVTOOL_COMMAND(id, name, usage, fn) \
  static const bool nuvtool_registered_##id = ::nuv::tool::RegisterCommand({name, usage, fn})
