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

bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);
// Creates the folder and its missing parents; true when it exists afterwards.
bool ForceDirectories(const std::string& path, unsigned mode = 0777);
bool CopyFileOver(const std::string& from, const std::string& to);

namespace testhooks {
// Makes the next atomic writes fail once they have written `bytes` bytes
// (-1 turns the fault off). For tests of the failure paths only.
void FailWritesAfter(long long bytes);
}  // namespace testhooks

}  // namespace nuv
