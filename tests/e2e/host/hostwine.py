"""Helpers of the screensaver program's end-to-end tests: starting the real
Kolvane_Brightrun.scr beside the real renderer, watching the processes of this
test's own Wine prefix, and the preview-window stand-in."""
import os
import subprocess

import kbwine

SCR = os.path.join(kbwine.BIN_DIR, "Kolvane_Brightrun.scr")
RENDERER_TITLE = "Kolvane_Brightrun_Viewer"
BOX_TITLE = "Kolvane_Brightrun(ScreenSaver)"
SHOW_TITLE = "Q_Tavel_Main"
DIALOG_TITLE = "<Kolvane_Brightrun>"
# Inside the helper's window (100, 100, 200 x 150): Wine learns where the
# pointer is from the pointer events of its own windows, and a program that
# opens a window under a pointer Wine has not seen move reads a stale point.
START = (200, 175)


def start_scr(*args, program=SCR, env=None, cwd=None, **popen):
    """Starts the screensaver program, by default in its own folder."""
    return kbwine.start(program, *args, env=env, cwd=cwd or os.path.dirname(program),
                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, **popen)


def prefix_processes(name):
    """Linux pids of this prefix's Wine processes whose command line names `name`."""
    found = []
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/cmdline", "rb") as f:
                cmdline = f.read()
            with open(f"/proc/{entry}/environ", "rb") as f:
                environ = f.read().split(b"\0")
        except OSError:
            continue
        if name.encode() in cmdline and f"WINEPREFIX={kbwine.PREFIX}".encode() in environ:
            found.append(int(entry))
    return found


def renderer_running():
    return bool(prefix_processes("Kolvane_Brightrun.data"))


def screen_colours():
    """How many colours a coarse grid over the screen shows."""
    shot = kbwine.Screenshot()
    return len({shot.pixel(x, y) for x in range(0, shot.width, 32)
                for y in range(0, shot.height, 32)})


def wait_show_up(process, timeout=60.0):
    """Waits until the show's hidden window exists and the renderer draws.

    The renderer takes its own start point just before its first frame, so
    a test must not move the pointer before the scene is on the screen."""
    kbwine.wait_for(lambda: kbwine.find_windows(RENDERER_TITLE) or kbwine.find_windows(BOX_TITLE)
                    or process.poll() is not None, timeout, what="the renderer window")
    assert not kbwine.find_windows(BOX_TITLE), "the program says its renderer is missing"
    assert process.poll() is None, "the show ended before its renderer came up"
    kbwine.wait_for(lambda: kbwine.find_windows(SHOW_TITLE) or process.poll() is not None,
                    timeout, what="the show window")
    kbwine.wait_for(lambda: screen_colours() > 8 or process.poll() is not None, timeout,
                    interval=0.1, what="the renderer's first frame")
    assert process.poll() is None, "the show ended early"


def start_show(helper, program=SCR, cwd=None, launch=None, **popen):
    """Starts /s (or calls `launch`, which starts a show and returns it) with
    the pointer at START over the helper's window, and waits until both
    programs are up and have read START as their start point."""
    kbwine.move_mouse(*START)
    kbwine.wait_for(lambda: kbwine.mouse_position() == START, 10, what="the pointer at START")
    show = launch() if launch else start_scr("/s", program=program, cwd=cwd, **popen)
    wait_show_up(show)
    # The show form takes its start point at the end of its load handler,
    # after starting the music (which may take a while): once its window
    # answers messages, the load handler is done.
    assert helper.ping(SHOW_TITLE), "the show form does not answer"
    assert kbwine.mouse_position() == START
    return show


def end_show_by_mouse(show, case=None, start=START, renderer_ends=True, code_checked=True):
    """Ends a show as a user does: 31 pixels across and down from `start`;
    the renderer too, unless it may not have read its start point yet."""
    kbwine.move_mouse(start[0] + 31, start[1] + 31)
    code = kbwine.wait_exit(show, 10)
    assert code == 0 or not code_checked, \
        f"the show ended with exit code {code}" + (f" ({case})" if case else "")
    if renderer_ends:
        kbwine.wait_for(lambda: not renderer_running(), 15, what="the renderer's end")


def hold_escape_until_renderer_ends(window):
    """Holds Esc down in the renderer's window until it has gone, as a user
    holds a key: the renderer looks at the key state between frames."""
    kbwine.xdotool("keydown", "--window", window, "Escape")
    try:
        kbwine.wait_for(lambda: not renderer_running(), 15, what="the renderer's end")
    except AssertionError:
        raise AssertionError("Esc held for 15 s did not end the renderer") from None
    finally:
        kbwine.xdotool("keyup", "Escape")


def open_and_close_dialog(helper, program=SCR, cwd=None, env=None):
    """Starts /c, waits for the settings dialog and closes it from outside."""
    dialog = start_scr("/c", program=program, cwd=cwd, env=env)
    kbwine.wait_for(lambda: kbwine.find_windows(DIALOG_TITLE) or dialog.poll() is not None,
                    60, what="the settings dialog")
    assert dialog.poll() is None, f"/c ended at once with code {dialog.returncode}"
    assert helper.close_window_titled(DIALOG_TITLE), "the dialog took no close request"
    assert kbwine.wait_exit(dialog, 30) == 0


class StartedByHelper:
    """A program the helper started with CreateProcess, watched like a Popen."""

    def __init__(self, helper, application, command_line):
        self.helper = helper
        reply = helper.command(f"start {application}|{command_line}", "started")
        assert reply == "started 1", f"CreateProcess failed for {command_line!r}"

    def poll(self):
        return self.wait(0, raises=False)

    def wait(self, timeout, raises=True):
        reply = self.helper.command(f"wait {int(timeout * 1000)}", "exit")
        if reply != "exit running":
            return int(reply.split()[1])
        if raises:
            raise subprocess.TimeoutExpired("program started by the helper", timeout)
        return None


class PreviewParent:
    """The 200 x 150 stand-in for the display settings' preview window."""

    def __init__(self):
        helper = os.path.join(kbwine.BIN_DIR, "kb_preview_parent.exe")
        self.process = kbwine.start(helper, stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                    stderr=subprocess.DEVNULL, text=True, encoding="utf-8")
        self.hwnd = int(self.read_reply("hwnd").split()[1])

    def read_reply(self, word):
        while True:
            line = self.process.stdout.readline()
            if not line:
                raise AssertionError("the preview parent helper ended")
            if line.startswith(word):
                return line.strip()

    def command(self, text, reply_word):
        self.process.stdin.write(text + "\n")
        self.process.stdin.flush()
        return self.read_reply(reply_word)

    def destroy_window(self):
        self.command("destroy", "destroyed")

    def close_window_titled(self, title):
        return self.command("close " + title, "closed") == "closed 1"

    def children(self):
        """[(class, title, (left, top, width, height), visible, a child by Windows'
        rules)] of the window's children."""
        self.process.stdin.write("children\n")
        self.process.stdin.flush()
        found = []
        while True:
            line = self.read_reply("child")
            if line == "children end":
                return found
            name, title, rect, visible, child = line[len("child "):].split("|")
            found.append((name, title, tuple(int(v) for v in rect.split(",")), visible == "1",
                          child == "1"))

    def activate(self):
        """Takes the foreground, as the user's window may keep it on Windows."""
        assert self.command("activate", "activated") == "activated 1"

    def set_mode(self, width, height):
        assert self.command(f"mode {width} {height}", "mode") == "mode 0", (width, height)

    def display_burst(self, title):
        """Sends the window the messages of one display change."""
        assert self.command("burst " + title, "burst") == "burst 1", title

    def covers(self):
        """[(hwnd, (left, top, right, bottom))] of the renderer's monitor covers."""
        self.process.stdin.write("covers\n")
        self.process.stdin.flush()
        found = []
        while (line := self.read_reply("cover")) != "covers end":
            hwnd, rect = line[len("cover "):].split("|")
            found.append((int(hwnd), tuple(int(v) for v in rect.split(","))))
        return found

    def foreground_title(self):
        return self.command("foreground", "foreground")[len("foreground "):]

    def hold(self, windows_path):
        """Holds the file open as a virus scanner does: no delete sharing."""
        assert self.command("hold " + windows_path, "held") == "held 1", windows_path

    def release(self):
        self.command("release", "released")

    def ping(self, title):
        """Waits until the window's thread handles messages; False when it has none."""
        return self.command("ping " + title, "ping") == "ping 1"

    def describe_box(self, title):
        """(text, button captions, holds an icon) of a message box."""
        text, buttons, icon = self.command("box " + title, "box")[4:].rsplit("|", 2)
        return text, buttons.split(",") if buttons else [], icon == "1"

    def __enter__(self):
        return self

    def __exit__(self, *failure):
        self.quit()

    def quit(self):
        if self.process.poll() is None:
            self.process.stdin.write("quit\n")
            self.process.stdin.flush()
            kbwine.wait_exit(self.process)
