"""Helpers of the settings dialog's end-to-end tests: the real
Kolvane_Brightrun.scr /c in a program folder of its own, its settings file,
the dialog's geometry on screen, its pixels and a probe for what pixels
cannot tell."""
import os
import shutil
import struct
import subprocess
import tempfile

import kbwine

SCR_NAME = "Kolvane_Brightrun.scr"
TITLE = "<Kolvane_Brightrun>"
BROWSE_TITLE = "ﾌｧｲﾙを開く"
PROBE = os.path.join(kbwine.BIN_DIR, "kb_dialog_probe.exe")
ASSETS = os.path.join(kbwine.SOURCE_DIR, "assets")


# Layout in client pixels (twips / 15).
CLIENT = (479, 252)
PANEL = (12, 16)
MARKS = {0: (20, 76), 1: (20, 56), 2: (20, 96)}          # in the panel, 13 x 13
KIND_LABELS = {0: (36, 76, 23, 13), 1: (36, 56, 43, 13), 2: (36, 96, 60, 13)}
REPEAT_BOX = (92, 52, 41, 20)                            # in the panel
FILE_NAME = (68, 116, 357, 29)                           # in the panel
BUTTONS = {                                              # x, y, w, h in their container
    "etc": ("window", (192, 200, 125, 25)),
    "set": ("window", (320, 200, 73, 25)),
    "can": ("window", (396, 200, 69, 25)),
    "bgm": ("panel", (36, 116, 29, 21)),
}

# Skin colours a face shows on its rows, at a column inside its top and
# bottom edges.
FRAME_BLUE = (0x00, 0x3C, 0x74)


def rgb(text):
    return tuple(int(text[i:i + 2], 16) for i in (1, 3, 5))


def bitmap_pixel(path, x, y):
    """A pixel of a 24-bit bottom-up BMP, read without any Windows code."""
    with open(path, "rb") as f:
        data = f.read()
    offset, = struct.unpack_from("<I", data, 10)
    width, height = struct.unpack_from("<ii", data, 18)
    stride = (width * 3 + 3) & ~3
    at = offset + (height - 1 - y) * stride + x * 3
    b, g, r = data[at:at + 3]
    return (r, g, b)


MARK_EMPTY = bitmap_pixel(os.path.join(ASSETS, "mark_empty.bmp"), 6, 6)
MARK_FILLED = bitmap_pixel(os.path.join(ASSETS, "mark_filled.bmp"), 6, 6)


def ensure_drawn_caption():
    """Lets Wine draw the program's own window frame (caption, icon, close
    box) on an Xvfb without a window manager, so that screenshots show the
    whole window and the close box can be clicked. Only this program's
    windows are affected."""
    user_reg = os.path.join(kbwine.PREFIX, "user.reg")
    marker = "AppDefaults\\\\Kolvane_Brightrun.scr\\\\X11 Driver"
    if os.path.exists(user_reg):
        with open(user_reg, encoding="utf-8", errors="replace") as f:
            if marker in f.read():
                return
    subprocess.run([kbwine.WINE_EXEC, "reg", "add",
                    "HKCU\\Software\\Wine\\AppDefaults\\Kolvane_Brightrun.scr\\X11 Driver",
                    "/v", "Decorated", "/d", "N", "/f"],
                   env=kbwine.WINE_ENV, capture_output=True, check=True)


def read_ini(data):
    """The key = value pairs of the settings file's section, in file order."""
    pairs = []
    for line in data.split(b"\r\n"):
        if b"=" in line and not line.startswith(b"["):
            key, value = line.split(b"=", 1)
            pairs.append((key, value))
    return pairs


class ProgramFolder:
    """A copy of the screensaver program beside its renderer, in a folder of
    the test's own (the settings file lives beside the program)."""

    def __init__(self, name="kb settings"):
        self.root = tempfile.mkdtemp(prefix="kb-dialog-")
        self.path = os.path.join(self.root, name)
        os.makedirs(self.path)
        shutil.copy(os.path.join(kbwine.BIN_DIR, SCR_NAME), self.path)
        # /c only checks that the renderer lies beside the program; it never
        # starts it.
        with open(os.path.join(self.path, "Kolvane_Brightrun.data"), "wb") as f:
            f.write(b"MZ")
        self.ini = os.path.join(self.path, "Kolvane_Brightrun.ini")

    def windows_path(self, name):
        return kbwine.windows_path(os.path.join(self.path, name))

    def write_ini(self, data):
        with open(self.ini, "wb") as f:
            f.write(data)

    def ini_bytes(self):
        if not os.path.exists(self.ini):
            return None
        with open(self.ini, "rb") as f:
            return f.read()

    def remove(self):
        shutil.rmtree(self.root, ignore_errors=True)


def probe():
    """The probe's report as a dict (empty when it found no dialog)."""
    out = subprocess.run([kbwine.WINE_EXEC, PROBE], env=kbwine.WINE_ENV, capture_output=True,
                         timeout=60).stdout.decode("utf-8", "replace")
    report = dict(line.split("=", 1) for line in out.splitlines() if "=" in line)
    return report if report.get("found") == "1" else {}


def wait_probe(name, value, timeout=20.0):
    """Waits until the probe reports `value` for `name`; the failure says
    what it reported last."""
    last = {}

    def reported():
        last.clear()
        last.update(probe())
        return last.get(name) == value

    try:
        kbwine.wait_for(reported, timeout, what=f"{name} = {value!r}")
    except AssertionError as failure:
        raise AssertionError(f"{failure}; last report {last}") from None


class Dialog:
    """The running settings dialog of one /c start."""

    def __init__(self, folder, timeout=60.0, env=None, log=None, dpi=96):
        """Starts /c; `log` takes Wine's messages (see `env` WINEDEBUG). The
        places below are those at 96 dots per inch (`dpi`, kbwine.display_dpi)."""
        ensure_drawn_caption()
        self.folder = folder
        self.log = open(log, "wb") if log else subprocess.DEVNULL
        self.process = kbwine.start(os.path.join(folder.path, SCR_NAME), "/c", cwd=folder.path,
                                    env=env, stdout=self.log, stderr=self.log)
        kbwine.wait_for(lambda: kbwine.find_windows(TITLE) or self.process.poll() is not None,
                        timeout, what=f"window {TITLE!r}")
        assert self.process.poll() is None, f"/c ended at once with code {self.process.returncode}"
        self.window = kbwine.find_windows(TITLE)[0]
        if dpi == 96:
            kbwine.wait_for(self.painted, 30, what="the dialog shown and painted")
        else:
            kbwine.wait_for(lambda: probe().get("client"), 30, what="the dialog's report")

    def measure(self):
        """Where the window and its client area are on screen now."""
        x, y, width, height = kbwine.window_geometry(self.window)
        # The X window is the whole window: equal borders left, right and
        # below, the caption above.
        border = (width - CLIENT[0]) // 2
        self.outer = (x, y, width, height)
        self.client = (x + border, y + height - border - CLIENT[1])

    def painted(self):
        # The window is made hidden and placed before it is shown: measure
        # until the heading frame's black line and the panel's near-white
        # middle are on screen where the layout puts them.
        self.measure()
        shot = kbwine.Screenshot()
        frame = self.panel_point(20, 20)
        middle = self.panel_point(440, 84)
        return shot.pixel(*frame) == (0, 0, 0) and shot.pixel(*middle) == (250, 250, 250)

    def point(self, x, y):
        return (self.client[0] + x, self.client[1] + y)

    def panel_point(self, x, y):
        return self.point(PANEL[0] + x, PANEL[1] + y)

    def inert_point(self):
        """A spot of the panel where a press selects nothing."""
        return self.panel_point(300, 30)

    def button_rect(self, name):
        container, (x, y, w, h) = BUTTONS[name]
        left, top = self.panel_point(x, y) if container == "panel" else self.point(x, y)
        return (left, top, w, h)

    def button_point(self, name, dx=None, dy=None):
        left, top, w, h = self.button_rect(name)
        return (left + (w // 2 if dx is None else dx), top + (h // 2 if dy is None else dy))

    def mark_colours(self, shot=None):
        shot = shot or kbwine.Screenshot()
        return {kind: shot.pixel(*self.panel_point(x + 6, y + 6))
                for kind, (x, y) in MARKS.items()}

    def filled_marks(self, shot=None):
        colours = self.mark_colours(shot)
        for kind, colour in colours.items():
            assert colour in (MARK_EMPTY, MARK_FILLED), (kind, colour)
        return sorted(kind for kind, colour in colours.items() if colour == MARK_FILLED)

    def file_name_ink(self, shot=None):
        """Pixels of text inside the file name box (dark on the light gradient)."""
        shot = shot or kbwine.Screenshot()
        x, y, w, h = FILE_NAME
        dark = 0
        for py in range(y + 2, y + h - 2):
            for px in range(x + 2, x + w - 2):
                r, g, b = shot.pixel(*self.panel_point(px, py))
                dark += r + g + b < 150
        return dark

    def file_name_pixels(self, shot=None):
        shot = shot or kbwine.Screenshot()
        x, y, w, h = FILE_NAME
        return [shot.pixel(*self.panel_point(px, py))
                for py in range(y + 2, y + h - 2) for px in range(x + 2, x + w - 2)]

    def click(self, x, y, button=1):
        kbwine.move_mouse(x, y)
        kbwine.xdotool("click", button)

    def click_button(self, name):
        self.click(*self.button_point(name))

    def click_kind_label(self, kind, button=1):
        x, y, w, h = KIND_LABELS[kind]
        self.click(*self.panel_point(x + w // 2, y + h // 2), button=button)

    def click_mark(self, kind, button=1):
        x, y = MARKS[kind]
        self.click(*self.panel_point(x + 6, y + 6), button=button)

    def click_close_box(self):
        left, top, right, bottom = map(int, probe()["close_box"].split(","))
        self.click((left + right) // 2, (top + bottom) // 2)

    def type_track(self, text):
        """Replaces the track box text as a user would: click, select all, type."""
        x, y, w, h = REPEAT_BOX
        self.click(*self.panel_point(x + 10, y + h // 2))
        wait_probe("focus", "repeat")
        kbwine.xdotool("key", "End", "shift+Home", "BackSpace")
        if text:
            kbwine.xdotool("type", "--delay", "30", text)
        wait_probe("repeat_text", text)

    def wait_closed(self, timeout=30.0):
        code = kbwine.wait_exit(self.process, timeout)
        assert not kbwine.find_windows(TITLE)
        return code

    def screenshot_of_window(self, path):
        """The whole window (frame included) as a PNG."""
        x, y, w, h = self.outer
        shot = kbwine.Screenshot()
        rows = b"".join(shot.pixels[((y + row) * shot.width + x) * 3:
                                    ((y + row) * shot.width + x + w) * 3] for row in range(h))
        subprocess.run(["convert", "ppm:-", path], input=f"P6 {w} {h} 255\n".encode() + rows,
                       check=True)

    def __enter__(self):
        return self

    def __exit__(self, *failure):
        self.end()

    def end(self):
        """Ends the dialog's process if a failed test left it running."""
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        if self.log is not subprocess.DEVNULL:
            self.log.close()


def face_row(shot, dialog, name, row):
    """The colour a button's face shows on one row, in the middle of its width."""
    left, top, w, h = dialog.button_rect(name)
    return shot.pixel(left + w // 2, top + row)


class WineSession:
    """One Wine session for a whole test script. A helper holds the server
    and the desktop process up between the cases: a desktop started afresh
    for every program can fail to come up in time on a loaded machine, and
    then the program under test cannot make a window at all."""

    def __enter__(self):
        kbwine.end_wine()
        for _ in range(3):
            self.holder = kbwine.start(PROBE, "--hold", stdin=subprocess.PIPE,
                                       stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
            if self.holder.stdout.readline().strip() == b"ready=1":
                return self
            self.holder.wait(timeout=30)
            kbwine.end_wine()
        raise AssertionError("Wine's desktop did not come up")

    def __exit__(self, *failure):
        self.holder.stdin.close()
        self.holder.wait(timeout=30)
        kbwine.end_wine()


def run_cases(cases, setup=None):
    """Runs each case against a fresh program folder; on a failure keeps a
    screenshot beside the failure message and stops."""
    passed = 0
    try:
        with WineSession():
            for case in cases:
                folder = ProgramFolder(*(setup or ()))
                try:
                    case(folder)
                    passed += 1
                except BaseException:
                    shot = os.path.join(tempfile.gettempdir(),
                                        f"kb-dialog-failure-{case.__name__}.png")
                    try:
                        kbwine.Screenshot().save(shot)
                        print(f"{case.__name__} failed; screen saved to {shot}")
                    except Exception:
                        pass
                    raise
                finally:
                    folder.remove()
    finally:
        print(f"{passed} passed, {len(cases) - passed} failed")
