// Links and the history in the real window: a page link copied from the tree
// and followed with the mouse by each ExecLinkMode, back and forward with
// their menus, file links handed to the desktop's opener, inserted file,
// folder and direct links, and the direct-link view.
#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <filesystem>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "app/DocumentController.h"
#include "app/LinkController.h"
#include "editor/view/PageEditorView.h"
#include "outline/NodeData.h"
#include "support/WindowFixture.h"

namespace nuv::test {
namespace {

const char* kDoc = ".A\r\nbody A\r\n.B\r\nbody B\r\n.C\r\n.D\r\n.E\r\n";

class LinksWindowTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    Start({QString::fromStdString(docs.Write("doc.txt", kDoc))});
    QApplication::setActiveWindow(window.get());
  }
  TLinkCommands& Links() { return window->Links(); }
  TTreeNode* Page(const std::string& title) {
    for (TTreeNode* n = window->Tree().GetFirstNode(); n; n = n->GetNext())
      if (n->Text() == title) return n;
    return nullptr;
  }
  std::string Shown() { return window->SelectedPage() ? window->SelectedPage()->Text() : std::string(); }
  QWidget* Viewport() { return static_cast<QAbstractScrollArea*>(window->PageEditor())->viewport(); }
  // The point of the text at a byte offset of the shown text (inside a link
  // when the offset is).
  QPoint PointAt(int offset) {
    window->Editor().SetSelStart(offset);
    auto* view = static_cast<TPageEditorView*>(window->PageEditor());
    return view->CaretRect().center() + QPoint(2, 0);
  }
  void Click(int offset, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::mouseClick(Viewport(), Qt::LeftButton, modifiers, PointAt(offset));
    QApplication::processEvents();
  }
  // Shows `text` on page A.
  void ShowOnA(const std::string& text) {
    Select(Page("A"));
    window->Editor().SetText(text);
  }
  // Replaces the shown text as the user would, so it is stored when the page is left.
  void Retype(const std::string& text) {
    window->Editor().SelectAll();
    window->Editor().InsertAtCaret(text);
  }
  std::vector<std::string> Captions(QMenu* menu) {
    emit menu->aboutToShow();
    std::vector<std::string> out;
    for (QAction* a : menu->actions()) out.push_back(a->text().toStdString());
    return out;
  }
  std::string ClipboardSjis() {
    const QByteArray bytes = QApplication::clipboard()->mimeData()->data(kSjisTextMime);
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
  }
};

TEST_F(LinksWindowTest, ACopiedPageLinkIsFollowedByEachLinkMode) {
  Select(Page("B"));
  Links().miTreeCopyNodeLink->trigger();
  EXPECT_EQ(ClipboardSjis(), "<node:B>");
  EXPECT_EQ(QApplication::clipboard()->text(), "<node:B>");
  window->Config().PirkaCompatible = true;
  Links().miTreeCopyNodeLink->trigger();
  EXPECT_EQ(ClipboardSjis(), "<node@B>");
  window->Config().PirkaCompatible = false;

  // {ExecLinkMode, how the link is clicked, whether B is then shown}
  enum TClick { Plain, Ctrl, Double };
  const struct {
    int mode;
    TClick click;
    bool follows;
  } cases[] = {{0, Plain, true}, {0, Ctrl, true},  {1, Plain, false}, {1, Ctrl, true},
               {2, Plain, false}, {2, Double, true}, {7, Plain, true}};
  for (const auto& c : cases) {
    window->Config().ExecLinkMode = c.mode;
    ShowOnA("see <node:B> here\r\n");
    if (c.click == Double)
      QTest::mouseDClick(Viewport(), Qt::LeftButton, Qt::NoModifier, PointAt(6));
    else
      Click(6, c.click == Ctrl ? Qt::ControlModifier : Qt::NoModifier);
    EXPECT_EQ(Shown(), c.follows ? "B" : "A") << c.mode << " " << c.click;
  }
  // Back returns to A, forward to B again.
  Links().acBack->trigger();
  EXPECT_EQ(Shown(), "A");
  Links().acForward->trigger();
  EXPECT_EQ(Shown(), "B");
}

TEST_F(LinksWindowTest, LineLinksSelectTheFirstLineThatBeginsWithTheText) {
  window->Config().ExecLinkMode = 0;
  Select(Page("B"));
  Retype("one\r\ntwo x\r\ntwo y\r\n");
  window->Editor().SetSelStart(5);  // the caret on "two x"
  Links().miCopyCurRowLink2->trigger();
  EXPECT_EQ(ClipboardSjis(), "<line:two x/node:B>");
  Links().miCopyCurRowLink1->trigger();
  EXPECT_EQ(ClipboardSjis(), "<line:two x>");
  ShowOnA("<line:two/node:B>\r\n<line:body>\r\n<line:two/node:Nowhere>\r\n");
  Click(3);
  EXPECT_EQ(Shown(), "B");
  EXPECT_EQ(window->Editor().SelStart(), 5);
  EXPECT_EQ(window->Editor().SelLength(), 3);
  // A missing page: the shown page is searched.
  ShowOnA("<line:two/node:Nowhere>\r\n<line:body>\r\ntwo\r\n");
  Click(3);
  EXPECT_EQ(Shown(), "A");
  EXPECT_EQ(window->Editor().SelStart(), 38);
  // A line holding ">" makes no link: the user is told, the clipboard keeps its text.
  window->Editor().SetText("a > b\r\n");
  Links().miCopyCurRowLink1->trigger();
  EXPECT_EQ(prompts->errors.size(), 1u);
  EXPECT_EQ(ClipboardSjis(), "<line:two x>");
}

TEST_F(LinksWindowTest, FilesAndAddressesReachTheOpenerAsOneArgument) {
  window->Config().ExecLinkMode = 0;
  const std::string folder = docs.Path();
  // {link text, what the desktop's opener gets: a path or a URL}
  const struct {
    const char* text;
    std::string path;
    const char* url;
  } cases[] = {
      {"<file@sub dir/a b;$(touch x).txt>", folder + "/sub dir/a b;$(touch x).txt", nullptr},
      {"<file@..\\up.txt>", std::filesystem::path(folder).parent_path().string() + "/up.txt", nullptr},
      {"<file@/abs/x>", "/abs/x", nullptr},
      {"http://example.com/x", "", "http://example.com/x"},
      {"me@example.com", "", "mailto:me@example.com"},
      {"<file@C:\\x.txt>", "", nullptr},
      {"<other thing>", "", nullptr},
  };
  for (const auto& c : cases) {
    launcher->desktop.clear();
    launcher->urls.clear();
    ShowOnA(std::string(c.text) + "\r\n");
    Click(1);
    EXPECT_EQ(launcher->desktop, c.path.empty() ? QStringList() : QStringList{QString::fromStdString(c.path)}) << c.text;
    EXPECT_EQ(launcher->urls, c.url ? QStringList{QString::fromLatin1(c.url)} : QStringList()) << c.text;
    EXPECT_EQ(Shown(), "A");
  }
}

TEST_F(LinksWindowTest, ThePointerIsAHandOverALink) {
  ShowOnA("plain <node:B> words\r\n");
  QTest::mouseMove(Viewport(), PointAt(8));
  EXPECT_EQ(Viewport()->cursor().shape(), Qt::PointingHandCursor);
  QTest::mouseMove(Viewport(), PointAt(1));
  EXPECT_EQ(Viewport()->cursor().shape(), Qt::IBeamCursor);
}

TEST_F(LinksWindowTest, TheHistoryKeepsTenPagesAndJumpsToAnyEntry) {
  for (const char* t : {"B", "C", "D", "E"}) Select(Page(t));
  EXPECT_EQ(Captions(Links().pmNodeBack), (std::vector<std::string>{"D", "C", "B", "A"}));
  // The third back entry: B is shown, and forward leads through C and D to E.
  Links().pmNodeBack->actions()[2]->trigger();
  EXPECT_EQ(Shown(), "B");
  EXPECT_EQ(Captions(Links().pmNodeForward), (std::vector<std::string>{"C", "D", "E"}));
  EXPECT_EQ(Captions(Links().pmNodeBack), (std::vector<std::string>{"A"}));
  Links().pmNodeForward->actions()[1]->trigger();
  EXPECT_EQ(Shown(), "D");
  EXPECT_EQ(Captions(Links().pmNodeBack), (std::vector<std::string>{"C", "B", "A"}));
  // Selecting a page by hand empties the forward list.
  Select(Page("A"));
  EXPECT_FALSE(Links().acForward->isEnabled());
  // Removed pages leave both lists; a jump never reaches them.
  window->Tree().Delete(Page("C"));
  EXPECT_EQ(Captions(Links().pmNodeBack), (std::vector<std::string>{"D", "B", "A"}));
  // Ten entries at most.
  for (int i = 0; i < 6; ++i)
    for (const char* t : {"B", "A"}) Select(Page(t));
  EXPECT_EQ(Links().History().Back().size(), 10u);
  // A new document starts with empty lists.
  prompts->answers = {TAnswer::No};
  window->Documents().acNew->trigger();
  EXPECT_FALSE(Links().acBack->isEnabled());
  EXPECT_TRUE(Captions(Links().pmNodeBack).empty());
}

TEST_F(LinksWindowTest, FileLinksAreInsertedOneRowFurtherEach) {
  const QString f1 = QString::fromStdString(docs.File("one.txt"));
  const QString f2 = QString::fromStdString(docs.File("sub/two.txt"));
  const QString bad = QString::fromStdString(docs.File("a>b.txt"));
  ShowOnA("top\r\nmiddle\r\nend\r\n");
  window->Editor().SetSelStart(5);
  dialogs->fileLists = {{f1, bad, f2}};
  Links().acInsertFileLink->trigger();
  EXPECT_EQ(window->Editor().Text(),
            "top\r\n<file@" + docs.File("one.txt") + ">\r\nmiddle\r\n<file@" + docs.File("sub/two.txt") + ">\r\nend\r\n");
  // The name with ">" is refused with a message; the others are inserted.
  EXPECT_EQ(prompts->errors.size(), 1u);
  window->Editor().SetText("");
  dialogs->fileLists = {{f1, f2}};
  Links().acInsertFileLinkR->trigger();
  EXPECT_EQ(window->Editor().Text(), "<file@./one.txt>\r\n<file@./sub/two.txt>\r\n");
  window->Editor().SetText("");
  dialogs->fileLists = {{QString::fromStdString(docs.Path())}};
  Links().acInsertFolderLink->trigger();
  EXPECT_EQ(window->Editor().Text(), "<file@" + docs.Path() + ">\r\n");
  // Dropped files.
  window->Editor().SetText("");
  window->Documents().FilesDropped({f1});
  window->Documents().pmDrop->close();
  Links().miDropInsertLinkR->trigger();
  EXPECT_EQ(window->Editor().Text(), "<file@./one.txt>\r\n");
}

// A file no one can read, not even the superuser: a socket's name.
void MakeUnreadable(const std::string& path) {
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
  ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ::close(fd);
}

TEST_F(LinksWindowTest, DirectLinkPagesEditTheirFileAndNeverWriteAnUnreadableOne) {
  docs.Write("linked.txt", "file line\r\n");
  // A relative link on the page shown first resolves against the document being opened.
  window->Documents().OpenDocument(docs.Write("first.txt", ".L\r\n<DirectLink:linked.txt>\r\n" + std::string(kDoc)));
  EXPECT_EQ(window->Editor().Text(), "file line\r\n");
  Select(Page("B"));
  // The page has text: the question comes first, and No changes nothing.
  prompts->answers = {TAnswer::No};
  Links().acInsertDirectLink->trigger();
  EXPECT_EQ(prompts->questions.size(), 1u);
  EXPECT_EQ(Page("B")->Data()->Body(), "body B\r\n");
  dialogs->answers = {TFileChoice{QString::fromStdString(docs.File("linked.txt"))}};
  Links().acInsertDirectLinkR->trigger();
  EXPECT_EQ(Page("B")->Data()->Body(), "<DirectLink:./linked.txt>");
  EXPECT_EQ(Page("B")->OverlayIndex(), 0);
  EXPECT_EQ(window->Editor().Text(), "file line\r\n");
  window->Editor().InsertAtCaret("typed ");
  Select(Page("A"));
  EXPECT_EQ(docs.Read("linked.txt"), "typed file line\r\n");
  // The view switched off shows the link line itself.
  Select(Page("B"));
  Links().miDirectLink->trigger();
  EXPECT_FALSE(Links().miDirectLink->isChecked());
  EXPECT_EQ(window->Editor().Text(), "<DirectLink:./linked.txt>\r\n");
  Links().miDirectLink->trigger();
  EXPECT_TRUE(Links().miDirectLink->isChecked());
  EXPECT_EQ(window->Editor().Text(), "typed file line\r\n");

  // An unreadable file: said so, the page shows its link line, nothing is written.
  MakeUnreadable(docs.File("socket"));
  Select(Page("C"));
  window->Documents().FilesDropped({QString::fromStdString(docs.File("socket")), QString::fromStdString(docs.File("x"))});
  window->Documents().pmDrop->close();
  prompts->errors.clear();
  Links().miDropInsDirectLink->trigger();
  EXPECT_EQ(prompts->infos.size(), 1u);  // only the first dropped file is used
  EXPECT_EQ(prompts->errors.size(), 1u);
  EXPECT_EQ(window->Editor().Text(), "<DirectLink:" + docs.File("socket") + ">\r\n");
  window->Editor().SetSelStart(static_cast<int>(window->Editor().Text().size()));
  window->Editor().InsertAtCaret("\r\nmore");
  Select(Page("A"));
  EXPECT_TRUE(std::filesystem::is_socket(docs.File("socket")));
  EXPECT_EQ(Page("C")->Data()->Body(), "<DirectLink:" + docs.File("socket") + ">\r\nmore\r\n");

  // MakeDLinkNewNode: a page per file, titled with the file's name.
  window->Config().MakeDLinkNewNode = true;
  window->Documents().FilesDropped({QString::fromStdString(docs.File("linked.txt")), QString::fromStdString(docs.File("socket"))});
  window->Documents().pmDrop->close();
  Links().miDropInsDirectLink->trigger();
  ASSERT_NE(Page("linked.txt"), nullptr);
  ASSERT_NE(Page("socket"), nullptr);
  EXPECT_EQ(Page("linked.txt")->Data()->Body(), "<DirectLink:" + docs.File("linked.txt") + ">");
  EXPECT_EQ(Page("A")->GetNext(), Page("linked.txt"));
  EXPECT_EQ(Page("linked.txt")->GetNext(), Page("socket"));
}

}  // namespace
}  // namespace nuv::test
