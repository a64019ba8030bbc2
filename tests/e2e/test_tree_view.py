"""The page tree walked, opened, closed, renamed and dragged with the keyboard and the mouse, checked in the saved file."""
import os
import struct
import sys

sys.path.insert(0, os.path.dirname(__file__))
from harness import E2EError, main  # noqa: E402
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


def screen_pixels(s):
    """The screen as (width, height, pixel(x, y) -> (r, g, b)), read from xwd's dump of the root window."""
    data = s.run(["xwd", "-root", "-silent"]).stdout
    fields = struct.unpack(">25I", data[:100])
    header_size, width, height, byte_order, bits_per_pixel, bytes_per_line, ncolors = (
        fields[0], fields[4], fields[5], fields[7], fields[11], fields[12], fields[19])
    if bits_per_pixel not in (24, 32):
        raise E2EError(f"xwd gave {bits_per_pixel} bits a pixel")
    start = header_size + ncolors * 12
    size = bits_per_pixel // 8
    order = "little" if byte_order == 0 else "big"

    def pixel(x, y):
        at = start + y * bytes_per_line + x * size
        value = int.from_bytes(data[at:at + size], order)
        return (value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF
    return width, height, pixel


def selected_row(s, nuv):
    """The tree's selected row as (left, top, height) on the screen: the run of
    screen rows in the window's left part that the selection's blue fills."""
    geometry = dict(line.split("=") for line in
                    s.run(["xdotool", "getwindowgeometry", "--shell", str(nuv.window)]).stdout.decode().split())
    x0, y0, h = int(geometry["X"]), int(geometry["Y"]), int(geometry["HEIGHT"])
    _, _, pixel = screen_pixels(s)

    def selection(colour):
        r, _, b = colour
        return b > 150 and b - r > 100
    rows = []
    for y in range(y0, y0 + h):
        marked = [x for x in range(x0, x0 + 240) if selection(pixel(x, y))]
        if len(marked) > 150:
            rows.append((y, marked[0]))
    if not rows:
        raise E2EError("no selected row in the tree")
    return min(left for _, left in rows), rows[0][0], rows[-1][0] - rows[0][0] + 1


def drag(s, start, end):
    """Presses the left button at start, moves in steps to end and releases it there."""
    s.run(["xdotool", "mousemove", "--sync", str(start[0]), str(start[1]), "mousedown", "1"])
    steps = 8
    for i in range(1, steps + 1):
        x = start[0] + (end[0] - start[0]) * i // steps
        y = start[1] + (end[1] - start[1]) * i // steps
        s.run(["xdotool", "mousemove", "--sync", str(x), str(y)])
        s.settle(0.1)
    s.run(["xdotool", "mouseup", "1"])
    s.settle()


def expander_click_and_drag_onto_a_title(s):
    titles = ["Alpha part with a long title", "Beta part with a long title", "Gamma part with a long title"]
    doc = s.write("doc.txt", f".{titles[0]}\r\n..A1\r\n.{titles[1]}\r\n.{titles[2]}\r\n")
    nuv = s.start_nuv(doc)
    s.key("Home", "minus")     # the first page selected and closed: three rows
    left, top, height = selected_row(s, nuv)

    def row(i, x):
        return left + x, top + i * height + height // 2
    # A click on the first page's expander opens it; Down then reaches its
    # child, which is renamed.
    s.run(["xdotool", "mousemove", "--sync", *map(str, row(0, 10)), "click", "1"])
    s.settle()
    s.key("Down", "F2")
    s.type("one")
    s.key("Return")
    # Gamma, now on the fourth row, dragged onto the first page's title becomes its last child.
    drag(s, row(3, 120), row(0, 120))
    save_quit_and_expect(s, nuv, f".{titles[0]}\r\n..one\r\n..{titles[2]}\r\n.{titles[1]}\r\n")


if __name__ == "__main__":
    main([walk_expand_collapse_and_rename, expander_click_and_drag_onto_a_title])
