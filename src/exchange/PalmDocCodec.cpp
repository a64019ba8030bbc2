// Palm DOC record compression and decompression.
//
// The compressor is greedy. At each position h it looks for the longest
// earlier copy of the text at h within the last 2047 bytes of the block
// (the copy may overlap the text at h), capped at 10 bytes and at one byte
// short of the block's end, so a match never takes the block's last byte.
// Among equally long copies the one farthest back wins. A copy of 3 bytes or
// more becomes a two-byte copy code; otherwise the byte at h is emitted on its
// own. A space is held back: followed by a byte 0x40..0x7F the two become one
// byte (that byte with the top bit set); otherwise the space is written as a
// plain 0x20. Bytes that would read as codes (0x01..0x08, 0x80..0xFF) are
// escaped with a count code, and neighbouring escapes share one count code of
// up to 8 bytes.
//
// The longest earlier copy is found through chains of the block's positions
// that start with the same three bytes, linked per hash bucket in ascending
// order before the block is coded. Walking a chain oldest first means the
// first copy that reaches the cap is the answer, which keeps repetitive text
// fast. A bucket's head moves forward past positions that fell out of the
// window, so each position is skipped at most once per block.
#include "exchange/PalmDocCodec.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cassert>
#include <cstdint>
#include <cstring>

namespace nuv {

namespace {

constexpr int kHashBits = 12;
constexpr std::size_t kBuckets = std::size_t{1} << kHashBits;
// Ends a chain; as an unsigned position it lies beyond every block.
constexpr int16_t kNone = -1;
// The block is copied into a buffer with this much slack, so that a match test
// may load eight bytes at once near its end.
constexpr std::size_t kSlack = 16;

inline uint64_t Load64(const unsigned char* p) {
  uint64_t v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

inline unsigned Hash3(const unsigned char* p) {
  const uint32_t key = uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16);
  return (key * 2654435761u) >> (32 - kHashBits);
}

// Positions of a block by their first three bytes, in ascending chains:
// m_next[p] is the next position after p in p's bucket. Each bucket's head
// only moves forward, past positions that fell out of the window.
class TMatchChains {
 public:
  // Links the positions [0, count) of the block.
  void Build(const unsigned char* block, std::size_t count) {
    m_head.fill(kNone);
    for (std::size_t p = count; p-- > 0;) {
      const unsigned b = Hash3(block + p);
      m_next[p] = m_head[b];
      m_head[b] = static_cast<int16_t>(p);
    }
  }

  // The oldest position in the bucket of `pos` that is not before windowStart.
  int16_t First(const unsigned char* block, std::size_t pos, std::size_t windowStart) {
    int16_t& head = m_head[Hash3(block + pos)];
    int16_t c = head;
    while (static_cast<std::size_t>(c) < windowStart) c = m_next[static_cast<std::size_t>(c)];
    head = c;
    return c;
  }

  int16_t Next(int16_t pos) const { return m_next[static_cast<std::size_t>(pos)]; }

 private:
  std::array<int16_t, kBuckets> m_head;
  std::array<int16_t, kPalmRecordSize> m_next;
};

// Writes the codes, holding back a space and joining neighbouring escapes.
// Every input byte costs at most two code bytes, so the buffer holds a block.
class TCodeWriter {
 public:
  explicit TCodeWriter(std::string& out) : m_out(out) {}

  void Char(unsigned char c) {
    if (m_pendingSpace) {
      m_pendingSpace = false;
      if (c >= 0x40 && c <= 0x7F) {
        Plain(static_cast<unsigned char>(c ^ 0x80));
        return;
      }
      Plain(0x20);
      Byte(c);
      return;
    }
    if (c == 0x20) {
      m_pendingSpace = true;
      return;
    }
    Byte(c);
  }

  void Copy(std::size_t distance, std::size_t length) {
    if (m_pendingSpace) Plain(0x20);
    m_pendingSpace = false;
    const unsigned code = static_cast<unsigned>((distance << 3) + length - 3);
    m_buffer[m_size++] = static_cast<unsigned char>(0x80 + (code >> 8));
    m_buffer[m_size++] = static_cast<unsigned char>(code & 0xFF);
    m_escapeAt = kNoEscape;
  }

  // Writes a held-back space and hands the codes to the output.
  void Finish() {
    if (m_pendingSpace) Plain(0x20);
    m_pendingSpace = false;
    m_out.append(reinterpret_cast<const char*>(m_buffer), m_size);
  }

 private:
  static constexpr std::size_t kNoEscape = ~std::size_t{0};

  void Byte(unsigned char c) {
    if (c >= 0x80 || (c >= 1 && c <= 8))
      Escaped(c);
    else
      Plain(c);
  }

  void Plain(unsigned char c) {
    m_buffer[m_size++] = c;
    m_escapeAt = kNoEscape;
  }

  void Escaped(unsigned char c) {
    if (m_escapeAt != kNoEscape && m_buffer[m_escapeAt] < 8) {
      ++m_buffer[m_escapeAt];
    } else {
      m_escapeAt = m_size;
      m_buffer[m_size++] = 1;
    }
    m_buffer[m_size++] = c;
  }

  std::string& m_out;
  unsigned char m_buffer[2 * kPalmRecordSize + 8];
  std::size_t m_size = 0;
  bool m_pendingSpace = false;
  std::size_t m_escapeAt = kNoEscape;  // count byte of the escape code written last
};

// Bytes that agree at a and b, at most cap (at most 10); both may be read
// 16 bytes ahead.
inline std::size_t MatchLength(const unsigned char* a, const unsigned char* b, std::size_t cap) {
  std::size_t n = 0;
  const uint64_t diff = Load64(a) ^ Load64(b);
  if constexpr (std::endian::native != std::endian::little) {
    while (n < cap && a[n] == b[n]) ++n;
  } else if (diff != 0) {
    n = static_cast<std::size_t>(__builtin_ctzll(diff)) >> 3;
  } else {
    n = 8;
    while (n < cap && a[n] == b[n]) ++n;
  }
  return n < cap ? n : cap;
}

}  // namespace

void CompressPalmRecord(std::string_view text, std::string& out) {
  assert(text.size() <= kPalmRecordSize);
  static thread_local TMatchChains chains;
  unsigned char block[kPalmRecordSize + kSlack];
  if (!text.empty()) std::memcpy(block, text.data(), text.size());
  std::memset(block + text.size(), 0, kSlack);
  const std::size_t size = text.size();
  TCodeWriter writer(out);

  // Positions from which three bytes can be compared before the last byte.
  chains.Build(block, size >= 4 ? size - 3 : 0);
  std::size_t h = 0;
  while (h < size) {
    // The match may not take the block's last byte, and needs 3 bytes at least.
    const std::size_t cap = std::min(kPalmMaxMatch, size - h - 1);
    std::size_t bestLength = 0, bestPos = 0;
    if (cap >= 3) {
      const std::size_t windowStart = h > kPalmMaxDistance ? h - kPalmMaxDistance : 0;
      bestLength = 2;
      // The chain also holds h and later positions; they end the walk.
      for (int16_t c = chains.First(block, h, windowStart); static_cast<std::size_t>(c) < h; c = chains.Next(c)) {
        const auto p = static_cast<std::size_t>(c);
        const std::size_t length = MatchLength(block + p, block + h, cap);
        if (length > bestLength) {
          bestLength = length;
          bestPos = p;
          if (length == cap) break;
        }
      }
    }
    if (bestLength >= 3) {
      writer.Copy(h - bestPos, bestLength);
      h += bestLength;
    } else {
      writer.Char(block[h]);
      ++h;
    }
  }
  writer.Finish();
}

TRecordDecodeResult DecompressPalmRecord(std::string_view record, std::string& out) {
  unsigned char buffer[kPalmMaxRecordBytes];
  std::size_t n = 0;
  const auto* in = reinterpret_cast<const unsigned char*>(record.data());
  const std::size_t size = record.size();
  std::size_t i = 0;
  while (i < size) {
    const unsigned char c = in[i++];
    if (c >= 1 && c <= 8) {
      if (c > size - i) return TRecordDecodeResult::TruncatedCode;
      if (c > kPalmMaxRecordBytes - n) return TRecordDecodeResult::OutputTooLong;
      std::memcpy(buffer + n, in + i, c);
      n += c;
      i += c;
    } else if (c < 0x80) {
      if (n == kPalmMaxRecordBytes) return TRecordDecodeResult::OutputTooLong;
      buffer[n++] = c;
    } else if (c < 0xC0) {
      if (i == size) return TRecordDecodeResult::TruncatedCode;
      const unsigned v = (unsigned{c} << 8) | in[i++];
      const std::size_t distance = (v & 0x3FFF) >> 3;
      const std::size_t length = (v & 7) + 3;
      if (distance == 0 || distance > n) return TRecordDecodeResult::CopyBeforeStart;
      if (length > kPalmMaxRecordBytes - n) return TRecordDecodeResult::OutputTooLong;
      // Byte by byte: the source may overlap the bytes being written.
      for (std::size_t k = 0; k < length; ++k, ++n) buffer[n] = buffer[n - distance];
    } else {
      if (kPalmMaxRecordBytes - n < 2) return TRecordDecodeResult::OutputTooLong;
      buffer[n++] = 0x20;
      buffer[n++] = static_cast<unsigned char>(c ^ 0x80);
    }
  }
  out.append(reinterpret_cast<const char*>(buffer), n);
  return TRecordDecodeResult::Ok;
}

}  // namespace nuv
