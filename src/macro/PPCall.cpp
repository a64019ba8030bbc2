// Routine calls: argument evaluation and the host's events.
#include "macro/PPCall.h"

#include "macro/MacroTexts.h"
#include "macro/PPConvert.h"

namespace nuv {

bool TPPCall::Pure() const {
  if (!m_routine.builtIn || !m_routine.isFunction) return false;
  switch (m_routine.index) {
    case 0x1003:  // InputBox
    case 0x2002:  // Exec
    case 0x2004:  // MessageBox
    case 0x2006:  // Shell
      return false;
    default:
      return true;
  }
}

void TPPCall::Invoke(TPPRuntime& rt, TPPValue& result) {
  const std::size_t n = m_routine.params.size();
  if (m_values.size() != n) m_values.resize(n);
  for (std::size_t k = 0; k < args.size(); ++k) {
    TPPValue& v = m_values[k];
    if (args[k].i) {
      v.i = args[k].i->Eval(rt);
    } else if (args[k].r) {
      v.r = args[k].r->Eval(rt);
    } else {
      v.s.clear();
      args[k].s->Eval(rt, v.s);
    }
  }
  if (!trailingError.empty()) rt.Fail(trailingError);
  if (args.size() != n) rt.FailWith(TextPPSyntaxError(), m_routine.name);

  if (!m_routine.builtIn) {
    InvokeHost(rt, result);
    return;
  }
  if (!PPRunBuiltIn(rt, m_routine, m_values, result))
    rt.FailWith(m_routine.isFunction ? TextPPNoBuiltInFunction() : TextPPNoBuiltInProcedure(), m_routine.name);
}

TArgumentValue PPArgumentValue(TPPType type, const TPPValue& value) {
  TArgumentValue a;
  switch (type) {
    case TPPType::Integer:
      a.IntValue = value.i;
      a.RealValue = value.i;
      a.StrValue = std::to_string(value.i);
      break;
    case TPPType::Real:
      a.IntValue = PPTruncOrZero(value.r);
      a.RealValue = value.r;
      a.StrValue = PPFloatToStr(value.r);
      break;
    case TPPType::String: {
      int64_t i = 0;
      a.IntValue = PPStrToInt64(value.s, i) ? PPWrap32(i) : 0;
      double r = 0;
      a.RealValue = PPStrToFloat(value.s, r) ? r : 0;
      a.StrValue = value.s;
      break;
    }
  }
  return a;
}

void TPPCall::InvokeHost(TPPRuntime& rt, TPPValue& result) {
  const std::size_t n = m_routine.params.size();
  m_hostArgs.resize(n);
  for (std::size_t k = 0; k < n; ++k) {
    m_hostArgs[k].Name = m_routine.params[k].name;
    m_hostArgs[k].Type = m_routine.params[k].type;
    m_hostArgs[k].Value = PPArgumentValue(m_routine.params[k].type, m_values[k]);
  }
  int errCd = 0;
  const TPoorPascalEvents& ev = rt.events;
  const std::string& name = m_routine.name;
  const int index = m_routine.index;
  if (!m_routine.isFunction) {
    if (ev.ProcParam) ev.ProcParam(name, index, m_hostArgs, errCd);
  } else {
    switch (m_routine.resultType) {
      case TPPType::Integer:
        result.i = 0;
        if (ev.IntFuncParam) ev.IntFuncParam(name, index, m_hostArgs, errCd, result.i);
        break;
      case TPPType::Real:
        result.r = 0;
        if (ev.RealFuncParam) ev.RealFuncParam(name, index, m_hostArgs, errCd, result.r);
        break;
      case TPPType::String:
        result.s.clear();
        if (ev.StrFuncParam) ev.StrFuncParam(name, index, m_hostArgs, errCd, result.s);
        break;
    }
  }
  if (errCd != 0) rt.HostError(errCd);
  rt.CheckAborted();
}

}  // namespace nuv
