// Filling the bracketed token into a fixed message.
#include "macro/MacroTexts.h"

namespace nuv {

std::string MacroMessage(const std::string& templ, std::string_view arg) {
  const std::size_t at = templ.find("%s");
  if (at == std::string::npos) return templ;
  std::string out = templ.substr(0, at);
  out += arg;
  out += templ.substr(at + 2);
  return out;
}

}  // namespace nuv
