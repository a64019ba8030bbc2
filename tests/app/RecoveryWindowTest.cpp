// Crash recovery in the real window: a copy follows unsaved changes and goes
// with a save or a discard; a copy left behind is offered at the next start,
// opens under the document's own name and never replaces the file itself.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "app/DocumentController.h"
#include "app/NuvStatusBar.h"
#include "app/RecoveryController.h"
#include "base/FileIo.h"
#include "outline/BinaryFormat.h"
#include "outline/Recovery.h"
#include "outline/TextFormat.h"
#include "support/OutlineFixtures.h"
#include "support/WindowFixture.h"

namespace nuv::test {
namespace {

class RecoveryWindowTest : public WindowTest {
 protected:
  // A binary document of two pages, A with "body A" and B.
  std::string BinaryDoc() {
    TOutlineTree tree;
    EXPECT_TRUE(ReadTextBytes(".A\r\nbody A\r\n.B\r\n", "doc.txt", TFormatOptions{}, tree));
    const std::string path = docs.File("doc.pk2");
    EXPECT_TRUE(WriteBinary(path, tree, nullptr));
    return path;
  }
  std::string FirstBody(const std::string& path) {
    TOutlineTree tree;
    EXPECT_TRUE(ReadBinary(path, TFormatOptions{}, tree).ok);
    return tree.GetFirstNode()->Data()->Body();
  }
  std::vector<TRecoveryInfo> LeftBehind() { return FindOrphanedCopies(RecoveryFolder()); }
  // Leaves the program the way a crash does: no close, no save, no discard.
  void Crash() { Destroy(); }
};

TEST_F(RecoveryWindowTest, ACopyFollowsUnsavedChangesAndGoesWithASaveOrADiscard) {
  const std::string path = BinaryDoc();
  Start({QString::fromStdString(path)});
  TRecoveryController& recovery = window->Recovery();
  EXPECT_EQ(recovery.Interval(), 60);
  EXPECT_FALSE(recovery.WriteNow());  // nothing to recover
  Type("unsaved ");
  ASSERT_TRUE(recovery.WriteNow());
  const std::string copy = recovery.Copy().File();
  TRecoveryInfo info;
  TOutlineTree held;
  int selected = 0;
  ASSERT_TRUE(ReadRecoveryCopy(copy, TFormatOptions{}, info, held, selected));
  EXPECT_EQ(info.documentPath, path);
  EXPECT_EQ(held.GetFirstNode()->Data()->Body(), "unsaved body A\r\n");  // the page was never left
  EXPECT_EQ(FirstBody(path), "body A\r\n");

  ASSERT_EQ(window->Documents().Save(), TSaveResult::Saved);
  EXPECT_FALSE(FileExists(copy));
  EXPECT_FALSE(recovery.CopyDue());
  // A change that reaches neither the editor nor the tree (a replace in pages
  // that are not shown) only marks the document: that is enough for a copy.
  window->SetModifiedIndicator(true);
  EXPECT_TRUE(recovery.CopyDue());
  Type("more ");
  testhooks::FailWritesAfter(0);  // a full disk: the status bar says the copy is missing
  EXPECT_FALSE(recovery.WriteNow());
  testhooks::FailWritesAfter(-1);
  EXPECT_EQ(window->Status()->Message(),
            QString::fromUtf8("復元用のコピーを書き込めませんでした: ") + QString::fromLocal8Bit(std::strerror(ENOSPC)));
  ASSERT_TRUE(recovery.WriteNow());
  prompts->answers.push_back(TAnswer::No);  // close without saving, on purpose
  ASSERT_TRUE(Close());
  EXPECT_FALSE(recovery.Copy().HasCopy());
  Destroy();
  EXPECT_TRUE(LeftBehind().empty());
}

TEST_F(RecoveryWindowTest, TheNextStartOffersWhatACrashLeft) {
  const std::string path = BinaryDoc();
  Start({QString::fromStdString(path)});
  Type("lost ");
  ASSERT_TRUE(window->Recovery().WriteNow());
  Crash();
  ASSERT_EQ(LeftBehind().size(), 1u);

  Create();
  Start({QString::fromStdString(path)});  // the default answer recovers
  ASSERT_EQ(prompts->questions.size(), 1u);
  EXPECT_NE(prompts->questions[0].find(path), std::string::npos);
  EXPECT_EQ(window->Tree().GetFirstNode()->Data()->Body(), "lost body A\r\n");
  EXPECT_EQ(window->Document().path, path);
  EXPECT_TRUE(window->Document().DocModified);
  EXPECT_EQ(window->Status()->Panel(0), QString::fromUtf8("変更"));
  EXPECT_EQ(FirstBody(path), "body A\r\n");  // the file itself waits for the user's save
  EXPECT_TRUE(LeftBehind().empty());          // the copy is this window's now
  ASSERT_EQ(window->Documents().Save(), TSaveResult::Saved);
  EXPECT_EQ(FirstBody(path), "lost body A\r\n");
  Crash();
  EXPECT_TRUE(LeftBehind().empty());
}

TEST_F(RecoveryWindowTest, AnswerNoDiscardsAndOtherDocumentsAreNotAsked) {
  const std::string path = BinaryDoc();
  Start();  // a new document
  Type("draft");
  ASSERT_TRUE(window->Recovery().WriteNow());
  Crash();

  Create();
  Start({QString::fromStdString(path)});  // another document: its start asks nothing
  EXPECT_TRUE(prompts->questions.empty());
  Crash();
  ASSERT_EQ(LeftBehind().size(), 1u);

  Create();
  prompts->answers.push_back(TAnswer::No);
  Start();  // starting without a file asks about every copy left behind
  ASSERT_EQ(prompts->questions.size(), 1u);
  EXPECT_EQ(window->Editor().Text(), "");
  EXPECT_TRUE(LeftBehind().empty());
}

TEST_F(RecoveryWindowTest, IntervalZeroTurnsCopiesOff) {
  WriteIni("Recovery", "Interval", "0");
  Destroy();
  Create();
  Start();
  Type("x");
  EXPECT_EQ(window->Recovery().Interval(), 0);
  EXPECT_FALSE(window->Recovery().WriteNow());
}

}  // namespace
}  // namespace nuv::test
