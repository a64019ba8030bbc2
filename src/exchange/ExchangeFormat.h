// What the OPML, Markdown and HTML readers and writers share: the format a
// file name asks for, the read options and results, and the import of read
// pages at a page of the open document.
#pragma once

#include <string>

#include "outline/FormatOptions.h"

namespace nuv {

class IByteSink;
class TOutlineTree;
class TTreeNode;

enum class TExchangeFormat { None, Opml, Markdown, Html };

// By extension, any case: ".opml"; ".md" or ".markdown"; ".html" or ".htm".
TExchangeFormat ExchangeFormatOf(const std::string& path);

// Nesting deeper than this is placed at this depth, so a hostile file cannot
// build a tree whose recursive teardown overflows the stack.
constexpr int kMaxExchangeDepth = 1000;

struct TExchangeReadOptions {
  TFormatOptions format;     // ClearLabel1 decides the label picture of pages without one
  bool substitute = false;   // put "〓" for characters Shift JIS cannot hold instead of refusing
};

enum class TExchangeStatus {
  Ok,
  CannotRead,    // no such file, or it cannot be read
  Malformed,     // not well-formed XML, or not an OPML document
  Unencodable,   // a character Shift JIS cannot hold, and no substitution asked
};

struct TExchangeReadResult {
  TExchangeStatus status = TExchangeStatus::Ok;
  int line = 0;             // where the problem is (1-based), or the first substituted character
  std::string detail;       // UTF-8: the parser's message, or the character
  bool substituted = false; // a character was replaced by "〓"
  bool ok() const { return status == TExchangeStatus::Ok; }
};

struct TExchangeWriteResult {
  bool ok = false;
  // The first page (tree order) holding a control byte that XML cannot hold
  // and that was left out; null when none was.
  const TTreeNode* controlPage = nullptr;
};

inline TExchangeReadResult CannotRead() {
  TExchangeReadResult r;
  r.status = TExchangeStatus::CannotRead;
  return r;
}

// The writers build their text in pieces of about 64 KB, handed to the
// sink while they are still in the cache.
void FlushLarge(std::string& buf, IByteSink& out);

// Pages read from a file (all pages of `scratch`) put into the document:
// after `importParent` as its next siblings, or as the last root pages when
// it is null. Returns the first of them, null when scratch was empty.
TTreeNode* ImportPages(TOutlineTree& doc, TTreeNode* importParent, TOutlineTree& scratch);

// The name of a document for a title inside an exported file: the file name
// without its extension, UTF-8.
std::string DocumentNameOf(const std::string& path);

}  // namespace nuv
