"""CPU use of the screensaver program while a show runs and it only watches
the mouse (its 50 ms timer), measured for 10 s under Wine from
/proc/<pid>/stat. The renderer draws beside it; its figure is printed too.

Run through bench/host_idle_cpu.sh (needs the win64 build)."""
import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "tests", "e2e"))
sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "tests", "e2e", "host"))
import hostwine  # noqa: E402
import kbwine  # noqa: E402

SECONDS = 10.0
TICKS = os.sysconf("SC_CLK_TCK")


def cpu_seconds(pid):
    """User plus system CPU time of a process so far."""
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / TICKS


def main():
    kbwine.end_wine()
    helper = hostwine.PreviewParent()  # keeps Wine up and the pointer known
    try:
        kbwine.move_mouse(200, 175)
        show = hostwine.start_scr("/s")
        hostwine.wait_show_up(show)
        host = hostwine.prefix_processes("Kolvane_Brightrun.scr")[0]
        renderer = hostwine.prefix_processes("Kolvane_Brightrun.data")[0]
        before = {pid: cpu_seconds(pid) for pid in (host, renderer)}
        start = time.monotonic()
        time.sleep(SECONDS)  # the measurement window itself
        elapsed = time.monotonic() - start
        for name, pid in (("screensaver program", host), ("renderer", renderer)):
            used = cpu_seconds(pid) - before[pid]
            print(f"{name:20s} {used * 1000:8.0f} ms CPU in {elapsed:.1f} s "
                  f"= {100 * used / elapsed:6.2f} % of one core")
        kbwine.move_mouse(260, 235)
        kbwine.wait_exit(show, 15)
    finally:
        helper.quit()
        kbwine.end_wine()


if __name__ == "__main__":
    main()
