// Find next and previous across the listed pages.
//
// Moving on to the next listed page and searching it is a loop here, not a
// search started again from the list's selection handler: a long run of
// listed pages without a hit in their bodies must not deepen the stack.
#include "search/FindWalker.h"

#include "base/ScopedFlag.h"

namespace nuv {

void TFindWalker::ListSearchStarted(TExSearchOptions options) {
  m_listOptions = options;
  m_listMode = true;
  m_started = false;
}

void TFindWalker::FindBoxEdited() {
  m_started = false;
  m_listMode = false;
}

void TFindWalker::StartSearch(IFindHost& host) {
  IPageEditor& editor = host.Editor();
  editor.SetFindString(host.FindBoxText());
  // Outside list mode the find box always searches by regular expression.
  if (m_listMode) {
    editor.SetSearchOptions(m_listOptions);
  } else {
    m_boxOptions |= SearchOption(soRegexp);
    editor.SetSearchOptions(m_boxOptions);
  }
  m_started = true;
}

bool TFindWalker::FindNext(IFindHost& host) {
  if (m_running) return false;
  const TScopedFlag running(m_running);
  bool found;
  if (m_started) {
    found = host.Editor().FindNext();
  } else {
    StartSearch(host);
    found = host.Editor().FindNext();
  }
  for (int row = host.SelectedListRow(); !found && m_listMode && row >= 0 && row + 1 < host.ListCount();) {
    ++row;
    if (!host.ShowListRow(row)) continue;
    host.Editor().SetSelStart(0);
    StartSearch(host);
    found = host.Editor().FindNext();
  }
  if (found)
    host.ShowFound();
  else
    host.ShowNotFound();
  return found;
}

bool TFindWalker::FindPrev(IFindHost& host) {
  if (m_running) return false;
  const TScopedFlag running(m_running);
  if (!m_started) StartSearch(host);
  bool found = host.Editor().FindPrev();
  for (int row = host.SelectedListRow(); !found && m_listMode && row > 0;) {
    --row;
    if (!host.ShowListRow(row)) continue;
    // From the very end, so a hit that ends at the last character is found too.
    host.Editor().SetSelStart(static_cast<int>(host.Editor().Text().size()));
    StartSearch(host);
    found = host.Editor().FindPrev();
  }
  if (found)
    host.ShowFound();
  else
    host.ShowNotFound();
  return found;
}

}  // namespace nuv
