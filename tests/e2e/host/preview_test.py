"""The preview (/p <hwnd>) of the real screensaver program inside a 200 x 150
window of a test helper (another process, as the display settings are): the
preview form becomes a visible child covering the window, and the program
ends when that window is destroyed, when the helper ends without destroying
it, or at once when the handle names none.

NOTE: Wine 8 does not put the painting of a child window on the screen when
its top-level window belongs to another process, so the pixels of the
preview are checked in-process by the windows_host_forms test instead; this
script runs that check again on a display of 150 %."""
import os
import subprocess

import hostwine
import kbwine

PREVIEW_FORM = ("Q_Tavel_R", "Preview Window", (0, 0, 200, 150), True)


def wait_embedded(helper, process):
    def embedded():
        assert process.poll() is None, f"the preview ended early (exit code {process.returncode})"
        return [child for child in helper.children() if child[:4] == PREVIEW_FORM]
    form = kbwine.wait_for(embedded, 30, interval=0.1, what="the embedded preview form")[0]
    assert form[4], "the preview form is not a child by Windows' rules (WS_POPUP or no parent)"


def test_embedded_and_ends_with_the_parent():
    with hostwine.PreviewParent() as helper:
        preview = hostwine.start_scr("/p", str(helper.hwnd))
        wait_embedded(helper, preview)
        assert len(helper.children()) == 1
        assert not kbwine.find_windows(hostwine.BOX_TITLE)
        helper.destroy_window()
        assert kbwine.wait_exit(preview, 15) == 0


def test_ends_when_the_host_ends_without_destroying_its_window():
    with hostwine.PreviewParent() as helper:
        preview = hostwine.start_scr("/p", str(helper.hwnd))
        wait_embedded(helper, preview)
        helper.process.stdin.write("exit\n")
        helper.process.stdin.flush()
        assert helper.process.wait(15) == 0
        assert kbwine.wait_exit(preview, 15) == 0


def test_two_previews_run_side_by_side():
    first, second = hostwine.PreviewParent(), hostwine.PreviewParent()
    try:
        a = hostwine.start_scr("/p", str(first.hwnd))
        b = hostwine.start_scr(f"/p:{second.hwnd}")
        wait_embedded(first, a)
        wait_embedded(second, b)
        first.destroy_window()
        assert kbwine.wait_exit(a, 15) == 0
        assert b.poll() is None
        second.destroy_window()
        assert kbwine.wait_exit(b, 15) == 0
    finally:
        first.quit()
        second.quit()


def test_no_window_ends_at_once():
    for args in (["/p"], ["/p", "1"], ["/p:abc"]):
        assert kbwine.wait_exit(hostwine.start_scr(*args), 30) == 0, args


def test_the_picture_keeps_its_share_at_150_percent():
    with kbwine.display_dpi(144):
        check = kbwine.start(os.path.join(kbwine.BIN_DIR, "windows_host_forms.exe"),
                             "--gtest_filter=PreviewForm.PictureAtTopLeft*",
                             stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
        out = check.communicate(timeout=120)[0].decode("utf-8", "replace")
        assert check.returncode == 0 and "[  PASSED  ] 1 test" in out, out


def main():
    kbwine.end_wine()
    try:
        test_embedded_and_ends_with_the_parent()
        test_ends_when_the_host_ends_without_destroying_its_window()
        test_two_previews_run_side_by_side()
        test_no_window_ends_at_once()
        test_the_picture_keeps_its_share_at_150_percent()
    finally:
        kbwine.end_wine()
    print("preview tests passed")


if __name__ == "__main__":
    main()
