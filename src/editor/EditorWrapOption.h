// The wrap options of a document: row width, hanging punctuation, the
// characters that may not begin or end a row, and English word breaking.
#pragma once

#include <string>

#include "base/NotifyPersistent.h"

namespace nuv {

class TEditorWrapOption : public TNotifyPersistent {
 public:
  static constexpr int kMinWrapByte = 20;
  static constexpr int kMaxWrapByte = 250;
  // The default character sets, as Shift JIS bytes.
  static const std::string& DefaultFollowStr();
  static const std::string& DefaultLeadStr();
  static const std::string& DefaultPunctuationStr();

  TEditorWrapOption();

  bool FollowRetMark() const { return m_followRetMark; }
  void SetFollowRetMark(bool v) { Set(m_followRetMark, v); }
  bool FollowPunctuation() const { return m_followPunctuation; }
  void SetFollowPunctuation(bool v) { Set(m_followPunctuation, v); }
  const std::string& FollowStr() const { return m_followStr; }
  void SetFollowStr(const std::string& v) { Set(m_followStr, v); }
  bool Leading() const { return m_leading; }
  void SetLeading(bool v) { Set(m_leading, v); }
  const std::string& LeadStr() const { return m_leadStr; }
  void SetLeadStr(const std::string& v) { Set(m_leadStr, v); }
  const std::string& PunctuationStr() const { return m_punctuationStr; }
  void SetPunctuationStr(const std::string& v) { Set(m_punctuationStr, v); }
  bool WordBreak() const { return m_wordBreak; }
  void SetWordBreak(bool v) { Set(m_wordBreak, v); }
  int WrapByte() const { return m_wrapByte; }
  // Clamped to 20..250.
  void SetWrapByte(int v);

  // Copies all eight values and notifies once when anything differed.
  void Assign(const TEditorWrapOption& source);

 private:
  template <typename T>
  void Set(T& field, const T& value) {
    if (field == value) return;
    field = value;
    Changed();
  }

  bool m_followRetMark = false;
  bool m_followPunctuation = false;
  std::string m_followStr;
  bool m_leading = false;
  std::string m_leadStr;
  std::string m_punctuationStr;
  bool m_wordBreak = false;
  int m_wrapByte = 80;
};

}  // namespace nuv
