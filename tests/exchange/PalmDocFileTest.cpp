// Palm DOC database images: the header and record layout byte for byte, the
// line-end conversions, the converter's result codes, and damaged, truncated
// and oversized input that must fail without output.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "base/FileIo.h"
#include "exchange/PalmDocCodec.h"
#include "exchange/PalmDocFile.h"
#include "exchange/SampleText.h"
#include "support/TempDir.h"

namespace nuv {
namespace {

using test::Sj;
using test::SampleText;
using test::TTempDir;

using test::BE16;
using test::BE32;
using test::Decode;
using test::Encode;

TEST(PalmDocFileTest, HeaderAndRecordLayout) {
  const std::string text(5000, 'q');
  const std::string image = Encode(text, "abc");
  EXPECT_EQ(image.substr(0, 32), std::string("abc") + std::string(29, '\0'));
  EXPECT_EQ(BE16(image, 32), 0);  // attributes
  EXPECT_EQ(BE16(image, 34), 0);  // version
  EXPECT_EQ(image.substr(36, 8), "\x06\xD1\x44\xAE\x06\xD1\x44\xAE");
  EXPECT_EQ(image.substr(44, 16), std::string(16, '\0'));
  EXPECT_EQ(image.substr(60, 8), "TEXtREAd");
  EXPECT_EQ(image.substr(68, 8), std::string(8, '\0'));
  EXPECT_EQ(BE16(image, 76), 3);
  // Record list: record 0 at 88 + 8n, then 2 zero bytes before it.
  const std::size_t record0 = 88 + 8 * 2;
  EXPECT_EQ(BE32(image, 78), record0);
  for (uint32_t i = 0; i < 3; ++i) EXPECT_EQ(BE32(image, 78 + 8 * i + 4), 0x406F8000u + i);
  EXPECT_EQ(image.substr(102, 2), std::string(2, '\0'));
  EXPECT_EQ(BE16(image, record0), 2);
  EXPECT_EQ(BE16(image, record0 + 2), 0);
  EXPECT_EQ(BE32(image, record0 + 4), 5000u);
  EXPECT_EQ(BE16(image, record0 + 8), 2);
  EXPECT_EQ(BE16(image, record0 + 10), 4096);
  EXPECT_EQ(BE32(image, record0 + 12), 0u);
  // The text records follow record 0 in order and hold the compressed blocks.
  EXPECT_EQ(BE32(image, 86), record0 + 16);
  std::string first;
  CompressPalmRecord(text.substr(0, 4096), first);
  EXPECT_EQ(image.substr(record0 + 16, first.size()), first);
  EXPECT_EQ(BE32(image, 94), record0 + 16 + first.size());
  EXPECT_EQ(Decode(image), text);

  const std::string plain = Encode(text, "abc", false);
  EXPECT_EQ(BE16(plain, record0), 1);
  EXPECT_EQ(plain.size(), record0 + 16 + 5000);
  EXPECT_EQ(Decode(plain), text);
}

TEST(PalmDocFileTest, EmptyTextGivesRecordZeroOnly) {
  const std::string image = Encode("", "empty");
  EXPECT_EQ(BE16(image, 76), 1);
  EXPECT_EQ(image.size(), 88u + 16u);
  EXPECT_EQ(BE32(image, 78), 88u);
  EXPECT_EQ(BE16(image, 88 + 8), 0);
  EXPECT_EQ(Decode(image), "");
}

TEST(PalmDocFileTest, DatabaseNameIsCutAt31BytesOnACharacterBoundary) {
  EXPECT_EQ(PalmDatabaseName(std::string(40, 'a')), std::string(31, 'a'));
  // 30 ASCII bytes then a double-byte character: byte 31 would be its lead byte.
  const std::string kanji = std::string(30, 'a') + Sj("表");
  EXPECT_EQ(PalmDatabaseName(kanji), std::string(30, 'a'));
  const std::string fits = std::string(29, 'a') + Sj("表");
  EXPECT_EQ(PalmDatabaseName(fits), fits);
  EXPECT_EQ(PalmDatabaseName(Sj("ソ表ソ表ソ表ソ表ソ表ソ表ソ表ソ表ソ表")).size(), 30u);
  const std::string image = Encode("x", kanji);
  EXPECT_EQ(image.substr(0, 32), std::string(30, 'a') + std::string(2, '\0'));
  TPalmDocInfo info;
  std::string text;
  ASSERT_EQ(DecodePalmDoc(image, {}, text, &info), TPalmDocResult::Ok);
  EXPECT_EQ(info.name, std::string(30, 'a'));
}

TEST(PalmDocFileTest, LineEndsAndControlBytes) {
  struct TCase {
    std::string text, stored, back;
  } cases[] = {
      {"a\r\nb\rc\nd", "a\nb\nc\nd", "a\r\nb\r\nc\r\nd"},
      {std::string("x\0\1\x08\ty\x0Cz", 8), "x\ty\x0Cz", "x\ty\x0Cz"},
      {"\r\r\n\n", "\n\n\n", "\r\n\r\n\r\n"},
  };
  for (const auto& c : cases) {
    const std::string plain = Encode(c.text, "t", false);
    EXPECT_EQ(plain.substr(88 + 8 + 16), c.stored);
    EXPECT_EQ(Decode(plain), c.back);
    EXPECT_EQ(Decode(Encode(c.text, "t")), c.back);
    EXPECT_EQ(Decode(Encode(c.text, "t", true, true), true), c.text) << "binary keeps every byte";
  }
  // A CR LF already in the stored text (a binary encoder's) stays one line end.
  EXPECT_EQ(Decode(Encode("a\r\nb\n", "t", false, true)), "a\r\nb\r\n");
}

TEST(PalmDocFileTest, CrLfAcrossARecordBoundaryStaysOneLineBreak) {
  std::string text(kPalmRecordSize - 1, 'a');
  text += "\r\nnext line\r\n";
  ASSERT_EQ(text[kPalmRecordSize - 1], '\r');
  ASSERT_EQ(text[kPalmRecordSize], '\n');
  for (const bool compress : {true, false}) {
    const std::string image = Encode(text, "t", compress);
    EXPECT_EQ(Decode(image), text) << compress;
  }
  // The CR and LF of separate line ends on either side stay two.
  std::string two(kPalmRecordSize - 1, 'a');
  two += "\r\r\n";
  EXPECT_EQ(Decode(Encode(two, "t")), std::string(kPalmRecordSize - 1, 'a') + "\r\n\r\n");
  // A CR at the very end of the text is a line end of its own.
  EXPECT_EQ(Decode(Encode(std::string(kPalmRecordSize - 1, 'a') + "\r", "t")),
            std::string(kPalmRecordSize - 1, 'a') + "\r\n");
}

TEST(PalmDocFileTest, LongTextsRoundTrip) {
  for (const std::size_t size : {std::size_t{1}, kPalmRecordSize, kPalmRecordSize + 1, 10 * kPalmRecordSize + 17}) {
    const std::string text = SampleText(size, static_cast<unsigned>(size));
    EXPECT_EQ(Decode(Encode(text, "t")), text) << size;
    EXPECT_EQ(Decode(Encode(text, "t", false)), text) << size;
  }
}

TEST(PalmDocFileTest, MoreTextThanTheRecordListHoldsIsRefused) {
  std::string image = "untouched";
  std::string tooLarge(kPalmMaxTextBytes + 1, 'a');
  EXPECT_EQ(EncodePalmDoc(tooLarge, "t", {}, image), TPalmDocResult::TooLarge);
  EXPECT_EQ(image, "untouched");

  // The file converter refuses before reading: a sparse file of that size.
  TTempDir dir;
  const std::string big = dir.File("big.txt");
  {
    std::FILE* f = std::fopen(big.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fclose(f);
    std::filesystem::resize_file(big, kPalmMaxTextBytes + 1);
  }
  EXPECT_EQ(ConvertPalmDoc(dir.File("big.pdb"), big, "t", false, false, true), TPalmDocResult::TooLarge);
  EXPECT_FALSE(FileExists(dir.File("big.pdb")));
}

// A valid image and ways to damage its structure.
struct TDamage {
  const char* what;
  void (*apply)(std::string& image);
};

void PutBE32(std::string& s, std::size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) s[at + static_cast<std::size_t>(i)] = static_cast<char>(v >> (24 - 8 * i));
}

TEST(PalmDocFileTest, DecoderRejectsDamagedImages) {
  const std::string good = Encode(SampleText(3 * kPalmRecordSize, 3), "good");
  ASSERT_EQ(BE16(good, 76), 4);
  const TDamage damages[] = {
      {"header cut short", [](std::string& s) { s.resize(77); }},
      {"record count 0", [](std::string& s) { s[76] = s[77] = 0; }},
      {"record list beyond the file", [](std::string& s) { s[76] = '\x7F'; }},
      {"record 0 inside the record list", [](std::string& s) { PutBE32(s, 78, 80); }},
      {"an offset beyond the file", [](std::string& s) { PutBE32(s, 86 + 8, static_cast<uint32_t>(s.size() + 1)); }},
      {"decreasing offsets", [](std::string& s) { PutBE32(s, 86 + 16, BE32(s, 86 + 8) - 1); }},
      {"record 0 of one byte", [](std::string& s) { PutBE32(s, 86, BE32(s, 78) + 1); }},
      {"a copy code before its record's start", [](std::string& s) { s[BE32(s, 86)] = '\x80'; s[BE32(s, 86) + 1] = '\x40'; }},
      {"a dangling count code", [](std::string& s) { s.push_back('\x05'); }},
      {"a dangling copy code", [](std::string& s) { s.push_back('\x81'); }},
      {"a record over 6000 bytes", [](std::string& s) { s.append(6001, 'a'); }},
  };
  for (const auto& d : damages) {
    std::string image = good;
    d.apply(image);
    std::string text = "untouched";
    EXPECT_EQ(DecodePalmDoc(image, {}, text), TPalmDocResult::Damaged) << d.what;
    EXPECT_EQ(text, "untouched") << d.what;
  }
  std::string other = good;
  other.replace(60, 8, "BOOKMOBI");
  std::string text;
  EXPECT_EQ(DecodePalmDoc(other, {}, text), TPalmDocResult::NotTextDoc);
}

TEST(PalmDocFileTest, RecordsAfterTheTextAreNotDecoded) {
  // Some readers store bookmarks after the text records; record 0 says how
  // many records are text.
  std::string image = Encode("hello", "t", false);
  ASSERT_EQ(BE16(image, 76), 2);
  image[77] = 3;  // one more record in the list...
  image.insert(94, std::string("\0\0\0\0\0\0\0\0", 8));
  PutBE32(image, 78, BE32(image, 78) + 8);
  PutBE32(image, 86, BE32(image, 86) + 8);
  PutBE32(image, 94, static_cast<uint32_t>(image.size()));
  image += "BOOKMARK";  // ...holding a bookmark
  EXPECT_EQ(Decode(image), "hello");
}

// Every prefix of a valid file and random byte flips must fail cleanly: an
// error without output, or (for a cut inside the last record, which no
// length field detects) a prefix of the text.
TEST(PalmDocFileTest, TruncatedAndFlippedFilesFailCleanly) {
  const std::string text = SampleText(2 * kPalmRecordSize + 300, 11);
  const std::string expected = Decode(Encode(text, "t"));
  for (const bool compress : {true, false}) {
    const std::string image = Encode(text, "t", compress);
    const std::size_t lastRecord = BE32(image, 78 + 8 * 3);
    for (std::size_t cut = 0; cut < image.size(); ++cut) {
      std::string out = "untouched";
      const TPalmDocResult r = DecodePalmDoc(std::string_view(image).substr(0, cut), {}, out);
      if (r == TPalmDocResult::Ok) {
        ASSERT_GE(cut, lastRecord) << cut;
        ASSERT_EQ(expected.compare(0, out.size(), out), 0) << cut;
      } else {
        ASSERT_EQ(out, "untouched") << cut;
      }
    }
    std::mt19937 rng(compress ? 1 : 2);
    for (int i = 0; i < 3000; ++i) {
      std::string flipped = image;
      for (int k = 0; k < 1 + i % 3; ++k) flipped[rng() % flipped.size()] ^= static_cast<char>(1 + rng() % 255);
      std::string out = "untouched";
      if (DecodePalmDoc(flipped, {}, out) != TPalmDocResult::Ok) {
        ASSERT_EQ(out, "untouched");
      }
    }
  }
}

TEST(PalmDocFileTest, ConverterResultsAndFiles) {
  TTempDir dir;
  const std::string text = SampleText(9000, 5);
  const std::string txt = dir.Write("in.txt", text);
  const std::string pdb = dir.File("out.pdb");
  ASSERT_EQ(ConvertPalmDoc(pdb, txt, "title", false, false, true), TPalmDocResult::Ok);
  EXPECT_EQ(dir.Read("out.pdb"), Encode(text, "title"));
  ASSERT_EQ(ConvertPalmDoc(pdb, dir.File("back.txt"), "ignored", true, false, true), TPalmDocResult::Ok);
  EXPECT_EQ(dir.Read("back.txt"), text);

  // Either file that cannot be opened gives 2.
  EXPECT_EQ(static_cast<int>(ConvertPalmDoc(pdb, dir.File("missing.txt"), "t", false, false, true)), 2);
  EXPECT_EQ(static_cast<int>(ConvertPalmDoc(dir.File("no/such/dir/x.pdb"), txt, "t", false, false, true)), 2);
  EXPECT_EQ(static_cast<int>(ConvertPalmDoc(dir.File("missing.pdb"), dir.File("x.txt"), "", true, false, true)), 2);
  EXPECT_EQ(static_cast<int>(ConvertPalmDoc(pdb, dir.Path(), "", true, false, true)), 2);

  // A Palm database of another kind: refused, nothing written.
  std::string other = dir.Read("out.pdb");
  other.replace(60, 4, "BOOK");
  const std::string otherPath = dir.Write("other.pdb", other);
  EXPECT_NE(static_cast<int>(ConvertPalmDoc(otherPath, dir.File("other.txt"), "", true, false, true)), 0);
  EXPECT_FALSE(FileExists(dir.File("other.txt")));
}

TEST(PalmDocFileTest, WriteFailureLeavesNoPartialFile) {
  TTempDir dir;
  const std::string txt = dir.Write("in.txt", SampleText(20000, 9));
  const std::string pdb = dir.Write("keep.pdb", "previous contents");
  for (const long long after : {0LL, 100LL, 1000LL}) {
    testhooks::FailWritesAfter(after);
    EXPECT_EQ(ConvertPalmDoc(pdb, txt, "t", false, false, true), TPalmDocResult::WriteFailed) << after;
    EXPECT_EQ(ConvertPalmDoc(dir.File("new.pdb"), txt, "t", false, false, true), TPalmDocResult::WriteFailed);
    EXPECT_EQ(ConvertPalmDoc(pdb, dir.File("new.txt"), "", true, false, true), TPalmDocResult::Damaged);
    testhooks::FailWritesAfter(-1);
  }
  EXPECT_EQ(dir.Read("keep.pdb"), "previous contents");
  EXPECT_FALSE(FileExists(dir.File("new.pdb")));
  // Only the two files made above are in the folder: no temporary is left.
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
    (void)entry;
    ++files;
  }
  EXPECT_EQ(files, 2);

  ASSERT_EQ(ConvertPalmDoc(dir.File("good.pdb"), txt, "t", false, false, true), TPalmDocResult::Ok);
  testhooks::FailWritesAfter(10);
  EXPECT_EQ(ConvertPalmDoc(dir.File("good.pdb"), dir.File("new.txt"), "", true, false, true),
            TPalmDocResult::WriteFailed);
  testhooks::FailWritesAfter(-1);
  EXPECT_FALSE(FileExists(dir.File("new.txt")));
}

}  // namespace
}  // namespace nuv
