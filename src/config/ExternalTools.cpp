// External tools and editor: argument vectors, temporary files, read-back.
#include "config/ExternalTools.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "base/Codec.h"
#include "base/CommandLine.h"
#include "base/FileIo.h"
#include "outline/OutlineTree.h"

namespace nuv {

namespace {

constexpr std::size_t kMaxExtBytes = 32;

std::vector<std::string> NativeWords(std::string_view sjis) {
  std::vector<std::string> words = SplitCommandLine(std::string(sjis));
  for (std::string& w : words) w = Cp932ToUtf8(w);
  return words;
}

bool WriteAll(int fd, std::string_view content) {
  while (!content.empty()) {
    const ssize_t n = ::write(fd, content.data(), content.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    content.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

}  // namespace

std::optional<std::vector<std::string>> ToolArguments(const TnuvTool& tool, const std::string& file) {
  std::string_view program = tool.File;
  if (program.size() >= 2 && program.front() == '"' && program.back() == '"') program = program.substr(1, program.size() - 2);
  if (program.empty()) return std::nullopt;
  std::vector<std::string> argv{Cp932ToUtf8(program)};
  for (std::string& w : NativeWords(tool.Option)) argv.push_back(std::move(w));
  argv.push_back(file);
  return argv;
}

std::optional<std::vector<std::string>> EditorArguments(std::string_view editorSetting, const std::string& file) {
  std::vector<std::string> argv = NativeWords(editorSetting);
  if (argv.empty() || argv.front().empty()) return std::nullopt;
  argv.push_back(file);
  return argv;
}

std::string NormalizeToolExt(std::string_view ext) {
  if (ext.empty()) return ".txt";
  return ext.front() == '.' ? std::string(ext) : "." + std::string(ext);
}

bool IsSafeToolExt(std::string_view ext) {
  return ext.size() <= kMaxExtBytes && ext.find('/') == std::string_view::npos &&
         ext.find("..") == std::string_view::npos && ext.find_first_of(std::string_view("\0\r\n", 3)) == std::string_view::npos;
}

std::optional<std::string> CreateTempFile(const std::string& folder, std::string_view stem, std::string_view ext,
                                          std::string_view content) {
  if (!IsSafeToolExt(ext) || stem.find('/') != std::string_view::npos || !ForceDirectories(folder, 0700))
    return std::nullopt;
  struct stat info {};
  if (::lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return std::nullopt;
  // A folder made by an older version may be open to others; ours becomes private.
  if (info.st_uid == ::geteuid() && (info.st_mode & 077) != 0) ::chmod(folder.c_str(), 0700);
  std::string path = folder + "/" + std::string(stem) + "-XXXXXX" + std::string(ext);
  const int fd = ::mkstemps(path.data(), static_cast<int>(ext.size()));
  if (fd < 0) return std::nullopt;
  const bool written = WriteAll(fd, content);
  if (::close(fd) != 0 || !written) {
    ::unlink(path.c_str());
    return std::nullopt;
  }
  return path;
}

TReadBack DecideReadBack(const TToolRun& run, const TOutlineTree& tree, uint64_t documentNow,
                         std::string_view pageTextNow, const std::optional<std::string>& fileText) {
  if (documentNow != run.document || tree.FindById(run.page) == nullptr) return TReadBack::PageGone;
  if (!fileText) return TReadBack::NoFile;
  if (*fileText == pageTextNow) return TReadBack::Unchanged;
  return pageTextNow == run.textAtStart ? TReadBack::Replace : TReadBack::AskFirst;
}

}  // namespace nuv
