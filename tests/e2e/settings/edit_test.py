"""Editing in the real settings dialog: pressing marks and labels with any
mouse button selects a kind, the track box takes typed text and list entries,
OK writes the three keys (Shift-JIS names) in order with the track converted,
Cancel, Esc or the close box write nothing, the keyboard alone chooses and
saves, and the web-page button asks the shell to open the maker's page while
the dialog stays open."""
import os

import dialogwine
import kbwine
from kbwine import KEY_FILE, KEY_KIND, KEY_REPEAT

MAKER_PAGE = "https://j-roan.example/"


def wait_marks(dialog, marks):
    kbwine.wait_for(lambda: dialog.filled_marks() == marks, 20, what=f"marks {marks}")


def keyboard_to(dialog):
    """Gives the dialog the X input focus, as a window manager does for a new
    window: without one, X sends keys to whatever lies under the pointer."""
    kbwine.xdotool("windowfocus", "--sync", dialog.window)
    dialogwine.wait_probe("focus", "panel")


def closed_by(dialog, key):
    """Whether a key closes the dialog, as a user presses it."""
    kbwine.xdotool("key", key)
    try:
        return dialog.wait_closed(10) == 0
    except AssertionError:
        return False


def confirm(dialog):
    dialog.click_button("set")
    assert dialog.wait_closed() == 0


def written(folder):
    return dialogwine.read_ini(folder.ini_bytes())


def test_cd_label_then_typed_half_goes_to_even(folder):
    with dialogwine.Dialog(folder) as dialog:  # no settings file: no music
        wait_marks(dialog, [0])
        dialog.click_kind_label(1)
        wait_marks(dialog, [1])
        report = dialogwine.probe()
        assert report["repeat_enabled"] == "1" and report["browse_enabled"] == "0", report
        dialog.type_track("2.5")
        confirm(dialog)
    assert written(folder) == [(KEY_KIND, b"1"), (KEY_REPEAT, b"2"), (KEY_FILE, b"")]
    # Into an empty folder the keys land in the order they were written.
    assert folder.ini_bytes().startswith(b"[Section]\r\n" + KEY_KIND + b"=1\r\n" + KEY_REPEAT)


def test_other_buttons_on_marks_keep_the_file_name(folder):
    with open(f"{folder.path}/tune.wav", "wb") as f:
        f.write(b"RIFF")
    music = folder.windows_path("tune.wav")
    folder.write_ini(kbwine.settings_file(2, 0, music))
    with dialogwine.Dialog(folder) as dialog:
        wait_marks(dialog, [2])
        dialog.click_mark(1, button=3)  # right button
        wait_marks(dialog, [1])
        dialog.type_track("3.5")
        dialog.click_kind_label(0, button=2)  # middle button
        wait_marks(dialog, [0])
        report = dialogwine.probe()
        assert report["repeat_enabled"] == "0" and report["browse_enabled"] == "0", report
        assert report["repeat_text"] == "3.5", report  # kept whatever the kind
        assert dialog.file_name_ink() > 20
        confirm(dialog)
    # The file name is still written although no music is chosen.
    assert written(folder) == [(KEY_KIND, b"0"), (KEY_REPEAT, b"4"),
                               (KEY_FILE, music.encode("cp932"))]


def test_word_and_empty_entry_store_zero(folder):
    folder.write_ini(kbwine.settings_file(1, 5))
    with dialogwine.Dialog(folder) as dialog:
        dialog.type_track("music")
        confirm(dialog)
    assert written(folder)[1] == (KEY_REPEAT, b"0")

    folder.write_ini(kbwine.settings_file(1, 5))
    with dialogwine.Dialog(folder) as dialog:
        # Open the list with its arrow (it opens scrolled to the current "5"),
        # wheel it back to the top and click its first, empty entry.
        x, y, w, h = dialogwine.REPEAT_BOX
        dialog.click(*dialog.panel_point(x + w - 6, y + h // 2))
        first_entry = dialog.panel_point(x + 10, y + h + 6)
        kbwine.move_mouse(*first_entry)
        kbwine.xdotool("click", "--repeat", "4", "--delay", "50", "4")
        dialog.click(*first_entry)
        dialogwine.wait_probe("repeat_text", "")
        confirm(dialog)
    assert written(folder) == [(KEY_KIND, b"1"), (KEY_REPEAT, b"0"), (KEY_FILE, b"")]


def test_track_beyond_16_bits_stores_zero(folder):
    folder.write_ini(kbwine.settings_file(1, 5))
    with dialogwine.Dialog(folder) as dialog:
        dialog.type_track("40000")
        confirm(dialog)
    assert written(folder)[1] == (KEY_REPEAT, b"0")


def test_long_file_name_survives_ok(folder):
    # A music file whose full Windows path is 255 characters long.
    prefix = folder.windows_path("") + "\\"
    name = "a" * (255 - len(prefix) - len(".mp3")) + ".mp3"
    with open(f"{folder.path}/{name}", "wb") as f:
        f.write(b"ID3")
    music = folder.windows_path(name)
    assert len(music) == 255
    folder.write_ini(kbwine.settings_file(2, 0, music))
    with dialogwine.Dialog(folder) as dialog:
        wait_marks(dialog, [2])
        assert dialog.file_name_ink() > 20
        confirm(dialog)
    assert written(folder)[2] == (KEY_FILE, music.encode("cp932"))


def test_cancel_and_close_box_write_nothing(folder):
    ini = kbwine.settings_file(1, 5)
    folder.write_ini(ini)
    for close in ("cancel", "close box", "Esc"):
        with dialogwine.Dialog(folder) as dialog:
            dialog.click_kind_label(2)
            wait_marks(dialog, [2])
            dialog.click_kind_label(1)
            wait_marks(dialog, [1])
            dialog.type_track("17")
            if close == "Esc":
                assert closed_by(dialog, "Escape"), "Esc did not close the dialog"
            else:
                dialog.click_button("can") if close == "cancel" else dialog.click_close_box()
                assert dialog.wait_closed() == 0
        assert folder.ini_bytes() == ini, close


def test_keyboard_alone(folder):
    """The panel's arrows choose a kind, Tab walks on, Space presses the
    focused button, Enter anywhere else is OK."""
    folder.write_ini(kbwine.settings_file(1, 5))
    with dialogwine.Dialog(folder) as dialog:
        keyboard_to(dialog)
        kbwine.xdotool("key", "--delay", "50", "Right", "Down", "Tab", "Tab")
        wait_marks(dialog, [2])
        dialogwine.wait_probe("focus", "set")
        assert closed_by(dialog, "space"), "Space on the focused OK did not save and close"
    assert written(folder) == [(KEY_KIND, b"2"), (KEY_REPEAT, b"5"), (KEY_FILE, b"")]
    with dialogwine.Dialog(folder) as dialog:  # a file kind without a file loads as none
        keyboard_to(dialog)
        kbwine.xdotool("key", "--delay", "50", "Up", "Left")  # none, CD, then round to file
        wait_marks(dialog, [2])
        assert closed_by(dialog, "Return"), "Enter on the panel did not save and close"
    assert written(folder)[0] == (KEY_KIND, b"2")


def test_web_page_button_opens_the_page_and_stays(folder):
    ini = kbwine.settings_file(1, 5)
    folder.write_ini(ini)
    trace = os.path.join(folder.root, "shell.log")

    def opened():
        with open(trace, "rb") as f:
            return [line for line in f.read().decode("utf-8", "replace").splitlines()
                    if 'verb=L"open"' in line and MAKER_PAGE in line]

    with dialogwine.Dialog(folder, env={"WINEDEBUG": "-all,+exec"}, log=trace) as dialog:
        dialog.click_button("etc")
        kbwine.wait_for(opened, 20, what="the shell asked to open the maker's page")
        assert dialog.process.poll() is None  # the dialog stays open
        dialog.click_button("can")
        assert dialog.wait_closed() == 0
    assert folder.ini_bytes() == ini


if __name__ == "__main__":
    dialogwine.run_cases([test_cd_label_then_typed_half_goes_to_even,
                          test_other_buttons_on_marks_keep_the_file_name,
                          test_word_and_empty_entry_store_zero,
                          test_track_beyond_16_bits_stores_zero,
                          test_long_file_name_survives_ok,
                          test_cancel_and_close_box_write_nothing,
                          test_keyboard_alone,
                          test_web_page_button_opens_the_page_and_stays])
