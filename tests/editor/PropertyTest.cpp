// Random edits through the replacement primitive on mixed Japanese and ASCII
// text, checked against a plain string model: after every edit the rows
// equal a fresh full wrap of the same text; undoing every step gives back
// the original rows and marks, redoing them the final state.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "EditorTestUtil.h"

namespace nuv {
namespace {

using test::DumpMarks;
using test::DumpRows;
using test::FullWrap;
using test::TWrapSetup;

const TWrapSetup kSetups[] = {
    {"unwrapped", false, 80, false, false, false, false, 8},
    {"plain20", true, 20, false, false, false, false, 8},
    {"retmark20", true, 20, true, false, false, false, 4},
    {"punctuation20", true, 20, false, true, true, false, 8},
    {"wordbreak20", true, 20, false, false, false, true, 4},
    {"everything21", true, 21, true, true, true, true, 4},
    {"everything37", true, 37, false, true, true, true, 8},
};

// Pieces of text: ASCII words and marks, tabs, double-byte letters and
// punctuation (including trail bytes that look like ASCII), half-width kana,
// a NUL, lone lead bytes and every kind of line break.
const std::vector<std::string> kPieces = {
    "a", "b", "word", " ", " ", "\t", ".", ",", "(", ")", "x",
    "\x95\x5C",              // 表 (trail byte is a backslash)
    "\x83\x83",              // ャ
    "\x83\x41",              // ア (trail byte is 'A')
    "\x81\x75", "\x81\x76",  // 「 」
    "\x81\x42", "\x81\x41",  // 。 、
    "\x8A\xBF",              // 漢
    "\xB1", "\xA1",          // half-width ｱ and ｡
    std::string(1, '\0'),
    "\x82",                  // a lead byte that may or may not find a trail
    "\r\n", "\n", "\r",
};

std::string RandomText(std::mt19937& rng, int maxPieces) {
  std::uniform_int_distribution<int> count(0, maxPieces);
  std::uniform_int_distribution<std::size_t> piece(0, kPieces.size() - 1);
  std::string s;
  for (int i = count(rng); i > 0; --i) s += kPieces[piece(rng)];
  return s;
}

// The byte range rows [index, index + count) stand for in the text.
void RowRange(const TEditorScreenStrings& list, int index, int count, std::size_t& begin, std::size_t& end) {
  begin = 0;
  for (int r = 0; r < index; ++r) begin += list.Get(r).size() + (list.GetRows(r) == raCrlf ? 2 : 0);
  end = begin;
  for (int r = index; r < index + count; ++r) end += list.Get(r).size() + (list.GetRows(r) == raCrlf ? 2 : 0);
}

// A text normalised the way the document stores it (line breaks as CR LF).
std::string Normalised(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      out += "\r\n";
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

class PropertyTest : public ::testing::TestWithParam<TWrapSetup> {};

TEST_P(PropertyTest, RandomEditsMatchModelFullWrapAndUndo) {
  const TWrapSetup& setup = GetParam();
  std::mt19937 rng(20261210);
  for (int round = 0; round < 25; ++round) {
    TEditor editor;
    editor.SetUndoListMax(1000);
    test::Apply(setup, editor);
    TEditorScreenStrings& list = editor.List();
    std::string model = Normalised(RandomText(rng, 60));
    editor.Lines().SetTextStr(model);
    ASSERT_EQ(list.ListToStr(), model);
    // Marks on some rows, to be given back by undo.
    for (int r = 0; r < list.GetCount(); r += 3) list.SetRowMarks(r, TRowMarks(static_cast<std::uint16_t>(1u << (r % 16))));
    const std::string originalRows = DumpRows(list);
    const std::string originalMarks = DumpMarks(list);

    int steps = 0;
    std::vector<std::string> stepMarks, stepRows;
    for (int edit = 0; edit < 40; ++edit) {
      const int rows = list.GetCount();
      std::uniform_int_distribution<int> pick(0, rows);
      const int index = pick(rng);
      std::uniform_int_distribution<int> span(0, std::min(3, rows - index));
      const int count = span(rng);
      const std::string s = RandomText(rng, edit % 7 == 0 ? 40 : 5);
      if (count == 0 && s.empty()) continue;
      std::size_t begin = 0, end = 0;
      RowRange(list, index, count, begin, end);
      model.replace(begin, end - begin, Normalised(s));
      const std::string beforeRows = DumpRows(list);
      list.UpdateList(index, count, s);
      if (DumpRows(list) != FullWrap(setup, model)) {
        ADD_FAILURE() << "before:\n" << ::testing::PrintToString(beforeRows) << "\nindex " << index << " count " << count
                      << " s " << ::testing::PrintToString(s) << "\nafter " << ::testing::PrintToString(DumpRows(list));
        return;
      }
      ++steps;
      stepMarks.push_back(DumpMarks(list));
      stepRows.push_back(DumpRows(list));
      ASSERT_EQ(list.ListToStr(), model) << setup.name << " round " << round << " edit " << edit;
      ASSERT_EQ(DumpRows(list), FullWrap(setup, model)) << setup.name << " round " << round << " edit " << edit;
      ASSERT_EQ(list.ValidRowMarks().Bits, [&] {
        std::uint16_t bits = 0;
        for (int r = 0; r < list.GetCount(); ++r) bits = static_cast<std::uint16_t>(bits | list.GetRowMarks(r).Bits);
        return bits;
      }());
    }
    const std::string finalRows = DumpRows(list);
    const std::string finalMarks = DumpMarks(list);
    for (int i = 0; i < steps; ++i) {
      ASSERT_TRUE(editor.CanUndo());
      editor.Undo();
      ASSERT_EQ(DumpRows(list), FullWrap(setup, list.ListToStr())) << setup.name << " undo " << i;
    }
    EXPECT_FALSE(editor.CanUndo());
    EXPECT_EQ(DumpRows(list), originalRows) << setup.name << " round " << round;
    EXPECT_EQ(DumpMarks(list), originalMarks) << setup.name << " round " << round;
    for (int i = 0; i < steps; ++i) {
      ASSERT_TRUE(editor.CanRedo());
      editor.Redo();
      ASSERT_EQ(DumpRows(list), stepRows[static_cast<std::size_t>(i)]) << setup.name << " redo " << i;
      ASSERT_EQ(DumpMarks(list), stepMarks[static_cast<std::size_t>(i)]) << setup.name << " redo " << i;
    }
    EXPECT_FALSE(editor.CanRedo());
    EXPECT_EQ(DumpRows(list), finalRows) << setup.name << " round " << round;
    EXPECT_EQ(DumpMarks(list), finalMarks) << setup.name << " round " << round;
  }
}

INSTANTIATE_TEST_SUITE_P(Wraps, PropertyTest, ::testing::ValuesIn(kSetups),
                         [](const ::testing::TestParamInfo<TWrapSetup>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace nuv
