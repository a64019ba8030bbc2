// The macro host's routines, objects, event handlers and macro command.
#include "macro/MacroHost.h"

#include <algorithm>

#include "base/Codec.h"
#include "base/Error.h"
#include "base/FileIo.h"
#include "base/ProgramFolder.h"
#include "base/Prompts.h"
#include "base/Sjis.h"
#include "macro/MacroPlatform.h"
#include "macro/MacroTexts.h"
#include "macro/PPConvert.h"
#include "outline/PageEditor.h"
#include "outline/LightStrings.h"
#include "outline/OutlineTree.h"
#include "outline/PageEditor.h"

namespace nuv {

namespace {

enum : int {
  kLineCount = 1,
  kGetLineStr = 11,
  kSetLineStr = 12,
  kDelLineStr = 13,
  kInsLineStr = 14,
  kNodeCount = 101,
  kGetNodeTitle = 111,
  kGetNodeLevel = 112,
  kGetNodeText = 113,
  kFillStr = 901,
  kSaveToFileStr = 902,
};

enum : int { kObjClipboard = 1, kObjSelText = 2, kObjSelStart = 3, kObjSelLength = 4 };
enum : int { kEditReplace, kEditDelete, kEditInsert };

// Start and length of line `row` of a body whose lines all end with CR LF.
bool LineSpan(const std::string& text, int row, std::size_t& start, std::size_t& length) {
  std::size_t at = 0;
  for (int r = 0; at < text.size(); ++r) {
    std::size_t end = text.find_first_of("\r\n", at);
    if (end == std::string::npos) end = text.size();
    if (r == row) {
      start = at;
      length = end - at;
      return true;
    }
    at = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
  return false;
}

}  // namespace

const std::vector<std::string>& MacroHostDeclarations() {
  static const std::vector<std::string> declarations = {
      "function LineCount: integer; index 1;",
      "function GetLineStr(Row:integer): string; index 11;",
      "function SetLineStr(Row:integer; Str:string): integer; index 12;",
      "function DelLineStr(Row:integer): integer; index 13;",
      "function InsLineStr(Row:integer; Str:string): integer; index 14;",
      "function NodeCount: integer; index 101;",
      "function GetNodeTitle(Index:integer): string; index 111;",
      "function GetNodeLevel(Index:integer): integer; index 112;",
      "function GetNodeText(Index:integer; AddLeadStr,AddTailStr:string): string; index 113;",
      "function FillStr(Str:string; Num:integer): string; index 901;",
      "function SaveToFileStr(FileName, Str:string): integer; index 902;",
  };
  return declarations;
}

std::string ChangeFileExt(const std::string& name, const std::string& ext) {
  std::size_t dot = std::string::npos;
  for (std::size_t i = 0; i < name.size(); i += CharLength(name, i)) {
    if (name[i] == '.') dot = i;
    else if (name[i] == '/' || name[i] == '\\') dot = std::string::npos;
  }
  return (dot == std::string::npos ? name : name.substr(0, dot)) + ext;
}

void TMacroHost::Register() {
  if (m_registered) return;
  m_registered = true;
  for (const std::string& d : MacroHostDeclarations()) m_pp.DeclarePrototype().push_back(d);
  m_pp.AddStrObj("Clipboard", "", false, kObjClipboard);
  m_pp.AddStrObj("SelText", "", false, kObjSelText);
  m_pp.AddIntObj("SelStart", 0, false, kObjSelStart);
  m_pp.AddIntObj("SelLength", 0, false, kObjSelLength);
  TPoorPascalEvents& ev = m_pp.Events();
  ev.IntFuncParam = [this](const std::string& name, int index, const TArgumentList& args, int& errCd, int32_t& result) {
    pp1IntFuncParam(name, index, args, errCd, result);
  };
  ev.StrFuncParam = [this](const std::string& name, int index, const TArgumentList& args, int& errCd,
                           std::string& result) { pp1StrFuncParam(name, index, args, errCd, result); };
  ev.IntObjParam = [this](const std::string& name, int index, uint8_t mode, int& errCd, int32_t& value) {
    pp1IntObjParam(name, index, mode, errCd, value);
  };
  ev.StrObjParam = [this](const std::string& name, int index, uint8_t mode, int& errCd, std::string& value) {
    pp1StrObjParam(name, index, mode, errCd, value);
  };
  ev.ErrorProc = [this](int errorCd, std::string& message) { pp1ErrorProc(errorCd, message); };
  ev.PauseProc = [this] { pp1PauseProc(); };
}

bool TMacroHost::RunMacroFile(const std::string& nativePath) {
  TLightStrings lines;
  if (!lines.LoadFromFile(nativePath)) return false;
  m_pp.SetSource(lines.Lines());
  m_pp.Execute();
  return true;
}

void TMacroHost::acExecMacroExecute() {
  if (!m_parts.dialogs) return;
  std::string name;
  if (m_parts.dialogs->InputBox(TextMacroCaption(), TextMacroPrompt(), name) != TInputBoxResult::Ok || name.empty())
    return;
  const std::string fileName = ChangeFileExt(name, ".p2s");
  const std::string path = ProgramFolder() + "/macro/" + Cp932ToUtf8(fileName);
  try {
    if (!FileExists(path) || !RunMacroFile(path)) {
      if (m_parts.prompts) m_parts.prompts->Error(FormatMessageText(TextMacroMissingFile().c_str(), fileName.c_str()));
    }
  } catch (const ENuvError& e) {
    if (m_parts.prompts) m_parts.prompts->Error(e.Message());
  }
}

// ---- Lines of the page in the editor --------------------------------------

int TMacroHost::LineCount() const {
  if (m_parts.lines) return m_parts.lines->LineCount();
  if (!m_parts.editor) return 0;
  return static_cast<int>(StrToStrings(m_parts.editor->Text()).size());
}

std::string TMacroHost::GetLine(int row) const {
  if (!ValidRow(row)) return std::string();
  if (m_parts.lines) return m_parts.lines->LineText(row);
  const std::string text = m_parts.editor->Text();
  std::size_t start = 0, length = 0;
  return LineSpan(text, row, start, length) ? text.substr(start, length) : std::string();
}

void TMacroHost::EditLine(int row, int kind, const std::string& text) {
  if (IPageLines* lines = m_parts.lines) {
    if (kind == kEditReplace) lines->ReplaceLine(row, text);
    else if (kind == kEditDelete) lines->DeleteLine(row);
    else lines->InsertLine(row, text);
    return;
  }
  // Through the selection: the same edit the user could make, with the
  // user's selection put back afterwards.
  IPageEditor& editor = *m_parts.editor;
  std::size_t start = 0, length = 0;
  if (!LineSpan(editor.Text(), row, start, length)) return;
  const int selStart = editor.SelStart(), selLength = editor.SelLength();
  const int s = static_cast<int>(start);
  if (kind == kEditReplace) {
    editor.SetSelection(s, static_cast<int>(length));
    editor.InsertAtCaret(text);
  } else if (kind == kEditDelete) {
    editor.SetSelection(s, static_cast<int>(length) + 2);
    editor.InsertAtCaret("");
  } else {
    editor.SetSelection(s, 0);
    editor.InsertAtCaret(text + "\r\n");
  }
  editor.SetSelection(selStart, selLength);
}

// ---- Functions -----------------------------------------------------------

std::string TMacroHost::FillStr(const std::string& text, int32_t count, int& errCd) {
  if (count <= 0 || text.empty()) return std::string();
  if (text.size() > m_pp.Limits().maxStringLength / static_cast<std::size_t>(count)) {
    errCd = kMacroStringTooLong;
    m_pendingMessage = TextPPStringTooLong();
    return std::string();
  }
  std::string out;
  out.reserve(text.size() * static_cast<std::size_t>(count));
  for (int32_t k = 0; k < count; ++k) out += text;
  return out;
}

int TMacroHost::SaveToFileStr(const std::string& fileName, const std::string& text, int& errCd) {
  TLightStrings lines;
  lines.SetTextStr(text);
  if (fileName.empty() || !lines.SaveToFile(Cp932ToUtf8(fileName))) {
    errCd = kMacroWriteFailed;
    m_pendingMessage = MacroMessage(TextMacroWriteFailed(), fileName);
  }
  return 0;
}

void TMacroHost::pp1IntFuncParam(const std::string&, int index, const TArgumentList& argument, int& errCd,
                                 int32_t& resultValue) {
  auto arg = [&](int i) { return TPoorPascal::GetValue(argument, i); };
  switch (index) {
    case kLineCount: resultValue = LineCount(); break;
    case kSetLineStr:
    case kDelLineStr:
    case kInsLineStr: {
      const int row = arg(0).IntValue;
      resultValue = 0;
      if (!ValidRow(row)) break;
      EditLine(row, index == kSetLineStr ? kEditReplace : index == kDelLineStr ? kEditDelete : kEditInsert,
               index == kDelLineStr ? std::string() : arg(1).StrValue);
      resultValue = 1;
      break;
    }
    case kNodeCount: resultValue = m_parts.tree ? m_parts.tree->Count() : 0; break;
    case kGetNodeLevel: {
      const TTreeNode* node = m_parts.tree ? m_parts.tree->GetNodeAt(arg(0).IntValue) : nullptr;
      resultValue = node ? node->Level() : -1;
      break;
    }
    case kSaveToFileStr: resultValue = SaveToFileStr(arg(0).StrValue, arg(1).StrValue, errCd); break;
    default: errCd = kMacroUnknownIndex; break;
  }
}

void TMacroHost::pp1StrFuncParam(const std::string&, int index, const TArgumentList& argument, int& errCd,
                                 std::string& resultValue) {
  auto arg = [&](int i) { return TPoorPascal::GetValue(argument, i); };
  switch (index) {
    case kGetLineStr: resultValue = GetLine(arg(0).IntValue); break;
    case kGetNodeTitle: {
      const TTreeNode* node = m_parts.tree ? m_parts.tree->GetNodeAt(arg(0).IntValue) : nullptr;
      resultValue = node ? node->Text() : std::string();
      break;
    }
    case kGetNodeText: {
      const TTreeNode* node = m_parts.tree ? m_parts.tree->GetNodeAt(arg(0).IntValue) : nullptr;
      resultValue.clear();
      if (!node || !node->Data()) break;
      const std::string lead = arg(1).StrValue, tail = arg(2).StrValue;
      for (const std::string& line : StrToStrings(node->Data()->Body())) {
        if (lead.empty() && tail.empty()) resultValue += line;
        else resultValue += lead + line + tail;
        resultValue += "\r\n";
      }
      break;
    }
    case kFillStr: resultValue = FillStr(arg(0).StrValue, arg(1).IntValue, errCd); break;
    default: errCd = kMacroUnknownIndex; break;
  }
}

// ---- Objects -------------------------------------------------------------

void TMacroHost::pp1IntObjParam(const std::string&, int index, uint8_t gsMode, int& errCd, int32_t& value) {
  IPageEditor* editor = m_parts.editor;
  if ((index != kObjSelStart && index != kObjSelLength) || !editor) {
    errCd = kMacroUnknownIndex;
    return;
  }
  if (gsMode == 0) value = index == kObjSelStart ? editor->SelStart() : editor->SelLength();
  else if (index == kObjSelStart) editor->SetSelStart(value);
  else editor->SetSelection(editor->SelStart(), value);
}

void TMacroHost::pp1StrObjParam(const std::string&, int index, uint8_t gsMode, int& errCd, std::string& value) {
  if (index == kObjClipboard) {
    if (!m_parts.clipboard) return;
    if (gsMode == 0) value = m_parts.clipboard->Text();
    else m_parts.clipboard->SetText(value);
  } else if (index == kObjSelText && m_parts.editor) {
    if (gsMode == 0) value = m_parts.editor->SelText();
    else m_parts.editor->InsertAtCaret(value);
  } else {
    errCd = kMacroUnknownIndex;
  }
}

// ---- Errors and the pause dialog -----------------------------------------

void TMacroHost::pp1ErrorProc(int errorCd, std::string& errMessage) {
  if (!m_pendingMessage.empty()) {
    errMessage = m_pendingMessage;
    m_pendingMessage.clear();
  }
  if (m_parts.prompts) m_parts.prompts->Error(FormatMessageText(TextMacroErrorBox().c_str(), errorCd, errMessage.c_str()));
}

void TMacroHost::pp1PauseProc() {
  for (;;) {
    std::string answer;
    const TInputBoxResult r = m_parts.dialogs
                                  ? m_parts.dialogs->InputBox(TextMacroPauseCaption(), TextMacroPausePrompt(), answer)
                                  : TInputBoxResult::Unavailable;
    if (r == TInputBoxResult::Unavailable || (r == TInputBoxResult::Ok && answer == "!")) {
      // With nobody to answer, the macro goes on rather than waiting forever.
      m_pp.Continue();
      return;
    }
    if (r == TInputBoxResult::Ok && answer == "!exit") {
      m_pp.Abort();
      return;
    }
    if (r != TInputBoxResult::Ok) answer.clear();
    std::string text;
    switch (m_pp.GetVarType(answer)) {
      case 0: text = FormatMessageText("%s=%d", answer.c_str(), m_pp.GetIntVar(answer)); break;
      case 1: text = FormatMessageText("%s=%s", answer.c_str(), PPFormatG(m_pp.GetRealVar(answer)).c_str()); break;
      case 2: text = FormatMessageText("%s=%s", answer.c_str(), m_pp.GetStrVar(answer).c_str()); break;
      default: text = FormatMessageText("%s=%s", answer.c_str(), TextMacroLookupFailed().c_str()); break;
    }
    if (m_parts.prompts) m_parts.prompts->Info(text);
  }
}

}  // namespace nuv
