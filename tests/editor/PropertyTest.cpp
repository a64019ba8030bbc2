// Random edits through the replacement primitive on mixed Japanese and ASCII
// text, checked against a plain string model: after every edit the rows
// equal a fresh full wrap of the same text; undoing every step gives back
// the original rows and marks, redoing them the final state. A second run
// makes random selections, box cuts and pastes and replace-alls, each
// checked against the model and undone step by step.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "EditorTestUtil.h"
#include "base/Sjis.h"
#include "editor/EditorEx.h"

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

// ---- selections, boxes and replaces ---------------------------------------

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t at; (at = text.find("\r\n", start)) != std::string::npos; start = at + 2) {
    lines.push_back(text.substr(start, at - start));
  }
  lines.push_back(text.substr(start));
  return lines;
}

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string out;
  for (std::size_t i = 0; i < lines.size(); ++i) out += (i ? "\r\n" : "") + lines[i];
  return out;
}

bool IsModelBoundary(const std::string& s, std::size_t at) {
  std::size_t i = 0;
  while (i < at) i += CharLength(s, i);
  return i == at;
}

// Byte range of the box columns [left, right) of an unwrapped line, walked
// character by character: a character is in when it starts inside the box,
// a tab also when it reaches into it; the range ends at the first character
// that starts at or right of the right edge.
std::pair<std::size_t, std::size_t> ModelBox(const std::string& line, int left, int right, int tab) {
  std::size_t l = line.size(), r = line.size();
  int col = 0;
  for (std::size_t i = 0; i < line.size();) {
    const std::size_t len = CharLength(line, i);
    const int w = line[i] == '\t' ? tab - col % tab : static_cast<int>(len);
    if (l == line.size() && (col >= left || (line[i] == '\t' && col + w > left))) l = i;
    if (r == line.size() && col >= right) r = i;
    col += w;
    i += len;
  }
  return {l, std::max(l, r)};
}

int ModelWidth(const std::string& line, int tab) {
  int col = 0;
  for (std::size_t i = 0; i < line.size(); i += CharLength(line, i)) col += line[i] == '\t' ? tab - col % tab : static_cast<int>(CharLength(line, i));
  return col;
}

std::string ModelReplaceAll(const std::string& text, const std::string& pattern, const std::string& with) {
  std::vector<std::string> lines = SplitLines(text);
  for (std::string& line : lines) {
    std::string out;
    for (std::size_t i = 0; i < line.size();) {
      if (line.compare(i, pattern.size(), pattern) == 0 && IsModelBoundary(line, i + pattern.size())) {
        out += with;
        i += pattern.size();
      } else {
        out.append(line, i, CharLength(line, i));
        i += CharLength(line, i);
      }
    }
    line = out;
  }
  return JoinLines(lines);
}

TEST_P(PropertyTest, RandomSelectionsBoxesAndReplacesMatchModelAndUndo) {
  const TWrapSetup& setup = GetParam();
  const bool boxes = !setup.wordWrap;  // box columns are modelled on unwrapped lines
  std::mt19937 rng(20261211);
  for (int round = 0; round < 20; ++round) {
    TEditorEx editor;
    editor.SetUndoListMax(1000);
    editor.Caret().SetInTab(true);
    test::Apply(setup, editor);
    const int tab = editor.Caret().TabSpaceCount();
    std::string model = Normalised(RandomText(rng, 50));
    editor.Lines().SetTextStr(model);
    const std::string original = model;
    std::vector<std::string> states{model};
    bool hasClip = false;  // the clipboard keeps the last box cut
    std::string clip;
    for (int op = 0; op < 30; ++op) {
      const std::string before = model;
      const int kind = std::uniform_int_distribution<int>(0, boxes ? 4 : 2)(rng);
      const std::int64_t size = static_cast<std::int64_t>(model.size());
      if (kind <= 1) {
        // A line selection, replaced by a piece of text or deleted.
        editor.SetSelectionMode(smLine);
        editor.SetSelStart(std::uniform_int_distribution<std::int64_t>(0, size)(rng));
        editor.SetSelLength(std::uniform_int_distribution<std::int64_t>(0, 12)(rng));
        const std::int64_t start = editor.SelStart(), length = editor.SelLength();
        ASSERT_TRUE(IsModelBoundary(model, static_cast<std::size_t>(start)));
        ASSERT_TRUE(IsModelBoundary(model, static_cast<std::size_t>(start + length)));
        ASSERT_EQ(editor.SelText(), model.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(length)));
        const std::string s = kind == 0 ? RandomText(rng, 3) : std::string();
        if (editor.Selected() || !s.empty()) {
          if (s.empty()) {
            editor.ClearSelection();
          } else {
            editor.SetSelText(s);
          }
          model.replace(static_cast<std::size_t>(start), static_cast<std::size_t>(editor.Selected() ? 0 : length), Normalised(s));
        }
      } else if (kind == 2) {
        // Replace all of a piece (match case), against a plain replacement.
        std::string pattern;
        while (pattern.empty() || pattern.find_first_of("\r\n") != std::string::npos) pattern = RandomText(rng, 2);
        const std::string with = RandomText(rng, 2);
        editor.SetFindString(pattern);
        editor.SetExSearchOptions(SearchOption(soMatchCase));
        editor.ReplaceAll(with, false);
        model = ModelReplaceAll(model, pattern, Normalised(with));
      } else {
        // A box from two caret positions: cut, then pasted back at the caret
        // (kind 3) or somewhere else (kind 4).
        std::vector<std::string> lines = SplitLines(model);
        const int rows = static_cast<int>(lines.size());
        auto row = [&] { return std::uniform_int_distribution<int>(0, rows - 1)(rng); };
        auto col = [&] { return std::uniform_int_distribution<int>(0, 14)(rng); };
        editor.SetSelectionMode(smBox);
        editor.SetRowCol(row(), col());
        editor.InitSelection();
        editor.SetRowCol(row(), col());
        editor.ExtendSelection();
        const TSelectedPosition d = editor.SelDraw();
        std::string boxText;
        for (int r = d.StartRow; r <= d.EndRow; ++r) {
          auto [l, rr] = ModelBox(lines[static_cast<std::size_t>(r)], d.StartCol, d.EndCol, tab);
          boxText += (r > d.StartRow ? "\r\n" : "") + lines[static_cast<std::size_t>(r)].substr(l, rr - l);
          lines[static_cast<std::size_t>(r)].erase(l, rr - l);
        }
        if (d.StartCol == d.EndCol) boxText.clear();  // a box of no columns selects nothing
        ASSERT_EQ(editor.SelText(), boxText) << setup.name << " round " << round << " op " << op;
        editor.CutToClipboard();
        if (d.StartCol != d.EndCol) {
          model = JoinLines(lines);
          clip = boxText;
          hasClip = true;
        }
        ASSERT_EQ(editor.List().ListToStr(), model) << setup.name << " round " << round << " op " << op << " box cut";
        if (model != before) states.push_back(model);
        if (kind == 4) {
          editor.CleanSelection();
          editor.SetRowCol(row(), col());
        }
        const int pr = editor.Row(), pc = editor.Col();
        editor.PasteFromClipboard();
        const std::vector<std::string> pieces = hasClip ? StrToStrings(clip) : std::vector<std::string>();
        lines = SplitLines(model);
        for (std::size_t i = 0; i < pieces.size(); ++i) {
          const std::size_t r = static_cast<std::size_t>(pr) + i;
          if (r >= lines.size()) lines.emplace_back();
          if (pieces[i].empty()) continue;
          std::string& line = lines[r];
          const int width = ModelWidth(line, tab);
          if (pc >= width) {
            line += std::string(static_cast<std::size_t>(pc - width), ' ') + pieces[i];
          } else {
            line.insert(ModelBox(line, pc, pc, tab).first, pieces[i]);
          }
        }
        model = JoinLines(lines);
      }
      ASSERT_EQ(editor.List().ListToStr(), model) << setup.name << " round " << round << " op " << op << " kind " << kind;
      ASSERT_EQ(DumpRows(editor.List()), FullWrap(setup, model)) << setup.name << " round " << round << " op " << op;
      if (model != states.back()) states.push_back(model);
    }
    // Every change was one step: undo walks the states back.
    for (std::size_t i = states.size() - 1; i > 0; --i) {
      ASSERT_TRUE(editor.CanUndo()) << setup.name << " round " << round << " state " << i;
      editor.Undo();
      ASSERT_EQ(editor.List().ListToStr(), states[i - 1]) << setup.name << " round " << round << " undo to " << i - 1;
    }
    EXPECT_EQ(editor.List().ListToStr(), original);
  }
}

INSTANTIATE_TEST_SUITE_P(Wraps, PropertyTest, ::testing::ValuesIn(kSetups),
                         [](const ::testing::TestParamInfo<TWrapSetup>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace nuv
