"""The show (/s) of the real screensaver program beside the real renderer:
the ten bitmap files, the renderer window, the mouse rule, Esc, a second
start during a show, a close request from outside, and programs in folders
whose names hold blanks or a character the system code page lacks. Names on
the command line pick tests."""
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


def check_slide_files():
    for k in range(10):
        path = slide_path(k)
        assert os.path.getsize(path) == SIZES[k], f"{path}: {os.path.getsize(path)} bytes"
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
    hostwine.wait_frames(5)  # five frames that saw the pointer at 30 and 30
    assert show.poll() is None, "30 and 30 ended the show"
    assert HELPER.ping(hostwine.SHOW_TITLE), "the show no longer answers"
    hostwine.end_show_by_mouse(show)


def limit_file_size():
    """As on a full disk, writes past 100,000 bytes fail (with EFBIG, not a signal)."""
    signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
    resource.setrlimit(resource.RLIMIT_FSIZE, (100_000, 100_000))


def test_failed_writes_keep_the_older_files():
    """Slide 0 (79,974 bytes) fits under the limit, slides 1 to 9 do not: they
    keep the last show's files, told apart here by one changed byte, whole."""
    newest, older = [], []
    for k in range(10):
        with open(slide_path(k), "rb") as f:
            newest.append(f.read())
        older.append(newest[k][:-1] + bytes([newest[k][-1] ^ 0xFF]))
        with open(slide_path(k), "wb") as f:
            f.write(older[k])
    show = hostwine.start_show(HELPER, preexec_fn=limit_file_size)
    hostwine.end_show_by_mouse(show)
    for k in range(10):
        with open(slide_path(k), "rb") as f:
            assert f.read() == (newest if k == 0 else older)[k], slide_path(k)
    assert not [n for n in os.listdir(kbwine.WINDOWS_DIR) if n.endswith(".new")]


def test_second_start_ends_at_once():
    show = hostwine.start_show(HELPER)
    for args in (["/s"], ["/p", str(HELPER.hwnd)], ["/c"], []):
        second = hostwine.start_scr(*args)
        assert kbwine.wait_exit(second, 30) == 0, args
        assert not kbwine.find_windows(hostwine.BOX_TITLE), args
        assert show.poll() is None, args
    hostwine.end_show_by_mouse(show)


def test_esc_ends_only_the_renderer():
    show = hostwine.start_show(HELPER)
    window = kbwine.find_windows(hostwine.RENDERER_TITLE)[0]
    # Held down until the renderer has gone, as a user holds a key: the
    # renderer looks at the key state between frames.
    kbwine.xdotool("keydown", "--window", window, "Escape")
    try:
        kbwine.wait_for(lambda: not hostwine.renderer_running(), 15, what="the renderer's end")
    finally:
        kbwine.xdotool("keyup", "Escape")
    assert HELPER.ping(hostwine.SHOW_TITLE) and show.poll() is None, "Esc ended the show"
    move_from_start(31, 31)
    assert kbwine.wait_exit(show, 10) == 0


def test_close_request_from_outside():
    show = hostwine.start_show(HELPER)
    assert HELPER.close_window_titled(hostwine.SHOW_TITLE)
    assert kbwine.wait_exit(show, 10) == 0
    # The renderer is a process of its own: it goes on until the mouse moves.
    assert hostwine.renderer_running()
    move_from_start(31, 31)
    kbwine.wait_for(lambda: not hostwine.renderer_running(), 15, what="the renderer's end")


KIND = b"BGM\x8b\xe6\x95\xaa"
REPEAT = b"BGM\xd8\xcb\xdf\xb0\xc4"
FILE = b"BGM\xcc\xa7\xb2\xd9"


def path_bytes(unix_path):
    """The Windows path as the settings file holds it (code page 932)."""
    return kbwine.windows_path(unix_path).encode("cp932")


def bad_music_settings(folder):
    """Settings files whose music cannot play, with the files they name."""
    not_audio = os.path.join(folder, "not audio.mp3")
    with open(not_audio, "wb") as f:
        f.write(b"this is no MP3" * 100)
    not_wave = os.path.join(folder, "noise.WAV")
    with open(not_wave, "wb") as f:
        f.write(os.urandom(5000))
    return [
        b"[Section]\r\n" + KIND + b"=1\r\n" + REPEAT + b"=3\r\n",  # no CD drive here
        b"[Section]\r\n" + KIND + b"=2\r\n" + FILE + b"=" + path_bytes(not_audio) + b"\r\n",
        b"[Section]\r\n" + KIND + b"=2\r\n" + FILE + b"=" + path_bytes(not_wave) + b"\r\n",
        b"[Section]\r\n" + KIND + b"=2\r\n" + FILE + b"=Z:\\gone\\song.mp3\r\n",
        bytes(range(256)) * 64,  # not a settings file at all
    ]


def programs_in(folder, name):
    """Both programs in a new folder `name` inside `folder`; the .scr's path."""
    programs = os.path.join(folder, name)
    os.mkdir(programs)
    for program in ("Kolvane_Brightrun.scr", "Kolvane_Brightrun.data"):
        shutil.copy(os.path.join(kbwine.BIN_DIR, program), programs)
    return os.path.join(programs, "Kolvane_Brightrun.scr")


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
         test_second_start_ends_at_once,
         test_esc_ends_only_the_renderer, test_close_request_from_outside]
FOLDER_TESTS = [test_music_that_cannot_play_leaves_the_show_running,
                test_folder_with_blanks_starts_its_own_renderer,
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
