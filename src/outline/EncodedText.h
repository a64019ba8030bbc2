// Hierarchical text in any encoding: the file is converted whole to Shift JIS
// before the text reader sees it, and the writer's bytes are encoded after.
#pragma once

#include <string>

#include "base/TextEncoding.h"
#include "outline/FormatOptions.h"
#include "outline/TextFormat.h"

namespace nuv {

class TOutlineTree;
class TTreeNode;

// What a read of a text document found.
struct TTextRead {
  // ReadFailed also when a metadata line is damaged; Unmappable when
  // characters cannot be held and the read was asked to refuse them.
  TTextFileResult result = TTextFileResult::ReadFailed;
  // The form to save the document in. A Shift JIS file keeps CR LF line ends,
  // as nuv has always written them.
  TTextForm form;
  TUnmappable unmappable;
};

// Reads a whole document into `out`, which must be empty (see ReadTextBytes).
TTextRead ReadEncodedText(const std::string& path, const TFormatOptions& options, TSubstitution substitution,
                          TOutlineTree& out);

// Imports a file's pages after `importParent` (see ImportTextBytes); the
// first imported page, or null.
TTreeNode* ImportEncodedText(const std::string& path, const TFormatOptions& options, TSubstitution substitution,
                             TOutlineTree& doc, TTreeNode* importParent, TTextRead& read);

// Writes the document, or subtreeRoot and its descendants, in `form`.
TTextWriteResult WriteEncodedText(const std::string& path, const TOutlineTree& tree, bool noTitles,
                                  const TTreeNode* subtreeRoot, const TFormatOptions& options, const TTextForm& form);

// The form a save as chooses: the document's own when the encoding stays;
// else the chosen encoding without a byte-order mark, with the document's line
// ends (CR LF for Shift JIS).
TTextForm SaveAsForm(const TTextForm& current, TTextEncoding chosen);

// The encoding a save dialog shows first: UTF-8 for a document read from
// UTF-8 or UTF-16, else Shift JIS.
TTextEncoding OfferedEncoding(const TTextForm& current);

}  // namespace nuv
