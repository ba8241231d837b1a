"""Prints how long a user waits for the show: from starting
`Kolvane_Brightrun.scr /s` to the renderer's pictures on screen, and the floor
for a show made of two programs (floor_launcher.exe starting floor_wgl.exe,
which opens a window and a context and shows one cleared frame). Both run in
one warm Wine session and are seen the same way, by polling screenshots."""
import os
import statistics
import sys
import time

import hostwine
import kbwine

FLOOR_COLOUR = (255, 0, 255)


def pictures_shown(shot):
    colours = {shot.pixel(x, y) for x in range(0, shot.width, 32)
               for y in range(0, shot.height, 32)}
    return len(colours) > 8 and bool(kbwine.find_windows(hostwine.RENDERER_TITLE))


def time_show(helper):
    kbwine.move_mouse(*hostwine.START)
    kbwine.wait_for(lambda: kbwine.mouse_position() == hostwine.START, 10, what="the pointer")
    started = time.monotonic()
    show = hostwine.start_scr("/s")
    kbwine.wait_for(lambda: pictures_shown(kbwine.Screenshot()), 60, interval=0,
                    what="the show's pictures")
    seconds = time.monotonic() - started
    assert helper.ping(hostwine.SHOW_TITLE)
    hostwine.end_show_by_mouse(show)
    return seconds


def time_floor():
    started = time.monotonic()
    launcher = kbwine.start(os.path.join(kbwine.BIN_DIR, "floor_launcher.exe"))
    kbwine.wait_for(lambda: kbwine.Screenshot().pixel(512, 384) == FLOOR_COLOUR, 60,
                    interval=0, what="the floor's frame")
    seconds = time.monotonic() - started
    kbwine.key(kbwine.wait_window("kb_floor"), "Escape")
    kbwine.wait_exit(launcher, 30)
    kbwine.wait_for(lambda: not kbwine.find_windows("kb_floor"), 10, what="the floor's end")
    return seconds


def main(runs=5):
    kbwine.end_wine()
    helper = hostwine.PreviewParent()
    shows, floors = [], []
    try:
        time_floor()  # warms Wine's GL
        for _ in range(runs):
            shows.append(time_show(helper))
            floors.append(time_floor())
    finally:
        helper.quit()
        kbwine.end_wine()
    show, floor = statistics.median(shows), statistics.median(floors)
    print("show /s to pictures on screen: median %.3f s (%s)"
          % (show, ", ".join("%.3f" % s for s in shows)))
    print("floor, launcher + WGL frame:    median %.3f s (%s)"
          % (floor, ", ".join("%.3f" % s for s in floors)))
    print("ratio: %.2f" % (show / floor))


if __name__ == "__main__":
    main(*map(int, sys.argv[1:]))
