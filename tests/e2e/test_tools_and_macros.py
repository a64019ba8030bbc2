"""The external editor (Ctrl+E) and the macro command (Ctrl+M), pressed as a user does."""
import os
import stat
import sys

sys.path.insert(0, os.path.dirname(__file__))
from harness import E2EError, main  # noqa: E402
from test_page_editor import click_editor, save_as, saved_text  # noqa: E402

# A stand-in editor: it waits until both windows started it, so the two runs
# overlap, then upper-cases the file it was given (its last argument).
EDITOR = """#!/bin/sh
for last; do :; done
touch "{marks}/started-$$"
i=0
while [ "$(ls "{marks}" | grep -c started-)" -lt 2 ] && [ $i -lt 400 ]; do sleep 0.05; i=$((i+1)); done
tr a-z A-Z < "$last" > "$last.up" && cat "$last.up" > "$last" && rm "$last.up"
touch "{marks}/done-$$"
"""


def two_windows_edit_at_once_and_each_gets_its_own_text(s):
    marks = os.path.join(s.root, "marks")
    os.makedirs(marks)
    editor = os.path.join(s.root, "stand-in-editor")
    with open(editor, "w") as f:
        f.write(EDITOR.format(marks=marks))
    os.chmod(editor, stat.S_IRWXU)
    with open(os.path.join(s.home, "nuv.ini"), "wb") as f:
        f.write(f'[Path]\r\nEditor={editor}\r\n'.encode())
    windows = []
    for name, text in (("one.txt", "first page\r\n"), ("two.txt", "second page\r\n")):
        nuv = s.start_nuv(s.write(name, ".A\r\n" + text))
        click_editor(s, nuv)
        s.key("ctrl+e")
        windows.append(nuv)
    s.wait_for(lambda: len([m for m in os.listdir(marks) if m.startswith("done-")]) == 2, "both editors to end")
    s.settle(1.0)
    for nuv, name, expected in ((windows[0], "one.pk2", ".A\r\nFIRST PAGE\r\n"),
                                (windows[1], "two.pk2", ".A\r\nSECOND PAGE\r\n")):
        s.focus(nuv.window)
        save_as(s, name)
        text = saved_text(s, s.path(name))
        if text != expected:
            raise E2EError(f"{name} saved {text!r}, expected {expected!r}")
    left = os.listdir(os.path.join(s.home, "__temp__"))
    if left:
        raise E2EError(f"temporary files left behind: {left}")


def ctrl_m_runs_a_macro_on_the_page(s):
    os.makedirs(os.path.join(s.home, "macro"))
    with open(os.path.join(s.home, "macro", "quote.p2s"), "wb") as f:
        f.write(b"var i: integer;\r\nbegin\r\n  for i := 0 to LineCount - 1 do SetLineStr(i, '> ' + GetLineStr(i));\r\nend.\r\n")
    nuv = s.start_nuv(s.write("doc.txt", ".A\r\none\r\ntwo\r\n"))
    click_editor(s, nuv)
    s.key("ctrl+m")
    s.settle(0.5)
    s.type("quote")
    s.key("Return")
    s.settle(0.5)
    save_as(s, "quoted.pk2")
    text = saved_text(s, s.path("quoted.pk2"))
    expected = ".A\r\n> one\r\n> two\r\n"
    if text != expected:
        raise E2EError(f"saved {text!r}, expected {expected!r}")


if __name__ == "__main__":
    main([two_windows_edit_at_once_and_each_gets_its_own_text, ctrl_m_runs_a_macro_on_the_page])
