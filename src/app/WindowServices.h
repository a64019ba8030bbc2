// What the command controllers may reach of the main window: the document,
// the page editor, the prompts and dialogs, the status bar and the selection.
#pragma once

#include <string>

#include "app/MenuSlots.h"

class QComboBox;
class QLineEdit;
class QMenu;
class QTreeWidget;
class QWidget;

namespace nuv {

class IFileDialogs;
class IPageEditor;
class IProgramLauncher;
class IPrompts;
class TnuvConfig;
class TOutlineTree;
class TOutlineView;
class TPagePictures;
class TPageSwitch;
class TTreeNode;
struct TDocumentState;
struct TFormatOptions;
struct TSessionState;

// Which control has the focus, as the edit commands see it.
enum class TFocusArea { Tree, ChildrenList, SearchList, TitleBox, FindBox, Editor };

class IWindowServices {
 public:
  virtual ~IWindowServices() = default;
  virtual QWidget* Window() = 0;
  virtual TOutlineTree& Tree() = 0;
  virtual TDocumentState& Document() = 0;
  virtual TPageSwitch& PageSwitch() = 0;
  virtual IPageEditor& Editor() = 0;
  virtual IPrompts& Prompts() = 0;
  virtual IFileDialogs& Dialogs() = 0;
  virtual IProgramLauncher& Launcher() = 0;
  virtual TnuvConfig& Config() = 0;
  virtual TFormatOptions FormatOptions() const = 0;
  virtual TSessionState& Session() = 0;

  virtual TTreeNode* SelectedPage() = 0;
  // Selects a page (running the page switch) and makes it visible.
  virtual void SelectPage(TTreeNode* page) = 0;
  virtual TTreeNode* TopVisiblePage() = 0;
  virtual void ScrollTreeToTop() = 0;
  // A Shift JIS message in the status bar's single-text mode; an empty one
  // puts the bar back to its panels.
  virtual void ShowStatusMessage(const std::string& sjis) = 0;
  virtual void SetModifiedIndicator(bool modified) = 0;
  // Caption and application title from the document path.
  virtual void UpdateCaption() = 0;
  virtual void ShowCaretPosition() = 0;
  // Adds a page "無題" above the selected one, selects it and starts its title edit.
  virtual TTreeNode* AddPageAbove() = 0;
  // Loads the window's own sections and the settings from a file and applies
  // them ("nuv.ini": the program folder's file).
  virtual void LoadSettingsFrom(const std::string& name) = 0;
  // Applies the settings to the page editor and the window after they changed.
  virtual void ApplySettings() = 0;
  // Writes the window's own sections into an ini file image.
  virtual void WriteWindowSections(class TIniFile& ini) = 0;
  // The lists that refer to pages: search results, children, back and forward.
  virtual void ClearPageLists() = 0;
  // Ends the program without the close query (the already-open check at start-up).
  virtual void QuitWithoutSaving() = 0;

  virtual TFocusArea FocusArea() const = 0;
  virtual TOutlineView* TreeView() = 0;
  virtual QTreeWidget* ChildrenList() = 0;
  virtual QTreeWidget* SearchList() = 0;
  virtual QLineEdit* TitleBox() = 0;
  // The find box of the editor's toolbar (`cbFind`).
  virtual QComboBox* FindBox() = 0;
  // Shows the list pane with the search results in front.
  virtual void ShowSearchList() = 0;
  virtual const TPagePictures& Pictures() const = 0;
  // The new-page setup: select the page, mark and label it, start its title edit.
  virtual void NewPageSetup(TTreeNode* page, bool startTitleEdit = true) = 0;
  // Fills the children list with the page's siblings when the list pane is shown.
  virtual void FillChildrenList(TTreeNode* page) = 0;
  virtual bool ListPaneVisible() const = 0;
  // Recomputes which commands are enabled.
  virtual void UpdateActions() = 0;
  // The menu of a slot; controllers append their items to it.
  virtual QMenu* Menu(TMenuSlot slot) = 0;
};

}  // namespace nuv
