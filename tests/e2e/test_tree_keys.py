"""The page tree walked, opened, closed and renamed with the keyboard, checked in the saved file."""
import os
import sys

sys.path.insert(0, os.path.dirname(__file__))
from harness import main  # noqa: E402
from test_outline_keys import save_quit_and_expect  # noqa: E402


def walk_expand_collapse_and_rename(s):
    doc = s.write("doc.txt", ".A\r\n..A1\r\n..A2\r\n.B\r\n..B1\r\n.C\r\n")
    nuv = s.start_nuv(doc)
    # The tree has the focus at the start. '*' opens A's subtree; A2 is
    # two rows down and gets a new title in place.
    s.key("Home", "asterisk", "Down", "Down", "F2")
    s.type("Z")
    s.key("Return")
    # Left goes to the parent and then closes it; the next Down lands on B,
    # Right opens B and then goes to its child B1.
    s.key("Left", "Left", "Down", "Right", "Right", "F2")
    s.type("Y")
    s.key("Return")
    # Left goes back to B and '-' closes it; typing a title's first letter
    # goes to that page among the rows shown, and Up from C lands on B, not
    # on its hidden child.
    s.key("Left", "minus", "c", "Up", "F2")
    s.type("X")
    s.key("Return")
    save_quit_and_expect(s, nuv, ".A\r\n..A1\r\n..Z\r\n.X\r\n..Y\r\n.C\r\n")


if __name__ == "__main__":
    main([walk_expand_collapse_and_rename])
