// The child pointer array against a plain vector, through every way it grows
// and shrinks (inside itself, in a heap block, fitted, moved).
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <utility>
#include <vector>

#include "outline/ChildList.h"

namespace nuv {
namespace {

// Stand-ins for pages: the list never looks behind its pointers.
TTreeNode* Fake(int i) { return reinterpret_cast<TTreeNode*>(static_cast<std::uintptr_t>(i + 1) * 16); }

void ExpectSame(const TChildList& list, const std::vector<TTreeNode*>& model, int step) {
  ASSERT_EQ(list.Size(), model.size()) << step;
  ASSERT_EQ(list.Empty(), model.empty()) << step;
  std::size_t i = 0;
  for (TTreeNode* item : list) ASSERT_EQ(item, model[i++]) << step;
  if (!model.empty()) {
    ASSERT_EQ(list.Front(), model.front()) << step;
    ASSERT_EQ(list.Back(), model.back()) << step;
  }
}

TEST(ChildListTest, FollowsAVectorThroughRandomEdits) {
  std::mt19937 random(11);
  TChildList list;
  std::vector<TTreeNode*> model;
  for (int step = 0; step < 20000; ++step) {
    const unsigned what = random() % 10;
    if (what < 5 || model.empty()) {
      // Insert anywhere, the ends included; bursts make long lists too.
      const std::size_t at = random() % (model.size() + 1);
      list.Insert(at, Fake(step));
      model.insert(model.begin() + static_cast<std::ptrdiff_t>(at), Fake(step));
    } else if (what < 8) {
      const std::size_t at = random() % model.size();
      list.Erase(at);
      model.erase(model.begin() + static_cast<std::ptrdiff_t>(at));
    } else if (what == 8) {
      list.Fit();
    } else if (random() % 50 == 0) {
      // Back to nothing now and then, so the one-pointer form is visited often.
      list.Clear();
      model.clear();
    } else {
      TChildList moved(std::move(list));
      ExpectSame(list, {}, step);
      list = std::move(moved);
    }
    ExpectSame(list, model, step);
  }
}

TEST(ChildListTest, FittingAndReservingKeepTheItems) {
  struct TCase {
    int count;
    std::size_t reserve;
  };
  // Zero and one fit inside the list; two and more take a block.
  for (const TCase c : {TCase{0, 0}, TCase{1, 0}, TCase{1, 5}, TCase{2, 2}, TCase{2, 1}, TCase{7, 100}, TCase{1000, 0}}) {
    TChildList list;
    std::vector<TTreeNode*> model;
    for (int i = 0; i < c.count; ++i) {
      list.Insert(list.Size(), Fake(i));
      model.push_back(Fake(i));
    }
    list.Reserve(c.reserve);  // never below the size
    ExpectSame(list, model, c.count);
    list.Fit();
    ExpectSame(list, model, c.count);
    list.Insert(0, Fake(100000));
    model.insert(model.begin(), Fake(100000));
    ExpectSame(list, model, c.count);
  }
}

}  // namespace
}  // namespace nuv
