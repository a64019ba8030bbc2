// Fuzzes the macro interpreter on random programs under a step limit: the
// first line is a host routine declaration, the rest the program. Host
// events re-enter the interpreter; dialogs and processes are fakes, and
// waits take no time, so no input can hang or touch the machine.
#include <cstddef>
#include <cstdint>
#include <string>

#include "base/Error.h"
#include "macro/MacroPlatform.h"
#include "macro/PoorPascal.h"

namespace {

using namespace nuv;

class TQuietPlatform : public IMacroMessageLoop, public IMacroDialogs, public IProcessStarter, public IDesktopOpen {
 public:
  void ProcessMessages() override {}
  void Wait(int) override {}
  TInputBoxResult InputBox(const std::string&, const std::string&, std::string& value) override {
    value += "!";
    return TInputBoxResult::Ok;
  }
  int MessageBox(const std::string&, const std::string&, int flags) override { return MessageBoxDefaultResult(flags); }
  long Start(const std::vector<std::string>&) override { return 0; }
  bool Poll(long, int& exitCode) override {
    exitCode = 0;
    return true;
  }
  void Release(long) override {}
  int Open(const std::string&, const std::string&) override { return kShellFileNotFound; }
};

template <class F>
void Guarded(F&& f) {
  try {
    f();
  } catch (const ENuvError&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::size_t nl = text.find('\n');
  const std::string declaration = nl == std::string::npos ? std::string() : text.substr(0, nl);
  const std::string program = nl == std::string::npos ? text : text.substr(nl + 1);

  TQuietPlatform platform;
  TPoorPascal pp;
  pp.SetPlatform({&platform, &platform, &platform, &platform});
  TPoorPascalLimits limits;
  limits.maxSteps = 5000;
  limits.maxStringLength = 4096;
  pp.SetLimits(limits);
  pp.AddIntVar("x", 1, false);
  pp.AddRealVar("r", 0.5, false);
  pp.AddStrVar("s", "abc", false);
  pp.AddIntObj("o", 2, false, 1);
  pp.AddStrObj("so", "obj", false, 2);
  pp.Define() = {"DEBUG"};
  pp.DeclarePrototype() = {"function H(A:integer; B:string): string;", "procedure P(R:real);", declaration};

  int depth = 0;
  TPoorPascalEvents& ev = pp.Events();
  ev.StrFuncParam = [&](const std::string&, int, const TArgumentList& a, int& errCd, std::string& result) {
    const TArgumentValue n = TPoorPascal::GetValue(a, 0);
    if (n.IntValue == 13) errCd = 13;
    // Runs the argument as statements, re-entering the running interpreter.
    if (n.IntValue == 7 && depth < 3) {
      ++depth;
      Guarded([&] { pp.BSExecute(TPoorPascal::GetValue(a, 1).StrValue); });
      --depth;
    }
    result = TPoorPascal::GetValue(a, 1).StrValue;
  };
  ev.ProcParam = [&](const std::string&, int, const TArgumentList& a, int&) {
    if (TPoorPascal::GetValue(a, 0).IntValue == 5) pp.Abort();
    if (TPoorPascal::GetValue(a, 0).IntValue == 6) pp.DeleteVar("x");
  };
  ev.IntFuncParam = [](const std::string&, int index, const TArgumentList&, int&, int32_t& result) { result = index; };
  ev.IntObjParam = [](const std::string&, int, uint8_t mode, int& errCd, int32_t& value) {
    if (mode == 0 && value == 99) errCd = 1;
  };
  ev.ErrorProc = [](int, std::string& message) { message = "error"; };
  ev.PauseProc = [&] { pp.Continue(); };

  pp.SetSourceText(program);
  Guarded([&] { pp.Execute(); });
  Guarded([&] { pp.IEExecute(program); });
  Guarded([&] { pp.REExecute(program); });
  Guarded([&] { pp.SEExecute(program); });
  Guarded([&] { pp.BSExecute(program); });
  return 0;
}
