// The macro command in the window.
#include "app/MacroController.h"

#include <QAction>
#include <QEvent>
#include <QMenu>
#include <QTimer>

#include "app/Actions.h"
#include "app/WindowServices.h"
#include "outline/OutlineTree.h"
#include "outline/PageEditor.h"

namespace nuv {

TMacroCommands::TMacroCommands(IWindowServices& window, QObject* parent)
    : QObject(parent), m_window(window), m_qtDialogs(window.Window()) {
  acExecMacro = MakeAction(this, "acExecMacro", QStringLiteral("マクロの実行(&M)..."), QKeySequence(Qt::CTRL | Qt::Key_M));
  connect(acExecMacro, &QAction::triggered, this, [this] { acExecMacroExecute(); });
  QMenu* tools = m_window.Menu(TMenuSlot::Tools);
  tools->addSeparator();
  tools->addAction(acExecMacro);
  m_window.Window()->addAction(acExecMacro);

  TPoorPascalPlatform platform;
  platform.messageLoop = this;
  platform.dialogs = this;
  platform.processes = &m_processes;
  platform.desktop = &m_desktop;
  pp1.SetPlatform(platform);
  TMacroHostParts parts;
  parts.editor = &m_window.Editor();
  parts.lines = dynamic_cast<IPageLines*>(&m_window.Editor());
  parts.tree = &m_window.Tree();
  parts.clipboard = &m_clipboard;
  parts.prompts = &m_window.Prompts();
  parts.dialogs = this;
  m_host = std::make_unique<TMacroHost>(pp1, parts);
  // The host routines are registered when the window is first shown.
  m_window.Window()->installEventFilter(this);
}

TMacroCommands::~TMacroCommands() = default;

bool TMacroCommands::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_window.Window() && event->type() == QEvent::Show) m_host->Register();
  return false;
}

void TMacroCommands::acExecMacroExecute() {
  // Macros handle window messages while they run: a second run would re-enter the interpreter.
  if (Running() || !acExecMacro->isEnabled()) return;
  m_host->Register();
  acExecMacro->setEnabled(false);
  m_document = m_window.Tree().Generation();
  m_host->acExecMacroExecute();
  acExecMacro->setEnabled(true);
  emit RunEnded();
  if (m_closeAfterRun) {
    m_closeAfterRun = false;
    QTimer::singleShot(0, m_window.Window(), &QWidget::close);
  }
}

bool TMacroCommands::MayClose() {
  if (!Running()) return true;
  m_closeAfterRun = true;
  pp1.Abort();
  return false;
}

TInputBoxResult TMacroCommands::InputBox(const std::string& caption, const std::string& prompt, std::string& value) {
  return m_scripted ? m_scripted->InputBox(caption, prompt, value) : m_qtDialogs.InputBox(caption, prompt, value);
}

int TMacroCommands::MessageBox(const std::string& text, const std::string& caption, int flags) {
  return m_scripted ? m_scripted->MessageBox(text, caption, flags) : m_qtDialogs.MessageBox(text, caption, flags);
}

void TMacroCommands::ProcessMessages() {
  m_loop.ProcessMessages();
  CheckDocument();
}

void TMacroCommands::Wait(int ms) {
  m_loop.Wait(ms);
  CheckDocument();
}

void TMacroCommands::CheckDocument() {
  // The macro was written for the document it started in: it stops before
  // its next statement touches another one.
  if (Running() && m_window.Tree().Generation() != m_document) pp1.Abort();
}

}  // namespace nuv
