// A compiled routine call: its argument expressions and the dispatch to a
// built-in routine or to the host's event.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "macro/PPNodes.h"

namespace nuv {

// A value of one of the three types; only the field of its type is used.
struct TPPValue {
  int32_t i = 0;
  double r = 0;
  std::string s;
};

class TPPCall {
 public:
  explicit TPPCall(const TPPRoutine& routine) : m_routine(routine) {}

  struct TArg {
    std::unique_ptr<TIntExpr> i;
    std::unique_ptr<TRealExpr> r;
    std::unique_ptr<TStrExpr> s;
  };
  // One per parameter, in order; fewer when compiling stopped at a fault,
  // which the last one (or trailingError) then raises.
  std::vector<TArg> args;
  std::string trailingError;

  const TPPRoutine& Routine() const { return m_routine; }
  // True for built-in functions that run no host code (no dialog, process,
  // message loop): they cannot observe a variable being assigned.
  bool Pure() const;
  // Evaluates the arguments in order and runs the routine. Each call node has
  // its own argument storage, so a nested call never overwrites an outer one.
  void Invoke(TPPRuntime& rt, TPPValue& result);

 private:
  void InvokeHost(TPPRuntime& rt, TPPValue& result);

  const TPPRoutine& m_routine;
  std::vector<TPPValue> m_values;
  TArgumentList m_hostArgs;
};

// The declarations of the built-in routines, registered at construction.
const std::vector<std::string>& PPBuiltInDeclarations();
// Runs a built-in routine; false when its index has no implementation.
bool PPRunBuiltIn(TPPRuntime& rt, const TPPRoutine& routine, std::vector<TPPValue>& args, TPPValue& result);
// The three views of an argument value of a given type.
TArgumentValue PPArgumentValue(TPPType type, const TPPValue& value);

}  // namespace nuv

namespace nuv {

// Compiles the call at `pos` (the routine's name) and moves pos past it;
// `failed` tells that compiling stopped at a fault the call raises when run.
std::unique_ptr<TPPCall> CompileCall(TPPRuntime& rt, const TPPRoutine& routine, TTokenPtr& pos, TTokenPtr end,
                                     bool& failed);

}  // namespace nuv
