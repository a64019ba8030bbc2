// The document lifecycle.
#include "app/DocumentController.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <filesystem>

#include "app/Actions.h"
#include "app/AppTexts.h"
#include "app/ExchangeDocuments.h"
#include "app/FileDialogs.h"
#include "app/LifecycleTexts.h"
#include "app/PreOpenDialog.h"
#include "app/ProgramLauncher.h"
#include "app/QtText.h"
#include "app/SessionState.h"
#include "app/WaitCursor.h"
#include "app/WindowServices.h"
#include "base/Codec.h"
#include "base/FileIo.h"
#include "base/IniFile.h"
#include "base/ProgramFolder.h"
#include "base/Prompts.h"
#include "base/Sjis.h"
#include "base/SubstituteQuestion.h"
#include "config/FileTypeRegistration.h"
#include "config/NuvConfig.h"
#include "config/SettingsFiles.h"
#include "exchange/ExchangeTexts.h"
#include "exchange/MeDoc.h"
#include "exchange/PalmDocFile.h"
#include "outline/BinaryFormat.h"
#include "outline/DocumentState.h"
#include "outline/EncodedText.h"
#include "outline/LightStrings.h"
#include "outline/OutlineTexts.h"
#include "outline/OutlineTree.h"
#include "outline/PageEditor.h"
#include "outline/PageSwitch.h"
#include "outline/TextFormat.h"
#include "outline/TextSaveCheck.h"

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

std::string FolderOf(const std::string& path) { return std::filesystem::path(path).parent_path().string(); }

// A native path kept in a Shift JIS setting, unless Shift JIS cannot hold it.
void StorePath(std::string& setting, const std::string& path) {
  if (const auto sjis = Utf8ToCp932(path)) setting = *sjis;
}

// "*.nuv;*.pk2" as a Qt filter pattern list.
QString QtPatterns(const std::string& patterns) {
  return ToQString(patterns).split(QLatin1Char(';'), Qt::SkipEmptyParts).join(QLatin1Char(' '));
}

QMenu* MakeMenu(QObject* owner, const char* name, const QString& caption) {
  auto* menu = new QMenu(caption);
  menu->setObjectName(name);
  QObject::connect(owner, &QObject::destroyed, menu, &QObject::deleteLater);
  return menu;
}

}  // namespace

TDocumentController::TDocumentController(IWindowServices& window, QObject* parent)
    : QObject(parent), m_window(window) {
  acNew = MakeAction(this, "acNew", QStringLiteral("新規作成(&N)"), QKeySequence(Qt::CTRL | Qt::Key_N));
  acOpen = MakeAction(this, "acOpen", QStringLiteral("開く(&O)"), QKeySequence(Qt::CTRL | Qt::Key_O));
  acSave = MakeAction(this, "acSave", QStringLiteral("上書き保存(&S)"), QKeySequence(Qt::CTRL | Qt::Key_S));
  acSaveAs = MakeAction(this, "acSaveAs", QStringLiteral("名前を付けて保存(&A)"));
  acSaveSettingsAs = MakeAction(this, "acSaveSettingsAs", QStringLiteral("設定に名前を付けて保存(&A)"));
  miRegExpPk2 = MakeAction(this, "miRegExpPk2", QStringLiteral(".pk2を関連付ける"));
  miHistory = MakeMenu(this, "miHistory", QStringLiteral("ファイルの履歴(&H)"));
  miTextHistory = MakeMenu(this, "miTextHistory", QStringLiteral("テキストファイルの履歴(&T)"));
  pmFolder = MakeMenu(this, "pmFolder", QString());
  miSettingsFiles = MakeMenu(this, "miSettingsFiles", QStringLiteral("設定ファイルの切り替え(&G)"));
  pmDrop = MakeMenu(this, "pmDrop", QString());
  miDropOpen = MakeAction(this, "miDropOpen", QStringLiteral("ファイルを開く(&O)"));
  miDropInsert = MakeAction(this, "miDropInsert", QStringLiteral("カーソル位置に読み込み(&C)"));
  pmDrop->addAction(miDropOpen);
  pmDrop->addAction(miDropInsert);

  connect(acNew, &QAction::triggered, this, [this] { New(); });
  connect(acOpen, &QAction::triggered, this, [this] { acOpenExecute(); });
  connect(acSave, &QAction::triggered, this, [this] { Save(); });
  connect(acSaveAs, &QAction::triggered, this, [this] { SaveAs(); });
  connect(acSaveSettingsAs, &QAction::triggered, this, [this] { SaveSettingsAsExecute(); });
  connect(miRegExpPk2, &QAction::triggered, this, [this] { RegisterFileType(); });
  connect(miDropOpen, &QAction::triggered, this, [this] { DropOpen(); });
  connect(miDropInsert, &QAction::triggered, this, [this] { DropInsert(); });
}

// ---- Opening ----

void TDocumentController::OpenDocument(const std::string& path, bool interactive) {
  if (HasBinaryExtension(path)) {
    if (OpenBinary(path, interactive)) FillFolderMenu(FolderOf(path));
  } else {
    OpenText(path);
  }
}

void TDocumentController::FinishOpen(const std::string& path) {
  TDocumentState& doc = m_window.Document();
  doc.path = path;
  StorePath(m_window.Config().LastFile, path);
  m_window.UpdateCaption();
  doc.ClearFlags();
  m_window.SetModifiedIndicator(false);
  m_registry.Hold(path);
  RebuildHistoryMenus();
}

bool TDocumentController::AlreadyOpen(const std::string& path, bool interactive) {
  if (!TDocumentRegistry::IsOpen(path)) return true;
  switch (TfmPreOpen::Ask(m_window.Window())) {
    case TPreOpenChoice::OpenAnyway:
      return true;
    case TPreOpenChoice::NewFile: {
      const std::string data = Cp932ToUtf8(m_window.Config().Path.Data);
      if (!data.empty()) {
        FillFolderMenu(data);
        m_window.Document().path = data;
      }
      New();
      return false;
    }
    case TPreOpenChoice::Activate:
      TDocumentRegistry::Activate(path);
      if (!interactive) m_window.QuitWithoutSaving();
      return false;
    case TPreOpenChoice::Cancel:
      if (!interactive) m_window.QuitWithoutSaving();
      return false;
  }
  return false;
}

bool TDocumentController::OpenBinary(const std::string& path, bool interactive) {
  TOutlineTree& tree = m_window.Tree();
  if (!FileExists(path)) {
    m_window.AddPageAbove();
    m_window.Document().format = TDocumentFormat::Binary;
    AddToHistory(m_window.Session().FileHistory, path, TSessionState::kFileHistoryMax);
    FinishOpen(path);
    return true;
  }
  if (!AlreadyOpen(path, interactive)) return false;
  // The document's own settings come first: its label settings shape the read.
  if (const auto settings = SettingsForDocument(m_window.Config(), path)) m_window.LoadSettingsFrom(*settings);
  TWaitCursor wait;
  TOutlineTree scratch;
  const TBinaryReadResult r = ReadBinary(path, m_window.FormatOptions(), scratch);
  if (!r.ok) {
    wait.Release();
    ShowFileError(m_window.Prompts(), texts::ReadError());
    return false;
  }
  tree.ReplaceWith(std::move(scratch));
  m_window.Document().format = TDocumentFormat::Binary;
  m_window.Document().textForm = TTextForm{};
  AddToHistory(m_window.Session().FileHistory, path, TSessionState::kFileHistoryMax);
  const bool expandAll = m_window.Config().ExpandAll;
  if (expandAll) tree.FullExpand();
  // The page shown first may link a file relative to the document's folder.
  m_window.Document().path = path;
  m_window.SelectPage(tree.GetNodeAt(r.selectedIndex));
  if (expandAll) m_window.ScrollTreeToTop();
  FinishOpen(path);
  return true;
}

bool TDocumentController::OpenText(const std::string& path) {
  const TExchangeFormat exchange = ExchangeFormatOf(path);
  if (exchange == TExchangeFormat::Opml || exchange == TExchangeFormat::Markdown) return OpenExchange(path, exchange);
  TOutlineTree& tree = m_window.Tree();
  TWaitCursor wait;
  if (FileExists(path)) {
    if (const auto settings = SettingsForDocument(m_window.Config(), path)) m_window.LoadSettingsFrom(*settings);
    TOutlineTree scratch;
    TTextRead read;
    const TTextFileResult r = ReadAskingToSubstitute(m_window.Prompts(), [&](TSubstitution s, TUnmappable& report) {
      scratch.Clear();
      read = ReadEncodedText(path, m_window.FormatOptions(), s, scratch);
      report = read.unmappable;
      if (read.result == TTextFileResult::Unmappable) wait.Release();  // the question follows
      return read.result;
    });
    if (r == TTextFileResult::Unmappable) return false;  // the user kept the document as it was
    if (r != TTextFileResult::Ok) {
      wait.Release();
      ShowFileError(m_window.Prompts(), texts::ReadError());
      return false;
    }
    tree.ReplaceWith(std::move(scratch));
    m_window.Document().textForm = read.form;
  } else {
    m_window.AddPageAbove();
    m_window.Document().textForm = TTextForm{};
  }
  ShowTextDocument(path, TDocumentFormat::Text, false);
  return true;
}

bool TDocumentController::OpenExchange(const std::string& path, TExchangeFormat format) {
  if (FileExists(path)) {
    if (const auto settings = SettingsForDocument(m_window.Config(), path)) m_window.LoadSettingsFrom(*settings);
    TOutlineTree scratch;
    if (!ReadExchangeFile(m_window, path, format, scratch)) return false;
    m_window.Tree().ReplaceWith(std::move(scratch));
  } else {
    m_window.AddPageAbove();
  }
  // OPML says itself which pages are expanded.
  ShowTextDocument(path, format == TExchangeFormat::Opml ? TDocumentFormat::Opml : TDocumentFormat::Markdown,
                   format == TExchangeFormat::Opml);
  return true;
}

void TDocumentController::ShowTextDocument(const std::string& path, TDocumentFormat format, bool keepExpansion) {
  TOutlineTree& tree = m_window.Tree();
  m_window.Document().format = format;
  AddToHistory(m_window.Session().TextHistory, path, TSessionState::kFileHistoryMax);
  TTreeNode* first = tree.GetFirstNode();
  if (m_window.Config().ExpandAll) {
    tree.FullExpand();
    TTreeNode* last = tree.GetLastRootPage();
    if (last && last->Text() == texts::TrashTitle()) tree.Collapse(last);
  } else if (!keepExpansion) {
    tree.Expand(first);
  }
  // The page shown first may link a file relative to the document's folder.
  m_window.Document().path = path;
  m_window.SelectPage(first);
  if (m_window.Config().ExpandAll) m_window.ScrollTreeToTop();
  FinishOpen(path);
}

void TDocumentController::acOpenExecute() {
  if (!AskSave()) return;
  const std::string ext = m_window.Config().OpennuvExt;
  const QStringList filters = {QStringLiteral("nuvファイル(%1) (%2)").arg(ToQString(ext), QtPatterns(ext)),
                               QStringLiteral("階層テキスト(*.*) (*)"),
                               QStringLiteral("Palm Docファイル(*.prc;*.pdb) (*.prc *.pdb)"),
                               QStringLiteral("すべてのファイル(*.*) (*)"),
                               QStringLiteral("OPML(*.opml) (*.opml)"),
                               QStringLiteral("Markdown(*.md;*.markdown) (*.md *.markdown)")};
  const std::string data = Cp932ToUtf8(m_window.Config().Path.Data);
  const auto choice = m_window.Dialogs().OpenFile(m_window.Window(), PathToQString(data), filters);
  if (!choice) return;
  const std::string path = QStringToPath(choice->path);
  m_window.ClearPageLists();
  if (choice->filterIndex == 0) {
    OpenBinary(path);
  } else if (choice->filterIndex == 2) {
    OpenPalmDoc(path);
  } else if (choice->filterIndex == 4 || choice->filterIndex == 5) {
    OpenExchange(path, choice->filterIndex == 4 ? TExchangeFormat::Opml : TExchangeFormat::Markdown);
  } else {
    OpenText(path);
  }
  FillFolderMenu(FolderOf(path));
  m_window.ShowCaretPosition();
}

bool TDocumentController::OpenPalmDoc(const std::string& path) {
  // A Palm DOC file is binary: it becomes a new untitled document, never text.
  TWaitCursor wait;
  TOutlineTree scratch;
  if (ReadPalmDocPages(path, m_window.FormatOptions(), scratch) != TPalmDocResult::Ok) {
    wait.Release();
    ShowFileError(m_window.Prompts(), texts::DocReadFailed());
    return false;
  }
  m_window.Tree().ReplaceWith(std::move(scratch));
  TDocumentState& doc = m_window.Document();
  doc.path = FolderOf(path);
  doc.format = TDocumentFormat::None;
  doc.textForm = TTextForm{};
  m_registry.Hold(std::string());
  m_window.UpdateCaption();
  if (m_window.Config().ExpandAll) m_window.Tree().FullExpand();
  m_window.SelectPage(m_window.Tree().GetFirstNode());
  doc.ClearFlags();
  // The pages exist nowhere else yet: closing must ask.
  doc.DocModified = true;
  m_window.SetModifiedIndicator(true);
  return true;
}

// ---- New ----

void TDocumentController::New() {
  if (m_window.Document().Modified()) {
    switch (m_window.Prompts().QuestionCancel(texts::AskSaveCurrent())) {
      case TAnswer::Cancel: return;
      case TAnswer::Yes:
        if (Save() != TSaveResult::Saved) return;
        break;
      case TAnswer::No: break;
    }
  }
  m_window.ClearPageLists();
  m_window.Tree().Clear();
  TDocumentState& doc = m_window.Document();
  doc.path = DirectoryExists(doc.path) ? doc.path : FolderOf(doc.path);
  doc.format = TDocumentFormat::None;
  doc.textForm = TTextForm{};
  m_registry.Hold(std::string());
  m_window.UpdateCaption();
  m_window.AddPageAbove();
  doc.ClearFlags();
  m_window.SetModifiedIndicator(false);
}

// ---- Saving ----

bool TDocumentController::AskSave() { return !m_window.Document().Modified() || SaveOrDiscard(); }

bool TDocumentController::SaveOrDiscard() {
  if (m_window.Config().NoAskSave) return Save() == TSaveResult::Saved;
  switch (m_window.Prompts().QuestionCancel(texts::AskSaveChanged())) {
    case TAnswer::Cancel: return false;
    case TAnswer::No: return true;
    case TAnswer::Yes: break;
  }
  // Going on after a cancelled or failed save would lose the document.
  return Save() == TSaveResult::Saved;
}

TSaveResult TDocumentController::Save() {
  m_window.PageSwitch().LeavePage(m_window.SelectedPage());
  const TDocumentState& doc = m_window.Document();
  const std::string path = doc.path;
  const bool hasFile = !path.empty() && !DirectoryExists(path);
  const bool binary = doc.format == TDocumentFormat::Binary ||
                      (doc.format == TDocumentFormat::None && HasBinaryExtension(path));
  if (hasFile && binary) {
    if (m_window.Config().Backup) MakeBackup(path);
    return SaveBinary(path);
  }
  if (doc.format == TDocumentFormat::Opml || doc.format == TDocumentFormat::Markdown) {
    // Another format never goes over a .pk2 file without the save-as question.
    if (!hasFile || !m_window.Config().TextSave || !FileExists(path) || HasBinaryExtension(path)) return SaveAs();
    if (m_window.Config().Backup) MakeBackup(path);
    return SaveExchange(path, doc.format == TDocumentFormat::Opml ? TExchangeFormat::Opml : TExchangeFormat::Markdown);
  }
  if (hasFile && doc.format != TDocumentFormat::Binary && m_window.Config().TextSave && FileExists(path)) {
    if (m_window.Config().Backup) MakeBackup(path);
    return SaveText(path, false, doc.textForm);
  }
  return SaveAs();
}

void TDocumentController::MakeBackup(const std::string& path) {
  if (!FileExists(path)) return;
  std::string backup = WithExtension(path, ".bak");
  const std::string folder = Cp932ToUtf8(m_window.Config().Path.Backup);
  if (!folder.empty()) {
    ForceDirectories(folder);
    backup = (std::filesystem::path(folder) / std::filesystem::path(backup).filename()).string();
  }
  TWaitCursor wait;
  if (!CopyFileOver(path, backup)) {
    wait.Release();
    ShowFileError(m_window.Prompts(), texts::BackupFailed());
  }
}

TSaveResult TDocumentController::SaveBinary(const std::string& path) {
  TWaitCursor wait;
  const bool ok = WriteBinary(path, m_window.Tree(), m_window.SelectedPage());
  TDocumentState& doc = m_window.Document();
  doc.path = path;
  doc.format = TDocumentFormat::Binary;
  doc.textForm = TTextForm{};
  StorePath(m_window.Config().LastFile, path);
  m_window.UpdateCaption();
  if (!ok) {
    wait.Release();
    if (!BinaryTreeBlockSize(m_window.Tree()))
      m_window.Prompts().Error(texts::TooLargeForBinary());
    else
      ShowFileError(m_window.Prompts(), texts::WriteError());
    return TSaveResult::Failed;
  }
  m_window.ShowStatusMessage(texts::FileSaved());
  doc.ClearFlags();
  m_window.SetModifiedIndicator(false);
  m_registry.Hold(path);
  return TSaveResult::Saved;
}

TSaveResult TDocumentController::SaveText(const std::string& path, bool noTitles, const TTextForm& form) {
  // Content the text cannot carry would read back differently: the user decides.
  if (!ConfirmTextSave(m_window.Prompts(), m_window.Tree(), noTitles, nullptr, m_window.FormatOptions()))
    return TSaveResult::Cancelled;
  TWaitCursor wait;
  const TTextWriteResult r = WriteEncodedText(path, m_window.Tree(), noTitles, nullptr, m_window.FormatOptions(), form);
  if (r == TTextWriteResult::TooLarge) {
    wait.Release();
    m_window.Prompts().Error(texts::TooLargeForText());
    return TSaveResult::Failed;
  }
  if (r == TTextWriteResult::Failed) {
    wait.Release();
    ShowFileError(m_window.Prompts(), texts::WriteError());
    return TSaveResult::Failed;
  }
  if (r == TTextWriteResult::Empty) return TSaveResult::Failed;
  m_window.ShowStatusMessage(texts::FileSaved());
  TextSaved(path, TDocumentFormat::Text, form);
  return TSaveResult::Saved;
}

TSaveResult TDocumentController::SaveExchange(const std::string& path, TExchangeFormat format) {
  if (!WriteExchangeFile(m_window, path, format)) return TSaveResult::Failed;
  if (format != TExchangeFormat::Html)
    TextSaved(path, format == TExchangeFormat::Opml ? TDocumentFormat::Opml : TDocumentFormat::Markdown);
  return TSaveResult::Saved;
}

void TDocumentController::TextSaved(const std::string& path, TDocumentFormat format, const TTextForm& form) {
  // A text save makes the file the document only under TextSave.
  if (!m_window.Config().TextSave) return;
  TDocumentState& doc = m_window.Document();
  doc.path = path;
  doc.format = format;
  doc.textForm = form;
  StorePath(m_window.Config().LastFile, path);
  m_window.UpdateCaption();
  doc.ClearFlags();
  m_window.SetModifiedIndicator(false);
  m_registry.Hold(path);
}

std::string TDocumentController::ProposedFileName() const {
  const TTreeNode* first = m_window.Tree().GetFirstNode();
  return first ? Cp932ToUtf8(ProposedNameFromTitle(first->Text())) : std::string();
}

TSaveResult TDocumentController::SaveAs() {
  m_window.PageSwitch().LeavePage(m_window.SelectedPage());
  const QStringList filters = {QStringLiteral("Pirka互換ファイル(*.pk2) (*.pk2)"),
                               QStringLiteral("階層テキスト(*.txt) (*.txt)"),
                               QStringLiteral("Palm Doc/MeDocファイル(*.prc;*.pdb) (*.prc *.pdb)"),
                               QStringLiteral("OPML(*.opml) (*.opml)"),
                               QStringLiteral("Markdown(*.md) (*.md)"),
                               QStringLiteral("HTML(*.html) (*.html)"),
                               QStringLiteral("HTML 本文をMarkdownとして(*.html) (*.html)")};
  std::string folder = m_window.Document().path;
  if (!folder.empty() && !DirectoryExists(folder)) folder = FolderOf(folder);
  if (folder.empty()) folder = QDir::homePath().toStdString();
  const std::string proposed = (std::filesystem::path(folder) / ProposedFileName()).string();
  const auto choice = m_window.Dialogs().SaveFile(m_window.Window(), PathToQString(proposed), filters, true, 0,
                                                  OfferedEncoding(m_window.Document().textForm));
  if (!choice) return TSaveResult::Cancelled;
  static const char* const kExtensions[] = {".pk2", ".txt", ".prc", ".opml", ".md", ".html", ".html"};
  const int filter = std::clamp(choice->filterIndex, 0, 6);
  // The question is about the file that will really be written.
  const std::string name = WithExtension(QStringToPath(choice->path), kExtensions[filter]);
  if (FileExists(name) && !m_window.Prompts().Question(texts::AskOverwrite(), true)) return TSaveResult::Cancelled;
  if (filter == 0) return SaveBinary(name);
  if (filter == 1) return SaveText(name, choice->noTitles, SaveAsForm(m_window.Document().textForm, choice->encoding));
  if (filter == 6)
    return WriteExchangeFile(m_window, name, TExchangeFormat::Html, true) ? TSaveResult::Saved : TSaveResult::Failed;
  if (filter >= 3) return SaveExchange(name, ExchangeFormatOf(name));
  // The whole document as a MeDoc; the document keeps its own name and format.
  TWaitCursor wait;
  if (WriteMeDocDocument(name, m_window.Tree()) != TPalmDocResult::Ok) {
    wait.Release();
    ShowFileError(m_window.Prompts(), texts::MeDocWriteFailed());
    return TSaveResult::Failed;
  }
  m_window.ShowStatusMessage(texts::FileSaved());
  return TSaveResult::Saved;
}

bool TDocumentController::CloseQuery() { return !m_window.Document().ModifiedForClose() || SaveOrDiscard(); }

// ---- Menus of files ----

void TDocumentController::RebuildHistoryMenus() {
  const struct {
    QMenu* menu;
    const std::vector<std::string>* paths;
    bool binary;
  } menus[] = {{miHistory, &m_window.Session().FileHistory, true}, {miTextHistory, &m_window.Session().TextHistory, false}};
  for (const auto& m : menus) {
    m.menu->clear();
    for (const std::string& path : *m.paths) {
      QAction* item = m.menu->addAction(PathToQString(path));
      const bool binary = m.binary;
      connect(item, &QAction::triggered, this, [this, path, binary] { OpenHistoryItem(path, binary); });
    }
    m.menu->setEnabled(!m.paths->empty());
  }
}

void TDocumentController::OpenHistoryItem(const std::string& path, bool binary) {
  if (!AskSave()) return;
  if (!FileExists(path)) {
    m_window.Prompts().Error(texts::FileNotFound());
    return;
  }
  m_window.ClearPageLists();
  if (binary) {
    if (OpenBinary(path)) FillFolderMenu(FolderOf(path));
  } else {
    OpenText(path);
  }
}

void TDocumentController::FillFolderMenu(const std::string& folder) {
  pmFolder->clear();
  const QDir dir(PathToQString(folder));
  for (const QFileInfo& file : dir.entryInfoList({QStringLiteral("*.pk2")}, QDir::Files, QDir::Unsorted)) {
    // The item keeps its full path: a later open elsewhere cannot redirect it.
    const std::string path = QStringToPath(file.absoluteFilePath());
    QAction* item = pmFolder->addAction(file.fileName());
    connect(item, &QAction::triggered, this, [this, path] { OpenFolderItem(path); });
  }
}

void TDocumentController::OpenFolderItem(const std::string& path) {
  const bool ctrl = QGuiApplication::keyboardModifiers() & Qt::ControlModifier;
  if (!ctrl && !AskSave()) return;
  if (!FileExists(path)) {
    m_window.Prompts().Error(texts::FileNotFound());
    return;
  }
  m_window.ClearPageLists();
  if (ctrl)
    m_window.Launcher().StartNewWindow(PathToQString(path));
  else
    OpenBinary(path);
}

// ---- Dropped files ----

void TDocumentController::FilesDropped(const QStringList& paths) {
  m_dropped = paths;
  if (!m_dropped.isEmpty()) pmDrop->popup(QCursor::pos());
}

void TDocumentController::DropOpen() {
  for (qsizetype i = 0; i < m_dropped.size(); ++i) {
    const std::string path = QStringToPath(m_dropped[i]);
    if (i > 0 || m_window.Document().Modified()) {
      m_window.Launcher().StartNewWindow(m_dropped[i]);
    } else if (HasBinaryExtension(path)) {
      m_window.ClearPageLists();
      if (OpenBinary(path)) FillFolderMenu(FolderOf(path));
    } else {
      m_window.ClearPageLists();
      OpenText(path);
    }
  }
  m_window.ShowCaretPosition();
}

void TDocumentController::DropInsert() {
  for (const QString& file : m_dropped) {
    const std::string path = QStringToPath(file);
    // OPML and Markdown come in as pages after the selected one, like an import.
    if (const TExchangeFormat f = ExchangeFormatOf(path); f == TExchangeFormat::Opml || f == TExchangeFormat::Markdown) {
      ImportExchangeFile(m_window, path, f);
      continue;
    }
    TDecodedText text;
    if (ReadTextFileAsking(m_window.Prompts(), path, text) != TTextFileResult::Ok) continue;
    TLightStrings lines;
    lines.LoadFromBytes(text.sjis);
    m_window.Editor().InsertAtCaret(lines.GetTextStr());
  }
}

// ---- Settings files and the file type ----

void TDocumentController::RebuildSettingsFileMenu() {
  miSettingsFiles->clear();
  auto* group = new QActionGroup(miSettingsFiles);
  for (const TSettingsFile& file : ListSettingsFiles(ProgramFolder())) {
    QAction* item = miSettingsFiles->addAction(PathToQString(file.caption));
    item->setCheckable(true);
    item->setChecked(file.checked);
    group->addAction(item);
    const std::string caption = file.caption;
    connect(item, &QAction::triggered, this, [this, caption] {
      m_window.LoadSettingsFrom(caption == kDefaultSettingsName ? caption : ProgramFile(caption));
    });
  }
}

void TDocumentController::SaveSettingsAsExecute() {
  const auto choice = m_window.Dialogs().SaveFile(m_window.Window(), PathToQString(ProgramFolder()),
                                                  {QStringLiteral("INIファイル(*.ini) (*.ini)")}, false);
  if (!choice) return;
  const TSaveAsResult r = SaveSettingsAs(m_window.Config(), QStringToPath(choice->path),
                                         [this](TIniFile& ini) { m_window.WriteWindowSections(ini); });
  if (!r.written) {
    ShowFileError(m_window.Prompts(), texts::WriteError());
    return;
  }
  if (!r.menuCaption.empty()) RebuildSettingsFileMenu();
}

void TDocumentController::RegisterFileType() {
  nuv::RegisterFileType(".pk2", QStringToPath(QCoreApplication::applicationFilePath()), std::string());
}

}  // namespace nuv
