// External tools and the external editor: the argument vectors they start
// with, their temporary files, and what happens to their result.
//
// A program is never started through a shell: its argument vector is the
// program, the words of its options (split at blanks, grouped by double
// quotes, never expanded), then the file. Temporary files get names no other
// run can share, under the program folder's "__temp__" (mode 0700), so one
// run can never read back another's text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/NuvConfig.h"

namespace nuv {

class TOutlineTree;
using TNodeId = uint64_t;

// The tool's argument vector (native strings): File as one word (one pair of
// enclosing quotes removed), the words of Option, then `file`. Nothing when
// File is empty.
std::optional<std::vector<std::string>> ToolArguments(const TnuvTool& tool, const std::string& file);
// The external editor's argument vector: the setting's words (the first is
// the program), then `file`. Nothing when the setting holds no word.
std::optional<std::vector<std::string>> EditorArguments(std::string_view editorSetting, const std::string& file);

// The tool dialog's rule: empty becomes ".txt", a missing leading "." is added.
std::string NormalizeToolExt(std::string_view ext);
// Whether an extension can name a file inside the temporary folder: no "/",
// no "..", no NUL, CR or LF, at most 32 bytes.
bool IsSafeToolExt(std::string_view ext);

// Creates a new file "<stem>-XXXXXX<ext>" with a unique name in `folder`
// (created with mode 0700 when missing, and made 0700 when it is ours),
// writes `content` to it and returns its path; nothing on any failure (an
// unsafe extension included), leaving no file behind.
std::optional<std::string> CreateTempFile(const std::string& folder, std::string_view stem, std::string_view ext,
                                          std::string_view content);

// What a program run was started on, kept for the read-back.
struct TToolRun {
  TNodeId page = 0;
  uint64_t document = 0;    // the window's count of documents opened, at the start
  std::string textAtStart;  // the page's text handed to the program
  std::string file;         // native path of the file the program works on
  bool temporary = true;    // delete the file afterwards (false for a direct-link file)
};

enum class TReadBack {
  PageGone,   // the page was removed or another document opened: leave everything
  NoFile,     // the program left no file: nothing to read back
  Unchanged,  // the file holds the page's text: nothing to do
  Replace,    // replace the page's text with the file's, as one undo step
  AskFirst,   // the page changed during the wait: ask before replacing it
};

// `pageTextNow` is the page's text now (the editor's when it is shown),
// `fileText` the file's, none when it cannot be read.
TReadBack DecideReadBack(const TToolRun& run, const TOutlineTree& tree, uint64_t documentNow,
                         std::string_view pageTextNow, const std::optional<std::string>& fileText);

}  // namespace nuv
