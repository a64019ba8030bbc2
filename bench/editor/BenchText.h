// Generated Shift JIS texts for the editor benchmarks: mixed Japanese and
// English lines, the same bytes on every run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace nuv::bench {

// About `bytes` bytes in lines of `lineBytes` bytes on average, CR LF breaks.
inline std::string MixedText(std::size_t bytes, std::size_t lineBytes, bool japaneseOnly = false) {
  // "日本語", "文章", "を", "書く", "。", "、", "「", "」" and a few ASCII words.
  static const char* const kJapanese[] = {"\x93\xFA\x96\x7B\x8C\xEA", "\x95\xB6\x8F\xCD", "\x82\xF0",
                                          "\x8F\x91\x82\xAD", "\x81\x42", "\x81\x41", "\x81\x75", "\x81\x76",
                                          "\x83\x65\x83\x4C\x83\x58\x83\x67", "\x95\x5C\x8E\xA6"};
  static const char* const kEnglish[] = {"the ", "outline ", "editor ", "wraps ", "text ", "quickly. "};
  std::string text;
  text.reserve(bytes + lineBytes);
  std::uint32_t seed = 12345;
  auto next = [&seed] {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 16) & 0x7FFF;
  };
  std::size_t line = 0;
  while (text.size() < bytes) {
    if (!japaneseOnly && next() % 3 == 0) {
      text += kEnglish[next() % 6];
      line += 6;
    } else {
      const char* w = kJapanese[next() % 10];
      text += w;
      line += std::char_traits<char>::length(w);
    }
    if (line >= lineBytes / 2 + next() % lineBytes) {
      text += "\r\n";
      line = 0;
    }
  }
  text += "\r\n";
  return text;
}

// One logical line of about `bytes` bytes.
inline std::string LongLine(std::size_t bytes) {
  std::string text = MixedText(bytes, bytes * 4);
  std::string line;
  line.reserve(text.size());
  for (char c : text) {
    if (c != '\r' && c != '\n') line.push_back(c);
  }
  return line;
}

}  // namespace nuv::bench
