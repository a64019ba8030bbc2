"""Pages added, renamed and moved with the keyboard reach the saved file."""
import os
import sys

sys.path.insert(0, os.path.dirname(__file__))
from harness import E2EError, main, read_sjis  # noqa: E402


def saved_text(s, pk2):
    out = s.path("readback.txt")
    s.run([s.tool, "convert", pk2, out, "--no-data"])
    return read_sjis(out)


def save_quit_and_expect(s, nuv, expected):
    """Saves the text document opened as saved.pk2, quits, and checks the pages as hierarchical text."""
    s.key("ctrl+s")            # a text document asks where to save it
    s.type(s.path("saved.pk2"))
    s.key("Return")
    s.wait_for(lambda: os.path.exists(s.path("saved.pk2")), "the saved document")
    s.key("alt+f", "x")        # quit through the File menu
    if s.wait_exit(nuv) != 0:
        raise E2EError("nuv did not end cleanly")
    text = saved_text(s, s.path("saved.pk2"))
    if text != expected:
        raise E2EError(f"saved {text!r}, expected {expected!r}")


def add_rename_move_save_quit(s):
    doc = s.write("doc.txt", ".A\r\nbody a\r\n.B\r\nbody b\r\n")
    nuv = s.start_nuv(doc)
    s.key("ctrl+k")            # a page below A, its title in edit
    s.type("new page")
    s.key("Return")
    s.key("alt+Down")          # moved below B
    save_quit_and_expect(s, nuv, ".A\r\nbody a\r\n.B\r\nbody b\r\n.new page\r\n")


if __name__ == "__main__":
    main([add_rename_move_save_quit])
