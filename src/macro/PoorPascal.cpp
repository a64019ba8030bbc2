// TPoorPascal: runs, variables and declarations over the runtime.
#include "macro/PoorPascal.h"

#include "base/Sjis.h"
#include "macro/MacroTexts.h"
#include "macro/PPCall.h"
#include "macro/PPConvert.h"
#include "macro/PPNodes.h"
#include "macro/PPRuntime.h"

namespace nuv {

namespace {

const TPPToken kNoToken{};

// Marks an entry into the interpreter. The outermost one starts with clear
// flags and, when it returns, frees what deleted variables left behind.
class TActiveGuard {
 public:
  explicit TActiveGuard(TPPRuntime& rt) : m_rt(rt) {
    if (m_rt.active++ == 0) {
      m_rt.aborted = m_rt.paused = false;
      m_rt.flow = 0;
      m_rt.steps = 0;
    }
  }
  ~TActiveGuard() {
    if (--m_rt.active == 0) m_rt.deadVariables.clear();
  }
  TActiveGuard(const TActiveGuard&) = delete;
  TActiveGuard& operator=(const TActiveGuard&) = delete;

 private:
  TPPRuntime& m_rt;
};

class TRunningGuard {
 public:
  explicit TRunningGuard(TPPRuntime& rt) : m_rt(rt) { m_rt.running = true; }
  ~TRunningGuard() {
    m_rt.running = false;
    m_rt.paused = false;
  }
  TRunningGuard(const TRunningGuard&) = delete;
  TRunningGuard& operator=(const TRunningGuard&) = delete;

 private:
  TPPRuntime& m_rt;
};

// Every line tokenized, comments left out, tokens joined by single spaces;
// blank lines dropped.
std::string NormaliseSource(const std::vector<std::string>& source) {
  std::string out;
  for (const std::string& line : source) {
    const std::vector<TPPToken> tokens = PPTokenize(line);
    const std::string joined = PPJoinTokens(tokens.data(), tokens.data() + tokens.size());
    const std::string_view kept = PPTrimRight(joined);
    if (kept.empty()) continue;
    if (!out.empty()) out += "\r\n";
    out += kept;
  }
  return out;
}

// A statement text as the interpreter cuts it: tokens joined by spaces, read again.
std::vector<TPPToken> StatementTokens(std::string_view text) {
  const std::vector<TPPToken> raw = PPTokenize(text);
  return PPTokenize(PPJoinTokens(raw.data(), raw.data() + raw.size()));
}

}  // namespace

TPoorPascal::TPoorPascal() : m_rt(std::make_unique<TPPRuntime>(m_events, m_define)) {
  for (const std::string& declaration : PPBuiltInDeclarations()) m_rt->AddRoutine(declaration, true);
  AddIntVar("True", -1, true);
  AddIntVar("False", 0, true);
  AddStrVar("Nil", "", true);
}

TPoorPascal::~TPoorPascal() = default;

void TPoorPascal::SetSourceText(std::string_view text) { m_source = StrToStrings(text); }

void TPoorPascal::SetPlatform(const TPoorPascalPlatform& platform) { m_rt->platform = platform; }
void TPoorPascal::SetLimits(const TPoorPascalLimits& limits) { m_rt->limits = limits; }
const TPoorPascalLimits& TPoorPascal::Limits() const { return m_rt->limits; }

bool TPoorPascal::IsRunning() const { return m_rt->running; }
bool TPoorPascal::IsPaused() const { return m_rt->paused; }

void TPoorPascal::Abort() {
  if (m_rt->active == 0) return;
  m_rt->paused = false;
  m_rt->aborted = true;
}

void TPoorPascal::Continue() {
  if (m_rt->active > 0) m_rt->paused = false;
}

void TPoorPascal::Execute() {
  TPPRuntime& rt = *m_rt;
  if (rt.active > 0) return;
  TActiveGuard active(rt);

  for (auto it = rt.variables.begin(); it != rt.variables.end();)
    it = it->second->host ? std::next(it) : rt.variables.erase(it);
  for (auto* table : {&rt.procedures, &rt.functions})
    for (auto it = table->begin(); it != table->end();) it = it->second->builtIn ? std::next(it) : table->erase(it);
  ++rt.generation;
  for (const std::string& line : m_declarePrototype)
    if (!PPTrim(line).empty()) rt.AddRoutine(PPTrim(line), false);

  TRunningGuard running(rt);
  const std::vector<TPPToken> tokens = PPTokenize(NormaliseSource(m_source));
  const TTokenPtr begin = tokens.data();
  const TTokenPtr end = begin + tokens.size();
  auto tok = [&](TTokenPtr p) -> const TPPToken& { return p < end ? *p : kNoToken; };

  TTokenPtr bodyBegin = begin;
  TTokenPtr bodyEnd = end;
  if (begin < end && IsWord(*begin, "VAR")) {
    // VAR name {, name} : type ; ... BEGIN
    TTokenPtr p = begin + 1;
    while (p < end) {
      if (IsWord(*p, "BEGIN")) {
        ++p;
        break;
      }
      std::vector<std::string> names;
      for (;;) {
        if (tok(p).kind != kPPIdentifier) rt.FailWith(TextPPSyntaxError(), tok(p).text);
        names.push_back(p->text);
        if (!IsSymbol(tok(++p), ",")) break;
        ++p;
      }
      if (!IsSymbol(tok(p), ":")) rt.FailWith(TextPPSyntaxError(), tok(p).text);
      TPPType type;
      if (!PPTypeWord(tok(++p), type)) rt.FailWith(TextPPSyntaxError(), tok(p).text);
      ++p;
      for (const std::string& name : names) {
        auto v = std::make_unique<TPPVariable>();
        v->name = name;
        v->type = type;
        rt.AddVariable(std::move(v));
      }
      if (!IsSymbol(tok(p), ";")) rt.FailWith(TextPPSyntaxError(), tok(p).text);
      ++p;
    }
    bodyBegin = p;
    TTokenPtr lastEnd = nullptr;
    for (TTokenPtr q = begin; q < end; ++q)
      if (IsWord(*q, "END")) lastEnd = q;
    if (!lastEnd || lastEnd < bodyBegin) rt.FailWith(TextPPNoEnd(), "Block");
    bodyEnd = lastEnd;
  }
  TStmtList body(bodyBegin, bodyEnd);
  body.Exec(rt);
}

int32_t TPoorPascal::IEExecute(std::string_view text) {
  TActiveGuard active(*m_rt);
  const std::vector<TPPToken> tokens = PPTokenize(text);
  return CompileIntText(*m_rt, tokens.data(), tokens.data() + tokens.size())->Eval(*m_rt);
}

double TPoorPascal::REExecute(std::string_view text) {
  TActiveGuard active(*m_rt);
  const std::vector<TPPToken> tokens = PPTokenize(text);
  return CompileRealText(*m_rt, tokens.data(), tokens.data() + tokens.size())->Eval(*m_rt);
}

std::string TPoorPascal::SEExecute(std::string_view text) {
  TActiveGuard active(*m_rt);
  const std::vector<TPPToken> tokens = PPTokenize(text);
  std::string out;
  CompileStrText(*m_rt, tokens.data(), tokens.data() + tokens.size())->Eval(*m_rt, out);
  return out;
}

void TPoorPascal::BSExecute(std::string_view text) {
  TActiveGuard active(*m_rt);
  const std::vector<TPPToken> tokens = StatementTokens(text);
  TStmtList list(tokens.data(), tokens.data() + tokens.size());
  list.Exec(*m_rt);
}

namespace {
std::unique_ptr<TPPVariable> HostVariable(std::string_view name, TPPType type, bool readOnly, bool isObj, int32_t index) {
  auto v = std::make_unique<TPPVariable>();
  v->name = std::string(name);
  v->host = true;
  v->readOnly = readOnly;
  v->object = isObj;
  v->type = type;
  v->index = index;
  return v;
}
}  // namespace

void TPoorPascal::AddInt(std::string_view name, int32_t value, bool readOnly, bool isObj, int32_t index) {
  auto v = HostVariable(name, TPPType::Integer, readOnly, isObj, index);
  v->intValue = value;
  v->realValue = value;
  m_rt->AddVariable(std::move(v));
}

void TPoorPascal::AddReal(std::string_view name, double value, bool readOnly, bool isObj, int32_t index) {
  auto v = HostVariable(name, TPPType::Real, readOnly, isObj, index);
  v->realValue = value;
  m_rt->AddVariable(std::move(v));
}

void TPoorPascal::AddStr(std::string_view name, std::string_view value, bool readOnly, bool isObj, int32_t index) {
  auto v = HostVariable(name, TPPType::String, readOnly, isObj, index);
  v->strValue = std::string(value);
  m_rt->AddVariable(std::move(v));
}

int32_t TPoorPascal::GetIntVar(std::string_view name) const {
  const TPPVariable* v = m_rt->FindVariable(PPUpperCase(name));
  return v && v->type == TPPType::Integer ? v->intValue : 0;
}

double TPoorPascal::GetRealVar(std::string_view name) const {
  const TPPVariable* v = m_rt->FindVariable(PPUpperCase(name));
  return v && v->type == TPPType::Real ? v->realValue : 0;
}

std::string TPoorPascal::GetStrVar(std::string_view name) const {
  const TPPVariable* v = m_rt->FindVariable(PPUpperCase(name));
  return v && v->type == TPPType::String ? v->strValue : std::string();
}

bool TPoorPascal::SetIntVar(std::string_view name, int32_t value) {
  TPPVariable* v = m_rt->FindVariable(PPUpperCase(name));
  if (!v || !v->host || v->type != TPPType::Integer) return false;
  v->intValue = value;
  v->realValue = value;
  return true;
}

bool TPoorPascal::SetRealVar(std::string_view name, double value) {
  TPPVariable* v = m_rt->FindVariable(PPUpperCase(name));
  if (!v || !v->host || v->type != TPPType::Real) return false;
  v->realValue = value;
  return true;
}

bool TPoorPascal::SetStrVar(std::string_view name, std::string_view value) {
  TPPVariable* v = m_rt->FindVariable(PPUpperCase(name));
  if (!v || !v->host || v->type != TPPType::String) return false;
  v->strValue = std::string(value);
  return true;
}

void TPoorPascal::DeleteVar(std::string_view name) { m_rt->DeleteVariable(name); }

int TPoorPascal::GetVarType(std::string_view name) const {
  const TPPVariable* v = m_rt->FindVariable(PPUpperCase(name));
  return v ? static_cast<int>(v->type) : -1;
}

void TPoorPascal::AddFunction(std::string_view declaration, bool builtIn) { m_rt->AddRoutine(declaration, builtIn); }

TArgumentValue TPoorPascal::GetValue(const TArgumentList& argument, int i) {
  if (i < 0 || i >= static_cast<int>(argument.size())) return TArgumentValue{};
  return argument[static_cast<std::size_t>(i)].Value;
}

TArgumentValue TPoorPascal::ArgumentByName(const TArgumentList& argument, std::string_view name) {
  const std::string key = PPUpperCase(name);
  for (const TArgument& a : argument)
    if (a.Name == key) return a.Value;
  return TArgumentValue{};
}

}  // namespace nuv
