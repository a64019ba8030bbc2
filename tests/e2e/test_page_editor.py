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


if __name__ == "__main__":
    main([typing_reaches_the_saved_page, the_clipboard_carries_text_both_ways])
