// Whole-file reads and atomic replacement with POSIX calls.
#include "base/FileIo.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <vector>

namespace nuv {

namespace {

long long g_failAfter = -1;

bool WriteAll(int fd, std::string_view data) {
  std::size_t done = 0;
  while (done < data.size()) {
    std::size_t chunk = data.size() - done;
    if (g_failAfter >= 0) {
      const long long allowed = g_failAfter - static_cast<long long>(done);
      if (allowed <= 0) {
        errno = ENOSPC;
        return false;
      }
      if (static_cast<long long>(chunk) > allowed) chunk = static_cast<std::size_t>(allowed);
    }
    const ssize_t n = ::write(fd, data.data() + done, chunk);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// The file a path finally names, so writing through a symbolic link replaces
// the linked file instead of the link.
std::string ResolveTarget(const std::string& path) {
  std::error_code ec;
  if (std::filesystem::is_symlink(path, ec)) {
    const auto target = std::filesystem::canonical(path, ec);
    if (!ec) return target.string();
  }
  return path;
}

}  // namespace

namespace testhooks {
void FailWritesAfter(long long bytes) { g_failAfter = bytes; }
}  // namespace testhooks

TReadResult ReadWholeFile(const std::string& path, std::string& out) {
  out.clear();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT || errno == ENOTDIR ? TReadResult::Missing : TReadResult::Error;
  struct stat st {};
  if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    ::close(fd);
    return TReadResult::Error;
  }
  if (st.st_size > 0) out.reserve(static_cast<std::size_t>(st.st_size));
  std::vector<char> buffer(1 << 16);
  for (;;) {
    const ssize_t n = ::read(fd, buffer.data(), buffer.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      ::close(fd);
      out.clear();
      return TReadResult::Error;
    }
    if (n == 0) break;
    out.append(buffer.data(), static_cast<std::size_t>(n));
  }
  ::close(fd);
  return TReadResult::Ok;
}

bool WriteFileAtomic(const std::string& pathIn, std::string_view data) {
  const std::string path = ResolveTarget(pathIn);
  std::string tmp = path + ".nuvtmp-XXXXXX";
  const int fd = ::mkstemp(tmp.data());
  if (fd < 0) return false;
  // Keep the permissions of the file being replaced; a new file gets the
  // usual 0666 less the umask.
  struct stat st {};
  mode_t mode;
  if (::stat(path.c_str(), &st) == 0) {
    mode = st.st_mode & 07777;
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }
  bool ok = ::fchmod(fd, mode) == 0;
  ok = ok && WriteAll(fd, data);
  ok = ok && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  ok = ok && ::rename(tmp.c_str(), path.c_str()) == 0;
  if (!ok) ::unlink(tmp.c_str());
  return ok;
}

bool FileExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool ForceDirectories(const std::string& path, unsigned mode) {
  if (path.empty()) return false;
  if (DirectoryExists(path)) return true;
  std::error_code ec;
  std::filesystem::create_directories(path, ec);
  if (!DirectoryExists(path)) return false;
  if (mode != 0777) ::chmod(path.c_str(), static_cast<mode_t>(mode));
  return true;
}

bool CopyFileOver(const std::string& from, const std::string& to) {
  std::string data;
  if (ReadWholeFile(from, data) != TReadResult::Ok) return false;
  return WriteFileAtomic(to, data);
}

}  // namespace nuv
