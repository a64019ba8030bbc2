// What the command controllers may reach of the main window: the document,
// the page editor, the prompts and dialogs, the status bar and the selection.
#pragma once

#include <string>

class QWidget;

namespace nuv {

class IFileDialogs;
class IPageEditor;
class IPrompts;
class TOutlineTree;
class TPageSwitch;
class TTreeNode;
struct TAppSettings;
struct TDocumentState;
struct TSessionState;

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
  virtual TAppSettings& Settings() = 0;
  virtual TSessionState& Session() = 0;

  virtual TTreeNode* SelectedPage() = 0;
  // Selects a page (running the page switch) and makes it visible.
  virtual void SelectPage(TTreeNode* page) = 0;
  virtual void ScrollTreeToTop() = 0;
  // A Shift JIS message in the status bar's single-text mode.
  virtual void ShowStatusMessage(const std::string& sjis) = 0;
  virtual void SetModifiedIndicator(bool modified) = 0;
  // Caption and application title from the document path.
  virtual void UpdateCaption() = 0;
  virtual void ShowCaretPosition() = 0;
  // Adds a page "無題" above the selected one, selects it and starts its title edit.
  virtual TTreeNode* AddPageAbove() = 0;
};

}  // namespace nuv
