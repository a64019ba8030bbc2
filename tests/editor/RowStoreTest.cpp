// The row list under the document: the gap buffer against a plain vector,
// growth, the list-index error, and the packed attribute fields.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "base/Error.h"
#include "base/NotifyPersistent.h"
#include "editor/RowAttributeStringList.h"
#include "support/TempDir.h"

namespace nuv {
namespace {

TEST(RowStoreTest, GapBufferMatchesAVectorUnderRandomEdits) {
  std::mt19937 rng(42);
  TheStringList list;
  std::vector<std::string> model;
  for (int step = 0; step < 5000; ++step) {
    const int n = static_cast<int>(model.size());
    const int op = static_cast<int>(rng() % 6);
    if (op <= 2 || n == 0) {
      const int at = static_cast<int>(rng() % static_cast<unsigned>(n + 1));
      const std::string s = std::to_string(step);
      list.Insert(at, s);
      model.insert(model.begin() + at, s);
    } else if (op == 3) {
      const int at = static_cast<int>(rng() % static_cast<unsigned>(n));
      const int count = std::min(n - at, static_cast<int>(rng() % 4) + 1);
      list.DeleteRange(at, count);
      model.erase(model.begin() + at, model.begin() + at + count);
    } else if (op == 4) {
      const int at = static_cast<int>(rng() % static_cast<unsigned>(n + 1));
      list.InsertBlank(at, 3);
      model.insert(model.begin() + at, 3, std::string());
    } else {
      const int a = static_cast<int>(rng() % static_cast<unsigned>(n)), b = static_cast<int>(rng() % static_cast<unsigned>(n));
      list.Exchange(a, b);
      std::swap(model[static_cast<std::size_t>(a)], model[static_cast<std::size_t>(b)]);
    }
    ASSERT_EQ(list.GetCount(), static_cast<int>(model.size()));
  }
  for (int i = 0; i < list.GetCount(); ++i) ASSERT_EQ(list.Get(i), model[static_cast<std::size_t>(i)]) << i;
}

TEST(RowStoreTest, GrowthAndNewItems) {
  TheStringList list;
  std::vector<int> capacities;
  for (int i = 0; i < 100; ++i) {
    list.Add("x");
    if (capacities.empty() || capacities.back() != list.GetCapacity()) capacities.push_back(list.GetCapacity());
  }
  EXPECT_EQ(capacities, (std::vector<int>{4, 8, 12, 28, 44, 60, 76, 95, 118}));
  list.Insert(3, "new");
  const TheStringItem& item = list.GetItemRecord(3);
  EXPECT_EQ(item.Str, "new");
  EXPECT_TRUE(item.DataStr.empty());
  EXPECT_EQ(item.Data, 0);
  EXPECT_EQ(item.Item, 0u);
  EXPECT_EQ(item.Item2, 0u);
}

TEST(RowStoreTest, ExchangeSwapsEveryField) {
  TheStringList list;
  list.Add("a");
  list.Add("b");
  list.PutData(0, 7);
  list.PutDataStr(0, "state");
  list.PutItem(0, 0x12345678u);
  list.PutItem2(1, 0x9ABCDEF0u);
  list.Exchange(0, 1);
  EXPECT_EQ(list.Get(1), "a");
  EXPECT_EQ(list.GetData(1), 7);
  EXPECT_EQ(list.GetDataStr(1), "state");
  EXPECT_EQ(list.GetItem(1), 0x12345678u);
  EXPECT_EQ(list.GetItem2(0), 0x9ABCDEF0u);
  EXPECT_EQ(list.GetItem(0), 0u);
}

TEST(RowStoreTest, BadIndexRaisesTheListIndexError) {
  TheStringList list;
  list.Add("a");
  const auto message = [](auto f) {
    try {
      f();
    } catch (const ENuvError& e) {
      return e.Message();
    }
    return std::string("no error");
  };
  EXPECT_EQ(message([&] { list.Get(5); }), test::Sj("リストのインデックスが範囲を超えています (5)"));
  EXPECT_EQ(message([&] { list.Delete(-1); }), test::Sj("リストのインデックスが範囲を超えています (-1)"));
  EXPECT_EQ(message([&] { list.Insert(2, "x"); }), test::Sj("リストのインデックスが範囲を超えています (2)"));
  list.Insert(1, "end");  // inserting at the count is allowed
  EXPECT_EQ(list.Get(1), "end");
}

TEST(RowStoreTest, ChangeNotificationsCollapseToTheOutermostUpdate) {
  TheStringList list;
  int changes = 0;
  list.OnChange = [&changes] { ++changes; };
  list.Add("a");
  EXPECT_EQ(changes, 1);
  list.BeginUpdate();
  list.BeginUpdate();
  list.Add("b");
  list.Put(0, "c");
  list.EndUpdate();
  EXPECT_EQ(changes, 1);
  list.EndUpdate();
  EXPECT_EQ(changes, 2);
}

TEST(RowStoreTest, PackedFieldsReadBackAndKeepTheirNeighbours) {
  TRowAttributeStringList list;
  list.Add("row");
  for (int b = -2; b <= 13; ++b) {
    list.SetBrackets(0, b);
    EXPECT_EQ(list.GetBrackets(0), b);
  }
  list.SetRows(0, raWrapped);
  list.SetPrevRows(0, raEof);
  list.SetElements(0, 255);
  list.SetWrappedBytes(0, 17);
  list.SetRemains(0, 200);
  list.SetTokens(0, 25);
  list.SetPrevTokens(0, 250);
  list.SetRowMarks(0, TRowMarks::Of(rm15) | TRowMarks::Of(rm0));
  list.SetBrackets(0, 5);
  EXPECT_EQ(list.GetRows(0), raWrapped);
  EXPECT_EQ(list.GetPrevRows(0), raEof);
  EXPECT_EQ(list.GetBrackets(0), 5);
  EXPECT_EQ(list.GetElements(0), 255);
  EXPECT_EQ(list.GetWrappedBytes(0), 17);
  EXPECT_EQ(list.GetRemains(0), 200);
  EXPECT_EQ(list.GetTokens(0), 25);
  EXPECT_EQ(list.GetPrevTokens(0), 250);
  EXPECT_EQ(list.GetRowMarks(0).Bits, 0x8001);
  // A new row: raCrlf, no marks, state not computed.
  list.Add("new");
  EXPECT_EQ(list.GetRows(1), raCrlf);
  EXPECT_EQ(list.GetBrackets(1), kBracketNotComputed);
  EXPECT_TRUE(list.GetRowMarks(1).Empty());
}

TEST(NotifyPersistentTest, ChangedFiresOutsideUpdatesOnly) {
  TNotifyPersistent p;
  int calls = 0;
  p.OnChange = [&calls](TNotifyPersistent&) { ++calls; };
  p.Changed();
  p.BeginUpdate();
  p.Changed();
  p.Changed();
  EXPECT_EQ(calls, 1);
  p.EndUpdate();
  EXPECT_EQ(calls, 2);

  int a = 0, b = 0;
  const int owner = 0, first = 0, second = 0;
  TNotifyEventList list(&owner);
  list.Add(&first, [&a, &owner](const void* sender) { a += sender == &owner; });
  list.Add(&second, [&b](const void*) { ++b; });
  list.Changed();
  list.Remove(&second);
  list.BeginUpdate();
  list.Changed();
  list.EndUpdate();
  EXPECT_EQ(a, 2);
  EXPECT_EQ(b, 1);

  int collectionChanges = 0;
  TNotifyCollection collection([&collectionChanges] { ++collectionChanges; });
  TNotifyPersistent& item = collection.Add(std::make_unique<TNotifyPersistent>());
  item.Changed();
  EXPECT_EQ(collectionChanges, 2);
}

}  // namespace
}  // namespace nuv
