// Fuzzes the ini engine: any file must parse, and a value written into it
// must read back while every other section keeps its bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/IniFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace nuv;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  TIniFile ini;
  ini.LoadFromBytes(bytes);
  if (ini.ToBytes() != bytes) std::abort();
  for (const auto& section : ini.SectionNames())
    for (const auto& key : ini.ReadSection(section)) (void)ini.ReadInteger(section, key, 0);
  const std::string value(bytes.substr(0, 16));
  if (ini.WriteString("Fuzz", "Key", value)) {
    TIniFile back;
    back.LoadFromBytes(ini.ToBytes());
    // Another "Fuzz" section earlier in the file may shadow nothing: the key
    // went into the first one, which is also the one read.
    if (back.ReadString("Fuzz", "Key", "\x01") != value) std::abort();
  }
  ini.EraseSection("Window");
  if (ini.SectionExists("Window")) std::abort();
  return 0;
}
