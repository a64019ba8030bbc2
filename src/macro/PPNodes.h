// The interpreter's cache of what it has cut out of a program: statement
// lists, statements and typed expressions, built from token ranges the first
// time they run and kept for the rest of the run.
//
// A piece of text is compiled only when it is about to run, and a fault found
// while compiling becomes an error node at the place where the text-walking
// evaluation would have met it. Evaluation follows the same left-to-right
// order, so everything before the fault still runs and a statement that never
// runs never raises. Compiled pieces carry the table generation they were
// made under and are made again when a host changed the tables since.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "macro/PPAParser.h"
#include "macro/PPRuntime.h"

namespace nuv {

class TIntExpr {
 public:
  virtual ~TIntExpr() = default;
  virtual int32_t Eval(TPPRuntime& rt) = 0;
};

class TRealExpr {
 public:
  virtual ~TRealExpr() = default;
  virtual double Eval(TPPRuntime& rt) = 0;
};

class TStrExpr {
 public:
  virtual ~TStrExpr() = default;
  // Appends the value to out.
  virtual void Eval(TPPRuntime& rt, std::string& out) = 0;
};

class TPPStmt {
 public:
  virtual ~TPPStmt() = default;
  virtual void Exec(TPPRuntime& rt) = 0;
};

using TTokenPtr = const TPPToken*;

// A whole text as IEExecute, REExecute and SEExecute read it: the relation,
// and a syntax error for any token left after it.
std::unique_ptr<TIntExpr> CompileIntText(TPPRuntime& rt, TTokenPtr begin, TTokenPtr end);
std::unique_ptr<TRealExpr> CompileRealText(TPPRuntime& rt, TTokenPtr begin, TTokenPtr end);
std::unique_ptr<TStrExpr> CompileStrText(TPPRuntime& rt, TTokenPtr begin, TTokenPtr end);
// One statement text (which may hold several statements one after another).
std::unique_ptr<TPPStmt> CompileStatement(TPPRuntime& rt, TTokenPtr begin, TTokenPtr end);
// An assignment of the text after ":=" to a variable.
std::unique_ptr<TPPStmt> CompileAssignment(TPPRuntime& rt, TPPVariable& target, TTokenPtr begin, TTokenPtr end);

// A typed expression text compiled on first use and again after a table change.
template <class TNode, std::unique_ptr<TNode> (*Compile)(TPPRuntime&, TTokenPtr, TTokenPtr)>
class TPPUnit {
 public:
  TPPUnit(TTokenPtr begin, TTokenPtr end) : m_begin(begin), m_end(end) {}
  TNode& Get(TPPRuntime& rt) {
    if (m_generation != rt.generation || !m_node) {
      m_node = Compile(rt, m_begin, m_end);
      m_generation = rt.generation;
    }
    return *m_node;
  }

 private:
  TTokenPtr m_begin;
  TTokenPtr m_end;
  std::unique_ptr<TNode> m_node;
  uint32_t m_generation = 0;
};
using TIntUnit = TPPUnit<TIntExpr, CompileIntText>;
using TRealUnit = TPPUnit<TRealExpr, CompileRealText>;
using TStrUnit = TPPUnit<TStrExpr, CompileStrText>;

// A statement list: split at ";" at nesting depth 0 (BEGIN, REPEAT and CASE
// open, END and UNTIL close); each statement compiled when it first runs.
class TStmtList {
 public:
  TStmtList(TTokenPtr begin, TTokenPtr end);
  void Exec(TPPRuntime& rt);

 private:
  struct TSlot {
    TTokenPtr begin;
    TTokenPtr end;
    std::unique_ptr<TPPStmt> stmt;
    uint32_t generation = 0;
  };
  std::vector<TSlot> m_slots;
};

// Raises a fixed message when reached.
class TPPErrorStmt : public TPPStmt {
 public:
  explicit TPPErrorStmt(std::string message) : m_message(std::move(message)) {}
  void Exec(TPPRuntime& rt) override { rt.Fail(m_message); }

 private:
  std::string m_message;
};

// Keyword tests on tokens.
inline bool IsWord(const TPPToken& t, std::string_view upper) { return t.kind == kPPIdentifier && t.upper == upper; }
inline bool IsSymbol(const TPPToken& t, std::string_view text) {
  return (t.kind == kPPSymbol || t.kind == kPPOperator) && t.text == text;
}
// The type a type name (INTEGER, REAL, STRING) stands for; false for other tokens.
inline bool PPTypeWord(const TPPToken& t, TPPType& type) {
  if (IsWord(t, "INTEGER")) type = TPPType::Integer;
  else if (IsWord(t, "REAL")) type = TPPType::Real;
  else if (IsWord(t, "STRING")) type = TPPType::String;
  else return false;
  return true;
}
// +1 for BEGIN, REPEAT and CASE, -1 for END and UNTIL, else 0.
int BlockDelta(const TPPToken& t);

}  // namespace nuv
