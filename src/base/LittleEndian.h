// 32-bit little-endian integers in byte strings: the document file and the
// node clipboard block store their numbers this way.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace nuv {

inline void AppendInt32LE(std::string& out, int32_t value) {
  const uint32_t v = static_cast<uint32_t>(value);
  for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

// Reads numbers and byte runs from the front of a buffer; every read checks
// what remains, so damaged lengths fail instead of reading past the end.
class TLittleEndianReader {
 public:
  explicit TLittleEndianReader(std::string_view bytes) : m_bytes(bytes) {}
  bool ReadInt32(int32_t& value) {
    if (m_bytes.size() - m_pos < 4) return false;
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(m_bytes[m_pos + static_cast<std::size_t>(i)]);
    value = static_cast<int32_t>(v);
    m_pos += 4;
    return true;
  }
  // False for a negative length or one past the end.
  bool ReadBytes(int32_t length, std::string_view& out) {
    if (length < 0 || static_cast<std::size_t>(length) > m_bytes.size() - m_pos) return false;
    out = m_bytes.substr(m_pos, static_cast<std::size_t>(length));
    m_pos += static_cast<std::size_t>(length);
    return true;
  }
  std::size_t Remaining() const { return m_bytes.size() - m_pos; }

 private:
  std::string_view m_bytes;
  std::size_t m_pos = 0;
};

}  // namespace nuv
