// A deterministic Japanese (Shift JIS) text for the Palm DOC benchmarks:
// sentences drawn from a vocabulary of words, kana endings and punctuation,
// with CR LF line ends, so it compresses roughly as prose does.
#pragma once

#include <random>
#include <string>
#include <vector>

#include "base/Codec.h"

namespace nuv::bench {

inline std::string JapaneseText(std::size_t size, unsigned seed = 1) {
  static const char* const kWords[] = {
      "吾輩", "猫", "名前", "人間", "書生", "種族", "記憶", "見当", "薄暗い", "所", "始めて", "一番",
      "獰悪", "掌", "顔", "毛", "装飾", "薬缶", "煙", "咽せぽく", "実に", "弱った", "時", "我慢",
      "台所", "下女", "主人", "教師", "学校", "書斎", "昼寝", "胃弱", "皮膚", "淡黄色", "弾力", "活気",
      "大食", "消化", "頁", "読書", "家族", "細君", "子供", "東京", "明治", "近所", "車屋", "黒",
      "先生", "友達", "手紙", "新聞", "電車", "雨", "朝", "夜", "今日", "昨日", "世間", "自分",
      "ABC", "Palm", "nuv", "2024", "OK",
  };
  static const char* const kJoints[] = {"は", "が", "を", "に", "の", "で", "と", "も", "から", "まで", "へ", "や"};
  static const char* const kEnds[] = {"である", "であった", "した", "する", "ない", "ます", "でした", "らしい",
                                      "だろう", "かもしれない", "と思う", "だそうだ"};
  static const char* const kStops[] = {"。", "。", "、", "！", "？", "。"};
  auto convert = [](const char* const* list, std::size_t n) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < n; ++i) out.push_back(SjisFromLiteral(list[i]));
    return out;
  };
  static const auto words = convert(kWords, std::size(kWords));
  static const auto joints = convert(kJoints, std::size(kJoints));
  static const auto ends = convert(kEnds, std::size(kEnds));
  static const auto stops = convert(kStops, std::size(kStops));

  std::mt19937 rng(seed);
  std::string text;
  text.reserve(size + 256);
  while (text.size() < size) {
    const int sentences = 1 + static_cast<int>(rng() % 3);
    for (int s = 0; s < sentences; ++s) {
      const int parts = 2 + static_cast<int>(rng() % 5);
      for (int p = 0; p < parts; ++p) {
        text += words[rng() % words.size()];
        text += joints[rng() % joints.size()];
      }
      text += words[rng() % words.size()];
      text += ends[rng() % ends.size()];
      text += stops[rng() % stops.size()];
    }
    text += "\r\n";
  }
  text.resize(size);
  return text;
}

}  // namespace nuv::bench
