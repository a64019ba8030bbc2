// nuvtool's subcommand registry: each Cmd*.cpp file registers one command.
#pragma once

#include <string>
#include <vector>

namespace nuv {
class TOutlineTree;
class TTreeNode;
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
// The same for a failed read or write: the system's reason follows the
// message ("cannot write x.pk2: No space left on device"); without one, the
// reader's own `otherwise` (a damaged file) when given.
int FailFile(const std::string& message, const std::string& otherwise = std::string());
// Splits arguments into flags (beginning with "--") and positional ones; a
// flag listed in `valued` (also a short one such as "-o") takes the next
// argument as its value.
struct TArgs {
  std::vector<std::string> positional;
  std::vector<std::pair<std::string, std::string>> flags;
  bool Has(const std::string& flag) const;
  std::string Value(const std::string& flag, const std::string& def = std::string()) const;
};
// False (with a message printed) when an unknown flag is given.
bool ParseArgs(const std::vector<std::string>& args, const std::vector<std::string>& known,
               const std::vector<std::string>& valued, TArgs& out);

// What a command keeps of a document it read, to write it back the same way.
struct TDocumentFile {
  const TTreeNode* selected = nullptr;  // the selected page of a .pk2, else the first page
  bool textWithData = false;            // hierarchical text that carried metadata lines
};
// Reads a .pk2 or hierarchical-text document (by its extension); false, with
// the reason printed, when it cannot be read.
bool ReadDocument(const std::string& path, TOutlineTree& tree, TDocumentFile& file);
// Writes a document in the format its name says; false, with the reason
// printed, when it cannot be written.
bool WriteDocument(const std::string& path, const TOutlineTree& tree, const TDocumentFile& file);

}  // namespace nuv::tool

#define NUVTOOL_COMMAND(id, name, usage, fn) \
  static const bool nuvtool_registered_##id = ::nuv::tool::RegisterCommand({name, usage, fn})
