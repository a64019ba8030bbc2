// Variables, objects, routine declarations, host events, argument views and
// the built-in routines, with real child processes for Exec.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <climits>

#include "macro/MacroTestSupport.h"
#include "macro/PosixProcesses.h"
#include "support/ChildProcess.h"

namespace nuv {
namespace {

using test::Sj;
using test::TMacroFixture;

class PPVariablesTest : public ::testing::Test, public TMacroFixture {};

TEST_F(PPVariablesTest, HostVariables) {
  EXPECT_EQ(ErrorOf([&] { pp.AddIntVar("x", 1, false); }), "変数/定数名の重複定義[x]");
  EXPECT_EQ(ErrorOf([&] { pp.AddStrVar("X", "", false); }), "変数/定数名の重複定義[X]");
  EXPECT_EQ(pp.GetVarType("True"), 0);
  EXPECT_EQ(pp.GetIntVar("TRUE"), -1);
  EXPECT_EQ(pp.GetIntVar("false"), 0);
  EXPECT_EQ(pp.GetVarType("Nil"), 2);
  EXPECT_EQ(pp.GetVarType("nothing"), -1);

  pp.AddRealVar("r", 1.5, false);
  pp.AddStrVar("ro", "fixed", true);
  EXPECT_TRUE(pp.SetRealVar("R", 2.5));
  EXPECT_EQ(pp.GetRealVar("r"), 2.5);
  EXPECT_FALSE(pp.SetIntVar("r", 1));  // wrong type: nothing changes
  EXPECT_EQ(pp.GetIntVar("r"), 0);
  EXPECT_TRUE(pp.SetStrVar("ro", "host may"));  // read-only binds programs only
  EXPECT_EQ(RunMacro("ro := 'no'"), "読取専用オブジェクトには代入できません[ro]");
  EXPECT_EQ(pp.GetStrVar("ro"), "host may");

  // Script variables: readable after the run, not settable, gone at the next run.
  EXPECT_EQ(RunMacro("var n: integer; begin n := 5 end."), "");
  EXPECT_EQ(pp.GetIntVar("n"), 5);
  EXPECT_FALSE(pp.SetIntVar("n", 6));
  EXPECT_EQ(RunMacro("x := 1"), "");
  EXPECT_EQ(pp.GetVarType("n"), -1);

  pp.DeleteVar("R");
  pp.DeleteVar("missing");
  EXPECT_EQ(pp.GetVarType("r"), -1);
  pp.AddIntVar("r", 3, false);  // the name is free again
  EXPECT_EQ(pp.GetIntVar("r"), 3);
}

TEST_F(PPVariablesTest, Declarations) {
  struct Case {
    const char* declaration;
    const char* error;
  } cases[] = {
      {"procedure P(a:integer; a:string);", "仮引数名の重複定義[A]"},
      {"procedure P(a, a:integer);", "仮引数名の重複定義[A]"},
      {"function Copy(S:String):String;", "手続き/関数の重複宣言[COPY]"},
      {"procedure out;", "手続き/関数の重複宣言[OUT]"},
      {"proc P;", "定義エラーです"},
      {"procedure P", "定義エラーです"},
      {"procedure 1;", "定義エラーです"},
      {"procedure P(a:integer;", "定義エラーです"},
      {"function F(a:integer);", "定義エラーです"},
      {"function F: text;", "定義エラーです"},
      {"procedure P(a integer);", "文法エラーです[INTEGER]"},
      {"procedure P(a:text);", "文法エラーです[TEXT]"},
      {"procedure P(:integer);", "文法エラーです[:]"},
      {"procedure P(a:integer b:real);", "文法エラーです[B]"},
  };
  EXPECT_EQ(RunMacro("x := 0"), "");  // declares Out
  for (const auto& c : cases) EXPECT_EQ(ErrorOf([&] { pp.AddFunction(c.declaration, false); }), c.error) << c.declaration;

  // Index forms, and a function without parameters and index.
  std::vector<std::pair<std::string, int>> calls;
  pp.Events().IntFuncParam = [&](const std::string& name, int index, const TArgumentList& a, int&, int32_t& r) {
    calls.emplace_back(name, index);
    r = static_cast<int32_t>(a.size());
  };
  pp.DeclarePrototype() = {"  function Plain: integer;  ", "", "function Hex(A,B:integer;C:string): integer; index $10;",
                           "function Dec: integer; INDEX 77;", "function Bad: integer; index x;"};
  EXPECT_EQ(RunMacro("x := Plain + Hex(1, 2, 'c') * 10 + Dec + Bad"), "");
  EXPECT_EQ(pp.GetIntVar("x"), 30);
  const std::vector<std::pair<std::string, int>> expected = {{"PLAIN", 0}, {"HEX", 16}, {"DEC", 77}, {"BAD", 0}};
  EXPECT_EQ(calls, expected);
  // DeclarePrototype is read again at every run; Out is gone now.
  EXPECT_EQ(RunMacro("Out('a')"), "文法エラーです[Out]");
}

TEST_F(PPVariablesTest, ArgumentViews) {
  pp.DeclarePrototype().push_back("function View(I:integer; R:real; S,T:string): integer;");
  TArgumentList seen;
  pp.Events().IntFuncParam = [&](const std::string&, int, const TArgumentList& a, int&, int32_t&) { seen = a; };
  EXPECT_EQ(RunMacro("x := View(42, 2.75, '12', 'abc')"), "");
  ASSERT_EQ(seen.size(), 4u);
  auto v = [&](int i) { return TPoorPascal::GetValue(seen, i); };
  EXPECT_EQ(v(0).IntValue, 42);
  EXPECT_EQ(v(0).RealValue, 42.0);
  EXPECT_EQ(v(0).StrValue, "42");
  EXPECT_EQ(v(1).IntValue, 2);
  EXPECT_EQ(v(1).RealValue, 2.75);
  EXPECT_EQ(v(1).StrValue, "2.75");
  EXPECT_EQ(v(2).IntValue, 12);
  EXPECT_EQ(v(2).RealValue, 12.0);
  EXPECT_EQ(v(3).IntValue, 0);
  EXPECT_EQ(v(3).RealValue, 0.0);
  EXPECT_EQ(v(3).StrValue, "abc");
  EXPECT_EQ(seen[1].Name, "R");
  EXPECT_EQ(seen[1].Type, TPPType::Real);
  EXPECT_EQ(TPoorPascal::ArgumentByName(seen, "s").StrValue, "12");
  EXPECT_EQ(TPoorPascal::ArgumentByName(seen, "zz").StrValue, "");
  EXPECT_EQ(TPoorPascal::Arguments(seen, 9).IntValue, 0);
}

TEST_F(PPVariablesTest, HostErrorCodesEndTheRunThroughErrorProc) {
  pp.DeclarePrototype().push_back("function Fail(Code:integer): string;");
  pp.Events().StrFuncParam = [](const std::string&, int, const TArgumentList& a, int& errCd, std::string&) {
    errCd = TPoorPascal::GetValue(a, 0).IntValue;
  };
  // Without ErrorProc the run ends with an empty message.
  EXPECT_EQ(ErrorOf([&] {
              pp.SetSourceText("Out(Fail(0)); Out(Fail(7)); Out('never')");
              pp.Execute();
              ADD_FAILURE() << "the run should have failed";
            }),
            "");
  EXPECT_EQ(out, "|");
  std::vector<int> codes;
  pp.Events().ErrorProc = [&](int code, std::string& message) {
    codes.push_back(code);
    message = Sj("失敗 %s %d");
  };
  out.clear();
  EXPECT_EQ(RunMacro("Out(Fail(0)); Out(Fail(-4)); Out('never')"), "失敗 %s %d");
  EXPECT_EQ(out, "|");
  EXPECT_EQ(codes, std::vector<int>{-4});
}

TEST_F(PPVariablesTest, ObjectsGoThroughTheirEvents) {
  pp.AddIntObj("Counter", 10, false, 7);
  pp.AddStrObj("Name", "stored", false, 8);
  pp.AddRealObj("Level", 0.5, true, 9);
  std::vector<std::string> log;
  int getError = 0;
  pp.Events().IntObjParam = [&](const std::string& name, int index, uint8_t mode, int& errCd, int32_t& value) {
    log.push_back(name + ":" + std::to_string(index) + ":" + std::to_string(mode) + ":" + std::to_string(value));
    if (mode == 0) {
      value += 100;
      errCd = getError;
    } else {
      errCd = 5;  // ignored in set mode
    }
  };
  pp.Events().StrObjParam = [&](const std::string&, int, uint8_t mode, int&, std::string& value) {
    if (mode == 0) value = "live " + value;
  };
  EXPECT_EQ(RunMacro("x := Counter; Counter := 3; x := x + Counter"), "");
  // Reads see the event's value but do not store it; a write stores, then tells.
  EXPECT_EQ(pp.GetIntVar("x"), 213);
  EXPECT_EQ(pp.GetIntVar("counter"), 3);
  const std::vector<std::string> expected = {"Counter:7:0:10", "Counter:7:1:3", "Counter:7:0:3"};
  EXPECT_EQ(log, expected);
  EXPECT_EQ(RunMacro("Out(Name); Name := 'new'; Out(Name)"), "");
  EXPECT_EQ(out, "live stored|live new|");
  EXPECT_EQ(RunMacro("Level := 1.0"), "読取専用オブジェクトには代入できません[Level]");
  EXPECT_EQ(pp.REExecute("Level * 2"), 1.0);  // no real object event: the stored value
  getError = 3;
  EXPECT_EQ(RunMacro("x := 1; x := Counter"), "");
  EXPECT_EQ(pp.GetIntVar("x"), 1);
}

TEST_F(PPVariablesTest, StringBuiltIns) {
  pp.Define() = {"DEBUG", "Trace"};
  struct Case {
    const char* expression;
    std::string value;
  } cases[] = {
      {"Copy('abcdef', 2, 3)", "bcd"},
      {"Copy('abc', 0, 2)", "ab"},
      {"Copy('abc', 2, 100)", "bc"},
      {"Copy('abc', 4, 1)", ""},
      {"Copy('abc', 1, -1)", ""},
      {"Copy('abc', -2147483648, 2147483647)", "abc"},
      {"Delete('abcdef', 2, 3)", "aef"},
      {"Delete('abc', 0, 1)", "abc"},
      {"Delete('abc', 3, 10)", "ab"},
      {"Insert('XY', 'abc', 2)", "aXYbc"},
      {"Insert('X', 'abc', 0)", "Xabc"},
      {"Insert('X', 'abc', 99)", "abcX"},
      {"IntToStr(-5) + IntToStr(2147483647)", "-52147483647"},
      {"Trim(#9'  a b '#13)", "a b"},
      {"TrimLeft('  a ') + '|'", "a |"},
      {"TrimRight('  a ') + '|'", "  a|"},
      {"FloatToStr(1 / 3)", "0.333333333333333"},
      {"FloatToStr(Frac(-3.75)) + ' ' + FloatToStr(Int(-3.75))", "-0.75 -3"},
      {"FloatToStr(StrToFloat(' 1.5e3 ') + StrToFloat('x'))", "1500"},
      {"IntToStr(StrToInt('$1F') + StrToInt(' 12') + StrToInt('12x') + StrToInt('2147483648'))", "43"},
      {"IntToStr(StrToInt('-2147483648'))", "-2147483648"},
      {"IntToStr(IsDefine('debug')) + IntToStr(IsDefine('TRACE')) + IntToStr(IsDefine('x'))", "-1-10"},
      {"IntToStr(CompareStr('a', 'b')) + IntToStr(CompareStr('b', 'b')) + IntToStr(CompareStr('b', 'a'))", "-101"},
      {"IntToStr(Pos('c', 'abc')) + IntToStr(Pos('', 'abc')) + IntToStr(Pos('x', 'abc'))", "300"},
      {"IntToStr(Trunc(-3.7)) + IntToStr(Round(2.5)) + IntToStr(Round(3.5)) + IntToStr(Round(-2.5))", "-324-2"},
      {"IntToStr(Trunc(1e10))", "1410065408"},
  };
  for (const auto& c : cases) EXPECT_EQ(ErrorOf([&] { EXPECT_EQ(pp.SEExecute(c.expression), c.value) << c.expression; }), "")
      << c.expression;
  // Double-byte text: lengths count bytes; Pos never matches a trail byte.
  pp.AddStrVar("s", Sj("表ソa"), false);
  EXPECT_EQ(pp.IEExecute("Length(s)"), 5);
  EXPECT_EQ(pp.IEExecute("Pos('\\', s)"), 0);
  EXPECT_EQ(pp.IEExecute("Pos('a', s)"), 5);
  pp.SetStrVar("s", Sj("ａｂＣ"));
  EXPECT_EQ(pp.SEExecute("UpperCase(s) + LowerCase(s)"), Sj("ＡＢＣａｂｃ"));
  EXPECT_EQ(ErrorOf([&] { pp.IEExecute("Round(1e300)"); }), "不正な浮動小数点演算です");
}

TEST_F(PPVariablesTest, BuiltInsWithoutAnImplementation) {
  pp.AddFunction("function Mine(A:integer):string;Index $1001;", true);
  pp.AddFunction("function Gone: integer;Index $2FFF;", true);
  pp.AddFunction("procedure Nowhere;Index $0099;", true);
  EXPECT_EQ(ErrorOf([&] { pp.SEExecute("Mine(1)"); }), "未宣言の組み込み関数です[MINE]");
  EXPECT_EQ(ErrorOf([&] { pp.IEExecute("Gone"); }), "未宣言の組み込み関数です[GONE]");
  EXPECT_EQ(RunMacro("Nowhere"), "未宣言の組み込み手続きです[NOWHERE]");
}

TEST_F(PPVariablesTest, DialogBuiltIns) {
  // Without dialogs: the default text, the default button.
  EXPECT_EQ(pp.SEExecute("InputBox('c', 'p', 'dflt')"), "dflt");
  EXPECT_EQ(pp.IEExecute("MessageBox('t', 'c', 4 + 256)"), kIdNo);
  EXPECT_EQ(pp.IEExecute("MessageBox('t', 'c', 3 + 512)"), kIdCancel);

  test::TScriptedDialogs dialogs;
  TPoorPascalPlatform platform;
  platform.dialogs = &dialogs;
  pp.SetPlatform(platform);
  dialogs.answers = {{TInputBoxResult::Ok, "typed"}, {TInputBoxResult::Cancelled, "x"}};
  EXPECT_EQ(pp.SEExecute("InputBox('c', 'p', 'd1') + InputBox('c', 'p', 'd2')"), "typedd2");
  EXPECT_EQ(dialogs.asked, (std::vector<std::string>{"c|p|d1", "c|p|d2"}));
  dialogs.boxResult = kIdRetry;
  EXPECT_EQ(pp.IEExecute("MessageBox('text', 'cap', 5)"), kIdRetry);
  EXPECT_EQ(dialogs.boxes, std::vector<std::string>{"cap|text|5"});
}

TEST(MacroPlatformTest, ButtonsAndCommandLines) {
  EXPECT_EQ(MessageBoxDefaultResult(kMbOk), kIdOk);
  EXPECT_EQ(MessageBoxDefaultResult(kMbYesNoCancel | kMbDefButton3 | kMbIconQuestion), kIdCancel);
  EXPECT_EQ(MessageBoxDefaultResult(kMbOkCancel | kMbDefButton3), kIdOk);  // no third button
  EXPECT_EQ(MessageBoxButtons(kMbAbortRetryIgnore), (std::vector<int>{kIdAbort, kIdRetry, kIdIgnore}));
  struct Case {
    const char* line;
    std::vector<std::string> args;
  } cases[] = {
      {"", {}},
      {"  a  b ", {"a", "b"}},
      {"\"a b\" c", {"a b", "c"}},
      {"x\"y z\"w", {"xy zw"}},
      {"\"say \"\"hi\"\"\"", {"say \"hi\""}},
      {"\"\"", {""}},
      {"a\tb", {"a", "b"}},
  };
  for (const auto& c : cases) EXPECT_EQ(SplitCommandLine(c.line), c.args) << c.line;
}

class PPExecTest : public PPVariablesTest {
 protected:
  PPExecTest() {
    platform.processes = &processes;
    platform.messageLoop = &loop;
    platform.desktop = &desktop;
    pp.SetPlatform(platform);
  }
  class TFakeDesktop : public IDesktopOpen {
   public:
    int Open(const std::string& path, const std::string& params) override {
      opened.push_back(path + "|" + params);
      return kShellOk;
    }
    std::vector<std::string> opened;
  };
  TPosixProcessStarter processes;
  test::TCountingLoop loop;
  TFakeDesktop desktop;
  TPoorPascalPlatform platform;
};

TEST_F(PPExecTest, ExecStartsRealProcessesWithAnArgumentVector) {
  test::TTempDir dir;
  const std::string marker = dir.File("made by child");
  pp.AddStrVar("marker", marker, false);
  // Wait -1: the exit code; the argument with a space arrives whole.
  EXPECT_EQ(pp.IEExecute("Exec('sh', '-c \"exit 3\"', -1)"), 3);
  EXPECT_EQ(pp.IEExecute("Exec('touch', '\"' + marker + '\"', -1)"), 0);
  EXPECT_TRUE(FileExists(marker));
  // The waiting kept the host's messages flowing.
  const int pumpsBefore = loop.pumps;
  EXPECT_EQ(pp.IEExecute("Exec('sleep', '0.2', -1)"), 0);
  EXPECT_GT(loop.pumps, pumpsBefore);
  // Wait 0 returns -1 at once after a successful start; no start gives 0.
  EXPECT_EQ(pp.IEExecute("Exec('true', '', 0)"), -1);
  EXPECT_EQ(pp.IEExecute("Exec('/nonexistent/program', '', -1)"), 0);
  EXPECT_EQ(pp.IEExecute("Exec('', '', -1)"), 0);
  // A shell string is never interpreted: ';' is just an argument of echo.
  EXPECT_EQ(pp.IEExecute("Exec('echo', 'a; touch ' + marker + '2', -1)"), 0);
  EXPECT_FALSE(FileExists(marker + "2"));
}

TEST_F(PPExecTest, AbortEndsTheWaitForAProcess) {
  loop.onPump = [this](int n) {
    if (n == 5) pp.Abort();
  };
  EXPECT_EQ(RunMacro("x := Exec('sleep', '1', -1)"), "実行を中断しました");
}

TEST_F(PPExecTest, ShellGoesThroughTheDesktop) {
  EXPECT_EQ(pp.IEExecute("Shell('https://example.org/a b', '-x')"), kShellOk);
  EXPECT_EQ(desktop.opened, std::vector<std::string>{"https://example.org/a b|-x"});
}

TEST(XdgDesktopOpenTest, ExecutablesStartAndMissingFilesFail) {
  test::TTempDir dir;
  const std::string script = dir.Write("tool.sh", "#!/bin/sh\necho \"$1\" > \"$(dirname \"$0\")/out\"\n");
  ASSERT_EQ(::chmod(script.c_str(), 0755), 0);
  TPosixProcessStarter processes;
  TXdgDesktopOpen desktop(processes);
  EXPECT_EQ(desktop.Open(dir.File("missing.txt"), ""), kShellFileNotFound);
  EXPECT_EQ(desktop.Open(script, "\"one arg\""), kShellOk);
  for (int i = 0; i < 200 && dir.Read("out").empty(); ++i) ::usleep(10000);
  EXPECT_EQ(dir.Read("out"), "one arg\n");
}

}  // namespace
}  // namespace nuv
