// The date and time patterns of the insert-date commands.
//
// A pattern is scanned by characters, so a trail byte such as the 6E of
// "ハ" (83 6E) is never read as a pattern letter. Letters, in either case:
// "yyyy" year ("yy" two digits), "m"/"mm" month, "d"/"dd" day, "ddd" short
// and "dddd" long weekday name, "h"/"hh" hour, "n"/"nn" minutes ("m" right
// after an hour is minutes too), "s"/"ss" seconds. Text in double or single
// quotes is copied without its quotes; every other character is copied.
#pragma once

#include <string>
#include <string_view>

namespace nuv {

struct TDateTimeParts {
  int year = 2000;
  int month = 1;    // 1..12
  int day = 1;      // 1..31
  int weekday = 0;  // 0 Sunday .. 6 Saturday
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// The local time now.
TDateTimeParts NowParts();

// The pattern (Shift JIS) filled with the date and time; the weekday names
// are the Japanese ones ("金", "金曜日").
std::string FormatDateTime(std::string_view pattern, const TDateTimeParts& when);

}  // namespace nuv
