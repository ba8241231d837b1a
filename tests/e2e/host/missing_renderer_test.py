"""The screensaver program alone in a folder, without Kolvane_Brightrun.data:
the one message box (exact text, caption, OK only, no icon) for /s, /c, /a and
the empty command line, and never for /p."""
import os
import shutil
import tempfile

import hostwine
import kbwine

TEXT = "Kolvane_Brightrun.dataが同じﾌｫﾙﾀﾞに見つかりません！"


def run_alone(folder, args):
    return hostwine.start_scr(*args, program=os.path.join(folder, "Kolvane_Brightrun.scr"))


def test_box_for_every_mode_but_preview(folder, helper):
    for args in (["/s"], ["/c"], [], ["/a"]):
        process = run_alone(folder, args)
        kbwine.wait_for(lambda: kbwine.find_windows(hostwine.BOX_TITLE) or process.poll() is not None,
                        60, what=f"the box for {args}")
        assert process.poll() is None, f"{args}: ended with {process.returncode} and no box"
        window = kbwine.find_windows(hostwine.BOX_TITLE)[0]
        # The box gets its title before it has dropped the buttons it does
        # not use: wait until it has settled.
        seen = []

        def settled():
            seen.append(helper.describe_box(hostwine.BOX_TITLE))
            return seen[-1] == (TEXT, ["OK"], False)
        try:
            kbwine.wait_for(settled, 10, interval=0.1, what="the box")
        except AssertionError:
            raise AssertionError(f"{args}: the box is {seen[-1]}")
        assert not kbwine.find_windows(hostwine.SHOW_TITLE), args
        kbwine.key(window, "Return")
        assert kbwine.wait_exit(process, 15) == 0, args
        assert not kbwine.find_windows(hostwine.BOX_TITLE), args


def test_no_box_for_preview(folder, helper):
    process = run_alone(folder, ["/p", str(helper.hwnd)])
    kbwine.wait_for(lambda: any(c[0] == "Q_Tavel_R" for c in helper.children()), 30,
                    what="the preview embedded")
    assert process.poll() is None
    assert not kbwine.find_windows(hostwine.BOX_TITLE)
    helper.destroy_window()
    assert kbwine.wait_exit(process, 15) == 0
    assert not kbwine.find_windows(hostwine.BOX_TITLE)


def main():
    kbwine.end_wine()
    folder = tempfile.mkdtemp(prefix="kb_alone_")
    helper = None
    try:
        shutil.copy(hostwine.SCR, folder)
        helper = hostwine.PreviewParent()
        test_box_for_every_mode_but_preview(folder, helper)
        test_no_box_for_preview(folder, helper)
    finally:
        if helper:
            helper.quit()
        kbwine.end_wine()
        shutil.rmtree(folder, ignore_errors=True)
    print("missing renderer tests passed")


if __name__ == "__main__":
    main()
