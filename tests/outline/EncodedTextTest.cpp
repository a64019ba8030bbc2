// Hierarchical text in UTF-8, UTF-16 and EUC-JP: the same pages as the Shift
// JIS twin, saves in the file's own form byte for byte, and the refusal.
#include <gtest/gtest.h>

#include "outline/EncodedText.h"
#include "outline/NodeData.h"
#include "outline/OutlineTree.h"
#include "support/Iconv.h"
#include "support/OutlineFixtures.h"
#include "support/TempDir.h"

namespace nuv {
namespace {

using test::Iconv;

// A document as nuv writes it with metadata: headings, levels, marks, bodies
// with NEC and IBM extension characters, trail bytes 5C and 7C, half-width kana.
const std::string kDocument =
    ".計画 ①②\r\n##nuv##,1,7\r\n本文の一行目 表ソポ\\|\r\nｱｲｳ ～ ㈱ 髙\r\n"
    "..手順Ａ\r\n##nuv##,5,8\r\n\r\n...細目 Ⅳ\r\n##nuv##,0,7\r\nbody\r\n"
    ".ごみ箱\r\n##nuv##,17,7\r\n\r\n";

// Titles with levels and every body, for comparing two trees.
std::string Pages(const TOutlineTree& tree) {
  std::string out = test::Dump(tree);
  for (const TTreeNode* n = tree.GetFirstNode(); n; n = n->GetNext())
    out += "|" + (n->Data() ? n->Data()->Body() : std::string("-"));
  return out;
}

std::string WithLf(std::string s) {
  for (std::size_t i; (i = s.find("\r\n")) != std::string::npos;) s.erase(i, 1);
  return s;
}

class EncodedTextTest : public ::testing::Test {
 protected:
  TFormatOptions options = [] {
    TFormatOptions o;
    o.TextSaveWithData = true;
    return o;
  }();
  test::TTempDir dir;
};

TEST_F(EncodedTextTest, EveryEncodingReadsTheSamePagesAndSavesBackByteForByte) {
  TOutlineTree twin;
  const TTextRead sjisRead = ReadEncodedText(dir.Write("sjis.txt", Iconv(kDocument, "CP932")), options,
                                             TSubstitution::Refuse, twin);
  ASSERT_EQ(sjisRead.result, TTextFileResult::Ok);
  EXPECT_EQ(sjisRead.form, TTextForm{});
  const std::string expected = Pages(twin);
  ASSERT_NE(expected.find(Iconv("髙", "CP932")), std::string::npos);

  struct Case {
    const char* name;
    std::string bytes;
    TTextForm form;
  } cases[] = {
      {"utf8", kDocument, {TTextEncoding::Utf8, false, TLineEnd::CrLf}},
      {"utf8-lf", WithLf(kDocument), {TTextEncoding::Utf8, false, TLineEnd::Lf}},
      {"utf8-bom", "\xEF\xBB\xBF" + kDocument, {TTextEncoding::Utf8, true, TLineEnd::CrLf}},
      {"utf16le", "\xFF\xFE" + Iconv(kDocument, "UTF-16LE"), {TTextEncoding::Utf16Le, true, TLineEnd::CrLf}},
      {"utf16be-lf", "\xFE\xFF" + Iconv(WithLf(kDocument), "UTF-16BE"), {TTextEncoding::Utf16Be, true, TLineEnd::Lf}},
      {"eucjp", Iconv(kDocument, "EUC-JP-MS"), {TTextEncoding::EucJp, false, TLineEnd::CrLf}},
  };
  for (const auto& c : cases) {
    const std::string path = dir.Write(c.name, c.bytes);
    TOutlineTree tree;
    const TTextRead read = ReadEncodedText(path, options, TSubstitution::Refuse, tree);
    ASSERT_EQ(read.result, TTextFileResult::Ok) << c.name;
    EXPECT_EQ(read.form, c.form) << c.name;
    EXPECT_EQ(Pages(tree), expected) << c.name;
    ASSERT_EQ(WriteEncodedText(path, tree, false, nullptr, options, read.form), TTextWriteResult::Written);
    EXPECT_EQ(dir.Read(c.name), c.bytes) << c.name;
  }
}

TEST_F(EncodedTextTest, ImportAndSubtreeExportUseTheEncoding) {
  TOutlineTree doc;
  TTreeNode* top = doc.Add(nullptr, "top");
  TTextRead read;
  TTreeNode* first = ImportEncodedText(dir.Write("in.txt", WithLf(kDocument)), options, TSubstitution::Refuse, doc,
                                       top, read);
  ASSERT_EQ(read.result, TTextFileResult::Ok);
  ASSERT_TRUE(first);
  EXPECT_EQ(first->Text(), Iconv("計画 ①②", "CP932"));
  const TTextForm utf8{TTextEncoding::Utf8, false, TLineEnd::CrLf};
  ASSERT_EQ(WriteEncodedText(dir.File("out.txt"), doc, false, first, options, utf8), TTextWriteResult::Written);
  EXPECT_EQ(dir.Read("out.txt"), kDocument.substr(0, kDocument.find(".ごみ箱")));
  EXPECT_EQ(WriteEncodedText(dir.File("none.txt"), TOutlineTree(), false, nullptr, options, utf8),
            TTextWriteResult::Empty);
}

TEST_F(EncodedTextTest, CharactersShiftJisCannotHoldAreRefusedOrSubstitutedOnRequest) {
  const std::string path = dir.Write("emoji.txt", ".題\nline \xF0\x9F\x98\x80\n.二 \xF0\x9F\x8D\xA3\n");
  TOutlineTree refused;
  TTextRead read = ReadEncodedText(path, options, TSubstitution::Refuse, refused);
  EXPECT_EQ(read.result, TTextFileResult::Unmappable);
  EXPECT_EQ(read.unmappable.count, 2u);
  EXPECT_EQ(read.unmappable.line, 2u);
  EXPECT_EQ(read.unmappable.first, 0x1F600u);
  EXPECT_FALSE(refused.GetFirstNode());

  TOutlineTree tree;
  read = ReadEncodedText(path, options, TSubstitution::Substitute, tree);
  ASSERT_EQ(read.result, TTextFileResult::Ok);
  EXPECT_EQ(read.unmappable.count, 2u);
  EXPECT_EQ(test::Dump(tree), Iconv("題 二 〓", "CP932"));
  EXPECT_EQ(tree.GetFirstNode()->Data()->Body(), Iconv("line 〓\r\n", "CP932"));

  TTreeNode* top = tree.GetFirstNode();
  EXPECT_FALSE(ImportEncodedText(path, options, TSubstitution::Refuse, tree, top, read));
  EXPECT_EQ(read.result, TTextFileResult::Unmappable);
  EXPECT_EQ(test::Dump(tree), Iconv("題 二 〓", "CP932"));
}

TEST_F(EncodedTextTest, SaveAsKeepsTheFormOnlyForTheSameEncoding) {
  const TTextForm utf8Lf{TTextEncoding::Utf8, true, TLineEnd::Lf};
  EXPECT_EQ(SaveAsForm(utf8Lf, TTextEncoding::Utf8), utf8Lf);
  EXPECT_EQ(SaveAsForm(utf8Lf, TTextEncoding::ShiftJis), TTextForm{});
  const TTextForm utf16{TTextEncoding::Utf16Le, true, TLineEnd::Lf};
  EXPECT_EQ(SaveAsForm(utf16, TTextEncoding::Utf8), (TTextForm{TTextEncoding::Utf8, false, TLineEnd::Lf}));
  EXPECT_EQ(SaveAsForm(TTextForm{}, TTextEncoding::Utf8), (TTextForm{TTextEncoding::Utf8, false, TLineEnd::CrLf}));
}

}  // namespace
}  // namespace nuv
