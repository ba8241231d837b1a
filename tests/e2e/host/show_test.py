"""The show (/s) of the real screensaver program beside the real renderer:
the ten bitmap files, the renderer window, the mouse rule, a second start
during a show or its start-up, a close request from outside, and programs in
folders whose names hold blanks or a character the system code page lacks.
Names on the command line pick tests."""
import os
import resource
import shutil
import signal
import struct
import subprocess
import sys
import tempfile

import hostwine
import kbwine

SIZES = [79974] + [196662] * 9


def slide_path(k):
    return os.path.join(kbwine.WINDOWS_DIR, f"Kolvane_Brightrun{k}.bmp")


def bgr_to_rgb(row):
    out = bytearray(row)
    out[0::3], out[2::3] = row[2::3], row[0::3]
    return bytes(out)


def bitmap_rgb(path):
    data = open(path, "rb").read()
    (offset,) = struct.unpack_from("<I", data, 10)
    width, height = struct.unpack_from("<ii", data, 18)
    stride = (width * 3 + 3) & ~3
    return width, abs(height), [bgr_to_rgb(data[offset + (height - 1 - y) * stride:][:width * 3])
                                for y in range(abs(height))]


def djpeg_rgb(path):
    """An independent decode of a JPEG: libjpeg-turbo's djpeg to PPM."""
    ppm = subprocess.run(["djpeg", "-pnm", path], check=True, capture_output=True).stdout
    _, width, height, _, pixels = ppm.split(maxsplit=4)
    width, height = int(width), int(height)
    pixels = ppm[len(ppm) - width * height * 3:]
    return width, height, [pixels[y * width * 3:(y + 1) * width * 3] for y in range(height)]


def assert_same_picture(written, expected, name):
    assert written[:2] == expected[:2], f"{name}: size {written[:2]} != {expected[:2]}"
    worst = max(abs(a - b) for wr, er in zip(written[2], expected[2]) for a, b in zip(wr, er))
    assert worst <= 2, f"{name}: pixels differ by up to {worst}"


def check_slide_files(slides=range(10)):
    for k in slides:
        path = slide_path(k)
        size = os.path.getsize(path)
        assert size == SIZES[k], f"slide {k} holds {size} bytes, not the new picture's {SIZES[k]}"
        check_headers(path)
        asset = os.path.join(kbwine.SOURCE_DIR, "assets",
                             "reel.bmp" if k == 0 else f"slide{k}.jpg")
        expected = bitmap_rgb(asset) if k == 0 else djpeg_rgb(asset)
        assert_same_picture(bitmap_rgb(path), expected, path)


def check_headers(path):
    data = open(path, "rb").read()
    magic, size, r1, r2, offset = struct.unpack_from("<2sIHHI", data, 0)
    (hsize, width, height, planes, bits, compression, image_size) = struct.unpack_from(
        "<IiiHHII", data, 14)
    assert (magic, size, r1, r2, offset) == (b"BM", len(data), 0, 0, 54), path
    assert (hsize, planes, bits, compression) == (40, 1, 24, 0), path
    assert height > 0 and image_size == width * height * 3, path


def move_from_start(dx, dy):
    kbwine.move_mouse(hostwine.START[0] + dx, hostwine.START[1] + dy)


def test_files_window_and_mouse_rule():
    for k in range(10):
        if os.path.exists(slide_path(k)):
            os.remove(slide_path(k))
    show = hostwine.start_show(HELPER)
    check_slide_files()
    move_from_start(0, 200)  # straight down: the show goes on
    move_from_start(30, 30)
    kbwine.wait_screen_changes(5)  # five frames that saw the pointer at 30 and 30
    assert show.poll() is None, "30 and 30 ended the show"
    assert HELPER.ping(hostwine.SHOW_TITLE), "the show no longer answers"
    hostwine.end_show_by_mouse(show)


def limit_file_size():
    """As on a full disk, writes past 100,000 bytes fail (with EFBIG, not a signal)."""
    signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
    resource.setrlimit(resource.RLIMIT_FSIZE, (100_000, 100_000))


def test_failed_writes_keep_the_older_files():
    """Slide 0 (79,974 bytes) fits under the limit, slides 1 to 9 do not: they
    keep the older files, whole. Checked once the renderer has been started,
    by when every file has been written, and before it shows anything."""
    older = [kbwine.solid_bitmap(180, 148, (200, 60, 0))] + [
        kbwine.solid_bitmap(256, 256, (20 * k, 120, 200)) for k in range(1, 10)]
    for k in range(10):
        with open(slide_path(k), "wb") as f:
            f.write(older[k])

    def check():
        for k in range(1, 10):
            with open(slide_path(k), "rb") as f:
                kept = f.read()
            assert len(kept) == len(older[k]), f"slide {k} was cut to {len(kept)} bytes"
            assert kept == older[k], f"slide {k} is no longer the older file"
        check_slide_files([0])
        check_nothing_left_beside()
    hostwine.end_show_by_mouse(start_show_checking(check, preexec_fn=limit_file_size))


def check_nothing_left_beside():
    left = [n for n in os.listdir(kbwine.WINDOWS_DIR) if n.endswith(".new")]
    assert not left, f"left behind: {left}"


def start_show_checking(check, **popen):
    """Starts a show and calls `check` once the renderer has been started, by
    when every bitmap has been written, and before it reads them; then waits
    for the show as start_show does."""
    def launch():
        show = hostwine.start_scr("/s", **popen)
        kbwine.wait_for(lambda: hostwine.renderer_running() or show.poll() is not None, 60,
                        what="the renderer's start")
        check()
        return show
    return hostwine.start_show(HELPER, launch=launch)


def test_held_bitmaps_still_get_the_new_pictures():
    """Another process (a virus scanner) holds every old bitmap without delete
    sharing, so no new file can be moved over it: the new bytes still land,
    written in place. A ".new" that a show cut off earlier left goes too."""
    for k in range(10):
        for path, text in ((slide_path(k), b"an older picture"), (slide_path(k) + ".new", b"cut")):
            with open(path, "wb") as f:
                f.write(text)
        HELPER.hold(f"C:\\windows\\Kolvane_Brightrun{k}.bmp")
    try:
        show = start_show_checking(lambda: (check_slide_files(), check_nothing_left_beside()))
    finally:
        HELPER.release()
    hostwine.end_show_by_mouse(show)


def start_two_shows_at_once():
    """Two /s started together, the second before the first has a window: one
    ends at once and the other is the show."""
    pair = [hostwine.start_scr("/s"), hostwine.start_scr("/s")]
    try:
        kbwine.wait_for(lambda: any(p.poll() is not None for p in pair), 60)
    except AssertionError:
        raise AssertionError("two /s started together both run a show") from None
    ended, show = sorted(pair, key=lambda p: p.poll() is None)
    assert ended.returncode == 0, f"the second /s ended with exit code {ended.returncode}"
    return show


def test_second_start_ends_at_once():
    show = hostwine.start_show(HELPER, launch=start_two_shows_at_once)
    assert len(hostwine.prefix_processes("Kolvane_Brightrun.data")) == 1, "two renderers run"
    for args in (["/s"], ["/p", str(HELPER.hwnd)], ["/c"], []):
        second = hostwine.start_scr(*args)
        assert kbwine.wait_exit(second, 30) == 0, args
        assert not kbwine.find_windows(hostwine.BOX_TITLE), args
        assert show.poll() is None, args
    hostwine.end_show_by_mouse(show)


def test_close_request_from_outside():
    show = hostwine.start_show(HELPER)
    assert HELPER.close_window_titled(hostwine.SHOW_TITLE)
    assert kbwine.wait_exit(show, 10) == 0
    # The renderer is a process of its own: it goes on until the mouse moves.
    assert hostwine.renderer_running()
    move_from_start(31, 31)
    kbwine.wait_for(lambda: not hostwine.renderer_running(), 15, what="the renderer's end")


def bad_music_settings(folder):
    """Settings files whose music cannot play, with the files they name."""
    not_audio = os.path.join(folder, "not audio.mp3")
    with open(not_audio, "wb") as f:
        f.write(b"this is no MP3" * 100)
    not_wave = os.path.join(folder, "noise.WAV")
    with open(not_wave, "wb") as f:
        f.write(os.urandom(5000))
    return [
        kbwine.settings_file(1, 3),  # no CD drive here
        kbwine.settings_file(2, music_file=kbwine.windows_path(not_audio)),
        kbwine.settings_file(2, music_file=kbwine.windows_path(not_wave)),
        kbwine.settings_file(2, music_file="Z:\\gone\\song.mp3"),
        bytes(range(256)) * 64,  # not a settings file at all
    ]


def programs_in(folder, name, scr_name="Kolvane_Brightrun.scr"):
    """Both programs in a new folder `name` inside `folder`, the screensaver
    program as `scr_name`; the .scr's path."""
    programs = os.path.join(folder, name)
    os.mkdir(programs)
    shutil.copy(os.path.join(kbwine.BIN_DIR, "Kolvane_Brightrun.data"), programs)
    scr = os.path.join(programs, scr_name)
    shutil.copy(os.path.join(kbwine.BIN_DIR, "Kolvane_Brightrun.scr"), scr)
    return scr


def test_music_that_cannot_play_leaves_the_show_running(folder):
    scr = programs_in(folder, "music")
    for case, settings in enumerate(bad_music_settings(folder)):
        with open(os.path.join(os.path.dirname(scr), "Kolvane_Brightrun.ini"), "wb") as f:
            f.write(settings)
        show = hostwine.start_show(HELPER, scr)
        assert not kbwine.find_windows(hostwine.BOX_TITLE), case
        hostwine.end_show_by_mouse(show, case)


def test_folder_with_blanks_starts_its_own_renderer(folder):
    """An unquoted path with blanks names the renderer, not a program whose
    name is the path's first piece ("<folder>\\a.exe" for "<folder>\\a b\\...")."""
    scr = programs_in(folder, "a b")
    # A decoy that would show a second helper window if it were started.
    shutil.copy(os.path.join(kbwine.BIN_DIR, "kb_preview_parent.exe"),
                os.path.join(folder, "a.exe"))
    show = hostwine.start_show(HELPER, scr)
    assert len(kbwine.find_windows("kb_preview_parent")) == 1, "the decoy was started"
    hostwine.end_show_by_mouse(show)


def test_unquoted_path_with_blanks_as_windows_passes_it(folder):
    """CreateProcess with the program's path unquoted, blanks and all, then /s."""
    scr = kbwine.windows_path(programs_in(folder, "a b"))
    show = hostwine.start_show(HELPER, launch=lambda: hostwine.StartedByHelper(
        HELPER, scr, scr + " /s"))
    hostwine.end_show_by_mouse(show)


def test_program_name_whose_second_byte_is_a_backslash(folder):
    """In code page 932 the second byte of "表" is 5C, the backslash's byte:
    the folder is still the one the programs lie in."""
    scr = programs_in(folder, "jp", "表示.scr")
    show = hostwine.start_show(HELPER, scr)
    assert not kbwine.find_windows(hostwine.BOX_TITLE)
    hostwine.end_show_by_mouse(show)
    hostwine.open_and_close_dialog(HELPER, scr)


def test_folder_the_code_page_cannot_spell(folder):
    """A folder name with a character the system code page lacks: /s finds,
    starts and shows the renderer beside it, and /c opens."""
    scr = programs_in(folder, kbwine.UNSPELLABLE)
    show = hostwine.start_show(HELPER, scr)
    assert not kbwine.find_windows(hostwine.BOX_TITLE)
    hostwine.end_show_by_mouse(show)
    hostwine.open_and_close_dialog(HELPER, scr)


HELPER = None  # the test helper, up for the whole test
TESTS = [test_files_window_and_mouse_rule, test_failed_writes_keep_the_older_files,
         test_held_bitmaps_still_get_the_new_pictures, test_second_start_ends_at_once,
         test_close_request_from_outside]
FOLDER_TESTS = [test_music_that_cannot_play_leaves_the_show_running,
                test_folder_with_blanks_starts_its_own_renderer,
                test_unquoted_path_with_blanks_as_windows_passes_it,
                test_program_name_whose_second_byte_is_a_backslash,
                test_folder_the_code_page_cannot_spell]


def main(names):
    """Runs the tests named on the command line, or all of them."""
    global HELPER
    kbwine.end_wine()
    # The helper keeps Wine up for the whole test: a Wine that starts puts
    # the pointer at the centre of the screen.
    HELPER = hostwine.PreviewParent()
    try:
        for test in TESTS + FOLDER_TESTS:
            if names and test.__name__ not in names:
                continue
            if test not in FOLDER_TESTS:
                test()
                continue
            folder = tempfile.mkdtemp(prefix="kb_show_")
            try:
                test(folder)
            finally:
                shutil.rmtree(folder, ignore_errors=True)
    finally:
        HELPER.quit()
        kbwine.end_wine()
    print("show tests passed")


if __name__ == "__main__":
    main(sys.argv[1:])
