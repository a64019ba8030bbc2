// Marks and labels: the mark and label menus, the two buttons of the title
// bar that cycle them, Ctrl+click on a page's icon, and the title bar's
// pictures for the shown page.
#pragma once

#include <QObject>
#include <array>

class QAction;
class QActionGroup;
class QMenu;
class QModelIndex;
class QToolButton;

namespace nuv {

class IWindowServices;
class TTreeNode;

class TMarkCommands : public QObject {
  Q_OBJECT
 public:
  TMarkCommands(IWindowServices& window, QToolButton* markButton, QToolButton* labelButton, QObject* parent = nullptr);

  QMenu* pmNoteMark;
  QMenu* pmNoteState;
  QAction* acImageChange;   // the mark button
  QAction* acSImageChange;  // the label button
  QAction* miChangeMark;    // tree popup: the mark menu at the pointer
  QAction* miChangeLabel;   // tree popup: the label menu at the pointer
  std::array<QAction*, 7> markItems{};   // by mark 0 to 6
  std::array<QAction*, 8> labelItems{};  // by label 1 to 8

  void SetMark(int mark);
  void CycleMark();
  void SetLabel(int label);  // 7 to 14
  void CycleLabel();
  // Ctrl+click in the tree: on an icon the page's mark steps on.
  void IconCtrlClicked(TTreeNode* page, bool onIcon);
  // The title bar follows the shown page.
  void ShowPage(const TTreeNode* page);
  // Label captions from the settings.
  void ApplyLabelNames();
  void SetMarkEnabled(bool enabled);

 private:
  void MarkChanged(TTreeNode* page, int mark);
  void LabelChanged(const TTreeNode* page, int label);

  IWindowServices& m_window;
  QToolButton* m_markButton;
  QToolButton* m_labelButton;
};

}  // namespace nuv
