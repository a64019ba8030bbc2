// The headless page editor behind the page-editor interface: the body form,
// byte offsets of the selection, one undoable insertion, and a page switch
// that runs the real editor core.
#include <gtest/gtest.h>

#include "editor/HeadlessPageEditor.h"
#include "outline/DocumentState.h"
#include "outline/OutlineTree.h"
#include "outline/PageSwitch.h"
#include "support/FakePageEditor.h"
#include "support/TempDir.h"

namespace nuv {
namespace {

using test::Sj;

TEST(HeadlessPageEditorTest, TextIsTheBodyForm) {
  THeadlessPageEditor editor;
  EXPECT_EQ(editor.Text(), "");
  editor.SetText("a\nb");
  EXPECT_EQ(editor.Text(), "a\r\nb\r\n");
  editor.SetText("a\r\n\r\n");
  EXPECT_EQ(editor.Text(), "a\r\n\r\n");
  editor.SetText(std::string("x\0y", 3));
  EXPECT_EQ(editor.Text(), std::string("x\0y\r\n", 5));
  EXPECT_FALSE(editor.Modified());
  EXPECT_EQ(editor.SelStart(), 0);
}

TEST(HeadlessPageEditorTest, SelectionIsByteOffsetsIntoTheText) {
  THeadlessPageEditor editor;
  editor.Editor().SetWordWrap(true);
  editor.Editor().WrapOption().SetWrapByte(20);
  const std::string line = Sj("日本語の文章を書いています。とても長い行です。");
  editor.SetText("first\r\n" + line + "\r\nlast");
  const std::string text = editor.Text();
  const int start = static_cast<int>(text.find(Sj("長い")));
  editor.SetSelection(start, 4);
  EXPECT_EQ(editor.SelStart(), start);
  EXPECT_EQ(editor.SelLength(), 4);
  EXPECT_EQ(editor.SelText(), Sj("長い"));
  editor.InsertAtCaret("short");
  EXPECT_EQ(editor.Text(), "first\r\n" + Sj("日本語の文章を書いています。とても") + "short" + Sj("行です。") + "\r\nlast\r\n");
  EXPECT_EQ(editor.SelStart(), start + 5);
  EXPECT_EQ(editor.SelLength(), 0);
  EXPECT_TRUE(editor.Modified());
  ASSERT_TRUE(editor.CanUndo());
  editor.Undo();
  EXPECT_EQ(editor.Text(), text);
  EXPECT_TRUE(editor.CanRedo());
  editor.Redo();
  EXPECT_NE(editor.Text(), text);
  // Offsets past the end are clamped; the caret row and byte column follow.
  editor.SetSelection(100000, 5);
  EXPECT_EQ(editor.SelStart(), static_cast<int>(editor.Text().size()) - 2);
  editor.SetSelStart(7);
  EXPECT_EQ(editor.CaretRow(), 1);
  EXPECT_EQ(editor.CaretCol(), 0);
  editor.SetSelStart(9);
  EXPECT_EQ(editor.CaretCol(), 2);
}

class THost : public IPageSwitchHost {
 public:
  std::string TitleBoxText() const override { return title; }
  void SetTitleBoxText(std::string_view sjis) override { title = std::string(sjis); }
  void SetTitleBoxEnabled(bool) override {}
  void SetTreeReadOnly(bool) override {}
  void SetMarkCommandEnabled(bool) override {}
  void ShowPageAttributes(const TTreeNode*) override {}
  std::string title;
};

TEST(HeadlessPageEditorTest, PageSwitchStoresWhatWasTypedIntoTheCore) {
  TOutlineTree tree;
  THeadlessPageEditor editor;
  THost host;
  test::TScriptedPrompts prompts;
  TDocumentState state;
  TPageSwitchSettings settings;
  TPageSwitch pageSwitch(tree, editor, host, prompts, state, settings);
  TTreeNode* page = tree.Add(nullptr, "Page");
  tree.EnsureData(page).SetBody("alpha\r\nbeta\r\n");
  pageSwitch.ShowPage(page);
  EXPECT_EQ(editor.Text(), "alpha\r\nbeta\r\n");
  editor.Editor().SetRowCol(1, 4);
  editor.Editor().KeyPress('!');
  EXPECT_TRUE(pageSwitch.EditorChanged());
  pageSwitch.LeavePage(page);
  EXPECT_EQ(page->Data()->Body(), "alpha\r\nbeta!\r\n");
}

}  // namespace
}  // namespace nuv
