// Choosing the exchange format, and importing read pages.
#include "exchange/ExchangeFormat.h"

#include <filesystem>

#include "base/AsciiCase.h"
#include "base/FileIo.h"
#include "outline/OutlineTexts.h"
#include "outline/OutlineTree.h"
#include "outline/TrashRules.h"

namespace nuv {

TExchangeFormat ExchangeFormatOf(const std::string& path) {
  const std::string ext = std::filesystem::path(path).extension().string();
  auto is = [&](const char* e) { return AsciiEqualNoCase(ext, e); };
  if (is(".opml")) return TExchangeFormat::Opml;
  if (is(".md") || is(".markdown")) return TExchangeFormat::Markdown;
  if (is(".html") || is(".htm")) return TExchangeFormat::Html;
  return TExchangeFormat::None;
}

TTreeNode* ImportPages(TOutlineTree& doc, TTreeNode* importParent, TOutlineTree& scratch) {
  TTreeNode* first = scratch.GetFirstNode();
  if (!first) return nullptr;
  doc.BeginUpdate();
  if (importParent)
    doc.AdoptChildren(importParent->Parent(), importParent->Index() + 1, scratch, nullptr);
  else
    doc.AdoptChildren(nullptr, doc.RootCount(), scratch, nullptr);
  TTreeNode* last = doc.GetLastRootPage();
  if (last && last->Text() == texts::TrashTitle()) UpdateTrashPicture(doc, last);
  doc.EndUpdate();
  return first;
}

void FlushLarge(std::string& buf, IByteSink& out) {
  // Small enough to stay in the cache between the converter and the writer.
  if (buf.size() < (1u << 16)) return;
  out.Append(buf);
  buf.clear();
}

std::string DocumentNameOf(const std::string& path) { return std::filesystem::path(path).stem().string(); }

}  // namespace nuv
