"""Helpers for end-to-end tests that drive the real Windows programs under
Wine (the prefix of the build under test, KB_WINE_ARCH) on the Xvfb display that scripts/test (or the developer) started.

Every wait has a deadline; nothing sleeps for a fixed time to let things
happen."""
import contextlib
import os
import re
import struct
import subprocess
import time

SOURCE_DIR = os.environ.get("KB_SOURCE_DIR", os.path.abspath(os.path.join(__file__, "../../..")))
BIN_DIR = os.environ.get("KB_BIN_DIR", "")
WINE_EXEC = os.path.join(SOURCE_DIR, "scripts", "wine-exec")


def wine_environment(extra=None):
    """The environment scripts/wine-env would give, as a dict."""
    script = f'source "{SOURCE_DIR}/scripts/wine-env" && env -0'
    out = subprocess.run(["bash", "-c", script], check=True, capture_output=True,
                         env={**os.environ, **(extra or {})}).stdout
    return dict(item.split("=", 1) for item in out.decode().split("\0") if "=" in item)


WINE_ENV = wine_environment()
PREFIX = WINE_ENV["WINEPREFIX"]
WINESERVER = WINE_ENV["WINESERVER"]
WINDOWS_DIR = os.path.join(PREFIX, "drive_c", "windows")
# The prefix's system code page (KB_WINE_LOCALE), and a folder name it cannot spell.
CODE_PAGE = {"ja_JP": "cp932", "en_US": "cp1252"}[WINE_ENV["KB_WINE_LOCALE"]]
UNSPELLABLE = {"cp932": "kb Zoë Ünï", "cp1252": "kb 日本"}[CODE_PAGE]


def windows_path(unix_path):
    """The Z: path Wine gives a Unix file."""
    return "Z:" + os.path.abspath(unix_path).replace("/", "\\")


def start(program, *args, env=None, **popen):
    """Starts a Windows program under Wine; returns the Popen."""
    full_env = {**WINE_ENV, **(env or {})}
    return subprocess.Popen([WINE_EXEC, program, *args], env=full_env, **popen)


def reg_query(key, value):
    """A registry value's text as Wine's reg.exe prints it, or None when absent."""
    out = subprocess.run([WINE_ENV["WINELOADER"], "reg", "query", key, "/v", value],
                         env=WINE_ENV, capture_output=True).stdout.decode("utf-8", "replace")
    for line in out.splitlines():
        parts = line.strip().split(None, 2)
        if len(parts) >= 2 and parts[0].lower() == value.lower() and parts[1].startswith("REG_"):
            return parts[2] if len(parts) == 3 else ""
    return None


def reg_set(key, value, data, kind="REG_SZ"):
    start("reg", "add", key, "/v", value, "/t", kind, "/d", data, "/f",
          stdout=subprocess.DEVNULL).wait(timeout=60)


def reg_delete(key, value):
    start("reg", "delete", key, "/v", value, "/f",
          stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).wait(timeout=60)


@contextlib.contextmanager
def display_dpi(dpi):
    """Every program of this prefix sees a display of `dpi` dots per inch
    (150 % is 144) until the block ends: Wine reads LogPixels when it starts."""
    reg_set(r"HKCU\Control Panel\Desktop", "LogPixels", str(dpi), "REG_DWORD")
    end_wine()
    try:
        yield
    finally:
        reg_delete(r"HKCU\Control Panel\Desktop", "LogPixels")
        end_wine()


def unix_path(windows_path):
    """The Unix path of a Windows path in this prefix (winepath -u)."""
    return subprocess.run([WINE_ENV["WINELOADER"], "winepath", "-u", windows_path],
                          env=WINE_ENV, capture_output=True, check=True).stdout.decode().strip()


def wait_for(condition, timeout=30.0, interval=0.05, what="condition"):
    """Polls `condition` until it returns a true value or the deadline passes."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise AssertionError(f"timed out after {timeout} s waiting for {what}")
        time.sleep(interval)


def wait_exit(process, timeout=30.0):
    """Waits for a started program to end; returns its exit code."""
    try:
        return process.wait(timeout=timeout)
    except subprocess.TimeoutExpired:
        raise AssertionError(f"process {process.pid} still running after {timeout} s")


def wait_screen_changes(count, timeout=30.0):
    """Waits until the screen has changed `count` times; returns the last shot."""
    state = {"last": Screenshot().pixels, "seen": 0}

    def changed():
        shot = Screenshot()
        if shot.pixels != state["last"]:
            state["seen"] += 1
            state["last"] = shot.pixels
        return state["seen"] >= count and shot

    return wait_for(changed, timeout, interval=0.02, what=f"{count} screen changes")


# The settings file's keys: "BGM区分", "BGMﾘﾋﾟｰﾄ" and "BGMﾌｧｲﾙ" in code page 932.
KEY_KIND = "BGM区分".encode("cp932")
KEY_REPEAT = "BGMﾘﾋﾟｰﾄ".encode("cp932")
KEY_FILE = "BGMﾌｧｲﾙ".encode("cp932")


def settings_file(kind=None, track=None, music_file=None):
    """A settings file as the program writes it, in code page 932; a value
    given as bytes is written as it stands."""
    lines = [b"[Section]"]
    for key, value in ((KEY_KIND, kind), (KEY_REPEAT, track), (KEY_FILE, music_file)):
        if value is not None:
            lines.append(key + b"=" + (value if isinstance(value, bytes)
                                       else str(value).encode("cp932")))
    return b"\r\n".join(lines) + b"\r\n"


def solid_bitmap(width, height, rgb):
    """A 24-bit bottom-up bitmap of one colour (rows padded to 4 bytes)."""
    row = bytes((rgb[2], rgb[1], rgb[0])) * width
    row += b"\0" * (-len(row) % 4)
    pixels = row * height
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 0, 0, 0, 0)
    return header + info + pixels


def xdotool(*args):
    return subprocess.run(["xdotool", *map(str, args)], capture_output=True, text=True).stdout


def find_windows(title):
    """X window ids whose title is exactly `title`."""
    out = xdotool("search", "--name", "^" + re.escape(title) + "$")
    return [int(w) for w in out.split()]


def wait_window(title, timeout=30.0):
    return wait_for(lambda: find_windows(title), timeout, what=f"window {title!r}")[0]


def window_geometry(window):
    """(x, y, width, height) of an X window."""
    out = xdotool("getwindowgeometry", "--shell", window)
    values = dict(line.split("=") for line in out.split() if "=" in line)
    return tuple(int(values[k]) for k in ("X", "Y", "WIDTH", "HEIGHT"))


def mouse_position():
    out = xdotool("getmouselocation", "--shell")
    values = dict(line.split("=") for line in out.split() if "=" in line)
    return int(values["X"]), int(values["Y"])


def move_mouse(x, y):
    xdotool("mousemove", x, y)


def key(window, name):
    xdotool("key", "--window", window, name)


class Screenshot:
    """The root window's pixels, read through ImageMagick's PPM output."""

    def __init__(self):
        data = subprocess.run(["import", "-silent", "-window", "root", "-depth", "8", "ppm:-"],
                              check=True, capture_output=True).stdout
        header = data.split(maxsplit=4)
        self.width, self.height = int(header[1]), int(header[2])
        self.pixels = header[4] if len(header) > 4 else b""
        self.pixels = data[len(data) - self.width * self.height * 3:]

    def pixel(self, x, y):
        at = (y * self.width + x) * 3
        return tuple(self.pixels[at:at + 3])

    def save(self, path):
        subprocess.run(["convert", "ppm:-", path], input=self.header_bytes() + self.pixels,
                       check=True)

    def header_bytes(self):
        return f"P6 {self.width} {self.height} 255\n".encode()


HOLDER = os.path.join(BIN_DIR, "kb_wine_holder.exe")


def end_wine():
    """Ends every program of this test's Wine prefix (and only of it), then
    brings Wine's desktop up again under a holder process.

    NOTE: a program that starts while no desktop process runs has to start
    one, and on a loaded machine that start can time out, leaving the program
    unable to make any window. The holder takes that risk here, where it can
    be retried, instead of inside the program under test."""
    subprocess.run([WINESERVER, "-k"], env=WINE_ENV, capture_output=True)
    subprocess.run([WINESERVER, "-w"], env=WINE_ENV, capture_output=True)
    if os.path.exists(HOLDER):
        _start_holder()


def _start_holder(attempts=3):
    for _ in range(attempts):
        holder = start(HOLDER, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                       stderr=subprocess.DEVNULL, start_new_session=True)
        if holder.stdout.readline().strip() == b"ready":
            holder.stdout.close()
            return
        holder.wait(timeout=30)
        subprocess.run([WINESERVER, "-k"], env=WINE_ENV, capture_output=True)
        subprocess.run([WINESERVER, "-w"], env=WINE_ENV, capture_output=True)
    raise AssertionError("Wine's desktop did not come up")
