"""Kolvane_Brightrun.scr /c opened with each kind of settings file: the marks,
the track box, the browse button's face and the file name show what the file
holds, and closing with the title bar's close box leaves the file as it was,
byte for byte; at 150 % and 200 % the dialog is laid out at the display's
resolution.

    open_cases_test.py [--docs PNG]   also saves the whole dialog as a picture,
                                      and at 150 % as PNG with "_150" added
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


def caption_columns(shot, left, top, right, bottom):
    """The columns of a button that hold its caption's grey or black ink."""
    def ink(x, y):
        r, g, b = shot.pixel(x, y)
        return max(r, g, b) - min(r, g, b) < 16 and r + g + b < 520
    return [x for x in range(left, right) if any(ink(x, y) for y in range(top, bottom))]


def test_at_150_and_200_percent(folder):
    """At a display's own resolution: the client area 1.5 and 2 times as
    large, and each caption whole inside its button's frame."""
    ini = kbwine.settings_file(1, 5)
    folder.write_ini(ini)
    for dpi in (144, 192):
        with kbwine.display_dpi(dpi), dialogwine.Dialog(folder, dpi=dpi) as dialog:
            report = dialogwine.probe()
            width, height = map(int, report["client"].split(","))
            scale = dpi / 96
            assert abs(width - 479 * scale) <= 1 and abs(height - 252 * scale) <= 1, \
                f"client area {width} x {height} at {dpi} dots per inch"
            buttons = {name: tuple(map(int, report[f"button_{name}"].split(",")))
                       for name in ("etc", "set", "can", "bgm")}
            frame = round(4 * scale)

            def captions():
                shot = kbwine.Screenshot()
                return {name: caption_columns(shot, left + 1, top + frame, right - 1, bottom - frame)
                        for name, (left, top, right, bottom) in buttons.items()}
            found = kbwine.wait_for(lambda: (seen := captions()) and all(seen.values()) and seen,
                                    20, what=f"a caption on each button at {dpi}")
            for name, columns in found.items():
                left, _, right, _ = buttons[name]
                assert columns[0] >= left + frame and columns[-1] < right - frame, \
                    f"the caption of {name} runs into its frame at {dpi}"
            if DOCS_PICTURE and dpi == 144:
                dialog.outer = kbwine.window_geometry(dialog.window)
                dialog.screenshot_of_window(DOCS_PICTURE.replace(".png", "_150.png"))
            dialog.click_close_box()
            assert dialog.wait_closed() == 0
    assert folder.ini_bytes() == ini


def test_no_settings_file(folder):
    with dialogwine.Dialog(folder) as dialog:
        assert dialog.filled_marks() == [0]
        dialog.click(*dialog.inert_point())
        kbwine.xdotool("key", "alt+F4")  # the system menu's close
        assert dialog.wait_closed() == 0
    assert folder.ini_bytes() is None  # nothing writes a default file


if __name__ == "__main__":
    dialogwine.run_cases([test_cd_with_track_5, test_no_music_track_0, test_music_file,
                          test_kind_out_of_range, test_unreadable_values, test_no_settings_file,
                          test_at_150_and_200_percent])
