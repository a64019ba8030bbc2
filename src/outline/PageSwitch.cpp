// The page switch.
#include "outline/PageSwitch.h"

#include "base/Codec.h"
#include "base/FileIo.h"
#include "base/Prompts.h"
#include "base/SubstituteQuestion.h"
#include "base/Title.h"
#include "outline/CaretPos.h"
#include "outline/DocumentState.h"
#include "outline/LightStrings.h"
#include "outline/LinkOpen.h"
#include "outline/OutlineTexts.h"
#include "outline/OutlineTree.h"
#include "outline/PageEditor.h"
#include "outline/TrashRules.h"

namespace nuv {

namespace texts {
NUV_FIXED_TEXT(AskSaveLinkedFile, "リンク先のファイルを保存しますか？")
NUV_FIXED_TEXT(LinkedFileUnreadable, "リンク先のファイルを読み込めません: ")
}

namespace {
std::string_view FirstLine(std::string_view text) { return text.substr(0, text.find_first_of("\r\n")); }
}  // namespace

bool StartsWithDirectLink(std::string_view text) { return text.substr(0, kDirectLinkPrefix.size()) == kDirectLinkPrefix; }

std::string LinkedFileUnreadableMessage(const std::string& nativePath) {
  // A path Shift JIS cannot hold is left out of the message.
  return texts::LinkedFileUnreadable() + Utf8ToCp932(nativePath).value_or(std::string());
}

TPageSwitch::TPageSwitch(TOutlineTree& tree, IPageEditor& editor, IPageSwitchHost& host, IPrompts& prompts,
                         TDocumentState& state, const TPageSwitchSettings& settings)
    : m_tree(tree), m_editor(editor), m_host(host), m_prompts(prompts), m_state(state), m_settings(settings) {}

std::string DirectLinkPath(std::string_view body, const std::string& documentPath) {
  if (!StartsWithDirectLink(body)) return std::string();
  return ResolveLinkPath(ParseLink(FirstLine(body)).target, documentPath).value_or(std::string());
}

namespace {
// Text as the editor holds it: every line ended by CR LF.
std::string AsEditorText(std::string_view sjis) {
  TLightStrings lines;
  lines.LoadFromBytes(sjis);
  return lines.GetTextStr();
}
}  // namespace

bool ReadLinkedFile(const std::string& path, std::string& text, TTextForm* form) {
  TDecodedText decoded;
  if (ReadTextFile(path, TSubstitution::Refuse, decoded) != TTextFileResult::Ok) return false;
  text = AsEditorText(decoded.sjis);
  if (form) *form = decoded.form;
  return true;
}

bool TPageSwitch::SaveLinkedFile() {
  if (m_settings.AskSaveDL && !m_prompts.Question(texts::AskSaveLinkedFile())) return false;
  if (!WriteFileAtomic(m_state.directLinkPath, EncodeTextFile(m_editor.Text(), m_state.directLinkForm))) {
    ShowFileError(m_prompts, texts::WriteError());
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
    else if (m_editor.Modified() && SaveLinkedFile())
      // The file now holds the text: a title or mark change alone, or the
      // focus leaving again, does not write it once more.
      m_editor.SetModified(false);
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
    m_state.directLinkPath = DirectLinkPath(data->Body(), m_state.path);
    TDecodedText linked;
    if (!m_state.directLinkPath.empty() && m_state.directLinkView) {
      const TTextFileResult read = ReadTextFileAsking(m_prompts, m_state.directLinkPath, linked);
      // A file that cannot be read is said so; one the user kept as it is
      // says nothing more. Either way the page shows its own body, and
      // nothing is ever written to the linked file from here.
      if (read == TTextFileResult::ReadFailed) ShowFileError(m_prompts, LinkedFileUnreadableMessage(m_state.directLinkPath));
      if (read != TTextFileResult::Ok) m_state.directLinkPath.clear();
    }
    m_state.directLinkForm = linked.form;
    if (!m_state.directLinkPath.empty() && m_state.directLinkView) {
      m_editor.SetText(AsEditorText(linked.sjis));
    } else {
      m_editor.SetText(data->Body());
    }
    // The stored offset may come from another program or an older text.
    m_editor.SetSelStart(ClampCaretPos(m_editor.Text(), data->CaretPos()));
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

void TPageSwitch::ToggleDirectLinkView(TTreeNode* selected) {
  if (!m_state.directLinkView) {
    // Turning on: a link line typed while the view was off becomes the
    // page's link (LeavePage stores the text as its body).
    const std::string text = m_editor.Text();
    m_state.directLinkPath = DirectLinkPath(text, m_state.path);
    if (selected) m_tree.SetOverlayIndex(selected, StartsWithDirectLink(text) ? 0 : -1);
  }
  LeavePage(selected);
  m_state.directLinkView = !m_state.directLinkView;
  if (selected && !m_state.directLinkPath.empty()) ShowPage(selected);
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
