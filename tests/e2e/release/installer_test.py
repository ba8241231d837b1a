"""The per-user installer, run silently as a standard user's setup would be:
the programs in place, the screensaver setting on the installed program, /s
and /c from there; then the uninstaller, run silently: everything it put or
a show left gone, the setting given back, and the user's own files kept."""
import filecmp
import glob
import os
import shutil
import subprocess
import sys

import hostwine
import kbwine

DESKTOP = r"HKCU\Control Panel\Desktop"
UNINSTALL = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kolvane_Brightrun"
THEIR_SAVER = r"C:\windows\system32\scrnsave.scr"
PICTURES = [f"Kolvane_Brightrun{k}.bmp" for k in range(10)]
LEFTOVERS = [name + ".new" for name in PICTURES]


def local_app_data():
    (found,) = [d for d in glob.glob(os.path.join(kbwine.PREFIX, "drive_c/users/*/AppData/Local"))
                if "/Public/" not in d]
    return found


def run_silently(program):
    process = kbwine.start(program, "/S")
    assert kbwine.wait_exit(process, 120) == 0, f"{program} /S failed"


def check_installed(folder, version):
    for name in ("Kolvane_Brightrun.scr", "Kolvane_Brightrun.data"):
        assert filecmp.cmp(os.path.join(folder, name), os.path.join(kbwine.BIN_DIR, name),
                           shallow=False), name
    assert os.path.isfile(os.path.join(folder, "README.txt"))
    assert os.path.isfile(os.path.join(folder, "Uninstall.exe"))
    setting = kbwine.reg_query(DESKTOP, "SCRNSAVE.EXE")
    assert setting and os.path.samefile(kbwine.unix_path(setting),
                                        os.path.join(folder, "Kolvane_Brightrun.scr")), setting
    assert " " not in setting, f"Windows would misread {setting!r} followed by /s"
    assert kbwine.reg_query(DESKTOP, "ScreenSaveActive") == "1"
    assert kbwine.reg_query(UNINSTALL, "DisplayVersion") == version
    kib = sum(os.path.getsize(os.path.join(folder, n)) for n in os.listdir(folder)) // 1024
    size = int(kbwine.reg_query(UNINSTALL, "EstimatedSize"), 0)
    assert abs(size - kib) <= 4, f"estimated size {size} KiB, the files {kib} KiB"
    return setting


def user_files(folder, store):
    """Files of the user's own beside everything the uninstaller removes."""
    mine = [os.path.join(folder, "my notes.txt"), os.path.join(store, "other.bmp"),
            os.path.join(kbwine.WINDOWS_DIR, "Kolvane_Brightrun.txt")]
    for path in mine:
        with open(path, "w") as f:
            f.write("the user's own")
    return mine


def main(installer, version):
    folder = os.path.join(local_app_data(), "Programs", "Kolvane_Brightrun")
    store = os.path.join(local_app_data(), "VirtualStore", "Windows")
    kbwine.end_wine()
    shutil.rmtree(folder, ignore_errors=True)
    kbwine.reg_set(DESKTOP, "SCRNSAVE.EXE", THEIR_SAVER)
    kbwine.reg_set(DESKTOP, "ScreenSaveActive", "0")
    run_silently(installer)
    setting = check_installed(folder, version)

    with hostwine.PreviewParent() as helper:
        # As Windows starts it: the setting's text with /s.
        hostwine.end_show_by_mouse(hostwine.start_show(helper, setting, cwd=folder))
        hostwine.open_and_close_dialog(helper, setting, cwd=folder)
    for name in PICTURES:
        assert os.path.isfile(os.path.join(kbwine.WINDOWS_DIR, name)), f"the show wrote no {name}"
    # What file virtualisation keeps for a standard user, and saved settings.
    # A show cut off between a picture's write and its move leaves a ".new".
    os.makedirs(store, exist_ok=True)
    for name in PICTURES:
        shutil.copy(os.path.join(kbwine.WINDOWS_DIR, name), store)
    for name in LEFTOVERS:
        for place in (kbwine.WINDOWS_DIR, store):
            shutil.copy(os.path.join(kbwine.WINDOWS_DIR, PICTURES[0]), os.path.join(place, name))
    with open(os.path.join(folder, "Kolvane_Brightrun.ini"), "w") as f:
        f.write("[Section]\n")
    mine = user_files(folder, store)

    # The uninstaller hands over to a copy of itself and ends at once: its
    # last step is the uninstall entry's removal.
    run_silently(os.path.join(folder, "Uninstall.exe"))
    kbwine.wait_for(lambda: kbwine.reg_query(UNINSTALL, "DisplayName") is None, 60,
                    interval=0.5, what="the uninstaller's end")
    left = sorted(os.listdir(folder))
    assert left == ["my notes.txt"], f"left in the program folder: {left}"
    for name in PICTURES + LEFTOVERS:
        for place in (kbwine.WINDOWS_DIR, store):
            assert not os.path.exists(os.path.join(place, name)), f"{name} left in {place}"
    assert all(os.path.isfile(path) for path in mine), "a file of the user's own went"
    assert kbwine.reg_query(DESKTOP, "SCRNSAVE.EXE") == THEIR_SAVER
    assert kbwine.reg_query(DESKTOP, "ScreenSaveActive") == "0"
    for path in mine:
        os.remove(path)
    kbwine.end_wine()
    print("installer tests passed")


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
