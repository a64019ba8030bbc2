// Text in other encodings in the real window: the question before characters
// Shift JIS cannot hold, a UTF-8 document saved back as UTF-8, the encoding in
// the caption, and the encoding chosen for save as and the subtree export.
#include <gtest/gtest.h>

#include "app/DocumentController.h"
#include "app/ExchangeController.h"
#include "outline/DocumentState.h"
#include "support/Iconv.h"
#include "support/OutlineFixtures.h"
#include "support/WindowFixture.h"

namespace nuv::test {
namespace {

// "①" and "表" in UTF-8, LF line ends.
const std::string kUtf8Doc = ".\xE2\x91\xA0 A\nbody \xE8\xA1\xA8\n.B\n";
const std::string kEmojiDoc = ".A\nfine\nsmile \xF0\x9F\x98\x80 \xF0\x9F\x8D\xA3\n.B\n";

class EncodingWindowTest : public WindowTest {
 protected:
  TDocumentController& Docs() { return window->Documents(); }
  TExchangeCommands& X() { return window->Exchange(); }
  TFileChoice Choice(const std::string& path, int filter, TTextEncoding encoding) {
    TFileChoice c{QString::fromStdString(path), filter, false};
    c.encoding = encoding;
    return c;
  }
};

TEST_F(EncodingWindowTest, OpeningTextWithAnEmojiAsksAndReplacesOnlyOnYes) {
  Start({QString::fromStdString(docs.Write("doc.txt", ".A\r\n.B\r\n"))});
  const std::string emoji = docs.Write("emoji.txt", kEmojiDoc);
  prompts->answers.push_back(TAnswer::No);
  EXPECT_FALSE(Docs().OpenText(emoji));
  ASSERT_EQ(prompts->questions.size(), 1u);
  const std::string& question = prompts->questions[0];
  EXPECT_NE(question.find(Sj("2 文字")), std::string::npos);
  EXPECT_NE(question.find(Sj("3 行目の U+1F600")), std::string::npos);
  EXPECT_NE(question.find(Sj("「〓」に置き換えて")), std::string::npos);
  EXPECT_TRUE(prompts->errors.empty());  // a cancel is no error
  EXPECT_EQ(window->Document().path, docs.File("doc.txt"));
  EXPECT_EQ(Dump(window->Tree()), "A B");

  prompts->answers.push_back(TAnswer::Yes);
  ASSERT_TRUE(Docs().OpenText(emoji));
  EXPECT_EQ(Dump(window->Tree()), "A B");
  EXPECT_EQ(window->Tree().GetFirstNode()->Data()->Body(), Sj("fine\r\nsmile 〓 〓\r\n"));
  EXPECT_EQ(window->Document().textForm, (TTextForm{TTextEncoding::Utf8, false, TLineEnd::Lf}));
  EXPECT_TRUE(window->windowTitle().contains(QStringLiteral("[UTF-8]")));
}

TEST_F(EncodingWindowTest, AUtf8DocumentIsSavedBackAsUtf8AndSaveAsOffersTheEncoding) {
  WriteIni("Action", "TextSave", "1");
  Create();
  const std::string path = docs.Write("utf8.txt", kUtf8Doc);
  Start({QString::fromStdString(path)});
  EXPECT_EQ(Dump(window->Tree()), Sj("① A B"));
  EXPECT_TRUE(window->windowTitle().contains(QStringLiteral("[UTF-8]")));
  Type("x");
  ASSERT_EQ(Docs().Save(), TSaveResult::Saved);
  EXPECT_EQ(docs.Read("utf8.txt"), ".\xE2\x91\xA0 A\nxbody \xE8\xA1\xA8\n.B\n");

  // Save as Shift JIS: the document becomes that file, and the caption loses the name.
  dialogs->answers.push_back(Choice(docs.File("sjis"), 1, TTextEncoding::ShiftJis));
  ASSERT_EQ(Docs().SaveAs(), TSaveResult::Saved);
  EXPECT_EQ(dialogs->offeredEncodings.back(), TTextEncoding::Utf8);
  EXPECT_EQ(docs.Read("sjis.txt"), Iconv(".① A\r\nxbody 表\r\n.B\r\n", "CP932"));
  EXPECT_FALSE(window->windowTitle().contains(QStringLiteral("[")));
  // And back to UTF-8: a new UTF-8 file of a Shift JIS document has CR LF.
  dialogs->answers.push_back(Choice(docs.File("again"), 1, TTextEncoding::Utf8));
  ASSERT_EQ(Docs().SaveAs(), TSaveResult::Saved);
  EXPECT_EQ(dialogs->offeredEncodings.back(), TTextEncoding::ShiftJis);
  EXPECT_EQ(docs.Read("again.txt"), ".\xE2\x91\xA0 A\r\nxbody \xE8\xA1\xA8\r\n.B\r\n");
  // A binary save stays Shift JIS whatever was chosen.
  dialogs->answers.push_back(Choice(docs.File("bin"), 0, TTextEncoding::Utf8));
  ASSERT_EQ(Docs().SaveAs(), TSaveResult::Saved);
  EXPECT_NE(docs.Read("bin.pk2").find(Iconv("①", "CP932")), std::string::npos);
}

TEST_F(EncodingWindowTest, ImportsInsertsAndExportsInOtherEncodings) {
  Start({QString::fromStdString(docs.Write("doc.txt", ".A\r\nbody\r\n"))});
  // A UTF-16 hierarchical text becomes pages; an EUC-JP text goes in at the caret.
  X().InsertWZText(docs.Write("u16.txt", "\xFF\xFE" + Iconv(".X 表\r\n..Y\r\n", "UTF-16LE")));
  EXPECT_EQ(Dump(window->Tree()), Sj("A X 表 .Y"));
  Select(window->Tree().GetFirstNode());
  window->Editor().SetSelStart(0);
  X().InsertText(docs.Write("euc.txt", Iconv("日本語です\n", "EUC-JP-MS")));
  EXPECT_EQ(window->Editor().Text().substr(0, 12), Sj("日本語です\r\n"));
  // Refused at the caret and by the import: nothing changes.
  const std::string before = window->Editor().Text();
  prompts->answers = {TAnswer::No, TAnswer::No, TAnswer::No};
  X().InsertText(docs.Write("emoji.txt", kEmojiDoc));
  X().InsertWZText(docs.File("emoji.txt"));
  Docs().FilesDropped({QString::fromStdString(docs.File("emoji.txt"))});
  Docs().DropInsert();
  EXPECT_EQ(prompts->questions.size(), 3u);
  EXPECT_EQ(window->Editor().Text(), before);
  EXPECT_EQ(Dump(window->Tree()), Sj("A X 表 .Y"));
  // The subtree export writes the chosen encoding (the page is stored on leaving it).
  Select(window->Tree().GetFirstNode()->GetNextSibling());
  Select(window->Tree().GetFirstNode());
  X().SaveToNodeWZText(docs.File("sub"), false, TTextEncoding::Utf8);
  X().SaveToNodeWZText(docs.File("sub-sjis"), false, TTextEncoding::ShiftJis);
  EXPECT_EQ(docs.Read("sub.txt").substr(0, 10), ".A\r\n\xE6\x97\xA5\xE6\x9C\xAC");
  EXPECT_EQ(docs.Read("sub.txt"), Cp932ToUtf8(docs.Read("sub-sjis.txt")));
}

}  // namespace
}  // namespace nuv::test
