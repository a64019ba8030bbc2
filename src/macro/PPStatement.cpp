// Statement lists and statements: how a statement text is cut into its
// parts (conditions, bodies, labels) and the nodes that run them.
//
// A statement text may hold several statements in a row ("BEGIN a END b"),
// which run one after another. Bodies are cut out as the text-walking
// interpreter cuts them: at BEGIN up to the matching END; otherwise one
// statement up to the next ";" at depth 0, up to an ELSE when the statement
// holds no IF of its own (so an ELSE belongs to the innermost IF), or up to
// the END or UNTIL that closes the enclosing block. Structural faults (a
// missing THEN, DO or END) are found before any part of the statement runs.
#include <algorithm>

#include "macro/MacroTexts.h"
#include "macro/PPCall.h"

namespace nuv {

int BlockDelta(const TPPToken& t) {
  if (t.kind != kPPIdentifier) return 0;
  if (t.upper == "BEGIN" || t.upper == "REPEAT" || t.upper == "CASE") return 1;
  if (t.upper == "END" || t.upper == "UNTIL") return -1;
  return 0;
}

// ---- Statement lists -----------------------------------------------------

TStmtList::TStmtList(TTokenPtr begin, TTokenPtr end) {
  int depth = 0;
  TTokenPtr start = begin;
  for (TTokenPtr p = begin; p < end; ++p) {
    depth += BlockDelta(*p);
    if (depth == 0 && IsSymbol(*p, ";")) {
      if (start < p) m_slots.push_back({start, p, nullptr, 0});
      start = p + 1;
    }
  }
  if (start < end) m_slots.push_back({start, end, nullptr, 0});
}

void TStmtList::Exec(TPPRuntime& rt) {
  TPPNestingGuard guard(rt);
  if (guard.TooDeep()) rt.FailWith(TextPPSyntaxError(), m_slots.empty() ? std::string_view() : m_slots[0].begin->text);
  rt.ListStart();
  for (TSlot& slot : m_slots) {
    if (rt.flow) return;
    rt.CheckAborted();
    rt.Step();
    if (slot.generation != rt.generation || !slot.stmt) {
      slot.stmt = CompileStatement(rt, slot.begin, slot.end);
      slot.generation = rt.generation;
    }
    slot.stmt->Exec(rt);
  }
}

namespace {

// ---- Nodes ---------------------------------------------------------------

class TSeqStmt : public TPPStmt {
 public:
  explicit TSeqStmt(std::vector<std::unique_ptr<TPPStmt>> parts) : m_parts(std::move(parts)) {}
  void Exec(TPPRuntime& rt) override {
    for (auto& p : m_parts) {
      if (rt.flow) return;
      rt.CheckAborted();
      p->Exec(rt);
    }
  }

 private:
  std::vector<std::unique_ptr<TPPStmt>> m_parts;
};

class TCallStmt : public TPPStmt {
 public:
  explicit TCallStmt(std::unique_ptr<TPPCall> call) : m_call(std::move(call)) {}
  void Exec(TPPRuntime& rt) override { m_call->Invoke(rt, m_result); }

 private:
  std::unique_ptr<TPPCall> m_call;
  TPPValue m_result;
};

class TFlagStmt : public TPPStmt {
 public:
  explicit TFlagStmt(uint8_t flag) : m_flag(flag) {}
  void Exec(TPPRuntime& rt) override { rt.flow |= m_flag; }

 private:
  uint8_t m_flag;
};

class TBlockStmt : public TPPStmt {
 public:
  TBlockStmt(TTokenPtr begin, TTokenPtr end) : m_body(begin, end) {}
  void Exec(TPPRuntime& rt) override { m_body.Exec(rt); }

 private:
  TStmtList m_body;
};

void EndLoop(TPPRuntime& rt) { rt.flow &= static_cast<uint8_t>(~(kFlowBreak | kFlowContinue)); }
bool LeavesLoop(const TPPRuntime& rt) { return (rt.flow & (kFlowBreak | kFlowExit)) != 0; }

class TIfStmt : public TPPStmt {
 public:
  TIfStmt(TIntUnit cond, std::unique_ptr<TStmtList> thenBody, std::unique_ptr<TStmtList> elseBody)
      : m_cond(std::move(cond)), m_then(std::move(thenBody)), m_else(std::move(elseBody)) {}
  void Exec(TPPRuntime& rt) override {
    if (m_cond.Get(rt).Eval(rt) != 0) m_then->Exec(rt);
    else if (m_else) m_else->Exec(rt);
  }

 private:
  TIntUnit m_cond;
  std::unique_ptr<TStmtList> m_then;
  std::unique_ptr<TStmtList> m_else;
};

class TWhileStmt : public TPPStmt {
 public:
  TWhileStmt(TIntUnit cond, TTokenPtr begin, TTokenPtr end) : m_cond(std::move(cond)), m_body(begin, end) {}
  void Exec(TPPRuntime& rt) override {
    for (;;) {
      rt.CheckAborted();
      rt.Step();
      if (m_cond.Get(rt).Eval(rt) == 0) break;
      rt.flow &= static_cast<uint8_t>(~kFlowContinue);
      m_body.Exec(rt);
      if (LeavesLoop(rt)) break;
    }
    EndLoop(rt);
  }

 private:
  TIntUnit m_cond;
  TStmtList m_body;
};

class TRepeatStmt : public TPPStmt {
 public:
  TRepeatStmt(TIntUnit cond, TTokenPtr begin, TTokenPtr end) : m_cond(std::move(cond)), m_body(begin, end) {}
  void Exec(TPPRuntime& rt) override {
    for (;;) {
      rt.CheckAborted();
      rt.Step();
      rt.flow &= static_cast<uint8_t>(~kFlowContinue);
      m_body.Exec(rt);
      if (LeavesLoop(rt)) break;
      if (m_cond.Get(rt).Eval(rt) != 0) break;
    }
    EndLoop(rt);
  }

 private:
  TIntUnit m_cond;
  TStmtList m_body;
};

class TForStmt : public TPPStmt {
 public:
  TForStmt(TPPVariable& var, std::unique_ptr<TPPStmt> init, TIntUnit limit, bool down, TTokenPtr begin, TTokenPtr end)
      : m_var(var), m_init(std::move(init)), m_limit(std::move(limit)), m_down(down), m_body(begin, end) {}
  void Exec(TPPRuntime& rt) override {
    m_init->Exec(rt);
    const int64_t start = m_var.intValue;
    const int64_t limit = m_limit.Get(rt).Eval(rt);
    // 64-bit passes: a loop up to 2147483647 ends instead of wrapping around.
    const int64_t step = m_down ? -1 : 1;
    for (int64_t v = start; m_down ? v >= limit : v <= limit; v += step) {
      rt.CheckAborted();
      rt.Step();
      m_var.intValue = static_cast<int32_t>(v);
      rt.flow &= static_cast<uint8_t>(~kFlowContinue);
      m_body.Exec(rt);
      if (LeavesLoop(rt)) break;
    }
    EndLoop(rt);
  }

 private:
  TPPVariable& m_var;
  std::unique_ptr<TPPStmt> m_init;
  TIntUnit m_limit;
  bool m_down;
  TStmtList m_body;
};

struct TCaseLabel {
  TIntUnit low;
  std::unique_ptr<TIntUnit> high;  // set for a range low .. high
};

struct TCaseBranch {
  std::vector<TCaseLabel> labels;
  std::unique_ptr<TStmtList> body;
};

class TCaseStmt : public TPPStmt {
 public:
  TCaseStmt(TIntUnit selector, std::vector<TCaseBranch> branches, std::string trailingError,
            std::unique_ptr<TStmtList> elseBody)
      : m_selector(std::move(selector)),
        m_branches(std::move(branches)),
        m_trailingError(std::move(trailingError)),
        m_else(std::move(elseBody)) {}
  void Exec(TPPRuntime& rt) override {
    const int32_t sel = m_selector.Get(rt).Eval(rt);
    bool matched = false;
    for (TCaseBranch& b : m_branches) {
      if (!Matches(rt, b, sel)) continue;
      matched = true;
      b.body->Exec(rt);
      if (rt.flow) return;
    }
    if (!m_trailingError.empty()) rt.Fail(m_trailingError);
    if (!matched && m_else) m_else->Exec(rt);
  }

 private:
  static bool Matches(TPPRuntime& rt, TCaseBranch& b, int32_t sel) {
    for (TCaseLabel& l : b.labels) {
      const int32_t low = l.low.Get(rt).Eval(rt);
      if (!l.high) {
        if (low == sel) return true;
      } else if (low <= sel && sel <= l.high->Get(rt).Eval(rt)) {
        return true;
      }
    }
    return false;
  }

  TIntUnit m_selector;
  std::vector<TCaseBranch> m_branches;
  std::string m_trailingError;
  std::unique_ptr<TStmtList> m_else;
};

// ---- Cutting -------------------------------------------------------------

// The first token in [from, end) that is the word, or null.
TTokenPtr FindWord(TTokenPtr from, TTokenPtr end, std::string_view upper) {
  for (TTokenPtr p = from; p < end; ++p)
    if (IsWord(*p, upper)) return p;
  return nullptr;
}

TTokenPtr FindSymbol(TTokenPtr from, TTokenPtr end, std::string_view text) {
  for (TTokenPtr p = from; p < end; ++p)
    if (IsSymbol(*p, text)) return p;
  return nullptr;
}

// The token that closes the block opened at `opener`, when it is `closer`.
TTokenPtr FindCloser(TTokenPtr opener, TTokenPtr end, std::string_view closer) {
  int depth = 0;
  for (TTokenPtr p = opener; p < end; ++p) {
    depth += BlockDelta(*p);
    if (depth == 0) return IsWord(*p, closer) ? p : nullptr;
  }
  return nullptr;
}

struct TBody {
  TTokenPtr begin = nullptr;
  TTokenPtr end = nullptr;
  TTokenPtr next = nullptr;  // where the statement goes on
  bool ok = false;
};

TBody ExtractBody(TTokenPtr p, TTokenPtr end) {
  if (p >= end) return {};
  if (IsWord(*p, "BEGIN")) {
    TTokenPtr close = FindCloser(p, end, "END");
    if (!close) return {};
    return {p + 1, close, close + 1, true};
  }
  int depth = 0;
  bool sawIf = false;
  TTokenPtr q = p;
  for (; q < end; ++q) {
    if (depth == 0) {
      if (IsSymbol(*q, ";")) break;
      if (IsWord(*q, "ELSE") && !sawIf) break;
      if (IsWord(*q, "IF")) sawIf = true;
    }
    const int d = BlockDelta(*q);
    if (d < 0 && depth == 0) break;
    depth += d;
  }
  if (q == p) return {};
  return {p, q, q, true};
}

std::unique_ptr<TPPStmt> Error(const std::string& templ, std::string_view word, bool& stop) {
  stop = true;
  return std::make_unique<TPPErrorStmt>(MacroMessage(templ, word));
}

std::unique_ptr<TStmtList> List(const TBody& b) { return std::make_unique<TStmtList>(b.begin, b.end); }

// IF cond THEN body [ELSE body]
std::unique_ptr<TPPStmt> CompileIf(TTokenPtr& p, TTokenPtr end, bool& stop) {
  TTokenPtr then = FindWord(p + 1, end, "THEN");
  if (!then) return Error(TextPPSyntaxError(), "if", stop);
  const TBody body = ExtractBody(then + 1, end);
  if (!body.ok) return Error(TextPPSyntaxError(), "if", stop);
  TTokenPtr q = body.next;
  std::unique_ptr<TStmtList> elseList;
  if (q < end && IsWord(*q, "ELSE")) {
    const TBody elseBody = ExtractBody(q + 1, end);
    if (!elseBody.ok) return Error(TextPPSyntaxError(), "if", stop);
    elseList = List(elseBody);
    q = elseBody.next;
  }
  auto stmt = std::make_unique<TIfStmt>(TIntUnit(p + 1, then), List(body), std::move(elseList));
  p = q;
  return stmt;
}

// WHILE cond DO body
std::unique_ptr<TPPStmt> CompileWhile(TTokenPtr& p, TTokenPtr end, bool& stop) {
  TTokenPtr doWord = FindWord(p + 1, end, "DO");
  if (!doWord) return Error(TextPPSyntaxError(), "while", stop);
  const TBody body = ExtractBody(doWord + 1, end);
  if (!body.ok) return Error(TextPPSyntaxError(), "while", stop);
  auto stmt = std::make_unique<TWhileStmt>(TIntUnit(p + 1, doWord), body.begin, body.end);
  p = body.next;
  return stmt;
}

// REPEAT body UNTIL cond
std::unique_ptr<TPPStmt> CompileRepeat(TTokenPtr& p, TTokenPtr end, bool& stop) {
  TTokenPtr until = FindCloser(p, end, "UNTIL");
  if (!until) return Error(TextPPSyntaxError(), "repeat", stop);
  TTokenPtr condEnd = FindSymbol(until + 1, end, ";");
  if (!condEnd) condEnd = end;
  auto stmt = std::make_unique<TRepeatStmt>(TIntUnit(until + 1, condEnd), p + 1, until);
  p = condEnd;
  return stmt;
}

// FOR var := first TO|DOWNTO last DO body
std::unique_ptr<TPPStmt> CompileFor(TPPRuntime& rt, TTokenPtr& p, TTokenPtr end, bool& stop) {
  TPPVariable* var = nullptr;
  if (p + 1 < end && p[1].kind == kPPIdentifier) var = rt.FindVariable(p[1].upper);
  if (!var || var->type != TPPType::Integer || var->readOnly) return Error(TextPPSyntaxError(), "for", stop);
  TTokenPtr to = p + 1;
  while (to < end && !IsWord(*to, "TO") && !IsWord(*to, "DOWNTO")) ++to;
  if (to == end || !FindSymbol(p + 1, to, ":=")) return Error(TextPPSyntaxError(), "for", stop);
  TTokenPtr doWord = FindWord(to + 1, end, "DO");
  if (!doWord) return Error(TextPPSyntaxError(), "for", stop);
  const TBody body = ExtractBody(doWord + 1, end);
  if (!body.ok) return Error(TextPPSyntaxError(), "for", stop);
  auto stmt = std::make_unique<TForStmt>(*var, CompileStatement(rt, p + 1, to), TIntUnit(to + 1, doWord),
                                         IsWord(*to, "DOWNTO"), body.begin, body.end);
  p = body.next;
  return stmt;
}

std::vector<TCaseLabel> CaseLabels(TTokenPtr begin, TTokenPtr end) {
  std::vector<TCaseLabel> labels;
  auto add = [&](TTokenPtr b, TTokenPtr e) {
    int depth = 0;
    for (TTokenPtr q = b; q < e; ++q) {
      if (IsSymbol(*q, "(")) ++depth;
      else if (IsSymbol(*q, ")")) --depth;
      else if (depth == 0 && IsSymbol(*q, "..")) {
        labels.push_back({TIntUnit(b, q), std::make_unique<TIntUnit>(q + 1, e)});
        return;
      }
    }
    labels.push_back({TIntUnit(b, e), nullptr});
  };
  TTokenPtr start = begin;
  int depth = 0;
  for (TTokenPtr q = begin; q < end; ++q) {
    if (IsSymbol(*q, "(")) ++depth;
    else if (IsSymbol(*q, ")")) --depth;
    else if (depth == 0 && IsSymbol(*q, ",")) {
      add(start, q);
      start = q + 1;
    }
  }
  add(start, end);
  return labels;
}

// CASE sel OF labels: body; ... [ELSE body] END
std::unique_ptr<TPPStmt> CompileCase(TTokenPtr& p, TTokenPtr end, bool& stop) {
  TTokenPtr of = FindWord(p + 1, end, "OF");
  if (!of) return Error(TextPPNoOf(), "case", stop);
  std::vector<TCaseBranch> branches;
  std::string trailing;
  std::unique_ptr<TStmtList> elseList;
  TTokenPtr q = of + 1;
  for (;;) {
    if (q >= end) {
      trailing = MacroMessage(TextPPNoEnd(), "case");
      break;
    }
    if (IsSymbol(*q, ";")) {
      ++q;
      continue;
    }
    if (IsWord(*q, "END")) {
      ++q;
      break;
    }
    if (IsWord(*q, "ELSE")) {
      TTokenPtr close = q + 1;
      for (int depth = 0; close < end; ++close) {
        if (depth == 0 && IsWord(*close, "END")) break;
        depth += BlockDelta(*close);
      }
      if (close == end) {
        trailing = MacroMessage(TextPPNoEnd(), "case");
        break;
      }
      elseList = std::make_unique<TStmtList>(q + 1, close);
      q = close + 1;
      break;
    }
    TTokenPtr colon = FindSymbol(q, end, ":");
    if (!colon) {
      trailing = MacroMessage(TextPPBadExpression(), "case");
      break;
    }
    TBody body = ExtractBody(colon + 1, end);
    if (!body.ok) {
      if (colon + 1 < end && IsWord(colon[1], "BEGIN")) {
        trailing = MacroMessage(TextPPNoEnd(), "case");
        break;
      }
      body = {colon + 1, colon + 1, colon + 1, true};
    }
    branches.push_back({CaseLabels(q, colon), List(body)});
    q = body.next;
  }
  if (!trailing.empty()) stop = true;
  auto stmt = std::make_unique<TCaseStmt>(TIntUnit(p + 1, of), std::move(branches), std::move(trailing),
                                          std::move(elseList));
  p = q;
  return stmt;
}

// One statement at p; p moves past it. `stop` ends the statement text (an error).
std::unique_ptr<TPPStmt> CompileOne(TPPRuntime& rt, TTokenPtr& p, TTokenPtr end, bool& stop) {
  const TPPToken& t = *p;
  if (t.kind != kPPIdentifier) return Error(TextPPSyntaxError(), t.text, stop);
  const TPPRoutine* routine = rt.FindProcedure(t.upper);
  if (!routine) routine = rt.FindFunction(t.upper);
  if (routine) return std::make_unique<TCallStmt>(CompileCall(rt, *routine, p, end, stop));
  if (TPPVariable* var = rt.FindVariable(t.upper)) {
    if (var->readOnly) return Error(TextPPReadOnly(), t.text, stop);
    if (p + 1 >= end || !IsSymbol(p[1], ":=")) return Error(TextPPSyntaxError(), p + 1 < end ? p[1].text : "", stop);
    auto stmt = CompileAssignment(rt, *var, p + 2, end);
    p = end;
    return stmt;
  }
  if (t.upper == "BEGIN") {
    TTokenPtr close = FindCloser(p, end, "END");
    if (!close) return Error(TextPPNoEnd(), "begin", stop);
    auto stmt = std::make_unique<TBlockStmt>(p + 1, close);
    p = close + 1;
    return stmt;
  }
  if (t.upper == "IF") return CompileIf(p, end, stop);
  if (t.upper == "WHILE") return CompileWhile(p, end, stop);
  if (t.upper == "REPEAT") return CompileRepeat(p, end, stop);
  if (t.upper == "FOR") return CompileFor(rt, p, end, stop);
  if (t.upper == "CASE") return CompileCase(p, end, stop);
  const uint8_t flag = t.upper == "BREAK" ? kFlowBreak : t.upper == "CONTINUE" ? kFlowContinue : t.upper == "EXIT" ? kFlowExit : 0;
  if (flag) {
    ++p;
    return std::make_unique<TFlagStmt>(flag);
  }
  return Error(TextPPSyntaxError(), t.text, stop);
}

}  // namespace

std::unique_ptr<TPPStmt> CompileStatement(TPPRuntime& rt, TTokenPtr begin, TTokenPtr end) {
  std::vector<std::unique_ptr<TPPStmt>> parts;
  bool stop = false;
  for (TTokenPtr p = begin; p < end && !stop;) {
    if (IsSymbol(*p, ";")) {
      ++p;
      continue;
    }
    parts.push_back(CompileOne(rt, p, end, stop));
  }
  if (parts.size() == 1) return std::move(parts.front());
  return std::make_unique<TSeqStmt>(std::move(parts));
}

}  // namespace nuv
