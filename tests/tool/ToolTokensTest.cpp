// nuvtool tokens as a real child process: every row's tokens cover the row in
// order in each mode (the dump leaves blanks out), and bad arguments and
// unreadable files fail with their codes.
#include <gtest/gtest.h>

#include <regex>
#include <sstream>

#include "support/ChildProcess.h"
#include "support/TempDir.h"

namespace nuv {
namespace {

const std::string kTool = NUVTOOL;

// The token spans "Kind@position+length" of one output row, in order.
std::vector<std::pair<int, int>> Spans(const std::string& row) {
  static const std::regex span(R"((\w+)\*?@(\d+)\+(\d+))");
  std::vector<std::pair<int, int>> spans;
  for (auto it = std::sregex_iterator(row.begin(), row.end(), span); it != std::sregex_iterator(); ++it)
    spans.emplace_back(std::stoi((*it)[2]), std::stoi((*it)[3]));
  return spans;
}

TEST(ToolTokensTest, TokensCoverEveryRowInOrderInEveryMode) {
  test::TTempDir dir;
  const std::vector<std::string> rows = {"int main() { /* c */ return 0; }", "  $x = \"s\\\"\" . 'q'; # note",
                                         test::Sj("表示 := 'ソ\\'; <a href=\"x\">リンク</a>"), ""};
  std::string text;
  for (const auto& r : rows) text += r + "\r\n";
  const std::string file = dir.Write("src.txt", text);
  for (const char* mode : {"text", "awk", "cpp", "delphi", "html", "cobol", "perl", "ruby", "java"}) {
    const test::TChildResult r = test::RunChild({kTool, "tokens", mode, file});
    ASSERT_EQ(r.exitCode, 0) << mode << r.err;
    std::istringstream out(r.out);
    std::string line;
    std::size_t row = 0;
    while (std::getline(out, line) && row < rows.size()) {
      const std::string& text = rows[row];
      auto blanks = [&](int from, int to) {
        for (int i = from; i < to; ++i)
          if (text[static_cast<std::size_t>(i)] != ' ' && text[static_cast<std::size_t>(i)] != '\t') return false;
        return true;
      };
      int next = 0;
      for (const auto& [pos, len] : Spans(line)) {
        EXPECT_GE(pos, next) << mode << " row " << row;
        EXPECT_TRUE(blanks(next, pos)) << mode << " row " << row << " gap at " << next;
        EXPECT_GT(len, 0) << mode << " row " << row;
        next = pos + len;
      }
      EXPECT_LE(next, static_cast<int>(text.size())) << mode << " row " << row;
      EXPECT_TRUE(blanks(next, static_cast<int>(text.size()))) << mode << " row " << row;
      ++row;
    }
    EXPECT_EQ(row, rows.size()) << mode;
  }
  const test::TChildResult wrapped = test::RunChild({kTool, "tokens", "cpp", file, "--wrap", "20"});
  EXPECT_EQ(wrapped.exitCode, 0);
  EXPECT_GT(std::count(wrapped.out.begin(), wrapped.out.end(), '\n'), static_cast<long>(rows.size()));
}

TEST(ToolTokensTest, BadArgumentsAndUnreadableFiles) {
  test::TTempDir dir;
  const std::string file = dir.Write("a.c", "x\r\n");
  EXPECT_EQ(test::RunChild({kTool, "tokens", "bogus", file}).exitCode, 2);
  EXPECT_EQ(test::RunChild({kTool, "tokens", "cpp"}).exitCode, 2);
  EXPECT_EQ(test::RunChild({kTool, "tokens", "cpp", file, "--wrap", "5"}).exitCode, 2);
  EXPECT_EQ(test::RunChild({kTool, "tokens", "cpp", dir.File("missing.c")}).exitCode, 1);
}

}  // namespace
}  // namespace nuv
