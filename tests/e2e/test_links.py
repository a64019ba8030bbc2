"""Links and the page history, as a user follows them with the mouse and the keyboard."""
import os
import socket
import stat
import sys

sys.path.insert(0, os.path.dirname(__file__))
from harness import E2EError, main, read_sjis  # noqa: E402
from test_page_editor import save_as  # noqa: E402


def editor_point(s, nuv, across):
    """A point in the page editor (the lower right part of the window), `across` of the window's width."""
    geometry = dict(line.split("=") for line in
                    s.run(["xdotool", "getwindowgeometry", "--shell", str(nuv.window)]).stdout.decode().split())
    return (int(geometry["X"]) + int(int(geometry["WIDTH"]) * across),
            int(geometry["Y"]) + int(geometry["HEIGHT"]) * 3 // 4)


def click_editor(s, nuv, ctrl=False):
    """Clicks into the page editor; with Ctrl a link there is followed (the default ExecLinkMode).
    A link click goes near the editor's left edge, where every row of the
    filled text holds a link."""
    x, y = editor_point(s, nuv, 0.45 if ctrl else 0.75)
    argv = ["xdotool", "mousemove", "--sync", str(x), str(y)]
    argv += ["keydown", "ctrl", "click", "1", "keyup", "ctrl"] if ctrl else ["click", "1"]
    s.run(argv)
    s.settle()


def saved_pages(s, pk2):
    """The saved pages as {title: body} from the hierarchical text the tool writes."""
    out = s.path("readback.txt")
    s.run([s.tool, "convert", pk2, out, "--no-data"])
    pages, title = {}, None
    for line in read_sjis(out).split("\r\n"):
        if line.startswith(".") and not line.startswith(".."):
            title = line[1:]
            pages[title] = []
        elif title is not None:
            pages[title].append(line)
    return {t: "\r\n".join(lines) for t, lines in pages.items()}


def fill_editor_with_clipboard(s):
    """Pastes the clipboard's link until every column of the visible rows is part of a link."""
    s.key("ctrl+Home", "ctrl+v")  # from the start: a click may leave the caret past the end
    for _ in range(4):
        s.key("ctrl+a", "ctrl+c", "ctrl+End", "ctrl+v")  # one line of 16 links
    s.key("Return")
    for _ in range(5):
        s.key("ctrl+a", "ctrl+c", "ctrl+End", "ctrl+v")  # 32 such lines
    s.key("ctrl+Home")


def following_a_link_and_going_back_and_forward(s):
    nuv = s.start_nuv(s.write("doc.txt", ".A\r\n.B\r\nbody B\r\n.C\r\n.D\r\n.E\r\n"))
    # The tree has the focus at the start: B, its link, back to A.
    s.key("Down", "ctrl+shift+c", "Up")
    copied = s.wait_for(lambda: s.clipboard(), "the copied link")
    if copied != b"<node:B>":
        raise E2EError(f"the copied link is {copied!r}")
    click_editor(s, nuv)
    fill_editor_with_clipboard(s)
    click_editor(s, nuv, ctrl=True)  # B is now shown
    s.type("X")
    s.key("ctrl+comma")              # back on A
    s.type("Y")
    # Through the tree to E: the back list then reads D, C, B, A, ...
    s.key("ctrl+Tab", "Down", "Down", "Down", "Down")
    # The back menu of the tree menu, its third entry: B.
    s.key("alt+t", "k", "Down", "Down", "Return")
    click_editor(s, nuv)
    s.type("Z")
    # Forward leads through C and D back to E.
    for mark in "123":
        s.key("ctrl+period")
        click_editor(s, nuv)
        s.type(mark)
    save_as(s, "links.pk2")
    pages = saved_pages(s, s.path("links.pk2"))
    expected = {"B": "XZ", "C": "1", "D": "2", "E": "3"}
    for title, marks in expected.items():
        body = pages.get(title, "")
        if any(m not in body for m in marks) or "Y" in body:
            raise E2EError(f"page {title} holds {body!r}, expected the marks {marks!r}")
    if "Y" not in pages.get("A", "") or "<node:B>" not in pages.get("A", ""):
        raise E2EError(f"page A holds {pages.get('A')!r}")


def a_file_link_reaches_the_opener_as_one_path(s):
    # A stand-in for the desktop's opener: it records its arguments and runs nothing.
    bin_dir = os.path.join(s.root, "bin")
    os.makedirs(bin_dir)
    record = os.path.join(s.root, "opened.txt")
    opener = os.path.join(bin_dir, "xdg-open")
    with open(opener, "w") as f:
        f.write('#!/bin/sh\nprintf "%s\\n" "$#" "$@" > "$NUV_E2E_OPENED"\n')
    os.chmod(opener, 0o755)
    s.env["PATH"] = bin_dir + os.pathsep + s.env["PATH"]
    s.env["NUV_E2E_OPENED"] = record
    name = "a b;$(touch pwned).txt"
    target = s.write(name, "")
    line = f"<file@{name}>" * 6
    nuv = s.start_nuv(s.write("doc.txt", ".A\r\n" + (line + "\r\n") * 40))
    click_editor(s, nuv, ctrl=True)
    s.wait_for(lambda: os.path.exists(record) and os.path.getsize(record) > 0, "the opener to be started")
    with open(record) as f:
        got = f.read()
    if got != f"1\n{target}\n":
        raise E2EError(f"the opener got {got!r}, expected the one path {target!r}")
    for folder in (s.docs, s.root, s.home, os.getcwd()):
        if os.path.exists(os.path.join(folder, "pwned")):
            raise E2EError(f"something ran a command from the link in {folder}")


def a_direct_link_page_edits_its_file_and_leaves_an_unreadable_one(s):
    linked = s.write("linked.txt", "old line\r\n")
    # A socket's name: no one can read it, not even the superuser.
    unreadable = s.path("unreadable")
    sock = socket.socket(socket.AF_UNIX)
    sock.bind(unreadable)
    sock.close()
    nuv = s.start_nuv(s.write("doc.txt", ".L\r\n<DirectLink:linked.txt>\r\n.U\r\n<DirectLink:unreadable>\r\n"))
    click_editor(s, nuv)
    s.key("ctrl+End")
    s.type("new")
    s.key("ctrl+Tab")                # leaving L writes its file
    s.wait_for(lambda: open(linked, "rb").read() != b"old line\r\n", "the linked file to be written")
    s.key("Down")                    # U cannot be read
    s.settle(1.0)
    s.key("Return")                  # the message that says so
    click_editor(s, nuv)
    s.key("ctrl+End")
    s.type("typed")
    s.key("ctrl+Tab", "Up")
    save_as(s, "direct.pk2")
    with open(linked, "rb") as f:
        text = f.read()
    if text != b"old line\r\nnew\r\n":
        raise E2EError(f"the linked file holds {text!r}")
    if not stat.S_ISSOCK(os.stat(unreadable).st_mode):
        raise E2EError("the unreadable file was written")
    body = saved_pages(s, s.path("direct.pk2")).get("U", "")
    if not body.startswith("<DirectLink:unreadable>") or "typed" not in body:
        raise E2EError(f"page U holds {body!r}")


if __name__ == "__main__":
    main([following_a_link_and_going_back_and_forward, a_file_link_reaches_the_opener_as_one_path,
          a_direct_link_page_edits_its_file_and_leaves_an_unreadable_one])
