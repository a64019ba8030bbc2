// Whole-file reads and atomic replacement with POSIX calls.
#include "base/FileIo.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <vector>

namespace nuv {

namespace {

long long g_failAfter = -1;
// errno of the last failed read or write of this thread; see LastFileError.
thread_local int t_lastError = 0;

// Records why an operation failed and returns false for the caller's return.
bool Failed(int error) {
  t_lastError = error;
  return false;
}

TReadResult ReadFailed(int error) {
  t_lastError = error;
  return error == ENOENT || error == ENOTDIR ? TReadResult::Missing : TReadResult::Error;
}

bool WriteAll(int fd, std::string_view data) {
  std::size_t done = 0;
  while (done < data.size()) {
    const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return Failed(errno);
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

int LastFileError() { return t_lastError; }

std::string FileErrorText(int error) {
  if (error == 0) return std::string();
  char buffer[256];
  // The GNU strerror_r returns the text, which need not be in the buffer.
  return ::strerror_r(error, buffer, sizeof buffer);
}

TReadResult ReadWholeFile(const std::string& path, std::string& out) {
  out.clear();
  t_lastError = 0;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return ReadFailed(errno);
  struct stat st {};
  if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    ::close(fd);
    return ReadFailed(EISDIR);
  }
  if (st.st_size > 0) out.reserve(static_cast<std::size_t>(st.st_size));
  std::vector<char> buffer(1 << 16);
  for (;;) {
    const ssize_t n = ::read(fd, buffer.data(), buffer.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      const int error = errno;
      ::close(fd);
      out.clear();
      return ReadFailed(error);
    }
    if (n == 0) break;
    out.append(buffer.data(), static_cast<std::size_t>(n));
  }
  ::close(fd);
  return TReadResult::Ok;
}

TAtomicFileWriter::TAtomicFileWriter(const std::string& path) : m_target(ResolveTarget(path)) {
  t_lastError = 0;
  m_temp = m_target + ".nuvtmp-XXXXXX";
  m_fd = ::mkstemp(m_temp.data());
  if (m_fd < 0) {
    Failed(errno);
    m_failed = true;
    return;
  }
  // Keep the permissions of the file being replaced; a new file gets the
  // usual 0666 less the umask.
  struct stat st {};
  mode_t mode;
  if (::stat(m_target.c_str(), &st) == 0) {
    mode = st.st_mode & 07777;
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }
  if (::fchmod(m_fd, mode) != 0) {
    Failed(errno);
    m_failed = true;
  }
  m_buffer.reserve(1 << 20);
}

TAtomicFileWriter::~TAtomicFileWriter() {
  if (m_fd >= 0) {
    ::close(m_fd);
    ::unlink(m_temp.c_str());
  }
}

bool TAtomicFileWriter::Flush() {
  if (m_failed) return false;
  if (g_failAfter >= 0 && m_written + static_cast<long long>(m_buffer.size()) > g_failAfter) {
    const long long allowed = std::max(0LL, g_failAfter - m_written);
    WriteAll(m_fd, std::string_view(m_buffer).substr(0, static_cast<std::size_t>(allowed)));
    // The fault stands for a full disk.
    m_failed = true;
    return Failed(ENOSPC);
  }
  if (!WriteAll(m_fd, m_buffer)) m_failed = true;
  m_written += static_cast<long long>(m_buffer.size());
  m_buffer.clear();
  return !m_failed;
}

void TAtomicFileWriter::Append(std::string_view bytes) {
  if (m_failed) return;
  if (m_buffer.size() + bytes.size() > (1 << 20)) {
    if (!Flush()) return;
    if (bytes.size() >= (1 << 20)) {
      m_buffer.assign(bytes);
      Flush();
      return;
    }
  }
  m_buffer.append(bytes);
}

bool TAtomicFileWriter::Commit() {
  if (m_fd < 0) return false;
  bool ok = Flush() && (::fsync(m_fd) == 0 || Failed(errno));
  ok = (::close(m_fd) == 0 || Failed(errno)) && ok;
  m_fd = -1;
  ok = ok && (::rename(m_temp.c_str(), m_target.c_str()) == 0 || Failed(errno));
  if (!ok) ::unlink(m_temp.c_str());
  return ok;
}

bool WriteFileAtomic(const std::string& path, std::string_view data) {
  TAtomicFileWriter writer(path);
  writer.Append(data);
  return writer.Commit();
}

TMappedFile::~TMappedFile() {
  if (m_map) ::munmap(m_map, m_size);
}

TReadResult TMappedFile::Open(const std::string& path) {
  t_lastError = 0;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return ReadFailed(errno);
  struct stat st {};
  if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    const int error = S_ISDIR(st.st_mode) ? EISDIR : errno;
    ::close(fd);
    return ReadFailed(error);
  }
  if (S_ISREG(st.st_mode) && st.st_size > 0) {
    void* map = ::mmap(nullptr, static_cast<std::size_t>(st.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
    ::close(fd);
    if (map != MAP_FAILED) {
      m_map = map;
      m_size = static_cast<std::size_t>(st.st_size);
      m_bytes = std::string_view(static_cast<const char*>(map), m_size);
      return TReadResult::Ok;
    }
  } else {
    ::close(fd);
  }
  const TReadResult r = ReadWholeFile(path, m_fallback);
  m_bytes = m_fallback;
  return r;
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
