// MeDoc: a compressed Palm DOC whose text starts with an index of sections,
// one per exported page, and reading Palm DOC files back into pages.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "exchange/PalmDocFile.h"
#include "outline/FormatOptions.h"

namespace nuv {

class TOutlineTree;
class TTreeNode;

struct TMeDocEntry {
  std::string title;
  int dots = 0;      // depth dots of the index line; 0 and 1 are both top level
  std::string body;  // a page body: every line followed by CR LF
};

enum class TMeDocScope {
  FromPage,  // the start page and every page after it in tree order
  Subtree,   // the start page and its descendants
  Children,  // the start page's children, without their subtrees or dots
};

// The entries of the pages a scope takes from `start` (null: the first page
// of the tree). Depth dots count from the shallowest page taken so far: the
// start page and its siblings get one dot, each level below them one more,
// and a page above the start page's level starts again at one dot, so the
// index always describes the same forest the pages form in the tree.
std::vector<TMeDocEntry> CollectMeDocEntries(const TOutlineTree& tree, const TTreeNode* start, TMeDocScope scope);

// The MeDoc text: "#!Medoc index N", N lines "line:dots title" giving the
// 1-based line where each body begins, then the bodies' lines. CR LF ends.
std::string BuildMeDocText(const std::vector<TMeDocEntry>& entries);
// The entries of a MeDoc text; false when the text is not a well-formed MeDoc
// (no index line, too few index lines, line numbers out of order or range).
bool ParseMeDocText(std::string_view text, std::vector<TMeDocEntry>& entries);

// Writes the pages of `scope` as a compressed MeDoc named `databaseName`.
TPalmDocResult WriteMeDoc(const std::string& path, const TOutlineTree& tree, const TTreeNode* start,
                          TMeDocScope scope, std::string_view databaseName);
// The whole document as a MeDoc named after the file (Save as with ".prc").
TPalmDocResult WriteMeDocDocument(const std::string& path, const TOutlineTree& tree);

// Reads a Palm DOC image into `out`, which must be empty: a MeDoc becomes its
// pages again, any other Palm DOC one page named after its database name.
// Pages get the mark a text import gives a page without metadata.
TPalmDocResult ReadPalmDocPagesBytes(std::string_view image, const TFormatOptions& options, TOutlineTree& out);
TPalmDocResult ReadPalmDocPages(const std::string& path, const TFormatOptions& options, TOutlineTree& out);

// The text of a Palm DOC file as the insert command puts it at the caret: the
// decoded text read as lines, every line followed by CR LF.
TPalmDocResult ReadPalmDocLines(const std::string& path, std::string& text);

}  // namespace nuv
