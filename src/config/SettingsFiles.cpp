// Named, saved-as and per-document settings files.
#include "config/SettingsFiles.h"

#include <algorithm>
#include <filesystem>

#include "base/AsciiCase.h"
#include "base/FileIo.h"

namespace nuv {

namespace fs = std::filesystem;

namespace {

bool EndsWithIniNoCase(std::string_view name) {
  return name.size() >= 4 && AsciiEqualNoCase(name.substr(name.size() - 4), ".ini");
}

// The folder a path lies in, as one spelling, so "a/./b.ini" and "a/b.ini" agree.
fs::path CanonicalFolder(const fs::path& folder) {
  std::error_code ec;
  fs::path canon = fs::weakly_canonical(fs::absolute(folder, ec), ec);
  return ec ? folder.lexically_normal() : canon;
}

}  // namespace

std::vector<TSettingsFile> ListSettingsFiles(const std::string& folder) {
  std::vector<TSettingsFile> files;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder, ec)) {
    std::error_code typeError;
    if (!entry.is_regular_file(typeError)) continue;
    const std::string name = entry.path().filename().string();
    if (!EndsWithIniNoCase(name)) continue;
    files.push_back({name, folder + "/" + name, AsciiLower(name) == kDefaultSettingsName});
  }
  std::sort(files.begin(), files.end(),
            [](const TSettingsFile& a, const TSettingsFile& b) { return a.caption < b.caption; });
  return files;
}

std::string ChangeFileExt(std::string_view path, std::string_view ext) {
  const std::size_t slash = path.rfind('/');
  const std::size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
  const std::size_t dot = path.rfind('.');
  const std::size_t cut = (dot != std::string_view::npos && dot >= nameStart) ? dot : path.size();
  return std::string(path.substr(0, cut)) + std::string(ext);
}

std::string DocumentSettingsFile(const std::string& documentPath) { return ChangeFileExt(documentPath, ".ini"); }

std::optional<std::string> SettingsForDocument(const TnuvConfig& config, const std::string& documentPath) {
  const std::string own = DocumentSettingsFile(documentPath);
  if (FileExists(own)) return own;
  if (!config.CurrentFile().empty()) return std::string(kDefaultSettingsName);
  return std::nullopt;
}

TSaveAsResult SaveSettingsAs(TnuvConfig& config, const std::string& chosenPath, const TIniWriter& windowSections) {
  TSaveAsResult result;
  std::error_code ec;
  const fs::path absolute = fs::absolute(ChangeFileExt(chosenPath, ".ini"), ec);
  result.path = ec ? ChangeFileExt(chosenPath, ".ini") : absolute.string();
  // A full path never equals the bare default name, so the current file stays.
  result.written = config.Save(result.path, windowSections);
  const fs::path file(result.path);
  if (CanonicalFolder(file.parent_path()) == CanonicalFolder(config.ProgramFolderPath()))
    result.menuCaption = file.filename().string();
  return result;
}

}  // namespace nuv
