// Recovery copies: a document with unsaved changes written now and then into
// the user's state folder, so that a crash loses at most the last minute.
//
// Each window owns one slot, a pair of files in the folder: "NAME.nuvrec",
// the copy, and "NAME.lock", which the owner keeps open under flock(2) for
// as long as it runs. The kernel drops the lock when the process ends in any
// way, so a copy whose lock nobody holds was left by a program that ended
// without saving or discarding: an orphan, to be offered at the next start.
// A copy is written through the atomic write, so a full disk keeps the
// previous copy; it is never written anywhere near the document itself.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "outline/DocumentState.h"
#include "outline/FormatOptions.h"

namespace nuv {

class TOutlineTree;
class TTreeNode;

// $XDG_STATE_HOME/nuv, else ~/.local/state/nuv.
std::string RecoveryFolder();

// What a recovery copy says about the document it holds.
struct TRecoveryInfo {
  std::string file;          // the copy itself
  std::string documentPath;  // the document's path (for a new document its folder, or empty)
  TDocumentFormat format = TDocumentFormat::None;
  long long savedAt = 0;     // seconds since the epoch, when the copy was written
};

// The state of the document to write: the tree, the selected page, and the
// shown page's text when the editor holds changes not stored in its record.
struct TRecoverySnapshot {
  const TOutlineTree* tree = nullptr;
  const TTreeNode* selected = nullptr;
  const TTreeNode* shownPage = nullptr;  // null when its record is up to date
  std::string_view shownText;
  std::string documentPath;
  TDocumentFormat format = TDocumentFormat::None;
};

class TRecoveryCopy {
 public:
  explicit TRecoveryCopy(std::string folder = RecoveryFolder());
  // Releases the slot. The copy stays unless Remove ran: an owner that never
  // removed it ended without saving or discarding its changes.
  ~TRecoveryCopy();
  TRecoveryCopy(const TRecoveryCopy&) = delete;
  TRecoveryCopy& operator=(const TRecoveryCopy&) = delete;

  // Writes the copy atomically, taking a slot first; false when the slot or
  // the write failed (the previous copy is then as it was).
  bool Write(const TRecoverySnapshot& snapshot);
  // After a save, or changes discarded on purpose.
  void Remove();
  // Takes over an orphan's slot, so its copy lasts until this window saves
  // or discards; false when another program holds it.
  bool Adopt(const std::string& copyFile);
  bool HasCopy() const;
  const std::string& File() const { return m_file; }
  const std::string& Folder() const { return m_folder; }

 private:
  bool TakeSlot();
  void ReleaseSlot();

  std::string m_folder;
  std::string m_file;  // the slot's copy, empty before a slot is taken
  int m_lockFd = -1;
};

// The header and the document of a copy's bytes; false for anything that is
// not a whole recovery copy.
bool ReadRecoveryBytes(std::string_view bytes, const TFormatOptions& options, TRecoveryInfo& info,
                       TOutlineTree& out, int& selectedIndex);
bool ReadRecoveryCopy(const std::string& file, const TFormatOptions& options, TRecoveryInfo& info,
                      TOutlineTree& out, int& selectedIndex);
// The copies no running program holds, newest first; with `documentPath`
// given, only that document's (compared as canonical paths).
std::vector<TRecoveryInfo> FindOrphanedCopies(const std::string& folder, const std::string& documentPath = {});
// Deletes an orphan's copy and its lock file.
void DiscardRecoveryCopy(const std::string& copyFile);

}  // namespace nuv
