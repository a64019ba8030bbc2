// Shared pieces of the macro tests: an interpreter with an output procedure,
// a scripted message loop and scripted dialogs.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "base/Codec.h"
#include "base/Error.h"
#include "macro/MacroPlatform.h"
#include "macro/PoorPascal.h"
#include "support/TempDir.h"

namespace nuv::test {

// A message loop that counts its calls and runs a hook on each.
class TCountingLoop : public IMacroMessageLoop {
 public:
  void ProcessMessages() override {
    ++pumps;
    if (onPump) onPump(pumps);
  }
  void Wait(int ms) override { waited += ms; }
  int pumps = 0;
  long waited = 0;
  std::function<void(int)> onPump;
};

// Dialogs that answer from a script and record what they showed.
class TScriptedDialogs : public IMacroDialogs {
 public:
  struct TAnswer {
    TInputBoxResult result;
    std::string text;
  };
  TInputBoxResult InputBox(const std::string& caption, const std::string& prompt, std::string& value) override {
    asked.push_back(caption + "|" + prompt + "|" + value);
    if (answers.empty()) return TInputBoxResult::Unavailable;
    const TAnswer a = answers.front();
    answers.pop_front();
    if (a.result == TInputBoxResult::Ok) value = a.text;
    return a.result;
  }
  int MessageBox(const std::string& text, const std::string& caption, int flags) override {
    boxes.push_back(caption + "|" + text + "|" + std::to_string(flags));
    return boxResult;
  }
  std::deque<TAnswer> answers;
  std::vector<std::string> asked, boxes;
  int boxResult = kIdOk;
};

// An interpreter with "procedure Out(S:String);" that collects its output
// as "S|" pieces, and a host integer variable x.
class TMacroFixture {
 public:
  TMacroFixture() {
    pp.DeclarePrototype().push_back("procedure Out(S:String);");
    pp.Events().ProcParam = [this](const std::string& name, int, const TArgumentList& a, int& errCd) {
      if (name == "OUT") out += TPoorPascal::GetValue(a, 0).StrValue + "|";
      else errCd = -1;
    };
    pp.AddIntVar("x", 0, false);
  }
  // Runs a program; "" when it ends normally, else the error text as UTF-8.
  std::string RunMacro(std::string_view program) {
    pp.SetSourceText(program);
    try {
      pp.Execute();
      return std::string();
    } catch (const ENuvError& e) {
      return Cp932ToUtf8(e.Message());
    }
  }
  template <class F>
  static std::string ErrorOf(F&& f) {
    try {
      f();
      return std::string();
    } catch (const ENuvError& e) {
      return Cp932ToUtf8(e.Message());
    }
  }

  TPoorPascal pp;
  std::string out;
};

}  // namespace nuv::test
