// External tools and the external editor in the window.
#include "app/ToolController.h"

#include <unistd.h>

#include <QAction>
#include <QMenu>
#include <QTimer>
#include <cerrno>
#include <cstring>

#include "app/Actions.h"
#include "app/PageTextReplace.h"
#include "app/QtText.h"
#include "app/ToolProcess.h"
#include "app/WindowServices.h"
#include "base/FileIo.h"
#include "base/FixedText.h"
#include "base/ProgramFolder.h"
#include "base/Prompts.h"
#include "base/SubstituteQuestion.h"
#include "config/NuvConfig.h"
#include "outline/DocumentState.h"
#include "outline/LightStrings.h"
#include "outline/OutlineTree.h"
#include "outline/PageEditor.h"
#include "outline/PageSwitch.h"

namespace nuv {

namespace texts {
NUV_FIXED_TEXT(ToolStartError, "ツールが起動できません。\n\n %s")
NUV_FIXED_TEXT(EditorStartError, "エディタが起動できません。\n\n %s")
NUV_FIXED_TEXT(NoProgramName, "プログラムが指定されていません")
NUV_FIXED_TEXT(BadToolExt, "拡張子に使えない文字があります")
NUV_FIXED_TEXT(AskReplaceChangedPage, "外部プログラムの実行中にページが変更されました。\n結果で置き換えますか？")
NUV_FIXED_TEXT(AskStopWaiting, "外部プログラムの終了を待っています。\n待たずに閉じますか？（結果はページに戻りません）")
NUV_FIXED_TEXT(ResultKept, "結果を戻すページがなくなりました。結果のファイルを残しました。\n\n %s")
}  // namespace texts

namespace {

// The system's reason (in the locale's encoding) as Shift JIS.
std::string Reason(const std::string& native) { return ToSjisOrEmpty(QString::fromLocal8Bit(native.c_str())); }

}  // namespace

TToolCommands::TToolCommands(IWindowServices& window, QObject* parent) : QObject(parent), m_window(window) {
  acExecEditor = MakeAction(this, "acExecEditor", QStringLiteral("外部エディタで編集(&E)"), QKeySequence(Qt::CTRL | Qt::Key_E));
  connect(acExecEditor, &QAction::triggered, this, [this] { acExecEditorExecute(); });
  miTools = m_window.Menu(TMenuSlot::ExternalTools);
  QMenu* tools = m_window.Menu(TMenuSlot::Tools);
  tools->insertAction(miTools->menuAction(), acExecEditor);
  m_window.Window()->addAction(acExecEditor);
  SettingsChanged();
}

TToolCommands::~TToolCommands() = default;

void TToolCommands::SettingsChanged() {
  for (QAction* action : m_toolActions) {
    miTools->removeAction(action);
    action->deleteLater();
  }
  m_toolActions.clear();
  const std::vector<TnuvTool>& tools = m_window.Config().Tools;
  for (std::size_t i = 0; i < tools.size(); ++i) {
    auto* action = new QAction(ToQString(tools[i].Title), this);
    action->setObjectName(QStringLiteral("miTool%1").arg(i));
    // Run from the event loop, not from inside the menu's signal: the menu
    // may be rebuilt while the tool runs.
    connect(action, &QAction::triggered, this, [this, i] {
      QTimer::singleShot(0, this, [this, i] { RunTool(static_cast<int>(i)); });
    });
    miTools->addAction(action);
    m_toolActions.push_back(action);
  }
  UpdateToolMenu();
}

void TToolCommands::UpdateToolMenu() { miTools->setEnabled(!m_toolActions.empty() && !m_toolRunning); }

void TToolCommands::ShowStartError(const std::string& startError, const std::string& reason) {
  m_window.Prompts().Error(FormatMessageText(startError.c_str(), reason.c_str()));
}

bool TToolCommands::RunTool(int index) {
  const std::vector<TnuvTool>& tools = m_window.Config().Tools;
  TTreeNode* page = m_window.SelectedPage();
  if (m_toolRunning || index < 0 || index >= static_cast<int>(tools.size()) || !page) return false;
  const TnuvTool tool = tools[static_cast<std::size_t>(index)];  // the settings may change during the wait
  m_toolRunning = true;
  UpdateToolMenu();
  bool readBack = false;
  const std::string ext = NormalizeToolExt(tool.Ext);
  TToolRun run;
  run.page = page->Id();
  run.document = m_window.Tree().Generation();
  run.textAtStart = m_window.Editor().Text();
  if (!IsSafeToolExt(ext)) {
    ShowStartError(texts::ToolStartError(), texts::BadToolExt());
  } else if (const auto file = CreateTempFile(TempFolder(), "tool", ext, run.textAtStart); !file) {
    ShowStartError(texts::ToolStartError(), Reason(std::strerror(errno)));
  } else {
    run.file = *file;
    if (const auto argv = ToolArguments(tool, run.file))
      readBack = Execute(*argv, run, texts::ToolStartError());
    else
      ShowStartError(texts::ToolStartError(), texts::NoProgramName());
    if (run.temporary) ::unlink(run.file.c_str());
  }
  m_toolRunning = false;
  UpdateToolMenu();
  emit RunEnded(readBack);
  FinishWait();
  return readBack;
}

void TToolCommands::acExecEditorExecute() {
  TTreeNode* page = m_window.SelectedPage();
  if (!page || !acExecEditor->isEnabled()) return;
  acExecEditor->setEnabled(false);
  IPageEditor& editor = m_window.Editor();
  TDocumentState& doc = m_window.Document();
  TToolRun run;
  run.page = page->Id();
  run.document = m_window.Tree().Generation();
  bool ready = true;
  if (!doc.directLinkPath.empty() && doc.directLinkView) {
    // A directly linked file is edited in place; unsaved edits go to it first.
    if (editor.Modified()) m_window.PageSwitch().StorePage(page, true);
    run.file = doc.directLinkPath;
    run.temporary = false;
    run.textAtStart = editor.Text();
  } else {
    run.textAtStart = editor.Text();
    if (const auto file = CreateTempFile(TempFolder(), "editor", ".txt", run.textAtStart)) {
      run.file = *file;
    } else {
      ShowStartError(texts::EditorStartError(), Reason(std::strerror(errno)));
      ready = false;
    }
  }
  bool readBack = false;
  if (ready) {
    if (const auto argv = EditorArguments(m_window.Config().Path.Editor, run.file))
      readBack = Execute(*argv, run, texts::EditorStartError());
    else
      ShowStartError(texts::EditorStartError(), texts::NoProgramName());
    if (run.temporary) ::unlink(run.file.c_str());
  }
  acExecEditor->setEnabled(true);
  emit RunEnded(readBack);
  FinishWait();
}

bool TToolCommands::Execute(const std::vector<std::string>& argv, TToolRun& run, const std::string& startError) {
  TToolProcess process;
  std::string error;
  if (!process.Start(argv, error)) {
    ShowStartError(startError, Reason(error));
    return false;
  }
  m_waits.push_back(&process);
  const bool ended = process.Wait();
  std::erase(m_waits, &process);
  // An abandoned wait (the window closes) reads nothing back.
  return ended && ReadBack(run);
}

std::optional<std::string> TToolCommands::FileText(const std::string& path) {
  TDecodedText decoded;
  if (!FileExists(path) || ReadTextFileAsking(m_window.Prompts(), path, decoded) != TTextFileResult::Ok)
    return std::nullopt;
  TLightStrings lines;
  lines.LoadFromBytes(decoded.sjis);
  return lines.GetTextStr();
}

bool TToolCommands::ReadBack(TToolRun& run) {
  TTreeNode* page = m_window.Tree().FindById(run.page);
  const bool sameDocument = page && run.document == m_window.Tree().Generation();
  const bool shown = sameDocument && m_window.SelectedPage() == page;
  // A linked file not shown is read from the file when it is shown next.
  if (!run.temporary && sameDocument && !(shown && m_window.Document().directLinkPath == run.file)) return false;
  std::string pageNow;
  if (shown)
    pageNow = m_window.Editor().Text();
  else if (sameDocument && page->Data())
    pageNow = page->Data()->Body();
  const std::optional<std::string> fileText = FileText(run.file);
  switch (DecideReadBack(run, m_window.Tree(), m_window.Tree().Generation(), pageNow, fileText)) {
    case TReadBack::PageGone:
      if (fileText && *fileText != run.textAtStart && run.temporary) {
        // The user's work stays where it is, and the user is told where.
        run.temporary = false;
        m_window.Prompts().Info(FormatMessageText(texts::ResultKept().c_str(), Reason(run.file).c_str()));
      }
      return false;
    case TReadBack::NoFile:
    case TReadBack::Unchanged:
      return false;
    case TReadBack::AskFirst:
      if (!m_window.Prompts().Question(texts::AskReplaceChangedPage())) return false;
      break;
    case TReadBack::Replace:
      break;
  }
  ReplacePageText(run, *fileText);
  return true;
}

void TToolCommands::ReplacePageText(const TToolRun& run, const std::string& text) {
  TTreeNode* page = m_window.Tree().FindById(run.page);
  if (m_window.SelectedPage() == page) {
    // One edit of the lines that differ: one undo step, and the caret stays.
    ReplaceDifferingLines(m_window.Editor(), text);
  } else {
    m_window.Tree().EnsureData(page).SetBody(text);
  }
  m_window.Document().DocModified = true;
  m_window.SetModifiedIndicator(true);
}

bool TToolCommands::MayClose() {
  if (m_waits.empty()) return true;
  if (m_window.Prompts().Question(texts::AskStopWaiting())) {
    m_closeAfterWait = true;
    for (TToolProcess* process : m_waits) process->Abandon();
  }
  return false;
}

void TToolCommands::FinishWait() {
  if (!m_closeAfterWait || !m_waits.empty()) return;
  m_closeAfterWait = false;
  QTimer::singleShot(0, m_window.Window(), &QWidget::close);
}

}  // namespace nuv
