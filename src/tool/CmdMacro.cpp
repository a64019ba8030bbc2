// nuvtool macro: runs a macro headless on one page of a document. The page
// editor holds the page's body, WriteLn prints to standard output, dialogs
// read their answers from standard input, and --write stores a changed page
// and writes the document back in its own format.
#include <cstdio>
#include <iostream>

#include "base/Codec.h"
#include "base/Error.h"
#include "base/FileIo.h"
#include "base/Prompts.h"
#include "macro/MacroHost.h"
#include "macro/MacroPlatform.h"
#include "editor/HeadlessPageEditor.h"
#include "macro/PoorPascal.h"
#include "macro/PosixProcesses.h"
#include "outline/LightStrings.h"
#include "outline/OutlineTexts.h"
#include "outline/OutlineTree.h"
#include "tool/NuvTool.h"

namespace nuv::tool {

namespace {

void PrintUtf8(FILE* out, const std::string& sjis) {
  const std::string utf8 = Cp932ToUtf8(sjis);
  std::fwrite(utf8.data(), 1, utf8.size(), out);
}

class TMemoryClipboard : public IMacroClipboard {
 public:
  std::string Text() const override { return m_text; }
  void SetText(const std::string& text) override { m_text = text; }

 private:
  std::string m_text;
};

// Message boxes on standard error; a question takes its default answer.
class TStderrPrompts : public IPrompts {
 public:
  void Error(const std::string& text) override { Show("error", text); }
  void Info(const std::string& text) override { Show("info", text); }
  bool Question(const std::string& text, bool defaultNo) override {
    Show("question", text);
    return !defaultNo;
  }
  TAnswer QuestionCancel(const std::string& text) override {
    Show("question", text);
    return TAnswer::Cancel;
  }

 private:
  static void Show(const char* kind, const std::string& text) {
    std::fprintf(stderr, "[%s] ", kind);
    PrintUtf8(stderr, text);
    std::fputc('\n', stderr);
  }
};

// Input boxes read one line of standard input (UTF-8); its end makes them
// unavailable. Message boxes are shown on standard error and answered with
// their default button.
class TStdioDialogs : public IMacroDialogs {
 public:
  TInputBoxResult InputBox(const std::string& caption, const std::string& prompt, std::string& value) override {
    std::fprintf(stderr, "[%s] ", Cp932ToUtf8(caption).c_str());
    PrintUtf8(stderr, prompt);
    std::fputc('\n', stderr);
    std::string line;
    if (!std::getline(std::cin, line)) return TInputBoxResult::Unavailable;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const auto sjis = Utf8ToCp932(line);
    if (!sjis) return TInputBoxResult::Cancelled;
    value = *sjis;
    return TInputBoxResult::Ok;
  }
  int MessageBox(const std::string& text, const std::string& caption, int flags) override {
    std::fprintf(stderr, "[%s] ", Cp932ToUtf8(caption).c_str());
    PrintUtf8(stderr, text);
    std::fputc('\n', stderr);
    return MessageBoxDefaultResult(flags);
  }
};

bool ParsePage(const std::string& text, int count, int& page) {
  if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos) return false;
  page = std::stoi(text);
  return page >= 1 && page <= count;
}

int RunMacro(const std::vector<std::string>& argv) {
  TArgs args;
  if (!ParseArgs(argv, {"--write"}, {}, args)) return 2;
  if (args.positional.empty() || args.positional.size() > 3) {
    Fail("macro needs FILE.p2s [DOC [PAGE]]");
    return 2;
  }
  const std::string& macroPath = args.positional[0];
  TLightStrings source;
  if (!source.LoadFromFile(macroPath)) return FailFile("cannot read " + macroPath);

  TOutlineTree tree;
  TDocumentFile file;
  std::string docPath;
  if (args.positional.size() >= 2) {
    docPath = args.positional[1];
    if (!ReadDocument(docPath, tree, file)) return 1;
  } else {
    if (args.Has("--write")) return Fail("--write needs DOC");
    tree.AddChild(nullptr, texts::Untitled());
  }
  int pageNumber = 1;
  if (args.positional.size() == 3 && !ParsePage(args.positional[2], tree.Count(), pageNumber))
    return Fail("no page " + args.positional[2] + " in " + docPath);
  TTreeNode* page = tree.GetNodeAt(pageNumber - 1);

  THeadlessPageEditor editor;
  editor.SetText(page->Data() ? page->Data()->Body() : std::string());
  editor.SetModified(false);
  TMemoryClipboard clipboard;
  TStderrPrompts prompts;
  TStdioDialogs dialogs;
  TPosixProcessStarter processes;
  TXdgDesktopOpen desktop(processes);

  TPoorPascal pp;
  TPoorPascalPlatform platform;
  platform.dialogs = &dialogs;
  platform.processes = &processes;
  platform.desktop = &desktop;
  pp.SetPlatform(platform);
  TMacroHostParts parts;
  parts.editor = &editor;
  parts.lines = &editor;
  parts.tree = &tree;
  parts.clipboard = &clipboard;
  parts.prompts = &prompts;
  parts.dialogs = &dialogs;
  TMacroHost host(pp, parts);
  host.Register();
  pp.DeclarePrototype().push_back("procedure WriteLn(S:String);");
  pp.Events().ProcParam = [](const std::string& name, int, const TArgumentList& argument, int& errCd) {
    if (name != "WRITELN") {
      errCd = kMacroUnknownIndex;
      return;
    }
    PrintUtf8(stdout, TPoorPascal::GetValue(argument, 0).StrValue);
    std::fputc('\n', stdout);
  };
  pp.SetSource(source.Lines());
  try {
    pp.Execute();
  } catch (const ENuvError& e) {
    std::fflush(stdout);
    return Fail(Cp932ToUtf8(e.Message()));
  }
  std::fflush(stdout);

  if (!args.Has("--write") || !editor.Modified()) return 0;
  tree.EnsureData(page).SetBody(editor.Text());
  return WriteDocument(docPath, tree, file) ? 0 : 1;
}

}  // namespace

NUVTOOL_COMMAND(macro, "macro", "FILE.p2s [DOC [PAGE]] [--write]", RunMacro);

}  // namespace nuv::tool
