"""A show on two monitors side by side: Xephyr, inside the test's Xvfb, with
two 640 x 480 heads under Xinerama, which Wine (without XRandR) reports as
two monitors, (0,0)-(640,480) the primary and (640,0)-(1280,480). The scene
fills the primary and is drawn on the other monitor too, in a window made anew
when the displays change; Esc, even pressed in another window, ends the
renderer and its second picture while the show plays on; the mouse moved over
the other monitor ends both programs."""
import os
import subprocess

import hostwine
import kbwine

X11_DRIVER = r"HKCU\Software\Wine\X11 Driver"
WIDTH = 640  # each head's width; the second starts where the first ends


class TwoMonitors:
    """Xephyr's two heads as the display of everything this script runs; its
    root window wears the grey weave (-retro), so black is always a window.
    With `screen` instead, one head whose size Wine can change (RandR)."""

    def __init__(self, *screen):
        self.screens = screen or ("+xinerama", "-screen", f"{WIDTH}x480", "-screen", f"{WIDTH}x480")

    def __enter__(self):
        number = 50
        while os.path.exists(f"/tmp/.X{number}-lock") or os.path.exists(f"/tmp/.X11-unix/X{number}"):
            number += 1
        self.server = subprocess.Popen(
            ["Xephyr", f":{number}", "-ac", "-retro", "-noreset", "-nolisten", "tcp", *self.screens],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        display = f":{number}"
        kbwine.wait_for(lambda: subprocess.run(["xdpyinfo", "-display", display],
                                               capture_output=True).returncode == 0,
                        30, interval=0.1, what="Xephyr")
        self.host_display = os.environ["DISPLAY"]
        os.environ["DISPLAY"] = kbwine.WINE_ENV["DISPLAY"] = display
        # Wine 8 reads the heads from Xinerama only without XRandR.
        kbwine.end_wine()
        kbwine.reg_set(X11_DRIVER, "UseXRandR", "N" if "+xinerama" in self.screens else "Y")
        kbwine.end_wine()
        return self

    def __exit__(self, *failure):
        kbwine.reg_delete(X11_DRIVER, "UseXRandR")
        # NOTE: Wine's holder comes up again on the test's own display: one
        # left on Xephyr's dies with it, and the next test's first program
        # would then have to start Wine's desktop itself (which can time out).
        os.environ["DISPLAY"] = kbwine.WINE_ENV["DISPLAY"] = self.host_display
        kbwine.end_wine()
        self.server.terminate()
        self.server.wait(timeout=30)


def holds_within(condition, seconds, fault):
    """Asserts that `condition` comes true within a few seconds, naming the fault."""
    try:
        kbwine.wait_for(condition, seconds, interval=0.1)
    except AssertionError:
        raise AssertionError(fault) from None


def second_monitor_colours(shot):
    """How many colours a grid over the second monitor shows: the root's weave
    has two, the scene many."""
    return len({shot.pixel(x, y) for x in range(WIDTH, shot.width, 7)
                for y in range(0, shot.height, 7)})


def second_monitor_shows_scene():
    return second_monitor_colours(kbwine.Screenshot()) > 8


def primary_colours(shot):
    return len({shot.pixel(x, y) for x in range(0, WIDTH, 16) for y in range(0, shot.height, 16)})


def test_shown_on_both_then_esc_ends_only_the_renderer(helper):
    shot = kbwine.Screenshot()
    assert shot.width == 2 * WIDTH, f"the bed is {shot.width} wide"
    assert second_monitor_colours(shot) <= 2, "the second monitor shows more than the root"
    show = hostwine.start_show(helper)
    holds_within(second_monitor_shows_scene, 5,
                 "the scene is up on the primary, but not on the second monitor")
    assert primary_colours(kbwine.Screenshot()) > 8, "the scene does not fill the primary"
    assert helper.foreground_title() == hostwine.RENDERER_TITLE, "the second monitor's window took the focus"
    # A display change mid-show: the second monitor's window is made anew from the monitors of now.
    old = helper.covers()
    second = [(WIDTH, 0, 2 * WIDTH, 480)]
    assert [rect for _, rect in old] == second, f"second monitor windows before the change: {old}"
    helper.display_burst(hostwine.RENDERER_TITLE)
    holds_within(lambda: old[0] not in helper.covers(), 5, "the displays changed, the old second monitor window stayed")
    holds_within(lambda: [rect for _, rect in helper.covers()] == second, 5,
                 f"after the change not one window over the second monitor: {helper.covers()}")
    holds_within(second_monitor_shows_scene, 5, "the second monitor lost the scene in the change")
    window = kbwine.find_windows(hostwine.RENDERER_TITLE)[0]
    x, y, width, height = kbwine.window_geometry(window)
    assert x <= 0 and y <= 0 and x + width >= WIDTH and y + height >= 480, (x, y, width, height)
    # Windows may leave the keyboard with the user's window: Esc still ends the scene.
    helper.activate()
    hostwine.hold_escape_until_renderer_ends(kbwine.find_windows("kb_preview_parent")[0])
    holds_within(lambda: second_monitor_colours(kbwine.Screenshot()) <= 2, 10,
                 "the second monitor's scene stayed after the renderer ended")
    assert helper.ping(hostwine.SHOW_TITLE) and show.poll() is None, "Esc ended the show"
    hostwine.end_show_by_mouse(show)


def test_the_mouse_over_the_second_monitor_ends_both(helper):
    show = hostwine.start_show(helper)
    holds_within(second_monitor_shows_scene, 5,
                 "the scene is up on the primary, but not on the second monitor")
    kbwine.move_mouse(WIDTH + 60, hostwine.START[1] + 100)
    assert kbwine.wait_exit(show, 10) == 0
    kbwine.wait_for(lambda: not hostwine.renderer_running(), 15, what="the renderer's end")
    holds_within(lambda: second_monitor_colours(kbwine.Screenshot()) <= 2, 10,
                 "the second monitor's scene stayed after the renderer ended")


def test_a_new_resolution_is_covered_and_the_show_goes_on(helper):
    """A resolution changed mid-show (a monitor woken, a laptop docked): the
    scene takes the new screen by its start rule, larger or smaller."""
    show = hostwine.start_show(helper)
    for width, height in ((1024, 768), (640, 480)):
        helper.set_mode(width, height)

        def covered():
            x, y, w, h = kbwine.window_geometry(kbwine.find_windows(hostwine.RENDERER_TITLE)[0])
            return x <= 0 and y <= 0 and width <= x + w < width + 64 and height <= y + h < height + 96
        holds_within(covered, 10, f"the scene does not cover the new {width} x {height} screen")
        assert hostwine.renderer_running() and show.poll() is None, "the change ended the show"
    hostwine.end_show_by_mouse(show)


def main():
    with TwoMonitors(), hostwine.PreviewParent() as helper:
        test_shown_on_both_then_esc_ends_only_the_renderer(helper)
        test_the_mouse_over_the_second_monitor_ends_both(helper)
    with TwoMonitors("-resizeable", "-screen", "800x600"), hostwine.PreviewParent() as helper:
        test_a_new_resolution_is_covered_and_the_show_goes_on(helper)
    print("two-monitor tests passed")


if __name__ == "__main__":
    main()
