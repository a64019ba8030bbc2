// Fuzzes the message between nuv programs: any bytes a connection sends ask
// for activation exactly when they begin with the word.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "base/InstanceMessage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace nuv;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::string_view read = bytes.substr(0, kMaxInstanceMessageBytes);
  const bool activate = ParseInstanceMessage(read) == TInstanceRequest::Activate;
  if (activate != (read.substr(0, 8) == "activate")) std::abort();
  return 0;
}
