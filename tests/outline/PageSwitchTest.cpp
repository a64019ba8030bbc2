// The page switch: what moves between the editor and the records, and which
// flags say that the document must be saved.
#include <gtest/gtest.h>

#include "base/Codec.h"

#include "outline/DocumentState.h"
#include "outline/OutlineTree.h"
#include "outline/PageSwitch.h"
#include "support/FakePageEditor.h"
#include "support/OutlineFixtures.h"

namespace nuv {
namespace {

using test::Sj;

class TFakeHost : public IPageSwitchHost {
 public:
  std::string TitleBoxText() const override { return title; }
  void SetTitleBoxText(std::string_view sjis) override { title = std::string(sjis); }
  void SetTitleBoxEnabled(bool enabled) override { titleEnabled = enabled; }
  void SetTreeReadOnly(bool readOnly) override { treeReadOnly = readOnly; }
  void SetMarkCommandEnabled(bool enabled) override { markEnabled = enabled; }
  void ShowPageAttributes(const TTreeNode* page) override { shown = page; }
  std::string title;
  bool titleEnabled = true, treeReadOnly = false, markEnabled = true;
  const TTreeNode* shown = nullptr;
};

class PageSwitchTest : public ::testing::Test {
 protected:
  TOutlineTree tree;
  test::TFakePageEditor editor;
  TFakeHost host;
  test::TScriptedPrompts prompts;
  TDocumentState state;
  TPageSwitchSettings settings;
  TPageSwitch pageSwitch{tree, editor, host, prompts, state, settings};
};

TEST_F(PageSwitchTest, StoringARecordlessPageCreatesItsRecordAndDerivesTheTitle) {
  TTreeNode* page = tree.Add(nullptr, Sj("無題"));
  tree.SetImageIndex(page, 5);
  pageSwitch.ShowPage(page);
  EXPECT_EQ(page->Data(), nullptr);
  EXPECT_EQ(host.title, Sj("無題"));
  editor.Type("  First line of text  \r\nsecond\r\n");
  pageSwitch.LeavePage(page);
  ASSERT_NE(page->Data(), nullptr);
  EXPECT_EQ(page->Text(), "First line of text");
  EXPECT_EQ(host.title, "First line of text");
  EXPECT_EQ(page->Data()->Body(), "  First line of text  \r\nsecond\r\n");
  EXPECT_EQ(page->Data()->Mark(), 5);
}

TEST_F(PageSwitchTest, AnEmptyEditorKeepsTheUntitledTitleAndATypedTitleStays) {
  TTreeNode* page = tree.Add(nullptr, Sj("無題"));
  pageSwitch.ShowPage(page);
  state.PageDirty = true;
  pageSwitch.LeavePage(page);
  EXPECT_EQ(page->Text(), Sj("無題"));
  EXPECT_EQ(page->Data()->Body(), "");
  pageSwitch.TitleBoxChanged(page, "Chosen");
  EXPECT_TRUE(state.DocModified);
  EXPECT_TRUE(state.PageDirty);
  host.title = "Chosen";
  editor.Type("body first line\r\n");
  pageSwitch.LeavePage(page);
  EXPECT_EQ(page->Text(), "Chosen");
  settings.PirkaCompatible = true;
  pageSwitch.StorePage(page, true);
  EXPECT_EQ(page->Text(), "body first line");
}

TEST_F(PageSwitchTest, UnchangedPagesAreNotStoredButTheCaretIsKept) {
  TTreeNode* page = tree.Add(nullptr, "A");
  tree.EnsureData(page).SetBody("abc\r\n");
  page->Data()->SetCaretPos(2);
  pageSwitch.ShowPage(page);
  EXPECT_EQ(editor.SelStart(), 2);
  EXPECT_FALSE(editor.Modified());
  editor.SetSelection(3, 0);
  pageSwitch.LeavePage(page);
  EXPECT_EQ(page->Data()->CaretPos(), 3);
  EXPECT_EQ(page->Data()->Body(), "abc\r\n");
  EXPECT_FALSE(state.DocModified);
}

TEST_F(PageSwitchTest, EditorChangesSetDocModifiedOnce) {
  TTreeNode* page = tree.Add(nullptr, "A");
  pageSwitch.ShowPage(page);
  EXPECT_FALSE(pageSwitch.EditorChanged());  // not modified: a load, not an edit
  editor.Type("x");
  EXPECT_TRUE(pageSwitch.EditorChanged());
  EXPECT_FALSE(pageSwitch.EditorChanged());
  EXPECT_TRUE(state.DocModified);
}

TEST_F(PageSwitchTest, AlwaysSaveMakesShowingAPageDirtyOnlyForBinaryDocuments) {
  TTreeNode* page = tree.Add(nullptr, "A");
  settings.AlwaysSave = true;
  pageSwitch.ShowPage(page);
  EXPECT_TRUE(state.ViewDirty);
  state.path = "/tmp/doc.txt";
  EXPECT_TRUE(state.Modified());
  EXPECT_FALSE(state.ModifiedForClose());
  state.path = "/tmp/doc.PK2";
  EXPECT_TRUE(state.ModifiedForClose());
}

TEST_F(PageSwitchTest, TheTrashPageIsReadOnly) {
  TTreeNode* trash = tree.Add(nullptr, Sj("ごみ箱"));
  tree.SetImageIndex(trash, 17);
  TTreeNode* page = tree.Add(nullptr, "A");
  pageSwitch.ShowPage(trash);
  EXPECT_FALSE(host.markEnabled);
  EXPECT_TRUE(host.treeReadOnly);
  EXPECT_FALSE(host.titleEnabled);
  editor.Type("text");
  host.title = Sj("無題");
  pageSwitch.StorePage(trash, true);
  EXPECT_EQ(trash->Text(), Sj("ごみ箱"));  // never renamed from its body
  EXPECT_EQ(trash->Data()->Mark(), 17);
  pageSwitch.ShowPage(page);
  EXPECT_TRUE(host.markEnabled);
  EXPECT_FALSE(host.treeReadOnly);
  EXPECT_TRUE(host.titleEnabled);
  EXPECT_EQ(host.shown, page);
}

TEST_F(PageSwitchTest, DirectLinkPagesShowAndSaveTheLinkedFile) {
  test::TTempDir dir;
  state.path = dir.File("doc.pk2");
  dir.Write("linked.txt", "from file\r\n");
  TTreeNode* page = tree.Add(nullptr, "L");
  tree.EnsureData(page).SetBody("<DirectLink:linked.txt>\r\n");
  pageSwitch.ShowPage(page);
  EXPECT_EQ(state.directLinkPath, dir.File("linked.txt"));
  EXPECT_EQ(editor.Text(), "from file\r\n");
  editor.Type("edited\r\n");
  pageSwitch.LeavePage(page);
  EXPECT_EQ(dir.Read("linked.txt"), "edited\r\n");
  EXPECT_EQ(page->Data()->Body(), "<DirectLink:linked.txt>\r\n");
  // With the view off the link line itself is edited; emptying it drops the link.
  state.directLinkView = false;
  pageSwitch.ShowPage(page);
  EXPECT_EQ(editor.Text(), "<DirectLink:linked.txt>\r\n");
  pageSwitch.LeavePage(page);
  EXPECT_EQ(page->OverlayIndex(), 0);
  editor.Type("");
  pageSwitch.LeavePage(page);
  EXPECT_EQ(page->OverlayIndex(), -1);
  EXPECT_TRUE(state.directLinkPath.empty());
  EXPECT_EQ(pageSwitch.DirectLinkTarget("<DirectLink:sub\\x.txt>"), dir.File("sub/x.txt"));
  EXPECT_EQ(pageSwitch.DirectLinkTarget("<DirectLink:/abs/y.txt>"), "/abs/y.txt");
  // Only a closing ">" is removed: a link without one keeps its last
  // character, here the second half of "表" (95 5C).
  EXPECT_EQ(DirectLinkPath("<DirectLink:/abs/\x95\x5c", "/doc/d.pk2"), "/abs/" + Cp932ToUtf8("\x95\x5c"));
  EXPECT_EQ(DirectLinkPath("<DirectLink", "/doc/d.pk2"), "");
  EXPECT_EQ(DirectLinkPath("<DirectLink:rel/z.txt>\r\nmore", "/doc/d.pk2"), "/doc/rel/z.txt");
}

TEST_F(PageSwitchTest, AskSaveDLCanKeepTheLinkedFileUnchanged) {
  test::TTempDir dir;
  state.path = dir.File("doc.pk2");
  dir.Write("linked.txt", "old\r\n");
  TTreeNode* page = tree.Add(nullptr, "L");
  tree.EnsureData(page).SetBody("<DirectLink:" + dir.File("linked.txt") + ">");
  settings.AskSaveDL = true;
  pageSwitch.ShowPage(page);
  editor.Type("new\r\n");
  prompts.answers.push_back(TAnswer::No);
  pageSwitch.LeavePage(page);
  EXPECT_EQ(prompts.questions.size(), 1u);
  EXPECT_EQ(dir.Read("linked.txt"), "old\r\n");
}

}  // namespace
}  // namespace nuv
