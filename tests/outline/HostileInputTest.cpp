// Input as a careless program or a hostile file delivers it: megabytes of one
// byte, trees a million levels deep, documents too large for their format.
// None of these tests is timed: a reader that did quadratic work or a walk
// that recursed per level would simply never finish, or crash.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>

#include "base/LittleEndian.h"
#include "outline/BinaryFormat.h"
#include "outline/FormatOptions.h"
#include "outline/LightStrings.h"
#include "outline/NodeClipboard.h"
#include "outline/TextFormat.h"
#include "support/OutlineFixtures.h"

namespace nuv {
namespace {

constexpr std::size_t kMegabytes = 3 << 20;

std::string Repeat(std::string_view unit, std::size_t bytes) {
  std::string s;
  s.reserve(bytes + unit.size());
  while (s.size() < bytes) s += unit;
  return s;
}

// A .pk2 image whose tree block is `block` and whose pages have empty records.
std::string BinaryImage(std::string_view block, int pages) {
  std::string image;
  AppendInt32LE(image, static_cast<int32_t>(block.size()));
  image += block;
  for (int i = 0; i < pages * 3; ++i) AppendInt32LE(image, 0);
  return image;
}

TEST(HostileInputTest, MegabytesOfOneByteReadInOnePassThroughEveryReader) {
  const std::string dots(64, '.');
  struct Case {
    const char* name;
    std::string bytes;
    int lines;     // lines of the light string list
    bool asBlock;  // also imported and read as a .pk2 tree block (one page a line)
  } cases[] = {
      // Every 0x1A but the run at the end is a character: each used to scan
      // to the end of the input to learn that.
      {"0x1A then a letter", Repeat("\x1A", kMegabytes) + "x", 1, true},
      {"0x1A and CR then a letter", Repeat("\x1A\r", kMegabytes) + "x", static_cast<int>(kMegabytes / 2) + 1, false},
      {"0x1A alone", Repeat("\x1A", kMegabytes), 0, true},
      {"lone CRs", Repeat("\r", kMegabytes), static_cast<int>(kMegabytes), false},
      {"dotted lines", Repeat(dots + "\r\n", kMegabytes), static_cast<int>((kMegabytes + 65) / 66), false},
      {"one line of dots", Repeat(".", kMegabytes), 1, true},
  };
  test::TTempDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TLightStrings lines;
    ASSERT_TRUE(lines.LoadFromFile(dir.Write("f.txt", c.bytes)));  // dropped files, direct links
    EXPECT_EQ(lines.Count(), c.lines);

    TOutlineTree tree;
    ASSERT_TRUE(ReadTextBytes(c.bytes, "f.txt", TFormatOptions{}, tree));
    EXPECT_GE(tree.Count(), 1);
    // The import and the tree block share the same line reader: the cases of
    // one line or none go through them too (the others would only repeat
    // millions of allocations).
    if (!c.asBlock) continue;
    bool ok = false;
    TOutlineTree doc;
    TTreeNode* parent = doc.AddChild(nullptr, "P");
    ImportTextBytes(c.bytes, "f.txt", TFormatOptions{}, doc, parent, ok);
    EXPECT_TRUE(ok);
    // The same bytes as a .pk2 tree block, with a record for every line.
    TOutlineTree binary;
    ASSERT_TRUE(ReadBinaryBytes(BinaryImage(c.bytes, c.lines), TFormatOptions{}, binary).ok);
    EXPECT_EQ(binary.Count(), std::max(c.lines, 1));
  }
}

TEST(HostileInputTest, AStaircaseOfTabsAndItsClimbsStayLinear) {
  // 3,000 levels deep and back to the top, twice: each climb is one step
  // per line, not one per level and line.
  std::string block;
  int pages = 0;
  for (int round = 0; round < 2; ++round)
    for (int level = 0; level < 3000; ++level, ++pages) block += std::string(static_cast<std::size_t>(level), '\t') + "t\r\n";
  TOutlineTree tree;
  ASSERT_TRUE(ReadBinaryBytes(BinaryImage(block, pages), TFormatOptions{}, tree).ok);
  EXPECT_EQ(tree.RootCount(), 2);
  EXPECT_EQ(tree.LastPage()->Level(), 2999);
  std::string image;
  ASSERT_TRUE(BuildBinary(tree, nullptr, image));
  EXPECT_EQ(image, BinaryImage(block, pages));
}

// A clipboard block of `depth` entries, each one level deeper than the last.
std::string DeepBlock(int depth) {
  std::string entries;
  for (int level = 0; level < depth; ++level) {
    AppendInt32LE(entries, level);
    AppendInt32LE(entries, 1);
    entries += 'p';
    AppendInt32LE(entries, -1);
  }
  std::string block;
  AppendInt32LE(block, static_cast<int32_t>(8 + entries.size()));
  AppendInt32LE(block, depth);
  return block + entries;
}

TEST(HostileInputTest, AMillionLevelPasteCopiesSavesAndCloses) {
  constexpr int kDepth = 1000000;
  const auto entries = DecodeNodeBlock(DeepBlock(kDepth));
  ASSERT_TRUE(entries);
  test::TTempDir dir;
  {
    TOutlineTree tree;
    TTreeNode* first = PasteEntries(tree, nullptr, *entries, TFormatOptions{});
    ASSERT_EQ(tree.Count(), kDepth);
    EXPECT_EQ(tree.LastPage()->Level(), kDepth - 1);
    EXPECT_EQ(tree.GetNodeAt(kDepth - 1), tree.LastPage());
    EXPECT_EQ(tree.FindById(tree.LastPage()->Id()), tree.LastPage());

    // Copying walks the subtree and the levels once.
    const std::string copy = EncodeNodeBlock(SubtreePages(first));
    EXPECT_EQ(copy, DeepBlock(kDepth));

    // Half a trillion dots or tabs: both formats refuse before building any.
    EXPECT_EQ(WriteText(dir.File("deep.txt"), tree, false, nullptr, TFormatOptions{}), TTextWriteResult::TooLarge);
    EXPECT_FALSE(WriteBinary(dir.File("deep.pk2"), tree, nullptr));
    EXPECT_FALSE(FileExists(dir.File("deep.txt")));
    EXPECT_FALSE(FileExists(dir.File("deep.pk2")));

    // The deepest 3,000 levels fit a text file and read back as deep.
    TTreeNode* low = tree.GetNodeAt(kDepth - 3000);
    ASSERT_EQ(WriteText(dir.File("low.txt"), tree, false, low, TFormatOptions{}), TTextWriteResult::Written);
    TOutlineTree back;
    ASSERT_TRUE(ReadText(dir.File("low.txt"), TFormatOptions{}, back));
    EXPECT_EQ(back.Count(), 3000);
    EXPECT_EQ(back.LastPage()->Level(), 2999);

    // Removing the chain from below its top unregisters every page.
    const TNodeId lowId = low->Id();
    tree.Delete(first->GetFirstChild());
    EXPECT_EQ(tree.Count(), 1);
    EXPECT_EQ(tree.FindById(lowId), nullptr);
    PasteEntries(tree, nullptr, *entries, TFormatOptions{});
  }  // closing the document frees a million levels without recursing
}

// AddressSanitizer reserves terabytes of address space: no limit fits it.
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define NUV_TEST_ASAN 1
#endif
#endif
#if !defined(__SANITIZE_ADDRESS__) && !defined(NUV_TEST_ASAN)
// Runs `body` in a child process whose address space may grow by only
// `headroom` bytes beyond what it holds; its exit code, or 128 + signal.
template <typename F>
int InLimitedChild(std::size_t headroom, F body) {
  std::fflush(nullptr);
  const pid_t pid = fork();
  if (pid == 0) {
    std::ifstream statm("/proc/self/statm");
    std::size_t pages = 0;
    statm >> pages;
    const rlim_t limit = pages * static_cast<std::size_t>(sysconf(_SC_PAGESIZE)) + headroom;
    const rlimit lim{limit, limit};
    setrlimit(RLIMIT_AS, &lim);
    _exit(body());
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

TEST(HostileInputTest, FormatLimitsAreCheckedBeforeMemoryIsTaken) {
  // 100,000 levels: five billion tabs or dots, far beyond both limits.
  TOutlineTree tree;
  TTreeNode* page = tree.AddChild(nullptr, "deep");
  for (int i = 1; i < 100000; ++i) page = tree.AddChild(page, "deep");
  test::TTempDir dir;
  const int code = InLimitedChild(256 << 20, [&] {
    if (WriteBinary(dir.File("deep.pk2"), tree, nullptr)) return 1;
    if (BinaryTreeBlockSize(tree)) return 2;
    std::string image;
    if (BuildBinary(tree, nullptr, image) || !image.empty()) return 3;
    if (WriteText(dir.File("deep.txt"), tree, false, nullptr, TFormatOptions{}) != TTextWriteResult::TooLarge) return 4;
    return 0;
  });
  EXPECT_EQ(code, 0);
  EXPECT_FALSE(FileExists(dir.File("deep.pk2")));
}
#endif

}  // namespace
}  // namespace nuv
