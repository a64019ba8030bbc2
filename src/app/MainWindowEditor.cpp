// The main window's page editor: its settings, wrap width, scroll bars and popup.
#include <QAction>
#include <QMenu>
#include <QScrollBar>
#include <QSpinBox>
#include <QStyle>

#include "app/Actions.h"
#include "app/ClipboardController.h"
#include "app/EditModeController.h"
#include "app/MainWindow.h"
#include "config/WrapRight.h"
#include "editor/view/EditorPopup.h"
#include "editor/view/EditorSettings.h"
#include "editor/view/PageEditorView.h"

namespace nuv {

void Tfmnuv::ApplyEditorSettings() {
  const TEditorSettingsTarget target{edxnuv->Editor(), edxnuv->View(), edxnuv->ViewFountain()};
  ApplyView(m_config, target);
  ApplyColors(m_config, target);
  ApplyBrackets(m_config, edxnuv->ViewFountain());
  edxnuv->SetScrollLine(m_config.ScrollLine);
  m_editModes->SettingsChanged();
  {
    const QSignalBlocker block(edWrapByte);
    edWrapByte->setValue(m_config.WrapByte);
  }
  edWrapByte->setEnabled(m_config.WordWrap && !m_config.WrapRight);
  edxnuvResize();
  UpdateEditorScrollBars();
}

void Tfmnuv::edxnuvResize() {
  if (!m_config.WrapRight) return;
  const TEditorViewOptions& view = edxnuv->View();
  TWrapRightGeometry g;
  g.editorWidth = edxnuv->width();
  g.marginLeft = edxnuv->Editor().Margin().Left();
  g.scrollBarWidth = edxnuv->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  g.charWidth = edxnuv->Geometry().ColumnWidth - edxnuv->Editor().Margin().Character();
  g.marginChar = edxnuv->Editor().Margin().Character();
  g.lineNumbersShown = view.Leftbar.Visible();
  g.leftbarColumns = view.Leftbar.Column();
  g.leftbarLeftMargin = view.Leftbar.LeftMargin();
  g.leftbarRightMargin = view.Leftbar.RightMargin();
  // The width goes to the editor only: WrapByte keeps the user's own value.
  if (const auto width = WrapRightWidth(g)) edxnuv->Editor().WrapOption().SetWrapByte(*width);
}

void Tfmnuv::UpdateEditorScrollBars() {
  const bool wrap = edxnuv->Editor().WordWrap();
  const bool fits = edxnuv->Editor().GetListCount() <= edxnuv->Geometry().VisibleRows;
  TScrollBars bars = TScrollBars::Both;
  if (fits)
    bars = wrap ? TScrollBars::None : TScrollBars::Horizontal;
  else if (wrap)
    bars = TScrollBars::Vertical;
  edxnuv->View().SetScrollBars(bars);
}

void Tfmnuv::BuildEditorPopup() {
  // Box paste keeps its key in the editor, where the popup only shows it.
  acBoxPaste = MakeAction(this, "acBoxPaste", QStringLiteral("Box貼り付け(&B)"), QKeySequence(Qt::CTRL | Qt::Key_B));
  connect(acBoxPaste, &QAction::triggered, this, [this] { edxnuv->PasteBoxFromClipboard(); });
  edxnuv->addAction(acBoxPaste);
  acBoxPaste->setShortcutContext(Qt::WidgetShortcut);
  // The editor's own items come first, showing the keys that really work in
  // this window: redo is Ctrl+Shift+Z (Ctrl+A selects all) and box mode has
  // no key (Ctrl+K adds a page). Controllers add their items to the slot.
  auto* popup = new TEditorPopup(*edxnuv, *Menu(TMenuSlot::EditorPopup), this);
  popup->SetKey(TEditorCommand::Redo, m_clipboard->acRedo->shortcut());
  popup->SetKey(TEditorCommand::BoxMode, m_clipboard->acBoxSelMode->shortcut());
}

}  // namespace nuv
