// The message boxes, as an interface the core calls and the window implements.
#pragma once

#include <string>

namespace nuv {

enum class TAnswer { Yes, No, Cancel };

class IPrompts {
 public:
  virtual ~IPrompts() = default;
  // "エラー" box with OK.
  virtual void Error(const std::string& sjisText) = 0;
  // The same box with the system's reason for a failed read or write (in
  // the locale's encoding) as its detail; boxes that cannot show one show
  // the text alone.
  virtual void ErrorWithReason(const std::string& sjisText, const std::string& reason) {
    (void)reason;
    Error(sjisText);
  }
  // "お知らせ" box with OK.
  virtual void Info(const std::string& sjisText) = 0;
  // "確認" box with Yes and No; true for Yes.
  virtual bool Question(const std::string& sjisText, bool defaultNo = false) = 0;
  // "確認" box with Yes, No and Cancel.
  virtual TAnswer QuestionCancel(const std::string& sjisText) = 0;
};

// The error box of a failed file read or write, with the system's reason
// when the failing call recorded one (LastFileError).
void ShowFileError(IPrompts& prompts, const std::string& sjisText);

// printf-style formatting of a message box text into at most 1023 bytes,
// cut without splitting a double-byte character.
std::string FormatMessageText(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace nuv
