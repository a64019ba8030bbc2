// Date and time patterns.
#include "outline/DateTimeFormat.h"

#include <ctime>

#include "base/AsciiCase.h"
#include "base/FixedText.h"
#include "base/Sjis.h"

namespace nuv {

namespace texts {
NUV_FIXED_TEXT(WeekdayNames, "日月火水木金土")
NUV_FIXED_TEXT(WeekdaySuffix, "曜日")
}  // namespace texts

namespace {

std::string Number(int value, int minDigits) {
  std::string digits = std::to_string(value < 0 ? -value : value);
  if (digits.size() < static_cast<std::size_t>(minDigits))
    digits.insert(0, static_cast<std::size_t>(minDigits) - digits.size(), '0');
  return value < 0 ? "-" + digits : digits;
}

std::string ShortWeekday(int weekday) {
  const int w = ((weekday % 7) + 7) % 7;
  return texts::WeekdayNames().substr(static_cast<std::size_t>(w) * 2, 2);
}

}  // namespace

TDateTimeParts NowParts() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return TDateTimeParts{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_wday,
                        local.tm_hour,        local.tm_min,     local.tm_sec};
}

std::string FormatDateTime(std::string_view pattern, const TDateTimeParts& when) {
  std::string out;
  bool afterHour = false;
  std::size_t i = 0;
  while (i < pattern.size()) {
    const std::size_t length = CharLength(pattern, i);
    if (length == 2) {
      out.append(pattern.substr(i, 2));
      i += 2;
      continue;
    }
    const char c = pattern[i];
    const char letter = AsciiLower(c);
    if (c == '"' || c == '\'') {
      // Quoted text runs to the same quote, by characters.
      std::size_t j = i + 1;
      while (j < pattern.size() && pattern[j] != c) j += CharLength(pattern, j);
      out.append(pattern.substr(i + 1, j - i - 1));
      i = j < pattern.size() ? j + 1 : j;
      continue;
    }
    if (letter != 'y' && letter != 'm' && letter != 'd' && letter != 'h' && letter != 'n' && letter != 's') {
      out.push_back(c);
      ++i;
      continue;
    }
    std::size_t run = 1;
    while (i + run < pattern.size() && AsciiLower(pattern[i + run]) == letter) ++run;
    const int digits = run >= 2 ? 2 : 1;
    switch (letter) {
      case 'y': out += run <= 2 ? Number(when.year % 100, 2) : Number(when.year, 4); break;
      case 'm': out += afterHour ? Number(when.minute, digits) : Number(when.month, digits); break;
      case 'd':
        if (run == 3) out += ShortWeekday(when.weekday);
        else if (run >= 4) out += ShortWeekday(when.weekday) + texts::WeekdaySuffix();
        else out += Number(when.day, digits);
        break;
      case 'h': out += Number(when.hour, digits); break;
      case 'n': out += Number(when.minute, digits); break;
      case 's': out += Number(when.second, digits); break;
    }
    afterHour = letter == 'h';
    i += run;
  }
  return out;
}

}  // namespace nuv
