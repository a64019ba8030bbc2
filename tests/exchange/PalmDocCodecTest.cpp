// The record codec: the compressor's rules as byte tables, the fast
// compressor against a slow step-by-step reference, and the decompressor's
// rejections of damaged records.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "exchange/PalmDocCodec.h"

namespace nuv {
namespace {

std::string Bytes(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s += static_cast<char>(v);
  return s;
}

std::string Compress(std::string_view block) {
  std::string out;
  CompressPalmRecord(block, out);
  return out;
}

std::string Expand(std::string_view record) {
  std::string out;
  EXPECT_EQ(DecompressPalmRecord(record, out), TRecordDecodeResult::Ok);
  return out;
}

// The compressor as a literal walk with a test head, a test tail and a
// window start, emitting unmerged codes and merging escapes in a second pass.
// Slow (it searches the window for every extension), kept for checking only.
std::string ReferenceCompress(std::string_view in) {
  const std::size_t end = in.size();
  std::string codes;
  bool pendingSpace = false;
  auto byteCode = [&](unsigned char c) {
    if (c >= 0x80 || (c >= 1 && c <= 8)) codes += '\x01';
    codes += static_cast<char>(c);
  };
  auto single = [&](unsigned char c) {
    if (pendingSpace) {
      pendingSpace = false;
      if (c >= 0x40 && c <= 0x7F) {
        codes += static_cast<char>(c ^ 0x80);
        return;
      }
      codes += ' ';
      byteCode(c);
    } else if (c == ' ') {
      pendingSpace = true;
    } else {
      byteCode(c);
    }
  };
  std::size_t h = 0, t = 1, w = 0;
  while (h < end) {
    if (h - w > 2047) w = h - 2047;
    const std::string_view needle = in.substr(h, t - h);
    const std::size_t found = in.substr(w, t - w).find(needle) + w;
    if (found < h && t - h <= 10 && t != end) {
      w = found;
    } else {
      if (t - h < 4) {
        single(static_cast<unsigned char>(in[h]));
        ++h;
      } else {
        if (pendingSpace) codes += ' ';
        pendingSpace = false;
        const std::size_t length = t - h - 1;
        const std::size_t v = ((h - w) << 3) + length - 3;
        codes += static_cast<char>(0x80 + (v >> 8));
        codes += static_cast<char>(v & 0xFF);
        h = t - 1;
      }
      w = 0;
    }
    if (t != end) ++t;
  }
  if (pendingSpace) codes += ' ';

  std::string merged;
  std::size_t countAt = std::string::npos;
  for (std::size_t i = 0; i < codes.size();) {
    const auto c = static_cast<unsigned char>(codes[i]);
    if (c >= 0x80 && c <= 0xBF) {
      merged.append(codes, i, 2);
      countAt = std::string::npos;
      i += 2;
    } else if (c == 0x01) {
      if (countAt != std::string::npos && merged[countAt] < 8) {
        ++merged[countAt];
      } else {
        countAt = merged.size();
        merged += '\x01';
      }
      merged += codes[i + 1];
      i += 2;
    } else {
      merged += codes[i];
      countAt = std::string::npos;
      ++i;
    }
  }
  return merged;
}

struct TCompressCase {
  const char* what;
  std::string in;
  std::string out;
};

TEST(PalmDocCodecTest, CompressorRules) {
  const TCompressCase cases[] = {
      {"space pair", "a b", Bytes({0x61, 0xE2})},
      {"two spaces before x", "  x", Bytes({0x20, 0x20, 0x78})},
      {"space before a byte below 0x40", "a 1", Bytes({0x61, 0x20, 0x31})},
      {"trailing space", "ab ", Bytes({0x61, 0x62, 0x20})},
      {"space before an escaped byte", Bytes({' ', 0xE9, 0x82}), Bytes({0x20, 0x02, 0xE9, 0x82})},
      {"double-byte character escaped as one count", Bytes({0xE9, 0x82}), Bytes({0x02, 0xE9, 0x82})},
      {"control bytes escaped, NUL and TAB plain", Bytes({0x01, 0x00, 0x08, 0x09}),
       Bytes({0x01, 0x01, 0x00, 0x01, 0x08, 0x09})},
      {"escapes merge up to eight", Bytes({0x81, 0x82, 0x83, 0x84, 0x85, 0x86, 0x87, 0x88, 0x89}),
       Bytes({0x08, 0x81, 0x82, 0x83, 0x84, 0x85, 0x86, 0x87, 0x88, 0x01, 0x89})},
      {"match shortened at the block end", "abcabcabc", Bytes({0x61, 0x62, 0x63, 0x80, 0x1A, 0x63})},
      {"three bytes are the shortest match", "abcabcX", Bytes({0x61, 0x62, 0x63, 0x80, 0x18, 0x58})},
      {"two bytes do not match", "abXab", Bytes({0x61, 0x62, 0x58, 0x61, 0x62})},
      {"overlapping copy", "aaaaaaaa", Bytes({0x61, 0x80, 0x0B, 0x61})},
      {"a pending space goes out before a copy", "abc abc.", Bytes({0x61, 0x62, 0x63, 0x20, 0x80, 0x20, 0x2E})},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Compress(c.in), c.out) << c.what;
    EXPECT_EQ(ReferenceCompress(c.in), c.out) << c.what << " (reference)";
    EXPECT_EQ(Expand(c.out), c.in) << c.what;
  }
}

TEST(PalmDocCodecTest, LongestMatchIsTenBytesAndTheFarthestBackWins) {
  // "0123456789AB" twice: the copy stops at 10 bytes, then "AB" stays plain.
  const std::string s = "0123456789AB-0123456789AB.";
  const std::string out = Compress(s);
  EXPECT_EQ(out, ReferenceCompress(s));
  EXPECT_EQ(out.substr(13, 2), Bytes({0x80 + ((13 << 3) + 7) / 256, ((13 << 3) + 7) & 0xFF}));
  // At "abcd3" the copies at 0 and 5 are equally long: the one at 0 is taken.
  const std::string ties = "abcd1abcd2abcd3";
  EXPECT_EQ(Compress(ties), Bytes({0x61, 0x62, 0x63, 0x64, 0x31, 0x80, 0x29, 0x32, 0x80, 0x51, 0x33}));
  EXPECT_EQ(ReferenceCompress(ties), Compress(ties));
}

TEST(PalmDocCodecTest, WindowReachesBack2047Bytes) {
  // Lower-case filler cannot extend a match of the upper-case word, so the
  // last codes show whether the word was copied from the block's start.
  for (const std::size_t gap : {2046u, 2047u, 2048u, 2049u}) {
    std::string s = "QWERTY";
    std::mt19937 rng(static_cast<unsigned>(gap));
    while (s.size() < gap) s += static_cast<char>('a' + rng() % 26);
    s += "QWERTY!";
    const std::string out = Compress(s);
    EXPECT_EQ(out, ReferenceCompress(s)) << gap;
    EXPECT_EQ(Expand(out), s) << gap;
    const unsigned v = static_cast<unsigned>(gap << 3) + 6 - 3;
    const std::string copied = Bytes({0x80 + static_cast<int>(v >> 8), static_cast<int>(v & 0xFF), '!'});
    EXPECT_EQ(out.substr(out.size() - 3) == copied, gap <= kPalmMaxDistance) << gap;
  }
}

// The fast compressor must emit exactly the reference's codes. Small
// alphabets make many matches and ties; blocks longer than the window check
// the window's edge.
TEST(PalmDocCodecTest, MatchesTheReferenceOnRandomBlocks) {
  const std::string alphabets[] = {"ab", "ab ", "a b\x81\x40", std::string("x\x01 \x85@\n", 6), "abcdefgh  "};
  std::mt19937 rng(20240917);
  int runs = 0;
  for (const std::string& alphabet : alphabets) {
    for (int i = 0; i < 60; ++i) {
      const std::size_t size = i < 50 ? rng() % 300 : 2000 + rng() % 2097;
      std::string s;
      for (std::size_t k = 0; k < size; ++k) s += alphabet[rng() % alphabet.size()];
      const std::string out = Compress(s);
      ASSERT_EQ(out, ReferenceCompress(s)) << "alphabet " << runs / 60 << " size " << size;
      ASSERT_EQ(Expand(out), s);
      ++runs;
    }
  }
}

TEST(PalmDocCodecTest, FullBlocksRoundTripAndStayWithinTheRecordLimit) {
  std::mt19937 rng(7);
  std::string noise(kPalmRecordSize, '\0');
  for (char& c : noise) c = static_cast<char>(0x80 + rng() % 0x80);  // every byte escaped
  std::string out = Compress(noise);
  EXPECT_LE(out.size(), kPalmRecordSize / 8 * 9);  // nine code bytes per eight escaped bytes at most
  EXPECT_EQ(Expand(out), noise);
  EXPECT_EQ(Compress(std::string_view()), "");
}

struct TRejectCase {
  const char* what;
  std::string record;
  TRecordDecodeResult result;
};

TEST(PalmDocCodecTest, DecompressorRejectsDamagedRecords) {
  const TRejectCase cases[] = {
      {"count code without its bytes", Bytes({0x61, 0x03, 0x62, 0x63}), TRecordDecodeResult::TruncatedCode},
      {"copy code without its second byte", Bytes({0x61, 0x62, 0x63, 0x80}), TRecordDecodeResult::TruncatedCode},
      {"copy before the record start", Bytes({0x61, 0x80, 0x10}), TRecordDecodeResult::CopyBeforeStart},
      {"copy of distance 0", Bytes({0x61, 0x80, 0x00}), TRecordDecodeResult::CopyBeforeStart},
      {"copy at the very start", Bytes({0x80, 0x08}), TRecordDecodeResult::CopyBeforeStart},
  };
  for (const auto& c : cases) {
    std::string out = "kept";
    EXPECT_EQ(DecompressPalmRecord(c.record, out), c.result) << c.what;
    EXPECT_EQ(out, "kept") << c.what;
  }
  // 1200 copies of 10 bytes: 12,001 bytes, over the limit.
  std::string bomb = "a";
  for (int i = 0; i < 1200; ++i) bomb += Bytes({0x80, 0x0F});
  std::string out;
  EXPECT_EQ(DecompressPalmRecord(bomb, out), TRecordDecodeResult::OutputTooLong);
  EXPECT_TRUE(out.empty());
  // Exactly at the limit is fine: 6000 plain bytes, and 3000 space pairs.
  EXPECT_EQ(Expand(std::string(kPalmMaxRecordBytes, 'z')).size(), kPalmMaxRecordBytes);
  EXPECT_EQ(Expand(std::string(kPalmMaxRecordBytes / 2, '\xE1')).size(), kPalmMaxRecordBytes);
  EXPECT_EQ(DecompressPalmRecord(std::string(kPalmMaxRecordBytes / 2 + 1, '\xE1'), out),
            TRecordDecodeResult::OutputTooLong);
}

TEST(PalmDocCodecTest, DecompressorAppendsAndReadsEveryCodeKind) {
  std::string out = "prefix:";
  // plain, count code, space pair, overlapping copy of distance 1.
  ASSERT_EQ(DecompressPalmRecord(Bytes({0x41, 0x02, 0x88, 0x89, 0xE2, 0x80, 0x0A}), out), TRecordDecodeResult::Ok);
  EXPECT_EQ(out, "prefix:A\x88\x89 bbbbbb");
}

}  // namespace
}  // namespace nuv
