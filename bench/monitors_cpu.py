"""The renderer's CPU use with the scene on one monitor of 1024 x 768 and on
two, measured for 10 s each under Wine on Xephyr inside a private Xvfb (Mesa
draws on the renderer's own threads, so its process time counts all of it).

Run through bench/monitors_cpu.sh (needs the win64 build)."""
import os
import sys
import time

sys.path.insert(0, os.path.dirname(__file__))
sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "tests", "e2e"))
sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "tests", "e2e", "host"))
import hostwine  # noqa: E402
from host_idle_cpu import SECONDS, cpu_seconds  # noqa: E402
from two_monitors_test import TwoMonitors  # noqa: E402

HEAD = "1024x768"


def renderer_share(screens):
    """Per cent of one core the renderer uses while a show runs on `screens`."""
    with TwoMonitors(*screens), hostwine.PreviewParent() as helper:
        show = hostwine.start_show(helper)
        renderer = hostwine.prefix_processes("Kolvane_Brightrun.data")[0]
        before, start = cpu_seconds(renderer), time.monotonic()
        time.sleep(SECONDS)  # the measurement window itself
        share = 100 * (cpu_seconds(renderer) - before) / (time.monotonic() - start)
        hostwine.end_show_by_mouse(show)
    return share


def main():
    one = renderer_share(("-screen", HEAD))
    two = renderer_share(("+xinerama", "-screen", HEAD, "-screen", HEAD))
    print(f"renderer, one monitor of {HEAD}:  {one:6.1f} % of one core")
    print(f"renderer, two monitors of {HEAD}: {two:6.1f} % of one core ({two / one:.2f} times)")


if __name__ == "__main__":
    main()
