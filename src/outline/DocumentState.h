// The state of the open document that the main window keeps: its path, the
// three modified flags and the direct link of the shown page.
#pragma once

#include <string>

#include "base/TextEncoding.h"

namespace nuv {

// The format a document was read or last written in.
enum class TDocumentFormat { None, Binary, Text, Opml, Markdown };

struct TDocumentState {
  // The document's file; for a new document the folder it starts in, or empty.
  std::string path;
  // Save writes the format the document came in, whatever its file name says.
  TDocumentFormat format = TDocumentFormat::None;
  // How a text document's file was stored; Save writes it back the same way.
  TTextForm textForm;
  // The file the shown page links to directly, empty when none.
  std::string directLinkPath;
  // How the linked file was stored, so that saving it keeps its encoding.
  TTextForm directLinkForm;
  // While on, a direct-link page shows and edits the linked file.
  bool directLinkView = true;

  bool DocModified = false;  // changes not saved
  bool PageDirty = false;    // the shown page's title, mark or label changed
  bool ViewDirty = false;    // a page was shown or expanded under AlwaysSave

  void ClearFlags() { DocModified = PageDirty = ViewDirty = false; }
  // Any of the three flags: the rule of the save questions.
  bool Modified() const { return DocModified || PageDirty || ViewDirty; }
  // The close query's rule: ViewDirty counts only for a binary document.
  bool ModifiedForClose() const;
  bool IsBinaryPath() const;
};

// Whether a path names a binary document (extension ".pk2", any case).
bool HasBinaryExtension(const std::string& path);

}  // namespace nuv
