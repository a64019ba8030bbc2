// A flag that is set for the length of a scope, whichever way the scope ends.
#pragma once

namespace nuv {

class TScopedFlag {
 public:
  explicit TScopedFlag(bool& flag) : m_flag(flag) { m_flag = true; }
  ~TScopedFlag() { m_flag = false; }
  TScopedFlag(const TScopedFlag&) = delete;
  TScopedFlag& operator=(const TScopedFlag&) = delete;

 private:
  bool& m_flag;
};

}  // namespace nuv
