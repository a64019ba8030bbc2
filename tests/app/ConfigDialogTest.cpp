// The settings dialog inside the real window: Cancel writes nothing, OK writes
// the settings file and the editor shows the new settings at once, the
// previews follow the controls, and the controls keep the settings sound.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>

#include "app/EditModeController.h"
#include "app/config/ConfigController.h"
#include "app/config/ConfigDialog.h"
#include "base/FileIo.h"
#include "editor/view/PageEditorView.h"
#include "fountain/EditorFountain.h"
#include "outline/PagePictures.h"
#include "support/WindowFixture.h"

namespace nuv::test {
namespace {

class ConfigDialogTest : public WindowTest {
 protected:
  TEditorView& PageView() { return *static_cast<TEditorView*>(window->PageEditor()); }

  // Runs the settings command; `fill` acts on the dialog and closes it.
  void RunDialog(const std::function<void(TfmConfig&)>& fill) {
    window->Settings().BeforeShow = fill;
    window->Settings().acConfig->trigger();
    window->Settings().BeforeShow = nullptr;
  }
  template <typename T>
  static T* Control(TfmConfig& d, const char* name) {
    T* control = d.findChild<T*>(name);
    EXPECT_NE(control, nullptr) << name;
    return control;
  }
  static void Click(TfmConfig& d, const char* name) { Control<QPushButton>(d, name)->click(); }
};

TEST_F(ConfigDialogTest, CancelLeavesTheFileByteForByteAndTheEditorAsItWas) {
  // Odd spacing, a comment and a key of nobody's: any write would show.
  const std::string original =
      "; kept\r\n[EditView]\r\nShowRuler = 1\r\nTabSpace=4\r\n[EditColors]\r\nAnkColor=0\r\n[Other]\r\nx=y\r\n";
  home.Write("nuv.ini", original);
  Destroy();
  Create();
  Start();
  RunDialog([](TfmConfig& d) {
    d.PickColor = [](int32_t) { return std::optional<int32_t>(0x0000FF); };
    Control<QCheckBox>(d, "ShowRuler")->setChecked(false);
    d.SelectColorItem(0);
    d.btColorClick(false);
    Control<QLineEdit>(d, "Label2")->setText(QStringLiteral("別名"));
    d.reject();
  });
  EXPECT_EQ(home.Read("nuv.ini"), original);
  EXPECT_TRUE(PageView().View().Ruler.Visible());
  EXPECT_EQ(PageView().ViewFountain().Colors().Ank.Color(), 0);
  EXPECT_EQ(window->Config().Labels[1], Sj("重要"));
}

TEST_F(ConfigDialogTest, OkWritesTheFileAndTheWindowShowsEverythingAtOnce) {
  Start({QString::fromStdString(WriteSample("doc.txt", ".A\r\nabc\r\n.B\r\n"))});
  RunDialog([](TfmConfig& d) {
    d.PickColor = [](int32_t) { return std::optional<int32_t>(0x0000FF); };
    d.EditTool = [](const TnuvTool&) { return std::optional<TnuvTool>(TnuvTool{"Sort", "sort", "-r", ".txt"}); };
    Control<QCheckBox>(d, "ShowRuler")->setChecked(false);
    Control<QComboBox>(d, "TabSpace")->setCurrentText("8");
    Control<QSpinBox>(d, "MarginLeft")->setValue(3);
    d.SelectColorItem(0);  // 半角文字
    d.btColorClick(false);
    d.SelectColorItem(18);  // ウィンドウ（エディタ部）
    d.btColorClick(true);
    Control<QLineEdit>(d, "Label2")->setText(QStringLiteral("別名"));
    Control<QCheckBox>(d, "ShowLabel1")->setChecked(true);
    d.btToolNewClick();
    d.accept();
  });
  const std::string ini = home.Read("nuv.ini");
  for (const char* line : {"ShowRuler=0\r\n", "TabSpace=8\r\n", "MarginLeft=3\r\n", "AnkColor=255\r\n",
                           "EditBkColor=255\r\n", "ShowLabel1=1\r\n", "Count=1\r\n", "Title0=Sort\r\n"})
    EXPECT_NE(ini.find(line), std::string::npos) << line;
  EXPECT_NE(ini.find("Label2=" + Sj("別名") + "\r\n"), std::string::npos);

  EXPECT_FALSE(PageView().View().Ruler.Visible());
  EXPECT_EQ(PageView().Editor().Caret().TabSpaceCount(), 8);
  EXPECT_EQ(PageView().Editor().Margin().Left(), 3);
  EXPECT_EQ(PageView().ViewFountain().Colors().Ank.Color(), 0x0000FF);
  EXPECT_EQ(PageView().View().Color(), 0x0000FF);
  // Pages without a label show label 1 now that labels are shown in the tree.
  EXPECT_EQ(window->Tree().GetFirstNode()->StateIndex(), pic::kLabel1);
  EXPECT_EQ(window->Config().Tools.size(), 1u);
}

TEST_F(ConfigDialogTest, ThePreviewsFollowTheControls) {
  RunDialog([](TfmConfig& d) {
    TPageEditorView& preview = d.Preview();
    TPageEditorView& brackets = d.BracketPreview();
    // The sample opens with "選択領域" selected.
    EXPECT_EQ(preview.SelText(), Sj("選択領域"));

    struct TCase {
      const char* box;
      std::function<bool(TPageEditorView&)> shown;
    };
    const TCase checks[] = {
        {"ShowRuler", [](TPageEditorView& v) { return v.View().Ruler.Visible(); }},
        {"ShowLineNo", [](TPageEditorView& v) { return v.View().Leftbar.Visible(); }},
        {"ShowTab", [](TPageEditorView& v) { return v.View().ExMarks.TabMark.Visible(); }},
        {"Underline", [](TPageEditorView& v) { return v.View().Marks.Underline.Visible(); }},
        {"WordWrap", [](TPageEditorView& v) { return v.Editor().WordWrap(); }},
    };
    for (const TCase& c : checks) {
      QCheckBox* box = Control<QCheckBox>(d, c.box);
      for (const bool on : {!box->isChecked(), box->isChecked()}) {
        box->setChecked(on);
        EXPECT_EQ(c.shown(preview), on) << c.box;
        EXPECT_EQ(c.shown(brackets), on) << c.box;
      }
    }
    Control<QSpinBox>(d, "MarginLeft")->setValue(11);
    EXPECT_EQ(preview.Editor().Margin().Left(), 11);
    Control<QComboBox>(d, "TabSpace")->setCurrentText("6");
    EXPECT_EQ(preview.Editor().Caret().TabSpaceCount(), 6);

    // A colour and a style reach the preview at once.
    d.PickColor = [](int32_t) { return std::optional<int32_t>(0x00FF00); };
    d.SelectColorItem(2);  // コメント
    d.btColorClick(false);
    Control<QCheckBox>(d, "cbStyleBold")->setChecked(true);
    EXPECT_EQ(preview.ViewFountain().Colors().Comment.Color(), 0x00FF00);
    EXPECT_EQ(preview.ViewFountain().Colors().Comment.Style(), kStyleBold);

    // A user bracket slot shows begin + "サンプル" + end in its own colours.
    d.SelectBracket(10);
    Control<QLineEdit>(d, "edBegin")->setText("[[");
    Control<QLineEdit>(d, "edEnd")->setText("]]");
    d.btBracketSetClick();
    EXPECT_EQ(brackets.LineText(0), "[[" + Sj("サンプル") + "]]");
    d.btBracketColorClick(false);
    ASSERT_EQ(brackets.ViewFountain().Brackets().Count(), 1);
    EXPECT_EQ(brackets.ViewFountain().Brackets().Item(0).ItemColor().Color(), 0x00FF00);
    d.reject();
  });
}

TEST_F(ConfigDialogTest, OkRefusesATextShiftJisCannotHoldAndStaysOpen) {
  RunDialog([this](TfmConfig& d) {
    Control<QLineEdit>(d, "Label3")->setText(QString::fromUtf8("\xF0\x9F\x98\x80"));
    Control<QCheckBox>(d, "ShowRuler")->setChecked(false);  // the previews go on meanwhile
    EXPECT_FALSE(d.Preview().View().Ruler.Visible());
    d.accept();
    EXPECT_NE(d.result(), QDialog::Accepted);
    EXPECT_EQ(prompts->errors.size(), 1u);
    d.reject();
  });
  EXPECT_TRUE(window->Config().ShowRuler);
  EXPECT_FALSE(FileExists(home.File("nuv.ini")));
}

TEST_F(ConfigDialogTest, TheColourButtonsFollowTheItemAndUnifyTheGroups) {
  RunDialog([](TfmConfig& d) {
    struct TCase {
      int item;
      bool styles, fore, back;
    };
    const TCase items[] = {
        {0, true, true, true},     // 半角文字
        {8, false, true, true},    // 選択文字
        {9, false, true, false},   // タブ
        {18, false, false, true},  // ウィンドウ（エディタ部）
        {20, false, true, false},  // 検索強調表示
        {21, false, true, true},   // ツリー
    };
    for (const TCase& c : items) {
      d.SelectColorItem(c.item);
      EXPECT_EQ(Control<QCheckBox>(d, "cbStyleBold")->isEnabled(), c.styles) << c.item;
      EXPECT_EQ(Control<QPushButton>(d, "btFontColor")->isEnabled(), c.fore) << c.item;
      EXPECT_EQ(Control<QPushButton>(d, "btBackColor")->isEnabled(), c.back) << c.item;
    }
    d.PickColor = [](int32_t) { return std::optional<int32_t>(0x123456); };
    d.btUnifyFontColorClick();
    d.PickColor = [](int32_t) { return std::optional<int32_t>(0x654321); };
    d.btUnifyBackColorClick();
    d.accept();
  });
  const TnuvConfig& c = window->Config();
  for (const TColorGroup* g : {&c.Ank, &c.DBCS, &c.Comment, &c.Keyword, &c.URL, &c.Mail, &c.Str, &c.Digit}) {
    EXPECT_EQ(g->Color, 0x123456);
    EXPECT_EQ(g->BkColor, 0x654321);
  }
  EXPECT_EQ(c.RulerBkColor, 0x654321);
  EXPECT_EQ(c.LineNoBkColor, 0x654321);
  EXPECT_EQ(c.EditBkColor, 0x654321);
  EXPECT_NE(c.SelectBkColor, 0x654321);
  EXPECT_EQ(PageView().View().Leftbar.BkColor(), 0x654321);
}

TEST_F(ConfigDialogTest, OnlyTheTabWidthsTheEditorAcceptsAreOffered) {
  RunDialog([](TfmConfig& d) {
    QComboBox* tabs = Control<QComboBox>(d, "TabSpace");
    QStringList offered;
    for (int i = 0; i < tabs->count(); ++i) offered << tabs->itemText(i);
    EXPECT_EQ(offered, QStringList({"2", "4", "6", "8"}));
    EXPECT_EQ(tabs->currentText(), "4");
    d.reject();
  });
}

TEST_F(ConfigDialogTest, WrappingAtTheRightEdgeDisablesTheWidthAndTheHangingOptions) {
  WriteIni("EditView", "WrapRight", "0");
  WriteIni("EditView", "FollowPunctuation", "1");
  Destroy();
  Create();
  RunDialog([](TfmConfig& d) {
    QCheckBox* right = Control<QCheckBox>(d, "WrapRight");
    QSpinBox* width = Control<QSpinBox>(d, "WrapByte");
    QCheckBox* hang = Control<QCheckBox>(d, "FollowPunctuation");
    QCheckBox* hangRet = Control<QCheckBox>(d, "FollowRetMark");
    EXPECT_TRUE(width->isEnabled());
    EXPECT_TRUE(hang->isChecked());
    right->setChecked(true);
    EXPECT_FALSE(width->isEnabled());
    EXPECT_FALSE(hang->isChecked());
    EXPECT_FALSE(hang->isEnabled());
    EXPECT_FALSE(hangRet->isEnabled());
    right->setChecked(false);
    EXPECT_TRUE(width->isEnabled());
    EXPECT_TRUE(hang->isEnabled());
    EXPECT_TRUE(hangRet->isEnabled());
    EXPECT_FALSE(hang->isChecked());  // unchecking does not bring the option back
    d.accept();
  });
  EXPECT_FALSE(window->Config().FollowPunctuation);
  EXPECT_FALSE(window->Config().WrapRight);
}

TEST_F(ConfigDialogTest, AnAcceleratorTheModeMenuAlreadyUsesIsRefused) {
  home.Write("lua.rsv", "Commenter=--\r\n");
  WriteIni("EditMode", "Name2", "SQL");
  WriteIni("EditMode", "Accelerator2", "Q");
  Destroy();
  Create();
  RunDialog([this](TfmConfig& d) {
    d.SelectEditMode(0);
    Control<QLineEdit>(d, "edModeName")->setText("Lua");
    Control<QLineEdit>(d, "edModeFile")->setText("lua.rsv");
    ASSERT_TRUE(Control<QPushButton>(d, "btEditModeSet")->isEnabled());
    // "P" is Perl's letter, "q" another user mode's: both refused.
    for (const char* taken : {"p", "q"}) {
      Control<QLineEdit>(d, "edModeAccel")->setText(taken);
      d.btEditModeSetClick();
      EXPECT_TRUE(d.Result().EditModes[0].Name.empty()) << taken;
    }
    EXPECT_EQ(prompts->errors.size(), 2u);
    Control<QLineEdit>(d, "edModeAccel")->setText("U");
    d.btEditModeSetClick();
    EXPECT_EQ(d.Result().EditModes[0], (TEditModeSlot{"Lua", "U", "lua.rsv"}));
    EXPECT_EQ(prompts->errors.size(), 2u);
    // A file that is not in the program folder cannot be set.
    Control<QLineEdit>(d, "edModeFile")->setText("missing.rsv");
    EXPECT_FALSE(Control<QPushButton>(d, "btEditModeSet")->isEnabled());
    d.accept();
  });
  EXPECT_EQ(window->EditModes().Modes().size(), 11u);
}

TEST_F(ConfigDialogTest, ADocumentsOwnSettingsFileKeepsTheLinesNuvDoesNotOwn) {
  const std::string doc = WriteSample("doc.txt", ".A\r\nabc\r\n");
  docs.Write("doc.ini", "; my notes\r\n[EditView]\r\nShowRuler=1\r\nMyKey=7\r\n[Mine]\r\nfoo=bar\r\n");
  Start({QString::fromStdString(doc)});
  ASSERT_EQ(window->Config().CurrentFile(), docs.File("doc.ini"));
  RunDialog([](TfmConfig& d) {
    Control<QCheckBox>(d, "ShowRuler")->setChecked(false);
    d.accept();
  });
  const std::string ini = docs.Read("doc.ini");
  for (const char* line : {"; my notes\r\n", "ShowRuler=0\r\n", "MyKey=7\r\n", "[Mine]\r\nfoo=bar\r\n"})
    EXPECT_NE(ini.find(line), std::string::npos) << line;
  EXPECT_FALSE(PageView().View().Ruler.Visible());
}

TEST_F(ConfigDialogTest, BracketSlotsOfTheProgramKeepTheirTextsAndUserSlotsCanBeCleared) {
  RunDialog([](TfmConfig& d) {
    d.SelectBracket(0);
    EXPECT_FALSE(Control<QLineEdit>(d, "edBegin")->isEnabled());
    EXPECT_FALSE(Control<QPushButton>(d, "btBracketClear")->isEnabled());
    Control<QCheckBox>(d, "cbBracketItalic")->setChecked(true);
    d.btBracketSetClick();
    d.SelectBracket(12);
    Control<QLineEdit>(d, "edBegin")->setText("<<");
    Control<QLineEdit>(d, "edEnd")->setText(">>");
    d.btBracketSetClick();
    d.accept();
  });
  EXPECT_EQ(window->Config().Brackets[0].Str, "/*");
  EXPECT_EQ(window->Config().Brackets[0].Style, kStyleItalic);
  EXPECT_EQ(window->Config().Brackets[12].Str, "<<");
  EXPECT_NE(home.Read("nuv.ini").find("BracketsStr13=<<\r\n"), std::string::npos);

  RunDialog([](TfmConfig& d) {
    d.SelectBracket(12);
    d.btBracketClearClick();
    EXPECT_EQ(d.findChild<QListWidget*>("lbBrackets")->item(12)->text(), QStringLiteral("（未使用）"));
    d.accept();
  });
  EXPECT_EQ(home.Read("nuv.ini").find("BracketsStr13"), std::string::npos);
}

}  // namespace
}  // namespace nuv::test
