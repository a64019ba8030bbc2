// Find next and find previous: through the current page, and in list mode on
// through the pages of the result list.
#pragma once

#include <string>

#include "outline/PageEditor.h"

namespace nuv {

// What the walk needs of the window.
class IFindHost {
 public:
  virtual ~IFindHost() = default;
  virtual IPageEditor& Editor() = 0;
  virtual std::string FindBoxText() const = 0;
  virtual int ListCount() const = 0;
  // The selected row of the result list, -1 when none.
  virtual int SelectedListRow() const = 0;
  // Selects and focuses a row and makes its page the current page (without
  // starting a search of its own); false when the row's page is gone.
  virtual bool ShowListRow(int row) = 0;
  // The status bar: back to its panels, or "文字列が見つかりません。".
  virtual void ShowFound() = 0;
  virtual void ShowNotFound() = 0;
};

class TFindWalker {
 public:
  // After a find-all: the result list is walked with the dialog's options.
  void ListSearchStarted(TExSearchOptions options);
  // The user typed in the find box: the next find searches the current page only.
  void FindBoxEdited();
  // A result row was chosen: the next find starts anew in its page.
  void RowChosen() { m_started = false; }
  // The highlight was cancelled.
  void Cancelled() { m_started = false; }

  bool ListMode() const { return m_listMode; }
  bool Started() const { return m_started; }
  bool Running() const { return m_running; }

  // Each returns whether a hit was found; a bad pattern throws the engine's
  // error. A find asked for while one runs does nothing.
  bool FindNext(IFindHost& host);
  bool FindPrev(IFindHost& host);

 private:
  // Gives the editor the find box's text and the options of this search.
  void StartSearch(IFindHost& host);

  TExSearchOptions m_listOptions = 0;
  TExSearchOptions m_boxOptions = 0;
  bool m_started = false;
  bool m_listMode = false;
  bool m_running = false;
};

}  // namespace nuv
