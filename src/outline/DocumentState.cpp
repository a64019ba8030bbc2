// Document state rules.
#include "outline/DocumentState.h"

namespace nuv {

bool HasBinaryExtension(const std::string& path) {
  if (path.size() < 4) return false;
  std::string ext = path.substr(path.size() - 4);
  for (char& c : ext)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return ext == ".pk2";
}

bool TDocumentState::IsBinaryPath() const { return HasBinaryExtension(path); }

bool TDocumentState::ModifiedForClose() const { return DocModified || PageDirty || (ViewDirty && IsBinaryPath()); }

}  // namespace nuv
