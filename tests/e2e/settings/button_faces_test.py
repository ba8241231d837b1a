"""The dialog's Command buttons as a user sees them: the normal face, the
orange ring while the pointer is over a button, the blue ring of the focused
button, the pressed face with its frame moved inwards, and the Tab key moving
the focus in the dialog's order past disabled controls."""
import dialogwine
import kbwine
from dialogwine import FRAME_BLUE, face_row, rgb

NORMAL = {1: FRAME_BLUE, 2: rgb("#F3F3EE"), 21: rgb("#E2DFD6")}
HIGHLIGHT = {1: FRAME_BLUE, 2: rgb("#FFF0CF"), 3: rgb("#FDD889"), 21: rgb("#F8B330"),
             22: rgb("#E59700")}
SELECTED = {1: FRAME_BLUE, 2: rgb("#CEE7FF"), 21: rgb("#6982EE")}
PRESSED = {1: rgb("#E0DCC9"), 2: FRAME_BLUE, 22: FRAME_BLUE}


def face_matches(dialog, name, face):
    shot = kbwine.Screenshot()
    return all(face_row(shot, dialog, name, row) == colour for row, colour in face.items())


def wait_face(dialog, name, face, what):
    kbwine.wait_for(lambda: face_matches(dialog, name, face), 20, what=f"{name}: {what}")


def park_pointer(dialog=None):
    """Moves the pointer off every button. Keys reach the window under the
    pointer (Xvfb has no window manager to give the focus), so once the
    dialog is up the pointer rests on an empty part of its panel."""
    kbwine.move_mouse(*(dialog.inert_point() if dialog else (5, 5)))


def test_hover_focus_and_press(folder):
    ini = kbwine.settings_file(0, 0)
    folder.write_ini(ini)
    park_pointer()
    with dialogwine.Dialog(folder) as dialog:
        for name in ("etc", "set", "can"):
            wait_face(dialog, name, NORMAL, "normal")

        kbwine.move_mouse(*dialog.button_point("etc"))
        wait_face(dialog, "etc", HIGHLIGHT, "orange ring under the pointer")
        park_pointer(dialog)
        wait_face(dialog, "etc", NORMAL, "normal once the pointer left")

        # Click the panel's empty part (focus to the panel), then Tab: the
        # track box and the browse button are disabled, so OK comes next.
        dialog.click(*dialog.inert_point())
        dialogwine.wait_probe("focus", "panel")
        kbwine.xdotool("key", "Tab")
        wait_face(dialog, "set", SELECTED, "blue ring of the focused button")
        assert dialogwine.probe()["focus"] == "set"

        # Pressing Cancel takes the focus and shows the pressed face ...
        kbwine.move_mouse(*dialog.button_point("can"))
        kbwine.xdotool("mousedown", 1)
        wait_face(dialog, "can", PRESSED, "pressed")
        wait_face(dialog, "set", NORMAL, "normal after losing the focus")
        # ... dragged off it turns to the focused face, and the release out
        # there raises no Click: the dialog stays open.
        park_pointer(dialog)
        wait_face(dialog, "can", SELECTED, "focused once the pointer left")
        kbwine.xdotool("mouseup", 1)
        report = dialogwine.probe()
        assert report.get("focus") == "can", report
        assert dialog.process.poll() is None
        dialog.click_close_box()
        assert dialog.wait_closed() == 0
    assert folder.ini_bytes() == ini


def focus_walk(dialog, steps):
    walk = []
    for _ in range(steps):
        kbwine.xdotool("key", "Tab")
        before = walk[-1] if walk else "panel"
        kbwine.wait_for(lambda: dialogwine.probe().get("focus") not in (None, before), 20,
                        what="the focus to move")
        walk.append(dialogwine.probe()["focus"])
    return walk


def test_tab_order_skips_disabled_controls(folder):
    with open(f"{folder.path}/a.wav", "wb") as f:
        f.write(b"RIFF")
    for kind, order in ((1, ["repeat", "set", "can", "etc", "panel"]),
                        (2, ["bgm", "set", "can", "etc", "panel"])):
        folder.write_ini(kbwine.settings_file(kind, 0, folder.windows_path("a.wav")))
        park_pointer()
        with dialogwine.Dialog(folder) as dialog:
            dialog.click(*dialog.inert_point())
            dialogwine.wait_probe("focus", "panel")
            walk = focus_walk(dialog, len(order))
            assert walk == order, (kind, walk)
            dialog.click_button("can")
            assert dialog.wait_closed() == 0


if __name__ == "__main__":
    dialogwine.run_cases([test_hover_focus_and_press, test_tab_order_skips_disabled_controls])
