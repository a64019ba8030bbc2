// Recovery copies in the state folder, with flock(2) telling live slots from orphans.
#include "outline/Recovery.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdlib>
#include <filesystem>

#include "base/FileIo.h"
#include "outline/BinaryFormat.h"
#include "outline/OutlineTree.h"

namespace nuv {

namespace {

constexpr std::string_view kMagic = "nuv recovery copy 1\n";
constexpr std::string_view kCopyExtension = ".nuvrec";
constexpr std::string_view kLockExtension = ".lock";
// A header longer than this is no header of ours (paths are at most 4096 bytes).
constexpr std::size_t kMaxPathLength = 1 << 16;

std::string LockFileOf(const std::string& copyFile) {
  return std::filesystem::path(copyFile).replace_extension(kLockExtension).string();
}

// Reads "NAME VALUE\n" at `pos`; false when the line is not there.
bool ReadField(std::string_view bytes, std::size_t& pos, std::string_view name, long long& value) {
  if (bytes.substr(pos, name.size()) != name || bytes.substr(pos + name.size(), 1) != " ") return false;
  const char* first = bytes.data() + pos + name.size() + 1;
  const char* last = bytes.data() + bytes.size();
  const auto [end, ec] = std::from_chars(first, last, value);
  if (ec != std::errc() || end == last || *end != '\n') return false;
  pos = static_cast<std::size_t>(end - bytes.data()) + 1;
  return true;
}

// Opens a slot's lock file and tries its lock; the open descriptor, or -1
// when the file cannot be opened or another program holds the lock.
int TryLock(const std::string& lockFile, int flags) {
  const int fd = ::open(lockFile.c_str(), flags | O_RDWR | O_CLOEXEC, 0600);
  if (fd < 0) return -1;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

std::string Canonical(const std::string& path) {
  std::error_code ec;
  const auto canonical = std::filesystem::weakly_canonical(path, ec);
  return ec ? path : canonical.string();
}

}  // namespace

std::string RecoveryFolder() {
  const char* state = std::getenv("XDG_STATE_HOME");
  if (state && *state == '/') return std::string(state) + "/nuv";
  const char* home = std::getenv("HOME");
  return std::string(home ? home : "") + "/.local/state/nuv";
}

TRecoveryCopy::TRecoveryCopy(std::string folder) : m_folder(std::move(folder)) {}

TRecoveryCopy::~TRecoveryCopy() { ReleaseSlot(); }

bool TRecoveryCopy::TakeSlot() {
  if (m_lockFd >= 0) return true;
  if (!ForceDirectories(m_folder, 0700)) return false;
  // A new name each time: a process id can come back after a crash, and an
  // orphan under that name must wait for its question.
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  const std::string stem = m_folder + "/" + std::to_string(::getpid()) + "-" +
                           std::to_string(std::chrono::duration_cast<std::chrono::microseconds>(now).count());
  for (int n = 0; n < 100; ++n) {
    const std::string file = stem + "-" + std::to_string(n) + std::string(kCopyExtension);
    if (FileExists(file)) continue;
    const int fd = TryLock(LockFileOf(file), O_CREAT | O_EXCL);
    if (fd < 0) continue;
    m_lockFd = fd;
    m_file = file;
    return true;
  }
  return false;
}

void TRecoveryCopy::ReleaseSlot() {
  if (m_lockFd < 0) return;
  // An empty slot leaves nothing behind; a slot with a copy keeps its lock
  // file for whoever recovers it.
  if (!HasCopy()) ::unlink(LockFileOf(m_file).c_str());
  ::close(m_lockFd);
  m_lockFd = -1;
  m_file.clear();
}

bool TRecoveryCopy::Write(const TRecoverySnapshot& snapshot) {
  if (!snapshot.tree || !TakeSlot()) return false;
  TAtomicFileWriter writer(m_file);
  std::string header(kMagic);
  header += "format " + std::to_string(static_cast<int>(snapshot.format)) + "\n";
  header += "path " + std::to_string(snapshot.documentPath.size()) + "\n";
  header += snapshot.documentPath;
  header += "\n";
  writer.Append(header);
  const TBodyOverride shown{snapshot.shownPage, snapshot.shownText};
  return BuildBinary(*snapshot.tree, snapshot.selected, writer, shown) && writer.Commit();
}

void TRecoveryCopy::Remove() {
  if (!m_file.empty()) ::unlink(m_file.c_str());
}

bool TRecoveryCopy::HasCopy() const { return !m_file.empty() && FileExists(m_file); }

bool TRecoveryCopy::Adopt(const std::string& copyFile) {
  const int fd = TryLock(LockFileOf(copyFile), O_CREAT);
  if (fd < 0) return false;
  Remove();
  ReleaseSlot();
  m_lockFd = fd;
  m_file = copyFile;
  return true;
}

bool ReadRecoveryBytes(std::string_view bytes, const TFormatOptions& options, TRecoveryInfo& info, TOutlineTree& out,
                       int& selectedIndex) {
  if (bytes.substr(0, kMagic.size()) != kMagic) return false;
  std::size_t pos = kMagic.size();
  long long format = 0;
  long long length = 0;
  if (!ReadField(bytes, pos, "format", format) || format < 0 || format > 2) return false;
  if (!ReadField(bytes, pos, "path", length) || length < 0 || static_cast<std::size_t>(length) > kMaxPathLength ||
      bytes.size() - pos < static_cast<std::size_t>(length) + 1 || bytes[pos + static_cast<std::size_t>(length)] != '\n')
    return false;
  info.format = static_cast<TDocumentFormat>(format);
  info.documentPath.assign(bytes.substr(pos, static_cast<std::size_t>(length)));
  pos += static_cast<std::size_t>(length) + 1;
  const TBinaryReadResult r = ReadBinaryBytes(bytes.substr(pos), options, out);
  selectedIndex = r.selectedIndex;
  return r.ok;
}

bool ReadRecoveryCopy(const std::string& file, const TFormatOptions& options, TRecoveryInfo& info, TOutlineTree& out,
                      int& selectedIndex) {
  TMappedFile mapped;
  if (mapped.Open(file) != TReadResult::Ok) return false;
  info.file = file;
  struct stat st {};
  if (::stat(file.c_str(), &st) == 0) info.savedAt = st.st_mtime;
  return ReadRecoveryBytes(mapped.Bytes(), options, info, out, selectedIndex);
}

std::vector<TRecoveryInfo> FindOrphanedCopies(const std::string& folder, const std::string& documentPath) {
  std::vector<TRecoveryInfo> found;
  std::error_code ec;
  const std::string wanted = documentPath.empty() ? std::string() : Canonical(documentPath);
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
    const std::string file = entry.path().string();
    if (entry.path().extension() != kCopyExtension) continue;
    // A live owner holds the lock; a missing lock file means the owner is gone.
    const int fd = TryLock(LockFileOf(file), 0);
    if (fd < 0 && FileExists(LockFileOf(file))) continue;
    if (fd >= 0) ::close(fd);
    TRecoveryInfo info;
    TOutlineTree tree;
    int selected = 0;
    if (!ReadRecoveryCopy(file, TFormatOptions{}, info, tree, selected)) continue;
    if (!wanted.empty() && (info.documentPath.empty() || Canonical(info.documentPath) != wanted)) continue;
    found.push_back(std::move(info));
  }
  std::stable_sort(found.begin(), found.end(),
                   [](const TRecoveryInfo& a, const TRecoveryInfo& b) { return a.savedAt > b.savedAt; });
  return found;
}

void DiscardRecoveryCopy(const std::string& copyFile) {
  ::unlink(copyFile.c_str());
  ::unlink(LockFileOf(copyFile).c_str());
}

}  // namespace nuv
