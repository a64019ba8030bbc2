// Links and history in the window.
//
// What a link means and how one is written are core rules (outline/Links,
// outline/LinkOpen); the history lists are outline/NavigationHistory. Here
// they meet the editor, the tree, the dialogs and the desktop's opener.
#include "app/LinkController.h"

#include <QAction>
#include <QGuiApplication>
#include <QMenu>
#include <functional>

#include "app/Actions.h"
#include "app/FileDialogs.h"
#include "app/ProgramLauncher.h"
#include "app/QtMacroPlatform.h"
#include "app/QtText.h"
#include "app/WindowServices.h"
#include "base/Error.h"
#include "base/FileIo.h"
#include "base/FixedText.h"
#include "base/Prompts.h"
#include "config/NuvConfig.h"
#include "editor/view/PageEditorView.h"
#include "outline/DocumentState.h"
#include "outline/LightStrings.h"
#include "outline/LinkOpen.h"
#include "outline/Links.h"
#include "outline/NodeData.h"
#include "outline/OutlineTexts.h"
#include "outline/OutlineTree.h"
#include "outline/PageCommands.h"
#include "outline/PageSwitch.h"

namespace nuv {

namespace texts {
NUV_FIXED_TEXT(CannotLinkTitle, "「>」や改行を含むタイトルにはリンクを作れません。")
NUV_FIXED_TEXT(CannotLinkLine, "「>」や改行、「/node:」を含む行にはリンクを作れません。")
NUV_FIXED_TEXT(CannotLinkPath,
               "リンクを作れないファイル名があります（「>」や改行、Shift JIS で表せない文字を含むもの）。")
NUV_FIXED_TEXT(AskInsertDirectLink, "ダイレクトリンクを挿入してもよろしいですか？\n本文は消去されます。")
NUV_FIXED_TEXT(OnlyOneDirectLink, "ダイレクトリンクは１つしか設定できません。\n最初の１つを設定します。")
}  // namespace texts

namespace {

const QString kAllFiles = QStringLiteral("すべてのファイル(*.*) (*)");

// Line `index` of a text as the editor holds it.
std::string LineOf(std::string_view text, int index) {
  TLightStrings lines;
  lines.LoadFromBytes(text);
  return index >= 0 && index < lines.Count() ? lines.Get(index) : std::string();
}

// A menu caption shows "&" itself, not as a mnemonic.
QString MenuCaption(const std::string& sjis) { return ToQString(sjis).replace(QLatin1Char('&'), QStringLiteral("&&")); }

}  // namespace

template <typename F>
void TLinkCommands::Guard(F&& command) {
  try {
    command();
  } catch (const ENuvError& e) {
    m_window.Prompts().Error(e.Message());
  }
}

TLinkCommands::TLinkCommands(IWindowServices& window, TPageEditorView& editor, const QStringList& droppedFiles,
                             QObject* parent)
    : QObject(parent), m_window(window), m_editor(editor), m_dropped(droppedFiles) {
  miTreeCopyNodeLink = MakeAction(this, "miTreeCopyNodeLink", QStringLiteral("項目へのリンクをコピー(&L)"),
                                  QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
  miCopyCurRowLink1 = MakeAction(this, "miCopyCurRowLink1", QStringLiteral("項目内"));
  miCopyCurRowLink2 = MakeAction(this, "miCopyCurRowLink2", QStringLiteral("項目外"));
  acInsertFileLink = MakeAction(this, "acInsertFileLink", QStringLiteral("ファイルリンクの挿入(&F)..."));
  acInsertFileLinkR = MakeAction(this, "acInsertFileLinkR", QStringLiteral("ファイルリンクの挿入(相対パス)..."));
  acInsertFolderLink = MakeAction(this, "acInsertFolderLink", QStringLiteral("フォルダリンクの挿入(&O)..."));
  acInsertDirectLink = MakeAction(this, "acInsertDirectLink", QStringLiteral("ダイレクトリンクの挿入(&D)..."));
  acInsertDirectLinkR =
      MakeAction(this, "acInsertDirectLinkR", QStringLiteral("ダイレクトリンクの挿入(相対パス)..."));
  miDropInsertLink = MakeAction(this, "miDropInsertLink", QStringLiteral("リンクを挿入(&L)"));
  miDropInsertLinkR = MakeAction(this, "miDropInsertLinkR", QStringLiteral("リンクを挿入(相対パス)"));
  miDropInsDirectLink = MakeAction(this, "miDropInsDirectLink", QStringLiteral("ダイレクトリンクを挿入(&D)"));
  miDropInsDirectLinkR = MakeAction(this, "miDropInsDirectLinkR", QStringLiteral("ダイレクトリンクを挿入(相対パス)"));
  miDirectLink = MakeAction(this, "miDirectLink", QStringLiteral("ダイレクトリンク(&D)"), QKeySequence(), true);
  miDirectLink->setChecked(m_window.Document().directLinkView);
  acBack = MakeAction(this, "acBack", QStringLiteral("前に戻る(&B)"), QKeySequence(Qt::CTRL | Qt::Key_Comma));
  acForward = MakeAction(this, "acForward", QStringLiteral("次に進む(&F)"), QKeySequence(Qt::CTRL | Qt::Key_Period));
  pmNodeBack = new QMenu(QStringLiteral("戻る先(&K)"), m_window.Window());
  pmNodeBack->setObjectName("pmNodeBack");
  pmNodeForward = new QMenu(QStringLiteral("進む先(&J)"), m_window.Window());
  pmNodeForward->setObjectName("pmNodeForward");

  const std::pair<QAction*, std::function<void()>> handlers[] = {
      {miTreeCopyNodeLink, [this] { miTreeCopyNodeLinkExecute(); }},
      {miCopyCurRowLink1, [this] { CopyCurRowLink(false); }},
      {miCopyCurRowLink2, [this] { CopyCurRowLink(true); }},
      {acInsertFileLink, [this] { InsertFileLinks(false); }},
      {acInsertFileLinkR, [this] { InsertFileLinks(true); }},
      {acInsertFolderLink, [this] { acInsertFolderLinkExecute(); }},
      {acInsertDirectLink, [this] { InsertDirectLink(false); }},
      {acInsertDirectLinkR, [this] { InsertDirectLink(true); }},
      {miDropInsertLink, [this] { DropInsertLinks(false); }},
      {miDropInsertLinkR, [this] { DropInsertLinks(true); }},
      {miDropInsDirectLink, [this] { DropInsertDirectLinks(false); }},
      {miDropInsDirectLinkR, [this] { DropInsertDirectLinks(true); }},
      {miDirectLink, [this] { miDirectLinkExecute(); }},
      {acBack, [this] { JumpBack(0); }},
      {acForward, [this] { JumpForward(0); }},
  };
  for (const auto& [action, handler] : handlers) {
    connect(action, &QAction::triggered, this, [this, action = action, handler = handler] {
      if (action->isEnabled()) Guard(handler);
      m_window.UpdateActions();
    });
  }
  // The menus are filled as they open, from the lists as they are then.
  connect(pmNodeBack, &QMenu::aboutToShow, this, [this] { FillHistoryMenu(pmNodeBack, true); });
  connect(pmNodeForward, &QMenu::aboutToShow, this, [this] { FillHistoryMenu(pmNodeForward, false); });
  HistoryChanged();

  QMenu* edit = m_window.Menu(TMenuSlot::Edit);
  edit->addSeparator();
  auto* rowLink = new QMenu(QStringLiteral("現在行へのリンクをコピー"), edit);
  rowLink->setObjectName("miCopyCurRowLink");
  rowLink->addAction(miCopyCurRowLink1);
  rowLink->addAction(miCopyCurRowLink2);
  edit->addMenu(rowLink);
  for (QAction* a : {acInsertFileLink, acInsertFileLinkR, acInsertFolderLink, acInsertDirectLink, acInsertDirectLinkR})
    edit->addAction(a);
  QMenu* popup = m_window.Menu(TMenuSlot::EditorPopup);
  popup->addSeparator();
  popup->addMenu(rowLink);
  QMenu* tree = m_window.Menu(TMenuSlot::Tree);
  tree->addSeparator();
  tree->addAction(miTreeCopyNodeLink);
  tree->addSeparator();
  tree->addAction(acBack);
  tree->addAction(acForward);
  tree->addMenu(pmNodeBack);
  tree->addMenu(pmNodeForward);
  m_window.Menu(TMenuSlot::TreePopup)->addAction(miTreeCopyNodeLink);
  m_window.Menu(TMenuSlot::View)->addAction(miDirectLink);
  QMenu* drop = m_window.Menu(TMenuSlot::Drop);
  drop->addSeparator();
  for (QAction* a : {miDropInsertLink, miDropInsertLinkR, miDropInsDirectLink, miDropInsDirectLinkR}) drop->addAction(a);

  // Following by ExecLinkMode: 1 a click with Ctrl, 2 a double click, any other a plain click.
  m_editor.SetLinkTest([this](TPagePoint point) { return IsLinkAt(point); });
  connect(&m_editor, &TPageEditorView::Clicked, this, [this](const QPoint& at, Qt::KeyboardModifiers modifiers) {
    const int mode = m_window.Config().ExecLinkMode;
    if (mode == 2 || (mode == 1 && !(modifiers & Qt::ControlModifier))) return;
    Guard([&] { FollowLinkAt(TPagePoint{at.x(), at.y()}); });
  });
  connect(&m_editor, &TPageEditorView::DoubleClicked, this, [this](const QPoint& at) {
    if (m_window.Config().ExecLinkMode == 2) Guard([&] { FollowLinkAt(TPagePoint{at.x(), at.y()}); });
  });
}

std::string TLinkCommands::DocumentFile() const {
  // A new document's path is the folder it starts in: it has no file yet,
  // so links are written absolute and relative ones lead nowhere.
  const std::string& path = m_window.Document().path;
  return DirectoryExists(path) ? std::string() : path;
}

std::string TLinkCommands::DocumentFolder() const {
  const std::string& path = m_window.Document().path;
  if (DirectoryExists(path)) return path;
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

// ---- following

bool TLinkCommands::IsLinkAt(TPagePoint point) const {
  return IsFollowableLink(m_window.Editor().TokenStringFromPos(point, true));
}

void TLinkCommands::FollowLinkAt(TPagePoint point) { Follow(m_window.Editor().TokenStringFromPos(point, true)); }

void TLinkCommands::Follow(const std::string& token) {
  const TLinkOpen open = DecideLinkOpen(ParseLink(token), m_window.Tree(), DocumentFile());
  switch (open.action) {
    case TLinkAction::SelectPage: m_window.SelectPage(open.page); break;
    case TLinkAction::SelectLine: {
      if (open.page) m_window.SelectPage(open.page);
      IPageEditor& editor = m_window.Editor();
      if (const auto range = FindLinkLine(editor.Text(), open.lineText)) editor.SetSelection(range->start, range->length);
      break;
    }
    case TLinkAction::OpenPath: m_window.Launcher().OpenWithDesktop(PathToQString(open.path)); break;
    case TLinkAction::OpenUrl: m_window.Launcher().OpenUrl(QString::fromLatin1(open.url)); break;
    case TLinkAction::Nothing: break;
  }
}

// ---- copying links

void TLinkCommands::CopyLink(const std::optional<std::string>& link, const std::string& refusal) {
  if (!link) {
    m_window.Prompts().Error(refusal);
    return;
  }
  TQtMacroClipboard().SetText(*link);
}

void TLinkCommands::miTreeCopyNodeLinkExecute() {
  const TTreeNode* page = m_window.SelectedPage();
  if (!page) return;
  CopyLink(MakePageLink(page->Text(), m_window.Config().PirkaCompatible), texts::CannotLinkTitle());
}

void TLinkCommands::CopyCurRowLink(bool withTitle) {
  const TTreeNode* page = m_window.SelectedPage();
  if (!page) return;
  IPageEditor& editor = m_window.Editor();
  const std::string line = LineOf(editor.Text(), editor.CaretLine());
  if (withTitle && !MakePageLink(page->Text(), false)) {
    m_window.Prompts().Error(texts::CannotLinkTitle());
    return;
  }
  CopyLink(MakeLineLink(line, withTitle ? std::optional<std::string_view>(page->Text()) : std::nullopt),
           texts::CannotLinkLine());
}

// ---- inserting links

void TLinkCommands::InsertLinkLines(const std::vector<std::string>& links) {
  IPageEditor& editor = m_window.Editor();
  for (const std::string& link : links) {
    editor.InsertAtCaret(link + "\r\n");
    // The caret stands at the start of the row after the link; it goes one
    // row further, so the next link lands below that row.
    const std::string text = editor.Text();
    const std::size_t end = text.find("\r\n", static_cast<std::size_t>(editor.SelStart()));
    if (end != std::string::npos) editor.SetSelStart(static_cast<int>(end + 2));
  }
}

std::vector<std::string> TLinkCommands::FileLinks(const QStringList& files, bool relative, bool asUrl) {
  std::vector<std::string> links;
  bool refused = false;
  for (const QString& file : files) {
    const std::string path = QStringToPath(file);
    std::optional<std::string> link;
    if (asUrl)
      link = MakeFileUrl(path);  // always absolute: a relative URL is no URL
    else
      link = MakeFileLink(LinkPathFor(path, DocumentFile(), relative));
    if (link)
      links.push_back(*link);
    else
      refused = true;
  }
  if (refused) m_window.Prompts().Error(texts::CannotLinkPath());
  return links;
}

void TLinkCommands::InsertFileLinks(bool relative) {
  const QStringList files =
      m_window.Dialogs().OpenFiles(m_window.Window(), PathToQString(DocumentFolder()), {kAllFiles});
  InsertLinkLines(FileLinks(files, relative, false));
}

void TLinkCommands::acInsertFolderLinkExecute() {
  const QString folder = m_window.Dialogs().ChooseFolder(
      m_window.Window(), QStringLiteral("フォルダを選択してください"), PathToQString(DocumentFolder()));
  if (!folder.isEmpty()) InsertLinkLines(FileLinks({folder}, false, false));
}

void TLinkCommands::DropInsertLinks(bool relative) {
  // Ctrl held while choosing writes file URLs, unless links must stay readable by the older program.
  const bool asUrl =
      (QGuiApplication::keyboardModifiers() & Qt::ControlModifier) && !m_window.Config().PirkaCompatible;
  InsertLinkLines(FileLinks(m_dropped, relative, asUrl));
}

// ---- direct links

bool TLinkCommands::MayReplaceBody() {
  return m_window.Editor().Text().empty() || m_window.Prompts().Question(texts::AskInsertDirectLink());
}

bool TLinkCommands::SetDirectLink(TTreeNode* page, const std::string& nativePath, bool relative) {
  const std::optional<std::string> link = MakeDirectLink(LinkPathFor(nativePath, DocumentFile(), relative));
  if (!link) {
    m_window.Prompts().Error(texts::CannotLinkPath());
    return false;
  }
  TNodeData& data = m_window.Tree().EnsureData(page);
  data.SetBody(*link);
  data.SetCaretPos(0);
  m_window.Tree().SetOverlayIndex(page, 0);
  m_window.PageSwitch().ShowPage(page);
  m_window.Document().DocModified = true;
  m_window.SetModifiedIndicator(true);
  return true;
}

void TLinkCommands::InsertDirectLink(bool relative) {
  TTreeNode* page = m_window.SelectedPage();
  if (!page || !MayReplaceBody()) return;
  const auto choice = m_window.Dialogs().OpenFile(m_window.Window(), PathToQString(DocumentFolder()), {kAllFiles});
  if (choice) SetDirectLink(page, QStringToPath(choice->path), relative);
}

void TLinkCommands::DropInsertDirectLinks(bool relative) {
  if (m_dropped.isEmpty()) return;
  if (m_window.Config().MakeDLinkNewNode) {
    // Every file gets a page of its own below the selected one, titled with its name.
    for (const QString& file : m_dropped) {
      const std::string path = QStringToPath(file);
      if (!MakeDirectLink(LinkPathFor(path, DocumentFile(), relative))) {
        m_window.Prompts().Error(texts::CannotLinkPath());
        continue;
      }
      TTreeNode* page = AddPageBelow(m_window.Tree(), m_window.SelectedPage());
      m_window.NewPageSetup(page, false);
      m_window.Tree().SetText(page, TitleFromFileName(path).value_or(texts::Untitled()));
      SetDirectLink(page, path, relative);
    }
    return;
  }
  TTreeNode* page = m_window.SelectedPage();
  if (!page || !MayReplaceBody()) return;
  if (m_dropped.size() > 1) m_window.Prompts().Info(texts::OnlyOneDirectLink());
  SetDirectLink(page, QStringToPath(m_dropped.front()), relative);
}

void TLinkCommands::miDirectLinkExecute() {
  m_window.PageSwitch().ToggleDirectLinkView(m_window.SelectedPage());
  miDirectLink->setChecked(m_window.Document().directLinkView);
}

// ---- history

void TLinkCommands::PageLeft(const TTreeNode* page) {
  m_history.PageLeft(page);
  HistoryChanged();
}

void TLinkCommands::ClearHistory() {
  m_history.Clear();
  HistoryChanged();
}

void TLinkCommands::PagesRemoved() {
  m_history.Prune(m_window.Tree());
  HistoryChanged();
}

void TLinkCommands::JumpBack(std::size_t k) {
  if (TTreeNode* target = m_history.JumpBack(k, m_window.SelectedPage(), m_window.Tree())) {
    const TNavigationHistory::TJump jump(m_history);
    m_window.SelectPage(target);
  }
  HistoryChanged();
}

void TLinkCommands::JumpForward(std::size_t k) {
  if (TTreeNode* target = m_history.JumpForward(k, m_window.SelectedPage(), m_window.Tree())) {
    const TNavigationHistory::TJump jump(m_history);
    m_window.SelectPage(target);
  }
  HistoryChanged();
}

void TLinkCommands::HistoryChanged() {
  acBack->setEnabled(m_history.CanGoBack());
  acForward->setEnabled(m_history.CanGoForward());
  pmNodeBack->setEnabled(m_history.CanGoBack());
  pmNodeForward->setEnabled(m_history.CanGoForward());
}

void TLinkCommands::FillHistoryMenu(QMenu* menu, bool back) {
  // Entries of pages removed meanwhile (another document, a deletion) are never offered.
  m_history.Prune(m_window.Tree());
  menu->clear();
  const std::vector<THistoryEntry>& entries = back ? m_history.Back() : m_history.Forward();
  for (std::size_t k = 0; k < entries.size(); ++k) {
    QAction* item = menu->addAction(MenuCaption(entries[k].caption));
    connect(item, &QAction::triggered, this, [this, k, back] {
      Guard([&] { back ? JumpBack(k) : JumpForward(k); });
      m_window.UpdateActions();
    });
  }
}

}  // namespace nuv
