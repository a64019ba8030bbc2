// Whole-file reads and atomic file replacement.
//
// A write never truncates the only copy: the data goes to a temporary file in
// the same folder, every write and the close are checked, the file is synced
// and then renamed over the target. A failure leaves the old file as it was.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace nuv {

enum class TReadResult { Ok, Missing, Error };

TReadResult ReadWholeFile(const std::string& path, std::string& out);
bool WriteFileAtomic(const std::string& path, std::string_view data);

// Something that takes bytes in order: a file being written, or a string.
class IByteSink {
 public:
  virtual ~IByteSink() = default;
  virtual void Append(std::string_view bytes) = 0;
};

class TStringSink : public IByteSink {
 public:
  explicit TStringSink(std::string& out) : m_out(out) {}
  void Append(std::string_view bytes) override { m_out.append(bytes); }

 private:
  std::string& m_out;
};

// Writes a file through a temporary file beside it, so large documents are
// written without holding their whole image in memory. Nothing replaces the
// target until Commit succeeds; a writer destroyed without it leaves no file.
class TAtomicFileWriter : public IByteSink {
 public:
  explicit TAtomicFileWriter(const std::string& path);
  ~TAtomicFileWriter() override;
  TAtomicFileWriter(const TAtomicFileWriter&) = delete;
  TAtomicFileWriter& operator=(const TAtomicFileWriter&) = delete;

  void Append(std::string_view bytes) override;
  // Flushes, syncs, closes and renames over the target; false on any failure.
  bool Commit();

 private:
  bool Flush();
  std::string m_target;
  std::string m_temp;
  int m_fd = -1;
  bool m_failed = false;
  long long m_written = 0;
  std::string m_buffer;
};

// A file's bytes, mapped read-only when it is a regular file.
class TMappedFile {
 public:
  TMappedFile() = default;
  ~TMappedFile();
  TMappedFile(const TMappedFile&) = delete;
  TMappedFile& operator=(const TMappedFile&) = delete;
  TReadResult Open(const std::string& path);
  std::string_view Bytes() const { return m_bytes; }

 private:
  void* m_map = nullptr;
  std::size_t m_size = 0;
  std::string m_fallback;
  std::string_view m_bytes;
};

// Why the last failed read or write of this thread failed, as an errno value
// ("No space left on device" is ENOSPC). Every read and write starts by
// clearing it, so after a failure it is 0 when the system reported nothing
// (a damaged file, a document too large for its format).
int LastFileError();
// The system's words for an errno value, in the locale's language; empty for 0.
std::string FileErrorText(int error);

bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);
// Creates the folder and its missing parents; true when it exists afterwards.
bool ForceDirectories(const std::string& path, unsigned mode = 0777);
bool CopyFileOver(const std::string& from, const std::string& to);

namespace testhooks {
// Makes the next atomic writes fail as on a full disk (ENOSPC) once they have
// written `bytes` bytes (-1 turns the fault off). For tests of the failure
// paths only.
void FailWritesAfter(long long bytes);
}  // namespace testhooks

}  // namespace nuv
