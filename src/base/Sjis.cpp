// Shift JIS byte helpers; every routine walks characters from the start.
#include "base/Sjis.h"

namespace nuv {

namespace {
// Calls f(start, length) for each character until f returns false.
template <typename F>
void ForEachChar(std::string_view s, F f) {
  for (std::size_t i = 0; i < s.size();) {
    const std::size_t len = CharLength(s, i);
    if (!f(i, len)) return;
    i += len;
  }
}
}  // namespace

bool IsDBCS1(std::string_view s, std::size_t index) {
  if (index >= s.size()) return false;
  const std::size_t start = CharStart(s, index);
  return start == index && CharLength(s, index) == 2;
}

bool IsDBCS2(std::string_view s, std::size_t index) {
  if (index >= s.size()) return false;
  return CharStart(s, index) != index;
}

std::size_t CharStart(std::string_view s, std::size_t index) {
  std::size_t result = index;
  ForEachChar(s, [&](std::size_t start, std::size_t len) {
    if (index < start + len) {
      result = start;
      return false;
    }
    return true;
  });
  return result;
}

std::size_t IndexChar(std::string_view s, std::size_t index) {
  std::size_t count = 0;
  ForEachChar(s, [&](std::size_t start, std::size_t len) {
    if (index < start + len) return false;
    ++count;
    return true;
  });
  return count;
}

std::size_t CharCount(std::string_view s) { return IndexChar(s, s.size()); }

std::size_t IncludeCharCount(std::string_view s, char ch) {
  std::size_t count = 0;
  ForEachChar(s, [&](std::size_t start, std::size_t len) {
    if (len == 1 && s[start] == ch) ++count;
    return true;
  });
  return count;
}

std::size_t TopSpace(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size()) {
    if (s[i] == ' ' || s[i] == '\t') {
      ++i;
    } else if (i + 1 < s.size() && static_cast<unsigned char>(s[i]) == 0x81 && s[i + 1] == 0x40) {
      i += 2;
    } else {
      break;
    }
  }
  return i;
}

std::string TrimLeftDBCS(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size()) {
    if (static_cast<unsigned char>(s[i]) <= 0x20) {
      ++i;
    } else if (i + 1 < s.size() && static_cast<unsigned char>(s[i]) == 0x81 && s[i + 1] == 0x40) {
      i += 2;
    } else {
      break;
    }
  }
  return std::string(s.substr(i));
}

std::size_t FindAtBoundary(std::string_view s, std::string_view sub, std::size_t from) {
  if (sub.empty()) return std::string_view::npos;
  std::size_t found = std::string_view::npos;
  ForEachChar(s, [&](std::size_t start, std::size_t) {
    if (start < from) return true;
    if (s.size() - start < sub.size()) return false;
    if (s.compare(start, sub.size(), sub) == 0) {
      found = start;
      return false;
    }
    return true;
  });
  return found;
}

bool IsInclude(std::string_view sub, std::string_view s) {
  return FindAtBoundary(s, sub) != std::string_view::npos;
}

std::vector<std::string_view> SplitLineViews(std::string_view s) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\r' || s[i] == '\n') {
      lines.push_back(s.substr(start, i - start));
      if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') ++i;
      start = i + 1;
    }
  }
  if (start < s.size()) lines.push_back(s.substr(start));
  return lines;
}

std::vector<std::string> StrToStrings(std::string_view s) {
  const std::vector<std::string_view> views = SplitLineViews(s);
  return std::vector<std::string>(views.begin(), views.end());
}

std::string_view TrimControl(std::string_view s) {
  std::size_t begin = 0, end = s.size();
  while (begin < end && static_cast<unsigned char>(s[begin]) <= 0x20) ++begin;
  while (end > begin && static_cast<unsigned char>(s[end - 1]) <= 0x20) --end;
  return s.substr(begin, end - begin);
}

std::string_view CutAtCharBoundary(std::string_view s, std::size_t maxBytes) {
  if (s.size() <= maxBytes) return s;
  if (maxBytes > 0 && IsDBCS1(s, maxBytes - 1)) return s.substr(0, maxBytes - 1);
  return s.substr(0, maxBytes);
}

}  // namespace nuv
