// The interpreter's state behind TPoorPascal: the variable and routine
// tables, the run flags, the limits and the platform, with the checks every
// compiled node makes (abort, steps, nesting, string length).
#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "macro/PoorPascal.h"

namespace nuv {

struct TPPVariable {
  std::string name;  // as registered or declared
  bool host = false;
  bool readOnly = false;
  bool object = false;
  TPPType type = TPPType::Integer;
  int32_t intValue = 0;
  double realValue = 0;
  std::string strValue;
  int32_t index = 0;
};

struct TPPParameter {
  std::string name;  // upper-cased
  TPPType type = TPPType::Integer;
};

struct TPPRoutine {
  std::string name;  // upper-cased
  bool builtIn = false;
  bool isFunction = false;
  TPPType resultType = TPPType::Integer;
  int32_t index = 0;
  std::vector<TPPParameter> params;
};

// Control flags that end statement lists.
constexpr uint8_t kFlowBreak = 1;
constexpr uint8_t kFlowContinue = 2;
constexpr uint8_t kFlowExit = 4;

class TPPRuntime {
 public:
  TPPRuntime(TPoorPascalEvents& events, std::vector<std::string>& define) : events(events), define(define) {}

  // Tables, keyed by the upper-cased name.
  std::map<std::string, std::unique_ptr<TPPVariable>, std::less<>> variables;
  std::map<std::string, std::unique_ptr<TPPRoutine>, std::less<>> procedures;
  std::map<std::string, std::unique_ptr<TPPRoutine>, std::less<>> functions;
  // Raised whenever a table changes: compiled statements made under an older
  // generation are compiled again before they run.
  uint32_t generation = 1;
  // Variables deleted during a run stay allocated until it ends, since
  // compiled nodes may still point at them.
  std::vector<std::unique_ptr<TPPVariable>> deadVariables;

  TPoorPascalEvents& events;
  std::vector<std::string>& define;
  TPoorPascalLimits limits;
  TPoorPascalPlatform platform;

  bool running = false;
  bool aborted = false;
  bool paused = false;
  uint8_t flow = 0;
  int nesting = 0;
  int64_t steps = 0;
  // Entries in progress (Execute and the host's xEExecute calls); deleted
  // variables are freed when the last one returns.
  int active = 0;

  TPPVariable* FindVariable(std::string_view upperName) const;
  const TPPRoutine* FindProcedure(std::string_view upperName) const;
  const TPPRoutine* FindFunction(std::string_view upperName) const;
  void AddVariable(std::unique_ptr<TPPVariable> variable);  // raises on a duplicate
  void DeleteVariable(std::string_view name);
  void AddRoutine(std::string_view declaration, bool builtIn);

  [[noreturn]] void Fail(const std::string& sjisMessage) const;
  [[noreturn]] void FailWith(const std::string& templ, std::string_view arg) const;
  [[noreturn]] void RaiseAborted() const;
  void CheckAborted() const {
    if (aborted) RaiseAborted();
  }
  void Step() {
    if (limits.maxSteps > 0 && ++steps > limits.maxSteps) RaiseAborted();
  }
  void CheckLength(std::size_t length) const;

  // The start of a statement list: lets the host handle its messages now and
  // then, and ends the run when it was aborted.
  void ListStart() {
    if (--m_pumpCountdown <= 0) MaybePump();
    CheckAborted();
  }
  // The message loop now, whatever the interval.
  void PumpNow();
  // One slice of a wait (Sleep, Exec, Pause): waits, pumps, checks abort and steps.
  void WaitSlice(int ms);

  // A host event returned a non-zero code: ErrorProc, then the error.
  [[noreturn]] void HostError(int errCd) const;
  // Object reads and writes through the host's events.
  int32_t ObjGet(const TPPVariable& v, int32_t value) const;
  double ObjGet(const TPPVariable& v, double value) const;
  void ObjGet(const TPPVariable& v, std::string& value) const;
  void ObjSet(TPPVariable& v) const;

 private:
  void MaybePump();
  int m_pumpCountdown = 0;
  std::chrono::steady_clock::time_point m_lastPump{};
};

// Counts one level of nesting for the lifetime of the guard.
class TPPNestingGuard {
 public:
  explicit TPPNestingGuard(TPPRuntime& rt) : m_rt(rt) { ++m_rt.nesting; }
  ~TPPNestingGuard() { --m_rt.nesting; }
  TPPNestingGuard(const TPPNestingGuard&) = delete;
  TPPNestingGuard& operator=(const TPPNestingGuard&) = delete;
  bool TooDeep() const { return m_rt.nesting > m_rt.limits.maxNesting; }

 private:
  TPPRuntime& m_rt;
};

}  // namespace nuv
