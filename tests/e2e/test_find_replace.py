"""Find and replace across pages by keyboard, checked against sed."""
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(__file__))
from harness import E2EError, main, sjis  # noqa: E402
from test_page_editor import map_characters, save_as  # noqa: E402

# "表" (95 5C) and "ソ" (83 5C) end in the byte of "\"; the find must neither
# stumble on them nor change them.
DOC = ".One\r\na cat sat\r\n日本語のcat表示\r\n.Two\r\nno match ソ\r\n.Three\r\ncat and cat\r\n"


def converted(s, pk2):
    """The saved document as hierarchical text, in bytes."""
    out = s.path("readback.txt")
    s.run([s.tool, "convert", pk2, out, "--no-data"])
    with open(out, "rb") as f:
        return f.read()


def wait_saved(s, path, before):
    s.wait_for(lambda: os.path.exists(path) and os.path.getmtime(path) != before, "the saved document")
    s.settle(0.5)


def find_keys_and_replace_all_agree_with_sed(s):
    s.start_nuv(s.write("doc.txt", DOC))
    map_characters(s, "猫")
    # Find over all pages: pages One and Three are listed, One's first hit is shown.
    s.key("ctrl+f")
    s.type("cat")
    s.key("Return")
    # F3 through One's second hit and on to Three's two hits, Shift+F3 back
    # to Three's first: the caret then stands on "cat" at the start of Three.
    s.key("F3", "F3", "F3", "shift+F3")
    # Replace asking, in the current page, from the caret: the hit after the
    # one shown is offered first and taken with Return (はい); there is none after it.
    s.key("ctrl+r", "ctrl+a")
    s.type("cat")
    s.key("Tab")
    s.type("cow")
    s.key("Return")
    s.key("Return")
    save_as(s, "step.pk2")
    step = converted(s, s.path("step.pk2"))
    expected = sjis(DOC.replace("cat and cat", "cat and cow"))
    if step != expected:
        raise E2EError(f"after the query saved {step!r}, expected {expected!r}")

    # Replace all in every page, the dialog driven by keys alone: past the
    # four options to the range, down to "全ノード", on to "すべて置換".
    s.key("ctrl+r", "ctrl+a")
    s.type("cat")
    s.key("Tab")
    s.type("猫")
    s.key("Tab", "Tab", "Tab", "Tab", "Tab", "Down", "Tab", "Tab", "space")
    before = os.path.getmtime(s.path("step.pk2"))
    s.key("ctrl+s")
    wait_saved(s, s.path("step.pk2"), before)
    saved = converted(s, s.path("step.pk2"))

    # sed on the same text as it stood before the replace.
    sed = subprocess.run(["sed", b"s/cat/" + sjis("猫") + b"/g"], input=step, capture_output=True, check=True,
                         env=dict(os.environ, LC_ALL="C")).stdout
    if saved != sed:
        raise E2EError(f"replace all saved {saved!r}, sed gives {sed!r}")
    if sed.count(sjis("猫")) != 3:
        raise E2EError(f"expected three replacements in {sed!r}")


if __name__ == "__main__":
    main([find_keys_and_replace_all_agree_with_sed])
