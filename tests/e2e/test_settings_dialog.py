"""The settings dialog driven from the keyboard, checked in the settings file."""
import os
import sys

sys.path.insert(0, os.path.dirname(__file__))
from harness import E2EError, main  # noqa: E402


def settings_text(s):
    path = os.path.join(s.home, "nuv.ini")
    if not os.path.exists(path):
        return ""
    with open(path, "rb") as f:
        return f.read().decode("cp932")


def ok_in_the_settings_dialog_writes_nuv_ini(s):
    nuv = s.start_nuv(s.write("doc.txt", ".A\r\nabc\r\n"))
    s.key("alt+o", "c")                        # オプション(&O) → 設定(&C)...
    s.wait_for(lambda: len(s.window_ids("nuvの設定")) > 0, "the settings dialog")
    s.screenshot("settings-open")
    # The page tabs have the focus: the second page "表示", its first box "タブ".
    s.key("Right", "Tab", "space")
    s.screenshot("settings-changed")
    s.key("Return")                            # the default button, OK
    s.wait_for(lambda: "ShowTab=0\r\n" in settings_text(s), "ShowTab=0 in nuv.ini")
    if s.window_ids("nuvの設定"):
        raise E2EError("the dialog is still open")
    # The window goes on and keeps the setting when it closes.
    s.focus(nuv.window)
    s.key("alt+f", "x")                      # quit through the File menu
    s.wait_exit(nuv)
    if "ShowTab=0\r\n" not in settings_text(s):
        raise E2EError("ShowTab=0 lost at exit")


if __name__ == "__main__":
    main([ok_in_the_settings_dialog_writes_nuv_ini])
