// Find over pages with the editor's own search: find-all, every hit of a page,
// the find walk through the listed pages and the replace walk.
#include <gtest/gtest.h>

#include <deque>
#include <functional>

#include "editor/HeadlessPageEditor.h"
#include "outline/NodeData.h"
#include "outline/OutlineTexts.h"
#include "search/EditorMatcher.h"
#include "search/FindWalker.h"
#include "search/PageFind.h"
#include "search/ReplaceWalk.h"
#include "support/OutlineFixtures.h"

namespace nuv {
namespace {

using test::Sj;

TExSearchOptions Options(std::initializer_list<TExSearchOption> set) {
  TExSearchOptions options = 0;
  for (TExSearchOption o : set) options |= SearchOption(o);
  return options;
}

std::string Titles(const TOutlineTree& tree, const std::vector<TNodeId>& ids) {
  std::string out;
  for (TNodeId id : ids) out += (out.empty() ? "" : " ") + tree.FindById(id)->Text();
  return out;
}

// A tree with one body per page: "title=body" items separated by "|".
void BuildPages(TOutlineTree& tree, const std::vector<std::pair<std::string, std::string>>& pages) {
  for (const auto& [title, body] : pages) tree.EnsureData(tree.AddChild(nullptr, title)).SetBody(body);
}

TEST(FindAllTest, TitlesBodiesAndDirectLinks) {
  test::TTempDir dir;
  dir.Write("linked.txt", "the needle is here\r\n");
  TOutlineTree tree;
  BuildPages(tree, {{"needle title", "needle body\r\n"},
                    {"plain", "nothing\r\n"},
                    {"linked", "<DirectLink:linked.txt>\r\n"},
                    {"gone", "<DirectLink:missing.txt>\r\n"},
                    {"body", "a needle\r\n"}});
  tree.AddChild(nullptr, "needle without record");
  TEditorMatcher matcher;
  matcher.SetQuery("needle", Options({soMatchCase}));
  const TFindAllResult result = FindAll(AllPages(tree), matcher, dir.File("doc.pk2"));
  // A page whose title and body both hold the text is listed once; the
  // readable linked file is searched, the unreadable one passed over and named.
  EXPECT_EQ(Titles(tree, result.pages), "needle title linked body needle without record");
  ASSERT_EQ(result.unreadableLinks.size(), 1u);
  EXPECT_EQ(result.unreadableLinks[0], dir.File("missing.txt"));
}

TEST(FindAllTest, TrailBytesAreNeverBackslashOrBar) {
  // "表" is 95 5C and "ポ" is 83 7C: neither holds a "\" or a "|".
  TOutlineTree tree;
  BuildPages(tree, {{"a", Sj("表示\r\n")}, {"b", Sj("ポート\r\n")}, {"c", "x\\y|z\r\n"}});
  TEditorMatcher matcher;
  for (const auto& [pattern, options] : std::vector<std::pair<std::string, TExSearchOptions>>{
           {"\\", 0}, {"|", Options({soMatchCase})}, {"\\\\", Options({soRegexp})}, {"\\|", Options({soRegexp})}}) {
    matcher.SetQuery(pattern, options);
    EXPECT_EQ(Titles(tree, FindAll(AllPages(tree), matcher, "").pages), "c") << pattern;
  }
}

std::string Hits(std::string_view text, const std::string& pattern, TExSearchOptions options) {
  TEditorMatcher matcher;
  matcher.SetQuery(pattern, options);
  std::string out;
  ForEachHit(text, 1, matcher, [&](const TPageHit& h) {
    out += std::to_string(h.line) + ":" + std::to_string(h.column) + ":" + std::to_string(h.length) + " ";
  });
  return out;
}

TEST(FindAllTest, EveryHitInTextOrderWithoutOverlapOrRepeat) {
  const TExSearchOptions regex = Options({soRegexp});
  EXPECT_EQ(Hits("aaa\r\nbaab\r\n", "aa", Options({soMatchCase})), "1:0:2 2:1:2 ");
  EXPECT_EQ(Hits("ABC abc\r\n", "b", 0), "1:1:1 1:5:1 ");
  // Patterns that also match the empty string never stop the walk.
  EXPECT_EQ(Hits("axxbx\r\n\r\n", "x*", regex), "1:1:2 1:4:1 ");
  EXPECT_EQ(Hits("ab\r\ncd\r\n", "^", regex), "");
  EXPECT_EQ(Hits(Sj("日本語の日本\r\n"), Sj("日本"), Options({soMatchCase})), "1:0:4 1:8:4 ");
}

TEST(FindAllTest, ASearchWithoutCaseFindsWhatTheEditorFindsInTheWholeLoweredText) {
  // The matcher lowers a long text part by part: a hit is put at every
  // distance from the top over the first parts' ends, followed by a letter
  // (no whole word there, though it ends a part), a kana or a lone lead byte.
  const std::vector<std::pair<std::string, TExSearchOptions>> queries = {
      {"ab", 0}, {"ab", Options({soWholeWord})}, {Sj("ア"), Options({soWholeWord})}};
  const std::string tails[] = {"c ab.", Sj("アab ア"), "\x82 AB"};
  TEditorMatcher matcher;
  TEditorEx editor;
  for (const auto& [pattern, options] : queries) {
    matcher.SetQuery(pattern, options);
    editor.SetFindString(pattern);
    editor.SetExSearchOptions(options);
    for (const std::string& tail : tails) {
      for (std::size_t k = 0; k < 2200; ++k) {
        const std::string text = std::string(k, ' ') + "AB" + tail + std::string(k % 7, 'x');
        const std::string lowered = LowerSjis(text);
        matcher.SetText(text);
        std::string ours, theirs;
        for (std::size_t from = 0, p = 0, l = 0; matcher.Find(from, p, l); from = p + l) ours += std::to_string(p) + " ";
        for (std::size_t from = 0, p = 0, l = 0; editor.SearchFrom(lowered, from, false, p, l); from = p + l)
          theirs += std::to_string(p) + " ";
        ASSERT_EQ(ours, theirs) << pattern << " at " << k << " before " << tail;
      }
    }
  }
}

// The window as the find walk sees it: a result list whose rows show pages in
// a real headless editor, and the status bar's last word.
class TListHost : public IFindHost {
 public:
  TListHost(TOutlineTree& tree, std::vector<TNodeId> rows) : m_tree(tree), m_rows(std::move(rows)) {}
  IPageEditor& Editor() override { return editor; }
  std::string FindBoxText() const override { return box; }
  int ListCount() const override { return static_cast<int>(m_rows.size()); }
  int SelectedListRow() const override { return row; }
  bool ShowListRow(int r) override {
    row = r;
    TTreeNode* page = m_tree.FindById(m_rows[static_cast<std::size_t>(r)]);
    if (!page) return false;
    editor.SetText(page->Data() ? page->Data()->Body() : std::string());
    return true;
  }
  void ShowFound() override { status = "found"; }
  void ShowNotFound() override { status = "not found"; }

  THeadlessPageEditor editor;
  std::string box;
  std::string status;
  int row = -1;

 private:
  TOutlineTree& m_tree;
  std::vector<TNodeId> m_rows;
};

TEST(FindWalkerTest, FindNextVisitsEveryHitOfEveryListedPageThenStops) {
  TOutlineTree tree;
  BuildPages(tree, {{"p1", "x.x\r\n"}, {"p2", "none\r\n"}, {"p3", "..x\r\n"}});
  std::vector<TNodeId> rows;
  for (TTreeNode* p = tree.GetFirstNode(); p; p = p->GetNext()) rows.push_back(p->Id());
  TListHost host(tree, rows);
  host.box = "x";
  TFindWalker walker;
  walker.ListSearchStarted(Options({soMatchCase}));
  host.ShowListRow(0);
  std::vector<std::string> visits;
  while (walker.FindNext(host)) visits.push_back(std::to_string(host.row) + "@" + std::to_string(host.editor.SelStart()));
  EXPECT_EQ(visits, (std::vector<std::string>{"0@0", "0@2", "2@2"}));
  EXPECT_EQ(host.status, "not found");
  // Back again: the caret stands after the last hit, so find previous walks
  // every hit in reverse, a hit at the very end of a page included.
  visits.clear();
  while (walker.FindPrev(host)) visits.push_back(std::to_string(host.row) + "@" + std::to_string(host.editor.SelStart()));
  EXPECT_EQ(visits, (std::vector<std::string>{"2@2", "0@2", "0@0"}));
}

TEST(FindWalkerTest, ALongRunOfPagesWithoutHitsIsWalkedInALoop) {
  TOutlineTree tree;
  std::vector<TNodeId> rows;
  for (int i = 0; i < 20000; ++i) rows.push_back(tree.AddChild(nullptr, "t")->Id());
  tree.EnsureData(tree.LastPage()).SetBody("hit\r\n");
  TListHost host(tree, rows);
  host.box = "hit";
  TFindWalker walker;
  walker.ListSearchStarted(0);
  host.ShowListRow(0);
  EXPECT_TRUE(walker.FindNext(host));
  EXPECT_EQ(host.row, 19999);
}

TEST(FindWalkerTest, TypingInTheFindBoxSearchesTheCurrentPageOnly) {
  TOutlineTree tree;
  BuildPages(tree, {{"p1", "a\r\n"}, {"p2", "b\r\n"}});
  TListHost host(tree, {tree.GetFirstNode()->Id(), tree.LastPage()->Id()});
  TFindWalker walker;
  walker.ListSearchStarted(0);
  host.ShowListRow(0);
  walker.FindBoxEdited();
  host.box = "b";
  EXPECT_FALSE(walker.FindNext(host));
  EXPECT_EQ(host.row, 0);
}

// The window as the replace walk sees it: pages shown in a headless editor,
// stored back when left, and the query dialog's answers from a script.
class TReplaceHost : public IReplaceHost {
 public:
  explicit TReplaceHost(TOutlineTree& tree) : m_tree(tree) {}
  IPageEditor& Editor() override { return editor; }
  void ShowPage(TTreeNode* page) override {
    Leave();
    m_shown = page->Id();
    editor.SetText(page->Data() ? page->Data()->Body() : std::string());
    editor.SetSelStart(page->Data() ? page->Data()->CaretPos() : 0);
    editor.SetModified(false);
  }
  TQueryAnswer AskReplace() override {
    if (answers.empty()) return TQueryAnswer::Cancel;
    const TQueryAnswer a = answers.front();
    answers.pop_front();
    ++asked;
    return a;
  }
  void ShowCount(int count) override { lastCount = count; }
  bool CanChangeBodyDirectly(const TTreeNode&) const override { return direct; }
  void Leave() {
    TTreeNode* page = m_tree.FindById(m_shown);
    if (page && editor.Modified()) m_tree.EnsureData(page).SetBody(editor.Text());
  }

  THeadlessPageEditor editor;
  std::deque<TQueryAnswer> answers;
  int asked = 0;
  int lastCount = -1;
  bool direct = true;

 private:
  TOutlineTree& m_tree;
  TNodeId m_shown = 0;
};

std::string Bodies(const TOutlineTree& tree) {
  std::string out;
  for (const TTreeNode* p = tree.GetFirstNode(); p; p = p->GetNext()) out += (p->Data() ? p->Data()->Body() : "-") + "|";
  return out;
}

TEST(ReplaceWalkTest, QueryAnswersLeaveTheExpectedBytes) {
  using A = TQueryAnswer;
  const struct {
    std::vector<A> answers;
    const char* bodies;
    int count;
  } cases[] = {
      {{A::Yes, A::Yes, A::Yes}, "b b\r\n|b\r\n|", 3},
      {{A::No, A::Yes, A::Yes}, "a b\r\n|b\r\n|", 2},
      {{A::Yes, A::ReplaceAll}, "b b\r\n|b\r\n|", 3},  // all, also the next page, without asking
      {{A::Yes, A::Cancel}, "b a\r\n|a\r\n|", 1},
      {{A::Closed, A::Yes}, "a a\r\n|b\r\n|", 1},  // the close button goes on with the next page
  };
  for (const auto& c : cases) {
    TOutlineTree tree;
    BuildPages(tree, {{"p1", "a a\r\n"}, {"p2", "a\r\n"}});
    TReplaceHost host(tree);
    host.answers.assign(c.answers.begin(), c.answers.end());
    TReplaceWalk walk(tree, host);
    TReplaceUndo undo;
    const int count = walk.Run({"a", "b", Options({soMatchCase}), TReplaceRange::AllPages, false},
                               tree.GetFirstNode(), undo);
    host.Leave();
    EXPECT_EQ(count, c.count);
    EXPECT_EQ(host.lastCount, c.count);
    EXPECT_EQ(Bodies(tree), c.bodies);
  }
}

TEST(ReplaceWalkTest, ReplaceAllSearchesEveryPageFromItsTopAndCanBeTakenBack) {
  TOutlineTree tree;
  BuildPages(tree, {{"p1", "a\r\nx a\r\n"}, {"p2", "aa\r\n"}, {"p3", "none\r\n"}});
  // The caret of p1 lies after its last hit: the page is still replaced.
  tree.GetFirstNode()->Data()->SetCaretPos(7);
  TReplaceHost host(tree);
  TReplaceWalk walk(tree, host);
  TReplaceUndo undo;
  // "a" by "aa" ends, and "\r\n" in the replacement is a line break.
  EXPECT_EQ(walk.Run({"a", "aa\\r\\n", Options({soMatchCase}), TReplaceRange::AllPages, true}, tree.GetFirstNode(),
                     undo),
            4);
  host.Leave();
  EXPECT_EQ(Bodies(tree), "aa\r\n\r\nx aa\r\n\r\n|aa\r\naa\r\n\r\n|none\r\n|");
  EXPECT_EQ(undo.PageCount(), 2u);
  EXPECT_TRUE(undo.Undo(tree));
  EXPECT_EQ(Bodies(tree), "a\r\nx a\r\n|aa\r\n|none\r\n|");
  // A replace undone once cannot be undone again, and a page changed since
  // the replace keeps the replace from being taken back.
  EXPECT_FALSE(undo.Undo(tree));
  walk.Run({"none", "some", Options({soMatchCase}), TReplaceRange::AllPages, true}, tree.GetFirstNode(), undo);
  host.Leave();
  tree.LastPage()->Data()->SetBody("edited\r\n");
  EXPECT_FALSE(undo.CanUndo(tree));
}

TEST(ReplaceWalkTest, PagesNotShownAreReplacedInTheirBytesAsTheEditorWould) {
  const std::vector<std::pair<std::string, std::string>> pages = {
      {"p1", "a\nb a"}, {"p2", "x\r\n"}, {"p3", "a a\r\n"}};
  std::string bodies[2];
  int counts[2] = {0, 0};
  for (const bool direct : {false, true}) {
    TOutlineTree tree;
    BuildPages(tree, pages);
    tree.AddChild(nullptr, "no record");
    TReplaceHost host(tree);
    host.direct = direct;
    TReplaceWalk walk(tree, host);
    TReplaceUndo undo;
    // The selected page is the one shown: it is changed through the editor either way.
    TTreeNode* selected = tree.GetNodeAt(2);
    host.ShowPage(selected);
    counts[direct] =
        walk.Run({"a", "c\\r\\n", Options({soMatchCase}), TReplaceRange::AllPages, true}, selected, undo);
    host.Leave();
    bodies[direct] = Bodies(tree);
    EXPECT_EQ(undo.PageCount(), 2u);
    // Taken back, every page holds its bytes from before (the pages changed
    // in their bytes keep even their own line ends).
    ASSERT_TRUE(undo.Undo(tree));
    if (direct) {
      EXPECT_EQ(tree.GetFirstNode()->Data()->Body(), "a\nb a");
    }
  }
  EXPECT_EQ(counts[0], 4);
  EXPECT_EQ(counts[1], 4);
  EXPECT_EQ(bodies[0], "c\r\n\r\nb c\r\n|x\r\n|c\r\n c\r\n\r\n|-|");
  EXPECT_EQ(bodies[1], bodies[0]);
}

TEST(ReplaceWalkTest, TheCurrentPageRangeStartsAtTheCaret) {
  TOutlineTree tree;
  BuildPages(tree, {{"p1", "a a a\r\n"}});
  TReplaceHost host(tree);
  host.ShowPage(tree.GetFirstNode());
  host.editor.SetSelStart(1);
  host.answers = {TQueryAnswer::Yes, TQueryAnswer::Yes};
  TReplaceWalk walk(tree, host);
  TReplaceUndo undo;
  EXPECT_EQ(walk.Run({"a", "b", Options({soMatchCase}), TReplaceRange::CurrentPage, false}, tree.GetFirstNode(), undo),
            2);
  EXPECT_EQ(host.editor.Text(), "a b b\r\n");
}

}  // namespace
}  // namespace nuv
