// Wrap option values, their defaults and clamping.
#include "editor/EditorWrapOption.h"

#include <algorithm>

namespace nuv {

const std::string& TEditorWrapOption::DefaultFollowStr() {
  // "、。，．・？！゛゜ヽヾゝゞ々ー）］｝」』" then "!),.:;?]}" and the half-width "｡｣､･ｰﾞﾟ".
  static const std::string s =
      "\x81\x41\x81\x42\x81\x43\x81\x44\x81\x45\x81\x48\x81\x49\x81\x4A\x81\x4B\x81\x52"
      "\x81\x53\x81\x54\x81\x55\x81\x58\x81\x5B\x81\x6A\x81\x6E\x81\x70\x81\x76\x81\x78"
      "!),.:;?]}\xA1\xA3\xA4\xA5\xB0\xDE\xDF";
  return s;
}

const std::string& TEditorWrapOption::DefaultLeadStr() {
  // "（［｛「『" then "([{" and the half-width "｢".
  static const std::string s = "\x81\x69\x81\x6D\x81\x6F\x81\x75\x81\x77([{\xA2";
  return s;
}

const std::string& TEditorWrapOption::DefaultPunctuationStr() {
  // "、。，．" then ",." and the half-width "｡､".
  static const std::string s = "\x81\x41\x81\x42\x81\x43\x81\x44,.\xA1\xA4";
  return s;
}

TEditorWrapOption::TEditorWrapOption()
    : m_followStr(DefaultFollowStr()), m_leadStr(DefaultLeadStr()), m_punctuationStr(DefaultPunctuationStr()) {}

void TEditorWrapOption::SetWrapByte(int v) { Set(m_wrapByte, std::clamp(v, kMinWrapByte, kMaxWrapByte)); }

void TEditorWrapOption::Assign(const TEditorWrapOption& s) {
  const bool differs = m_followRetMark != s.m_followRetMark || m_followPunctuation != s.m_followPunctuation ||
                       m_followStr != s.m_followStr || m_leading != s.m_leading || m_leadStr != s.m_leadStr ||
                       m_punctuationStr != s.m_punctuationStr || m_wordBreak != s.m_wordBreak ||
                       m_wrapByte != s.m_wrapByte;
  if (!differs) return;
  BeginUpdate();
  m_followRetMark = s.m_followRetMark;
  m_followPunctuation = s.m_followPunctuation;
  m_followStr = s.m_followStr;
  m_leading = s.m_leading;
  m_leadStr = s.m_leadStr;
  m_punctuationStr = s.m_punctuationStr;
  m_wordBreak = s.m_wordBreak;
  m_wrapByte = s.m_wrapByte;
  EndUpdate();
}

}  // namespace nuv
