"""Typing into a page and the system clipboard, as a user does them."""
import os
import sys

sys.path.insert(0, os.path.dirname(__file__))
from harness import E2EError, main, read_sjis  # noqa: E402


def click_editor(s, nuv):
    """Clicks into the page editor (the lower right part of the window)."""
    geometry = dict(line.split("=") for line in
                    s.run(["xdotool", "getwindowgeometry", "--shell", str(nuv.window)]).stdout.decode().split())
    x = int(geometry["X"]) + int(geometry["WIDTH"]) * 3 // 4
    y = int(geometry["Y"]) + int(geometry["HEIGHT"]) * 3 // 4
    s.run(["xdotool", "mousemove", "--sync", str(x), str(y), "click", "1"])
    s.settle()


def map_characters(s, text):
    """Gives every non-ASCII character of `text` a key of its own before typing.
    xdotool would otherwise remap one spare key per character while the
    program may still be reading the previous mapping, and lose characters."""
    for ch in sorted(set(c for c in text if ord(c) > 0x7F)):
        s.run(["xmodmap", "-e", f"keycode any = U{ord(ch):04X}"])
    s.settle(1.0)


def save_as(s, name):
    s.key("ctrl+s")  # a text document asks where to save it
    s.type(s.path(name))
    s.key("Return")
    s.wait_for(lambda: os.path.exists(s.path(name)), "the saved document")


def saved_text(s, pk2):
    out = s.path("readback.txt")
    s.run([s.tool, "convert", pk2, out, "--no-data"])
    return read_sjis(out)


def expect_saved(s, name, expected):
    """Saves the document under a name and compares its pages, as hierarchical text."""
    save_as(s, name)
    text = saved_text(s, s.path(name))
    if text != expected:
        raise E2EError(f"saved {text!r}, expected {expected!r}")


def typing_reaches_the_saved_page(s):
    nuv = s.start_nuv(s.write("doc.txt", ".A\r\n"))
    click_editor(s, nuv)
    map_characters(s, "日本語かな")
    s.key("ctrl+End")
    s.type("  日本語")
    s.key("Return")            # the new line takes the indent of the one above
    s.type("かな")
    s.key("BackSpace")         # one double-byte character
    s.type("Z")
    s.key("ctrl+z")            # undoes the one typed character
    s.type("x")
    expect_saved(s, "typed.pk2", ".A\r\n  日本語\r\n  かx\r\n")


def the_clipboard_carries_text_both_ways(s):
    nuv = s.start_nuv(s.write("doc.txt", ".A\r\n日本語の行\r\nsecond\r\n"))
    click_editor(s, nuv)
    s.key("ctrl+Home", "shift+End", "ctrl+c")
    copied = s.wait_for(lambda: s.clipboard(), "the copied text")
    if copied.decode("utf-8") != "日本語の行":
        raise E2EError(f"xclip read {copied!r}")
    # Text of another program comes in as Shift JIS; its line breaks become CR LF.
    s.set_clipboard("貼り付け\npasted ")
    s.key("ctrl+End", "ctrl+v")
    expect_saved(s, "pasted.pk2", ".A\r\n日本語の行\r\nsecond\r\n貼り付け\r\npasted \r\n")


def a_box_travels_through_the_clipboard(s):
    nuv = s.start_nuv(s.write("doc.txt", ".A\r\nabcdef\r\n日本語です\r\nmnopqr\r\n"))
    click_editor(s, nuv)
    s.key("ctrl+Home", "Right", "Right")
    s.key("Menu")  # the popup's Box選択モード(&K): box mode has no key of its own
    s.settle()
    s.key("k")
    s.settle()
    s.key("shift+Down", "shift+Down", "shift+Right", "shift+Right", "shift+Right", "shift+Right", "ctrl+c")
    # Columns 2 to 6 of the three rows; other programs get plain lines.
    copied = s.wait_for(lambda: s.clipboard(), "the copied box")
    if copied.decode("utf-8") != "cdef\n本語\nopqr":
        raise E2EError(f"xclip read {copied!r}")
    # Pasted as a box at the end of the first row, column 6 of each row.
    s.key("ctrl+Home", "End", "ctrl+v")
    expect_saved(s, "box.pk2", ".A\r\nabcdefcdef\r\n日本語本語です\r\nmnopqropqr\r\n")


def box_mode_from_the_edit_menu(s):
    nuv = s.start_nuv(s.write("doc.txt", ".A\r\nabcdef\r\nghijkl\r\n"))
    click_editor(s, nuv)
    s.key("ctrl+Home", "Right", "Right")
    s.key("alt+e")  # 編集(&E), then its 箱型選択モード(&B)
    s.settle()
    s.key("b")
    s.settle()
    s.key("shift+Down", "shift+Right", "shift+Right", "ctrl+c")
    copied = s.wait_for(lambda: s.clipboard(), "the copied box")
    if copied.decode("utf-8") != "cd\nij":
        raise E2EError(f"xclip read {copied!r}")
    s.key("Delete")  # the box's columns go from both rows
    expect_saved(s, "boxmenu.pk2", ".A\r\nabef\r\nghkl\r\n")


if __name__ == "__main__":
    main([typing_reaches_the_saved_page, the_clipboard_carries_text_both_ways, a_box_travels_through_the_clipboard,
          box_mode_from_the_edit_menu])
