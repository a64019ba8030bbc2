// The page switch: how the text of the selected page moves between the page
// editor and the page's node record when the selection changes.
#pragma once

#include <string>
#include <string_view>

#include "base/TextEncoding.h"

namespace nuv {

class IPageEditor;
class IPrompts;
class TOutlineTree;
class TTreeNode;
struct TDocumentState;

// What the page switch needs of the window around it.
class IPageSwitchHost {
 public:
  virtual ~IPageSwitchHost() = default;
  virtual std::string TitleBoxText() const = 0;
  virtual void SetTitleBoxText(std::string_view sjis) = 0;
  virtual void SetTitleBoxEnabled(bool enabled) = 0;
  virtual void SetTreeReadOnly(bool readOnly) = 0;
  virtual void SetMarkCommandEnabled(bool enabled) = 0;
  // Mark and label buttons, menu checks and hints follow the shown page.
  virtual void ShowPageAttributes(const TTreeNode* page) = 0;
};

struct TPageSwitchSettings {
  bool PirkaCompatible = false;
  bool AlwaysSave = false;
  bool AskSaveDL = false;
};

class TPageSwitch {
 public:
  TPageSwitch(TOutlineTree& tree, IPageEditor& editor, IPageSwitchHost& host, IPrompts& prompts,
              TDocumentState& state, const TPageSwitchSettings& settings);

  // Stores the editor into P's record (created when missing); derives the
  // title from the first line while the title box holds "無題".
  void StorePage(TTreeNode* page, bool withBody);
  // Before the selection moves, when the editor loses the focus, before saving.
  void LeavePage(TTreeNode* selected);
  // After the selection moved: loads the page (or its linked file) into the editor.
  void ShowPage(TTreeNode* page);

  // The title box changed: copy it into the page's title when they differ.
  void TitleBoxChanged(TTreeNode* selected, std::string_view boxText);
  // The editor's text changed; true when this made the document modified
  // (the status bar then shows "変更").
  bool EditorChanged();

  // The user turned the direct-link view on or off: the link line of the
  // editor is taken (turning on), the page left, the view switched and the
  // page shown again.
  void ToggleDirectLinkView(TTreeNode* selected);

 private:
  bool SaveLinkedFile();

  TOutlineTree& m_tree;
  IPageEditor& m_editor;
  IPageSwitchHost& m_host;
  IPrompts& m_prompts;
  TDocumentState& m_state;
  const TPageSwitchSettings& m_settings;
};

// Whether a text's first line begins with "<DirectLink:".
bool StartsWithDirectLink(std::string_view text);

// The file a body's first line "<DirectLink:path>" links to, as a native path
// made absolute against the document's folder (as links resolve their paths);
// empty when the body is no direct link or its path cannot name a file here.
std::string DirectLinkPath(std::string_view body, const std::string& documentPath);

// The message of a linked file that could not be read, with its path.
std::string LinkedFileUnreadableMessage(const std::string& nativePath);

// The text of a directly linked file, in any encoding, as the editor shows
// it; false when it cannot be read or holds characters Shift JIS cannot hold
// (nothing is replaced without the user's word). `form` receives how the file
// is stored, for writing it back.
bool ReadLinkedFile(const std::string& path, std::string& text, TTextForm* form = nullptr);

}  // namespace nuv
