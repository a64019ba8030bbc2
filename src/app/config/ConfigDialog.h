// TfmConfig, the settings dialog: every settings key on its pages, worked on
// as a copy so that nothing reaches the window's settings before OK.
//
// The controls are bound to members of the working copy by small binding
// tables (check boxes, spin boxes, choice boxes, text boxes); the colour
// items and the bracket slots are edited in the copy directly and shown at
// once in two preview editors. OK collects the controls into the copy,
// reads the colours back from the colour preview and checks the texts.
// The pages are built in the ConfigPage*.cpp files, one per page group.
#pragma once

#include <QDialog>
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "config/NuvConfig.h"

class QCheckBox;
class QComboBox;
class QIcon;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTreeWidget;
class QVBoxLayout;
class QWidget;

namespace nuv {

class IPrompts;
class TPageEditorView;

class TfmConfig : public QDialog {
  Q_OBJECT
 public:
  // `labelIcon` gives the picture shown beside each label name (0 to 7).
  TfmConfig(const TnuvConfig& config, IPrompts& prompts, std::function<QIcon(int label)> labelIcon = {},
            QWidget* parent = nullptr);
  ~TfmConfig() override;

  // The settings as the dialog left them; complete once OK was accepted.
  const TnuvConfig& Result() const { return m_work; }

  // The colour dialog: the chosen colour, or nothing when cancelled.
  std::function<std::optional<int32_t>(int32_t initial)> PickColor;
  // The tool dialog: the edited tool, or nothing when cancelled.
  std::function<std::optional<TnuvTool>(const TnuvTool& tool)> EditTool;

  // The colour preview and the bracket sample.
  TPageEditorView& Preview() const { return *edx; }
  TPageEditorView& BracketPreview() const { return *edxBrackets; }

  // The controls that act on the lists and the colours (the rest are found
  // by their object names, which are the settings keys).
  void SelectColorItem(int item);
  void btColorClick(bool background);
  void btUnifyFontColorClick();
  void btUnifyBackColorClick();
  void SelectBracket(int slot);
  void btBracketSetClick();
  void btBracketClearClick();
  void btBracketColorClick(bool background);
  void btBracketUnifyBackClick();
  void SelectEditMode(int row);
  void btEditModeSetClick();
  void btEditModeClearClick();
  void btToolNewClick();
  void btToolEditClick();
  void btToolDeleteClick();
  void btToolMoveClick(int step);

  void accept() override;

 private:
  struct TBoolBinding {
    QCheckBox* box;
    bool TnuvConfig::*member;
  };
  struct TIntBinding {
    QSpinBox* box;
    int32_t TnuvConfig::*member;
  };
  // A box of fixed choices: item i stands for values[i].
  struct TChoiceBinding {
    QComboBox* box;
    int32_t TnuvConfig::*member;
    std::vector<int32_t> values;
  };
  struct TTextBinding {
    QLineEdit* box;
    std::function<std::string&(TnuvConfig&)> field;
  };
  // Where a colour item keeps its values in the working copy; null where the
  // item has no such value.
  struct TColorItem {
    int32_t* color = nullptr;
    int32_t* bkColor = nullptr;
    TFontStyles* style = nullptr;
  };

  // Binding helpers: each makes the control, loads it from the copy, and
  // lets a change of the view keys refresh the previews.
  QCheckBox* AddCheck(QVBoxLayout* layout, const QString& caption, bool TnuvConfig::*member, bool view = false);
  QSpinBox* AddSpin(QWidget* parent, const char* name, int min, int max, int32_t TnuvConfig::*member, bool view = false);
  QComboBox* AddChoice(QWidget* parent, const char* name, const QStringList& captions, std::vector<int32_t> values,
                       int32_t TnuvConfig::*member, bool view = false);
  QLineEdit* AddText(QWidget* parent, const char* name, std::function<std::string&(TnuvConfig&)> field);
  // The bound controls into the copy. A text holding a character Shift JIS
  // cannot hold stops it with an error box and false when `report` is set;
  // otherwise that text is skipped.
  bool CollectControls(TnuvConfig& into, bool report);

  QWidget* BuildFontPage();
  QWidget* BuildViewPage();
  QWidget* BuildView2Page();
  QWidget* BuildColorPage();
  QWidget* BuildBracketPage();
  QWidget* BuildLabelPage();
  QWidget* BuildFormatPage();
  QWidget* BuildActionPage();
  QWidget* BuildExecPage();
  QWidget* BuildEditModePage();
  QWidget* BuildPathPage();
  QWidget* BuildToolPage();

  // The view keys as the controls hold them, shown by both previews.
  void ViewControlsChanged();
  void WrapRightChanged();
  void ApplyColorsToPreview();
  void UpdateSamplePanels();
  TColorItem ColorItem(int item);
  std::optional<int32_t> AskColor(int32_t initial);
  void UpdateBracketLine(int slot);
  void ShowBracketSample(int slot);
  void UpdateEditModeButtons();
  void FillEditModeRow(int row);
  void FillToolRow(int row);
  void UpdateToolButtons();

  TnuvConfig m_work;
  IPrompts& m_prompts;
  std::function<QIcon(int)> m_labelIcon;
  std::vector<TBoolBinding> m_bools;
  std::vector<TIntBinding> m_ints;
  std::vector<TChoiceBinding> m_choices;
  std::vector<TTextBinding> m_texts;
  bool m_loading = true;  // the controls are being filled: no preview updates yet

  QTabWidget* pcConfig = nullptr;
  TPageEditorView* edx = nullptr;
  TPageEditorView* edxBrackets = nullptr;
  // "表示２"
  QCheckBox* cbWrapRight = nullptr;
  QSpinBox* edWrapByte = nullptr;
  QCheckBox* cbFollowPunctuation = nullptr;
  QCheckBox* cbFollowRetMark = nullptr;
  // "色"
  QListWidget* lbColors = nullptr;
  QPushButton* btFontColor = nullptr;
  QPushButton* btBackColor = nullptr;
  std::array<QCheckBox*, 3> cbStyles{};
  QLabel* pnlTree = nullptr;
  QLabel* pnlList = nullptr;
  // "強調表示"
  QListWidget* lbBrackets = nullptr;
  QLineEdit* edBegin = nullptr;
  QLineEdit* edEnd = nullptr;
  std::array<QCheckBox*, 3> cbBracketStyles{};
  QPushButton* btBracketClear = nullptr;
  // "ラベル"
  QCheckBox* cbShowLabel1 = nullptr;
  QCheckBox* cbClearLabel1 = nullptr;
  // "編集モード"
  QTreeWidget* lvEditMode = nullptr;
  QLineEdit* edModeName = nullptr;
  QLineEdit* edModeAccel = nullptr;
  QLineEdit* edModeFile = nullptr;
  QPushButton* btModeSet = nullptr;
  // "外部ツール"
  QTreeWidget* lvTools = nullptr;
  QPushButton* btToolUp = nullptr;
  QPushButton* btToolDown = nullptr;
  QPushButton* btToolEdit = nullptr;
  QPushButton* btToolDelete = nullptr;
};

// A settings colour as Qt shows it; system colours come from the palette.
QColor ConfigColorToQColor(int32_t value);

}  // namespace nuv
