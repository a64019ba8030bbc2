// TPoorPascal: the macro interpreter component. The host fills Source,
// DeclarePrototype and Define, registers its variables, objects and events,
// and calls Execute; errors surface as ENuvError with the fixed messages.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace nuv {

class IDesktopOpen;
class IMacroDialogs;
class IMacroMessageLoop;
class IProcessStarter;
class TPPRuntime;

// The three value types, numbered as the variable table stores them.
enum class TPPType : uint8_t { Integer = 0, Real = 1, String = 2 };

// One argument as a host reads it: its value in all three types.
struct TArgumentValue {
  int32_t IntValue = 0;
  double RealValue = 0;
  std::string StrValue;
};

// One parameter of a call: its upper-cased name, declared type and value.
struct TArgument {
  std::string Name;
  TPPType Type = TPPType::Integer;
  TArgumentValue Value;
};
using TArgumentList = std::vector<TArgument>;

// Host events. Names arrive upper-cased for routines and as registered for
// objects; a non-zero errCd ends the run through ErrorProc.
using TProcParamEvent = std::function<void(const std::string& procName, int index, const TArgumentList& argument, int& errCd)>;
using TIntFuncParamEvent = std::function<void(const std::string& funcName, int index, const TArgumentList& argument,
                                              int& errCd, int32_t& resultValue)>;
using TRealFuncParamEvent = std::function<void(const std::string& funcName, int index, const TArgumentList& argument,
                                               int& errCd, double& resultValue)>;
using TStrFuncParamEvent = std::function<void(const std::string& funcName, int index, const TArgumentList& argument,
                                              int& errCd, std::string& resultValue)>;
// gsMode: 0 reads the object into value, 1 writes value to it.
using TIntObjParamEvent = std::function<void(const std::string& objName, int index, uint8_t gsMode, int& errCd, int32_t& value)>;
using TRealObjParamEvent = std::function<void(const std::string& objName, int index, uint8_t gsMode, int& errCd, double& value)>;
using TStrObjParamEvent = std::function<void(const std::string& objName, int index, uint8_t gsMode, int& errCd, std::string& value)>;
using TErrorProcEvent = std::function<void(int errorCd, std::string& errMessage)>;
using TPauseProcEvent = std::function<void()>;

struct TPoorPascalEvents {
  TProcParamEvent ProcParam;
  TIntFuncParamEvent IntFuncParam;
  TRealFuncParamEvent RealFuncParam;
  TStrFuncParamEvent StrFuncParam;
  TErrorProcEvent ErrorProc;
  TIntObjParamEvent IntObjParam;
  TRealObjParamEvent RealObjParam;
  TStrObjParamEvent StrObjParam;
  TPauseProcEvent PauseProc;
};

// The interpreter's limits; hitting one raises an error, never a hang or a crash.
struct TPoorPascalLimits {
  // Nesting of parentheses, unary operators, calls and statements, and of
  // runs a host starts from inside an event; beyond it "文法エラーです[%s]".
  int maxNesting = 150;
  // Statements and loop passes a run may take (0: no limit); beyond it the
  // run ends as if aborted.
  int64_t maxSteps = 0;
  // Longest string a concatenation, Insert or FillStr may build.
  std::size_t maxStringLength = std::size_t{64} << 20;
  // The least time between two calls of the message loop at the start of
  // statement lists (the built-in ProcessMessages always calls it).
  int pumpIntervalMs = 10;
};

// The platform services the built-in routines use; any may be null.
struct TPoorPascalPlatform {
  IMacroMessageLoop* messageLoop = nullptr;
  IMacroDialogs* dialogs = nullptr;
  IProcessStarter* processes = nullptr;
  IDesktopOpen* desktop = nullptr;
};

class TPoorPascal {
 public:
  TPoorPascal();
  ~TPoorPascal();
  TPoorPascal(const TPoorPascal&) = delete;
  TPoorPascal& operator=(const TPoorPascal&) = delete;

  // Defined symbols (IsDefine), the program, and the host's routine declarations.
  std::vector<std::string>& Define() { return m_define; }
  std::vector<std::string>& Source() { return m_source; }
  std::vector<std::string>& DeclarePrototype() { return m_declarePrototype; }
  void SetDefine(const std::vector<std::string>& lines) { m_define = lines; }
  void SetSource(const std::vector<std::string>& lines) { m_source = lines; }
  void SetDeclarePrototype(const std::vector<std::string>& lines) { m_declarePrototype = lines; }
  // The program from one text, split at CR LF, CR or LF.
  void SetSourceText(std::string_view text);

  TPoorPascalEvents& Events() { return m_events; }
  void SetPlatform(const TPoorPascalPlatform& platform);
  void SetLimits(const TPoorPascalLimits& limits);
  const TPoorPascalLimits& Limits() const;

  // Runs Source. Ignored while a run is in progress.
  void Execute();
  bool IsRunning() const;
  bool IsPaused() const;
  // Ends the run: the interpreter raises "実行を中断しました" at its next check.
  void Abort();
  // Resumes a paused run.
  void Continue();
  static int GetVersion() { return 124; }

  int32_t IEExecute(std::string_view text);
  double REExecute(std::string_view text);
  std::string SEExecute(std::string_view text);
  void BSExecute(std::string_view text);

  // Host variables; a name that exists raises "変数/定数名の重複定義[%s]".
  void AddInt(std::string_view name, int32_t value, bool readOnly, bool isObj, int32_t index);
  void AddReal(std::string_view name, double value, bool readOnly, bool isObj, int32_t index);
  void AddStr(std::string_view name, std::string_view value, bool readOnly, bool isObj, int32_t index);
  void AddIntVar(std::string_view name, int32_t value, bool readOnly) { AddInt(name, value, readOnly, false, 0); }
  void AddRealVar(std::string_view name, double value, bool readOnly) { AddReal(name, value, readOnly, false, 0); }
  void AddStrVar(std::string_view name, std::string_view value, bool readOnly) { AddStr(name, value, readOnly, false, 0); }
  void AddIntObj(std::string_view name, int32_t value, bool readOnly, int32_t index) { AddInt(name, value, readOnly, true, index); }
  void AddRealObj(std::string_view name, double value, bool readOnly, int32_t index) { AddReal(name, value, readOnly, true, index); }
  void AddStrObj(std::string_view name, std::string_view value, bool readOnly, int32_t index) { AddStr(name, value, readOnly, true, index); }
  int32_t GetIntVar(std::string_view name) const;
  double GetRealVar(std::string_view name) const;
  std::string GetStrVar(std::string_view name) const;
  // Only host variables of that type can be set; false otherwise.
  bool SetIntVar(std::string_view name, int32_t value);
  bool SetRealVar(std::string_view name, double value);
  bool SetStrVar(std::string_view name, std::string_view value);
  void DeleteVar(std::string_view name);
  // 0 integer, 1 real, 2 string, -1 when there is no such variable.
  int GetVarType(std::string_view name) const;

  // Parses one routine declaration into the procedure or function table.
  void AddFunction(std::string_view declaration, bool builtIn);

  // Argument access for host events (0-based, declaration order).
  static TArgumentValue GetValue(const TArgumentList& argument, int i);
  static TArgumentValue Arguments(const TArgumentList& argument, int i) { return GetValue(argument, i); }
  static TArgumentValue ArgumentByName(const TArgumentList& argument, std::string_view name);

 private:
  std::vector<std::string> m_define;
  std::vector<std::string> m_source;
  std::vector<std::string> m_declarePrototype;
  TPoorPascalEvents m_events;
  std::unique_ptr<TPPRuntime> m_rt;
};

}  // namespace nuv
