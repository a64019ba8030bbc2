// Hierarchical text: a line that starts with dots is a page heading and the
// dot count is its depth; "##nuv##," under a heading carries mark and label.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "outline/FormatOptions.h"

namespace nuv {

class IByteSink;
class TOutlineTree;
class TTreeNode;

// Reads a whole document into `out`, which must be empty. `fileName` (Shift
// JIS) names the root page of a file that does not begin with a heading. An
// empty text gives one page "無題". A metadata line whose items are not 32-bit
// decimal numbers gives the defaults. False when the bytes cannot be read;
// the caller then discards `out`.
bool ReadTextBytes(std::string_view bytes, std::string_view fileName, const TFormatOptions& options,
                   TOutlineTree& out);
bool ReadText(const std::string& path, const TFormatOptions& options, TOutlineTree& out);

// Imports a file's pages after `importParent` (depth 1 becomes its next
// siblings; a first heading of depth 2 or more becomes its children). The
// document changes only when the read succeeds. Returns the first imported
// page, or null when the read failed or gave no page.
TTreeNode* ImportTextBytes(std::string_view bytes, std::string_view fileName, const TFormatOptions& options,
                           TOutlineTree& doc, TTreeNode* importParent, bool& ok);
TTreeNode* ImportText(const std::string& path, const TFormatOptions& options, TOutlineTree& doc,
                      TTreeNode* importParent, bool& ok);

enum class TTextWriteResult { Written, Empty, TooLarge, Failed };

// A heading's dots are built by repetition, one per level: a deep tree would
// write gigabytes of them. Like the tree block of a .pk2 file, the headings'
// dots of one text file are limited to 2 GB in all.
constexpr std::size_t kMaxTextHeadingMarks = 0x7FFFFFFF;
// The dots the headings of the whole document (or of subtreeRoot and its
// descendants) take, counted without building them; none beyond the limit.
std::optional<std::size_t> TextHeadingMarkCount(const TOutlineTree& tree, const TTreeNode* subtreeRoot);

// The text of the whole document, or of subtreeRoot and its descendants.
// `noTitles` leaves the titles out (the heading carries the body's first line).
std::string BuildText(const TOutlineTree& tree, bool noTitles, const TTreeNode* subtreeRoot,
                      const TFormatOptions& options);
// The same into a sink; false when there is no page to write.
bool BuildText(const TOutlineTree& tree, bool noTitles, const TTreeNode* subtreeRoot, const TFormatOptions& options,
               IByteSink& out);
// Writes atomically; an empty result writes nothing, and neither does a
// document beyond kMaxTextHeadingMarks (TooLarge).
TTextWriteResult WriteText(const std::string& path, const TOutlineTree& tree, bool noTitles,
                           const TTreeNode* subtreeRoot, const TFormatOptions& options);

// The Shift JIS name of a file for a page title: the last path component,
// with characters Shift JIS cannot hold shown as "?".
std::string FileNameTitle(const std::string& path);

}  // namespace nuv
