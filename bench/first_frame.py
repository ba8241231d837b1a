"""Prints how long a user waits for the show: from starting
`Kolvane_Brightrun.scr /s` to the renderer's pictures on screen, and the floor
for a show made of two programs (floor_launcher.exe starting floor_wgl.exe,
which opens a window and a context and shows one cleared frame). Both run in
one warm Wine session and are seen the same way, by polling screenshots.

With --trace it runs one show under Wine's own trace instead and prints its
timeline: the milestones of both programs, in milliseconds from the
screensaver program's start (tracing slows everything: read the shares)."""
import os
import re
import statistics
import subprocess
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


TRACE_CHANNELS = "+timestamp,+loaddll,+process,+file,+wgl"
TRACE_LINE = re.compile(r"^(\d+\.\d+):([0-9a-f]+):(.*)$")
LOADED = re.compile(r'Loaded L"[^"]*\\([^"\\]+)"')
# Program of a thread, from the first module that thread loads.
PROGRAMS = {"kolvane_brightrun.scr": "scr", "kolvane_brightrun.data": "renderer"}
WATCHED_DLLS = {"winex11.drv": "X11 driver (first window)", "uxtheme.dll": "theme (first window)",
                "bcrypt.dll": "crypto provider (libssp's stack guard)",
                "winmm.dll": "winmm (music)", "comdlg32.dll": "comdlg32",
                "shell32.dll": "shell32", "opengl32.dll": "opengl32"}


def milestones(event):
    """[(what, whether its latest occurrence counts)] a trace event marks."""
    loaded = LOADED.search(event)
    if "loaddll:build_module" in event and loaded:
        name = loaded.group(1).lower()
        what = f"{name} loaded" if name in PROGRAMS else WATCHED_DLLS.get(name)
        return [(what, False)] if what else []
    if "CreateFileW" in event and "Kolvane_Brightrun.ini" in event:
        return [("settings file", False)]
    if "CreateFileW" in event and re.search(r"Kolvane_Brightrun\d\.bmp", event):
        kind = "read" if "GENERIC_READ" in event else "written"
        return [(f"first slide bitmap {kind}", False), (f"last slide bitmap {kind}", True)]
    if "CreateProcessInternalW app" in event:
        return [("CreateProcess of the renderer", False)]
    if "wglSwapBuffers" in event:
        return [("first SwapBuffers", False)]
    return []


def print_timeline(log):
    """Prints one row per milestone of each program: ms, program, what."""
    start, program_of, seen = None, {}, {}
    for line in log.splitlines():
        match = TRACE_LINE.match(line)
        if not match:
            continue
        when, thread, event = float(match.group(1)), match.group(2), match.group(3)
        start = when if start is None else start
        loaded = LOADED.search(event)
        if loaded and loaded.group(1).lower() in PROGRAMS:
            program_of.setdefault(thread, PROGRAMS[loaded.group(1).lower()])
        program = program_of.get(thread, "?")
        for what, latest in milestones(event):
            if latest or (program, what) not in seen:
                seen[(program, what)] = when
    print("   ms  program   what")
    for (program, what), when in sorted(seen.items(), key=lambda item: item[1]):
        print(f"{(when - start) * 1000:5.0f}  {program:8}  {what}")


def trace_show(helper):
    kbwine.move_mouse(*hostwine.START)
    log_path = os.path.join(kbwine.PREFIX, "first_frame_trace.log")
    with open(log_path, "wb") as log:
        show = kbwine.start(hostwine.SCR, "/s", env={"WINEDEBUG": TRACE_CHANNELS},
                            cwd=os.path.dirname(hostwine.SCR), stdout=log,
                            stderr=subprocess.STDOUT)
        kbwine.wait_for(lambda: pictures_shown(kbwine.Screenshot()), 60, what="the pictures")
        assert helper.ping(hostwine.SHOW_TITLE)
        hostwine.end_show_by_mouse(show)
    with open(log_path, "rb") as log:
        print_timeline(log.read().decode("utf-8", "replace"))


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


def main_trace():
    kbwine.end_wine()
    with hostwine.PreviewParent() as helper:
        time_floor()  # warms Wine's GL
        trace_show(helper)
    kbwine.end_wine()


if __name__ == "__main__":
    if sys.argv[1:] == ["--trace"]:
        main_trace()
    else:
        main(*map(int, sys.argv[1:]))
