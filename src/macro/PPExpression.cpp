// Typed expressions: the recursive-descent parser that compiles integer, real
// and string expression texts, and the nodes it builds.
//
// Grammar, lowest precedence first (integer; real and string are alike):
//   relation := additive { ("=" | "<>" | "<" | "<=" | ">" | ">=") additive }
//   additive := term { ("+" | "-" | OR | XOR) term }
//   term     := [NOT] factor { ("*" | DIV | MOD | AND | SHL | SHR) factor }
//   factor   := "(" typed-relation ")" | "+" term | "-" term | literal
//             | variable | function-call
// A typed relation takes its type from its first token: a string literal,
// string variable or string function makes it a string relation, a real one
// a real relation, anything else an integer relation; the value is then
// converted. Operator chains are kept flat so evaluation never recurses
// deeper than the parentheses and unary operators of the text.
#include <cmath>
#include <utility>

#include "macro/MacroTexts.h"
#include "macro/PPCall.h"
#include "macro/PPConvert.h"

namespace nuv {

namespace {

const TPPToken kEndToken{};

enum class TOp : uint8_t { Add, Sub, Or, Xor, Mul, Div, Mod, And, Shl, Shr, Divide, Eq, Ne, Lt, Le, Gt, Ge };

template <class T>
bool Compare(TOp op, const T& a, const T& b) {
  switch (op) {
    case TOp::Eq: return a == b;
    case TOp::Ne: return a != b;
    case TOp::Lt: return a < b;
    case TOp::Le: return a <= b;
    case TOp::Gt: return a > b;
    default: return a >= b;
  }
}

// ---- Errors --------------------------------------------------------------

template <class TBase>
using TValueOf = decltype(std::declval<TBase&>().Eval(std::declval<TPPRuntime&>()));

// Evaluates what came before the fault (when anything did), then raises.
template <class TBase>
class TErrorNode : public TBase {
 public:
  TErrorNode(std::unique_ptr<TBase> before, std::string message) : m_before(std::move(before)), m_message(std::move(message)) {}
  TValueOf<TBase> Eval(TPPRuntime& rt) override {
    if (m_before) m_before->Eval(rt);
    rt.Fail(m_message);
  }

 private:
  std::unique_ptr<TBase> m_before;
  std::string m_message;
};

template <>
class TErrorNode<TStrExpr> : public TStrExpr {
 public:
  TErrorNode(std::unique_ptr<TStrExpr> before, std::string message) : m_before(std::move(before)), m_message(std::move(message)) {}
  void Eval(TPPRuntime& rt, std::string&) override {
    if (m_before) {
      std::string ignored;
      m_before->Eval(rt, ignored);
    }
    rt.Fail(m_message);
  }

 private:
  std::unique_ptr<TStrExpr> m_before;
  std::string m_message;
};

// An operand followed by (operator, operand) pairs, applied left to right.
template <class TBase, TValueOf<TBase> (*Apply)(TPPRuntime&, TOp, TValueOf<TBase>, TValueOf<TBase>)>
class TChain : public TBase {
 public:
  explicit TChain(std::unique_ptr<TBase> first) : m_first(std::move(first)) {}
  void Add(TOp op, std::unique_ptr<TBase> e) { m_rest.emplace_back(op, std::move(e)); }
  bool Single() const { return m_rest.empty(); }
  std::unique_ptr<TBase> TakeFirst() { return std::move(m_first); }
  TValueOf<TBase> Eval(TPPRuntime& rt) override {
    TValueOf<TBase> v = m_first->Eval(rt);
    for (auto& [op, e] : m_rest) v = Apply(rt, op, v, e->Eval(rt));
    return v;
  }

 private:
  std::unique_ptr<TBase> m_first;
  std::vector<std::pair<TOp, std::unique_ptr<TBase>>> m_rest;
};

// ---- Integer nodes -------------------------------------------------------

class TIntConst : public TIntExpr {
 public:
  explicit TIntConst(int32_t v) : m_v(v) {}
  int32_t Eval(TPPRuntime&) override { return m_v; }

 private:
  int32_t m_v;
};

class TIntVarRead : public TIntExpr {
 public:
  explicit TIntVarRead(const TPPVariable& v) : m_v(v) {}
  int32_t Eval(TPPRuntime&) override { return m_v.intValue; }

 private:
  const TPPVariable& m_v;
};

class TIntObjRead : public TIntExpr {
 public:
  explicit TIntObjRead(const TPPVariable& v) : m_v(v) {}
  int32_t Eval(TPPRuntime& rt) override { return rt.ObjGet(m_v, m_v.intValue); }

 private:
  const TPPVariable& m_v;
};

class TIntUnary : public TIntExpr {
 public:
  TIntUnary(std::unique_ptr<TIntExpr> a, bool complement) : m_a(std::move(a)), m_complement(complement) {}
  int32_t Eval(TPPRuntime& rt) override {
    const uint32_t v = static_cast<uint32_t>(m_a->Eval(rt));
    return static_cast<int32_t>(m_complement ? ~v : 0u - v);
  }

 private:
  std::unique_ptr<TIntExpr> m_a;
  bool m_complement;
};

int32_t ApplyInt(TPPRuntime& rt, TOp op, int32_t a, int32_t b) {
  const uint32_t ua = static_cast<uint32_t>(a), ub = static_cast<uint32_t>(b);
  switch (op) {
    case TOp::Add: return static_cast<int32_t>(ua + ub);
    case TOp::Sub: return static_cast<int32_t>(ua - ub);
    case TOp::Mul: return static_cast<int32_t>(ua * ub);
    case TOp::Or: return a | b;
    case TOp::Xor: return a ^ b;
    case TOp::And: return a & b;
    case TOp::Shl: return static_cast<int32_t>(ua << (ub & 31));
    case TOp::Shr: return static_cast<int32_t>(ua >> (ub & 31));
    case TOp::Div:
    case TOp::Mod:
      if (b == 0) rt.Fail(TextPPIntDivByZero());
      // The one quotient that does not fit wraps, as Free Pascal's does.
      if (b == -1) return op == TOp::Div ? static_cast<int32_t>(0u - ua) : 0;
      return op == TOp::Div ? a / b : a % b;
    default: return Compare(op, a, b) ? -1 : 0;
  }
}

using TIntChain = TChain<TIntExpr, ApplyInt>;


// ---- Real nodes ----------------------------------------------------------

class TRealConst : public TRealExpr {
 public:
  explicit TRealConst(double v) : m_v(v) {}
  double Eval(TPPRuntime&) override { return m_v; }

 private:
  double m_v;
};

class TRealVarRead : public TRealExpr {
 public:
  explicit TRealVarRead(const TPPVariable& v) : m_v(v) {}
  double Eval(TPPRuntime& rt) override {
    if (m_v.type == TPPType::Integer) return m_v.object ? rt.ObjGet(m_v, m_v.intValue) : m_v.intValue;
    return m_v.object ? rt.ObjGet(m_v, m_v.realValue) : m_v.realValue;
  }

 private:
  const TPPVariable& m_v;
};

class TRealNeg : public TRealExpr {
 public:
  explicit TRealNeg(std::unique_ptr<TRealExpr> a) : m_a(std::move(a)) {}
  double Eval(TPPRuntime& rt) override { return -m_a->Eval(rt); }

 private:
  std::unique_ptr<TRealExpr> m_a;
};

double ApplyReal(TPPRuntime& rt, TOp op, double a, double b) {
  double r = 0;
  switch (op) {
    case TOp::Add: r = a + b; break;
    case TOp::Sub: r = a - b; break;
    case TOp::Mul: r = a * b; break;
    case TOp::Divide:
      if (b == 0) rt.Fail(a == 0 || std::isnan(a) ? TextPPInvalidFloat() : TextPPRealDivByZero());
      r = a / b;
      break;
    default: return Compare(op, a, b) ? -1.0 : 0.0;
  }
  if (std::isnan(r)) rt.Fail(TextPPInvalidFloat());
  if (std::isinf(r)) rt.Fail(TextPPFloatOverflow());
  return r;
}

using TRealChain = TChain<TRealExpr, ApplyReal>;


// ---- String nodes --------------------------------------------------------

class TStrConst : public TStrExpr {
 public:
  explicit TStrConst(std::string v) : m_v(std::move(v)) {}
  void Eval(TPPRuntime&, std::string& out) override { out += m_v; }

 private:
  std::string m_v;
};

class TStrVarRead : public TStrExpr {
 public:
  explicit TStrVarRead(const TPPVariable& v) : m_v(v) {}
  void Eval(TPPRuntime& rt, std::string& out) override {
    if (!m_v.object) {
      out += m_v.strValue;
      return;
    }
    std::string value = m_v.strValue;
    rt.ObjGet(m_v, value);
    out += value;
  }
  const TPPVariable& Variable() const { return m_v; }

 private:
  const TPPVariable& m_v;
};

class TStrConcat : public TStrExpr {
 public:
  void Add(std::unique_ptr<TStrExpr> e) { m_parts.push_back(std::move(e)); }
  std::vector<std::unique_ptr<TStrExpr>>& Parts() { return m_parts; }
  void Eval(TPPRuntime& rt, std::string& out) override {
    for (auto& p : m_parts) {
      p->Eval(rt, out);
      rt.CheckLength(out.size());
    }
  }

 private:
  std::vector<std::unique_ptr<TStrExpr>> m_parts;
};

class TStrRelation : public TStrExpr {
 public:
  explicit TStrRelation(std::unique_ptr<TStrExpr> first) : m_first(std::move(first)) {}
  void Add(TOp op, std::unique_ptr<TStrExpr> e) { m_rest.emplace_back(op, std::move(e)); }
  void Eval(TPPRuntime& rt, std::string& out) override {
    std::string left;
    m_first->Eval(rt, left);
    for (auto& [op, e] : m_rest) {
      std::string right;
      e->Eval(rt, right);
      left = Compare(op, left, right) ? "-1" : "0";
    }
    out += left;
  }

 private:
  std::unique_ptr<TStrExpr> m_first;
  std::vector<std::pair<TOp, std::unique_ptr<TStrExpr>>> m_rest;
};

// ---- Conversions and calls -----------------------------------------------

class TIntFromReal : public TIntExpr {
 public:
  explicit TIntFromReal(std::unique_ptr<TRealExpr> a) : m_a(std::move(a)) {}
  int32_t Eval(TPPRuntime& rt) override {
    int32_t out = 0;
    if (!PPTruncToInt32(m_a->Eval(rt), out)) rt.Fail(TextPPInvalidFloat());
    return out;
  }

 private:
  std::unique_ptr<TRealExpr> m_a;
};

class TIntFromStr : public TIntExpr {
 public:
  explicit TIntFromStr(std::unique_ptr<TStrExpr> a) : m_a(std::move(a)) {}
  int32_t Eval(TPPRuntime& rt) override {
    std::string s;
    m_a->Eval(rt, s);
    int64_t v = 0;
    return PPStrToInt64(s, v) ? PPWrap32(v) : -1;
  }

 private:
  std::unique_ptr<TStrExpr> m_a;
};

class TRealFromInt : public TRealExpr {
 public:
  explicit TRealFromInt(std::unique_ptr<TIntExpr> a) : m_a(std::move(a)) {}
  double Eval(TPPRuntime& rt) override { return m_a->Eval(rt); }

 private:
  std::unique_ptr<TIntExpr> m_a;
};

class TRealFromStr : public TRealExpr {
 public:
  explicit TRealFromStr(std::unique_ptr<TStrExpr> a) : m_a(std::move(a)) {}
  double Eval(TPPRuntime& rt) override {
    std::string s;
    m_a->Eval(rt, s);
    double v = 0;
    return PPStrToFloat(s, v) ? v : 0;
  }

 private:
  std::unique_ptr<TStrExpr> m_a;
};

class TIntCall : public TIntExpr {
 public:
  explicit TIntCall(std::unique_ptr<TPPCall> call) : m_call(std::move(call)) {}
  int32_t Eval(TPPRuntime& rt) override {
    m_call->Invoke(rt, m_result);
    return m_result.i;
  }

 private:
  std::unique_ptr<TPPCall> m_call;
  TPPValue m_result;
};

class TRealCall : public TRealExpr {
 public:
  explicit TRealCall(std::unique_ptr<TPPCall> call) : m_call(std::move(call)) {}
  double Eval(TPPRuntime& rt) override {
    m_call->Invoke(rt, m_result);
    return m_call->Routine().resultType == TPPType::Integer ? m_result.i : m_result.r;
  }

 private:
  std::unique_ptr<TPPCall> m_call;
  TPPValue m_result;
};

class TStrCall : public TStrExpr {
 public:
  explicit TStrCall(std::unique_ptr<TPPCall> call) : m_call(std::move(call)) {}
  void Eval(TPPRuntime& rt, std::string& out) override {
    m_call->Invoke(rt, m_result);
    out += m_result.s;
  }

 private:
  std::unique_ptr<TPPCall> m_call;
  TPPValue m_result;
};

// ---- Assignments ---------------------------------------------------------

class TAssignInt : public TPPStmt {
 public:
  TAssignInt(TPPVariable& v, std::unique_ptr<TIntExpr> e) : m_v(v), m_e(std::move(e)) {}
  void Exec(TPPRuntime& rt) override {
    m_v.intValue = m_e->Eval(rt);
    if (m_v.object) rt.ObjSet(m_v);
  }

 private:
  TPPVariable& m_v;
  std::unique_ptr<TIntExpr> m_e;
};

class TAssignReal : public TPPStmt {
 public:
  TAssignReal(TPPVariable& v, std::unique_ptr<TRealExpr> e) : m_v(v), m_e(std::move(e)) {}
  void Exec(TPPRuntime& rt) override {
    m_v.realValue = m_e->Eval(rt);
    if (m_v.object) rt.ObjSet(m_v);
  }

 private:
  TPPVariable& m_v;
  std::unique_ptr<TRealExpr> m_e;
};

class TAssignStr : public TPPStmt {
 public:
  TAssignStr(TPPVariable& v, std::unique_ptr<TStrExpr> e) : m_v(v), m_e(std::move(e)) {}
  void Exec(TPPRuntime& rt) override {
    // The scratch buffer takes the old value's storage, so a loop that keeps
    // assigning allocates nothing once the buffers are large enough.
    m_scratch.clear();
    m_e->Eval(rt, m_scratch);
    m_v.strValue.swap(m_scratch);
    if (m_v.object) rt.ObjSet(m_v);
  }

 private:
  TPPVariable& m_v;
  std::unique_ptr<TStrExpr> m_e;
  std::string m_scratch;
};

// s := s + a + b where a and b cannot see s: appended in place, and cut back
// when a part fails, so the variable is unchanged as if nothing was stored.
class TAppendStr : public TPPStmt {
 public:
  TAppendStr(TPPVariable& v, std::vector<std::unique_ptr<TStrExpr>> parts) : m_v(v), m_parts(std::move(parts)) {}
  void Exec(TPPRuntime& rt) override {
    const std::size_t before = m_v.strValue.size();
    try {
      for (auto& p : m_parts) {
        p->Eval(rt, m_v.strValue);
        rt.CheckLength(m_v.strValue.size());
      }
    } catch (...) {
      m_v.strValue.resize(before);
      throw;
    }
  }

 private:
  TPPVariable& m_v;
  std::vector<std::unique_ptr<TStrExpr>> m_parts;
};

// ---- The parser ----------------------------------------------------------

// What an expression reads, for the in-place append: the plain variables it
// names, and whether it runs host code (objects, host or dialog routines).
struct TTouches {
  std::vector<const TPPVariable*> reads;
  bool host = false;
};

class TExprParser {
 public:
  TExprParser(TPPRuntime& rt, TTokenPtr begin, TTokenPtr end, TTouches* touches = nullptr)
      : m_rt(rt), m_pos(begin), m_end(end), m_touches(touches) {}

  bool Failed() const { return m_failed; }
  TTokenPtr Pos() const { return m_pos; }

  std::unique_ptr<TIntExpr> IntText() { return Leftover(IntTyped()); }
  std::unique_ptr<TRealExpr> RealText() { return Leftover(RealRelation()); }
  std::unique_ptr<TStrExpr> StrText() { return Leftover(StrRelation()); }

  std::unique_ptr<TPPCall> Call(const TPPRoutine& routine);

 private:
  const TPPToken& Tok() const { return m_pos < m_end ? *m_pos : kEndToken; }

  template <class TBase>
  std::unique_ptr<TBase> Error(const std::string& templ, std::unique_ptr<TBase> before = nullptr) {
    m_failed = true;
    return std::make_unique<TErrorNode<TBase>>(std::move(before), MacroMessage(templ, Tok().text));
  }
  template <class TBase>
  std::unique_ptr<TBase> ErrorText(const std::string& message, std::unique_ptr<TBase> before) {
    m_failed = true;
    return std::make_unique<TErrorNode<TBase>>(std::move(before), message);
  }
  template <class TBase>
  std::unique_ptr<TBase> Leftover(std::unique_ptr<TBase> e) {
    if (!m_failed && m_pos < m_end) return Error<TBase>(TextPPSyntaxError(), std::move(e));
    return e;
  }
  template <class TBase>
  std::unique_ptr<TBase> CloseParen(std::unique_ptr<TBase> inner) {
    if (m_failed) return inner;
    if (!IsSymbol(Tok(), ")")) return ErrorText<TBase>(TextPPNoRightParen(), std::move(inner));
    ++m_pos;
    return inner;
  }

  TPPType FirstType() const;
  const TPPVariable* Read(const TPPVariable* v) {
    if (m_touches) {
      if (v->object) m_touches->host = true;
      m_touches->reads.push_back(v);
    }
    return v;
  }
  std::unique_ptr<TPPCall> TouchedCall(const TPPRoutine& routine) {
    auto call = Call(routine);
    if (m_touches && !call->Pure()) m_touches->host = true;
    return call;
  }
  bool RelationOp(TOp& op) const;

  std::unique_ptr<TIntExpr> IntTyped();
  std::unique_ptr<TIntExpr> IntRelation();
  std::unique_ptr<TIntExpr> IntAdditive();
  std::unique_ptr<TIntExpr> IntTerm();
  std::unique_ptr<TIntExpr> IntFactor();
  std::unique_ptr<TRealExpr> RealTyped();
  std::unique_ptr<TRealExpr> RealRelation();
  std::unique_ptr<TRealExpr> RealAdditive();
  std::unique_ptr<TRealExpr> RealTerm();
  std::unique_ptr<TRealExpr> RealFactor();
  std::unique_ptr<TStrExpr> StrRelation();
  std::unique_ptr<TStrExpr> StrConcat();
  std::unique_ptr<TStrExpr> StrFactor();

  template <class TChain, class TBase, class Next, class OpOf>
  std::unique_ptr<TBase> Chain(Next next, OpOf opOf) {
    auto chain = std::make_unique<TChain>((this->*next)());
    TOp op;
    while (!m_failed && opOf(op)) {
      ++m_pos;
      chain->Add(op, (this->*next)());
    }
    if (chain->Single()) return chain->TakeFirst();
    return chain;
  }

  TPPRuntime& m_rt;
  TTokenPtr m_pos;
  TTokenPtr m_end;
  TTouches* m_touches;
  bool m_failed = false;
};

TPPType TExprParser::FirstType() const {
  const TPPToken& t = Tok();
  if (t.kind == kPPString) return TPPType::String;
  if (t.kind == kPPReal) return TPPType::Real;
  if (t.kind == kPPIdentifier) {
    if (const TPPRoutine* f = m_rt.FindFunction(t.upper)) return f->resultType;
    if (const TPPVariable* v = m_rt.FindVariable(t.upper)) return v->type;
  }
  return TPPType::Integer;
}

bool TExprParser::RelationOp(TOp& op) const {
  const TPPToken& t = Tok();
  if (t.kind != kPPSymbol && t.kind != kPPOperator) return false;
  if (t.text == "=") op = TOp::Eq;
  else if (t.text == "<>") op = TOp::Ne;
  else if (t.text == "<") op = TOp::Lt;
  else if (t.text == "<=") op = TOp::Le;
  else if (t.text == ">") op = TOp::Gt;
  else if (t.text == ">=") op = TOp::Ge;
  else return false;
  return true;
}

// relation := additive { relop additive }
std::unique_ptr<TIntExpr> TExprParser::IntRelation() {
  return Chain<TIntChain, TIntExpr>(&TExprParser::IntAdditive, [this](TOp& op) { return RelationOp(op); });
}

// additive := term { ("+" | "-" | OR | XOR) term }
std::unique_ptr<TIntExpr> TExprParser::IntAdditive() {
  return Chain<TIntChain, TIntExpr>(&TExprParser::IntTerm, [this](TOp& op) {
    const TPPToken& t = Tok();
    if (IsSymbol(t, "+")) op = TOp::Add;
    else if (IsSymbol(t, "-")) op = TOp::Sub;
    else if (IsWord(t, "OR")) op = TOp::Or;
    else if (IsWord(t, "XOR")) op = TOp::Xor;
    else return false;
    return true;
  });
}

// term := [NOT] factor { ("*" | DIV | MOD | AND | SHL | SHR) factor }
std::unique_ptr<TIntExpr> TExprParser::IntTerm() {
  const bool complement = IsWord(Tok(), "NOT");
  if (complement) ++m_pos;
  auto first = IntFactor();
  if (complement) first = std::make_unique<TIntUnary>(std::move(first), true);
  auto chain = std::make_unique<TIntChain>(std::move(first));
  while (!m_failed) {
    const TPPToken& t = Tok();
    TOp op;
    if (IsSymbol(t, "*")) op = TOp::Mul;
    else if (IsWord(t, "DIV")) op = TOp::Div;
    else if (IsWord(t, "MOD")) op = TOp::Mod;
    else if (IsWord(t, "AND")) op = TOp::And;
    else if (IsWord(t, "SHL")) op = TOp::Shl;
    else if (IsWord(t, "SHR")) op = TOp::Shr;
    else break;
    ++m_pos;
    chain->Add(op, IntFactor());
  }
  if (chain->Single()) return chain->TakeFirst();
  return chain;
}

std::unique_ptr<TIntExpr> TExprParser::IntTyped() {
  switch (FirstType()) {
    case TPPType::String: return std::make_unique<TIntFromStr>(StrRelation());
    case TPPType::Real: return std::make_unique<TIntFromReal>(RealRelation());
    default: return IntRelation();
  }
}

std::unique_ptr<TIntExpr> TExprParser::IntFactor() {
  TPPNestingGuard guard(m_rt);
  if (guard.TooDeep()) return Error<TIntExpr>(TextPPSyntaxError());
  const TPPToken& t = Tok();
  if (IsSymbol(t, "(")) {
    ++m_pos;
    return CloseParen(IntTyped());
  }
  if (IsSymbol(t, "+")) {
    ++m_pos;
    return IntTerm();
  }
  if (IsSymbol(t, "-")) {
    ++m_pos;
    return std::make_unique<TIntUnary>(IntTerm(), false);
  }
  if (t.kind == kPPInteger) {
    int32_t v = 0;
    if (!PPIntegerLiteral(t.text, v)) return Error<TIntExpr>(TextPPSyntaxError());
    ++m_pos;
    return std::make_unique<TIntConst>(v);
  }
  if (t.kind == kPPIdentifier) {
    if (const TPPRoutine* f = m_rt.FindFunction(t.upper)) {
      if (f->resultType != TPPType::Integer) return Error<TIntExpr>(TextPPFuncTypeError());
      return std::make_unique<TIntCall>(TouchedCall(*f));
    }
    if (const TPPVariable* v = m_rt.FindVariable(t.upper)) {
      if (v->type != TPPType::Integer) return Error<TIntExpr>(TextPPVarTypeError());
      ++m_pos;
      Read(v);
      if (v->object) return std::make_unique<TIntObjRead>(*v);
      return std::make_unique<TIntVarRead>(*v);
    }
    return Error<TIntExpr>(TextPPUndefined());
  }
  return Error<TIntExpr>(TextPPSyntaxError());
}

std::unique_ptr<TRealExpr> TExprParser::RealTyped() {
  switch (FirstType()) {
    case TPPType::String: return std::make_unique<TRealFromStr>(StrRelation());
    case TPPType::Integer: return std::make_unique<TRealFromInt>(IntRelation());
    default: return RealRelation();
  }
}

std::unique_ptr<TRealExpr> TExprParser::RealRelation() {
  return Chain<TRealChain, TRealExpr>(&TExprParser::RealAdditive, [this](TOp& op) { return RelationOp(op); });
}

std::unique_ptr<TRealExpr> TExprParser::RealAdditive() {
  return Chain<TRealChain, TRealExpr>(&TExprParser::RealTerm, [this](TOp& op) {
    if (IsSymbol(Tok(), "+")) op = TOp::Add;
    else if (IsSymbol(Tok(), "-")) op = TOp::Sub;
    else return false;
    return true;
  });
}

std::unique_ptr<TRealExpr> TExprParser::RealTerm() {
  return Chain<TRealChain, TRealExpr>(&TExprParser::RealFactor, [this](TOp& op) {
    if (IsSymbol(Tok(), "*")) op = TOp::Mul;
    else if (IsSymbol(Tok(), "/")) op = TOp::Divide;
    else return false;
    return true;
  });
}

std::unique_ptr<TRealExpr> TExprParser::RealFactor() {
  TPPNestingGuard guard(m_rt);
  if (guard.TooDeep()) return Error<TRealExpr>(TextPPSyntaxError());
  const TPPToken& t = Tok();
  if (IsSymbol(t, "(")) {
    ++m_pos;
    return CloseParen(RealTyped());
  }
  if (IsSymbol(t, "+")) {
    ++m_pos;
    return RealTerm();
  }
  if (IsSymbol(t, "-")) {
    ++m_pos;
    return std::make_unique<TRealNeg>(RealTerm());
  }
  if (t.kind == kPPInteger) {
    int32_t v = 0;
    if (!PPIntegerLiteral(t.text, v)) return Error<TRealExpr>(TextPPSyntaxError());
    ++m_pos;
    return std::make_unique<TRealConst>(v);
  }
  if (t.kind == kPPReal) {
    double v = 0;
    if (!PPStrToFloat(t.text, v)) return Error<TRealExpr>(TextPPSyntaxError());
    ++m_pos;
    return std::make_unique<TRealConst>(v);
  }
  if (t.kind == kPPIdentifier) {
    if (const TPPRoutine* f = m_rt.FindFunction(t.upper)) {
      if (f->resultType == TPPType::String) return Error<TRealExpr>(TextPPFuncTypeError());
      return std::make_unique<TRealCall>(TouchedCall(*f));
    }
    if (const TPPVariable* v = m_rt.FindVariable(t.upper)) {
      if (v->type == TPPType::String) return Error<TRealExpr>(TextPPVarTypeError());
      ++m_pos;
      return std::make_unique<TRealVarRead>(*Read(v));
    }
    return Error<TRealExpr>(TextPPUndefined());
  }
  return Error<TRealExpr>(TextPPSyntaxError());
}

std::unique_ptr<TStrExpr> TExprParser::StrRelation() {
  auto first = StrConcat();
  TOp op;
  if (m_failed || !RelationOp(op)) return first;
  auto relation = std::make_unique<TStrRelation>(std::move(first));
  while (!m_failed && RelationOp(op)) {
    ++m_pos;
    relation->Add(op, StrConcat());
  }
  return relation;
}

// concatenation := factor { "+" factor | string-literal }
std::unique_ptr<TStrExpr> TExprParser::StrConcat() {
  auto first = StrFactor();
  auto more = [this] { return IsSymbol(Tok(), "+") || Tok().kind == kPPString; };
  if (m_failed || !more()) return first;
  auto concat = std::make_unique<TStrConcat>();
  concat->Add(std::move(first));
  while (!m_failed && more()) {
    if (IsSymbol(Tok(), "+")) ++m_pos;
    concat->Add(StrFactor());
  }
  return concat;
}

std::unique_ptr<TStrExpr> TExprParser::StrFactor() {
  TPPNestingGuard guard(m_rt);
  if (guard.TooDeep()) return Error<TStrExpr>(TextPPSyntaxError());
  const TPPToken& t = Tok();
  if (IsSymbol(t, "(")) {
    ++m_pos;
    return CloseParen(StrRelation());
  }
  if (t.kind == kPPString) {
    ++m_pos;
    return std::make_unique<TStrConst>(PPStringLiteral(t.text));
  }
  if (t.kind == kPPIdentifier) {
    if (const TPPRoutine* f = m_rt.FindFunction(t.upper)) {
      if (f->resultType != TPPType::String) return Error<TStrExpr>(TextPPFuncTypeError());
      return std::make_unique<TStrCall>(TouchedCall(*f));
    }
    if (const TPPVariable* v = m_rt.FindVariable(t.upper)) {
      if (v->type != TPPType::String) return Error<TStrExpr>(TextPPVarTypeError());
      ++m_pos;
      return std::make_unique<TStrVarRead>(*Read(v));
    }
    return Error<TStrExpr>(TextPPUndefined());
  }
  return Error<TStrExpr>(TextPPSyntaxError());
}

// call := name [ "(" argument { "," argument } ")" ]; each argument is the
// text up to a "," or ")" at parenthesis depth 0, read with its parameter's type.
std::unique_ptr<TPPCall> TExprParser::Call(const TPPRoutine& routine) {
  auto call = std::make_unique<TPPCall>(routine);
  ++m_pos;
  if (routine.params.empty()) return call;
  TPPNestingGuard guard(m_rt);
  if (guard.TooDeep() || !IsSymbol(Tok(), "(")) {
    call->trailingError = MacroMessage(TextPPSyntaxError(), Tok().text);
    m_failed = true;
    return call;
  }
  ++m_pos;
  for (std::size_t k = 0; k < routine.params.size(); ++k) {
    TTokenPtr argEnd = m_pos;
    for (int depth = 0; argEnd < m_end; ++argEnd) {
      if (IsSymbol(*argEnd, "(")) ++depth;
      else if (IsSymbol(*argEnd, ")") && depth-- == 0) break;
      else if (depth == 0 && IsSymbol(*argEnd, ",")) break;
    }
    TExprParser sub(m_rt, m_pos, argEnd, m_touches);
    TPPCall::TArg arg;
    switch (routine.params[k].type) {
      case TPPType::Integer: arg.i = sub.IntText(); break;
      case TPPType::Real: arg.r = sub.RealText(); break;
      case TPPType::String: arg.s = sub.StrText(); break;
    }
    call->args.push_back(std::move(arg));
    m_pos = argEnd;
    if (sub.Failed()) {
      m_failed = true;
      return call;
    }
    if (k + 1 < routine.params.size() && IsSymbol(Tok(), ",")) ++m_pos;
  }
  if (!IsSymbol(Tok(), ")")) {
    call->trailingError = MacroMessage(TextPPSyntaxError(), Tok().text);
    m_failed = true;
    return call;
  }
  ++m_pos;
  return call;
}

}  // namespace

std::unique_ptr<TIntExpr> CompileIntText(TPPRuntime& rt, TTokenPtr begin, TTokenPtr end) {
  return TExprParser(rt, begin, end).IntText();
}

std::unique_ptr<TRealExpr> CompileRealText(TPPRuntime& rt, TTokenPtr begin, TTokenPtr end) {
  return TExprParser(rt, begin, end).RealText();
}

std::unique_ptr<TStrExpr> CompileStrText(TPPRuntime& rt, TTokenPtr begin, TTokenPtr end) {
  return TExprParser(rt, begin, end).StrText();
}

std::unique_ptr<TPPCall> CompileCall(TPPRuntime& rt, const TPPRoutine& routine, TTokenPtr& pos, TTokenPtr end,
                                     bool& failed) {
  TExprParser parser(rt, pos, end);
  auto call = parser.Call(routine);
  pos = parser.Pos();
  failed = parser.Failed();
  return call;
}

std::unique_ptr<TPPStmt> CompileAssignment(TPPRuntime& rt, TPPVariable& target, TTokenPtr begin, TTokenPtr end) {
  switch (target.type) {
    case TPPType::Integer: return std::make_unique<TAssignInt>(target, CompileIntText(rt, begin, end));
    case TPPType::Real: return std::make_unique<TAssignReal>(target, CompileRealText(rt, begin, end));
    case TPPType::String: break;
  }
  TTouches touches;
  TExprParser parser(rt, begin, end, &touches);
  auto e = parser.StrText();
  // s := s + ...: the first part is the target itself and nothing else reads it.
  auto* concat = dynamic_cast<TStrConcat*>(e.get());
  if (concat && !target.object && !touches.host) {
    auto* head = dynamic_cast<TStrVarRead*>(concat->Parts().front().get());
    const bool once = std::count(touches.reads.begin(), touches.reads.end(), &target) == 1;
    if (head && &head->Variable() == &target && once) {
      std::vector<std::unique_ptr<TStrExpr>> rest;
      for (std::size_t k = 1; k < concat->Parts().size(); ++k) rest.push_back(std::move(concat->Parts()[k]));
      return std::make_unique<TAppendStr>(target, std::move(rest));
    }
  }
  return std::make_unique<TAssignStr>(target, std::move(e));
}

}  // namespace nuv
