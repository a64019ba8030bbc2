"""End-to-end cases: real nuv processes under a real X server, driven as a user would.

Each case runs in a Session: a fresh Xvfb on a free display, a fresh program
folder ($NUV_HOME) and fresh XDG folders, so no case sees another's settings,
history, recovery copies or clipboard. Keys and text go in through xdotool
(XTEST, as from a keyboard), the clipboard through xclip, and results are
checked by reading the files nuv saved.

Only the standard library is used. ctest passes the programs' paths in
NUV_PROGRAM and NUV_TOOL.
"""

import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

DEFAULT_TIMEOUT = 20.0


class E2EError(AssertionError):
    pass


def _program(name, fallback):
    path = os.environ.get(name, fallback)
    if not path or not os.path.exists(path):
        raise E2EError(f"{name} does not name a program: {path!r}")
    return path


def sjis(text):
    """The Shift JIS bytes nuv writes for a text."""
    return text.encode("cp932")


def read_sjis(path):
    with open(path, "rb") as f:
        return f.read().decode("cp932")


class Session:
    """One X server, one program folder and the nuv processes started in them."""

    def __init__(self, width=1280, height=1024):
        self.nuv = _program("NUV_PROGRAM", shutil.which("nuv"))
        self.tool = os.environ.get("NUV_TOOL", "")
        self.root = tempfile.mkdtemp(prefix="nuv-e2e-")
        self.home = os.path.join(self.root, "home")
        self.docs = os.path.join(self.root, "docs")
        for d in (self.home, self.docs):
            os.makedirs(d)
        self.env = dict(os.environ)
        self.env.update({
            "NUV_HOME": self.home,
            "HOME": self.root,
            "XDG_CONFIG_HOME": os.path.join(self.root, "config"),
            "XDG_STATE_HOME": os.path.join(self.root, "state"),
            "XDG_DATA_HOME": os.path.join(self.root, "data"),
            "XDG_RUNTIME_DIR": os.path.join(self.root, "runtime"),
            "QT_QPA_PLATFORM": "xcb",
            "LANG": "C.UTF-8",
        })
        os.makedirs(self.env["XDG_RUNTIME_DIR"], mode=0o700)
        self.processes = []
        self._xvfb = None
        self._start_x(width, height)

    # ---- the X server
    def _start_x(self, width, height):
        xvfb = shutil.which("Xvfb")
        if not xvfb:
            raise E2EError("Xvfb is not installed")
        read_fd, write_fd = os.pipe()
        self._xvfb = subprocess.Popen(
            [xvfb, "-displayfd", str(write_fd), "-screen", "0", f"{width}x{height}x24", "-nolisten", "tcp",
             # An X server resets when its last client leaves and refuses
             # connections meanwhile: a case that quits nuv and starts it
             # again must not meet that window.
             "-noreset"],
            pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_fd)
        number = b""
        deadline = time.monotonic() + DEFAULT_TIMEOUT
        while not number.endswith(b"\n"):
            if time.monotonic() > deadline:
                raise E2EError("Xvfb did not report its display")
            chunk = os.read(read_fd, 16)
            if not chunk:
                raise E2EError("Xvfb ended before it reported its display")
            number += chunk
        os.close(read_fd)
        self.env["DISPLAY"] = ":" + number.decode().strip()
        self.wait_for(lambda: self.run(["xdotool", "getdisplaygeometry"], check=False).returncode == 0,
                      "the X server to accept clients")

    def close(self):
        for p in self.processes:
            if p.poll() is None:
                p.kill()
                p.wait()
        if self._xvfb and self._xvfb.poll() is None:
            self._xvfb.send_signal(signal.SIGTERM)
            try:
                self._xvfb.wait(5)
            except subprocess.TimeoutExpired:
                self._xvfb.kill()
        shutil.rmtree(self.root, ignore_errors=True)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()
        return False

    # ---- files
    def path(self, name):
        return os.path.join(self.docs, name)

    def write(self, name, data):
        """Writes a document for a case; text is written as Shift JIS."""
        path = self.path(name)
        with open(path, "wb") as f:
            f.write(data if isinstance(data, bytes) else sjis(data))
        return path

    # ---- programs
    def run(self, argv, check=True, **kw):
        return subprocess.run(argv, env=self.env, check=check, capture_output=True, **kw)

    def start_nuv(self, *args):
        """Starts nuv with arguments and returns the process once its window shows."""
        before = set(self.window_ids())
        p = subprocess.Popen([self.nuv, *args], env=self.env, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        self.processes.append(p)
        deadline = time.monotonic() + DEFAULT_TIMEOUT
        while time.monotonic() < deadline:
            if p.poll() is not None:
                out, err = p.communicate()
                raise E2EError(f"nuv ended with {p.returncode} before its window showed: {err.decode(errors='replace')}")
            new = [w for w in self.window_ids() if w not in before]
            if new:
                p.window = new[0]
                self.focus(p.window)
                self.settle()
                return p
            time.sleep(0.1)
        raise E2EError("nuv's window did not show")

    def window_ids(self, name="nuv"):
        r = self.run(["xdotool", "search", "--onlyvisible", "--name", name], check=False)
        return [w for w in r.stdout.decode().split() if w]

    def window_title(self, window):
        return self.run(["xdotool", "getwindowname", str(window)]).stdout.decode().strip()

    def wait_for(self, condition, what, timeout=DEFAULT_TIMEOUT):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            value = condition()
            if value:
                return value
            time.sleep(0.1)
        raise E2EError(f"timed out waiting for {what}")

    def wait_exit(self, p, timeout=DEFAULT_TIMEOUT):
        try:
            return p.wait(timeout)
        except subprocess.TimeoutExpired:
            raise E2EError("nuv did not end")

    # ---- keyboard and clipboard
    def focus(self, window):
        self.run(["xdotool", "windowfocus", "--sync", str(window)], check=False)

    def key(self, *keys):
        """Presses key combinations in xdotool's names, one after another ("ctrl+s", "Return")."""
        for k in keys:
            self.keep_focus()
            self.run(["xdotool", "key", "--clearmodifiers", k])
            self.settle(0.15)

    def keep_focus(self):
        """Without a window manager, closing a dialog leaves the keyboard focus
        nowhere; a user would click the window, so the focus goes back to the
        newest visible nuv window."""
        focused = self.run(["xdotool", "getwindowfocus"], check=False).stdout.decode().strip()
        visible = []
        for p in self.processes:
            if p.poll() is None:
                r = self.run(["xdotool", "search", "--onlyvisible", "--pid", str(p.pid)], check=False)
                visible += r.stdout.decode().split()
        if focused in visible:
            return
        for p in reversed(self.processes):
            if p.poll() is None and getattr(p, "window", None) in visible:
                self.focus(p.window)
                return

    def click(self, window, x, y, button=1):
        """Clicks at a point of a window, as a user does to put the caret or the focus there."""
        self.run(["xdotool", "mousemove", "--window", str(window), str(x), str(y), "click", str(button)])
        self.settle(0.2)

    def type(self, text):
        """Types text as key presses; Japanese goes in as the keysyms of its characters."""
        self.keep_focus()
        self.run(["xdotool", "type", "--delay", "30", "--", text])
        self.settle()

    def set_clipboard(self, text, mime=None):
        argv = ["xclip", "-selection", "clipboard", "-i"]
        if mime:
            argv += ["-t", mime]
        # xclip keeps serving the selection in the background until another owner takes it.
        p = subprocess.Popen(argv, env=self.env, stdin=subprocess.PIPE,
                             stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        p.communicate(text.encode() if isinstance(text, str) else text)
        self.settle()

    def clipboard(self, mime=None):
        argv = ["xclip", "-selection", "clipboard", "-o"]
        if mime:
            argv += ["-t", mime]
        r = self.run(argv, check=False, timeout=10)
        return r.stdout

    def settle(self, seconds=0.4):
        time.sleep(seconds)

    def screenshot(self, name):
        """Keeps a picture of the screen for a person to look at (when ImageMagick is there)."""
        folder = os.environ.get("NUV_E2E_SHOTS")
        if folder and shutil.which("import"):
            os.makedirs(folder, exist_ok=True)
            self.run(["import", "-window", "root", os.path.join(folder, name + ".png")], check=False)


def main(cases):
    """Runs the cases of a file, each in its own session; exits non-zero when one fails."""
    failed = 0
    for case in cases:
        name = case.__name__
        try:
            with Session() as s:
                try:
                    case(s)
                except Exception:
                    s.screenshot(name)
                    raise
            print(f"ok   {name}")
        except Exception as e:  # report every case, then fail
            failed += 1
            print(f"FAIL {name}: {e}")
    print(f"{len(cases) - failed} passed, {failed} failed")
    sys.exit(1 if failed else 0)
