// The page switch: what moves between the editor and the records, and which
// flags say that the document must be saved.
#include <gtest/gtest.h>

#include <filesystem>

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
  EXPECT_EQ(DirectLinkPath("<DirectLink:sub\\x.txt>", state.path), dir.File("sub/x.txt"));
  EXPECT_EQ(DirectLinkPath("<DirectLink:/abs/y.txt>", state.path), "/abs/y.txt");
  // Paths that name no file here link nothing: a drive letter, a relative
  // path of a document without a folder.
  EXPECT_EQ(DirectLinkPath("<DirectLink:C:\\x.txt>", state.path), "");
  EXPECT_EQ(DirectLinkPath("<DirectLink:x.txt>", ""), "");
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

TEST_F(PageSwitchTest, ALinkedUtf8FileIsShownAsShiftJisAndSavedBackAsUtf8) {
  test::TTempDir dir;
  state.path = dir.File("doc.pk2");
  dir.Write("linked.txt", "\xEF\xBB\xBF\xE8\xA1\xA8\xE2\x91\xA0\nx\n");  // BOM "表①" LF "x" LF
  TTreeNode* page = tree.Add(nullptr, "L");
  tree.EnsureData(page).SetBody("<DirectLink:linked.txt>\r\n");
  pageSwitch.ShowPage(page);
  EXPECT_EQ(editor.Text(), Sj("表①") + "\r\nx\r\n");
  editor.Type(Sj("表①") + "\r\ny\r\n");
  pageSwitch.LeavePage(page);
  EXPECT_EQ(dir.Read("linked.txt"), "\xEF\xBB\xBF\xE8\xA1\xA8\xE2\x91\xA0\ny\n");
}

TEST_F(PageSwitchTest, ALinkedFileWithAnEmojiIsReadOnlyOnTheUsersWord) {
  test::TTempDir dir;
  state.path = dir.File("doc.pk2");
  const std::string emoji = "a\n\xF0\x9F\x98\x80\n";
  dir.Write("linked.txt", emoji);
  TTreeNode* page = tree.Add(nullptr, "L");
  tree.EnsureData(page).SetBody("<DirectLink:linked.txt>\r\n");
  // No: the page shows its link line and the file is never written.
  prompts.answers.push_back(TAnswer::No);
  pageSwitch.ShowPage(page);
  ASSERT_EQ(prompts.questions.size(), 1u);
  EXPECT_NE(prompts.questions[0].find("U+1F600"), std::string::npos);
  EXPECT_EQ(editor.Text(), "<DirectLink:linked.txt>\r\n");
  EXPECT_TRUE(state.directLinkPath.empty());
  editor.Type("typed\r\n");
  pageSwitch.LeavePage(page);
  EXPECT_EQ(dir.Read("linked.txt"), emoji);
  // The find walk's reader never replaces: the file counts as unreadable.
  std::string text = "old";
  EXPECT_FALSE(ReadLinkedFile(dir.File("linked.txt"), text));
  TTextForm form;
  ASSERT_TRUE(ReadLinkedFile(dir.Write("ok.txt", "\xE8\xA1\xA8\n"), text, &form));
  EXPECT_EQ(text, Sj("表") + "\r\n");
  EXPECT_EQ(form, (TTextForm{TTextEncoding::Utf8, false, TLineEnd::Lf}));
  // Yes: each such character shows as "〓".
  tree.EnsureData(page).SetBody("<DirectLink:linked.txt>\r\n");
  prompts.answers.push_back(TAnswer::Yes);
  pageSwitch.ShowPage(page);
  EXPECT_EQ(editor.Text(), "a\r\n" + Sj("〓") + "\r\n");
}

TEST_F(PageSwitchTest, AnUnreadableLinkedFileIsSaidSoAndNeverWritten) {
  test::TTempDir dir;
  state.path = dir.File("doc.pk2");
  TTreeNode* page = tree.Add(nullptr, "L");
  tree.EnsureData(page).SetBody("<DirectLink:missing.txt>\r\n");
  pageSwitch.ShowPage(page);
  ASSERT_EQ(prompts.errors.size(), 1u);
  EXPECT_EQ(prompts.errors[0], Sj("リンク先のファイルを読み込めません: ") + dir.File("missing.txt"));
  // The page shows its link line; what is typed there stays in the body.
  EXPECT_EQ(editor.Text(), "<DirectLink:missing.txt>\r\n");
  editor.Type("<DirectLink:missing.txt>\r\nnote\r\n");
  pageSwitch.LeavePage(page);
  EXPECT_FALSE(FileExists(dir.File("missing.txt")));
  EXPECT_EQ(page->Data()->Body(), "<DirectLink:missing.txt>\r\nnote\r\n");
}

TEST_F(PageSwitchTest, TheLinkedFileIsWrittenOnlyWhenItsTextChanged) {
  test::TTempDir dir;
  state.path = dir.File("doc.pk2");
  dir.Write("linked.txt", "kept\r\n");
  TTreeNode* page = tree.Add(nullptr, "L");
  tree.EnsureData(page).SetBody("<DirectLink:linked.txt>\r\n");
  pageSwitch.ShowPage(page);
  // A title change stores the page, but the file is not rewritten.
  dir.Write("linked.txt", "changed outside\r\n");
  pageSwitch.TitleBoxChanged(page, "New title");
  pageSwitch.LeavePage(page);
  EXPECT_EQ(dir.Read("linked.txt"), "changed outside\r\n");
  // An edit is written once; leaving again writes nothing more.
  editor.Type("typed\r\n");
  pageSwitch.LeavePage(page);
  EXPECT_EQ(dir.Read("linked.txt"), "typed\r\n");
  dir.Write("linked.txt", "later\r\n");
  pageSwitch.LeavePage(page);
  EXPECT_EQ(dir.Read("linked.txt"), "later\r\n");
  // A failed write is reported.
  std::filesystem::remove(dir.File("linked.txt"));
  std::filesystem::create_directory(dir.File("linked.txt"));
  editor.Type("again\r\n");
  pageSwitch.LeavePage(page);
  ASSERT_EQ(prompts.errors.size(), 1u);
  EXPECT_EQ(prompts.errors[0], Sj("ファイルの書込時にエラーが発生しました。"));
}

TEST_F(PageSwitchTest, TheDirectLinkViewSwitchTakesATypedLinkLine) {
  test::TTempDir dir;
  state.path = dir.File("doc.pk2");
  dir.Write("linked.txt", "file text\r\n");
  TTreeNode* page = tree.Add(nullptr, "L");
  state.directLinkView = false;
  pageSwitch.ShowPage(page);
  editor.Type("<DirectLink:linked.txt>\r\n");
  pageSwitch.ToggleDirectLinkView(page);
  EXPECT_TRUE(state.directLinkView);
  EXPECT_EQ(page->OverlayIndex(), 0);
  EXPECT_EQ(page->Data()->Body(), "<DirectLink:linked.txt>\r\n");
  EXPECT_EQ(editor.Text(), "file text\r\n");
  // Off again: the link line shows; an ordinary page loses the overlay.
  pageSwitch.ToggleDirectLinkView(page);
  EXPECT_EQ(editor.Text(), "<DirectLink:linked.txt>\r\n");
  editor.Type("plain\r\n");
  pageSwitch.ToggleDirectLinkView(page);
  EXPECT_EQ(page->OverlayIndex(), -1);
  EXPECT_EQ(page->Data()->Body(), "plain\r\n");
  EXPECT_EQ(dir.Read("linked.txt"), "file text\r\n");
}

TEST_F(PageSwitchTest, AStoredCaretIsClampedToTheShownText) {
  TTreeNode* page = tree.Add(nullptr, "P");
  // "表" (95 5C) takes offsets 4 and 5; 3 is the LF of a line end; 99 lies past the end.
  const std::string body = "ab\r\n" + Sj("表");
  for (const auto& [stored, shown] : std::vector<std::pair<int, int>>{{5, 4}, {99, 6}, {-5, 0}, {3, 2}}) {
    tree.EnsureData(page).SetBody(body);
    tree.EnsureData(page).SetCaretPos(stored);
    pageSwitch.ShowPage(page);
    EXPECT_EQ(editor.SelStart(), shown) << stored;
  }
}

}  // namespace
}  // namespace nuv
