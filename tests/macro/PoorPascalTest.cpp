// The interpreter: statement forms, expression rules, error texts with their
// tokens, lazy errors, run flags, arithmetic faults and the limits.
#include <gtest/gtest.h>

#include <climits>

#include "macro/MacroTestSupport.h"

namespace nuv {
namespace {

using test::TMacroFixture;

class PoorPascalTest : public ::testing::Test, public TMacroFixture {};

TEST_F(PoorPascalTest, VarSectionBodyEndsBeforeTheLastEnd) {
  EXPECT_EQ(RunMacro("VAR i: Integer; BEGIN FOR i := 1 TO 3 DO x := x + i END."), "");
  EXPECT_EQ(pp.GetIntVar("x"), 6);
  EXPECT_EQ(pp.GetIntVar("i"), 3);
  // Without a VAR section the period after END is a statement of its own.
  pp.SetIntVar("x", 0);
  EXPECT_EQ(RunMacro("BEGIN x := 1 END."), "文法エラーです[.]");
  EXPECT_EQ(pp.GetIntVar("x"), 1);
  // Several names, all three types, and initial values.
  EXPECT_EQ(RunMacro("var a, b: integer; r: real; s, t: string;\nbegin Out(IntToStr(a) + FloatToStr(r) + '[' + s + ']') end."),
            "");
  EXPECT_EQ(out, "00[]|");
  EXPECT_EQ(pp.GetVarType("t"), 2);
}

TEST_F(PoorPascalTest, ForLoops) {
  struct Case {
    const char* program;
    int x;
  } cases[] = {
      {"var i: integer; begin for i := 3 to 1 do x := x + 1 end.", 0},
      {"var i: integer; begin for i := 3 downto 1 do x := x * 10 + i end.", 321},
      {"var i: integer; begin for i := 1 to 5 do begin if i = 3 then continue; x := x * 10 + i end end.", 1245},
      {"var i: integer; begin for i := 1 to 5 do begin if i = 3 then break; x := x + i end end.", 3},
      // The limit is evaluated once; the body's changes to the variable do not count.
      {"var i, n: integer; begin n := 3; for i := 1 to n do begin n := 10; x := x + 1 end end.", 3},
      {"var i: integer; begin for i := 1 to 4 do i := 100; x := i end.", 100},
      // The whole integer range neither overflows nor loops forever.
      {"var i: integer; begin for i := 2147483646 to 2147483647 do x := x + 1 end.", 2},
      {"var i: integer; begin for i := -2147483647 downto -2147483648 do x := x + 1 end.", 2},
  };
  for (const auto& c : cases) {
    pp.SetIntVar("x", 0);
    EXPECT_EQ(RunMacro(c.program), "") << c.program;
    EXPECT_EQ(pp.GetIntVar("x"), c.x) << c.program;
  }
  EXPECT_EQ(RunMacro("var i: integer; begin for i := 5 to 7 do x := i end."), "");
  EXPECT_EQ(pp.GetIntVar("i"), 7);
}

TEST_F(PoorPascalTest, IfElseBindsToTheInnerIf) {
  const char* program = "var a, b: integer; begin a := %d; b := %d; IF a = 1 THEN IF b = 1 THEN x := 1 ELSE x := 2 end.";
  const int expected[2][2] = {{0, 0}, {2, 1}};
  for (int a = 0; a < 2; ++a) {
    for (int b = 0; b < 2; ++b) {
      char text[200];
      std::snprintf(text, sizeof text, program, a, b);
      pp.SetIntVar("x", 0);
      EXPECT_EQ(RunMacro(text), "");
      EXPECT_EQ(pp.GetIntVar("x"), expected[a][b]) << a << b;
    }
  }
  EXPECT_EQ(RunMacro("if 0 then x := 1 else if 1 then x := 2 else x := 3"), "");
  EXPECT_EQ(pp.GetIntVar("x"), 2);
  EXPECT_EQ(RunMacro("if 1 then begin x := 5; x := x + 1 end else begin x := 9 end"), "");
  EXPECT_EQ(pp.GetIntVar("x"), 6);
}

TEST_F(PoorPascalTest, CaseLabelsRangesAndElse) {
  for (int n = 0; n <= 6; ++n) {
    pp.SetIntVar("x", n);
    EXPECT_EQ(RunMacro("CASE x OF 1, 3..5: Out('hit'); 6: begin Out('six'); Out('!') end ELSE Out('else') END"), "");
  }
  EXPECT_EQ(out, "else|hit|else|hit|hit|hit|six|!|");
  // Every matching branch runs; ELSE only when none matched.
  out.clear();
  pp.SetIntVar("x", 2);
  EXPECT_EQ(RunMacro("case x of 1..3: Out('a'); 2: Out('b'); (1 + 1): Out('c') else Out('d') end; Out('after')"), "");
  EXPECT_EQ(out, "a|b|c|after|");
  // A range uses the selector's bounds inclusively, labels may be expressions.
  out.clear();
  EXPECT_EQ(RunMacro("case 10 of 2 * 5 .. 20: Out('in'); end"), "");
  EXPECT_EQ(out, "in|");
}

TEST_F(PoorPascalTest, ComparisonsStoreTruthAsMinusOne) {
  pp.AddStrVar("s", "", false);
  EXPECT_EQ(RunMacro("x := 'abc' = 'abc'; s := 'abc' = 'abc'"), "");
  EXPECT_EQ(pp.GetIntVar("x"), -1);
  EXPECT_EQ(pp.GetStrVar("s"), "-1");
  EXPECT_EQ(RunMacro("x := not 0; s := 'a' > 'b'"), "");
  EXPECT_EQ(pp.GetIntVar("x"), -1);
  EXPECT_EQ(pp.GetStrVar("s"), "0");
}

TEST_F(PoorPascalTest, BreakInsideWhileInsideForLeavesOnlyTheWhile) {
  EXPECT_EQ(RunMacro("var i, j: integer; begin for i := 1 to 3 do begin j := 0; "
                "while 1 do begin j := j + 1; if j = 2 then break; x := x + 1 end; x := x + 10 end end."),
            "");
  EXPECT_EQ(pp.GetIntVar("x"), 33);
}

TEST_F(PoorPascalTest, ExitEndsTheProgramAndFlagsEndLists) {
  EXPECT_EQ(RunMacro("var i: integer; begin for i := 1 to 5 do begin if i = 3 then exit; x := x + 1 end; x := 100 end."), "");
  EXPECT_EQ(pp.GetIntVar("x"), 2);
  // BREAK outside a loop ends the enclosing lists up to the program.
  pp.SetIntVar("x", 0);
  EXPECT_EQ(RunMacro("begin x := 1; break; x := 2 end; x := 3"), "");
  EXPECT_EQ(pp.GetIntVar("x"), 1);
  // REPEAT runs its body before the test; CONTINUE goes to the test.
  pp.SetIntVar("x", 0);
  EXPECT_EQ(RunMacro("repeat x := x + 1; if x < 5 then continue; Out(IntToStr(x)) until x >= 3"), "");
  EXPECT_EQ(out, "");
  EXPECT_EQ(pp.GetIntVar("x"), 3);
  EXPECT_EQ(RunMacro("repeat x := x + 1 until 1"), "");
  EXPECT_EQ(pp.GetIntVar("x"), 4);
}

TEST_F(PoorPascalTest, IntegerExpressions) {
  pp.AddStrVar("s", "12", false);
  pp.AddRealVar("r", 2.75, false);
  struct Case {
    const char* text;
    int32_t value;
  } cases[] = {
      {"1 + 2 * 3", 7},
      {"(1 + 2) * 3", 9},
      {"7 div 2", 3},
      {"-7 div 2", -3},
      {"-7 mod 2", -1},
      {"7 mod -2", 1},
      {"$FF and 15", 15},
      {"5 or 2 xor 1", 6},
      {"not 0", -1},
      {"not 1 + 1", -1},
      {"1 shl 4", 16},
      {"1 shl 32", 1},
      {"1 shl 33", 2},
      {"(-8) shr 1", 2147483644},
      // A unary minus takes a whole term.
      {"-8 shr 1", -4},
      {"3 > 2", -1},
      {"3 <= 2", 0},
      {"1 = 1 = -1", -1},
      {"'abc' < 'abd'", -1},
      {"'12' + '3'", 123},
      {"s", 12},
      {"'x'", -1},
      {"2.9", 2},
      {"r * 2", 5},
      {"(2.9) + 1", 3},
      {"('7') * 2", 14},
      {"-2147483647 - 1", INT32_MIN},
      {"2147483647 + 1", INT32_MIN},
      {"-2147483648", INT32_MIN},
      {"$FFFFFFFF", -1},
      {"+ - 3", -3},
      {"Length('abc') * 2", 6},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ErrorOf([&] { EXPECT_EQ(pp.IEExecute(c.text), c.value) << c.text; }), "") << c.text;
  }
}

TEST_F(PoorPascalTest, RealAndStringExpressions) {
  struct RealCase {
    const char* text;
    double value;
  } reals[] = {{"7 / 2", 3.5}, {"1 + 2.5", 3.5}, {"-1.5 * 2", -3}, {"('2.5') * 2", 5}, {"(7 div 2) * 1.5", 4.5},
               {"((1.5))", 1}, {"2 > 1", -1}, {"1e3 + 0.5", 1000.5}};
  for (const auto& c : reals) EXPECT_EQ(pp.REExecute(c.text), c.value) << c.text;
  struct StrCase {
    const char* text;
    const char* value;
  } strs[] = {{"'a' + 'b'", "ab"}, {"'a'#13#10", "a\r\n"}, {"'it''s' + #$41", "it'sA"}, {"'a' = 'a'", "-1"},
              {"'a' < 'B'", "0"}, {"('x' + 'y') + 'z'", "xyz"}, {"#300 + 'q'", "q"}, {"''", ""},
              {"Copy('abcdef', Length(Copy('xy', 1, 1)), 2)", "ab"}};
  for (const auto& c : strs) EXPECT_EQ(pp.SEExecute(c.text), c.value) << c.text;
}

TEST_F(PoorPascalTest, ExpressionErrorsNameTheirToken) {
  pp.AddStrVar("s", "", false);
  pp.AddRealVar("r", 0, false);
  struct Case {
    char type;  // I, R or S
    const char* text;
    const char* error;
  } cases[] = {
      {'I', "1 +", "文法エラーです[]"},
      {'I', "(1", "右括弧がありません"},
      {'I', "1)", "文法エラーです[)]"},
      {'I', "1 2", "文法エラーです[2]"},
      {'I', "y", "変数または関数は定義されていません[y]"},
      {'I', "1 + s", "変数の型が違います[s]"},
      {'I', "1 + r", "変数の型が違います[r]"},
      {'I', "1 + Copy('a', 1, 1)", "関数の戻り値の型が違います[Copy]"},
      {'I', "-2.9", "文法エラーです[2.9]"},
      {'I', "1 and not 0", "変数または関数は定義されていません[not]"},
      {'I', "99999999999", "文法エラーです[99999999999]"},
      {'I', "5 div 0", "整数を 0 で除算しました"},
      {'I', "5 mod 0", "整数を 0 で除算しました"},
      {'I', "Trunc(1e300)", "不正な浮動小数点演算です"},
      {'I', "Sleep", "変数または関数は定義されていません[Sleep]"},
      {'I', "Copy('a')", "文法エラーです[]"},
      {'I', "Length('a', 'b')", "文法エラーです[,]"},
      {'I', "Length 'a'", "文法エラーです['a']"},
      {'R', "(1 + 2.5)", "文法エラーです[2.5]"},
      {'R', "1 / 0", "実数を 0 で除算しました"},
      {'R', "0 / 0", "不正な浮動小数点演算です"},
      {'R', "1e308 * 10", "浮動小数点数のオーバーフローです"},
      {'R', "s", "変数の型が違います[s]"},
      {'R', "'1'", "文法エラーです['1']"},
      {'S', "1", "文法エラーです[1]"},
      {'S', "x", "変数の型が違います[x]"},
      {'S', "'a' + Length('b')", "関数の戻り値の型が違います[Length]"},
      {'S', "('a'", "右括弧がありません"},
  };
  for (const auto& c : cases) {
    const std::string error = ErrorOf([&] {
      if (c.type == 'I') pp.IEExecute(c.text);
      else if (c.type == 'R') pp.REExecute(c.text);
      else pp.SEExecute(c.text);
    });
    EXPECT_EQ(error, c.error) << c.text;
  }
}

TEST_F(PoorPascalTest, StatementErrorsNameTheirTokenOrWord) {
  struct Case {
    const char* program;
    const char* error;
  } cases[] = {
      {"x := 1 +", "文法エラーです[]"},
      {"1 := 2", "文法エラーです[1]"},
      {"True := 1", "読取専用オブジェクトには代入できません[True]"},
      {"x = 1", "文法エラーです[=]"},
      {"x", "文法エラーです[]"},
      {"foo", "文法エラーです[foo]"},
      {"if x then", "文法エラーです[if]"},
      {"if x x := 1", "文法エラーです[if]"},
      {"if 1 then begin x := 1", "文法エラーです[if]"},
      {"if 1 then x := 1 else", "文法エラーです[if]"},
      {"while 1", "文法エラーです[while]"},
      {"while 1 do", "文法エラーです[while]"},
      {"for y := 1 to 2 do x := 1", "文法エラーです[for]"},
      {"for True := 1 to 2 do x := 1", "文法エラーです[for]"},
      {"for x 1 to 2 do x := 1", "文法エラーです[for]"},
      {"for x := 1 to 2 x := 1", "文法エラーです[for]"},
      {"for x := 1 to 2 do", "文法エラーです[for]"},
      {"case x 1: x := 2 end", "ofがありません[case]"},
      {"case x of 1 x := 2 end", "式が不正です[case]"},
      {"case x of 1: x := 2", "endがありません[case]"},
      {"case x of 1: x := 2 else x := 3", "endがありません[case]"},
      {"begin x := 1", "endがありません[begin]"},
      {"repeat x := 1", "文法エラーです[repeat]"},
      {"var a: integer; a: integer; begin end.", "変数/定数名の重複定義[a]"},
      {"var x: integer; begin end.", "変数/定数名の重複定義[x]"},
      {"var a integer; begin end.", "文法エラーです[integer]"},
      {"var a: text; begin end.", "文法エラーです[text]"},
      {"var a: integer begin end.", "文法エラーです[begin]"},
      {"var 1: integer; begin end.", "文法エラーです[1]"},
      {"var a: integer;", "endがありません[Block]"},
      {"Copy", "文法エラーです[]"},
      {"Out('a'", "文法エラーです[]"},
      {"Out('a', 'b')", "文法エラーです[,]"},
      {"Out(1)", "文法エラーです[1]"},
      {"x := 1; x := x + y; x := 5", "変数または関数は定義されていません[y]"},
  };
  for (const auto& c : cases) {
    pp.SetIntVar("x", 0);
    EXPECT_EQ(RunMacro(c.program), c.error) << c.program;
  }
  // Statements before the failing one keep their effects.
  EXPECT_EQ(pp.GetIntVar("x"), 1);
}

TEST_F(PoorPascalTest, ErrorsStayLazy) {
  // A statement that never runs never raises, even when it is malformed.
  EXPECT_EQ(RunMacro("if 0 then x := 1 +; while 0 do foo; case 1 of 2: x := ); end; x := 2"), "");
  EXPECT_EQ(pp.GetIntVar("x"), 2);
  // Arguments before a fault are evaluated; so are the statements before it.
  EXPECT_EQ(RunMacro("Out('one'); Out(Copy('abc', 1, 1) + )"), "文法エラーです[]");
  EXPECT_EQ(out, "one|");
  // A fault in a later CASE branch comes after the earlier branches ran.
  out.clear();
  EXPECT_EQ(RunMacro("case 1 of 1: Out('a'); 2 Out('b') end"), "式が不正です[case]");
  EXPECT_EQ(out, "a|");
}

TEST_F(PoorPascalTest, StatementsFollowOneAnotherInOneText) {
  EXPECT_EQ(RunMacro("begin x := 1 end x := x + 1; if 1 then begin x := x * 10 end x := x + 5"), "");
  EXPECT_EQ(pp.GetIntVar("x"), 25);
  // Procedure calls too, and lone semicolons are skipped.
  EXPECT_EQ(RunMacro(";; Out('a') Out('b');;"), "");
  EXPECT_EQ(out, "a|b|");
}

TEST_F(PoorPascalTest, SourceIsNormalisedLineByLine) {
  // Comments go, a string cannot span lines, "1..5" becomes "1 .. 5".
  EXPECT_EQ(RunMacro("// heading\r\nvar n: integer; // note\r\n\r\nbegin\r\n  n := 4;\r\n"
                "  case n of 1..5: Out('in' + 'side'); end; // done\r\nend."),
            "");
  EXPECT_EQ(out, "inside|");
}

TEST_F(PoorPascalTest, NestedCallsKeepTheirOwnArguments) {
  pp.AddStrVar("s", "", false);
  EXPECT_EQ(RunMacro("s := Copy('abcdef', Length(Copy('xy', 1, 1)), 2) + Copy(Copy('123456', 2, 4), Pos('4', '1234'), 9)"), "");
  EXPECT_EQ(pp.GetStrVar("s"), "ab5");
}

TEST_F(PoorPascalTest, InPlaceAppendKeepsAssignmentSemantics) {
  pp.AddStrVar("s", "ab", false);
  EXPECT_EQ(RunMacro("s := s + 'c' + IntToStr(7); s := s + s; s := s + Copy(s, 1, 1)"), "");
  EXPECT_EQ(pp.GetStrVar("s"), "abc7abc7a");
  // A part that fails leaves the variable as it was.
  EXPECT_EQ(RunMacro("s := s + 'x' + Copy(1)"), "文法エラーです[1]");
  EXPECT_EQ(pp.GetStrVar("s"), "abc7abc7a");
}

TEST_F(PoorPascalTest, NestingIsLimited) {
  const int deep = 1000;
  auto repeat = [](const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
  };
  const std::string programs[] = {
      "x := " + repeat("(", deep) + "1" + repeat(")", deep),
      "x := " + repeat("- ", deep) + "1",
      "x := " + repeat("Length(IntToStr(", deep) + "1" + repeat("))", deep),
      repeat("begin ", deep) + "x := 1" + repeat(" end", deep),
      repeat("if 1 then ", deep) + "x := 1",
      repeat("while 1 do ", deep) + "x := 1",
      repeat("case 1 of 1: ", deep) + "x := 1" + repeat(" end", deep),
      repeat("repeat ", deep) + "x := 1" + repeat(" until 1", deep),
  };
  for (const std::string& program : programs) {
    const std::string error = RunMacro(program);
    EXPECT_EQ(error.rfind("文法エラーです[", 0), 0u) << program.substr(0, 40) << ": " << error;
  }
  // Within the limit the same forms work.
  EXPECT_EQ(RunMacro("x := " + repeat("(", 40) + "1" + repeat(")", 40)), "");
  EXPECT_EQ(RunMacro(repeat("begin ", 40) + "x := 2" + repeat(" end", 40)), "");
  EXPECT_EQ(pp.GetIntVar("x"), 2);
}

TEST_F(PoorPascalTest, LongOperatorChainsDoNotRecurse) {
  std::string program = "x := 0";
  for (int i = 0; i < 100000; ++i) program += " + 1";
  EXPECT_EQ(RunMacro(program), "");
  EXPECT_EQ(pp.GetIntVar("x"), 100000);
}

TEST_F(PoorPascalTest, StringGrowthAndStepsAreCapped) {
  TPoorPascalLimits limits;
  limits.maxStringLength = 1000;
  limits.maxSteps = 5000;
  pp.SetLimits(limits);
  test::TCountingLoop loop;  // waits take no time
  TPoorPascalPlatform platform;
  platform.messageLoop = &loop;
  pp.SetPlatform(platform);
  pp.AddStrVar("s", "x", false);
  EXPECT_EQ(RunMacro("while 1 do s := s + s"), "文字列が長すぎます");
  EXPECT_EQ(pp.GetStrVar("s").size(), 512u);
  EXPECT_EQ(RunMacro("s := Insert(s, s, 1)"), "文字列が長すぎます");
  EXPECT_EQ(RunMacro("while 1 do x := x + 1"), "実行を中断しました");
  EXPECT_EQ(RunMacro("var i: integer; begin for i := -2147483648 to 2147483647 do begin end end."), "実行を中断しました");
  EXPECT_EQ(RunMacro("Sleep(1000000)"), "実行を中断しました");
}

TEST_F(PoorPascalTest, AbortTakesEffectAtTheNextCheck) {
  test::TCountingLoop loop;
  TPoorPascalPlatform platform;
  platform.messageLoop = &loop;
  pp.SetPlatform(platform);
  TPoorPascalLimits limits;
  limits.pumpIntervalMs = 0;
  pp.SetLimits(limits);
  loop.onPump = [this](int n) {
    EXPECT_TRUE(pp.IsRunning());
    if (n == 50) pp.Abort();
  };
  EXPECT_EQ(RunMacro("while 1 do begin x := x + 1 end"), "実行を中断しました");
  EXPECT_FALSE(pp.IsRunning());
  EXPECT_GE(pp.GetIntVar("x"), 10);
  // Abort from a host routine ends the run after it returns.
  pp.DeclarePrototype().push_back("procedure Stop;");
  loop.onPump = nullptr;
  auto previous = pp.Events().ProcParam;
  pp.Events().ProcParam = [&](const std::string& name, int index, const TArgumentList& a, int& errCd) {
    if (name == "STOP") pp.Abort();
    else previous(name, index, a, errCd);
  };
  pp.SetIntVar("x", 0);
  EXPECT_EQ(RunMacro("x := 1; Stop; x := 2"), "実行を中断しました");
  EXPECT_EQ(pp.GetIntVar("x"), 1);
  // A new run starts clear; Abort outside a run does nothing.
  pp.Abort();
  EXPECT_EQ(RunMacro("x := 3"), "");
}

TEST_F(PoorPascalTest, PauseWaitsUntilContinueOrAbort) {
  test::TCountingLoop loop;
  TPoorPascalPlatform platform;
  platform.messageLoop = &loop;
  pp.SetPlatform(platform);
  // Without a pause handler Pause returns at once.
  EXPECT_EQ(RunMacro("Pause; x := 1"), "");
  EXPECT_EQ(pp.GetIntVar("x"), 1);
  // The handler returns; the message loop later brings Continue.
  pp.Events().PauseProc = [this] { EXPECT_TRUE(pp.IsPaused()); };
  loop.onPump = [this](int n) {
    if (n >= 3 && pp.IsPaused()) pp.Continue();
  };
  EXPECT_EQ(RunMacro("Pause; x := 2"), "");
  EXPECT_EQ(pp.GetIntVar("x"), 2);
  EXPECT_GT(loop.waited, 0);
  pp.Events().PauseProc = [this] { pp.Abort(); };
  EXPECT_EQ(RunMacro("Pause; x := 3"), "実行を中断しました");
  EXPECT_EQ(pp.GetIntVar("x"), 2);
}

TEST_F(PoorPascalTest, SleepWaitsInSlicesAndNeverNegative) {
  test::TCountingLoop loop;
  TPoorPascalPlatform platform;
  platform.messageLoop = &loop;
  pp.SetPlatform(platform);
  EXPECT_EQ(RunMacro("Sleep(-5); Sleep(0)"), "");
  EXPECT_EQ(loop.waited, 0);
  // The counting loop waits no real time, so Sleep slices until its deadline.
  EXPECT_EQ(RunMacro("Sleep(20)"), "");
  EXPECT_GT(loop.pumps, 0);
}

TEST_F(PoorPascalTest, HostChangesToTheTablesDuringARun) {
  pp.DeclarePrototype().push_back("function Touch(N:integer): integer;");
  pp.Events().IntFuncParam = [this](const std::string&, int, const TArgumentList& a, int&, int32_t& result) {
    const int n = TPoorPascal::GetValue(a, 0).IntValue;
    if (n == 1) pp.AddIntVar("late", 41, false);
    if (n == 2) pp.DeleteVar("late");
    result = n;
  };
  EXPECT_EQ(RunMacro("x := Touch(1); x := late + 1"), "");
  EXPECT_EQ(pp.GetIntVar("x"), 42);
  // Deleted while a compiled statement still names it: the statement ends
  // reading the old record, the next one no longer finds the name.
  EXPECT_EQ(RunMacro("x := Touch(2) + late; x := late"), "変数または関数は定義されていません[late]");
  EXPECT_EQ(pp.GetIntVar("x"), 43);
}

TEST_F(PoorPascalTest, HostEntriesAndReentrance) {
  // The expression entries work outside a run and from inside an event.
  EXPECT_EQ(pp.IEExecute("x + 2"), 2);
  pp.BSExecute("x := 7; if x > 5 then x := x * 2");
  EXPECT_EQ(pp.GetIntVar("x"), 14);
  pp.DeclarePrototype().push_back("function Nested: integer;");
  pp.Events().IntFuncParam = [this](const std::string&, int, const TArgumentList&, int&, int32_t& result) {
    pp.Execute();  // ignored while busy
    pp.BSExecute("x := x + 1");
    result = pp.IEExecute("x * 100");
  };
  pp.SetIntVar("x", 0);
  EXPECT_EQ(RunMacro("x := Nested + x"), "");
  EXPECT_EQ(pp.GetIntVar("x"), 101);
  EXPECT_EQ(TPoorPascal::GetVersion(), 124);
}

}  // namespace
}  // namespace nuv
