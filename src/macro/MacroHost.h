// The macro host: the routines and objects through which macros read and
// change the page in the editor, the pages of the outline and the clipboard,
// the answers to the interpreter's events, and the macro command.
#pragma once

#include <cstdint>
#include <string>

#include "macro/PoorPascal.h"

namespace nuv {

class IMacroDialogs;
class IPageEditor;
class IPageLines;
class IPrompts;
class TOutlineTree;

// The clipboard's plain text, as Shift JIS.
class IMacroClipboard {
 public:
  virtual ~IMacroClipboard() = default;
  virtual std::string Text() const = 0;
  virtual void SetText(const std::string& text) = 0;
};

struct TMacroHostParts {
  IPageEditor* editor = nullptr;
  // The editor's line access when it has one; else lines go through the text and selection.
  IPageLines* lines = nullptr;
  TOutlineTree* tree = nullptr;
  IMacroClipboard* clipboard = nullptr;
  IPrompts* prompts = nullptr;
  IMacroDialogs* dialogs = nullptr;
};

// Error codes the host hands the interpreter.
constexpr int kMacroUnknownIndex = -1;
constexpr int kMacroWriteFailed = -2;
constexpr int kMacroStringTooLong = -3;

class TMacroHost {
 public:
  TMacroHost(TPoorPascal& pp1, const TMacroHostParts& parts) : m_pp(pp1), m_parts(parts) {}

  // Adds the host routines to DeclarePrototype, registers the objects and
  // wires the events. Only the first call does anything.
  void Register();
  // The macro command: asks for a name and runs "macro/<name>.p2s" of the
  // program folder; errors are shown in the error box.
  void acExecMacroExecute();
  // Loads a macro file into Source and runs it; false when it cannot be read.
  // Errors of the run propagate.
  bool RunMacroFile(const std::string& nativePath);

  // The interpreter's events.
  void pp1IntFuncParam(const std::string& funcName, int index, const TArgumentList& argument, int& errCd,
                       int32_t& resultValue);
  void pp1StrFuncParam(const std::string& funcName, int index, const TArgumentList& argument, int& errCd,
                       std::string& resultValue);
  void pp1IntObjParam(const std::string& objName, int index, uint8_t gsMode, int& errCd, int32_t& value);
  void pp1StrObjParam(const std::string& objName, int index, uint8_t gsMode, int& errCd, std::string& value);
  void pp1ErrorProc(int errorCd, std::string& errMessage);
  void pp1PauseProc();

 private:
  int LineCount() const;
  std::string GetLine(int row) const;
  bool ValidRow(int row) const { return row >= 0 && row < LineCount(); }
  void EditLine(int row, int kind, const std::string& text);
  int SaveToFileStr(const std::string& fileName, const std::string& text, int& errCd);
  std::string FillStr(const std::string& text, int32_t count, int& errCd);

  TPoorPascal& m_pp;
  TMacroHostParts m_parts;
  bool m_registered = false;
  // A message for the next ErrorProc, for faults the host reports with a text.
  std::string m_pendingMessage;
};

// The host routine declarations, in the order they are registered.
const std::vector<std::string>& MacroHostDeclarations();
// A file name with its extension replaced (or added), double-byte safe.
std::string ChangeFileExt(const std::string& name, const std::string& ext);

}  // namespace nuv
