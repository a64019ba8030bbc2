// The substitution question and the text-file read that asks it.
#include "base/SubstituteQuestion.h"

#include "base/FixedText.h"

namespace nuv {

namespace texts {
NUV_FIXED_TEXT(AskSubstituteUnmappable,
               "Shift JIS で表せない文字が %zu 文字あります。\n最初の文字は %zu 行目の %s です。\n\n"
               "それぞれを「〓」に置き換えて読み込みますか？\n（「いいえ」で読み込みを中止します）")
}

bool AskSubstitute(IPrompts& prompts, const TUnmappable& report) {
  // The character itself cannot be shown in a Shift JIS message; its code
  // point names it exactly.
  const std::string text = FormatMessageText(texts::AskSubstituteUnmappable().c_str(), report.count, report.line,
                                             CodePointName(report.first).c_str());
  return prompts.Question(text, true);
}

TTextFileResult ReadTextFileAsking(IPrompts& prompts, const std::string& path, TDecodedText& out) {
  return ReadAskingToSubstitute(prompts, [&](TSubstitution substitution, TUnmappable& report) {
    const TTextFileResult result = ReadTextFile(path, substitution, out);
    report = out.unmappable;
    return result;
  });
}

}  // namespace nuv
