// The built-in routines: strings, numbers, conversions, waiting, dialogs,
// processes and the desktop's open. Positions and lengths count bytes.
#include <algorithm>
#include <chrono>
#include <cmath>

#include "base/Sjis.h"
#include "macro/MacroPlatform.h"
#include "macro/MacroTexts.h"
#include "macro/PPCall.h"
#include "macro/PPConvert.h"

namespace nuv {

const std::vector<std::string>& PPBuiltInDeclarations() {
  static const std::vector<std::string> declarations = {
      "procedure ProcessMessages;Index $0001;",
      "procedure Sleep(Milliseconds:Integer);Index $0002;",
      "procedure Pause;Index $0003;",
      "function Copy(S:String;Start,Length:Integer):String;Index $1001;",
      "function Delete(S:String;Index,Count:Integer):String;Index $1002;",
      "function InputBox(ACaption,APrompt,ADefault:String):String;Index $1003;",
      "function Insert(Source:String;S:String;Index:Integer):String;Index $1004;",
      "function IntToStr(Value:Integer):String;Index $1005;",
      "function LowerCase(S:String):String;Index $1006;",
      "function Trim(S:String):String;Index $1007;",
      "function TrimLeft(S:String):String;Index $1008;",
      "function TrimRight(S:String):String;Index $1009;",
      "function UpperCase(S:String):String;Index $100A;",
      "function FloatToStr(Value:Real):String;Index $100B;",
      "function CompareStr(S1,S2:String):Integer;Index $2001;",
      "function Exec(Path,CmdLine:String;Wait:Integer):Integer;Index $2002;",
      "function Length(S:String):Integer;Index $2003;",
      "function MessageBox(Text,Caption:String;Flags:Integer):Integer;Index $2004;",
      "function Pos(Substr:String;S:String): Integer;Index $2005;",
      "function Shell(Path,CmdLine:String):Integer;Index $2006;",
      "function StrToInt(S: String):Integer;Index $2007;",
      "function IsDefine(S:String):Integer;Index $2008;",
      "function Trunc(X:Real):Integer;Index $2009;",
      "function Round(X:Real):Integer;Index $200A;",
      "function Frac(X:Real):Real;Index $3001;",
      "function Int(X:Real):Real;Index $3002;",
      "function StrToFloat(S:String):Real;Index $3003;",
  };
  return declarations;
}

namespace {

using TClock = std::chrono::steady_clock;

void Sleep(TPPRuntime& rt, int32_t ms) {
  const auto deadline = TClock::now() + std::chrono::milliseconds(std::max<int32_t>(ms, 0));
  for (auto now = TClock::now(); now < deadline; now = TClock::now()) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now).count();
    rt.WaitSlice(static_cast<int>(std::clamp<long long>(left, 1, 50)));
  }
}

void Pause(TPPRuntime& rt) {
  if (!rt.events.PauseProc) return;
  rt.paused = true;
  rt.events.PauseProc();
  while (rt.paused) rt.WaitSlice(10);
  rt.CheckAborted();
}

std::string Copy(const std::string& s, int64_t start, int64_t count) {
  const int64_t len = static_cast<int64_t>(s.size());
  if (start < 1) start = 1;
  if (start > len || count <= 0) return std::string();
  count = std::min(count, len - start + 1);
  return s.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(count));
}

std::string Delete(std::string s, int64_t index, int64_t count) {
  const int64_t len = static_cast<int64_t>(s.size());
  if (index < 1 || index > len || count <= 0) return s;
  s.erase(static_cast<std::size_t>(index - 1), static_cast<std::size_t>(std::min(count, len - index + 1)));
  return s;
}

std::string Insert(TPPRuntime& rt, const std::string& source, const std::string& s, int64_t index) {
  rt.CheckLength(source.size() + s.size());
  index = std::clamp<int64_t>(index, 1, static_cast<int64_t>(s.size()) + 1);
  std::string out = s.substr(0, static_cast<std::size_t>(index - 1));
  out += source;
  out += s.substr(static_cast<std::size_t>(index - 1));
  return out;
}

int32_t Exec(TPPRuntime& rt, const std::string& path, const std::string& cmdLine, int32_t wait) {
  IProcessStarter* processes = rt.platform.processes;
  if (!processes) return 0;
  std::vector<std::string> argv{path};
  for (auto& a : SplitCommandLine(cmdLine)) argv.push_back(std::move(a));
  const long handle = path.empty() ? 0 : processes->Start(argv);
  if (handle == 0) return 0;
  if (wait != -1) {
    processes->Release(handle);
    return -1;
  }
  int exitCode = 0;
  try {
    while (!processes->Poll(handle, exitCode)) rt.WaitSlice(10);
  } catch (...) {
    processes->Release(handle);
    throw;
  }
  return exitCode;
}

// The signature each built-in index is implemented for: "p" or the result
// type letter, then the parameter types. A host may declare a built-in of its
// own; one that does not match runs nothing and raises the missing-index error.
const char* ImplementedSignature(int32_t index) {
  switch (index) {
    case 0x0001: case 0x0003: return "p";
    case 0x0002: return "pI";
    case 0x1001: case 0x1002: return "SSII";
    case 0x1003: return "SSSS";
    case 0x1004: return "SSSI";
    case 0x1005: return "SI";
    case 0x1006: case 0x1007: case 0x1008: case 0x1009: case 0x100A: return "SS";
    case 0x100B: return "SR";
    case 0x2001: return "ISS";
    case 0x2002: return "ISSI";
    case 0x2003: case 0x2007: case 0x2008: return "IS";
    case 0x2004: return "ISSI";
    case 0x2005: return "ISS";
    case 0x2006: return "ISS";
    case 0x2009: case 0x200A: return "IR";
    case 0x3001: case 0x3002: return "RR";
    case 0x3003: return "RS";
    default: return nullptr;
  }
}

bool MatchesImplementation(const TPPRoutine& routine) {
  const char* expected = ImplementedSignature(routine.index);
  if (!expected) return false;
  static constexpr char kLetters[] = {'I', 'R', 'S'};
  std::string actual(1, routine.isFunction ? kLetters[static_cast<int>(routine.resultType)] : 'p');
  for (const auto& p : routine.params) actual.push_back(kLetters[static_cast<int>(p.type)]);
  return actual == expected;
}

int32_t Real2Int(TPPRuntime& rt, double x, bool round) {
  int32_t out = 0;
  if (!(round ? PPRoundToInt32(x, out) : PPTruncToInt32(x, out))) rt.Fail(TextPPInvalidFloat());
  return out;
}

}  // namespace

bool PPRunBuiltIn(TPPRuntime& rt, const TPPRoutine& routine, std::vector<TPPValue>& a, TPPValue& result) {
  if (!MatchesImplementation(routine)) return false;
  switch (routine.index) {
    // Procedures.
    case 0x0001:
      rt.PumpNow();
      rt.CheckAborted();
      return true;
    case 0x0002: Sleep(rt, a[0].i); return true;
    case 0x0003: Pause(rt); return true;

    // String functions.
    case 0x1001: result.s = Copy(a[0].s, a[1].i, a[2].i); return true;
    case 0x1002: result.s = Delete(std::move(a[0].s), a[1].i, a[2].i); return true;
    case 0x1003: {
      std::string value = a[2].s;
      const TInputBoxResult r = rt.platform.dialogs ? rt.platform.dialogs->InputBox(a[0].s, a[1].s, value)
                                                    : TInputBoxResult::Cancelled;
      result.s = r == TInputBoxResult::Ok ? std::move(value) : a[2].s;
      rt.CheckAborted();
      return true;
    }
    case 0x1004: result.s = Insert(rt, a[0].s, a[1].s, a[2].i); return true;
    case 0x1005: result.s = std::to_string(a[0].i); return true;
    case 0x1006: result.s = PPLowerCase(a[0].s); return true;
    case 0x1007: result.s = std::string(PPTrim(a[0].s)); return true;
    case 0x1008: result.s = std::string(PPTrimLeft(a[0].s)); return true;
    case 0x1009: result.s = std::string(PPTrimRight(a[0].s)); return true;
    case 0x100A: result.s = PPUpperCase(a[0].s); return true;
    case 0x100B: result.s = PPFloatToStr(a[0].r); return true;

    // Integer functions.
    case 0x2001: {
      const int c = a[0].s.compare(a[1].s);
      result.i = c < 0 ? -1 : (c > 0 ? 1 : 0);
      return true;
    }
    case 0x2002: result.i = Exec(rt, a[0].s, a[1].s, a[2].i); return true;
    case 0x2003: result.i = static_cast<int32_t>(a[0].s.size()); return true;
    case 0x2004:
      result.i = rt.platform.dialogs ? rt.platform.dialogs->MessageBox(a[0].s, a[1].s, a[2].i)
                                     : MessageBoxDefaultResult(a[2].i);
      rt.CheckAborted();
      return true;
    case 0x2005: {
      const std::size_t at = a[0].s.empty() ? std::string::npos : FindAtBoundary(a[1].s, a[0].s);
      result.i = at == std::string::npos ? 0 : static_cast<int32_t>(at) + 1;
      return true;
    }
    case 0x2006:
      result.i = rt.platform.desktop ? rt.platform.desktop->Open(a[0].s, a[1].s) : 0;
      rt.CheckAborted();
      return true;
    case 0x2007:
      if (!PPStrToInt(a[0].s, result.i)) result.i = 0;
      return true;
    case 0x2008: {
      const std::string key = PPUpperCase(a[0].s);
      result.i = std::any_of(rt.define.begin(), rt.define.end(),
                             [&](const std::string& d) { return PPUpperCase(d) == key; })
                     ? -1
                     : 0;
      return true;
    }
    case 0x2009: result.i = Real2Int(rt, a[0].r, false); return true;
    case 0x200A: result.i = Real2Int(rt, a[0].r, true); return true;

    // Real functions.
    case 0x3001: result.r = a[0].r - std::trunc(a[0].r); return true;
    case 0x3002: result.r = std::trunc(a[0].r); return true;
    case 0x3003:
      if (!PPStrToFloat(a[0].s, result.r)) result.r = 0;
      return true;
    default:
      return false;
  }
}

}  // namespace nuv
