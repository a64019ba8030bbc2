// nuvtool macro as a real child process: documents read and written back,
// errors, standard input for the pause dialog, and the same programs run by
// Free Pascal with the same output.
#include <gtest/gtest.h>

#include "outline/BinaryFormat.h"
#include "outline/OutlineTree.h"
#include "support/ChildProcess.h"
#include "support/OutlineFixtures.h"

namespace nuv {
namespace {

using test::RunChild;
using test::Sj;

test::TChildResult Tool(const std::vector<std::string>& args, const std::string& input = std::string()) {
  std::vector<std::string> argv{NUV_TOOL_PATH, "macro"};
  argv.insert(argv.end(), args.begin(), args.end());
  return RunChild(argv, input);
}

const char* const kQuote =
    "var i: integer;\r\nbegin\r\n  for i := 0 to LineCount - 1 do SetLineStr(i, '> ' + GetLineStr(i));\r\n"
    "  WriteLn(GetNodeTitle(0) + ' ' + IntToStr(NodeCount))\r\nend.\r\n";

TEST(MacroToolTest, RewritesAPageOfAHierarchicalText) {
  test::TTempDir dir;
  const std::string doc = dir.Write("doc.txt", Sj(".表紙\r\ncover\r\n.本文\r\none\r\ntwo\r\n"));
  const std::string macro = dir.Write("quote.p2s", kQuote);
  // Without --write the document stays as it was.
  auto r = Tool({macro, doc, "2"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "表紙 2\n");
  EXPECT_EQ(dir.Read("doc.txt"), Sj(".表紙\r\ncover\r\n.本文\r\none\r\ntwo\r\n"));
  r = Tool({macro, doc, "2", "--write"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(dir.Read("doc.txt"), Sj(".表紙\r\ncover\r\n.本文\r\n> one\r\n> two\r\n"));
  // The default page is the first one; a macro that changes nothing writes nothing.
  const std::string reader = dir.Write("read.p2s", "WriteLn(GetLineStr(0))");
  r = Tool({reader, doc, "--write"});
  EXPECT_EQ(r.out, "cover\n");
  EXPECT_EQ(r.exitCode, 0);
}

TEST(MacroToolTest, RewritesABinaryDocument) {
  test::TTempDir dir;
  TOutlineTree tree;
  test::BuildPlanExample(tree);
  const std::string doc = dir.File("plan.pk2");
  ASSERT_TRUE(WriteBinary(doc, tree, tree.GetNodeAt(1)));
  const std::string macro = dir.Write("quote.p2s", kQuote);
  const auto r = Tool({macro, doc, "2", "--write"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  TOutlineTree back;
  const TBinaryReadResult read = ReadBinary(doc, TFormatOptions{}, back);
  ASSERT_TRUE(read.ok);
  EXPECT_EQ(read.selectedIndex, 1);
  EXPECT_EQ(back.GetNodeAt(1)->Data()->Body(), "> first\r\n> second\r\n");
  EXPECT_EQ(test::Dump(back), test::Dump(tree));
}

TEST(MacroToolTest, ErrorsExitNonZeroWithTheMessage) {
  test::TTempDir dir;
  const std::string macro = dir.Write("bad.p2s", "WriteLn('before');\r\nx := 1\r\n");
  const auto r = Tool({macro});
  EXPECT_NE(r.exitCode, 0);
  EXPECT_EQ(r.out, "before\n");
  EXPECT_NE(r.err.find("文法エラーです[x]"), std::string::npos) << r.err;

  EXPECT_NE(Tool({dir.File("none.p2s")}).exitCode, 0);
  const std::string doc = dir.Write("doc.txt", ".a\r\n");
  const std::string ok = dir.Write("ok.p2s", "WriteLn('x')");
  EXPECT_NE(Tool({ok, doc, "2"}).exitCode, 0);
  EXPECT_NE(Tool({ok, doc, "0"}).exitCode, 0);
  EXPECT_NE(Tool({ok, "--write"}).exitCode, 0);
}

TEST(MacroToolTest, RunsOnAnEmptyDocumentAndAnswersFromStandardInput) {
  test::TTempDir dir;
  const std::string macro =
      dir.Write("pause.p2s", Sj("var n: integer; s: string;\r\nbegin\r\n  n := 42; s := InputBox('c', 'p', 'd');\r\n"
                                "  Pause;\r\n  WriteLn(IntToStr(LineCount) + ' ' + IntToStr(NodeCount) + ' ' + s + ' 終')\r\nend.\r\n"));
  const auto r = Tool({macro}, "入力\nn\nnope\n!\n");
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "0 1 入力 終\n");
  EXPECT_NE(r.err.find("n=42"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("nope=取得失敗　　"), std::string::npos) << r.err;
  // At the end of the input the pause ends and InputBox gives its default.
  const auto eof = Tool({macro});
  EXPECT_EQ(eof.exitCode, 0) << eof.err;
  EXPECT_EQ(eof.out, "0 1 d 終\n");
}

// Programs in the part of the language that Free Pascal (Delphi mode, with
// SysUtils) reads the same way. Each is compiled with fpc and run, and run by
// nuvtool macro; the outputs must agree.
const char* const kDifferentialPrograms[] = {
    R"(var a, b, c, i: integer;
begin
  a := 17; b := 5;
  WriteLn(IntToStr(a div b) + ' ' + IntToStr(a mod b) + ' ' + IntToStr(a * b - a + b));
  a := -17;
  WriteLn(IntToStr(a div b) + ' ' + IntToStr(a mod b) + ' ' + IntToStr(-a div -b) + ' ' + IntToStr(a mod -b));
  a := 1;
  for i := 0 to 34 do begin c := a shl i; if (i mod 11 = 0) or (i > 30) then WriteLn(IntToStr(i) + ':' + IntToStr(c)) end;
  a := -8; b := 1;
  WriteLn(IntToStr(a shr b) + ' ' + IntToStr(a shl 3) + ' ' + IntToStr($F0 and 60) + ' ' + IntToStr(5 or 10) + ' ' + IntToStr(6 xor 3));
  a := -2147483647 - 1; b := -1;
  c := a div b; i := a mod b;
  WriteLn(IntToStr(c) + ' ' + IntToStr(i) + ' ' + IntToStr(a div 7));
  WriteLn(IntToStr(2 + 3 * 4 - 10 div 3) + ' ' + IntToStr((2 + 3) * (4 - 10) div 3));
  c := 0;
  if (a < 0) and (b < 0) then c := c + 1;
  if not (a > 0) then c := c + 10;
  if (a = 0) or (b = -1) then c := c + 100;
  WriteLn(IntToStr(c));
end.
)",
    R"(var r, t: real; i: integer;
begin
  r := 7 / 2; t := r * 1.5 + 2;
  WriteLn(FloatToStr(r) + ' ' + FloatToStr(t) + ' ' + FloatToStr(r - t) + ' ' + FloatToStr(1 / 3) + ' ' + FloatToStr(2 / 3));
  WriteLn(FloatToStr(1e20) + ' ' + FloatToStr(1.5e-7) + ' ' + FloatToStr(0.00001) + ' ' + FloatToStr(123456789.125));
  WriteLn(IntToStr(Trunc(-3.7)) + ' ' + IntToStr(Trunc(3.99)) + ' ' + IntToStr(Round(2.5)) + ' ' + IntToStr(Round(3.5)) + ' ' + IntToStr(Round(-2.5)) + ' ' + IntToStr(Round(2.51)));
  WriteLn(FloatToStr(Frac(-3.75)) + ' ' + FloatToStr(Int(-3.75)) + ' ' + FloatToStr(Int(8.5)));
  r := 0;
  for i := 1 to 10 do r := r + i / 4;
  WriteLn(FloatToStr(r));
  if r > 13.7 then WriteLn('gt') else WriteLn('le');
  i := 3; r := i;
  WriteLn(FloatToStr(r / 8) + ' ' + FloatToStr(StrToFloat('2.5e3') * 2));
end.
)",
    R"(var s, t: string; i, n: integer;
begin
  s := 'Hello, ' + 'World';
  WriteLn(s + ' ' + IntToStr(Length(s)) + ' ' + IntToStr(Pos('World', s)) + ' ' + IntToStr(Pos('x', s)));
  WriteLn(Copy(s, 1, 5) + '|' + Copy(s, 8, 100) + '|' + Copy(s, 0, 3) + '|' + Copy(s, 20, 2) + '|');
  t := '';
  for i := Length(s) downto 1 do t := t + Copy(s, i, 1);
  WriteLn(t);
  WriteLn('[' + Trim('  padded  ') + '] ' + UpperCase('MiXeD case 123'));
  WriteLn('it''s' + #33 + ' ' + IntToStr(StrToInt('$1F') + StrToInt('12')));
  n := 0;
  if 'abc' < 'abd' then n := n + 1;
  if 'abc' = 'abc' then n := n + 2;
  if 'b' > 'abc' then n := n + 4;
  if 'Z' < 'a' then n := n + 8;
  if s <> '' then n := n + 16;
  WriteLn(IntToStr(n));
end.
)",
    R"(var i, j, n, f: integer; s: string;
begin
  n := 0;
  for i := 2 to 60 do begin
    j := 2; f := 1;
    while j * j <= i do begin
      if i mod j = 0 then begin f := 0; break end;
      j := j + 1
    end;
    if f = 1 then n := n + 1
  end;
  WriteLn('primes ' + IntToStr(n));
  i := 27; n := 0;
  repeat
    if i mod 2 = 0 then i := i div 2 else i := 3 * i + 1;
    n := n + 1
  until i = 1;
  WriteLn('collatz ' + IntToStr(n));
  s := '';
  for i := 1 to 15 do begin
    if i mod 15 = 0 then s := s + 'FizzBuzz' else if i mod 3 = 0 then s := s + 'Fizz'
    else if i mod 5 = 0 then s := s + 'Buzz' else s := s + IntToStr(i);
    s := s + ' '
  end;
  WriteLn(s);
  for i := 0 to 7 do
    case i of
      0: WriteLn('zero');
      1, 2: WriteLn('small');
      3..5: begin WriteLn('mid'); WriteLn('dle') end;
    else
      WriteLn('big ' + IntToStr(i))
    end;
  i := 0;
  while i < 10 do begin
    i := i + 1;
    if i mod 2 = 0 then continue;
    if i > 7 then break;
    WriteLn('odd ' + IntToStr(i))
  end;
  for i := 1 to 3 do begin
    for j := 1 to 3 do begin if j = i then break; WriteLn(IntToStr(i) + IntToStr(j)) end
  end;
  WriteLn('last');
  exit;
  WriteLn('never');
end.
)",
};

TEST(MacroToolTest, AgreesWithFreePascal) {
  if (!test::HaveProgram("fpc")) GTEST_SKIP() << "fpc (Debian's fp-compiler) is not installed";
  test::TTempDir dir;
  int n = 0;
  for (const char* program : kDifferentialPrograms) {
    const std::string name = "p" + std::to_string(n++);
    const std::string source = dir.Write(name + ".pas", program);
    const auto compiled = RunChild({"fpc", "-Mdelphi", "-FaSysUtils", "-v0", "-FE" + dir.Path(), source});
    ASSERT_EQ(compiled.exitCode, 0) << compiled.out << compiled.err;
    const auto expected = RunChild({dir.File(name)});
    ASSERT_EQ(expected.exitCode, 0);
    const auto actual = Tool({source});
    EXPECT_EQ(actual.exitCode, 0) << actual.err;
    EXPECT_EQ(actual.out, expected.out) << "program " << name;
  }
}

}  // namespace
}  // namespace nuv
