// Edit-mode menu, box and switch.
#include "app/EditModeController.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QMenu>

#include "app/Actions.h"
#include "app/QtText.h"
#include "app/WindowServices.h"
#include "editor/view/EditorView.h"

namespace nuv {

TEditModeCommands::TEditModeCommands(IWindowServices& window, TEditorView& editor, QComboBox* box, QObject* parent)
    : QObject(parent), m_window(window), m_editor(editor), m_box(box), m_group(new QActionGroup(this)) {
  m_group->setExclusive(true);
  connect(m_box, qOverload<int>(&QComboBox::activated), this, [this](int index) { Choose(index); });
  Rebuild();
}

void TEditModeCommands::Rebuild() {
  QMenu* menu = m_window.Menu(TMenuSlot::EditMode);
  for (QAction* action : m_actions) {
    menu->removeAction(action);
    m_group->removeAction(action);
    delete action;
  }
  m_actions.clear();
  m_slots = m_window.Config().EditModes;
  m_modes = BuildEditModes(m_slots);
  const QSignalBlocker block(m_box);
  m_box->clear();
  for (std::size_t i = 0; i < m_modes.size(); ++i) {
    const TEditMode& mode = m_modes[i];
    const std::string name = mode.ActionName.empty() ? "acEMUser" + std::to_string(mode.UserSlot + 1) : mode.ActionName;
    QAction* action = MakeAction(this, name.c_str(), ToQString(mode.Caption), QKeySequence(), true);
    m_group->addAction(action);
    menu->addAction(action);
    connect(action, &QAction::triggered, this, [this, i] { Choose(static_cast<int>(i)); });
    m_actions.push_back(action);
    m_box->addItem(ToQString(mode.BoxEntry));
  }
  // At start-up no mode command has run: the view fountain keeps its
  // settings and the box shows no entry until a mode is chosen.
  m_actions.front()->setChecked(true);
  m_box->setCurrentIndex(-1);
}

void TEditModeCommands::SettingsChanged() {
  if (m_window.Config().EditModes != m_slots) Rebuild();
}

void TEditModeCommands::Choose(int index) {
  if (index < 0 || index >= static_cast<int>(m_modes.size())) return;
  TEditorFountain& view = m_editor.ViewFountain();
  TFountain* fountain = ApplyEditMode(m_modes[static_cast<std::size_t>(index)], view, m_editor.Fountains(),
                                      m_window.Config().ProgramFolderPath());
  m_editor.SetFountain(fountain == &view ? nullptr : fountain);
  m_actions[static_cast<std::size_t>(index)]->setChecked(true);
  const QSignalBlocker block(m_box);
  m_box->setCurrentIndex(index);
}

}  // namespace nuv
