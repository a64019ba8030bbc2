// Interoperability with a real peer, Debian's txt2pdbdoc, run as a child
// process: it decodes what nuv writes, nuv decodes what it writes, and both
// compress the same text into the same record bytes.
#include <gtest/gtest.h>

#include "base/FileIo.h"
#include "exchange/PalmDocFile.h"
#include "exchange/SampleText.h"
#include "support/ChildProcess.h"
#include "support/TempDir.h"

namespace nuv {
namespace {

using test::BE16;
using test::RecordOf;
using test::RunProcess;
using test::SampleText;
using test::Sj;
using test::StoredForm;
using test::TTempDir;

class PeerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(test::HaveProgram("txt2pdbdoc")) << "txt2pdbdoc is missing: scripts/deps.sh installs it";
  }

  // txt2pdbdoc's own file for a text: compressed unless `plain`.
  std::string PeerEncode(const std::string& text, bool plain, bool binary = false) {
    const std::string in = m_dir.Write("peer-in.txt", text);
    const std::string out = m_dir.File("peer.pdb");
    std::vector<std::string> argv = {"txt2pdbdoc"};
    if (plain) argv.push_back("-c");
    if (binary) argv.push_back("-b");
    argv.insert(argv.end(), {"peer", in, out});
    EXPECT_EQ(RunProcess(argv, m_dir.File("peer.log")), 0) << m_dir.Read("peer.log");
    return m_dir.Read("peer.pdb");
  }

  // What txt2pdbdoc decodes from a file image.
  std::string PeerDecode(const std::string& image) {
    const std::string in = m_dir.Write("nuv.pdb", image);
    EXPECT_EQ(RunProcess({"txt2pdbdoc", "-d", in, m_dir.File("peer-out.txt")}, m_dir.File("peer.log")), 0)
        << m_dir.Read("peer.log");
    return m_dir.Read("peer-out.txt");
  }

  TTempDir m_dir;
};

const std::size_t kSizes[] = {0, 1, 4095, 4096, 4097, 3 * 4096 + 123, 40000};

TEST_F(PeerTest, PeerDecodesWhatNuvWrites) {
  for (const std::size_t size : kSizes) {
    const std::string text = SampleText(size, static_cast<unsigned>(size) + 1);
    for (const bool compress : {true, false}) {
      EXPECT_EQ(PeerDecode(test::Encode(text, Sj("猫の本"), compress)), StoredForm(text)) << size << compress;
      EXPECT_EQ(PeerDecode(test::Encode(text, "bin", compress, true)), text) << "binary " << size << compress;
    }
  }
}

TEST_F(PeerTest, NuvDecodesWhatPeerWrites) {
  for (const std::size_t size : kSizes) {
    const std::string text = SampleText(size, static_cast<unsigned>(size) + 2);
    for (const bool plain : {false, true}) {
      EXPECT_EQ(test::Decode(PeerEncode(text, plain)), text) << size << plain;
      EXPECT_EQ(test::Decode(PeerEncode(text, plain, true), true), text) << "binary " << size << plain;
    }
  }
  // A lone CR and LF-only text from Unix: both come back as CR LF.
  EXPECT_EQ(test::Decode(PeerEncode("one\ntwo\rthree\n", false)), "one\r\ntwo\r\nthree\r\n");
}

// The same text gives the same records. The header differs by design in the
// dates (txt2pdbdoc writes the current time, nuv fixed ones) and in the two
// zero bytes nuv keeps after the record list, which move every offset by two.
TEST_F(PeerTest, RecordsAreByteIdentical) {
  std::string japanese;
  while (japanese.size() < 200000)
    japanese += Sj("吾輩は猫である。名前はまだ無い。\r\nどこで生れたかとんと見当がつかぬ。 It was dark.\r\n");
  test::AvoidStraddle(japanese);
  const std::string texts[] = {SampleText(50000, 7), SampleText(4096 * 5, 8), japanese, "abcabcabc", "a b  c\r\n"};
  for (const std::string& text : texts) {
    for (const bool compress : {true, false}) {
      const std::string ours = test::Encode(text, "peer", compress);
      const std::string theirs = PeerEncode(text, !compress);
      ASSERT_EQ(BE16(ours, 76), BE16(theirs, 76));
      EXPECT_EQ(ours.substr(0, 36), theirs.substr(0, 36)) << "name, attributes, version";
      EXPECT_EQ(ours.substr(44, 34), theirs.substr(44, 34)) << "the fields after the dates";
      for (std::size_t k = 0; k < BE16(ours, 76); ++k)
        ASSERT_EQ(RecordOf(ours, k), RecordOf(theirs, k)) << "record " << k << " of " << text.size() << " bytes";
    }
  }
}

}  // namespace
}  // namespace nuv
