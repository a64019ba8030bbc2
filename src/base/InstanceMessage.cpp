// The message between nuv programs.
#include "base/InstanceMessage.h"

namespace nuv {

TInstanceRequest ParseInstanceMessage(std::string_view bytes) {
  constexpr std::string_view kWord = "activate";
  return bytes.substr(0, kWord.size()) == kWord ? TInstanceRequest::Activate : TInstanceRequest::None;
}

}  // namespace nuv
