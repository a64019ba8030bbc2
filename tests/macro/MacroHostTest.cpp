// The macro host: line, page, selection and clipboard routines and objects,
// the error and pause handlers and the macro command. Every test runs twice:
// with the editor's line access and through its text and selection only.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "macro/MacroHost.h"
#include "macro/MacroTestSupport.h"
#include "editor/HeadlessPageEditor.h"
#include "outline/OutlineTree.h"
#include "support/FakePageEditor.h"
#include "support/OutlineFixtures.h"

namespace nuv {
namespace {

using test::Sj;

enum class TEditorKind { Lines, TextOnly };

class TTestClipboard : public IMacroClipboard {
 public:
  std::string Text() const override { return text; }
  void SetText(const std::string& t) override { text = t; }
  std::string text = "on clipboard";
};

class MacroHostTest : public ::testing::TestWithParam<TEditorKind>, public test::TMacroFixture {
 protected:
  MacroHostTest() {
    test::BuildPlanExample(tree);
    parts.editor = &Editor();
    parts.lines = GetParam() == TEditorKind::Lines ? &plain : nullptr;
    parts.tree = &tree;
    parts.clipboard = &clipboard;
    parts.prompts = &prompts;
    parts.dialogs = &dialogs;
    host = std::make_unique<TMacroHost>(pp, parts);
    host->Register();
    RunMacro("");  // declares the host routines for the direct xEExecute calls
  }
  IPageEditor& Editor() { return GetParam() == TEditorKind::Lines ? static_cast<IPageEditor&>(plain) : fake; }
  std::string Utf8Errors() const {
    std::string all;
    for (const auto& e : prompts.errors) all += Cp932ToUtf8(e) + "\n";
    return all;
  }

  THeadlessPageEditor plain;
  test::TFakePageEditor fake;
  TOutlineTree tree;
  TTestClipboard clipboard;
  test::TScriptedPrompts prompts;
  test::TScriptedDialogs dialogs;
  TMacroHostParts parts;
  std::unique_ptr<TMacroHost> host;
};

INSTANTIATE_TEST_SUITE_P(Editors, MacroHostTest, ::testing::Values(TEditorKind::Lines, TEditorKind::TextOnly));

TEST_P(MacroHostTest, QuotingMacroQuotesEveryLine) {
  Editor().SetText(Sj("first\r\n二行目\r\n\r\n"));
  EXPECT_EQ(RunMacro("var i: integer;\nbegin\n  for i := 0 to LineCount - 1 do SetLineStr(i, '> ' + GetLineStr(i))\nend."),
            "");
  EXPECT_EQ(Editor().Text(), Sj("> first\r\n> 二行目\r\n> \r\n"));
  EXPECT_TRUE(Editor().Modified());
}

TEST_P(MacroHostTest, LineRoutinesAtTheEdges) {
  Editor().SetText("a\r\nb\r\n");
  EXPECT_EQ(pp.IEExecute("InsLineStr(LineCount, 'x')"), 0);
  EXPECT_EQ(Editor().Text(), "a\r\nb\r\n");
  EXPECT_FALSE(Editor().Modified());
  EXPECT_EQ(pp.IEExecute("DelLineStr(2) + SetLineStr(-1, 'q') + DelLineStr(-1)"), 0);
  EXPECT_EQ(pp.SEExecute("'[' + GetLineStr(99) + GetLineStr(-1) + ']'"), "[]");
  EXPECT_EQ(pp.IEExecute("InsLineStr(0, 'z')"), 1);
  EXPECT_EQ(Editor().Text(), "z\r\na\r\nb\r\n");
  EXPECT_EQ(pp.IEExecute("DelLineStr(1)"), 1);
  EXPECT_EQ(Editor().Text(), "z\r\nb\r\n");
  // A replacement with a line break becomes two lines.
  EXPECT_EQ(pp.IEExecute("SetLineStr(0, 'p'#13#10'q') + LineCount"), 4);
  EXPECT_EQ(Editor().Text(), "p\r\nq\r\nb\r\n");
  EXPECT_EQ(pp.SEExecute("GetLineStr(1) + GetLineStr(2)"), "qb");
  Editor().SetText("");
  EXPECT_EQ(pp.IEExecute("LineCount + InsLineStr(0, 'x')"), 0);
  EXPECT_EQ(Editor().Text(), "");
}

TEST_P(MacroHostTest, SelectionObjects) {
  Editor().SetText("abcdef\r\n");
  EXPECT_EQ(RunMacro("SelStart := 0; SelLength := 3; SelText := 'XYZ'"), "");
  EXPECT_EQ(Editor().Text(), "XYZdef\r\n");
  EXPECT_EQ(RunMacro("SelStart := 1; SelLength := 2; Out(SelText); x := SelStart * 10 + SelLength"), "");
  EXPECT_EQ(out, "YZ|");
  EXPECT_EQ(pp.GetIntVar("x"), 12);
  EXPECT_EQ(RunMacro("SelStart := 6; SelLength := 100; x := SelLength"), "");
  EXPECT_EQ(pp.GetIntVar("x"), 2);
}

TEST_P(MacroHostTest, PageRoutines) {
  TTreeNode* lf = tree.AddChild(nullptr, "lf");
  tree.EnsureData(lf).SetBody("a\nb");
  tree.AddChild(nullptr, "bare");
  EXPECT_EQ(pp.IEExecute("NodeCount"), 5);
  EXPECT_EQ(pp.SEExecute("GetNodeTitle(1) + '|' + GetNodeTitle(5) + '|' + GetNodeTitle(-1)"), "Step A||");
  EXPECT_EQ(pp.SEExecute("IntToStr(GetNodeLevel(0)) + IntToStr(GetNodeLevel(1)) + IntToStr(GetNodeLevel(5))"), "01-1");
  EXPECT_EQ(pp.SEExecute("GetNodeText(1, '', '')"), "first\r\nsecond\r\n");
  EXPECT_EQ(pp.SEExecute("GetNodeText(1, '<', '>')"), "<first>\r\n<second>\r\n");
  EXPECT_EQ(pp.SEExecute("GetNodeText(3, '', '')"), "a\r\nb\r\n");
  EXPECT_EQ(pp.SEExecute("GetNodeText(3, '', ';')"), "a;\r\nb;\r\n");
  EXPECT_EQ(pp.SEExecute("'[' + GetNodeText(4, 'x', 'y') + GetNodeText(0, 'x', '') + GetNodeText(9, '', '') + ']'"), "[]");
}

TEST_P(MacroHostTest, ClipboardObject) {
  EXPECT_EQ(RunMacro("Out(Clipboard); Clipboard := 'copied'; Out(Clipboard + '!')"), "");
  EXPECT_EQ(clipboard.text, "copied");
  EXPECT_EQ(out, "on clipboard|copied!|");
}

TEST_P(MacroHostTest, FillStrIsCapped) {
  EXPECT_EQ(pp.SEExecute("FillStr('ab', 3) + '|' + FillStr('x', 0) + FillStr('x', -1) + FillStr('', 9)"), "ababab|");
  TPoorPascalLimits limits;
  limits.maxStringLength = 100;
  pp.SetLimits(limits);
  EXPECT_EQ(RunMacro("Out(FillStr('ab', 50)); Out(FillStr('ab', 51))"), "文字列が長すぎます");
  EXPECT_EQ(Utf8Errors(), "マクロの実行でエラーが発生しました\n\n  エラーコード:-3\n  エラー内容:文字列が長すぎます\n");
}

TEST_P(MacroHostTest, SaveToFileStrWritesLinesAndReportsFailures) {
  test::TTempDir dir;
  pp.AddStrVar("path", dir.File("out.txt"), false);
  EXPECT_EQ(RunMacro("x := SaveToFileStr(path, 'a'#10'b'#13#10'c'); x := x + 1"), "");
  EXPECT_EQ(pp.GetIntVar("x"), 1);
  EXPECT_EQ(dir.Read("out.txt"), "a\r\nb\r\nc\r\n");
  // The file is replaced, not appended to.
  EXPECT_EQ(RunMacro("x := SaveToFileStr(path, 'new')"), "");
  EXPECT_EQ(dir.Read("out.txt"), "new\r\n");

  const std::string missing = dir.File("no/such/folder.txt");
  pp.SetStrVar("path", missing);
  EXPECT_EQ(RunMacro("x := SaveToFileStr(path, 'lost'); x := 9"), "ファイルを書き込めません[" + missing + "]");
  EXPECT_EQ(pp.GetIntVar("x"), 0);
  EXPECT_EQ(Utf8Errors(),
            "マクロの実行でエラーが発生しました\n\n  エラーコード:-2\n  エラー内容:ファイルを書き込めません[" + missing + "]\n");
}

TEST_P(MacroHostTest, UnknownIndexesEndTheRunWithCodeMinusOne) {
  pp.DeclarePrototype().push_back("function Bogus: integer; index 77;");
  pp.AddIntObj("Other", 0, false, 9);
  EXPECT_EQ(ErrorOf([&] {
              pp.SetSourceText("x := 1; x := Bogus; x := 2");
              pp.Execute();
              ADD_FAILURE() << "the run should have failed";
            }),
            "");
  EXPECT_EQ(pp.GetIntVar("x"), 1);
  EXPECT_EQ(Utf8Errors(), "マクロの実行でエラーが発生しました\n\n  エラーコード:-1\n  エラー内容:\n");
  prompts.errors.clear();
  EXPECT_EQ(ErrorOf([&] { pp.IEExecute("Other"); }), "");
  EXPECT_EQ(prompts.errors.size(), 1u);
}

TEST_P(MacroHostTest, PauseDialogShowsVariablesUntilResumed) {
  pp.AddStrVar("s", "abc", false);
  pp.AddRealVar("r", 2.5, false);
  using A = test::TScriptedDialogs::TAnswer;
  dialogs.answers = {A{TInputBoxResult::Ok, "x"},  A{TInputBoxResult::Ok, "nosuch"}, A{TInputBoxResult::Cancelled, ""},
                     A{TInputBoxResult::Ok, "S"},  A{TInputBoxResult::Ok, "r"},      A{TInputBoxResult::Ok, "!"}};
  EXPECT_EQ(RunMacro("x := 5; Pause; x := 6"), "");
  EXPECT_EQ(pp.GetIntVar("x"), 6);
  std::vector<std::string> infos;
  for (const auto& i : prompts.infos) infos.push_back(Cp932ToUtf8(i));
  const std::vector<std::string> expected = {"x=5", "nosuch=取得失敗　　", "=取得失敗　　", "S=abc", "r=2.5"};
  EXPECT_EQ(infos, expected);
  ASSERT_EQ(dialogs.asked.size(), 6u);
  EXPECT_EQ(Cp932ToUtf8(dialogs.asked[0]), "変数の入力|再開：!、強制終了：!exit|");

  dialogs.answers = {A{TInputBoxResult::Ok, "!exit"}};
  EXPECT_EQ(RunMacro("x := 7; Pause; x := 8"), "実行を中断しました");
  EXPECT_EQ(pp.GetIntVar("x"), 7);
  // Nobody left to answer: the macro goes on.
  EXPECT_EQ(RunMacro("Pause; x := 9"), "");
  EXPECT_EQ(pp.GetIntVar("x"), 9);
}

TEST_P(MacroHostTest, MacroCommandRunsFilesFromTheProgramFolder) {
  test::TTempDir home;
  ForceDirectories(home.File("macro"));
  home.Write("macro/upper.p2s", "var i: integer;\r\nbegin\r\n  for i := 0 to LineCount - 1 do\r\n"
                                "    SetLineStr(i, UpperCase(GetLineStr(i)));\r\nend.\r\n");
  home.Write("macro/broken.p2s", "x := 1 +\r\n");
  const char* old = std::getenv("NUV_HOME");
  const std::string saved = old ? old : "";
  ::setenv("NUV_HOME", home.Path().c_str(), 1);
  Editor().SetText("ab\r\ncd\r\n");
  using A = test::TScriptedDialogs::TAnswer;
  dialogs.answers = {A{TInputBoxResult::Ok, "upper"},  A{TInputBoxResult::Ok, "missing.txt"},
                     A{TInputBoxResult::Ok, ""},       A{TInputBoxResult::Cancelled, "upper"},
                     A{TInputBoxResult::Ok, "broken"}};
  for (int i = 0; i < 5; ++i) host->acExecMacroExecute();
  if (old) ::setenv("NUV_HOME", saved.c_str(), 1);
  else ::unsetenv("NUV_HOME");
  EXPECT_EQ(Editor().Text(), "AB\r\nCD\r\n");
  EXPECT_EQ(Utf8Errors(), "マクロファイルが存在しません。\n\n  missing.p2s\n文法エラーです[]\n");
  EXPECT_EQ(Cp932ToUtf8(dialogs.asked[0]), "マクロの実行|マクロ名|");
}

TEST_P(MacroHostTest, RegistersOnce) {
  const std::size_t lines = pp.DeclarePrototype().size();
  host->Register();
  EXPECT_EQ(pp.DeclarePrototype().size(), lines);
  EXPECT_EQ(pp.GetVarType("SelStart"), 0);
  EXPECT_EQ(pp.GetVarType("SelText"), 2);
  EXPECT_EQ(Cp932ToUtf8(MacroHostDeclarations()[8]),
            "function GetNodeText(Index:integer; AddLeadStr,AddTailStr:string): string; index 113;");
}

TEST(ChangeFileExtTest, ReplacesOrAddsTheExtension) {
  EXPECT_EQ(ChangeFileExt("foo", ".p2s"), "foo.p2s");
  EXPECT_EQ(ChangeFileExt("foo.txt", ".p2s"), "foo.p2s");
  EXPECT_EQ(ChangeFileExt("a.b/c", ".p2s"), "a.b/c.p2s");
  // "表" ends with a backslash trail byte, which is no folder separator.
  EXPECT_EQ(ChangeFileExt(Sj("表.txt"), ".p2s"), Sj("表.p2s"));
}

}  // namespace
}  // namespace nuv
