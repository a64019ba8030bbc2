"""Auto-clipping under a real X server: texts copied by another program (xclip)
become pages, one per copy, and never while a title is being typed."""
import os
import sys

sys.path.insert(0, os.path.dirname(__file__))
from harness import main  # noqa: E402
from test_page_editor import expect_saved  # noqa: E402


def auto_clip_on(s):
    """Edit menu, its last item: オートクリッピング."""
    s.key("alt+e", "Up", "Return")


def switching_on_adds_none_and_a_copy_adds_one(s):
    s.start_nuv(s.write("doc.txt", ".A\r\nbody\r\n"))
    s.set_clipboard("on the clipboard before")
    auto_clip_on(s)
    s.settle(1.0)
    s.set_clipboard("copied text\nline 2")
    s.settle(1.0)
    s.key("Escape")  # the new page's title edit keeps the derived title
    expect_saved(s, "clip.pk2", ".A\r\nbody\r\n.copied text\r\ncopied text\r\nline 2\r\n")


def a_title_being_typed_survives_a_copy(s):
    s.start_nuv(s.write("doc.txt", ".A\r\nbody\r\n"))
    auto_clip_on(s)
    s.settle(1.0)
    s.set_clipboard("first")
    s.settle(1.0)
    s.key("ctrl+a")
    s.type("my title")
    # Another program copies while the title edit is open: the page waits.
    s.set_clipboard("second")
    s.settle(1.0)
    s.type(" kept")
    s.key("Return")
    s.settle(1.0)
    s.key("Escape")
    expect_saved(s, "typed.pk2", ".A\r\nbody\r\n.my title kept\r\nfirst\r\n.second\r\nsecond\r\n")


if __name__ == "__main__":
    main([switching_on_adds_none_and_a_copy_adds_one, a_title_being_typed_survives_a_copy])
