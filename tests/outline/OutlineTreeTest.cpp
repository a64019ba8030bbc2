// The outline tree: order, moves, removal, sorting and stable ids.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "outline/OutlineTree.h"
#include "support/OutlineFixtures.h"

namespace nuv {
namespace {

using test::Dump;

TEST(OutlineTreeTest, InsertionAndPreOrder) {
  TOutlineTree tree;
  TTreeNode* a = tree.Add(nullptr, "A");
  TTreeNode* c = tree.Add(a, "C");
  TTreeNode* b = tree.Insert(c, "B");
  TTreeNode* a2 = tree.AddChild(a, "a2");
  tree.AddChildFirst(a, "a1");
  tree.InsertAfter(a2, "a3");
  tree.AddChild(nullptr, "D");
  EXPECT_EQ(Dump(tree), "A .a1 .a2 .a3 B C D");
  EXPECT_EQ(tree.Count(), 7);
  EXPECT_EQ(tree.AbsoluteIndexOf(a2), 2);
  EXPECT_EQ(tree.GetNodeAt(4), b);
  EXPECT_EQ(tree.GetNodeAt(7), nullptr);
  EXPECT_EQ(a2->Level(), 1);
  EXPECT_EQ(a2->Parent(), a);
  EXPECT_EQ(a->Parent(), nullptr);
  EXPECT_EQ(b->GetPrev(), a->GetLastChild());
  EXPECT_EQ(a->GetLastChild()->GetNext(), b);
  EXPECT_EQ(tree.LastPage()->Text(), "D");
  // Only expanded pages show their children.
  EXPECT_EQ(a->GetNextVisible(), b);
  tree.Expand(a);
  EXPECT_EQ(a->GetNextVisible()->Text(), "a1");
  EXPECT_EQ(b->GetPrevVisible()->Text(), "a3");
}

TEST(OutlineTreeTest, NewPagesStartWithTheDocumentedFields) {
  TOutlineTree tree;
  TTreeNode* n = tree.Add(nullptr, "x\r\ny");
  EXPECT_EQ(n->Text(), "x");
  EXPECT_EQ(n->ImageIndex(), 0);
  EXPECT_EQ(n->StateIndex(), -1);
  EXPECT_EQ(n->OverlayIndex(), -1);
  EXPECT_EQ(n->Data(), nullptr);
  tree.SetImageIndex(n, 3);
  EXPECT_EQ(n->SelectedIndex(), 3);
}

TEST(OutlineTreeTest, MovesKeepRecordsAndSubtrees) {
  TOutlineTree tree;
  TTreeNode* a = tree.Add(nullptr, "A");
  TTreeNode* b = tree.Add(nullptr, "B");
  TTreeNode* c = tree.Add(nullptr, "C");
  tree.AddChild(b, "b1");
  tree.EnsureData(b).SetBody("body");
  EXPECT_TRUE(tree.MoveTo(b, c, TNodeAttachMode::naAddChild));
  EXPECT_EQ(Dump(tree), "A C .B ..b1");
  EXPECT_EQ(b->Data()->Body(), "body");
  EXPECT_TRUE(tree.MoveTo(b, a, TNodeAttachMode::naInsert));
  EXPECT_EQ(Dump(tree), "B .b1 A C");
  EXPECT_TRUE(tree.MoveTo(b, nullptr, TNodeAttachMode::naAdd));
  EXPECT_EQ(Dump(tree), "A C B .b1");
  EXPECT_TRUE(tree.MoveTo(a, c, TNodeAttachMode::naAddChildFirst));
  EXPECT_TRUE(tree.MoveTo(c, b, TNodeAttachMode::naAdd));
  EXPECT_EQ(Dump(tree), "B .b1 C .A");
  // A page cannot move into its own subtree.
  EXPECT_FALSE(tree.MoveTo(b, b->GetFirstChild(), TNodeAttachMode::naAddChild));
  EXPECT_EQ(tree.Count(), 4);
}

TEST(OutlineTreeTest, RemovedPagesAreNoLongerFoundById) {
  TOutlineTree tree;
  TTreeNode* a = tree.Add(nullptr, "A");
  TTreeNode* a1 = tree.AddChild(a, "a1");
  const TNodeId childId = a1->Id();
  const TNodeId rootId = a->Id();
  EXPECT_EQ(tree.FindById(childId), a1);
  tree.Delete(a);
  EXPECT_EQ(tree.FindById(childId), nullptr);
  EXPECT_EQ(tree.FindById(rootId), nullptr);
  EXPECT_EQ(tree.Count(), 0);
  tree.Add(nullptr, "B");
  tree.Clear();
  EXPECT_EQ(tree.GetFirstNode(), nullptr);
}

// Two documents made in turn hold ids in strides; pages then leave in a
// random order, so the index shifts entries back over holes of every kind.
TEST(OutlineTreeTest, EveryLivePageIsFoundByIdThroughHeavyChurn) {
  TOutlineTree trees[2];
  std::vector<TTreeNode*> live[2];
  std::vector<TNodeId> gone;
  for (int i = 0; i < 6000; ++i) {
    const int t = (i / 64) % 2;  // runs of 64 ids for each document in turn
    TTreeNode* parent = live[t].empty() || i % 5 == 0 ? nullptr : live[t][static_cast<std::size_t>(i) % live[t].size()];
    live[t].push_back(trees[t].AddChild(parent, "p"));
  }
  std::mt19937 random(7);
  for (int t = 0; t < 2; ++t) {
    std::shuffle(live[t].begin(), live[t].end(), random);
    // Leaves only, so every pointer in `live` stays valid until its own turn.
    for (std::size_t i = 0; i < live[t].size();) {
      TTreeNode* page = live[t][i];
      if (page->HasChildren() || i % 3 != 0) {
        ++i;
        continue;
      }
      gone.push_back(page->Id());
      trees[t].Delete(page);
      live[t].erase(live[t].begin() + static_cast<std::ptrdiff_t>(i));
    }
  }
  for (int t = 0; t < 2; ++t) {
    for (TTreeNode* page : live[t]) ASSERT_EQ(trees[t].FindById(page->Id()), page);
    for (TTreeNode* page : live[t]) EXPECT_EQ(trees[1 - t].FindById(page->Id()), nullptr);
  }
  for (const TNodeId id : gone) EXPECT_EQ(trees[0].FindById(id) == nullptr && trees[1].FindById(id) == nullptr, true);
}

// A document built in one go holds one run of consecutive ids. Pages of
// another document join it (continuing the run, or not), most pages then
// leave, and pages come and go again: every live page is still found and no
// removed one is.
TEST(OutlineTreeTest, IdsStayFoundWhenARunOfPagesMovesAndThinsOut) {
  TOutlineTree doc, other;
  std::vector<TTreeNode*> live;
  std::vector<TNodeId> gone;
  doc.Reserve(2000);
  for (int i = 0; i < 2000; ++i) live.push_back(doc.AddChild(i % 10 ? live[static_cast<std::size_t>(i / 10 * 10)] : nullptr, "p"));
  auto adopt = [&](int pages) {
    std::vector<TTreeNode*> made;
    for (int i = 0; i < pages; ++i) made.push_back(other.AddChild(nullptr, "o"));
    doc.AdoptChildren(nullptr, 0, other, nullptr);
    live.insert(live.end(), made.begin(), made.end());
  };
  auto check = [&](const char* when) {
    for (TTreeNode* page : live) ASSERT_EQ(doc.FindById(page->Id()), page) << when;
    for (const TNodeId id : gone) ASSERT_EQ(doc.FindById(id), nullptr) << when;
    EXPECT_EQ(doc.Count(), static_cast<int>(live.size())) << when;
  };
  adopt(50);  // ids right after the document's: they extend its run
  doc.Add(nullptr, "between");
  live.push_back(doc.GetLastRootPage());
  other.Add(nullptr, "elsewhere");  // leaves a gap in the ids
  other.Clear();
  adopt(50);
  check("after adopting");
  std::mt19937 random(5);
  for (int round = 0; round < 9; ++round) {
    std::shuffle(live.begin(), live.end(), random);
    // Leaves only, so every pointer in `live` stays valid.
    int deleted = 0;
    for (std::size_t i = 0; i < live.size() && deleted < 250;) {
      if (live[i]->HasChildren()) {
        ++i;
        continue;
      }
      gone.push_back(live[i]->Id());
      doc.Delete(live[i]);
      live.erase(live.begin() + static_cast<std::ptrdiff_t>(i));
      ++deleted;
    }
    if (round % 3 == 2) adopt(20);
    check("while pages leave");
  }
  EXPECT_LT(live.size(), 2100u / 4);  // past the point where the run is given up
}

TEST(OutlineTreeTest, ReplacingTakesOverIdsOrderAndRecords) {
  TOutlineTree doc, read;
  doc.Add(nullptr, "old");
  TTreeNode* a = read.Add(nullptr, "A");
  TTreeNode* a1 = read.AddChild(a, "a1");
  read.EnsureData(a1).SetBody("body\r\n");
  TTreeNode* b = read.Add(nullptr, "B");
  EXPECT_EQ(read.GetNodeAt(2), b);  // the order is built in the read tree
  doc.ReplaceWith(std::move(read));
  EXPECT_EQ(Dump(doc), "A .a1 B");
  EXPECT_EQ(doc.Count(), 3);
  EXPECT_EQ(read.Count(), 0);
  EXPECT_EQ(read.FindById(a1->Id()), nullptr);
  EXPECT_EQ(doc.FindById(a1->Id()), a1);
  EXPECT_EQ(doc.AbsoluteIndexOf(a1), 1);
  EXPECT_EQ(doc.AbsoluteIndexOf(b), 2);
  EXPECT_EQ(a1->Data()->Body(), "body\r\n");
  EXPECT_EQ(b->Data(), nullptr);
  doc.AddChild(a, "a2");
  EXPECT_EQ(doc.AbsoluteIndexOf(b), 3);
}

TEST(OutlineTreeTest, SortIsStableWithTheInjectedComparison) {
  TOutlineTree tree;
  TTreeNode* p = tree.Add(nullptr, "P");
  for (const char* t : {"b", "B", "a", "b", "A"}) tree.AddChild(p, t);
  TTreeNode* firstB = p->Item(0);
  tree.SortChildren(p, [](const std::string& x, const std::string& y) { return x.compare(y); });
  EXPECT_EQ(Dump(tree), "P .A .B .a .b .b");
  EXPECT_EQ(p->Item(3), firstB);
}

TEST(OutlineTreeTest, AdoptingPagesFromAnotherTreeRegistersThem) {
  TOutlineTree doc, scratch;
  TTreeNode* a = doc.Add(nullptr, "A");
  doc.Add(nullptr, "Z");
  TTreeNode* x = scratch.Add(nullptr, "X");
  scratch.AddChild(x, "x1");
  scratch.Add(nullptr, "Y");
  doc.AdoptChildren(nullptr, a->Index() + 1, scratch, nullptr);
  EXPECT_EQ(Dump(doc), "A X .x1 Y Z");
  EXPECT_EQ(doc.FindById(x->Id()), x);
  EXPECT_EQ(doc.AbsoluteIndexOf(x), 1);
  EXPECT_EQ(scratch.Count(), 0);
  EXPECT_EQ(doc.Count(), 5);
}

TEST(OutlineTreeTest, AbsoluteIndexesFollowEveryChange) {
  TOutlineTree tree, scratch;
  std::mt19937 rng(3);
  for (int step = 0; step < 400; ++step) {
    TTreeNode* some = tree.Count() ? tree.GetNodeAt(static_cast<int>(rng() % static_cast<unsigned>(tree.Count()))) : nullptr;
    switch (rng() % 7) {
      case 0: tree.AddChild(some, "c"); break;
      case 1: tree.Insert(some, "i"); break;
      case 2: if (some && tree.Count() > 3) tree.Delete(some); break;
      case 3: if (some) tree.MoveTo(some, nullptr, TNodeAttachMode::naAddChildFirst); break;
      case 4: tree.SortChildren(some, [](const std::string& a, const std::string& b) { return a.compare(b); }); break;
      case 5:
        scratch.Add(nullptr, "s");
        tree.AdoptChildren(some, 0, scratch, nullptr);
        break;
      case 6: {
        // A page added last in tree order, under the last page or one of its ancestors.
        TTreeNode* parent = tree.LastPage();
        for (unsigned up = rng() % 3; parent && up > 0; --up) parent = parent->Parent();
        tree.AppendLast(parent, "l");
        break;
      }
    }
    int expected = 0;
    for (const TTreeNode* n = tree.GetFirstNode(); n; n = n->GetNext(), ++expected) {
      ASSERT_EQ(tree.AbsoluteIndexOf(n), expected) << step;
      ASSERT_EQ(tree.GetNodeAt(expected), n) << step;
    }
    ASSERT_EQ(expected, tree.Count());
  }
}

}  // namespace
}  // namespace nuv
