"""The conversion dialog from the keyboard: the tools menu, the dialog's
default button, and the converted page in the saved file."""
import os
import sys

sys.path.insert(0, os.path.dirname(__file__))
from harness import E2EError, main  # noqa: E402
from test_page_editor import click_editor, save_as, saved_text  # noqa: E402


def width_of_the_whole_page(s):
    nuv = s.start_nuv(s.write("doc.txt", ".A\r\nabc 123 ｶﾞｷﾞ\r\n"))
    click_editor(s, nuv)
    s.key("alt+l", "h")   # ツール → 半角・全角
    s.settle(0.5)
    s.key("Return")       # 半角→全角 with every table checked
    save_as(s, "width.pk2")
    text = saved_text(s, s.path("width.pk2"))
    expected = ".A\r\nａｂｃ １２３ ガギ\r\n"
    if text != expected:
        raise E2EError(f"saved {text!r}, expected {expected!r}")


def case_of_the_selection(s):
    nuv = s.start_nuv(s.write("doc.txt", ".A\r\nabc def\r\n"))
    click_editor(s, nuv)
    s.key("ctrl+Home", "shift+Right", "shift+Right", "shift+Right")
    s.key("alt+l", "k")   # ツール → 小文字・大文字
    s.settle(0.5)
    s.key("Return")       # 小文字→大文字
    save_as(s, "case.pk2")
    text = saved_text(s, s.path("case.pk2"))
    expected = ".A\r\nABC def\r\n"
    if text != expected:
        raise E2EError(f"saved {text!r}, expected {expected!r}")


if __name__ == "__main__":
    main([width_of_the_whole_page, case_of_the_selection])
