"""The preview (/p <hwnd>) of the real screensaver program inside a 200 x 150
window of a test helper: the picture at its own size at the top left, black
to the right and below, and the program's end when that window goes."""
import os
import subprocess

import hostwine
import kbwine

PARENT_X, PARENT_Y = 100, 100  # where the helper puts its window
PICTURE = os.path.join(kbwine.SOURCE_DIR, "assets", "preview.jpg")


def djpeg_pixels(path):
    ppm = subprocess.run(["djpeg", "-pnm", path], check=True, capture_output=True).stdout
    _, width, height, _ = ppm.split(maxsplit=4)[:4]
    width, height = int(width), int(height)
    return width, height, ppm[len(ppm) - width * height * 3:]


WIDTH, HEIGHT, PIXELS = djpeg_pixels(PICTURE)
SAMPLES = [(0, 0), (WIDTH - 1, 0), (0, HEIGHT - 1), (WIDTH - 1, HEIGHT - 1), (76, 56), (30, 90),
           (120, 20)]
BLACK_SAMPLES = [(WIDTH, 0), (199, 0), (170, 60), (WIDTH, HEIGHT), (0, HEIGHT), (80, 149),
                 (199, 149)]


def picture_pixel(x, y):
    at = (y * WIDTH + x) * 3
    return tuple(PIXELS[at:at + 3])


def close(a, b, tolerance=3):
    return all(abs(p - q) <= tolerance for p, q in zip(a, b))


def preview_shown(shot):
    return all(close(shot.pixel(PARENT_X + x, PARENT_Y + y), picture_pixel(x, y))
               for x, y in SAMPLES)


def check_preview_in(helper):
    preview = hostwine.start_scr("/p", str(helper.hwnd))
    shot = kbwine.wait_for(lambda: (lambda s: s if preview_shown(s) else None)(kbwine.Screenshot()),
                           30, interval=0.2, what="the preview picture")
    for x, y in BLACK_SAMPLES:
        assert shot.pixel(PARENT_X + x, PARENT_Y + y) == (0, 0, 0), (x, y)
    return preview


def test_picture_and_end_with_the_parent():
    assert (WIDTH, HEIGHT) == (152, 112)
    helper = hostwine.PreviewParent()
    try:
        preview = check_preview_in(helper)
        assert not kbwine.find_windows(hostwine.BOX_TITLE)
        helper.destroy_window()
        assert kbwine.wait_exit(preview, 15) == 0
    finally:
        helper.quit()


def test_two_previews_run_side_by_side():
    first, second = hostwine.PreviewParent(), hostwine.PreviewParent()
    try:
        a = hostwine.start_scr("/p", str(first.hwnd))
        b = hostwine.start_scr(f"/p:{second.hwnd}")
        assert hostwine.stays_alive(a, 1.0) and b.poll() is None
        first.destroy_window()
        assert kbwine.wait_exit(a, 15) == 0
        assert b.poll() is None
        second.destroy_window()
        assert kbwine.wait_exit(b, 15) == 0
    finally:
        first.quit()
        second.quit()


def main():
    kbwine.end_wine()
    try:
        test_picture_and_end_with_the_parent()
        test_two_previews_run_side_by_side()
    finally:
        kbwine.end_wine()
    print("preview tests passed")


if __name__ == "__main__":
    main()
