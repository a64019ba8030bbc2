"""What the user typed reaches the file and survives: typing into a page and
reopening, the already-open check between two programs, pages copied from one
window into another, and a crash with kill -9 followed by the recovery."""
import glob
import os
import signal
import subprocess
import sys

sys.path.insert(0, os.path.dirname(__file__))
from harness import E2EError, main, read_sjis  # noqa: E402


def pk2(s, name, text):
    """A binary document made from hierarchical text by nuvtool."""
    src = s.write(name + ".src.txt", text)
    out = s.path(name)
    s.run([s.tool, "convert", src, out])
    return out


def saved_text(s, doc):
    out = s.path(os.path.basename(doc) + ".readback.txt")
    s.run([s.tool, "convert", doc, out, "--no-data"])
    return read_sjis(out)


def expect(what, got, wanted):
    if got != wanted:
        raise E2EError(f"{what}: got {got!r}, expected {wanted!r}")


def quit_nuv(s, nuv):
    s.focus(nuv.window)
    s.key("alt+f", "x")
    expect("exit status", s.wait_exit(nuv), 0)


def to_editor(s, nuv):
    """Clicks into the page's text, as a user would, and goes to its end."""
    s.click(nuv.window, 500, 250)
    s.key("ctrl+End")


def wait_window(s, name):
    return s.wait_for(lambda: s.window_ids(name), f"a window titled {name}")[0]


def type_save_quit_reopen(s):
    doc = pk2(s, "doc.pk2", ".A\r\nbody a\r\n.B\r\nbody b\r\n")
    nuv = s.start_nuv(doc)
    to_editor(s, nuv)
    s.type("typed here")
    s.key("ctrl+s")
    quit_nuv(s, nuv)
    wanted = ".A\r\nbody a\r\ntyped here\r\n.B\r\nbody b\r\n"
    expect("saved", saved_text(s, doc), wanted)
    before = open(doc, "rb").read()
    again = s.start_nuv(doc)  # reopened and closed unchanged: nothing asked, nothing written
    quit_nuv(s, again)
    expect("after reopening", open(doc, "rb").read(), before)


def already_open_in_another_program(s):
    doc = pk2(s, "doc.pk2", ".A\r\n")
    s.env["NUV_TRACE_ACTIVATION"] = "1"
    first = s.start_nuv(doc)
    second = subprocess.Popen([s.nuv, doc], env=s.env, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    s.processes.append(second)
    dialog = wait_window(s, "確認")
    s.focus(dialog)
    # The second choice, "開いてるウィンドウをアクティブにする", then OK.
    s.run(["xdotool", "key", "--clearmodifiers", "Down", "Return"])
    expect("the second program's exit status", s.wait_exit(second), 0)
    quit_nuv(s, first)
    err = first.stderr.read().decode(errors="replace")
    if "nuv: activated" not in err:
        raise E2EError(f"the first window was not asked to come to the front: {err!r}")


def pages_copied_between_windows(s):
    one = pk2(s, "one.pk2", ".A\r\nbody a\r\n..A1\r\nchild\r\n.B\r\n")
    two = pk2(s, "two.pk2", ".X\r\nbody x\r\n")
    first = s.start_nuv(one)
    s.key("ctrl+c")  # the first page with its child, from the tree
    second = s.start_nuv(two)
    s.key("ctrl+v", "ctrl+s")
    quit_nuv(s, second)
    quit_nuv(s, first)
    expect("pasted", saved_text(s, two), ".A\r\nbody a\r\n..A1\r\nchild\r\n.X\r\nbody x\r\n")


def recovery_after_kill(s):
    with open(os.path.join(s.home, "nuv.ini"), "wb") as f:
        f.write(b"[Recovery]\r\nInterval=1\r\n")
    doc = pk2(s, "doc.pk2", ".A\r\nbody a\r\n")
    nuv = s.start_nuv(doc)
    to_editor(s, nuv)
    s.type("not saved yet")
    copies = os.path.join(s.env["XDG_STATE_HOME"], "nuv", "*.nuvrec")
    s.wait_for(lambda: glob.glob(copies) and b"not saved yet" in open(glob.glob(copies)[0], "rb").read(),
               "the recovery copy")
    nuv.send_signal(signal.SIGKILL)
    nuv.wait()
    original = open(doc, "rb").read()

    again = s.start_nuv(doc)
    question = wait_window(s, "確認")
    s.focus(question)
    s.run(["xdotool", "key", "--clearmodifiers", "Return"])  # the default answer recovers
    s.settle()
    expect("the document before the user saves", open(doc, "rb").read(), original)
    s.focus(again.window)
    s.key("ctrl+s")
    quit_nuv(s, again)
    expect("recovered", saved_text(s, doc), ".A\r\nbody a\r\nnot saved yet\r\n")
    expect("copies left", glob.glob(copies), [])
    # A clean end leaves nothing to offer: the next start asks nothing.
    last = s.start_nuv(doc)
    if s.window_ids("確認"):
        raise E2EError("a clean exit still offered a recovery")
    quit_nuv(s, last)


if __name__ == "__main__":
    main([type_save_quit_reopen, already_open_in_another_program, pages_copied_between_windows, recovery_after_kill])
