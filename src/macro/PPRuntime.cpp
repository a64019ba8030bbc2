// The interpreter's tables, its routine declaration parser and the checks
// and host calls the compiled nodes share.
#include "macro/PPRuntime.h"

#include <thread>

#include "base/Error.h"
#include "macro/MacroPlatform.h"
#include "macro/MacroTexts.h"
#include "macro/PPAParser.h"
#include "macro/PPConvert.h"
#include "macro/PPNodes.h"

namespace nuv {

TPPVariable* TPPRuntime::FindVariable(std::string_view upperName) const {
  const auto it = variables.find(upperName);
  return it == variables.end() ? nullptr : it->second.get();
}

const TPPRoutine* TPPRuntime::FindProcedure(std::string_view upperName) const {
  const auto it = procedures.find(upperName);
  return it == procedures.end() ? nullptr : it->second.get();
}

const TPPRoutine* TPPRuntime::FindFunction(std::string_view upperName) const {
  const auto it = functions.find(upperName);
  return it == functions.end() ? nullptr : it->second.get();
}

void TPPRuntime::AddVariable(std::unique_ptr<TPPVariable> variable) {
  std::string key = PPUpperCase(variable->name);
  if (variables.count(key)) FailWith(TextPPDuplicateVariable(), variable->name);
  variables.emplace(std::move(key), std::move(variable));
  ++generation;
}

void TPPRuntime::DeleteVariable(std::string_view name) {
  const auto it = variables.find(PPUpperCase(name));
  if (it == variables.end()) return;
  if (active > 0) deadVariables.push_back(std::move(it->second));
  variables.erase(it);
  ++generation;
}

namespace {

const TPPToken kNoToken{};

}  // namespace

// declaration := (PROCEDURE | FUNCTION) name [ "(" group { ";" group } ")" ]
//                [ ":" type ] [ ";" INDEX number ] ";"
// group       := name { "," name } ":" type
void TPPRuntime::AddRoutine(std::string_view declaration, bool builtIn) {
  const std::string text = PPUpperCase(PPTrim(declaration));
  auto routine = std::make_unique<TPPRoutine>();
  routine->builtIn = builtIn;
  std::string_view rest;
  if (text.rfind("PROCEDURE ", 0) == 0) {
    rest = std::string_view(text).substr(10);
  } else if (text.rfind("FUNCTION ", 0) == 0) {
    rest = std::string_view(text).substr(9);
    routine->isFunction = true;
  } else {
    Fail(TextPPBadDeclaration());
  }
  if (rest.empty() || rest.back() != ';') Fail(TextPPBadDeclaration());
  rest.remove_suffix(1);

  const std::vector<TPPToken> tokens = PPTokenize(rest);
  std::size_t p = 0;
  auto tok = [&](std::size_t i) -> const TPPToken& { return i < tokens.size() ? tokens[i] : kNoToken; };
  if (tok(p).kind != kPPIdentifier) Fail(TextPPBadDeclaration());
  routine->name = tok(p++).text;
  if (FindProcedure(routine->name) || FindFunction(routine->name)) FailWith(TextPPDuplicateRoutine(), routine->name);

  if (IsSymbol(tok(p), "(")) {
    bool closed = false;
    for (const TPPToken& t : tokens) closed = closed || IsSymbol(t, ")");
    if (!closed) Fail(TextPPBadDeclaration());
    ++p;
    for (;;) {
      std::vector<std::string> names;
      for (;;) {
        if (tok(p).kind != kPPIdentifier) FailWith(TextPPSyntaxError(), tok(p).text);
        const std::string& name = tok(p++).text;
        bool repeated = std::find(names.begin(), names.end(), name) != names.end();
        for (const auto& param : routine->params) repeated = repeated || param.name == name;
        if (repeated) FailWith(TextPPDuplicateParameter(), name);
        names.push_back(name);
        if (!IsSymbol(tok(p), ",")) break;
        ++p;
      }
      if (!IsSymbol(tok(p), ":")) FailWith(TextPPSyntaxError(), tok(p).text);
      TPPType type;
      if (!PPTypeWord(tok(++p), type)) FailWith(TextPPSyntaxError(), tok(p).text);
      ++p;
      for (auto& name : names) routine->params.push_back({std::move(name), type});
      if (IsSymbol(tok(p), ";")) {
        ++p;
        continue;
      }
      if (IsSymbol(tok(p), ")")) {
        ++p;
        break;
      }
      FailWith(TextPPSyntaxError(), tok(p).text);
    }
  }
  if (routine->isFunction) {
    if (!IsSymbol(tok(p), ":") || !PPTypeWord(tok(p + 1), routine->resultType)) Fail(TextPPBadDeclaration());
    p += 2;
  }
  if (IsSymbol(tok(p), ";") && IsWord(tok(p + 1), "INDEX") && tok(p + 2).kind == kPPInteger) {
    int32_t index = 0;
    routine->index = PPStrToInt(tok(p + 2).text, index) ? index : 0;
  }
  auto& table = routine->isFunction ? functions : procedures;
  std::string key = routine->name;
  table.emplace(std::move(key), std::move(routine));
  ++generation;
}

void TPPRuntime::Fail(const std::string& sjisMessage) const { throw ENuvError(sjisMessage); }

void TPPRuntime::FailWith(const std::string& templ, std::string_view arg) const { Fail(MacroMessage(templ, arg)); }

void TPPRuntime::RaiseAborted() const { Fail(TextPPAborted()); }

void TPPRuntime::CheckLength(std::size_t length) const {
  if (length > limits.maxStringLength) Fail(TextPPStringTooLong());
}

void TPPRuntime::MaybePump() {
  if (limits.pumpIntervalMs <= 0) {
    m_pumpCountdown = 1;
    PumpNow();
    return;
  }
  // Reading the clock costs more than a short statement; look every 64 lists.
  m_pumpCountdown = 64;
  if (std::chrono::steady_clock::now() - m_lastPump >= std::chrono::milliseconds(limits.pumpIntervalMs)) PumpNow();
}

void TPPRuntime::PumpNow() {
  m_lastPump = std::chrono::steady_clock::now();
  if (platform.messageLoop) platform.messageLoop->ProcessMessages();
}

void TPPRuntime::WaitSlice(int ms) {
  if (platform.messageLoop) platform.messageLoop->Wait(ms);
  else std::this_thread::sleep_for(std::chrono::milliseconds(ms));
  PumpNow();
  CheckAborted();
  Step();
}

void TPPRuntime::HostError(int errCd) const {
  std::string message;
  if (events.ErrorProc) events.ErrorProc(errCd, message);
  Fail(message);
}

namespace {
// Reads an object through its event; the value the event leaves is used.
template <class T, class TEvent>
T ObjRead(const TPPRuntime& rt, const TEvent& event, const TPPVariable& v, T value) {
  int errCd = 0;
  if (event) event(v.name, v.index, 0, errCd, value);
  if (errCd != 0) rt.HostError(errCd);
  rt.CheckAborted();
  return value;
}
}  // namespace

int32_t TPPRuntime::ObjGet(const TPPVariable& v, int32_t value) const { return ObjRead(*this, events.IntObjParam, v, value); }
double TPPRuntime::ObjGet(const TPPVariable& v, double value) const { return ObjRead(*this, events.RealObjParam, v, value); }
void TPPRuntime::ObjGet(const TPPVariable& v, std::string& value) const {
  value = ObjRead(*this, events.StrObjParam, v, std::move(value));
}

void TPPRuntime::ObjSet(TPPVariable& v) const {
  // A set-mode error code is not reported.
  int errCd = 0;
  switch (v.type) {
    case TPPType::Integer: {
      int32_t value = v.intValue;
      if (events.IntObjParam) events.IntObjParam(v.name, v.index, 1, errCd, value);
      break;
    }
    case TPPType::Real: {
      double value = v.realValue;
      if (events.RealObjParam) events.RealObjParam(v.name, v.index, 1, errCd, value);
      break;
    }
    case TPPType::String: {
      std::string value = v.strValue;
      if (events.StrObjParam) events.StrObjParam(v.name, v.index, 1, errCd, value);
      break;
    }
  }
  CheckAborted();
}

}  // namespace nuv
