"""Browsing for the music file through the real open-file dialog under Wine:
a file in a folder whose path has spaces and Japanese characters is picked,
shown, and stored by OK as the code page 932 bytes of its full path; a
cancelled browse changes nothing."""
import os

import dialogwine
import kbwine
from dialogwine import KEY_FILE, KEY_KIND, KEY_REPEAT

FOLDER_NAME = "kb 音楽 フォルダ"  # the program's folder, where the file dialog starts
SONG = "my song.mp3"


def browse_dialog():
    return kbwine.wait_window(dialogwine.BROWSE_TITLE, 30)


def wait_browse_gone():
    kbwine.wait_for(lambda: not kbwine.find_windows(dialogwine.BROWSE_TITLE), 20,
                    what="the file dialog to close")


def test_pick_a_file_with_spaces_and_japanese(folder):
    for name in (SONG, "notes.txt"):
        with open(os.path.join(folder.path, name), "wb") as f:
            f.write(b"ID3" if name.endswith(".mp3") else b"text")
    folder.write_ini(dialogwine.ini_text(0, 0))
    dialog = dialogwine.Dialog(folder)
    try:
        empty = dialog.file_name_pixels()
        assert dialog.file_name_ink() == 0
        dialog.click_kind_label(2)
        dialogwine.wait_probe("browse_enabled", "1")
        dialog.click_button("bgm")
        browse_dialog()
        # It starts in the program's folder, so the name alone names the file.
        kbwine.xdotool("type", "--delay", "30", SONG)
        kbwine.xdotool("key", "Return")
        wait_browse_gone()
        kbwine.wait_for(lambda: dialog.file_name_pixels() != empty, 20,
                        what="the chosen file name shown")
        assert dialog.file_name_ink() > 20
        dialog.click_button("set")
        assert dialog.wait_closed() == 0
    finally:
        dialog.end()
    chosen = folder.windows_path(SONG).encode("cp932")
    assert dialogwine.read_ini(folder.ini_bytes()) == [
        (KEY_KIND, b"2"), (KEY_REPEAT, b"0"), (KEY_FILE, chosen)]


def test_cancelled_browse_keeps_the_file(folder):
    old = os.path.join(folder.path, "old tune.wav")
    with open(old, "wb") as f:
        f.write(b"RIFF")
    folder.write_ini(dialogwine.ini_text(2, 0, folder.windows_path("old tune.wav")))
    dialog = dialogwine.Dialog(folder)
    try:
        shown = dialog.file_name_pixels()
        dialog.click_button("bgm")
        browse_dialog()
        kbwine.xdotool("key", "Escape")
        wait_browse_gone()
        assert dialog.file_name_pixels() == shown
        dialog.click_button("set")
        assert dialog.wait_closed() == 0
    finally:
        dialog.end()
    assert dialogwine.read_ini(folder.ini_bytes())[2] == (
        KEY_FILE, folder.windows_path("old tune.wav").encode("cp932"))


def test_name_the_code_page_lacks(folder):
    # "é" has no code page 932 form: the ANSI file dialog hands back a
    # stand-in character, and the dialog still shows and stores what it got.
    with open(os.path.join(folder.path, "café.mp3"), "wb") as f:
        f.write(b"ID3")
    dialog = dialogwine.Dialog(folder)
    try:
        dialog.click_kind_label(2)
        dialogwine.wait_probe("browse_enabled", "1")
        dialog.click_button("bgm")
        # "é" cannot be typed reliably through Xvfb: double-click the one
        # file the dialog offers, first in its list.
        window = browse_dialog()

        def first_entry():
            # The dialog is placed and its list filled after it appears:
            # wait for the entry's text where the list starts.
            x, y, _, _ = kbwine.window_geometry(window)
            shot = kbwine.Screenshot()
            ink = sum(sum(shot.pixel(px, py)) < 200
                      for px in range(x + 30, x + 80) for py in range(y + 60, y + 71))
            return (x + 40, y + 65) if ink > 10 else None

        kbwine.move_mouse(*kbwine.wait_for(first_entry, 20, what="the file listed"))
        kbwine.xdotool("click", "--repeat", "2", "--delay", "80", "1")
        wait_browse_gone()
        kbwine.wait_for(lambda: dialog.file_name_ink() > 20, 20, what="a file name shown")
        dialog.click_button("set")
        assert dialog.wait_closed() == 0
    finally:
        dialog.end()
    stored = dialogwine.read_ini(folder.ini_bytes())[2]
    start = (folder.windows_path("") + "\\caf").encode("cp932")
    assert stored[0] == KEY_FILE and stored[1].startswith(start), stored
    assert stored[1].endswith(b".mp3") and len(stored[1]) == len(start) + 5, stored


if __name__ == "__main__":
    dialogwine.run_cases([test_pick_a_file_with_spaces_and_japanese,
                          test_cancelled_browse_keeps_the_file, test_name_the_code_page_lacks],
                         setup=(FOLDER_NAME,))
