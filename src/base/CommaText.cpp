// Comma-list splitting over bytes: Shift JIS trail bytes are never commas,
// quotes or blanks, so the bytes can be read one by one.
#include "base/CommaText.h"

namespace nuv {

std::vector<std::string> ParseCommaText(std::string_view text) {
  std::vector<std::string> items;
  std::size_t i = 0;
  const auto skipBlanks = [&] {
    while (i < text.size() && static_cast<unsigned char>(text[i]) <= ' ') ++i;
  };
  skipBlanks();
  while (i < text.size()) {
    std::string item;
    if (text[i] == '"') {
      ++i;
      while (i < text.size()) {
        if (text[i] == '"') {
          if (i + 1 < text.size() && text[i + 1] == '"') {
            item += '"';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        item += text[i++];
      }
    } else {
      while (i < text.size() && text[i] != ',' && static_cast<unsigned char>(text[i]) > ' ') item += text[i++];
    }
    items.push_back(std::move(item));
    skipBlanks();
    if (i < text.size() && text[i] == ',') {
      ++i;
      skipBlanks();
    }
  }
  return items;
}

}  // namespace nuv
