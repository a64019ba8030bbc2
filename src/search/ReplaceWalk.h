// Replace and query-replace over a range of pages, through the page editor.
#pragma once

#include <string>
#include <vector>

#include "outline/OutlineTree.h"
#include "outline/PageEditor.h"
#include "search/BodyReplace.h"
#include "search/FindRange.h"
#include "search/ReplaceUndo.h"

namespace nuv {

// The answers of the query-replace dialog.
enum class TQueryAnswer { Yes, No, ReplaceAll, Cancel, Closed };

// What the walk needs of the window.
class IReplaceHost {
 public:
  virtual ~IReplaceHost() = default;
  virtual IPageEditor& Editor() = 0;
  // Makes a page the current page (the page switch stores the one left).
  virtual void ShowPage(TTreeNode* page) = 0;
  // Whether "replace all" may change a page that is not shown in its body's
  // bytes, because showing it would load exactly that body and storing it
  // would change nothing but the body (no linked file, no title taken from
  // the first line).
  virtual bool CanChangeBodyDirectly(const TTreeNode& page) const = 0;
  // Asks about the hit selected in the editor.
  virtual TQueryAnswer AskReplace() = 0;
  // "%d 件置換しました。" with the running count.
  virtual void ShowCount(int count) = 0;
};

struct TReplaceRequest {
  std::string pattern;
  std::string replacement;
  TExSearchOptions options = 0;
  TReplaceRange range = TReplaceRange::CurrentPage;
  bool all = false;  // replace everything without asking
};

class TReplaceWalk {
 public:
  TReplaceWalk(TOutlineTree& tree, IReplaceHost& host) : m_tree(tree), m_host(host) {}

  // Runs a replace from the selected page; returns the number of replacements.
  // Pages it changed are remembered in `undo` with their texts before and after.
  int Run(const TReplaceRequest& request, TTreeNode* selected, TReplaceUndo& undo);

 private:
  // One page, already current: replaces as the mode says and returns the
  // answer that decides how the walk goes on.
  TQueryAnswer ReplaceInPage(const TReplaceRequest& request, bool fromTop);
  // "Replace all" in a page that is not shown, in its body's bytes.
  void ReplaceInBody(TBodyReplacer& replacer, TTreeNode& page, TReplaceUndo& undo);
  // The query dialog on the hit shown in the editor.
  TQueryAnswer Query(const TReplaceRequest& request);
  void GiveSearch(const TReplaceRequest& request);

  TOutlineTree& m_tree;
  IReplaceHost& m_host;
  bool m_all = false;
  int m_count = 0;
};

}  // namespace nuv
