// Open, save, save as and the close query.
#include "app/DocumentController.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <filesystem>

#include "app/AppSettings.h"
#include "app/Actions.h"
#include "app/AppTexts.h"
#include "app/FileDialogs.h"
#include "app/QtText.h"
#include "app/SessionState.h"
#include "app/WindowServices.h"
#include "base/Codec.h"
#include "base/FileIo.h"
#include "base/Prompts.h"
#include "base/Sjis.h"
#include "outline/BinaryFormat.h"
#include "outline/DocumentState.h"
#include "outline/OutlineTexts.h"
#include "outline/OutlineTree.h"
#include "outline/PageSwitch.h"
#include "outline/TextFormat.h"
#include "outline/TrashRules.h"

namespace nuv {

namespace {

// The title without its extension and without the characters file names
// cannot hold, stepping over trail bytes.
std::string ProposedNameFromTitle(std::string_view title) {
  std::size_t lastDot = std::string_view::npos;
  for (std::size_t i = 0; i < title.size(); i += CharLength(title, i)) {
    if (CharLength(title, i) != 1) continue;
    if (title[i] == '.') lastDot = i;
    if (title[i] == '\\' || title[i] == '/' || title[i] == ':') lastDot = std::string_view::npos;
  }
  if (lastDot != std::string_view::npos) title = title.substr(0, lastDot);
  std::string out;
  for (std::size_t i = 0; i < title.size();) {
    const std::size_t len = CharLength(title, i);
    if (len == 1 && std::string_view("\\/:,;*?\"<>|").find(title[i]) != std::string_view::npos) {
      ++i;
      continue;
    }
    out.append(title.substr(i, len));
    i += len;
  }
  return out;
}

std::string WithExtension(const std::string& path, const char* extension) {
  return std::filesystem::path(path).replace_extension(extension).string();
}

}  // namespace

TDocumentController::TDocumentController(IWindowServices& window, QObject* parent)
    : QObject(parent), m_window(window) {
  acOpen = MakeAction(this, "acOpen", QStringLiteral("開く(&O)"), QKeySequence(Qt::CTRL | Qt::Key_O));
  acSave = MakeAction(this, "acSave", QStringLiteral("上書き保存(&S)"), QKeySequence(Qt::CTRL | Qt::Key_S));
  acSaveAs = MakeAction(this, "acSaveAs", QStringLiteral("名前を付けて保存(&A)"), QKeySequence());
  connect(acOpen, &QAction::triggered, this, [this] { acOpenExecute(); });
  connect(acSave, &QAction::triggered, this, [this] { Save(); });
  connect(acSaveAs, &QAction::triggered, this, [this] { SaveAs(); });
}

void TDocumentController::OpenDocument(const std::string& path) {
  if (HasBinaryExtension(path))
    OpenBinary(path);
  else
    OpenText(path);
}

void TDocumentController::FinishOpen(const std::string& path) {
  TDocumentState& doc = m_window.Document();
  doc.path = path;
  m_window.Settings().LastFile = path;
  m_window.UpdateCaption();
  doc.ClearFlags();
  m_window.SetModifiedIndicator(false);
}

bool TDocumentController::OpenBinary(const std::string& path) {
  TOutlineTree& tree = m_window.Tree();
  if (!FileExists(path)) {
    m_window.AddPageAbove();
    AddToHistory(m_window.Session().FileHistory, path, TSessionState::kFileHistoryMax);
    FinishOpen(path);
    return true;
  }
  TOutlineTree scratch;
  const TBinaryReadResult r = ReadBinary(path, m_window.Settings().FormatOptions(), scratch);
  if (!r.ok) {
    m_window.Prompts().Error(texts::ReadError());
    return false;
  }
  tree.ReplaceWith(std::move(scratch));
  AddToHistory(m_window.Session().FileHistory, path, TSessionState::kFileHistoryMax);
  if (m_window.Settings().ExpandAll) tree.FullExpand();
  m_window.SelectPage(tree.GetNodeAt(r.selectedIndex));
  if (m_window.Settings().ExpandAll) m_window.ScrollTreeToTop();
  FinishOpen(path);
  return true;
}

bool TDocumentController::OpenText(const std::string& path) {
  TOutlineTree& tree = m_window.Tree();
  if (FileExists(path)) {
    TOutlineTree scratch;
    if (!ReadText(path, m_window.Settings().FormatOptions(), scratch)) {
      m_window.Prompts().Error(texts::ReadError());
      return false;
    }
    tree.ReplaceWith(std::move(scratch));
  } else {
    m_window.AddPageAbove();
  }
  AddToHistory(m_window.Session().TextHistory, path, TSessionState::kFileHistoryMax);
  TTreeNode* first = tree.GetFirstNode();
  if (m_window.Settings().ExpandAll) {
    tree.FullExpand();
    TTreeNode* last = tree.GetLastRootPage();
    if (last && last->Text() == texts::TrashTitle()) tree.Collapse(last);
  } else {
    tree.Expand(first);
  }
  m_window.SelectPage(first);
  if (m_window.Settings().ExpandAll) m_window.ScrollTreeToTop();
  FinishOpen(path);
  return true;
}

bool TDocumentController::Save() {
  m_window.PageSwitch().LeavePage(m_window.SelectedPage());
  const std::string path = m_window.Document().path;
  if (!path.empty() && HasBinaryExtension(path)) return SaveBinary(path);
  if (m_window.Settings().TextSave && FileExists(path)) return SaveText(path, false);
  return SaveAs();
}

bool TDocumentController::SaveBinary(const std::string& path) {
  const bool ok = WriteBinary(path, m_window.Tree(), m_window.SelectedPage());
  TDocumentState& doc = m_window.Document();
  doc.path = path;
  m_window.Settings().LastFile = path;
  m_window.UpdateCaption();
  if (!ok) {
    m_window.Prompts().Error(texts::WriteError());
    return false;
  }
  m_window.ShowStatusMessage(texts::FileSaved());
  doc.ClearFlags();
  m_window.SetModifiedIndicator(false);
  return true;
}

bool TDocumentController::SaveText(const std::string& path, bool noTitles) {
  const TTextWriteResult r =
      WriteText(path, m_window.Tree(), noTitles, nullptr, m_window.Settings().FormatOptions());
  if (r == TTextWriteResult::Failed) {
    m_window.Prompts().Error(texts::WriteError());
    return false;
  }
  if (r == TTextWriteResult::Empty) return false;
  m_window.ShowStatusMessage(texts::FileSaved());
  if (m_window.Settings().TextSave) {
    m_window.Document().path = path;
    m_window.Settings().LastFile = path;
    m_window.UpdateCaption();
    m_window.Document().ClearFlags();
    m_window.SetModifiedIndicator(false);
  }
  return true;
}

std::string TDocumentController::ProposedFileName() const {
  const TTreeNode* first = m_window.Tree().GetFirstNode();
  return first ? Cp932ToUtf8(ProposedNameFromTitle(first->Text())) : std::string();
}

bool TDocumentController::SaveAs() {
  m_window.PageSwitch().LeavePage(m_window.SelectedPage());
  const QStringList filters = {QStringLiteral("Pirka互換ファイル (*.pk2)"), QStringLiteral("階層テキスト (*.txt)")};
  const std::string docPath = m_window.Document().path;
  std::string folder = docPath;
  if (!folder.empty() && !DirectoryExists(folder)) folder = std::filesystem::path(folder).parent_path().string();
  if (folder.empty()) folder = QDir::homePath().toStdString();
  const std::string proposed = (std::filesystem::path(folder) / ProposedFileName()).string();
  const auto choice = m_window.Dialogs().SaveFile(m_window.Window(), PathToQString(proposed), filters);
  if (!choice) return false;
  std::string name = QStringToPath(choice->path);
  if (FileExists(name) && !m_window.Prompts().Question(texts::AskOverwrite(), true)) return false;
  const bool binary = choice->filterIndex == 0;
  name = WithExtension(name, binary ? ".pk2" : ".txt");
  return binary ? SaveBinary(name) : SaveText(name, false);
}

bool TDocumentController::CloseQuery() {
  if (!m_window.Document().ModifiedForClose()) return true;
  if (m_window.Settings().NoAskSave) return Save();
  switch (m_window.Prompts().QuestionCancel(texts::AskSaveChanged())) {
    case TAnswer::Cancel: return false;
    case TAnswer::No: return true;
    case TAnswer::Yes: break;
  }
  // A save that was cancelled or failed keeps the window, so nothing is lost.
  return Save();
}

void TDocumentController::acOpenExecute() {
  if (m_window.Document().Modified()) {
    if (m_window.Settings().NoAskSave) {
      Save();
    } else {
      const TAnswer a = m_window.Prompts().QuestionCancel(texts::AskSaveChanged());
      if (a == TAnswer::Cancel) return;
      if (a == TAnswer::Yes && !Save()) return;
    }
  }
  const QStringList filters = {QStringLiteral("nuvファイル (*.nuv *.pk2)"), QStringLiteral("階層テキスト (*)"),
                               QStringLiteral("Palm Docファイル (*.prc *.pdb)"),
                               QStringLiteral("すべてのファイル (*)")};
  const std::string data = m_window.Settings().Data;
  const auto choice = m_window.Dialogs().OpenFile(m_window.Window(), PathToQString(data), filters);
  if (!choice) return;
  const std::string path = QStringToPath(choice->path);
  if (choice->filterIndex == 0)
    OpenBinary(path);
  else
    OpenText(path);
  m_window.ShowCaretPosition();
}

}  // namespace nuv
