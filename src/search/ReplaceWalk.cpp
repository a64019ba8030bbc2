// Replace and query-replace over pages.
//
// A page the user is asked about becomes the current page and is changed
// through the editor, so every replacement is an edit of that page. With
// "replace all" a page is searched from its top (a caret left after its last
// hit must not make the walk pass it over while it reports a count); asking
// starts at the caret, as the user expects of a query. Once everything is
// replaced without asking, a page that is not shown is changed in its body's
// bytes: loading each page into the editor's rows would cost most of the
// time, and the result is the same.
#include "search/ReplaceWalk.h"

#include "outline/NodeData.h"
#include "search/EditorMatcher.h"

namespace nuv {

void TReplaceWalk::GiveSearch(const TReplaceRequest& request) {
  IPageEditor& editor = m_host.Editor();
  editor.SetFindString(request.pattern);
  editor.SetSearchOptions(request.options);
}

TQueryAnswer TReplaceWalk::Query(const TReplaceRequest& request) {
  IPageEditor& editor = m_host.Editor();
  for (;;) {
    switch (m_host.AskReplace()) {
      case TQueryAnswer::Yes:
        GiveSearch(request);
        // The hit shown is replaced: the search runs from its start.
        editor.SetSelStart(editor.SelStart());
        if (!editor.Replace(request.replacement, true)) return TQueryAnswer::Yes;
        ++m_count;
        if (!editor.FindNext()) return TQueryAnswer::Yes;
        break;
      case TQueryAnswer::No:
        GiveSearch(request);
        if (!editor.FindNext()) return TQueryAnswer::No;
        break;
      case TQueryAnswer::ReplaceAll:
        GiveSearch(request);
        m_count += editor.ReplaceAll(request.replacement, true);
        return TQueryAnswer::ReplaceAll;
      case TQueryAnswer::Cancel: return TQueryAnswer::Cancel;
      case TQueryAnswer::Closed: return TQueryAnswer::Closed;
    }
  }
}

TQueryAnswer TReplaceWalk::ReplaceInPage(const TReplaceRequest& request, bool fromTop) {
  IPageEditor& editor = m_host.Editor();
  GiveSearch(request);
  if (m_all) {
    if (fromTop) editor.SetSelStart(0);
    if (editor.Find()) m_count += editor.ReplaceAll(request.replacement, true);
    return TQueryAnswer::ReplaceAll;
  }
  if (!editor.Find()) return TQueryAnswer::No;
  return Query(request);
}

void TReplaceWalk::ReplaceInBody(TBodyReplacer& replacer, TTreeNode& page, TReplaceUndo& undo) {
  // A page without a record shows an empty text: nothing to replace.
  TNodeData* data = page.Data();
  if (!data) return;
  m_count += replacer.Replace(data->Body(), true);
  if (!replacer.Changed()) return;
  undo.Record(page.Id(), data->Body(), replacer.Body());
  data->MutableBody().swap(replacer.Body());
}

int TReplaceWalk::Run(const TReplaceRequest& request, TTreeNode* selected, TReplaceUndo& undo) {
  m_all = request.all;
  m_count = 0;
  undo.Clear();
  IPageEditor& editor = m_host.Editor();
  TEditorMatcher bodySearch;
  bodySearch.SetQuery(request.pattern, request.options);
  TBodyReplacer replacer(bodySearch.Editor(), request.replacement);
  std::vector<TNodeId> ids;
  for (TTreeNode* page : PagesInRange(m_tree, selected, request.range)) ids.push_back(page->Id());
  TNodeId shown = selected ? selected->Id() : 0;
  for (TNodeId id : ids) {
    // A page may go while the user answers: it is passed over, never touched.
    TTreeNode* page = m_tree.FindById(id);
    if (!page) continue;
    if (m_all && id != shown && !editor.ReadOnly() && m_host.CanChangeBodyDirectly(*page)) {
      // No question follows, so the count is shown once at the end.
      ReplaceInBody(replacer, *page, undo);
      continue;
    }
    if (request.range != TReplaceRange::CurrentPage) {
      m_host.ShowPage(page);
      shown = id;
    }
    const std::string before = editor.Text();
    const TQueryAnswer answer = ReplaceInPage(request, request.range != TReplaceRange::CurrentPage);
    const std::string after = editor.Text();
    if (after != before) undo.Record(id, before, after);
    m_host.ShowCount(m_count);
    if (answer == TQueryAnswer::Cancel) break;
    if (answer == TQueryAnswer::ReplaceAll) m_all = true;
  }
  m_host.ShowCount(m_count);
  return m_count;
}

}  // namespace nuv
