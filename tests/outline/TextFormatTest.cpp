// Hierarchical text: the worked example in every mode, the reader's placement
// rules, metadata, imports and round trips.
#include <gtest/gtest.h>

#include <random>

#include "base/Title.h"
#include "outline/OutlineTree.h"
#include "outline/TextFormat.h"
#include "outline/TextSaveCheck.h"
#include "support/OutlineFixtures.h"

namespace nuv {
namespace {

using test::Dump;
using test::Sj;

std::string Lines(std::initializer_list<std::string> lines) {
  std::string out;
  for (const auto& l : lines) out += l + "\r\n";
  return out;
}

TEST(TextFormatTest, WorkedExampleInEveryMode) {
  TOutlineTree tree;
  test::BuildPlanExample(tree);
  const std::string trash = Sj("ごみ箱");
  TFormatOptions withData;
  withData.TextSaveWithData = true;
  EXPECT_EQ(BuildText(tree, false, nullptr, withData),
            Lines({".Plan", "##nuv##,1,7", "..Step A", "##nuv##,5,8", "first", "second", "." + trash,
                   "##nuv##,17,7"}));
  EXPECT_EQ(BuildText(tree, false, nullptr, TFormatOptions{}),
            Lines({".Plan", "..Step A", "first", "second", "." + trash}));
  TFormatOptions compat;
  compat.PirkaCompatible = true;
  EXPECT_EQ(BuildText(tree, false, nullptr, compat), Lines({".", "..first", "second", "."}));
  compat.TextSaveWithData = true;
  EXPECT_EQ(BuildText(tree, false, nullptr, compat),
            Lines({".", "##nuv##,1,7", "..first", "##nuv##,5,8", "second", ".", "##nuv##,17,7"}));
  EXPECT_EQ(BuildText(tree, true, nullptr, TFormatOptions{}), Lines({".", "..first", "second", "."}));
}

TEST(TextFormatTest, SubtreeExportStopsAtTheNextPageOfTheSameLevel) {
  TOutlineTree tree;
  TTreeNode* a = tree.Add(nullptr, "A");
  TTreeNode* b = tree.AddChild(a, "B");
  tree.AddChild(b, "C");
  tree.AddChild(a, "D");
  tree.Add(nullptr, "E");
  EXPECT_EQ(BuildText(tree, false, b, TFormatOptions{}), Lines({".B", "", "..C", ""}));
}

TEST(TextFormatTest, PagesWithoutRecordsKeepTheirPlacesInEveryMode) {
  TOutlineTree tree;
  TTreeNode* a = tree.Add(nullptr, "A");
  tree.EnsureData(tree.AddChild(a, "B")).SetBody("b\r\n");
  EXPECT_EQ(BuildText(tree, false, nullptr, TFormatOptions{}), Lines({".A", "", "..B", "b"}));
  EXPECT_EQ(BuildText(tree, true, nullptr, TFormatOptions{}), Lines({".", "..b"}));
  // Read back, the record-less page has one empty body line.
  TOutlineTree back;
  ASSERT_TRUE(ReadTextBytes(BuildText(tree, false, nullptr, TFormatOptions{}), "f.txt", TFormatOptions{}, back));
  EXPECT_EQ(back.GetFirstNode()->Data()->Body(), "\r\n");
}

TEST(TextFormatTest, HeadingDepthsPlacePagesRelativeToThePreviousOne) {
  TOutlineTree tree;
  ASSERT_TRUE(ReadTextBytes(Lines({".A", "...B", "..C"}), "f.txt", TFormatOptions{}, tree));
  EXPECT_EQ(Dump(tree), "A .B C");
  TOutlineTree deep;
  ASSERT_TRUE(ReadTextBytes(Lines({"..A", "....B", ".C", "...D", "..E"}), "f.txt", TFormatOptions{}, deep));
  EXPECT_EQ(Dump(deep), "A .B C .D E");
  TOutlineTree spaced;
  ASSERT_TRUE(ReadTextBytes(Lines({". \tTitle  ", "..   Sub"}), "f.txt", TFormatOptions{}, spaced));
  EXPECT_EQ(Dump(spaced), "Title .Sub");
}

TEST(TextFormatTest, PlainTextBecomesOnePageNamedAfterTheFile) {
  TOutlineTree tree;
  ASSERT_TRUE(ReadTextBytes(Lines({"hello", ".sub", "body"}), Sj("メモ.txt"), TFormatOptions{}, tree));
  EXPECT_EQ(Dump(tree), Sj("メモ.txt") + " .sub");
  EXPECT_EQ(tree.GetFirstNode()->Data()->Body(), "hello\r\n");
  EXPECT_EQ(tree.GetFirstNode()->GetFirstChild()->Data()->Body(), "body\r\n");
  TOutlineTree empty;
  ASSERT_TRUE(ReadTextBytes(Lines({"", "x"}), "e.txt", TFormatOptions{}, empty));
  EXPECT_EQ(Dump(empty), "e.txt");
  EXPECT_EQ(empty.GetFirstNode()->Data()->Body(), "\r\nx\r\n");
}

TEST(TextFormatTest, AnEmptyFileIsOneUntitledPage) {
  TOutlineTree tree;
  ASSERT_TRUE(ReadTextBytes("", "e.txt", TFormatOptions{}, tree));
  EXPECT_EQ(Dump(tree), Sj("無題"));
  EXPECT_EQ(tree.GetFirstNode()->ImageIndex(), 5);
}

TEST(TextFormatTest, MetadataLines) {
  struct Case {
    std::string meta;
    int mark;
    int state;
  } cases[] = {
      {"##nuv##,3,9", 3, 9},
      {"##nuv##, \"2\" , 12", 2, 12},
      {"##nuv##,3", 5, -1},          // fewer than three items: defaults
      {"##nuv##,99,300", 0, -1},     // out of range: safe pictures
      {"##nuv##,17,7", 0, 7},        // trash marks only on the trash page
      {"##nuv##,6,-1", 6, -1},
      // Items that are not decimal numbers give the defaults too, so a file
      // whose body began with the mark, saved without metadata, still opens.
      {"##nuv##,a,b", 5, -1},
      {"##nuv##,x,7", 5, -1},
      {"##nuv##,1,7z", 5, -1},
      {"##nuv##,99999999999,7", 5, -1},
      {"##nuv##,1,-", 5, -1},
  };
  for (const auto& c : cases) {
    TOutlineTree tree;
    ASSERT_TRUE(ReadTextBytes(Lines({".A", c.meta, "body", "##nuv##,1,1 dropped"}), "f", TFormatOptions{}, tree));
    const TTreeNode* a = tree.GetFirstNode();
    EXPECT_EQ(a->ImageIndex(), c.mark) << c.meta;
    EXPECT_EQ(a->StateIndex(), c.state) << c.meta;
    EXPECT_EQ(a->Data()->Body(), "body\r\n");
    EXPECT_EQ(a->Data()->Mark(), c.mark);
  }
}

TEST(TextFormatTest, LabelPicturesAreKeptInTheRecordForABinarySave) {
  TOutlineTree tree;
  ASSERT_TRUE(ReadTextBytes(Lines({".A", "##nuv##,1,9", ".B", "##nuv##,1,15", ".C"}), "f", TFormatOptions{}, tree));
  EXPECT_EQ(tree.GetNodeAt(0)->Data()->Label(), 9);
  EXPECT_EQ(tree.GetNodeAt(1)->Data()->Label(), 7);
  EXPECT_EQ(tree.GetNodeAt(2)->Data()->Label(), 0);
  TFormatOptions clear;
  clear.ClearLabel1 = true;
  TOutlineTree cleared;
  ASSERT_TRUE(ReadTextBytes(Lines({".C"}), "f", clear, cleared));
  EXPECT_EQ(cleared.GetFirstNode()->StateIndex(), 15);
}

TEST(TextFormatTest, TrashCheckFollowsTheChildCount) {
  const std::string trash = "." + Sj("ごみ箱");
  TOutlineTree full;
  ASSERT_TRUE(ReadTextBytes(Lines({".A", trash, "##nuv##,17,7", "..gone"}), "f", TFormatOptions{}, full));
  EXPECT_EQ(full.GetLastRootPage()->ImageIndex(), 18);
  TOutlineTree empty;
  ASSERT_TRUE(ReadTextBytes(Lines({".A", trash, "##nuv##,18,7"}), "f", TFormatOptions{}, empty));
  EXPECT_EQ(empty.GetLastRootPage()->ImageIndex(), 17);
}

TEST(TextFormatTest, CompatibilityModeTakesTheTitleFromTheFirstLine) {
  TFormatOptions compat;
  compat.PirkaCompatible = true;
  TOutlineTree tree;
  ASSERT_TRUE(ReadTextBytes(Lines({".first", "second", "..child"}), "f", compat, tree));
  EXPECT_EQ(Dump(tree), "first .child");
  EXPECT_EQ(tree.GetFirstNode()->Data()->Body(), "first\r\nsecond\r\n");
}

TEST(TextFormatTest, RoundTripWithTitlesAndMetadata) {
  TOutlineTree tree;
  test::BuildPlanExample(tree);
  TTreeNode* hyou = tree.AddChild(tree.GetFirstNode(), Sj("表示ソース"));
  tree.SetImageIndex(hyou, 2);
  tree.EnsureData(hyou).SetBody(Sj("本文\\") + std::string("\0nul\r\n", 6) + "last");
  TFormatOptions withData;
  withData.TextSaveWithData = true;
  const std::string text = BuildText(tree, false, nullptr, withData);
  TOutlineTree back;
  ASSERT_TRUE(ReadTextBytes(text, "f", TFormatOptions{}, back));
  EXPECT_EQ(Dump(back), Dump(tree));
  for (const TTreeNode *a = tree.GetFirstNode(), *b = back.GetFirstNode(); a; a = a->GetNext(), b = b->GetNext()) {
    EXPECT_EQ(a->ImageIndex(), b->ImageIndex()) << a->Text();
    EXPECT_EQ(a->StateIndex(), b->StateIndex()) << a->Text();
  }
  // A body without a final line break reads back with one; NUL bytes stay.
  EXPECT_EQ(back.GetNodeAt(2)->Data()->Body(), Sj("本文\\") + std::string("\0nul\r\nlast\r\n", 12));
  EXPECT_EQ(back.GetNodeAt(1)->Data()->Body(), "first\r\nsecond\r\n");
  // Without metadata every page reads back as a memo.
  TOutlineTree plain;
  ASSERT_TRUE(ReadTextBytes(BuildText(tree, false, nullptr, TFormatOptions{}), "f", TFormatOptions{}, plain));
  for (const TTreeNode* n = plain.GetFirstNode(); n; n = n->GetNext())
    if (n != plain.GetLastRootPage()) {
      EXPECT_EQ(n->ImageIndex(), 5);
    }
}

TEST(TextFormatTest, BodyLinesThatLookLikeHeadingsReadBackAsHeadings) {
  TOutlineTree tree;
  tree.EnsureData(tree.Add(nullptr, "A")).SetBody(".not a heading\r\n");
  TOutlineTree back;
  ASSERT_TRUE(ReadTextBytes(BuildText(tree, false, nullptr, TFormatOptions{}), "f", TFormatOptions{}, back));
  EXPECT_EQ(Dump(back), "A not a heading");
}

TEST(TextFormatTest, ImportPlacesPagesAfterTheImportParent) {
  auto makeDoc = [](TOutlineTree& doc) {
    TTreeNode* r = doc.Add(nullptr, "R");
    doc.AddChild(r, "X");
    doc.AddChild(r, "Y");
    return r->GetFirstChild();
  };
  struct Case {
    std::string file;
    std::string dump;
    std::string first;
  } cases[] = {
      {Lines({".A", "..A1", ".B"}), "R .X .A ..A1 .B .Y", "A"},
      {Lines({"..C", ".D"}), "R .X ..C .D .Y", "C"},
      // A climb never leaves the import parent's level.
      {Lines({".A", "....B", "..C"}), "R .X .A ..B .C .Y", "A"},
      {Lines({".A", "..B", "...C", "..D"}), "R .X .A ..B ...C ..D .Y", "A"},
      {Lines({"plain"}), "R .X .imp.txt .Y", "imp.txt"},
  };
  for (const auto& c : cases) {
    TOutlineTree doc;
    TTreeNode* x = makeDoc(doc);
    bool ok = false;
    TTreeNode* first = ImportTextBytes(c.file, "imp.txt", TFormatOptions{}, doc, x, ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(Dump(doc), c.dump);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->Text(), c.first);
    EXPECT_EQ(doc.FindById(first->Id()), first);
  }
  TOutlineTree doc;
  TTreeNode* x = makeDoc(doc);
  bool ok = false;
  const TTreeNode* a = ImportTextBytes(Lines({".A", "##nuv##,q,1"}), "f", TFormatOptions{}, doc, x, ok);
  EXPECT_TRUE(ok);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->ImageIndex(), 5);
  EXPECT_EQ(Dump(doc), "R .X .A .Y");
}

// Documents whose text save the check passes read back as they were, in
// every mode; the others are found, with the first page and line.
TEST(TextFormatTest, TheTextSaveCheckFindsEveryChangeOfARoundTrip) {
  const std::string parts[] = {"a", ".", " ", "##nuv##,", "##nuv##,1,2", std::string(130, 'w'), "\x81\x40"};
  std::mt19937 random(20);
  auto text = [&] {
    std::string t;
    for (int n = static_cast<int>(random() % 3); n >= 0; --n) t += parts[random() % std::size(parts)];
    return t;
  };
  int changed = 0;
  for (int round = 0; round < 400; ++round) {
    TFormatOptions options;
    options.TextSaveWithData = random() % 2;
    options.PirkaCompatible = random() % 4 == 0;
    TOutlineTree tree;
    TTreeNode* last = nullptr;
    for (int i = static_cast<int>(random() % 5); i >= 0; --i) {
      last = last && random() % 2 ? tree.AddChild(last, text()) : tree.AddChild(last ? last->Parent() : nullptr, text());
      std::string body;
      // In the compatible mode the title is the body's first line, and every
      // page read back has one.
      for (int n = static_cast<int>(random() % 3) + options.PirkaCompatible; n > 0; --n) body += text() + "\r\n";
      if (options.PirkaCompatible) tree.SetText(last, DeriveTitle(body.substr(0, body.find('\r'))));
      tree.EnsureData(last).SetBody(body);
      tree.SetImageIndex(last, static_cast<int>(random() % 7));
      last->Data()->SetMark(last->ImageIndex());
    }
    const TTextSaveCheck check = CheckTextSave(tree, false, nullptr, options);
    TOutlineTree back;
    ASSERT_TRUE(ReadTextBytes(BuildText(tree, false, nullptr, options), "f", options, back));
    bool same = Dump(back) == Dump(tree);
    for (const TTreeNode *a = tree.GetFirstNode(), *b = back.GetFirstNode(); same && a; a = a->GetNext(), b = b->GetNext())
      same = b->Data()->Body() == a->Data()->Body() && (!options.TextSaveWithData || b->ImageIndex() == a->ImageIndex());
    if (check.Clean()) {
      EXPECT_TRUE(same) << round << "\n" << BuildText(tree, false, nullptr, options);
    } else {
      ++changed;
      ASSERT_NE(check.firstPage, nullptr);
    }
  }
  EXPECT_GT(changed, 40);
  EXPECT_LT(changed, 360);
}

TEST(TextFormatTest, FilesAreWrittenAtomicallyAndEmptyDocumentsWriteNothing) {
  test::TTempDir dir;
  TOutlineTree empty;
  EXPECT_EQ(WriteText(dir.File("e.txt"), empty, false, nullptr, TFormatOptions{}), TTextWriteResult::Empty);
  EXPECT_FALSE(FileExists(dir.File("e.txt")));
  TOutlineTree tree;
  test::BuildPlanExample(tree);
  EXPECT_EQ(WriteText(dir.File("d.txt"), tree, false, nullptr, TFormatOptions{}), TTextWriteResult::Written);
  TOutlineTree back;
  EXPECT_TRUE(ReadText(dir.File("d.txt"), TFormatOptions{}, back));
  EXPECT_EQ(Dump(back), Dump(tree));
  EXPECT_FALSE(ReadText(dir.File("missing.txt"), TFormatOptions{}, back));
}

}  // namespace
}  // namespace nuv
