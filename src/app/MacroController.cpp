// The macro command in the window.
#include "app/MacroController.h"

#include <QAction>
#include <QEvent>
#include <QMenu>
#include <QTimer>

#include "app/Actions.h"
#include "app/PageTextReplace.h"
#include "app/WindowServices.h"
#include "base/ScopedFlag.h"
#include "editor/view/EditorView.h"
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
  parts.editor = &m_copy;
  parts.lines = &m_copy;
  parts.tree = &m_window.Tree();
  parts.clipboard = &m_clipboard;
  parts.prompts = &m_window.Prompts();
  parts.dialogs = this;
  m_host = std::make_unique<TMacroHost>(pp1, parts);
  // Whatever changes the page outside the macro is taken in at the next meeting.
  if (auto* view = dynamic_cast<TEditorView*>(&m_window.Editor())) {
    for (auto signal : {&TEditorView::TextChanged, &TEditorView::CaretMoved, &TEditorView::SelectionChanged})
      connect(view, signal, this, [this] {
        if (!m_flushing) m_pageTouched = true;
      });
  }
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
  m_synced.clear();
  m_copy.SetText(std::string_view());
  m_pageTouched = true;
  Reload();
  m_host->acExecMacroExecute();
  Flush();
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
  Flush();
  const TInputBoxResult result =
      m_scripted ? m_scripted->InputBox(caption, prompt, value) : m_qtDialogs.InputBox(caption, prompt, value);
  Reload();
  return result;
}

int TMacroCommands::MessageBox(const std::string& text, const std::string& caption, int flags) {
  Flush();
  const int result = m_scripted ? m_scripted->MessageBox(text, caption, flags) : m_qtDialogs.MessageBox(text, caption, flags);
  Reload();
  return result;
}

void TMacroCommands::ProcessMessages() {
  Flush();
  m_loop.ProcessMessages();
  Reload();
  CheckDocument();
}

void TMacroCommands::Wait(int ms) {
  Flush();
  m_loop.Wait(ms);
  Reload();
  CheckDocument();
}

void TMacroCommands::Flush() {
  IPageEditor& editor = m_window.Editor();
  const TScopedFlag flushing(m_flushing);
  if (m_copy.Modified()) {
    std::string text = m_copy.Text();
    ReplaceDifferingLines(editor, m_pageTouched ? editor.Text() : m_synced, text);
    m_synced = std::move(text);
    m_copy.SetModified(false);
  }
  if (editor.SelStart() != m_copy.SelStart() || editor.SelLength() != m_copy.SelLength())
    editor.SetSelection(m_copy.SelStart(), m_copy.SelLength());
}

void TMacroCommands::Reload() {
  if (!m_pageTouched) return;
  m_pageTouched = false;
  const IPageEditor& editor = m_window.Editor();
  std::string text = editor.Text();
  if (text != m_synced) {
    m_copy.SetText(text);
    m_synced = std::move(text);
  }
  m_copy.SetModified(false);
  if (editor.SelStart() != m_copy.SelStart() || editor.SelLength() != m_copy.SelLength())
    m_copy.SetSelection(editor.SelStart(), editor.SelLength());
}

void TMacroCommands::CheckDocument() {
  // The macro was written for the document it started in: it stops before
  // its next statement touches another one.
  if (Running() && m_window.Tree().Generation() != m_document) pp1.Abort();
}

}  // namespace nuv
