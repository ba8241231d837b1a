"""Kolvane_Brightrun.scr /c opened with each kind of settings file: the marks,
the track box, the browse button's face and the file name show what the file
holds, and closing with the title bar's close box leaves the file as it was,
byte for byte.

    open_cases_test.py [--docs PNG]   also saves the whole dialog as a picture
"""
import sys

import dialogwine
import kbwine
from dialogwine import face_row, rgb

DOCS_PICTURE = sys.argv[sys.argv.index("--docs") + 1] if "--docs" in sys.argv else None


def open_and_check(folder, ini, marks, repeat_text, repeat_enabled, browse_enabled, file_shown):
    folder.write_ini(ini)
    with dialogwine.Dialog(folder) as dialog:
        shot = kbwine.Screenshot()
        assert dialog.filled_marks(shot) == marks, dialog.mark_colours(shot)
        report = dialogwine.probe()
        assert report["repeat_text"] == repeat_text, report
        assert report["repeat_enabled"] == str(int(repeat_enabled)), report
        assert report["browse_enabled"] == str(int(browse_enabled)), report
        assert report["focus"] == "panel", report  # first in the focus order
        # The browse button shows the disabled face (grey-beige frame) unless
        # a music file is chosen.
        if browse_enabled:
            assert face_row(shot, dialog, "bgm", 1) == dialogwine.FRAME_BLUE
        else:
            assert face_row(shot, dialog, "bgm", 1) == rgb("#C9C7BA")
            assert face_row(shot, dialog, "bgm", 2) == rgb("#F5F4EA")
        assert (dialog.file_name_ink(shot) > 20) == file_shown
        if DOCS_PICTURE and marks == [1]:
            dialog.screenshot_of_window(DOCS_PICTURE)
        dialog.click_close_box()
        assert dialog.wait_closed() == 0
    assert folder.ini_bytes() == ini


def test_cd_with_track_5(folder):
    open_and_check(folder, kbwine.settings_file(1, 5), [1], "5", True, False, False)


def test_no_music_track_0(folder):
    open_and_check(folder, kbwine.settings_file(0, 0), [0], "", False, False, False)


def test_music_file(folder):
    with open(f"{folder.path}/song.mp3", "wb") as f:
        f.write(b"\xff\xfb\x90\x00" * 64)
    ini = kbwine.settings_file(2, 12, folder.windows_path("song.mp3"))
    open_and_check(folder, ini, [2], "12", False, True, True)


def test_kind_out_of_range(folder):
    # No mark, both the track box and the browse button stay disabled.
    open_and_check(folder, kbwine.settings_file(7, 3), [], "3", False, False, False)


def test_unreadable_values(folder):
    # A track beyond 16 bits and a word for the kind load as 0.
    ini = kbwine.settings_file("abc", 70000, "C:\\gone\\missing.wav")
    open_and_check(folder, ini, [0], "", False, False, False)


def test_no_settings_file(folder):
    with dialogwine.Dialog(folder) as dialog:
        assert dialog.filled_marks() == [0]
        dialog.click(*dialog.inert_point())
        kbwine.xdotool("key", "alt+F4")  # the system menu's close
        assert dialog.wait_closed() == 0
    assert folder.ini_bytes() is None  # nothing writes a default file


if __name__ == "__main__":
    dialogwine.run_cases([test_cd_with_track_5, test_no_music_track_0, test_music_file,
                          test_kind_out_of_range, test_unreadable_values, test_no_settings_file])
