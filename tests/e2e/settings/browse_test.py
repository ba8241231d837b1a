"""Browsing for the music file through the real open-file dialog under Wine,
on a Japanese system (code page 932) and, with KB_WINE_LOCALE=en_US, on a
Western one (1252), where the program's own folder name cannot be spelled:
the dialog's title reads right; a file in a folder whose path has spaces and
Japanese characters is picked, shown, and stored by OK in the system code
page, or by its short form where that lacks a character, which the next show
then opens; a cancelled browse changes nothing."""
import os

import dialogwine
import kbwine
from kbwine import KEY_FILE, KEY_KIND, KEY_REPEAT
from show_music import TracedShow, make_tone, mci_commands

FOLDER_NAME = "kb 音楽 フォルダ"  # the program's folder, where the file dialog starts
SONG = "my song.mp3"


def browse_dialog():
    return kbwine.wait_window(dialogwine.BROWSE_TITLE, 30)


def wait_browse_gone():
    kbwine.wait_for(lambda: not kbwine.find_windows(dialogwine.BROWSE_TITLE), 20,
                    what="the file dialog to close")


def assert_stored_form(stored, unix_path):
    """The path as the ANSI calls can open it: the code page's own bytes, or a
    short form without stand-in characters that names the same file."""
    try:
        assert stored == kbwine.windows_path(unix_path).encode(kbwine.CODE_PAGE), stored
    except UnicodeEncodeError:
        assert stored.isascii() and b"?" not in stored, stored
        assert kbwine.unix_path(stored.decode()) == unix_path, stored


def test_pick_a_file_with_spaces_and_japanese(folder):
    for name in (SONG, "notes.txt"):
        with open(os.path.join(folder.path, name), "wb") as f:
            f.write(b"ID3" if name.endswith(".mp3") else b"text")
    folder.write_ini(kbwine.settings_file(0, 0))
    with dialogwine.Dialog(folder) as dialog:
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
    written = dialogwine.read_ini(folder.ini_bytes())
    assert written[:2] == [(KEY_KIND, b"2"), (KEY_REPEAT, b"0")]
    assert written[2][0] == KEY_FILE and len(written) == 3
    assert_stored_form(written[2][1], os.path.join(folder.path, SONG))


def test_cancelled_browse_keeps_the_file(folder):
    old = os.path.join(folder.root, "old tune.wav")  # a path every code page spells
    with open(old, "wb") as f:
        f.write(b"RIFF")
    folder.write_ini(kbwine.settings_file(2, 0, kbwine.windows_path(old)))
    with dialogwine.Dialog(folder) as dialog:
        shown = dialog.file_name_pixels()
        dialog.click_button("bgm")
        browse_dialog()
        kbwine.xdotool("key", "Escape")
        wait_browse_gone()
        assert dialog.file_name_pixels() == shown
        dialog.click_button("set")
        assert dialog.wait_closed() == 0
    assert dialogwine.read_ini(folder.ini_bytes())[2] == (
        KEY_FILE, kbwine.windows_path(old).encode("cp932"))


def test_name_the_code_page_lacks(folder):
    """A name with a character the code page lacks is stored by its short
    form, and the next show opens and plays that."""
    song = make_tone(folder.path, kbwine.UNSPELLABLE + ".mp3")
    os.remove(song[:-4] + ".wav")
    with dialogwine.Dialog(folder) as dialog:
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
    key, stored = dialogwine.read_ini(folder.ini_bytes())[2]
    assert key == KEY_FILE
    assert_stored_form(stored, song)
    show = TracedShow(os.path.join(folder.path, dialogwine.SCR_NAME),
                      os.path.join(folder.root, "trace.log"))
    opened = [f'open "{stored.decode()}" type MPEGVideo Alias MP3Play', "play MP3Play"]
    show.wait_trace(lambda t: mci_commands(t)[:2] == opened, "the show playing the stored form")
    kbwine.end_wine()


if __name__ == "__main__":
    dialogwine.run_cases([test_pick_a_file_with_spaces_and_japanese,
                          test_cancelled_browse_keeps_the_file, test_name_the_code_page_lacks],
                         setup=(FOLDER_NAME,))
