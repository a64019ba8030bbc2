// Fuzzes the record decompressor on arbitrary codes, and checks that any
// block compresses into codes that expand back to it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "exchange/PalmDocCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace nuv;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::string out = "x";
  const TRecordDecodeResult r = DecompressPalmRecord(bytes, out);
  if (r != TRecordDecodeResult::Ok && out != "x") std::abort();
  if (out.size() > kPalmMaxRecordBytes + 1) std::abort();

  const std::string_view block = bytes.substr(0, kPalmRecordSize);
  std::string codes;
  CompressPalmRecord(block, codes);
  std::string back;
  if (DecompressPalmRecord(codes, back) != TRecordDecodeResult::Ok || back != block) std::abort();
  return 0;
}
