// A temporary folder for a test, removed with everything in it afterwards.
#pragma once

#include <filesystem>
#include <string>

#include <stdlib.h>

#include "base/Codec.h"
#include "base/FileIo.h"

namespace nuv::test {

class TTempDir {
 public:
  TTempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "nuv-test-XXXXXX").string();
    m_path = ::mkdtemp(pattern.data()) ? pattern : std::string();
  }
  ~TTempDir() {
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
  }
  TTempDir(const TTempDir&) = delete;
  TTempDir& operator=(const TTempDir&) = delete;

  const std::string& Path() const { return m_path; }
  std::string File(const std::string& name) const { return m_path + "/" + name; }
  std::string Write(const std::string& name, std::string_view bytes) const {
    const std::string path = File(name);
    WriteFileAtomic(path, bytes);
    return path;
  }
  std::string Read(const std::string& name) const {
    std::string bytes;
    ReadWholeFile(File(name), bytes);
    return bytes;
  }

 private:
  std::string m_path;
};

// Shift JIS bytes of a UTF-8 literal, for readable expectations.
inline std::string Sj(std::string_view utf8) { return SjisFromLiteral(utf8); }

}  // namespace nuv::test
