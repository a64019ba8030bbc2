// The question before text that Shift JIS cannot hold is read into nuv: the
// one place where the user's word lets each such character become "〓".
#pragma once

#include "base/Prompts.h"
#include "base/TextEncoding.h"

namespace nuv {

// Says how many characters Shift JIS cannot hold, the first and its line, and
// asks whether to read the text with each replaced by "〓". True for Yes; No
// cancels the read.
bool AskSubstitute(IPrompts& prompts, const TUnmappable& report);

// Runs read(TSubstitution::Refuse, report); when characters cannot be held,
// asks, and on Yes runs read(TSubstitution::Substitute, report). A result of
// Unmappable means the user cancelled: the caller reads nothing and shows no
// error.
template <class TRead>
TTextFileResult ReadAskingToSubstitute(IPrompts& prompts, TRead read) {
  TUnmappable report;
  const TTextFileResult result = read(TSubstitution::Refuse, report);
  if (result != TTextFileResult::Unmappable || !AskSubstitute(prompts, report)) return result;
  return read(TSubstitution::Substitute, report);
}

// ReadTextFile with the question.
TTextFileResult ReadTextFileAsking(IPrompts& prompts, const std::string& path, TDecodedText& out);

}  // namespace nuv
