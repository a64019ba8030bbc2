// The page switch.
#include "outline/PageSwitch.h"

#include <filesystem>

#include "base/Codec.h"
#include "base/FileIo.h"
#include "base/Prompts.h"
#include "base/Title.h"
#include "outline/DocumentState.h"
#include "outline/LightStrings.h"
#include "outline/OutlineTexts.h"
#include "outline/OutlineTree.h"
#include "outline/PageEditor.h"
#include "outline/TrashRules.h"

namespace nuv {

namespace texts {
NUV_FIXED_TEXT(AskSaveLinkedFile, "リンク先のファイルを保存しますか？")
}

namespace {
constexpr std::string_view kDirectLink = "<DirectLink:";

std::string_view FirstLine(std::string_view text) { return text.substr(0, text.find_first_of("\r\n")); }
}  // namespace

bool StartsWithDirectLink(std::string_view text) { return text.substr(0, kDirectLink.size()) == kDirectLink; }

TPageSwitch::TPageSwitch(TOutlineTree& tree, IPageEditor& editor, IPageSwitchHost& host, IPrompts& prompts,
                         TDocumentState& state, const TPageSwitchSettings& settings)
    : m_tree(tree), m_editor(editor), m_host(host), m_prompts(prompts), m_state(state), m_settings(settings) {}

std::string DirectLinkPath(std::string_view body, const std::string& documentPath) {
  if (!StartsWithDirectLink(body)) return std::string();
  std::string_view link = FirstLine(body).substr(kDirectLink.size());
  // Only a closing ">" goes (0x3E is never a trail byte): a link without one
  // is taken as it stands, so no character is ever cut in half.
  if (!link.empty() && link.back() == '>') link.remove_suffix(1);
  std::string path = Cp932ToUtf8(link);
  // Links written elsewhere may use "\" as the separator.
  for (char& c : path)
    if (c == '\\') c = '/';
  const bool absolute = (!path.empty() && path[0] == '/') || (path.size() > 1 && path[1] == ':');
  if (absolute || path.empty()) return path;
  const std::filesystem::path folder = std::filesystem::path(documentPath).parent_path();
  return (folder / path).lexically_normal().string();
}

bool ReadLinkedFile(const std::string& path, std::string& text) {
  TLightStrings lines;
  if (!lines.LoadFromFile(path)) return false;
  text = lines.GetTextStr();
  return true;
}

std::string TPageSwitch::DirectLinkTarget(std::string_view body) const { return DirectLinkPath(body, m_state.path); }

bool TPageSwitch::SaveLinkedFile() {
  if (m_settings.AskSaveDL && !m_prompts.Question(texts::AskSaveLinkedFile())) return false;
  if (!WriteFileAtomic(m_state.directLinkPath, m_editor.Text())) {
    m_prompts.Error(texts::WriteError());
    return false;
  }
  return true;
}

void TPageSwitch::StorePage(TTreeNode* page, bool withBody) {
  if (!page) return;
  TNodeData& data = m_tree.EnsureData(page);
  if (!IsTrashPage(page) && (m_host.TitleBoxText() == texts::Untitled() || m_settings.PirkaCompatible)) {
    const std::string text = m_editor.Text();
    const std::string_view first = FirstLine(text);
    const std::string title = first.empty() ? texts::Untitled() : DeriveTitle(first);
    m_tree.SetText(page, title.empty() ? texts::Untitled() : title);
    m_host.SetTitleBoxText(page->Text());
  }
  if (withBody) {
    if (m_state.directLinkPath.empty() || !m_state.directLinkView)
      data.SetBody(m_editor.Text());
    else
      SaveLinkedFile();
  }
  data.SetMark(page->ImageIndex());
}

void TPageSwitch::LeavePage(TTreeNode* selected) {
  if (!selected) return;
  const std::string text = m_editor.Text();
  if (m_state.directLinkPath.empty() || m_state.directLinkView || !text.empty()) {
    if (!text.empty() && StartsWithDirectLink(text)) m_tree.SetOverlayIndex(selected, 0);
  } else {
    m_state.directLinkPath.clear();
    m_tree.SetOverlayIndex(selected, -1);
  }
  if (m_editor.Modified() || m_state.PageDirty) StorePage(selected, true);
  if (TNodeData* data = selected->Data()) data->SetCaretPos(m_editor.SelStart());
}

void TPageSwitch::ShowPage(TTreeNode* page) {
  if (!page) return;
  if (const TNodeData* data = page->Data()) {
    m_state.directLinkPath = DirectLinkTarget(data->Body());
    if (!m_state.directLinkPath.empty() && m_state.directLinkView) {
      std::string text;
      ReadLinkedFile(m_state.directLinkPath, text);
      m_editor.SetText(text);
    } else {
      m_editor.SetText(data->Body());
    }
    m_editor.SetSelStart(data->CaretPos());
  } else {
    m_editor.SetText(std::string_view());
    m_state.directLinkPath.clear();
  }
  m_editor.SetModified(false);
  m_host.SetTitleBoxText(page->Text());
  if (IsTrashPage(page)) {
    m_host.SetMarkCommandEnabled(false);
    m_host.SetTreeReadOnly(true);
    m_host.SetTitleBoxEnabled(false);
  } else {
    m_host.SetMarkCommandEnabled(true);
    if (!m_settings.PirkaCompatible) {
      m_host.SetTreeReadOnly(false);
      m_host.SetTitleBoxEnabled(true);
    }
    m_host.ShowPageAttributes(page);
  }
  m_state.PageDirty = false;
  if (m_settings.AlwaysSave) m_state.ViewDirty = true;
}

void TPageSwitch::TitleBoxChanged(TTreeNode* selected, std::string_view boxText) {
  if (!selected || selected->Text() == boxText) return;
  m_tree.SetText(selected, boxText);
  m_state.DocModified = true;
  m_state.PageDirty = true;
}

bool TPageSwitch::EditorChanged() {
  if (!m_editor.Modified() || m_state.DocModified) return false;
  m_state.DocModified = true;
  return true;
}

}  // namespace nuv
