"""The conversion dialog from the keyboard: the tools menu, the dialog's
default button, and the converted page in the saved file."""
import os
import sys

sys.path.insert(0, os.path.dirname(__file__))
from harness import main  # noqa: E402
from test_page_editor import click_editor, expect_saved  # noqa: E402


def width_of_the_whole_page(s):
    nuv = s.start_nuv(s.write("doc.txt", ".A\r\nabc 123 ｶﾞｷﾞ\r\n"))
    click_editor(s, nuv)
    s.key("alt+l", "h")   # ツール → 半角・全角
    s.settle(0.5)
    s.key("Return")       # 半角→全角 with every table checked
    expect_saved(s, "width.pk2", ".A\r\nａｂｃ １２３ ガギ\r\n")


def case_of_the_selection(s):
    nuv = s.start_nuv(s.write("doc.txt", ".A\r\nabc def\r\n"))
    click_editor(s, nuv)
    s.key("ctrl+Home", "shift+Right", "shift+Right", "shift+Right")
    s.key("alt+l", "k")   # ツール → 小文字・大文字
    s.settle(0.5)
    s.key("Return")       # 小文字→大文字
    expect_saved(s, "case.pk2", ".A\r\nABC def\r\n")


if __name__ == "__main__":
    main([width_of_the_whole_page, case_of_the_selection])
