// Program folder resolution and first-start seeding.
#include "base/ProgramFolder.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "base/FileIo.h"

namespace nuv {

namespace {
std::string g_executable;

std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v ? std::string(v) : std::string();
}

std::string StripSlash(std::string s) {
  while (s.size() > 1 && s.back() == '/') s.pop_back();
  return s;
}
}  // namespace

void SetExecutablePath(const std::string& path) {
  std::error_code ec;
  const auto abs = std::filesystem::weakly_canonical(path, ec);
  g_executable = ec ? path : abs.string();
}

std::string ExecutablePath() {
  if (!g_executable.empty()) return g_executable;
  std::error_code ec;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : self.string();
}

std::string ExecutableFolder() { return std::filesystem::path(ExecutablePath()).parent_path().string(); }

std::string ProgramFolder() {
  const std::string home = Env("NUV_HOME");
  if (!home.empty()) return StripSlash(home);
  const std::string exeDir = ExecutableFolder();
  if (!exeDir.empty() && FileExists(exeDir + "/nuv.ini")) return exeDir;
  std::string config = Env("XDG_CONFIG_HOME");
  if (config.empty() || config[0] != '/') config = Env("HOME") + "/.config";
  return StripSlash(config) + "/nuv";
}

std::string ProgramFile(std::string_view name) { return ProgramFolder() + "/" + std::string(name); }

std::string ShareFolder() {
  const std::string exeDir = ExecutableFolder();
  const std::string candidates[] = {
      exeDir + "/share",
      exeDir + "/../share",
      exeDir + "/../../share",
      exeDir + "/../share/nuv",
#ifdef NUV_SOURCE_SHARE_DIR
      NUV_SOURCE_SHARE_DIR,
#endif
  };
  for (const auto& dir : candidates)
    if (DirectoryExists(dir) && FileExists(dir + "/mark.dat")) {
      std::error_code ec;
      const auto canon = std::filesystem::canonical(dir, ec);
      return ec ? dir : canon.string();
    }
  return std::string();
}

void PrepareProgramFolder() {
  const std::string folder = ProgramFolder();
  ForceDirectories(folder);
  const std::string share = ShareFolder();
  if (share.empty() || share == folder) return;
  std::error_code ec;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(share, ec)) {
    if (!entry.is_regular_file()) continue;
    const auto relative = std::filesystem::relative(entry.path(), share, ec);
    // The sample documents and the manual are read where they are installed.
    const std::string name = relative.filename().string();
    if (ec || name.rfind("sample", 0) == 0 || name.rfind("manual", 0) == 0) continue;
    const auto target = std::filesystem::path(folder) / relative;
    if (std::filesystem::exists(target, ec)) continue;
    ForceDirectories(target.parent_path().string());
    CopyFileOver(entry.path().string(), target.string());
  }
}

std::string TempFolder() {
  const std::string temp = ProgramFile("__temp__");
  ForceDirectories(temp, 0700);
  return temp;
}

}  // namespace nuv
