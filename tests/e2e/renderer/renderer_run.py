"""Runs the real Kolvane_Brightrun.data under Wine as the show would, and
checks what a user sees: its window, its pictures, its message boxes, and
how it ends.

Usage: renderer_run.py <scenario>
  solid      ten single-colour bitmaps: every surface wears its own bitmap
  pictures   the project's pictures placed by kb_write_slides
  missing3   bitmap 3 missing: one message box, asked for topmost and in front,
             then the animation, with one frame per screen refresh asked for
  esc, close, mouse31       each ends the run
  mouse30, right100         neither ends the run
"""
import os
import subprocess
import sys
import tempfile

import kbwine

TITLE = "Kolvane_Brightrun_Viewer"
RELAY_KEY = r"HKCU\Software\Wine\Debug"
RENDERER = os.path.join(kbwine.BIN_DIR, "Kolvane_Brightrun.data")
REEL_COLOUR = (0x20, 0x40, 0x60)
SLIDE_COLOURS = [(0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0x00, 0x00, 0xFF),
                 (0xFF, 0xFF, 0x00), (0x00, 0xFF, 0xFF), (0xFF, 0x80, 0x00),
                 (0x80, 0x00, 0xFF), (0x00, 0x80, 0x40), (0xC0, 0xC0, 0xC0)]


def bitmap_path(k):
    return os.path.join(kbwine.WINDOWS_DIR, f"Kolvane_Brightrun{k}.bmp")


def place_solid_bitmaps(skip=()):
    os.makedirs(kbwine.WINDOWS_DIR, exist_ok=True)
    for k in range(10):
        if os.path.exists(bitmap_path(k)):
            os.remove(bitmap_path(k))
        if k in skip:
            continue
        data = kbwine.solid_bitmap(180, 148, REEL_COLOUR) if k == 0 else \
            kbwine.solid_bitmap(256, 256, SLIDE_COLOURS[k - 1])
        with open(bitmap_path(k), "wb") as f:
            f.write(data)


def place_project_pictures():
    writer = kbwine.start(os.path.join(kbwine.BIN_DIR, "kb_write_slides.exe"),
                          kbwine.windows_path(os.path.join(kbwine.SOURCE_DIR, "assets")),
                          "C:\\Windows")
    assert kbwine.wait_exit(writer, 60) == 0, "kb_write_slides failed"
    sizes = [os.path.getsize(bitmap_path(k)) for k in range(10)]
    assert sizes == [79974] + [196662] * 9, sizes


def colour_counts(shot):
    counts = {}
    pixels = shot.pixels
    for at in range(0, len(pixels), 3):
        colour = pixels[at:at + 3]
        counts[colour] = counts.get(colour, 0) + 1
    return {tuple(c): n for c, n in counts.items()}


def message_boxes():
    return kbwine.find_windows("BMP Unit")


class Renderer:
    def __init__(self, debug=None):
        assert not kbwine.find_windows(TITLE), "a renderer is already running"
        env = {"WINEDEBUG": debug} if debug else None
        # A file, not a pipe: a trace of every frame would fill a pipe and stop the renderer.
        self.trace = tempfile.TemporaryFile() if debug else subprocess.DEVNULL
        self.process = kbwine.start(RENDERER, env=env, stdout=subprocess.DEVNULL, stderr=self.trace)

    def trace_text(self):
        self.trace.seek(0)
        return self.trace.read().decode(errors="replace")

    def wait_window(self):
        self.window = kbwine.wait_window(TITLE, 60)
        return self.window

    def running(self):
        return self.process.poll() is None

    def exit_code(self):
        return kbwine.wait_exit(self.process, 30)

    def stop(self):
        if self.running():
            kbwine.end_wine()


def check_window_geometry(window):
    x, y, width, height = kbwine.window_geometry(window)
    assert (x, y) == (0, 0), (x, y)
    # A maximised window plus one caption height: more than the screen on both axes.
    assert width >= 1024 and height > 768, (width, height)


def check_solid_frame(shot):
    counts = colour_counts(shot)
    total = shot.width * shot.height
    assert counts.get(REEL_COLOUR, 0) > total // 10, "the reel wears bitmap 0"
    slides_seen = [k + 1 for k, c in enumerate(SLIDE_COLOURS) if counts.get(c, 0) > 20]
    assert len(slides_seen) >= 6, f"slides seen: {slides_seen}"
    assert counts.get((255, 255, 255), 0) < 20, "no surface drawn without its picture"


def check_pictures_frame(shot):
    counts = colour_counts(shot)
    total = shot.width * shot.height
    assert counts.get((255, 255, 255), 0) < total // 100, "no surface drawn without its picture"
    assert counts.get((0, 0, 0), 0) < total // 2, "the scene fills the screen"
    assert len(counts) > 5000, f"only {len(counts)} colours: pictures not shown"


def scenario_solid(renderer):
    check_window_geometry(renderer.wait_window())
    shot = kbwine.wait_screen_changes(2)
    assert not message_boxes()
    check_solid_frame(shot)
    kbwine.key(renderer.window, "Escape")
    assert renderer.exit_code() == 0


def scenario_pictures(renderer):
    renderer.wait_window()
    shot = kbwine.wait_screen_changes(2)
    assert not message_boxes()
    check_pictures_frame(shot)
    shot.save(os.path.join(os.path.dirname(kbwine.BIN_DIR), "e2e_renderer_pictures.png"))
    kbwine.key(renderer.window, "Escape")
    assert renderer.exit_code() == 0


def scenario_missing3(renderer):
    box = kbwine.wait_for(message_boxes, 60, what="the message box")
    assert len(box) == 1, box
    kbwine.key(box[0], "Return")
    kbwine.wait_for(lambda: not message_boxes(), 30, what="the box to close")
    renderer.wait_window()
    shot = kbwine.wait_screen_changes(2)
    assert not message_boxes(), "exactly one box"
    counts = colour_counts(shot)
    assert counts.get(REEL_COLOUR, 0) > 0 and counts.get(SLIDE_COLOURS[0], 0) > 0
    kbwine.key(renderer.window, "Escape")
    assert renderer.exit_code() == 0
    log = renderer.trace_text()
    texts = [line.split("MSGBOX_OnInit ", 1)[1] for line in log.splitlines()
             if "MSGBOX_OnInit" in line]
    assert texts == ['L"Error opening C:\\\\Windows\\\\Kolvane_Brightrun3.bmp"'], texts
    # Wine does not make a box topmost; its relay trace shows what the program asked for.
    styles = [int(line.split(")")[0].rsplit(",", 1)[1], 16) for line in log.splitlines()
              if "Call user32.MessageBoxA(" in line]
    assert styles and all(s & 0x50000 == 0x50000 for s in styles), \
        f"box styles {styles}: not MB_TOPMOST | MB_SETFOREGROUND, behind the topmost scene"
    if "WGL_EXT_swap_control" in log:
        assert "wglSwapIntervalEXT (1)" in log, "the driver offers a swap interval; none asked for"


def frame_rates(renderer):
    """What Wine's frame counter said, once a second."""
    return [float(line.split("approx ")[1].split("fps")[0])
            for line in renderer.trace_text().splitlines() if "approx " in line]


def scenario_esc(renderer):
    renderer.wait_window()
    kbwine.wait_screen_changes(2)
    # Mesa on Xvfb ignores the swap interval: the loop keeps to the screen's 60.
    kbwine.wait_for(lambda: len(frame_rates(renderer)) >= 3, 20, what="Wine's frame counter")
    assert 45 <= frame_rates(renderer)[-1] <= 63, f"{frame_rates(renderer)} frames a second"
    kbwine.key(renderer.window, "Escape")
    assert renderer.exit_code() == 0


def scenario_close(renderer):
    renderer.wait_window()
    kbwine.wait_screen_changes(2)
    # Alt+F4 is the user's close request: the system turns it into WM_CLOSE.
    kbwine.key(renderer.window, "alt+F4")
    assert renderer.exit_code() == 0


def moved_by(renderer, dx, dy):
    renderer.wait_window()
    shot = kbwine.wait_screen_changes(2)
    x, y = kbwine.mouse_position()
    kbwine.move_mouse(x + dx, y + dy)
    kbwine.wait_for(lambda: kbwine.mouse_position() == (x + dx, y + dy), 10, what="the pointer")
    return shot


def scenario_mouse31(renderer):
    moved_by(renderer, 31, 31)
    assert renderer.exit_code() == 0


def goes_on_after(renderer, dx, dy):
    shot = moved_by(renderer, dx, dy)
    # Many frames later the run still goes on; Esc then ends it normally.
    kbwine.wait_screen_changes(5)
    assert renderer.running(), "a smaller move must not end the run"
    kbwine.key(renderer.window, "Escape")
    assert renderer.exit_code() == 0


SCENARIOS = {
    "solid": (place_solid_bitmaps, scenario_solid, None),
    "pictures": (place_project_pictures, scenario_pictures, None),
    "missing3": (lambda: place_solid_bitmaps(skip=(3,)), scenario_missing3,
                 "-all,+msgbox,+relay,+wgl"),
    "esc": (place_solid_bitmaps, scenario_esc, "-all,+fps"),
    "close": (place_solid_bitmaps, scenario_close, None),
    "mouse31": (place_solid_bitmaps, scenario_mouse31, None),
    "mouse30": (place_solid_bitmaps, lambda r: goes_on_after(r, 30, 30), None),
    "right100": (place_solid_bitmaps, lambda r: goes_on_after(r, 100, 0), None),
}


def centre_pointer():
    """Puts the pointer mid-screen, so earlier runs' moves never leave it at an edge."""
    kbwine.move_mouse(512, 384)
    kbwine.wait_for(lambda: kbwine.mouse_position() == (512, 384), 10, what="the pointer")


def main():
    place, run, debug = SCENARIOS[sys.argv[1]]
    place()
    centre_pointer()
    if debug:  # the relay trace of the message box call alone
        kbwine.reg_set(RELAY_KEY, "RelayInclude", "user32.MessageBoxA")
    renderer = Renderer(debug)
    try:
        run(renderer)
    finally:
        renderer.stop()
        if debug:
            kbwine.reg_delete(RELAY_KEY, "RelayInclude")
    print(f"{sys.argv[1]}: ok")


if __name__ == "__main__":
    main()
