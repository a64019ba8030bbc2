#!/usr/bin/env python3
"""Builds nuv's Debian package with cpack, checks that it holds every file a
desktop program needs, validates the desktop entry, the MIME type, the icon
and the man pages with Debian's own tools, then unpacks it into a temporary
root and starts both programs from there.

Usage: package_test.py BUILD_DIR
"""
import glob
import gzip
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest
import xml.etree.ElementTree as ET

BUILD = os.path.abspath(sys.argv.pop(1)) if len(sys.argv) > 1 else os.getcwd()

EXPECTED = [
    "usr/bin/nuv",
    "usr/bin/nuvtool",
    "usr/share/nuv/mark.dat",
    "usr/share/nuv/TEXT.rsv",
    "usr/share/nuv/manual.html",
    "usr/share/applications/nuv.desktop",
    "usr/share/icons/hicolor/scalable/apps/nuv.svg",
    "usr/share/mime/packages/nuv.xml",
    "usr/share/man/man1/nuv.1.gz",
    "usr/share/man/man1/nuvtool.1.gz",
]


def run(*args, **kw):
    return subprocess.run(args, check=True, capture_output=True, text=True, **kw)


def read_bytes(path):
    with open(path, "rb") as f:
        return f.read()


def wait_for(predicate, what, limit=60.0):
    # A condition with a generous deadline, not a timing check.
    deadline = time.monotonic() + limit
    while not predicate():
        if time.monotonic() > deadline:
            raise AssertionError("gave up waiting for " + what)
        time.sleep(0.05)


class PackageTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.work = tempfile.mkdtemp(prefix="nuv-package-")
        run("cpack", "-G", "DEB", "--config", os.path.join(BUILD, "CPackConfig.cmake"), "-B", cls.work)
        debs = glob.glob(os.path.join(cls.work, "*.deb"))
        assert len(debs) == 1, debs
        cls.deb = debs[0]
        cls.root = os.path.join(cls.work, "root")
        run("dpkg-deb", "-x", cls.deb, cls.root)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.work, ignore_errors=True)

    def test_control_and_contents(self):
        fields = run("dpkg-deb", "-f", self.deb, "Package", "Depends", "Section").stdout
        self.assertIn("Package: nuv", fields)
        self.assertIn("libqt6widgets6", fields)  # found by dpkg-shlibdeps
        self.assertIn("fonts-ipafont-gothic", fields)
        listed = {line.split()[-1].lstrip("./") for line in run("dpkg-deb", "-c", self.deb).stdout.splitlines()}
        for path in EXPECTED:
            self.assertIn(path, listed)
        for program in ("usr/bin/nuv", "usr/bin/nuvtool"):
            self.assertTrue(os.access(os.path.join(self.root, program), os.X_OK), program)

    def test_desktop_entry_mime_type_and_icon(self):
        desktop = os.path.join(self.root, "usr/share/applications/nuv.desktop")
        result = subprocess.run(["desktop-file-validate", desktop], capture_output=True, text=True)
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        self.assertEqual(result.stdout.strip(), "", result.stdout)  # no hints either
        with open(desktop, encoding="utf-8") as f:
            entry = f.read()
        self.assertIn("MimeType=application/x-nuv-pk2;", entry)
        self.assertIn("Icon=nuv\n", entry)
        # The MIME database builds from the package and knows .pk2.
        mime = os.path.join(self.root, "usr/share/mime")
        run("update-mime-database", mime)
        known = ET.parse(os.path.join(mime, "application/x-nuv-pk2.xml")).getroot()
        self.assertTrue(any(e.get("pattern") == "*.pk2" for e in known.iter() if e.tag.endswith("glob")))
        icon = ET.parse(os.path.join(self.root, "usr/share/icons/hicolor/scalable/apps/nuv.svg")).getroot()
        self.assertEqual(icon.tag, "{http://www.w3.org/2000/svg}svg")

    def test_man_pages(self):
        for page in ("nuv", "nuvtool"):
            with gzip.open(os.path.join(self.root, "usr/share/man/man1", page + ".1.gz"), "rt") as f:
                text = f.read()
            self.assertTrue(text.startswith(".TH " + page.upper() + " 1"), page)
            shown = run("man", "-l", "-Tutf8", os.path.join(self.root, "usr/share/man/man1", page + ".1.gz"),
                        env=dict(os.environ, MANWIDTH="80")).stdout
            self.assertIn("SYNOPSIS", re.sub(".\b", "", shown))  # without the overstrike of bold

    def test_installed_programs_start_and_find_their_files(self):
        bin_dir = os.path.join(self.root, "usr/bin")
        self.assertIn("convert", run(os.path.join(bin_dir, "nuvtool"), "--help").stdout)
        # A user without settings: nuv keeps them in ~/.config/nuv, seeded
        # from the package's share/nuv, and finds its manual there.
        home = os.path.join(self.work, "home")
        os.makedirs(home)
        env = {k: v for k, v in os.environ.items() if not k.startswith(("NUV_", "XDG_"))}
        env.update(HOME=home, QT_QPA_PLATFORM="offscreen")
        nuv = subprocess.Popen([os.path.join(bin_dir, "nuv")], env=env,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            folder = os.path.join(home, ".config/nuv")
            wait_for(lambda: os.path.exists(os.path.join(folder, "mark.dat")) or nuv.poll() is not None,
                     "the program folder")
            self.assertIsNone(nuv.poll(), "nuv ended at start")
            self.assertEqual(read_bytes(os.path.join(folder, "mark.dat")),
                             read_bytes(os.path.join(self.root, "usr/share/nuv/mark.dat")))
            self.assertFalse(os.path.exists(os.path.join(folder, "manual.html")))
        finally:
            nuv.send_signal(signal.SIGTERM)
            nuv.wait()


if __name__ == "__main__":
    unittest.main()
