// The edit modes of the window: the mode menu (acEMText ... and the user
// modes), the mode box cbEditMode, and switching the page editor's colouring.
#pragma once

#include <QObject>
#include <vector>

#include "fountain/EditModes.h"

class QAction;
class QActionGroup;
class QComboBox;

namespace nuv {

class IWindowServices;
class TEditorView;

class TEditModeCommands : public QObject {
  Q_OBJECT
 public:
  TEditModeCommands(IWindowServices& window, TEditorView& editor, QComboBox* box, QObject* parent = nullptr);

  // Refills the menu and the box: the nine built-in modes, then the named
  // user modes of the settings. Text mode is checked, the box shows nothing.
  void Rebuild();
  // Rebuilds when the user modes of the settings changed.
  void SettingsChanged();
  // Runs the mode of menu entry `index`.
  void Choose(int index);
  const std::vector<TEditMode>& Modes() const { return m_modes; }
  QAction* ModeAction(int index) const { return m_actions.at(static_cast<std::size_t>(index)); }

 private:
  IWindowServices& m_window;
  TEditorView& m_editor;
  QComboBox* m_box;
  QActionGroup* m_group;
  std::vector<TEditMode> m_modes;
  std::array<TEditModeSlot, kEditModeSlots> m_slots;
  std::vector<QAction*> m_actions;
};

}  // namespace nuv
