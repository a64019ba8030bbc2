// MeDoc texts and files: the index, the depth dots, reading files back into
// pages, and the file names made from titles.
#include <gtest/gtest.h>

#include "base/FileIo.h"
#include "exchange/ExchangeTexts.h"
#include "exchange/ExportNames.h"
#include "exchange/MeDoc.h"
#include "exchange/PalmDocFile.h"
#include "outline/OutlineTree.h"
#include "outline/PagePictures.h"
#include "support/OutlineFixtures.h"
#include "support/TempDir.h"

namespace nuv {
namespace {

using test::Dump;
using test::Sj;
using test::TTempDir;

TTreeNode* Page(TOutlineTree& tree, TTreeNode* parent, std::string_view title, std::string body) {
  TTreeNode* page = tree.AddChild(parent, title);
  tree.EnsureData(page).SetBody(std::move(body));
  return page;
}

// A
//   A1 (A1a, A1b)
//   A2
// B
//   B1
// C
void BuildThreeLevels(TOutlineTree& tree) {
  TTreeNode* a = Page(tree, nullptr, "A", "alpha\r\n");
  TTreeNode* a1 = Page(tree, a, "A1", "one\r\n\r\nthree\r\n");
  Page(tree, a1, "A1a", "");
  Page(tree, a1, "A1b", Sj("表ソ\r\n"));
  Page(tree, a, "A2", "x\r\n");
  TTreeNode* b = Page(tree, nullptr, "B", "");
  Page(tree, b, "B1", ". not a heading\r\n#!Medoc index 1\r\n");
  tree.AddChild(nullptr, "C");  // no node record
}

std::string Bodies(const TOutlineTree& tree) {
  std::string out;
  for (const TTreeNode* n = tree.GetFirstNode(); n; n = n->GetNext()) out += (n->Data() ? n->Data()->Body() : "") + "|";
  return out;
}

TEST(MeDocTest, ChildrenIndexCountsBodyLines) {
  TOutlineTree tree;
  TTreeNode* parent = tree.AddChild(nullptr, "P");
  Page(tree, parent, "first", "l1\r\nl2\r\n");
  Page(tree, parent, "second", "");
  TTreeNode* third = Page(tree, parent, "third", "only");
  Page(tree, third, "grandchild", "not exported\r\n");
  const std::string text = BuildMeDocText(CollectMeDocEntries(tree, parent, TMeDocScope::Children));
  EXPECT_EQ(text, "#!Medoc index 3\r\n5:first\r\n7:second\r\n7:third\r\nl1\r\nl2\r\nonly\r\n");
}

TEST(MeDocTest, DotsFollowDepthFromTheShallowestPageSoFar) {
  TOutlineTree tree;
  BuildThreeLevels(tree);
  auto dots = [&](const TTreeNode* start, TMeDocScope scope) {
    std::string out;
    for (const auto& e : CollectMeDocEntries(tree, start, scope)) out += std::to_string(e.dots) + e.title + " ";
    return out;
  };
  EXPECT_EQ(dots(nullptr, TMeDocScope::FromPage), "1A 2A1 3A1a 3A1b 2A2 1B 2B1 1C ");
  // From A1 (level 1): its sibling A2 has its depth, B and C are above it.
  const TTreeNode* a1 = tree.GetNodeAt(1);
  EXPECT_EQ(dots(a1, TMeDocScope::FromPage), "1A1 2A1a 2A1b 1A2 1B 2B1 1C ");
  EXPECT_EQ(dots(a1, TMeDocScope::Subtree), "1A1 2A1a 2A1b ");
  EXPECT_EQ(dots(tree.GetNodeAt(2), TMeDocScope::FromPage), "1A1a 1A1b 1A2 1B 2B1 1C ");
  EXPECT_EQ(dots(nullptr, TMeDocScope::Children), "0A 0B 0C ");
}

TEST(MeDocTest, WholeDocumentReadsBackWithTheSameTree) {
  TTempDir dir;
  TOutlineTree tree;
  BuildThreeLevels(tree);
  TTreeNode* trash = tree.AddChild(nullptr, Sj("ごみ箱"));
  Page(tree, trash, "deleted", "gone\r\n");
  const std::string path = dir.File(Cp932ToUtf8(Sj("本")) + ".prc");
  ASSERT_EQ(WriteMeDocDocument(path, tree), TPalmDocResult::Ok);

  std::string text;
  TPalmDocInfo info;
  ASSERT_EQ(ReadPalmDocFile(path, {}, text, &info), TPalmDocResult::Ok);
  EXPECT_EQ(info.name, Sj("本"));
  EXPECT_TRUE(info.compressed);
  const std::string head = "#!Medoc index 10\r\n12:.A\r\n13:..A1\r\n16:...A1a\r\n16:...A1b\r\n17:..A2\r\n";
  EXPECT_EQ(text.substr(0, head.size()), head);

  TOutlineTree back;
  ASSERT_EQ(ReadPalmDocPages(path, {}, back), TPalmDocResult::Ok);
  EXPECT_EQ(Dump(back), Dump(tree));
  // Every page gets a record; a body comes back with CR LF after each line.
  EXPECT_EQ(Bodies(back), "alpha\r\n|one\r\n\r\nthree\r\n||" + Sj("表ソ\r\n") +
                              "|x\r\n||. not a heading\r\n#!Medoc index 1\r\n|||gone\r\n|");
  EXPECT_EQ(back.GetNodeAt(0)->ImageIndex(), pic::kMemo);
  EXPECT_EQ(back.GetNodeAt(0)->Data()->Mark(), pic::kMemo);
  EXPECT_EQ(back.GetLastRootPage()->ImageIndex(), pic::kTrashFull);
}

TEST(MeDocTest, PagesFromTheMiddleReadBackAsTheSameForest) {
  TTempDir dir;
  TOutlineTree tree;
  BuildThreeLevels(tree);
  const std::string path = dir.File("part.pdb");
  ASSERT_EQ(WriteMeDoc(path, tree, tree.GetNodeAt(2), TMeDocScope::FromPage, "part"), TPalmDocResult::Ok);
  TOutlineTree back;
  TFormatOptions options;
  options.ClearLabel1 = true;
  ASSERT_EQ(ReadPalmDocPages(path, options, back), TPalmDocResult::Ok);
  EXPECT_EQ(Dump(back), "A1a A1b A2 B .B1 C");
  EXPECT_EQ(back.GetNodeAt(0)->StateIndex(), pic::kBlankLabel);
}

TEST(MeDocTest, ChildrenExportKeepsTheWholeTitleAsDatabaseName) {
  TTempDir dir;
  TOutlineTree tree;
  const std::string title = Sj("章: なぜ? ") + std::string(40, 'z');
  TTreeNode* parent = tree.AddChild(nullptr, title);
  Page(tree, parent, "c1", "body\r\n");
  EXPECT_EQ(FileNameFromTitle(title, ".prc"), Cp932ToUtf8(Sj("章 なぜ ")) + std::string(40, 'z') + ".prc");
  const std::string path = dir.File(FileNameFromTitle(title, ".prc"));
  ASSERT_EQ(WriteMeDoc(path, tree, parent, TMeDocScope::Children, title), TPalmDocResult::Ok);
  std::string text;
  TPalmDocInfo info;
  ASSERT_EQ(ReadPalmDocFile(path, {}, text, &info), TPalmDocResult::Ok);
  EXPECT_EQ(info.name, PalmDatabaseName(title));
  EXPECT_EQ(info.name.substr(0, 3), Sj("章:"));
  EXPECT_EQ(text, "#!Medoc index 1\r\n3:c1\r\nbody\r\n");
}

TEST(MeDocTest, AnyOtherPalmDocIsOnePageNamedAfterTheDatabase) {
  TTempDir dir;
  const std::string path = dir.File("plain.pdb");
  ASSERT_EQ(WritePalmDocFile(path, "line 1\r\n.dotted\r\nlast", Sj("猫"), {}), TPalmDocResult::Ok);
  TOutlineTree back;
  ASSERT_EQ(ReadPalmDocPages(path, {}, back), TPalmDocResult::Ok);
  EXPECT_EQ(Dump(back), Sj("猫"));
  EXPECT_EQ(back.GetFirstNode()->Data()->Body(), "line 1\r\n.dotted\r\nlast\r\n");

  std::string lines = "untouched";
  ASSERT_EQ(ReadPalmDocLines(path, lines), TPalmDocResult::Ok);
  EXPECT_EQ(lines, "line 1\r\n.dotted\r\nlast\r\n");
  EXPECT_EQ(ReadPalmDocLines(dir.File("missing.pdb"), lines), TPalmDocResult::OpenFailed);

  // A broken index is no MeDoc: the whole text stays one page.
  ASSERT_EQ(WritePalmDocFile(path, "#!Medoc index 2\r\n4:a\r\n3:b\r\nx\r\n", "broken", {}), TPalmDocResult::Ok);
  TOutlineTree broken;
  ASSERT_EQ(ReadPalmDocPages(path, {}, broken), TPalmDocResult::Ok);
  EXPECT_EQ(Dump(broken), "broken");
  EXPECT_EQ(broken.GetFirstNode()->Data()->Body(), "#!Medoc index 2\r\n4:a\r\n3:b\r\nx\r\n");

  // An empty MeDoc gives the one untitled page an empty document has.
  ASSERT_EQ(WriteMeDocDocument(path, TOutlineTree()), TPalmDocResult::Ok);
  TOutlineTree empty;
  ASSERT_EQ(ReadPalmDocPages(path, {}, empty), TPalmDocResult::Ok);
  EXPECT_EQ(Dump(empty), Sj("無題"));

  std::string other;
  ASSERT_EQ(ReadWholeFile(path, other), TReadResult::Ok);
  other.replace(60, 4, "BOOK");
  TOutlineTree none;
  EXPECT_EQ(ReadPalmDocPagesBytes(other, {}, none), TPalmDocResult::NotTextDoc);
  EXPECT_EQ(none.Count(), 0);
  EXPECT_EQ(ReadPalmDocPages(dir.File("missing.pdb"), {}, none), TPalmDocResult::OpenFailed);
}

TEST(MeDocTest, IndexParsing) {
  struct TCase {
    const char* text;
    const char* pages;  // "dots:title=body|" per entry, or null when rejected
  } cases[] = {
      {"#!Medoc index 2\r\n4:a\r\n5:.b: c\r\nA\r\nB\r\n", "0:a=A\r\n|1:b: c=B\r\n|"},
      {"#!Medoc index 1\n3:..x\n", "2:x=|"},
      {"#!Medoc index 0\r\n", ""},
      {"#!Medoc index 0\r\ntext\r\n", nullptr},  // text that belongs to no entry
      {"#!Medoc index 1 \r\n3:t\r\n", "0:t=|"},
      {"#!Medoc index\r\n", nullptr},
      {"#!Medoc index x\r\n", nullptr},
      {"#!Medoc index 3\r\n5:a\r\n5:b\r\n", nullptr},      // fewer index lines than entries
      {"#!Medoc index 1\r\n2:a\r\n", nullptr},             // the first body must follow the index
      {"#!Medoc index 2\r\n4:a\r\n6:b\r\n", nullptr},      // beyond the end of the text
      {"#!Medoc index 1\r\nthree:a\r\n", nullptr},
      {"#!Medoc index 1\r\n3 a\r\n", nullptr},
      {"#!Medoc index 99999999999999999999\r\n", nullptr},
      {"#!medoc index 1\r\n3:a\r\n", nullptr},
  };
  for (const auto& c : cases) {
    std::vector<TMeDocEntry> entries;
    const bool ok = ParseMeDocText(c.text, entries);
    ASSERT_EQ(ok, c.pages != nullptr) << c.text;
    if (!ok) continue;
    std::string got;
    for (const auto& e : entries) got += std::to_string(e.dots) + ":" + e.title + "=" + e.body + "|";
    EXPECT_EQ(got, c.pages) << c.text;
  }
}

TEST(MeDocTest, FileNamesFromTitles) {
  struct TCase {
    std::string title, name;
  } cases[] = {
      {"a\\b/c:d,e;f*g?h\"i<j>k|l", "abcdefghijkl"},
      {Sj("表ソポ"), Sj("表ソポ")},  // trail bytes 5C, 5C and 7C belong to their characters
      {"\\" + Sj("表") + "|", Sj("表")},
      {"", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TitleForFileName(c.title), c.name);
    EXPECT_EQ(FileNameFromTitle(c.title, ".txt"), Cp932ToUtf8(c.name) + ".txt");
  }
  // Three UTF-8 bytes a character: 83 of them fill 249 bytes, and an 84th
  // would not fit beside ".prc".
  std::string longTitle;
  for (int i = 0; i < 120; ++i) longTitle += Sj("表");
  const std::string name = FileNameFromTitle(longTitle, ".prc");
  EXPECT_EQ(name.size(), 83u * 3 + 4);
  EXPECT_LE(name.size(), kMaxFileNameBytes);
  EXPECT_EQ(name.substr(name.size() - 4), ".prc");
  const std::string ascii = FileNameFromTitle(std::string(300, 'a'), ".txt");
  EXPECT_EQ(ascii, std::string(251, 'a') + ".txt");
}

TEST(MeDocTest, ExtensionRules) {
  EXPECT_EQ(WithExtension("book", ".prc", false), "book.prc");
  EXPECT_EQ(WithExtension("book.prc", ".prc", false), "book.prc");
  EXPECT_EQ(WithExtension("book.PRC", ".prc", false), "book.PRC.prc");
  EXPECT_EQ(WithExtension("book.PRC", ".prc", true), "book.PRC");
  EXPECT_EQ(WithExtension("book.pdb", ".prc", true), "book.pdb.prc");
  EXPECT_EQ(WithExtension("my.dir/book", ".txt", true), "my.dir/book.txt");
  EXPECT_EQ(DatabaseNameFromPath("/tmp/x.y/" + Cp932ToUtf8(Sj("猫の本")) + ".prc"), Sj("猫の本"));
  EXPECT_EQ(DatabaseNameFromPath("book"), "book");
  EXPECT_EQ(DatabaseNameFromPath("/tmp/a.b.prc"), "a.b");
}

// The messages the window commands show must all be Shift JIS texts (a
// literal Shift JIS cannot hold would abort here); the two with a file name
// keep their format.
TEST(MeDocTest, MessagesConvert) {
  EXPECT_EQ(texts::DocWritten(), Sj("Docファイルを作成しました。\n\n　%s"));
  EXPECT_EQ(texts::MeDocWritten().substr(texts::MeDocWritten().size() - 4), Sj("　%s"));
  for (const std::string& text : {texts::DocReadFailed(), texts::DocWriteFailed(), texts::MeDocWriteFailed(),
                                  texts::NoChildrenToExport(), texts::PalmDocTempName()})
    EXPECT_FALSE(text.empty());
}

}  // namespace
}  // namespace nuv
